// The game's page in Debian's headless Chromium (or, with
// ORVO_BROWSER=firefox, Firefox ESR): it loads and shows the
// window, its pictures decoded by the program (never by the browser); Start brings a pair; held Left lands
// it; Escape halts; the canvas shows the last frame exactly; Exit ends the
// program; the arrows do not scroll the page; a missing picture shows the
// game's failure message, and so does a hostile one, which no decoder sees;
// and with the seed fixed, the boards after each landing, cells and pixels,
// are those orvo-replay gives for the same seed; losing the focus lets go of
// a held key.
// Usage: node page_test.mjs <page folder> <orvo-replay program>
// (CTest runs it as web.<engine>.page.)
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { at, boardCells, browserTests, kExit, kStart, noPageError, replayEntries, seen, step,
         watchErrors } from './page_lib.mjs';
import { servePage } from './serve_page.mjs';

const [pageFolder, replayArgument] = process.argv.slice(2);
const replay = replayArgument && resolve(replayArgument);
if (!pageFolder || !replay) {
  console.error('usage: node page_test.mjs <page folder> <orvo-replay program>');
  process.exit(2);
}

async function click(page, x, y) {
  const [px, py] = await at(page, x, y);
  await page.mouse.click(px, py);
}

// A copy of the page's folder with `change` made to it, served on a port of
// its own while `body(base)` runs.
async function withChangedCopy(change, body) {
  const copy = mkdtempSync(join(tmpdir(), 'orvo-page-'));
  try {
    cpSync(pageFolder, copy, { recursive: true });
    change(copy);
    const served = await servePage(copy);
    try {
      await body('http://127.0.0.1:' + served.address().port + '/');
    } finally {
      served.close();
    }
  } finally {
    rmSync(copy, { recursive: true, force: true });
  }
}

