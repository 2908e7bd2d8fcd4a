// The page's test hooks, off unless its address asks for them; they are the
// program's own (app/test_hooks.h), set in its environment before it starts:
// ?seed=N fixes the random source's seed, and ?dump=1 has the program write
// its state at every frame and batch of events, a line of JSON each, to a
// device of the page's (a program built with the dump, as with the tests;
// any other leaves it unread). What a test reads is window.orvoPage: the page's
// state and frames; with ?dump=1 also the last state line and every one
// (dumps), and the entries: the state when a pair entered (the first line
// after new random numbers were drawn) with the board's pixels as shown then.
// Each state line is also an 'orvo-dump' event on the window.
import { kBoard } from './page_table.js';

const params = new URLSearchParams(window.location.search);
const dumping = params.get('dump') === '1';
export const page = window.orvoPage = { state: 'loading', frames: 0, firstFrameMs: null,
                                        message: '', status: null, dump: null, dumps: [],
                                        entries: [] };
let board = null;  // the board's pixels in the frame just shown

// The page leaves 'loading' once: at its first frame, or when the program
// fails or ends before one. What waits for the game to be on screen (the
// offline cache's worker) listens for 'orvo-settled'; what waits for a later
// state, for 'orvo-state', which every change of state brings.
export function settle(state) {
  const first = page.state === 'loading';
  const changed = page.state !== state;
  page.state = state;
  if (first) window.dispatchEvent(new Event('orvo-settled'));
  if (changed) window.dispatchEvent(new Event('orvo-state'));
}

// The window's `pixels` (RGBA, `width` wide) are on screen.
export function frameShown(pixels, width) {
  if (page.frames === 0) page.firstFrameMs = performance.now();
  page.frames += 1;
  if (page.state === 'loading') settle('running');
  if (!dumping) return;
  board = new Uint8Array(kBoard.width * kBoard.height * 4);
  for (let y = 0; y < kBoard.height; ++y) {
    const from = ((y + kBoard.top) * width + kBoard.left) * 4;
    board.set(pixels.subarray(from, from + kBoard.width * 4), y * kBoard.width * 4);
  }
}

function dumped(line) {
  const previous = page.dump;
  page.dump = JSON.parse(line);
  page.dumps.push(page.dump);
  const drew = page.dump.randomUsed !== (previous ? previous.randomUsed : 0);
  if (drew && page.dump.pairActive && board) page.entries.push({ dump: page.dump, board });
  board = null;
  window.dispatchEvent(new CustomEvent('orvo-dump', { detail: page.dump }));
}

// Sets the hooks up in `Module` before the program starts.
export function setUpHooks(Module) {
  // Plain digits only; the program takes those below 2^32.
  const seed = params.get('seed');
  if (seed !== null && /^[0-9]+$/.test(seed)) Module.ENV.ORVO_SEED = seed;
  if (!dumping) return;
  // The device hands the page each byte written; a line is whole at its end.
  const bytes = [];
  Module.FS.createDevice('/dev', 'orvo-dump', null, (byte) => {
    if (byte === 10) {
      dumped(new TextDecoder().decode(new Uint8Array(bytes)));
      bytes.length = 0;
    } else {
      bytes.push(byte);
    }
  });
  Module.ENV.ORVO_DUMP = '/dev/orvo-dump';
}
