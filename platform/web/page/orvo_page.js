// The page around the game: it fetches the pictures and the label glyphs
// into the program's files, fits the canvas to the screen, queues the
// keyboard, the pointer, the touch controls and gamepads as the program's
// events, and shows the program's failure message or its end.
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
  // The kinds of queued events, as the program takes them (page_events.h).
  const kKeyDown = 1, kKeyUp = 2, kPointerDown = 3, kPointerUp = 4, kPadButton = 5, kPadStick = 6,
        kPadGone = 7, kTapKeyUp = 8;

  // The window keeps whole multiples of its size where it fits at least
  // once; where it does not (a phone in portrait) it is scaled down to fit.
  const stage = document.getElementById('stage');
  function fit() {
    const w = stage.clientWidth;
    const h = stage.clientHeight;
    const fits = Math.min(w / kWidth, h / kHeight);
    // Scaled down, a whole number of the screen's own pixels per pixel of
    // the window keeps it crisp (2 on a phone of 3 device pixels a CSS pixel).
    const dpr = window.devicePixelRatio || 1;
    const device = Math.floor(fits * dpr);
    const k = fits >= 1 ? Math.floor(fits) : device >= 1 ? device / dpr : Math.max(fits, 0.1);
    canvas.style.width = kWidth * k + 'px';
    canvas.style.height = kHeight * k + 'px';
    canvas.style.left = Math.max(0, Math.floor((w - kWidth * k) / 2)) + 'px';
    canvas.style.top = Math.max(0, Math.floor((h - kHeight * k) / 2)) + 'px';
  }
  window.addEventListener('resize', fit);
  window.addEventListener('orientationchange', fit);
  if (window.ResizeObserver) new ResizeObserver(fit).observe(stage);
  fit();

  window.addEventListener('keydown', (e) => {
    const code = keyCode(e);
    if (code < 0 || !running) return;
    e.preventDefault();
    queue(kKeyDown, code, 0);  // a held key's repeats are key-downs too
  });
  window.addEventListener('keyup', (e) => {
    const code = keyCode(e);
    if (code < 0 || !running) return;
    e.preventDefault();
    queue(kKeyUp, code, 0);
  });
  function windowPoint(e) {
    const box = canvas.getBoundingClientRect();
    return [Math.floor((e.clientX - box.left) * kWidth / box.width),
            Math.floor((e.clientY - box.top) * kHeight / box.height)];
  }

  // Touch screens: the buttons show with a coarse pointer, or from the
  // first touch on.
  function showTouchControls() {
    if (document.body.classList.contains('touch')) return;
    document.body.classList.add('touch');
    fit();
  }
  if (window.matchMedia && window.matchMedia('(any-pointer: coarse)').matches) showTouchControls();

  // Each button is its key held down while any finger presses it; a finger
  // may slide off without letting go of it. A quick tap still acts: its
  // release waits for the game to have seen the press.
  for (const button of document.querySelectorAll('.pad button')) {
    const key = Number(button.dataset.key);
    const fingers = new Set();
    const release = (e) => {
      if (!fingers.delete(e.pointerId) || fingers.size > 0) return;
      button.classList.remove('held');
      queue(kTapKeyUp, key, 0);
    };
    button.addEventListener('pointerdown', (e) => {
      e.preventDefault();
      showTouchControls();
      if (button.setPointerCapture) button.setPointerCapture(e.pointerId);
      if (fingers.size === 0) {
        button.classList.add('held');
        queue(kKeyDown, key, 0);
      }
      fingers.add(e.pointerId);
    });
    for (const type of ['pointerup', 'pointercancel', 'lostpointercapture']) {
      button.addEventListener(type, release);
    }
    button.addEventListener('contextmenu', (e) => e.preventDefault());
  }

  // The window takes the primary pointer's presses (the captions); a
  // finger's swipe over it moves the pair: up or down one row, left one
  // column, as a tap of that key.
  const kSwipe = 24;  // CSS pixels
  const swipes = new Map();
  canvas.addEventListener('pointerdown', (e) => {
    if (e.pointerType === 'mouse' && e.button !== 0) return;
    // A first touch shows the buttons once it ends: showing them re-fits the
    // window, which would move a caption from under a finger still on it.
    if (e.pointerType === 'touch') swipes.set(e.pointerId, [e.clientX, e.clientY]);
    canvas.focus();
    if (e.isPrimary) queue(kPointerDown, ...windowPoint(e));
  });
  window.addEventListener('pointerup', (e) => {
    if (e.pointerType === 'mouse' && e.button !== 0) return;
    if (e.isPrimary) queue(kPointerUp, ...windowPoint(e));
    if (e.pointerType === 'touch') showTouchControls();
    const from = swipes.get(e.pointerId);
    if (!from) return;
    swipes.delete(e.pointerId);
    const dx = e.clientX - from[0];
    const dy = e.clientY - from[1];
    let key = 0;
    if (Math.abs(dy) >= kSwipe && Math.abs(dy) > 2 * Math.abs(dx)) key = dy < 0 ? 38 : 40;
    if (dx <= -kSwipe && -dx > 2 * Math.abs(dy)) key = 37;
    if (key) {
      queue(kKeyDown, key, 0);
      queue(kTapKeyUp, key, 0);
    }
  });
  window.addEventListener('pointercancel', (e) => {
    swipes.delete(e.pointerId);
    if (e.pointerType === 'touch') showTouchControls();
  });
  canvas.addEventListener('contextmenu', (e) => e.preventDefault());

  // Gamepads: polled once a frame, and only while one is connected. Each
  // change of a button or of the left stick goes to the program, which
  // maps them as the desktop window does.
  const kPadButtons = [0, 1, 2, 3, 8, 9, 12, 13, 14, 15];
  const pads = new Map();
  let polling = false;
  function pollPads() {
    const list = navigator.getGamepads ? Array.from(navigator.getGamepads()) : [];
    const seen = new Set();
    for (const pad of list) {
      if (!pad || !pad.connected) continue;
      seen.add(pad.index);
      if (!pads.has(pad.index)) pads.set(pad.index, { buttons: {}, stick: 1000 * 4096 + 1000 });
      const known = pads.get(pad.index);
      for (const i of kPadButtons) {
        const b = pad.buttons[i];
        const down = Boolean(b && (b.pressed || b.value > 0.5));
        if (down !== Boolean(known.buttons[i])) {
          known.buttons[i] = down;
          queue(kPadButton, pad.index, i * 2 + (down ? 1 : 0));
        }
      }
      const axis = (n) => Math.max(-1000, Math.min(1000, Math.round((pad.axes[n] || 0) * 1000)));
      const stick = (axis(0) + 1000) * 4096 + (axis(1) + 1000);
      if (stick !== known.stick) {
        known.stick = stick;
        queue(kPadStick, pad.index, stick);
      }
    }
    for (const index of Array.from(pads.keys())) {
      if (seen.has(index)) continue;
      pads.delete(index);
      queue(kPadGone, index, 0);
    }
    polling = seen.size > 0;
    if (polling) window.requestAnimationFrame(pollPads);
  }
  window.addEventListener('gamepadconnected', () => {
    if (polling) return;
    polling = true;
    window.requestAnimationFrame(pollPads);
  });
  window.addEventListener('gamepaddisconnected', () => {
    if (!polling) pollPads();
  });

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
  // The page leaves 'loading' once: at its first frame, or when the program
  // fails or ends before one. What waits for the game to be on screen (the
  // offline cache's worker) listens for 'orvo-settled'.
  function settle(state) {
    const first = page.state === 'loading';
    page.state = state;
    if (first) window.dispatchEvent(new Event('orvo-settled'));
  }
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

  // The program, its files and the pictures' decodes are loading since the
  // page began (orvo_load.js).
  const load = window.orvoLoad;

  const seed = params.get('seed');
  const Module = window.Module = {
    orvoEvents: events,
    orvoWake: null,
    orvoSeed: seed !== null && /^[0-9]+$/.test(seed) ? Number(seed) : undefined,
    orvoDumpEnabled: params.get('dump') === '1',
    canvas: canvas,
    print: (text) => console.log(text),
    printErr: (text) => console.warn(text),
    orvoPictures: load,
    orvoShowFrame(pixels, width, height, x, y, w, h) {
      // The canvas keeps the last frame; only the rectangle that changed is
      // drawn anew (none when nothing did).
      if (w > 0 && h > 0) {
        context.putImageData(new ImageData(pixels, width, height), 0, 0, x, y, w, h);
      }
      if (Module.orvoDumpEnabled) lastBoard = pixels;
      if (page.frames === 0) page.firstFrameMs = performance.now();
      page.frames += 1;
      if (page.state === 'loading') settle('running');
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
      settle('failed');
      page.message = title + ': ' + text;
      showMessage(title, text);
    },
    orvoEnded(status) {
      running = false;
      page.status = status;
      // After a start-up failure its message stays on the page.
      if (page.state === 'failed') return;
      settle('ended');
      showMessage('Orvo has ended', 'The game has ended. Start it again to play on.');
    },
    instantiateWasm(imports, receive) {
      load.program.then((module) => WebAssembly.instantiate(module, imports)
        .then((instance) => receive(instance, module)));
      return {};
    },
    // The files are put in place before the program starts; one that could
    // not be fetched is left out, and the program reports it as missing.
    preRun: [() => {
      Module.addRunDependency('orvo-files');
      Module.FS.mkdir('/orvo');
      Module.FS.mkdir('/orvo/Graphics');
      load.files.then((files) => {
        for (const file of files) {
          if (file.data) Module.FS.writeFile(file.path, file.data);
        }
        Module.removeRunDependency('orvo-files');
      });
    }],
  };
})();
