// The game's page in Debian's headless Chromium (or, with
// ORVO_BROWSER=firefox, Firefox ESR): it loads and shows the
// window, each picture decoded once; Start brings a pair; held Left lands
// it; Escape halts; the canvas shows the last frame exactly; Exit ends the
// program; the arrows do not scroll the page; a missing picture shows the
// game's failure message, and so does a hostile one, which no decoder sees;
// and with the seed fixed, the boards after each landing, cells and pixels,
// are those orvo-replay gives for the same seed.
// Usage: node page_test.mjs <page folder> <orvo-replay program>
import { spawnSync } from 'node:child_process';
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { at, boardCells, check, failureCount, kExit, kStart, launchBrowser, replayEntries, until }
  from './page_lib.mjs';
import { servePage } from './serve_page.mjs';

const [pageFolder, replayArgument] = process.argv.slice(2);
const replay = replayArgument && resolve(replayArgument);
if (!pageFolder || !replay) {
  console.error('usage: node page_test.mjs <page folder> <orvo-replay program>');
  process.exit(2);
}

const browser = await launchBrowser();
const server = await servePage(pageFolder);
const base = 'http://127.0.0.1:' + server.address().port + '/';

// `watchDecodes`: the sizes of the files that the page hands to the
// browser's picture decoder are kept in window.orvoDecoded.
async function open(url, watchDecodes = false) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 900 });
  page.on('pageerror', (e) => check(false, 'no page error: ' + e.message));
  if (watchDecodes) {
    await page.evaluateOnNewDocument(() => {
      const decode = window.createImageBitmap;
      window.orvoDecoded = [];
      window.createImageBitmap = function (source, ...rest) {
        if (source instanceof Blob) window.orvoDecoded.push(source.size);
        return decode.call(this, source, ...rest);
      };
    });
  }
  await page.goto(url);
  return page;
}

async function click(page, x, y) {
  const [px, py] = await at(page, x, y);
  await page.mouse.click(px, py);
}

