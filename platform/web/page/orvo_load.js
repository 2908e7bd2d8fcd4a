// The program's loading, from the page's first moment on (index.html starts
// this module before the rest of the page): the program's WebAssembly
// compiles as it downloads, the files it reads download meanwhile, and each picture
// among them that passes the game's checks (picture_gate.wasm: the game's
// own header reader and limits, a module small enough to load at once) goes
// to the browser's decoder straight away, while the program still compiles.
// orvo_page.js hands it all to the program, which checks every picture
// again and takes the decodes of the same bytes over.
import { kFiles } from './page_table.js';

export const load = (function () {
  // The program compiles as it downloads. A server that does not send
  // application/wasm has the whole file compiled instead.
  const program = WebAssembly.compileStreaming(fetch('orvo.wasm')).catch(() =>
    fetch('orvo.wasm').then((r) => r.arrayBuffer()).then((bytes) => WebAssembly.compile(bytes)));

  // The decodes, each under its number: the picture's bytes, its size by
  // its header, whether the program waits for it, and its result, the
  // pixels (RGBA) or why there are none.
  const decodes = new Map();
  let nextDecode = 1;
  let canvas = null;
  async function decode(bytes, width, height) {
    try {
      const bitmap = await createImageBitmap(new Blob([bytes]), {
        colorSpaceConversion: 'none', premultiplyAlpha: 'none' });
      if (bitmap.width !== width || bitmap.height !== height) {
        const size = bitmap.width + ' x ' + bitmap.height;
        bitmap.close();
        throw new Error('the decoded picture is ' + size + ', its header says ' + width + ' x ' +
                        height);
      }
      // One canvas serves every decode (setting its size clears it); the
      // draw and the read below run in one go, so decodes never share it.
      canvas = canvas || new OffscreenCanvas(width, height);
      canvas.width = width;
      canvas.height = height;
      const context = canvas.getContext('2d', { willReadFrequently: true });
      context.drawImage(bitmap, 0, 0);
      bitmap.close();
      return { pixels: context.getImageData(0, 0, width, height).data };
    } catch (e) {
      return { error: 'the browser cannot decode it: ' + (e && e.message ? e.message : e) };
    }
  }
  // Whether `a` and `b` hold the same bytes; four at a time where both lie
  // on four-byte boundaries (the copies here always do, the program's
  // buffers come from its allocator, which aligns them).
  function sameBytes(a, b) {
    if (a.length !== b.length) return false;
    let i = 0;
    if (a.byteOffset % 4 === 0 && b.byteOffset % 4 === 0) {
      const words = a.length >> 2;
      const wa = new Uint32Array(a.buffer, a.byteOffset, words);
      const wb = new Uint32Array(b.buffer, b.byteOffset, words);
      for (; i < words; ++i) {
        if (wa[i] !== wb[i]) return false;
      }
      i = words << 2;
    }
    for (; i < a.length; ++i) {
      if (a[i] !== b[i]) return false;
    }
    return true;
  }
  // Decodes `bytes`, a picture of `width` x `height` by its header, which
  // the game's checks have passed; a decode of the same bytes that no one
  // waits for yet is used rather than a new one. With `take` the caller
  // will wait for it (finish), and no one else gets it. Returns its number.
  function start(bytes, width, height, take) {
    for (const [number, d] of decodes) {
      if (!d.taken && d.width === width && d.height === height && sameBytes(d.bytes, bytes)) {
        d.taken = take;
        return number;
      }
    }
    const number = nextDecode++;
    const copy = bytes.slice();
    decodes.set(number, { bytes: copy, width, height, taken: take,
                          result: decode(copy, width, height) });
    return number;
  }
  // The result of decode `number`, once; it is forgotten then.
  function finish(number) {
    const d = decodes.get(number);
    decodes.delete(number);
    return d ? d.result : Promise.resolve({ error: 'no such decode' });
  }

  // The game's checks: the picture's size when they pass it, else null.
  const gate = WebAssembly.instantiateStreaming(fetch('picture_gate.wasm'), {
    env: { emscripten_notify_memory_growth() {} },
    wasi_snapshot_preview1: { proc_exit() { throw new Error('picture_gate ended'); } },
  }).then(({ instance }) => {
    const gate = instance.exports;
    gate._initialize();
    return (bytes) => {
      const at = gate.malloc(bytes.length);
      if (!at) return null;
      new Uint8Array(gate.memory.buffer).set(bytes, at);
      const size = gate.orvo_gate_check(at, bytes.length);
      gate.free(at);
      return size > 0 ? [size >>> 16, size & 0xFFFF] : null;
    };
  }).catch(() => null);

  // Each file the program reads (its path in the page, and its bytes, or
  // null when it cannot be fetched: the program then reports it missing). A
  // picture that the checks pass is decoding once fetched.
  const files = Promise.all(kFiles.map((path) =>
    fetch(path).then((r) => r.ok ? r.arrayBuffer() : null).catch(() => null).then((data) => {
      const file = { path, data: data && new Uint8Array(data) };
      if (!file.data) return file;
      return gate.then((check) => {
        const size = check && check(file.data);
        if (size) start(file.data, size[0], size[1], false);
        return file;
      });
    })));

  return { program, files, start, finish };
})();
