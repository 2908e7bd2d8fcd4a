// The page at rest: a game waiting for keys sleeps until an event, and an
// untouched game wakes only at its own deadlines (what wakes the page counted
// over 5 s); the page listens for gamepads while someone is about or a pad is
// connected, and not otherwise, which in Chromium lets the browser's thread
// that reads pads sleep.
// Usage: node idle_test.mjs <page folder>
// (CTest runs it as web.<engine>.idle.)
import assert from 'node:assert/strict';
import { at, browserTests, cannot, countGameWaits, countWakeUps, kStart, noPageError, seen, step,
         watchErrors } from './page_lib.mjs';
import { servePage } from './serve_page.mjs';
import { treeWakeUps } from '../../../bench/process_cpu.mjs';

const [pageFolder] = process.argv.slice(2);
if (!pageFolder) {
  console.error('usage: node idle_test.mjs <page folder>');
  process.exit(2);
}
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Before the page's scripts: its gamepad listeners on the window are counted
// (window.orvoPadListeners), a pad stand-in can be connected (the browser
// cannot attach a real one), and timers of 10 s or more run a hundred times
// sooner, so that the page's quiet time for pads passes in a moment.
function watchPads() {
  const listeners = window.orvoPadListeners = { now: 0, ever: 0 };
  const isPad = (type) => type === 'gamepadconnected' || type === 'gamepaddisconnected';
  for (const [name, step] of [['addEventListener', 1], ['removeEventListener', -1]]) {
    const original = window[name];
    window[name] = function (type, ...rest) {
      if (isPad(type)) listeners.now += step;
      listeners.ever = Math.max(listeners.ever, listeners.now);
      return original.call(this, type, ...rest);
    };
  }
  const timer = window.setTimeout;
  window.setTimeout = (callback, ms, ...rest) => timer(callback, ms >= 10000 ? ms / 100 : ms,
                                                       ...rest);
  const pad = { index: 0, id: 'stand-in', connected: true, mapping: 'standard',
                buttons: Array.from({ length: 17 }, () => ({ pressed: false, value: 0 })),
                axes: [0, 0, 0, 0] };
  let connected = false;
  navigator.getGamepads = () => [connected ? pad : null];
  window.orvoPad = (on) => {
    connected = on;
    window.dispatchEvent(Object.assign(new Event(on ? 'gamepadconnected' : 'gamepaddisconnected'),
                                       { gamepad: pad }));
  };
}

browserTests('the page at rest', async (t, browser) => {
  const server = await servePage(pageFolder);
  async function open(preload) {
    const page = await browser.newPage();
    await page.setViewport({ width: 1280, height: 900 });
    watchErrors(page);
    await page.evaluateOnNewDocument(preload);
    await page.goto('http://127.0.0.1:' + server.address().port + '/');
    return page;
  }
  // What woke the page in 5 s, with the game's timed waits and frames shown.
  async function wakeUps(page) {
    const counts = () => page.evaluate(() => ({ ...window.orvoWakeUps, waits: window.orvoWaits,
                                                shown: window.orvoPage.frames }));
    const before = await counts();
    await sleep(5000);
    const after = await counts();
    return Object.fromEntries(Object.keys(after).map((key) => [key, after[key] - before[key]]));
  }

  try {
    await t.test('a game waiting and a game untouched', async (t) => {
      const page = await open(countWakeUps);
      if (!await seen(t, 'the page shows the window', page,
                      () => window.orvoPage.state === 'running')) return;
      await countGameWaits(page);
      await sleep(1500);  // past the start-up's idle callback
      const waiting = await wakeUps(page);
      await step(t, 'waiting for keys, nothing wakes the page', () => {
        // Anything that repeated once a second or more would show; the one
        // timer allowed is the page's quiet time for pads (20 s), should a
        // slow start put its end into the count.
        assert.ok(waiting.timers <= 1, JSON.stringify(waiting));
        assert.deepEqual({ ...waiting, timers: 0 },
                         { timers: 0, frames: 0, idle: 0, waits: 0, shown: 0 });
      });
      await page.mouse.click(...await at(page, ...kStart));
      if (!await seen(t, 'a click on Start starts a game', page,
                      () => window.orvoPage.frames > 1 && window.orvoWaits > 0)) return;
      await sleep(1000);
      const running = await wakeUps(page);
      await step(t, 'untouched, the game wakes at its own deadlines only', () => {
        const what = JSON.stringify(running);
        // The pair slides about once a second at the first level, each slide
        // one wait and one timer; a margin of five.
        assert.ok(running.waits >= 2 && running.waits <= 5 * 6, what);
        // Every timer is a wait of the game, but for one under way at either
        // end of the count and the page's quiet time for pads; a landing's
        // merges show a frame or two a wait.
        assert.ok(running.timers <= running.waits + 2, what);
        assert.equal(running.frames + running.idle, 0, what);
        assert.ok(running.shown <= 2 * running.waits + 2, what);
      });
      await noPageError(t, page);
      await page.close();
    });

    await t.test('gamepads are listened for while someone is about', async (t) => {
      const page = await open(watchPads);
      const listening = () => page.evaluate(() => window.orvoPadListeners.now > 0);
      await seen(t, 'the page shows the window', page, () => window.orvoPage.state === 'running');
      await step(t, 'the page listened for pads from its start', async () => {
        assert.equal(await page.evaluate(() => window.orvoPadListeners.ever), 2);
      });
      await seen(t, 'untouched, it stops listening', page, () => window.orvoPadListeners.now === 0);
      await page.keyboard.press('Shift');
      await step(t, 'a key: it listens again', async () => assert.ok(await listening()));
      await seen(t, 'and stops once it is quiet', page, () => window.orvoPadListeners.now === 0);
      await page.mouse.move(300, 300);
      await page.mouse.move(310, 305);
      await step(t, 'the mouse moved: it listens again', async () => {
        assert.ok(await listening());
      });
      await page.evaluate(() => window.orvoPad(true));
      await sleep(1000);  // five quiet times, shortened
      await step(t, 'a connected pad keeps it listening', async () => {
        assert.ok(await listening());
      });
      // Chromium reads pads some 250 times a second while a page listens.
      const padThread = (listens) => t.test(
        listens ? 'Chromium reads pads while the page listens' : 'and no more after',
        { skip: cannot('padThread') }, async () => {
          const pid = browser.process().pid;
          const before = treeWakeUps(pid, 'Gamepad polling');
          await sleep(1000);
          const woken = treeWakeUps(pid, 'Gamepad polling') - before;
          assert.ok(listens ? woken >= 25 : woken <= 5, woken + ' wake-ups of its thread in 1 s');
        });
      await padThread(true);
      await page.evaluate(() => window.orvoPad(false));
      await seen(t, 'the pad gone, it stops listening once it is quiet', page,
                 () => window.orvoPadListeners.now === 0);
      await padThread(false);
      await noPageError(t, page);
      await page.close();
    });
  } finally {
    server.close();
  }
});
