// The page's input as the program's events: the keyboard, the primary
// pointer on the window, the touch controls and swipes, gamepads, and the
// page losing the keyboard. They wait in a queue, each as the program reads
// it (the kind, then every field of page_table.js), until the program takes
// them; the program applies the rules of input.
import { kEvents, kFields, kWindow } from './page_table.js';

const events = [];
let wake = null;
let open = true;

// Queues event `name` of the table with its `fields`, by name.
function queue(name, fields = {}) {
  if (!open) return;
  const event = new Int32Array(1 + kFields.length);
  event[0] = kEvents[name].kind;
  for (const field of kEvents[name].fields) event[1 + kFields.indexOf(field)] = fields[field];
  events.push(event);
  const woken = wake;
  wake = null;
  if (woken) woken();
}

// The first queued event, taken out of the queue; null when there is none.
export function takeEvent() {
  return events.shift() || null;
}

// Resolves once an event is queued, or after `ms` milliseconds (ms < 0: no
// limit; a timer's longest is 2^31 - 1 ms, after which the program sleeps
// again).
export function eventArrival(ms) {
  if (events.length > 0) return Promise.resolve();
  return new Promise((resolve) => {
    const timer = ms >= 0 ? setTimeout(resolve, Math.min(ms, 0x7fffffff)) : null;
    wake = () => {
      clearTimeout(timer);
      resolve();
    };
  });
}

// The program has ended: nothing is queued any more.
export function closeInput() {
  open = false;
}

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

// A swipe's key: up or down one row, left one column.
const kSwipe = 24;  // CSS pixels
function swipeKey(dx, dy) {
  if (Math.abs(dy) >= kSwipe && Math.abs(dy) > 2 * Math.abs(dx)) return dy < 0 ? 38 : 40;
  if (dx <= -kSwipe && -dx > 2 * Math.abs(dy)) return 37;
  return 0;
}

// How long the page listens for gamepads after the player's last sign when
// no pad is connected: this much, and up to as much again (below).
const kPadQuiet = 20000;  // ms

