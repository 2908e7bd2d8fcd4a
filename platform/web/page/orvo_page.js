// The page around the game: it fetches the pictures and the label glyphs
// into the program's files, scales the canvas by whole multiples, queues the
// keyboard and mouse as the program's events, and shows the program's
// failure message or its end.
'use strict';
(function () {
  const kWidth = 580;
  const kHeight = 388;
  const params = new URLSearchParams(window.location.search);
  const canvas = document.getElementById('screen');
  const context = canvas.getContext('2d');
  const events = [];
  let running = true;

  // The virtual-key codes of the keys the game knows, and the others that
  // have one; the page itself does nothing with them.
  const kKeys = {
    Escape: 27, Enter: 13, ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40, ' ': 32,
    Backspace: 8, Tab: 9, Home: 36, End: 35, PageUp: 33, PageDown: 34, Insert: 45, Delete: 46,
  };
  function keyCode(e) {
    if (e.key in kKeys) return kKeys[e.key];
    if (/^Key[A-Z]$/.test(e.code)) return e.code.charCodeAt(3);
    if (/^Digit[0-9]$/.test(e.code)) return e.code.charCodeAt(5);
    if (/^F([1-9]|1[0-2])$/.test(e.key)) return 111 + Number(e.key.slice(1));
    return -1;
  }
  function queue(kind, a, b) {
    if (!running) return;
    events.push({ kind: kind, a: a, b: b });
    if (Module.orvoWake) Module.orvoWake();
  }

  function scale() {
    const k = Math.max(1, Math.floor(Math.min(window.innerWidth / kWidth,
                                              window.innerHeight / kHeight)));
    canvas.style.width = kWidth * k + 'px';
    canvas.style.height = kHeight * k + 'px';
    canvas.style.marginTop = Math.max(0, Math.floor((window.innerHeight - kHeight * k) / 2)) + 'px';
  }
  window.addEventListener('resize', scale);
  scale();

  window.addEventListener('keydown', (e) => {
    const code = keyCode(e);
    if (code < 0 || !running) return;
    e.preventDefault();
    queue(1, code, 0);  // a held key's repeats are key-downs too
  });
  window.addEventListener('keyup', (e) => {
    const code = keyCode(e);
    if (code < 0 || !running) return;
    e.preventDefault();
    queue(2, code, 0);
  });
  function windowPoint(e) {
    const box = canvas.getBoundingClientRect();
    return [Math.floor((e.clientX - box.left) * kWidth / box.width),
            Math.floor((e.clientY - box.top) * kHeight / box.height)];
  }
  canvas.addEventListener('mousedown', (e) => {
    if (e.button !== 0) return;
    canvas.focus();
    const [x, y] = windowPoint(e);
    queue(3, x, y);
  });
  window.addEventListener('mouseup', (e) => {
    if (e.button !== 0) return;
    const [x, y] = windowPoint(e);
    queue(4, x, y);
  });
  canvas.addEventListener('contextmenu', (e) => e.preventDefault());

  function showMessage(title, text) {
    document.getElementById('message-title').textContent = title;
    document.getElementById('message-text').textContent = text;
    document.getElementById('message').style.display = 'block';
  }
  document.getElementById('again').addEventListener('click', () => window.location.reload());

  // What a test reads: the page's state; with ?dump=1 also the game's state
  // at every frame and event processing, and the frames at which a pair
  // enters (the first after new random numbers were drawn) with the board's
  // pixels as shown then.
  const page = window.orvoPage = { state: 'loading', frames: 0, firstFrameMs: null, message: '',
                                   status: null, dump: null, entries: [] };
  let lastBoard = null;
  function boardPixels(pixels, width) {
    // The board surface lies at (50, 50) in the window, 480 x 288.
    const board = new Uint8Array(480 * 288 * 4);
    for (let y = 0; y < 288; ++y) {
      const from = ((y + 50) * width + 50) * 4;
      board.set(pixels.subarray(from, from + 480 * 4), y * 480 * 4);
    }
    return board;
  }
  // The program ends by unwinding with an ExitStatus; that is no page error.
  function quietExit(e) {
    const reason = e.reason || e.error;
    if (reason && reason.name === 'ExitStatus') e.preventDefault();
  }
  window.addEventListener('error', quietExit);
  window.addEventListener('unhandledrejection', quietExit);

  // The files the program reads, fetched before it starts. One that cannot
  // be fetched is left out: the program reports it as a missing file.
  const kFiles = [
    ['Graphics/GameBack.jpg', '/orvo/Graphics/GameBack.jpg'],
    ['Graphics/Blocks.gif', '/orvo/Graphics/Blocks.gif'],
    ['Graphics/Grid.gif', '/orvo/Graphics/Grid.gif'],
    ['window_back.jpg', '/orvo/window_back.jpg'],
    ['glyphs.bin', '/orvo/glyphs.bin'],
  ];

  const seed = params.get('seed');
  const Module = window.Module = {
    orvoEvents: events,
    orvoWake: null,
    orvoSeed: seed !== null && /^[0-9]+$/.test(seed) ? Number(seed) : undefined,
    orvoDumpEnabled: params.get('dump') === '1',
    canvas: canvas,
    print: (text) => console.log(text),
    printErr: (text) => console.warn(text),
    orvoShowFrame(pixels, width, height) {
      context.putImageData(new ImageData(new Uint8ClampedArray(pixels), width, height), 0, 0);
      if (Module.orvoDumpEnabled) lastBoard = pixels;
      if (page.frames === 0) page.firstFrameMs = performance.now();
      page.frames += 1;
      if (page.state === 'loading') page.state = 'running';
    },
    orvoDump(json) {
      const previous = page.dump;
      page.dump = JSON.parse(json);
      const drew = page.dump.randomUsed !== (previous ? previous.randomUsed : 0);
      if (drew && page.dump.pairActive && lastBoard) {
        page.entries.push({ dump: page.dump, board: boardPixels(lastBoard, kWidth) });
      }
      lastBoard = null;
    },
    orvoFailure(title, text) {
      running = false;
      page.state = 'failed';
      page.message = title + ': ' + text;
      showMessage(title, text);
    },
    orvoEnded(status) {
      running = false;
      page.status = status;
      // After a start-up failure its message stays on the page.
      if (page.state === 'failed') return;
      page.state = 'ended';
      showMessage('Orvo has ended', 'The game has ended. Start it again to play on.');
    },
    preRun: [() => {
      Module.addRunDependency('orvo-files');
      Module.FS.mkdir('/orvo');
      Module.FS.mkdir('/orvo/Graphics');
      Promise.all(kFiles.map(([url, path]) =>
        fetch(url).then((r) => r.ok ? r.arrayBuffer() : null).catch(() => null).then((data) => {
          if (data) Module.FS.writeFile(path, new Uint8Array(data));
        }))).then(() => Module.removeRunDependency('orvo-files'));
    }],
  };
})();