try {
  // ---- The window, a game, the keys -----------------------------------
  {
    const page = await open(base + '?dump=1', true);
    if (await until(page, () => window.orvoPage.state === 'running', 'the page shows the window')) {
      // Each picture is decoded once, also when the page began before the
      // program asked for it.
      const decoded = await page.evaluate(() => window.orvoDecoded.length);
      check(decoded === 4, 'the four pictures are decoded once each (' + decoded + ' decodes)');
      // From now on the page keeps a copy of the last frame the program gave.
      await page.evaluate(() => {
        const show = window.Module.orvoShowFrame;
        window.Module.orvoShowFrame = function (pixels, ...rest) {
          window.orvoLastFrame = pixels.slice();
          return show.call(this, pixels, ...rest);
        };
      });
      const look = await page.evaluate(() => {
        const canvas = document.getElementById('screen');
        const pixels = canvas.getContext('2d').getImageData(0, 0, 580, 388).data;
        let lit = 0;
        for (let i = 0; i < pixels.length; i += 4) lit += pixels[i] + pixels[i + 1] + pixels[i + 2] > 0;
        return { width: canvas.width, height: canvas.height, cssWidth: canvas.clientWidth,
                 cssHeight: canvas.clientHeight, lit: lit, title: document.title };
      });
      check(look.width === 580 && look.height === 388, 'the canvas is 580 x 388');
      check(look.cssWidth === 580 * 2 && look.cssHeight === 388 * 2,
            'it is scaled by the largest whole multiple that fits (2 in 1280 x 900)');
      check(look.lit > 580 * 388 / 10, 'the window is drawn (' + look.lit + ' lit pixels)');
      check(look.title === 'Orvo (O-tended Pell)', 'the page has the window\'s caption');

      // The arrows, Enter, Escape and Space never reach the page itself.
      const defaults = await page.evaluate(() => {
        const seen = [];
        window.addEventListener('keydown', (e) => seen.push(e.key + ':' + e.defaultPrevented));
        window.orvoSeenKeys = seen;
        return true;
      });
      check(defaults, 'key listener installed');
      for (const key of ['ArrowDown', 'ArrowUp', 'ArrowRight', 'Space', 'PageDown']) {
        await page.keyboard.press(key === 'Space' ? ' ' : key);
      }
      const seen = await page.evaluate(() => ({ keys: window.orvoSeenKeys, y: window.scrollY }));
      check(seen.keys.length === 5 && seen.keys.every((k) => k.endsWith(':true')),
            'the game\'s keys do not act on the page: ' + seen.keys.join(' '));
      check(seen.y === 0, 'the page did not scroll');

      await click(page, ...kStart);
      if (await until(page, () => window.orvoPage.dump && window.orvoPage.dump.running &&
                                    window.orvoPage.dump.pairActive,
                      'a click on Start starts a game')) {
        const dump = await page.evaluate(() => window.orvoPage.dump);
        check(dump.board[2][9] > 0 && dump.board[2][8] === 0 || dump.pairX < 9,
              'a pair is on the board');
      }
      await page.keyboard.down('ArrowLeft');
      await until(page, () => window.orvoPage.entries.length >= 2 &&
                              window.orvoPage.dump.board[2][0] > 0,
                  'held Left lands the pair at the left, and a new pair enters');
      await page.keyboard.up('ArrowLeft');
      await page.keyboard.down('Escape');
      await until(page, () => window.orvoPage.dump && !window.orvoPage.dump.running,
                  'Escape halts the game');
      await page.keyboard.up('Escape');
      // The canvas draws only what changed from frame to frame; after all
      // those frames it still shows the last one, every pixel of it.
      const stale = await page.evaluate(() => {
        const shown = document.getElementById('screen').getContext('2d')
          .getImageData(0, 0, 580, 388).data;
        const frame = window.orvoLastFrame;
        if (!frame || frame.length !== shown.length) return -1;
        let differ = 0;
        for (let i = 0; i < shown.length; ++i) differ += shown[i] !== frame[i];
        return differ;
      });
      check(stale === 0, 'the canvas shows the last frame exactly (' + stale + ' bytes differ)');
      await click(page, ...kExit);
      await until(page, () => window.orvoPage.state === 'ended', 'Exit ends the program');
      const ended = await page.evaluate(() => ({
        status: window.orvoPage.status,
        shown: getComputedStyle(document.getElementById('message')).display !== 'none',
        text: document.getElementById('message-text').textContent }));
      check(ended.status === 0 && ended.shown && /ended/.test(ended.text),
            'the page says the game has ended and offers to start it again');
      await page.close();
    }
  }

  // ---- A missing picture ----------------------------------------------
  {
    const copy = mkdtempSync(join(tmpdir(), 'orvo-page-'));
    cpSync(pageFolder, copy, { recursive: true });
    rmSync(join(copy, 'Graphics', 'Grid.gif'));
    const broken = await servePage(copy);
    const page = await open('http://127.0.0.1:' + broken.address().port + '/');
    if (await until(page, () => window.orvoPage.state === 'failed',
                    'a missing picture is a start-up failure')) {
      const shown = await page.evaluate(() => document.getElementById('message').innerText);
      check(/Error loading game/.test(shown) && /Path not found: \/orvo\/Graphics\/Grid\.gif/.test(shown),
            'the page shows the game\'s message: ' + JSON.stringify(shown));
    }
    await page.close();
    broken.close();
    rmSync(copy, { recursive: true, force: true });
  }

  // ---- A hostile picture -----------------------------------------------
  // A GIF that declares 60000 x 60000 pixels is refused by the game's own
  // checks, with the game's message, before any decoder sees it: neither the
  // page (which decodes pictures while the program loads) nor the program
  // hands it to the browser's decoder.
  {
    const copy = mkdtempSync(join(tmpdir(), 'orvo-page-'));
    cpSync(pageFolder, copy, { recursive: true });
    const hostile = Buffer.from([
      0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x60, 0xEA, 0x60, 0xEA, 0x00, 0x00, 0x00,  // screen
      0x2C, 0x00, 0x00, 0x00, 0x00, 0x60, 0xEA, 0x60, 0xEA, 0x00,  // one image as large
      0x02, 0x02, 0x4C, 0x01, 0x00, 0x3B]);  // its data, the trailer
    writeFileSync(join(copy, 'Graphics', 'Grid.gif'), hostile);
    const served = await servePage(copy);
    const page = await open('http://127.0.0.1:' + served.address().port + '/', true);
    if (await until(page, () => window.orvoPage.state === 'failed',
                    'a hostile picture is a start-up failure')) {
      const seen = await page.evaluate(() => ({
        shown: document.getElementById('message').innerText, decoded: window.orvoDecoded }));
      check(/Error loading game/.test(seen.shown) &&
            /\/orvo\/Graphics\/Grid\.gif: picture size 60000 x 60000 is too large/.test(seen.shown),
            'the page shows the game\'s message: ' + JSON.stringify(seen.shown));
      check(!seen.decoded.includes(hostile.length),
            'the hostile picture never reached the decoder (' + seen.decoded.join(', ') + ')');
    }
    await page.close();
    served.close();
    rmSync(copy, { recursive: true, force: true });
  }

  // ---- Same rules, same pixels ------------------------------------------
  {
    const kSeed = 4242;
    const kLandings = 4;
    const page = await open(base + '?dump=1&seed=' + kSeed);
    await until(page, () => window.orvoPage.state === 'running', 'the seeded page starts');
    await click(page, ...kStart);
    await until(page, () => window.orvoPage.entries.length >= 1, 'the seeded game starts');
    await page.keyboard.down('ArrowLeft');
    // The first entry is the game's first pair; each landing brings one more.
    await until(page, (n) => window.orvoPage.entries.length >= n + 1 ||
                             window.orvoPage.dump.running === false,
                'the pairs land', kLandings);
    await page.keyboard.up('ArrowLeft');
    const entries = await page.evaluate(() => window.orvoPage.entries.map((e) => ({
      dump: e.dump,
      board: btoa(Array.from(e.board, (b) => String.fromCharCode(b)).join('')) })));

    // The same game in orvo-replay: Start, then Left held; a dump at every
    // millisecond catches each pair just after it entered (the first dump
    // after new random numbers were drawn).
    const expected = replayEntries(replay, ['seed ' + kSeed, 'at 1100 click 0', 'at 1200 keydown 37']);
    // The page publishes the same state line as orvo-replay's dump.
    const seenBoards = entries.map((e) => ({
      cells: boardCells(e.dump), board: e.board,
      points: e.dump.points, used: e.dump.randomUsed }));
    check(seenBoards.length >= kLandings + 1, seenBoards.length + ' entries seen in the page');
    let same = 0;
    for (let i = 0; i < Math.min(seenBoards.length, expected.length, kLandings + 1); ++i) {
      if (seenBoards[i].cells === expected[i].cells && seenBoards[i].points === expected[i].points &&
          seenBoards[i].used === expected[i].used) {
        same += 1;
      } else {
        check(false, 'entry ' + i + ': page ' + seenBoards[i].cells + ' replay ' + expected[i].cells);
      }
    }
    check(same === kLandings + 1, 'the boards after ' + kLandings + ' landings are the replay\'s');

    // The board surface's pixels at the last compared entry, from the replay's snapshot.
    const n = Math.min(kLandings, expected.length - 1, seenBoards.length - 1);
    if (n >= 0) {
      const folder = mkdtempSync(join(tmpdir(), 'orvo-snap-'));
      const snap = ['seed ' + kSeed, 'at 1100 click 0', 'at 1200 keydown 37',
                    'run ' + expected[n].tick, 'snapshot board.png'];
      const shot = spawnSync(replay, ['-'], { input: snap.join('\n') + '\n', cwd: folder });
      check(shot.status === 0, 'orvo-replay wrote the snapshot: ' + shot.stderr);
      const png = readFileSync(join(folder, 'board.png')).toString('base64');
      rmSync(folder, { recursive: true, force: true });
      const differing = await page.evaluate(async (png, board) => {
        const bytes = Uint8Array.from(atob(png), (c) => c.charCodeAt(0));
        const bitmap = await createImageBitmap(new Blob([bytes], { type: 'image/png' }),
                                               { colorSpaceConversion: 'none' });
        const canvas = new OffscreenCanvas(480, 288);
        const context = canvas.getContext('2d');
        context.drawImage(bitmap, 0, 0);
        const want = context.getImageData(0, 0, 480, 288).data;
        const got = Uint8Array.from(atob(board), (c) => c.charCodeAt(0));
        let differ = 0;
        for (let i = 0; i < want.length; i += 4) {
          if (want[i] !== got[i] || want[i + 1] !== got[i + 1] || want[i + 2] !== got[i + 2]) differ += 1;
        }
        return differ;
      }, png, seenBoards[n].board);
      check(differing === 0, 'the board surface\'s pixels are the replay\'s (' + differing +
                             ' differ) after ' + n + ' landings');
    }
    await page.close();
  }
} finally {
  await browser.close();
  server.close();
}
const failures = failureCount();
console.log(failures === 0 ? 'web page tests passed' : failures + ' checks failed');
process.exit(failures === 0 ? 0 : 1);