browserTests('the page', async (t, browser) => {
  const server = await servePage(pageFolder);
  const base = 'http://127.0.0.1:' + server.address().port + '/';

  // `watchDecodes`: the sizes of the files that the page hands to the
  // browser's picture decoder are kept in window.orvoDecoded.
  async function open(url, watchDecodes = false) {
    const page = await browser.newPage();
    await page.setViewport({ width: 1280, height: 900 });
    watchErrors(page);
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

  try {
    await t.test('the window, a game, the keys', async (t) => {
      const page = await open(base + '?dump=1', true);
      if (await seen(t, 'the page shows the window', page,
                     () => window.orvoPage.state === 'running')) {
        // The program decodes its pictures itself, as on every platform: the
        // browser's decoder sees none of them.
        await step(t, 'the browser decodes no picture', async () => {
          assert.equal(await page.evaluate(() => window.orvoDecoded.length), 0, 'decodes');
        });
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
        await step(t, 'the canvas is 580 x 388', () => {
          assert.deepEqual([look.width, look.height], [580, 388]);
        });
        await step(t, 'it is scaled by the largest whole multiple that fits (2 in 1280 x 900)', () => {
          assert.deepEqual([look.cssWidth, look.cssHeight], [580 * 2, 388 * 2]);
        });
        await step(t, 'the window is drawn', () => {
          assert.ok(look.lit > 580 * 388 / 10, look.lit + ' lit pixels');
        });
        await step(t, 'the page has the window\'s caption', () => {
          assert.equal(look.title, 'Orvo (O-tended Pell)');
        });
        await step(t, 'the picture libraries\' licences come with the page', async () => {
          const notices = await page.evaluate(async () => {
            const link = document.querySelector('link[rel="license"]');
            return link && (await fetch(link.href)).text();
          });
          assert.ok(notices, 'no licence link');
          for (const text of ['giflib', 'libjpeg-turbo', 'Independent JPEG Group',
                              'Permission is hereby granted', 'Redistribution and use']) {
            assert.ok(notices.includes(text), 'the notices lack "' + text + '"');
          }
        });

        // The arrows, Enter, Escape and Space never reach the page itself.
        await step(t, 'key listener installed', async () => {
          assert.equal(await page.evaluate(() => {
            const seen = [];
            window.addEventListener('keydown', (e) => seen.push(e.key + ':' + e.defaultPrevented));
            window.orvoSeenKeys = seen;
            return true;
          }), true);
        });
        for (const key of ['ArrowDown', 'ArrowUp', 'ArrowRight', 'Space', 'PageDown']) {
          await page.keyboard.press(key === 'Space' ? ' ' : key);
        }
        const keys = await page.evaluate(() => ({ keys: window.orvoSeenKeys, y: window.scrollY }));
        await step(t, 'the game\'s keys do not act on the page', () => {
          assert.deepEqual(keys.keys.map((k) => k.replace(/.*:/, '')), Array(5).fill('true'),
                           keys.keys.join(' '));
        });
        await step(t, 'the page did not scroll', () => assert.equal(keys.y, 0));

        await click(page, ...kStart);
        if (await seen(t, 'a click on Start starts a game', page,
                       () => window.orvoPage.dump && window.orvoPage.dump.running &&
                             window.orvoPage.dump.pairActive)) {
          await step(t, 'a pair is on the board', async () => {
            const dump = await page.evaluate(() => window.orvoPage.dump);
            assert.ok(dump.board[2][9] > 0 && dump.board[2][8] === 0 || dump.pairX < 9,
                      'pair at x ' + dump.pairX + ', row 2: ' + dump.board[2].join(' '));
          });
        }
        await page.keyboard.down('ArrowLeft');
        await seen(t, 'held Left lands the pair at the left, and a new pair enters', page,
                   () => window.orvoPage.entries.length >= 2 && window.orvoPage.dump.board[2][0] > 0);
        await page.keyboard.up('ArrowLeft');
        await page.keyboard.down('Escape');
        await seen(t, 'Escape halts the game', page,
                   () => window.orvoPage.dump && !window.orvoPage.dump.running);
        await page.keyboard.up('Escape');
        // The canvas draws only what changed from frame to frame; after all
        // those frames it still shows the last one, every pixel of it.
        await step(t, 'the canvas shows the last frame exactly', async () => {
          const stale = await page.evaluate(() => {
            const shown = document.getElementById('screen').getContext('2d')
              .getImageData(0, 0, 580, 388).data;
            const frame = window.orvoLastFrame;
            if (!frame || frame.length !== shown.length) return -1;
            let differ = 0;
            for (let i = 0; i < shown.length; ++i) differ += shown[i] !== frame[i];
            return differ;
          });
          assert.equal(stale, 0, 'bytes that differ (-1: no frame of that size kept)');
        });
        await click(page, ...kExit);
        await seen(t, 'Exit ends the program', page, () => window.orvoPage.state === 'ended');
        await step(t, 'the page says the game has ended and offers to start it again', async () => {
          const ended = await page.evaluate(() => ({
            status: window.orvoPage.status,
            shown: getComputedStyle(document.getElementById('message')).display !== 'none',
            text: document.getElementById('message-text').textContent }));
          assert.equal(ended.status, 0, 'exit status');
          assert.ok(ended.shown, 'the message is shown');
          assert.match(ended.text, /ended/);
        });
      }
      await noPageError(t, page);
      await page.close();
    });

    await t.test('a missing picture', async (t) => {
      await withChangedCopy((copy) => rmSync(join(copy, 'Graphics', 'Grid.gif')), async (url) => {
        const page = await open(url);
        if (await seen(t, 'a missing picture is a start-up failure', page,
                       () => window.orvoPage.state === 'failed')) {
          await step(t, 'the page shows the game\'s message', async () => {
            const shown = await page.evaluate(() => document.getElementById('message').innerText);
            assert.match(shown, /Error loading game/);
            assert.match(shown, /Path not found: \/orvo\/Graphics\/Grid\.gif/);
          });
        }
        await noPageError(t, page);
        await page.close();
      });
    });

    // A GIF that declares 60000 x 60000 pixels is refused by the game's own
    // checks, with the game's message, before any decoder sees it.
    await t.test('a hostile picture', async (t) => {
      const hostile = Buffer.from([
        0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x60, 0xEA, 0x60, 0xEA, 0x00, 0x00, 0x00,  // screen
        0x2C, 0x00, 0x00, 0x00, 0x00, 0x60, 0xEA, 0x60, 0xEA, 0x00,  // one image as large
        0x02, 0x02, 0x4C, 0x01, 0x00, 0x3B]);  // its data, the trailer
      const change = (copy) => writeFileSync(join(copy, 'Graphics', 'Grid.gif'), hostile);
      await withChangedCopy(change, async (url) => {
        const page = await open(url, true);
        if (await seen(t, 'a hostile picture is a start-up failure', page,
                       () => window.orvoPage.state === 'failed')) {
          const shown = await page.evaluate(() => ({
            text: document.getElementById('message').innerText, decoded: window.orvoDecoded }));
          await step(t, 'the page shows the game\'s message', () => {
            assert.match(shown.text, /Error loading game/);
            assert.match(shown.text,
                         /\/orvo\/Graphics\/Grid\.gif: picture size 60000 x 60000 is too large/);
          });
          await step(t, 'the hostile picture never reached the decoder', () => {
            assert.ok(!shown.decoded.includes(hostile.length),
                      'decoded sizes: ' + shown.decoded.join(', '));
          });
        }
        await noPageError(t, page);
        await page.close();
      });
    });

    // With Left held, the page loses the keyboard (a blur of the window, or
    // the page hidden) right after the key has moved the pair. The browsers
    // are not asked to move the focus for real (headless, they would not
    // tell the page): the page gets the very events they send, from the
    // test. The next pair then moves left only by the game's timed slides,
    // each of which restarts its slide time, never by the key, which held
    // would race it to the left every 100 ms. No time is measured: every
    // move of the pair shows in the state lines.
    const kFocusLosses = [
      { name: 'a blur of the window', how: 'blur' },
      { name: 'the page hidden', how: 'hidden' },
    ];
    for (const loss of kFocusLosses) {
      await t.test('Left held, then ' + loss.name, async (t) => {
        const page = await open(base + '?dump=1&seed=4242');
        await seen(t, 'the seeded page starts', page, () => window.orvoPage.state === 'running');
        await click(page, ...kStart);
        await seen(t, 'a pair enters', page, () => window.orvoPage.entries.length >= 1);
        await page.evaluate((how) => {
          window.orvoLostAt = null;
          // The pairs that entered from then on, by their random numbers used,
          // and the state lines of the first.
          window.orvoPairsAfter = () => {
            const after = window.orvoPage.dumps.slice(window.orvoLostAt);
            const used = [...new Set(after.filter((d) => d.pairActive).map((d) => d.randomUsed))];
            return { used, next: after.filter((d) => d.pairActive && d.randomUsed === used[1]) };
          };
          let last = window.orvoPage.dump;
          window.addEventListener('orvo-dump', function moved(e) {
            const [p, d] = [last, (last = e.detail)];
            if (!p.pairActive || !d.pairActive || d.randomUsed !== p.randomUsed ||
                d.pairX !== p.pairX - 1 || d.lastSlideTime !== p.lastSlideTime) return;
            window.removeEventListener('orvo-dump', moved);
            window.orvoLostAt = window.orvoPage.dumps.length;
            if (how === 'hidden') {
              Object.defineProperty(document, 'visibilityState', { value: 'hidden',
                                                                  configurable: true });
              document.dispatchEvent(new Event('visibilitychange'));
            } else {
              window.dispatchEvent(new Event('blur'));
            }
          });
        }, loss.how);
        await page.keyboard.down('ArrowLeft');
        if (await seen(t, 'held Left moves the pair, and the page loses the keyboard', page,
                       () => window.orvoLostAt !== null)) {
          // The pair in play then, and the next one: until that one has slid
          // twice, or has landed (a third one came).
          await seen(t, 'the next pair enters and moves on', page, () => {
            const { used, next } = window.orvoPairsAfter();
            return used.length > 2 || new Set(next.map((d) => d.lastSlideTime)).size > 2 ||
                   !window.orvoPage.dump.running;
          });
          const next = await page.evaluate(() => window.orvoPairsAfter().next);
          let slides = 0;
          let columns = 0;
          for (let i = 1; i < next.length; ++i) {
            slides += next[i].lastSlideTime !== next[i - 1].lastSlideTime;
            columns += next[i - 1].pairX - next[i].pairX;
          }
          await step(t, 'the next pair moves left only by the timed slides', () => {
            // Two slides at least, and no more columns than slides (the last
            // slide may land the pair).
            assert.ok(slides >= 2 && columns <= slides,
                      columns + ' columns left in ' + slides + ' timed slides');
          });
        }
        await page.keyboard.up('ArrowLeft');
        await noPageError(t, page);
        await page.close();
      });
    }

    await t.test('same rules, same pixels', async (t) => {
      const kSeed = 4242;
      const kLandings = 4;
      const page = await open(base + '?dump=1&seed=' + kSeed);
      await seen(t, 'the seeded page starts', page, () => window.orvoPage.state === 'running');
      await click(page, ...kStart);
      await seen(t, 'the seeded game starts', page, () => window.orvoPage.entries.length >= 1);
      await page.keyboard.down('ArrowLeft');
      // The first entry is the game's first pair; each landing brings one more.
      await seen(t, 'the pairs land', page, (n) => window.orvoPage.entries.length >= n + 1 ||
                                                   window.orvoPage.dump.running === false,
                 kLandings);
      await page.keyboard.up('ArrowLeft');
      const entries = await page.evaluate(() => window.orvoPage.entries.map((e) => ({
        dump: e.dump,
        board: btoa(Array.from(e.board, (b) => String.fromCharCode(b)).join('')) })));

      // The same game in orvo-replay: Start, then Left held; a dump at every
      // millisecond catches each pair just after it entered (the first dump
      // after new random numbers were drawn).
      let expected = [];
      await step(t, 'orvo-replay ran the seeded game', () => {
        expected = replayEntries(replay, ['seed ' + kSeed, 'at 1100 click 0', 'at 1200 keydown 37']);
      });
      // The page publishes the same state line as orvo-replay's dump.
      const seenBoards = entries.map((e) => ({
        cells: boardCells(e.dump), board: e.board,
        points: e.dump.points, used: e.dump.randomUsed }));
      await step(t, (kLandings + 1) + ' entries seen in the page', () => {
        assert.ok(seenBoards.length >= kLandings + 1, seenBoards.length + ' entries');
      });
      await step(t, 'the boards after ' + kLandings + ' landings are the replay\'s', () => {
        assert.ok(expected.length >= kLandings + 1, expected.length + ' entries in the replay');
        const compared = (list) => list.slice(0, kLandings + 1).map(
          (e, i) => ({ entry: i, cells: e.cells, points: e.points, used: e.used }));
        assert.deepEqual(compared(seenBoards), compared(expected));
      });

      // The board surface's pixels at the last compared entry, from the replay's snapshot.
      const n = Math.min(kLandings, expected.length - 1, seenBoards.length - 1);
      if (n >= 0) {
        const folder = mkdtempSync(join(tmpdir(), 'orvo-snap-'));
        let png;
        let shot = false;
        try {
          shot = await step(t, 'orvo-replay wrote the snapshot', () => {
            const snap = ['seed ' + kSeed, 'at 1100 click 0', 'at 1200 keydown 37',
                          'run ' + expected[n].tick, 'snapshot board.png'];
            const run = spawnSync(replay, ['-'], { input: snap.join('\n') + '\n', cwd: folder });
            assert.equal(run.status, 0, String(run.error || run.stderr));
            png = readFileSync(join(folder, 'board.png')).toString('base64');
          });
        } finally {
          rmSync(folder, { recursive: true, force: true });
        }
        if (shot) {
          await step(t, 'the board surface\'s pixels are the replay\'s after ' + n + ' landings',
                     async () => {
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
                differ += want[i] !== got[i] || want[i + 1] !== got[i + 1] || want[i + 2] !== got[i + 2];
              }
              return differ;
            }, png, seenBoards[n].board);
            assert.equal(differing, 0, 'pixels that differ');
          });
        }
      }
      await noPageError(t, page);
      await page.close();
    });
  } finally {
    server.close();
  }
});
