// The game's page against minimal pages, in Debian's headless Chromium, each
// load in a fresh browser:
// - the first frame: the time from navigation to the page's first frame
//   (window.orvoPage.firstFrameMs) against a baseline page that fetches the
//   same files (orvo.js, orvo.wasm, the three pictures, the window's
//   background and the glyphs) and draws the window's background on a
//   580 x 388 canvas, timed at that draw; loads interleaved, medians and
//   their ratio;
// - with --breakdown, where the page's time goes: the files' fetches, the
//   WebAssembly compile, the program's start-up steps (its performance
//   marks) and the browser's picture decodes, medians over the loads;
// - the CPU that all the browser's processes use in 10 s (--cpu-seconds T:
//   T s) with a game waiting for keys (the page shown, nothing pressed) and
//   with a game running untouched (Start clicked, no keys; its pairs from a
//   fixed seed, the same game every time), against a blank page,
//   interleaved, in % of a core, with the difference; and the wake-ups a
//   second meanwhile: those of all the browser's threads (their voluntary
//   context switches), and in the page the timers, animation frames and idle
//   callbacks run, the game's timed waits and the frames it showed. Each
//   count starts 1 s after the last input (--settle S: S s; the page listens
//   for gamepads for 20 to 40 s after the last input, and Chromium reads
//   pads meanwhile).
// Several page folders may be given (a build before and after a change, say):
// each is measured in the same interleaved rounds, against the first one's
// baseline.
// With --repeat, each first frame is that of a second visit in the same
// browser: the game's from its service worker's cache, the baseline's from
// the browser's. With --latency MS, every request of the first frames takes
// MS ms more, as on a network farther away than this machine's own.
// Usage: node bench/web_first_frame.mjs [--runs N] [--cpu-rounds M] [--cpu-seconds T]
//          [--settle S] [--latency MS] [--breakdown] [--repeat]
//          <page folder> [other page folder...]
import { cpSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { loadavg, tmpdir } from 'node:os';
import { join } from 'node:path';
import { countGameWaits, countWakeUps, launchBrowser }
  from '../tests/platform/web/page_lib.mjs';
import { servePage } from '../tests/platform/web/serve_page.mjs';
import { kTicksPerSecond, treeTicks, treeWakeUps } from './process_cpu.mjs';

function usage() {
  console.error('usage: node bench/web_first_frame.mjs [--runs N] [--cpu-rounds M]' +
                ' [--cpu-seconds T] [--settle S] [--latency MS] [--breakdown] [--repeat]' +
                ' <page folder> [other page folder...]');
  process.exit(2);
}
let runs = 7;
let cpuRounds = 3;
let cpuSeconds = 10;
let settle = 1;
let latency = 0;
let breakdown = false;
let repeat = false;
const folders = [];
const argv = process.argv.slice(2);
for (let i = 0; i < argv.length; ++i) {
  const count = () => {
    const n = Number(argv[++i]);
    if (!Number.isInteger(n) || n < 0) usage();
    return n;
  };
  if (argv[i] === '--runs') runs = count();
  else if (argv[i] === '--cpu-rounds') cpuRounds = count();
  else if (argv[i] === '--cpu-seconds') cpuSeconds = count();
  else if (argv[i] === '--settle') settle = count();
  else if (argv[i] === '--latency') latency = count();
  else if (argv[i] === '--breakdown') breakdown = true;
  else if (argv[i] === '--repeat') repeat = true;
  else if (argv[i].startsWith('-')) usage();
  else folders.push(argv[i]);
}
if (folders.length === 0 || cpuSeconds === 0 || (runs === 0 && cpuRounds === 0)) usage();

// The files both pages fetch, as the page names them.
const kFiles = ['orvo.js', 'orvo.wasm', 'Graphics/GameBack.jpg', 'Graphics/Blocks.gif',
                'Graphics/Grid.gif', 'window_back.jpg', 'glyphs.bin'];
const kBaseline = `<!doctype html>
<html><head><meta charset="utf-8"><title>Baseline</title></head>
<body style="margin:0;background:#000">
<canvas id="screen" width="580" height="388"></canvas>
<script>
'use strict';
const files = ${JSON.stringify(kFiles)};
Promise.all(files.map((f) => fetch(f).then((r) => r.arrayBuffer()))).then(async (data) => {
  const bitmap = await createImageBitmap(new Blob([data[files.indexOf('window_back.jpg')]]));
  document.getElementById('screen').getContext('2d').drawImage(bitmap, 0, 0);
  window.baselineMs = performance.now();
});
</script>
</body></html>
`;
const kBlank = '<!doctype html>\n<html><head><meta charset="utf-8"><title>Blank</title></head>' +
               '<body></body></html>\n';

// Each page folder is copied to a temporary folder; the first copy gets the
// baseline and the blank page beside it. One server serves them all.
const root = mkdtempSync(join(tmpdir(), 'orvo-first-frame-'));
const pages = folders.map((folder, i) => {
  cpSync(folder, join(root, 'p' + i), { recursive: true });
  return { name: folders.length > 1 ? 'page ' + (i + 1) + ' (' + folder + ')' : 'page',
           path: '/p' + i + '/index.html', loads: [], steps: [], waiting: [], running: [] };
});
writeFileSync(join(root, 'p0', 'baseline.html'), kBaseline);
writeFileSync(join(root, 'p0', 'blank.html'), kBlank);
const server = await servePage(root);
const origin = 'http://127.0.0.1:' + server.address().port;

function load() {
  return loadavg().map((l) => l.toFixed(2)).join(' ');
}
function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  const mid = sorted.length >> 1;
  return sorted.length % 2 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2;
}
const ms = (v) => v.toFixed(0);

