// The program's loading, from the page's first moment on (index.html starts
// this module before the rest of the page): the program's WebAssembly
// compiles as it downloads, and the files it reads (its pictures, the
// window's background, the label glyphs) download meanwhile. orvo_page.js
// puts the files in the program's folder; the program checks and decodes
// them itself, as on every platform.
import { kFiles } from './page_table.js';

export const load = (function () {
  // The program compiles as it downloads. A server that does not send
  // application/wasm has the whole file compiled instead.
  const program = WebAssembly.compileStreaming(fetch('orvo.wasm')).catch(() =>
    fetch('orvo.wasm').then((r) => r.arrayBuffer()).then((bytes) => WebAssembly.compile(bytes)));

  // Each file the program reads: its path in the page, and its bytes, or
  // null when it cannot be fetched (the program then reports it missing).
  const files = Promise.all(kFiles.map((path) =>
    fetch(path).then((r) => r.ok ? r.arrayBuffer() : null).catch(() => null)
      .then((data) => ({ path, data: data && new Uint8Array(data) }))));

  return { program, files };
})();
