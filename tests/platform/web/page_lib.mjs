// What the page tests share, on Node's own test runner (node:test, Node 18.19
// or later): the browser a test file runs in, the steps its sections are made
// of, waits that poll a condition in the page, window coordinates on the
// scaled canvas, and the boards orvo-replay gives for a scenario.
// The browser is the engine that ORVO_BROWSER names: Debian's Chromium (over
// the DevTools protocol) when not set, or Firefox ESR (over WebDriver BiDi);
// ORVO_BROWSER_PROGRAM, when set, is the program to start instead of Debian's.
// What an engine cannot be asked to do is skipped there, the reason shown in
// the runner's report; a file whose browser is not installed skips its tests
// and exits with kNoBrowser, which CTest reports as a skip.
import { accessSync, constants } from 'node:fs';
import { spawnSync } from 'node:child_process';
import assert from 'node:assert/strict';
import { test } from 'node:test';
import puppeteer from 'puppeteer-core';

// Every wait polls for its condition for up to 20 s; a loaded machine meets
// each in well under that, and nothing here bounds how long it takes.
export const kPatience = 20000;

// The exit status of a test file whose browser is not installed.
export const kNoBrowser = 77;

// The engines the page is tested in: Debian's program, how puppeteer starts
// it, and what it cannot be asked to do there, with the reason.
const kEngines = {
  chromium: {
    program: '/usr/bin/chromium',
    launch: (program) => puppeteer.launch({
      executablePath: program,
      headless: true,
      args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
             '--disable-component-update', '--disable-sync', '--no-first-run'],
    }),
    cannot: {},
  },
  firefox: {
    program: '/usr/bin/firefox-esr',
    launch: (program) => puppeteer.launch({ browser: 'firefox', executablePath: program,
                                            headless: true }),
    cannot: {
      phone: 'puppeteer cannot make Firefox a phone: no mobile viewport, no coarse pointer',
      readManifest: 'asked over the DevTools protocol, which Firefox lacks',
      padThread: 'the thread that reads pads for a page that listens is Chromium\'s',
    },
  },
};

export const kBrowser = process.env.ORVO_BROWSER || 'chromium';
if (!Object.hasOwn(kEngines, kBrowser)) {
  console.error('ORVO_BROWSER is ' + Object.keys(kEngines).join(' or ') +
                ' (chromium when not set), not ' + JSON.stringify(kBrowser));
  process.exit(2);
}
const kEngine = kEngines[kBrowser];
const kProgram = process.env.ORVO_BROWSER_PROGRAM || kEngine.program;

// Why this engine cannot be asked to do `what` ('phone', 'readManifest'), or
// undefined where it can: a test's `skip` option as it is.
export function cannot(what) {
  return kEngine.cannot[what];
}

export function launchBrowser() {
  return kEngine.launch(kProgram);
}

// A test file's tests in the browser: `body(t, browser)` adds its sections as
// subtests of one test named `what` and the engine. When the browser is not
// installed that test is skipped, saying so, and the file exits with
// kNoBrowser.
export function browserTests(what, body) {
  let missing;
  try {
    accessSync(kProgram, constants.X_OK);
  } catch {
    missing = kBrowser + ' is not installed (no program ' + kProgram + ')';
    process.exitCode = kNoBrowser;
  }
  test(what + ' in ' + kBrowser, { skip: missing }, async (t) => {
    const browser = await launchBrowser();
    try {
      await body(t, browser);
    } finally {
      await browser.close();
    }
  });
}

// One check of a section, as a subtest named for what it checks; resolves to
// whether it passed. A section goes on after a failed step, as far as what
// follows does not need it.
export async function step(t, what, check) {
  let passed = false;
  await t.test(what, async (s) => {
    await check(s);
    passed = true;
  });
  return passed;
}