// With --breakdown, wrappers installed before the page's scripts note when
// the WebAssembly compile and each browser decode of a picture begin and end.
function noteSteps() {
  const steps = window.orvoSteps = [];
  const note = (name, start) => steps.push({ name, start, end: performance.now() });
  for (const fn of ['compileStreaming', 'compile', 'instantiateStreaming', 'instantiate']) {
    const original = WebAssembly[fn];
    WebAssembly[fn] = function (...args) {
      const start = performance.now();
      return original.apply(this, args).then((r) => { note('wasm ' + fn, start); return r; });
    };
  }
  const decode = window.createImageBitmap;
  window.createImageBitmap = function (...args) {
    const start = performance.now();
    return decode.apply(this, args).then((r) => {
      note('decode ' + r.width + 'x' + r.height, start);
      return r;
    });
  };
}

async function firstFrame(path, what) {
  const browser = await launchBrowser();
  try {
    const page = await browser.newPage();
    await page.setViewport({ width: 1280, height: 900 });
    if (breakdown && what === 'game') await page.evaluateOnNewDocument(noteSteps);
    if (latency > 0) {
      await page.emulateNetworkConditions({ download: -1, upload: -1, latency });
    }
    const ready = what === 'game' ? 'window.orvoPage && window.orvoPage.firstFrameMs !== null'
                                  : 'window.baselineMs !== undefined';
    if (repeat) {
      // The first visit, until the game's service worker is in charge of
      // the page's files (the baseline's come from the browser's cache).
      await page.goto(origin + path);
      await page.waitForFunction(ready, { timeout: 60000, polling: 10 });
      if (what === 'game') {
        await page.evaluate(() => navigator.serviceWorker.ready.then(() => true));
      }
    }
    await page.goto(origin + path);
    await page.waitForFunction(ready, { timeout: 60000, polling: 10 });
    return await page.evaluate((what) => {
      const at = what === 'game' ? window.orvoPage.firstFrameMs : window.baselineMs;
      const steps = [];
      const nav = performance.getEntriesByType('navigation')[0];
      steps.push({ name: 'page received', start: nav.requestStart, end: nav.responseEnd });
      steps.push({ name: 'page parsed', start: nav.domInteractive, end: nav.domInteractive });
      for (const e of performance.getEntriesByType('resource')) {
        if (e.name.endsWith('/favicon.ico')) continue;
        const name = e.name.replace(/^.*\/p[0-9]+\//, '');
        steps.push({ name: 'fetch ' + name, start: e.startTime, end: e.responseEnd,
                     request: e.requestStart, response: e.responseStart });
      }
      // A mark made more than once is numbered: its second time is "#2".
      const seen = new Map();
      for (const e of performance.getEntriesByType('mark')) {
        const n = (seen.get(e.name) || 0) + 1;
        seen.set(e.name, n);
        const name = n > 1 ? e.name + ' #' + n : e.name;
        steps.push({ name, start: e.startTime, end: e.startTime });
      }
      steps.push(...(window.orvoSteps || []));
      return { at, steps };
    }, what);
  } finally {
    await browser.close();
  }
}

const sleep = (t) => new Promise((resolve) => setTimeout(resolve, t));

// The CPU that the browser's processes use over cpuSeconds, in % of a
// core, and the wake-ups a second meanwhile (wakeUps: all the browser's
// threads; the rest in the page), `settle` s after the last input: on the
// blank page, or with the game waiting for keys or running untouched.
async function cpu(path, what) {
  const browser = await launchBrowser();
  try {
    const page = await browser.newPage();
    await page.setViewport({ width: 1280, height: 900 });
    await page.evaluateOnNewDocument(countWakeUps);
    // The same game in every count: its pairs from a fixed seed, one whose
    // untouched game lasts over three minutes (with seed 7 it is over in 32 s).
    await page.goto(origin + path + (what === 'blank' ? '' : '?seed=1'));
    if (what !== 'blank') {
      await page.waitForFunction('window.orvoPage && window.orvoPage.state === "running"',
                                 { timeout: 60000 });
      await countGameWaits(page);
    }
    if (what === 'running') {
      const box = await page.evaluate(() => {
        const r = document.getElementById('screen').getBoundingClientRect();
        return [r.left, r.top, r.width / 580];
      });
      // The "Start" caption: a game begins, and the pair slides by itself.
      await page.mouse.click(box[0] + 100 * box[2], box[1] + 366 * box[2]);
      await page.waitForFunction('window.orvoPage.frames > 1', { timeout: 60000 });
    }
    await sleep(settle * 1000);
    const counts = () => page.evaluate(() => ({
      ...window.orvoWakeUps, waits: window.orvoWaits || 0,
      shown: window.orvoPage ? window.orvoPage.frames : 0 }));
    const pid = browser.process().pid;
    const before = { ticks: treeTicks(pid), wakeUps: treeWakeUps(pid), ...await counts() };
    await sleep(cpuSeconds * 1000);
    const after = { ticks: treeTicks(pid), wakeUps: treeWakeUps(pid), ...await counts() };
    const result = { cpu: (after.ticks - before.ticks) / kTicksPerSecond / cpuSeconds * 100 };
    for (const key of ['wakeUps', 'timers', 'frames', 'idle', 'waits', 'shown']) {
      result[key] = (after[key] - before[key]) / cpuSeconds;
    }
    return result;
  } finally {
    await browser.close();
  }
}

console.log('machine load (1, 5, 15 min) at the start: ' + load());
const baseline = [];
// Interleaved, and in turn forwards and backwards, so that neither kind of
// page always loads first after a browser start or while the load changes.
for (let run = 0; run < runs; ++run) {
  const order = [{ kind: 'baseline' }, ...pages.map((page) => ({ kind: 'game', page }))];
  if (run % 2) order.reverse();
  for (const item of order) {
    if (item.kind === 'baseline') {
      baseline.push((await firstFrame('/p0/baseline.html', 'baseline')).at);
    } else {
      const result = await firstFrame(item.page.path, 'game');
      item.page.loads.push(result.at);
      item.page.steps.push(result.steps);
    }
  }
}
if (runs > 0) {
  console.log('machine load after the first frames: ' + load());
  console.log((repeat ? 'first frame of a second visit, ' : 'first frame, ') + runs +
              ' fresh browser starts each, interleaved' +
              (latency > 0 ? ', ' + latency + ' ms more for every request' : '') + ':');
  console.log('  baseline page: median ' + ms(median(baseline)) + ' ms (' +
              baseline.map(ms).join(', ') + ')');
  for (const page of pages) {
    console.log('  ' + page.name + ': median ' + ms(median(page.loads)) + ' ms (' +
                page.loads.map(ms).join(', ') + '), ' +
                (median(page.loads) / median(baseline)).toFixed(2) + ' x the baseline');
  }

  if (breakdown) {
    for (const page of pages) {
      // Each step's median start and end over the loads that had it.
      const byName = new Map();
      for (const steps of page.steps) {
        for (const s of steps) {
          if (!byName.has(s.name)) byName.set(s.name, []);
          byName.get(s.name).push(s);
        }
      }
      const rows = [...byName].map(([name, list]) => ({
        name, start: median(list.map((s) => s.start)), end: median(list.map((s) => s.end)),
        request: list[0].request !== undefined ? median(list.map((s) => s.request)) : undefined,
        response: list[0].response !== undefined ? median(list.map((s) => s.response)) : undefined,
        count: list.length,
      }));
      rows.sort((a, b) => a.start - b.start || a.end - b.end);
      console.log('  ' + page.name + ', steps (median ms from navigation: start .. end):');
      for (const r of rows) {
        const span = r.end > r.start ? ms(r.start) + ' .. ' + ms(r.end) + ' (' +
                                           ms(r.end - r.start) + ' ms)'
                                     : ms(r.start);
        const http = r.request !== undefined
          ? ', request sent ' + ms(r.request) + ', response from ' + ms(r.response) : '';
        console.log('    ' + r.name.padEnd(34) + span + http +
                    (r.count < runs ? ' [' + r.count + ' loads]' : ''));
      }
      console.log('    ' + 'first frame'.padEnd(34) + ms(median(page.loads)));
    }
  }
}

if (cpuRounds > 0) {
  const blank = [];
  for (let round = 0; round < cpuRounds; ++round) {
    const order = [{ what: 'blank' }];
    for (const what of ['waiting', 'running']) order.push(...pages.map((page) => ({ what, page })));
    if (round % 2) order.reverse();
    for (const { what, page } of order) {
      if (page) page[what].push(await cpu(page.path, what));
      else blank.push(await cpu('/p0/blank.html', 'blank'));
    }
  }
  console.log('machine load after the CPU rounds: ' + load());
  const pct = (v) => v.toFixed(2);
  const rate = (v) => v.toFixed(v < 10 ? 2 : 0);
  console.log('CPU of all the browser\'s processes over ' + cpuSeconds + ' s from ' + settle +
              ' s after the last input, % of a core, ' + cpuRounds + ' rounds interleaved;' +
              ' wake-ups a second, medians:');
  const show = (name, list) => {
    const m = (key) => median(list.map((r) => r[key]));
    const over = m('cpu') - median(blank.map((r) => r.cpu));
    console.log('  ' + name + ': median ' + pct(m('cpu')) + ' (' +
                list.map((r) => pct(r.cpu)).join(', ') + ')' +
                (list === blank ? '' : ', ' + (over >= 0 ? '+' : '') + pct(over) +
                                       ' over the blank page'));
    console.log('    wake-ups: ' + rate(m('wakeUps')) + ' of the browser\'s threads; in the page ' +
                rate(m('timers')) + ' timers, ' + rate(m('frames')) + ' animation frames, ' +
                rate(m('idle')) + ' idle callbacks' +
                (list === blank ? '' : '; the game\'s ' + rate(m('waits')) + ' timed waits, ' +
                                       rate(m('shown')) + ' frames shown'));
  };
  show('blank page', blank);
  for (const page of pages) {
    show(page.name + ', a game waiting for keys', page.waiting);
    show(page.name + ', a game untouched', page.running);
  }
}
server.close();
rmSync(root, { recursive: true, force: true });