// Listens to the page for the program; `fit` fits the canvas again.
export function startInput(canvas, fit) {
  for (const [type, name] of [['keydown', 'KeyDown'], ['keyup', 'KeyUp']]) {
    window.addEventListener(type, (e) => {
      const code = keyCode(e);
      if (code < 0 || !open) return;
      e.preventDefault();
      queue(name, { code });  // a held key's repeats are key-downs too
    });
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
  // may slide off without letting go of it.
  const fingers = new Map();  // button: the fingers on it
  for (const button of document.querySelectorAll('.pad button')) {
    const code = Number(button.dataset.key);
    const on = new Set();
    fingers.set(button, on);
    const release = (e) => {
      if (!on.delete(e.pointerId) || on.size > 0) return;
      button.classList.remove('held');
      queue('TapKeyUp', { code });
    };
    button.addEventListener('pointerdown', (e) => {
      e.preventDefault();
      showTouchControls();
      if (button.setPointerCapture) button.setPointerCapture(e.pointerId);
      if (on.size === 0) {
        button.classList.add('held');
        queue('KeyDown', { code });
      }
      on.add(e.pointerId);
    });
    for (const type of ['pointerup', 'pointercancel', 'lostpointercapture']) {
      button.addEventListener(type, release);
    }
    button.addEventListener('contextmenu', (e) => e.preventDefault());
  }

  // The window takes the primary pointer's presses (the captions); a
  // finger's swipe over it is a tap of its key.
  const point = (e) => {
    const box = canvas.getBoundingClientRect();
    return { x: Math.floor((e.clientX - box.left) * kWindow.width / box.width),
             y: Math.floor((e.clientY - box.top) * kWindow.height / box.height) };
  };
  const swipes = new Map();
  canvas.addEventListener('pointerdown', (e) => {
    if (e.pointerType === 'mouse' && e.button !== 0) return;
    // A first touch shows the buttons once it ends: showing them re-fits the
    // window, which would move a caption from under a finger still on it.
    if (e.pointerType === 'touch') swipes.set(e.pointerId, [e.clientX, e.clientY]);
    canvas.focus();
    if (e.isPrimary) queue('PointerDown', point(e));
  });
  window.addEventListener('pointerup', (e) => {
    if (e.pointerType === 'mouse' && e.button !== 0) return;
    if (e.isPrimary) queue('PointerUp', point(e));
    if (e.pointerType === 'touch') showTouchControls();
    const from = swipes.get(e.pointerId);
    swipes.delete(e.pointerId);
    const code = from ? swipeKey(e.clientX - from[0], e.clientY - from[1]) : 0;
    if (code) {
      queue('KeyDown', { code });
      queue('TapKeyUp', { code });
    }
  });
  window.addEventListener('pointercancel', (e) => {
    swipes.delete(e.pointerId);
    if (e.pointerType === 'touch') showTouchControls();
  });
  canvas.addEventListener('contextmenu', (e) => e.preventDefault());

  // The page losing the keyboard (another window, another tab): the program
  // lets go of every key and pad button held, whose releases it would never
  // hear of, and the touch controls show none held.
  const focusLost = () => {
    for (const [button, on] of fingers) {
      on.clear();
      button.classList.remove('held');
    }
    queue('FocusLost');
  };
  window.addEventListener('blur', focusLost);
  document.addEventListener('visibilitychange', () => {
    if (document.visibilityState === 'hidden') focusLost();
  });

  // Gamepads: read once a frame, and only while one is connected. Each
  // change of a button or of the left stick goes to the program, which
  // maps them as every window does.
  //
  // The page listens for pads only while a pad is connected or someone is
  // about: from its start, and for 20 to 40 s after the player's last key,
  // pointer move or press, or the page being shown or given the keyboard
  // again. Chromium reads every pad in a thread of its own 250 times a second
  // for as long as a page listens for pads, pad or no pad, which costs more
  // than all the rest of a waiting game. Browsers reveal a pad to a page at
  // its first button press, which must come while the page listens: soon
  // after the page starts or the player's last sign, or after a key or a
  // touch of the mouse.
  const pads = new Map();  // by index: its buttons down and its stick
  let polling = false;     // a pad is connected
  function pollPads() {
    const seen = new Set();
    for (const pad of navigator.getGamepads ? navigator.getGamepads() : []) {
      if (!pad || !pad.connected) continue;
      seen.add(pad.index);
      if (!pads.has(pad.index)) pads.set(pad.index, { buttons: [], stick: [0, 0] });
      const known = pads.get(pad.index);
      pad.buttons.forEach((b, button) => {
        const down = b.pressed || b.value > 0.5 ? 1 : 0;
        if (down === (known.buttons[button] || 0)) return;
        known.buttons[button] = down;
        queue('PadButton', { pad: pad.index, button, down });
      });
      const stick = [0, 1].map((n) => Math.max(-1000, Math.min(1000,
                                                                Math.round((pad.axes[n] || 0) * 1000))));
      if (stick[0] === known.stick[0] && stick[1] === known.stick[1]) continue;
      known.stick = stick;
      queue('PadStick', { pad: pad.index, stickX: stick[0], stickY: stick[1] });
    }
    for (const index of Array.from(pads.keys())) {
      if (seen.has(index)) continue;
      pads.delete(index);
      queue('PadGone', { pad: index });
    }
    const was = polling;
    polling = seen.size > 0;
    if (polling) window.requestAnimationFrame(pollPads);
    else if (was) playerAbout();  // the last pad has gone: the quiet time starts
  }
  function padConnected() {
    window.dispatchEvent(new Event('orvo-pad-connected'));
    if (polling) return;
    polling = true;
    window.requestAnimationFrame(pollPads);
  }
  function padDisconnected() {
    if (!polling) pollPads();
  }
  let listening = false;
  function listenForPads(on) {
    if (on === listening) return;
    listening = on;
    const change = on ? window.addEventListener : window.removeEventListener;
    change.call(window, 'gamepadconnected', padConnected);
    change.call(window, 'gamepaddisconnected', padDisconnected);
  }
  // One timer a quiet time, however often the player moves: a sign only
  // notes that the time starts again when the timer ends.
  let quietTimer = null;
  let signed = false;
  function quietTimeOver() {
    quietTimer = null;
    if (polling) return;  // a connected pad keeps the page listening
    if (signed) {
      signed = false;
      quietTimer = setTimeout(quietTimeOver, kPadQuiet);
    } else {
      listenForPads(false);
    }
  }
  function playerAbout() {
    listenForPads(true);
    if (quietTimer !== null) {
      signed = true;
    } else if (!polling) {
      signed = false;
      quietTimer = setTimeout(quietTimeOver, kPadQuiet);
    }
  }
  for (const type of ['keydown', 'pointerdown', 'pointermove', 'focus']) {
    window.addEventListener(type, playerAbout, { capture: true, passive: true });
  }
  document.addEventListener('visibilitychange', () => {
    if (document.visibilityState === 'visible') playerAbout();
  });
  playerAbout();
}
