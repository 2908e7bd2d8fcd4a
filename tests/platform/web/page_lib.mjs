// What the page tests share: checks that count failures, waits that poll a
// condition in the page, the browser, window coordinates on the scaled
// canvas, and the boards orvo-replay gives for a scenario.
// The browser is Debian's Chromium (over the DevTools protocol), or with
// ORVO_BROWSER=firefox Debian's Firefox ESR (over WebDriver BiDi); what a
// browser cannot be asked to do is skipped there, with a line saying why.
import { spawnSync } from 'node:child_process';
import puppeteer from 'puppeteer-core';

// Every wait polls for its condition for up to 20 s; a loaded machine meets
// each in well under that, and nothing here bounds how long it takes.
export const kPatience = 20000;

let failures = 0;
export function failureCount() {
  return failures;
}

export function check(condition, what) {
  console.log((condition ? 'ok   ' : 'FAIL ') + what);
  if (!condition) failures += 1;
}

export async function until(page, predicate, what, ...args) {
  try {
    await page.waitForFunction(predicate, { timeout: kPatience, polling: 20 }, ...args);
    check(true, what);
    return true;
  } catch {
    check(false, what + ' (not seen within ' + kPatience / 1000 + ' s)');
    return false;
  }
}

export const kBrowser = process.env.ORVO_BROWSER || 'chromium';
if (kBrowser !== 'chromium' && kBrowser !== 'firefox') {
  console.error('ORVO_BROWSER is chromium (when not set) or firefox, not ' + JSON.stringify(kBrowser));
  process.exit(2);
}
export const inFirefox = kBrowser === 'firefox';

export function skip(what, why) {
  console.log('skip ' + what + ' (' + why + ')');
}

export function launchBrowser() {
  if (inFirefox) {
    return puppeteer.launch({ browser: 'firefox', executablePath: '/usr/bin/firefox-esr',
                              headless: true });
  }
  return puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
           '--disable-component-update', '--disable-sync', '--no-first-run'],
  });
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
  check(run.status === 0, 'orvo-replay ran the seeded game: ' + run.stderr);
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
