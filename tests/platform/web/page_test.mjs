// The game's page in Debian's headless Chromium: it loads and shows the
// window; Start brings a pair; held Left lands it; Escape halts; Exit ends
// the program; the arrows do not scroll the page; a missing picture shows
// the game's failure message; and with the seed fixed, the boards after each
// landing, cells and pixels, are those orvo-replay gives for the same seed.
// Usage: node page_test.mjs <page folder> <orvo-replay program>
import { spawnSync } from 'node:child_process';
import { cpSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
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

async function open(url) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 900 });
  page.on('pageerror', (e) => check(false, 'no page error: ' + e.message));
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
    const page = await open(base + '?dump=1');
    if (await until(page, () => window.orvoPage.state === 'running', 'the page shows the window')) {
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