// Polls `predicate(...args)` in the page every `polling` ms until it holds;
// fails when it has not within `patience` ms. With `restarts`, a page that
// starts again meanwhile (a reload, a new build) is polled again.
export async function until(page, predicate, args = [],
                            { patience = kPatience, polling = 20, restarts = false } = {}) {
  const end = Date.now() + patience;
  for (;;) {
    try {
      await page.waitForFunction(predicate, { timeout: Math.max(1, end - Date.now()), polling },
                                 ...args);
      return;
    } catch (e) {
      if (e.name === 'TimeoutError' || Date.now() >= end) break;
      if (!restarts) throw e;
      await new Promise((resolve) => setTimeout(resolve, polling));
    }
  }
  assert.fail('not seen within ' + patience / 1000 + ' s');
}

// A step that waits for `predicate(...args)` to hold in the page.
export function seen(t, what, page, predicate, ...args) {
  return step(t, what, () => until(page, predicate, args));
}

// What wakes a page, for the tests and figures of a page at rest: installed
// before the page's scripts (evaluateOnNewDocument), it counts the timers,
// animation frames and idle callbacks that run, in window.orvoWakeUps.
export function countWakeUps() {
  const counts = window.orvoWakeUps = { timers: 0, frames: 0, idle: 0 };
  const wrap = (name, kind) => {
    const original = window[name];
    if (!original) return;
    window[name] = function (callback, ...rest) {
      if (typeof callback !== 'function') return original.call(this, callback, ...rest);
      return original.call(this, function (...args) {
        counts[kind] += 1;
        return callback.apply(this, args);
      }, ...rest);
    };
  };
  wrap('setTimeout', 'timers');
  wrap('setInterval', 'timers');
  wrap('requestAnimationFrame', 'frames');
  wrap('requestIdleCallback', 'idle');
}

// From now on, the game's timed waits in `page` (each one timer of the page)
// are counted in window.orvoWaits.
export function countGameWaits(page) {
  return page.evaluate(() => {
    const arrival = window.Module.orvoEventArrival;
    window.orvoWaits = 0;
    window.Module.orvoEventArrival = (ms) => {
      if (ms >= 0) window.orvoWaits += 1;
      return arrival(ms);
    };
  });
}

// Collects the page's uncaught errors for noPageError.
export function watchErrors(page) {
  page.errors = [];
  page.on('pageerror', (e) => page.errors.push(e.message));
}

export function noPageError(t, page) {
  return step(t, 'no page error', () => assert.deepEqual(page.errors, []));
}

// Window coordinates to page coordinates on the scaled canvas.
export async function at(page, x, y) {
  return page.evaluate((x, y) => {
    const box = document.getElementById('screen').getBoundingClientRect();
    return [box.left + (x + 0.5) * box.width / 580, box.top + (y + 0.5) * box.height / 388];
  }, x, y);
}

export const kStart = [100, 366];  // the "Start" caption
export const kExit = [24, 366];    // the "Exit" caption

// Runs `lines` through orvo-replay with a dump at every millisecond from
// 1100 to `last` and returns the boards at which a pair entered (the first
// dump after new random numbers were drawn): tick, cells of the 10 x 6
// board, points and the random numbers used.
export function replayEntries(replay, lines, last = 40000) {
  const all = [...lines];
  for (let t = 1100; t <= last; ++t) all.push('run ' + t, 'dump');
  const run = spawnSync(replay, ['-'], { input: all.join('\n') + '\n', maxBuffer: 1 << 30 });
  assert.equal(run.status, 0, 'orvo-replay ran the seeded game: ' + (run.error || run.stderr));
  const entries = [];
  let used = 0;
  for (const line of run.stdout.toString().split('\n')) {
    if (!line.startsWith('{')) continue;
    const d = JSON.parse(line);
    if (d.randomUsed === used || !d.pairActive) continue;
    used = d.randomUsed;
    entries.push({ tick: d.tick, cells: boardCells(d), points: d.points, used: d.randomUsed });
  }
  return entries;
}

// The visible 10 x 6 board of a state line, as text to compare.
export function boardCells(dump) {
  return JSON.stringify(dump.board.slice(0, 6).map((r) => r.slice(0, 10)));
}
