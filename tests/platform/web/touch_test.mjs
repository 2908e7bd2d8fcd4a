// The page on a phone, touch only (Chromium's mobile emulation), in portrait
// and landscape: the whole window and its buttons are on screen; a tap on
// Start starts a game; the Up button and a swipe move the pair; Left held
// with one finger while another taps Down lands it, and the board after the
// landing is the one orvo-replay gives for the same seed and moves; the
// page neither scrolls nor zooms. Then a gamepad stand-in plays: the
// browser cannot attach a real one, so navigator.getGamepads() is replaced.
// A touch laptop's first tap on Start starts a game. In Firefox
// (ORVO_BROWSER=firefox) the phone parts are skipped: they need Chromium's
// mobile emulation.
// Usage: node touch_test.mjs <page folder> <orvo-replay program>
// (CTest runs it as web.<engine>.touch.)
import assert from 'node:assert/strict';
import { resolve } from 'node:path';
import { at, boardCells, browserTests, cannot, kStart, noPageError, replayEntries, seen, step,
         watchErrors } from './page_lib.mjs';
import { servePage } from './serve_page.mjs';

const [pageFolder, replayArgument] = process.argv.slice(2);
const replay = replayArgument && resolve(replayArgument);
if (!pageFolder || !replay) {
  console.error('usage: node touch_test.mjs <page folder> <orvo-replay program>');
  process.exit(2);
}

const kSeed = 4242;

async function centreOf(page, selector) {
  return page.$eval(selector, (e) => {
    const r = e.getBoundingClientRect();
    return [r.left + r.width / 2, r.top + r.height / 2];
  });
}
const pairY = (page) => page.evaluate(() => window.orvoPage.dump.pairY);

const kPhones = [{ name: 'portrait', width: 390, height: 844 },
                 { name: 'landscape', width: 844, height: 390 }];

browserTests('touch and gamepad', async (t, browser) => {
  const server = await servePage(pageFolder);
  const base = 'http://127.0.0.1:' + server.address().port + '/?dump=1&seed=' + kSeed;
  try {
    await t.test('the phone in portrait and landscape, touch only', { skip: cannot('phone') },
                 async (t) => {
      // The same game in orvo-replay: Start, Up, Down, then Left held and Down
      // once more, at least 300 ms after the first Down (so that its repeat
      // interval has passed). The times differ from the page's, but not the row
      // the pair lands in: every move comes before its landing.
      let expected = [];
      await step(t, 'orvo-replay ran the seeded game', () => {
        expected = replayEntries(replay, [
          'seed ' + kSeed, 'at 1100 click 0', 'at 1200 keydown 38', 'at 1210 keyup 38',
          'at 1300 keydown 40', 'at 1310 keyup 40', 'at 1600 keydown 37', 'at 1610 keydown 40',
          'at 1620 keyup 40'], 8000);
      });

      for (const phone of kPhones) {
        await t.test(phone.name, async (t) => {
          const page = await browser.newPage();
          watchErrors(page);
          await page.setViewport({ width: phone.width, height: phone.height, deviceScaleFactor: 3,
                                   isMobile: true, hasTouch: true,
                                   isLandscape: phone.width > phone.height });
          await page.goto(base);
          if (await seen(t, 'the page starts', page, () => window.orvoPage.state === 'running')) {
            const look = await page.evaluate(() => {
              const inside = (r) => r.left >= 0 && r.top >= 0 && r.right <= window.innerWidth + 0.5 &&
                                    r.bottom <= window.innerHeight + 0.5;
              const screen = document.getElementById('screen').getBoundingClientRect();
              const buttons = Array.from(document.querySelectorAll('.pad button'),
                                         (b) => b.getBoundingClientRect());
              const apart = (a, b) => a.right <= b.left || b.right <= a.left || a.bottom <= b.top ||
                                      b.bottom <= a.top;
              return { window: inside(screen), width: screen.width, buttons: buttons.length,
                       buttonsInside: buttons.every(inside),
                       big: buttons.every((r) => r.width >= 48 && r.height >= 48),
                       clear: buttons.every((r) => apart(r, screen)) };
            });
            await step(t, 'the whole window is on screen', () => {
              assert.ok(look.window, Math.round(look.width) + ' px wide');
            });
            await step(t, 'four buttons of 48 px or more, on screen, beside the window', () => {
              assert.deepEqual(
                { buttons: look.buttons, onScreen: look.buttonsInside, big: look.big, beside: look.clear },
                { buttons: 4, onScreen: true, big: true, beside: true });
            });

            await page.touchscreen.tap(...await at(page, ...kStart));
            await seen(t, 'a tap on Start starts a game', page,
                       () => window.orvoPage.dump && window.orvoPage.dump.running &&
                             window.orvoPage.dump.pairActive);
            const y0 = await pairY(page);
            await page.touchscreen.tap(...await centreOf(page, '[aria-label="Up"]'));
            await seen(t, 'the Up button moves the pair', page,
                       (y) => window.orvoPage.dump.pairY === y - 1, y0);
            const [bx, by] = await at(page, 240, 150);
            const swipe = await page.touchscreen.touchStart(bx, by);
            await swipe.move(bx, by + 40);
            await swipe.end();
            await seen(t, 'a swipe down moves it back', page,
                       (y) => window.orvoPage.dump.pairY === y, y0);

            // Two fingers: Left held, Down tapped meanwhile, once Down may repeat.
            await page.evaluate(() => new Promise((r) => setTimeout(r, 300)));
            const left = await page.touchscreen.touchStart(...await centreOf(page, '[aria-label="Left"]'));
            await page.touchscreen.tap(...await centreOf(page, '[aria-label="Down"]'));
            await step(t, 'Left stays held while another finger taps Down', async () => {
              assert.ok(await page.$eval('[aria-label="Left"]', (b) => b.classList.contains('held')));
            });
            await seen(t, 'Left held lands the pair', page, () => window.orvoPage.entries.length >= 2);
            await left.end();
            await step(t, 'the board after the landing is the replay\'s', async () => {
              const landed = await page.evaluate(() => window.orvoPage.entries.map((e) => e.dump));
              assert.ok(landed.length >= 2, landed.length + ' entries in the page');
              assert.ok(expected.length >= 2, expected.length + ' entries in the replay');
              assert.deepEqual({ cells: boardCells(landed[1]), used: landed[1].randomUsed },
                               { cells: expected[1].cells, used: expected[1].used });
            });
            await step(t, 'the page did not scroll or zoom', async () => {
              const still = await page.evaluate(() => ({ x: window.scrollX, y: window.scrollY,
                                                         zoom: window.visualViewport.scale }));
              assert.deepEqual(still, { x: 0, y: 0, zoom: 1 });
            });
          }
          await noPageError(t, page);
          await page.close();
        });
      }
    });

    // No coarse pointer: the buttons show from the first touch on, and that
    // touch, a tap on Start, still starts a game.
    await t.test('a touch screen beside a mouse (a touch laptop)', async (t) => {
      const page = await browser.newPage();
      await page.setViewport({ width: 1280, height: 900 });
      await page.goto(base);
      await seen(t, 'the page starts', page,
                 () => window.orvoPage.state === 'running' && window.orvoPage.dump);
      await page.touchscreen.tap(...await at(page, ...kStart));
      await seen(t, 'the first tap on Start starts a game and shows the buttons', page,
                 () => window.orvoPage.dump.running && document.body.classList.contains('touch'));
      await page.close();
    });

    await t.test('a gamepad stand-in', async (t) => {
      const page = await browser.newPage();
      watchErrors(page);
      await page.evaluateOnNewDocument(() => {
        const buttons = Array.from({ length: 17 }, () => ({ pressed: false, value: 0 }));
        const pad = { index: 0, id: 'stand-in', connected: true, mapping: 'standard',
                      buttons: buttons, axes: [0, 0, 0, 0] };
        let connected = false;
        navigator.getGamepads = () => [connected ? pad : null];
        window.orvoPad = {
          connect() {
            connected = true;
            window.dispatchEvent(Object.assign(new Event('gamepadconnected'), { gamepad: pad }));
          },
          set(i, down) { buttons[i] = { pressed: down, value: down ? 1 : 0 }; },
          stick(x, y) { pad.axes[0] = x; pad.axes[1] = y; },
          disconnect() {
            connected = false;
            window.dispatchEvent(Object.assign(new Event('gamepaddisconnected'), { gamepad: pad }));
          },
        };
      });
      await page.setViewport({ width: 1280, height: 900 });
      await page.goto(base);
      await seen(t, 'the page starts', page, () => window.orvoPage.state === 'running');
      await page.evaluate(() => { window.orvoPad.connect(); window.orvoPad.set(9, true); });
      await page.evaluate(() => new Promise((r) => setTimeout(r, 100)));
      await page.evaluate(() => window.orvoPad.set(9, false));
      await seen(t, 'Start starts a game', page,
                 () => window.orvoPage.dump && window.orvoPage.dump.running);
      const y0 = await pairY(page);
      await page.evaluate(() => window.orvoPad.stick(0, -1));
      await seen(t, 'the stick moves the pair up', page, (y) => window.orvoPage.dump.pairY < y, y0);
      await page.evaluate(() => { window.orvoPad.stick(0, 0); window.orvoPad.set(0, true); });
      await seen(t, 'A held lands the pair', page, () => window.orvoPage.entries.length >= 2);
      // Gone while A is held: the key is let go, and Back on a new pad halts.
      await page.evaluate(() => window.orvoPad.disconnect());
      await page.evaluate(() => new Promise((r) => setTimeout(r, 300)));
      const count = await page.evaluate(() => window.orvoPage.entries.length);
      await page.evaluate(() => { window.orvoPad.set(0, false); window.orvoPad.connect();
                                  window.orvoPad.set(8, true); });
      await seen(t, 'Back halts the game', page, () => !window.orvoPage.dump.running);
      await step(t, 'a pad gone while A was held leaves no key held', async () => {
        const after = await page.evaluate(() => window.orvoPage.entries.length);
        assert.ok(after <= count + 1, (after - count) + ' more landings');
      });
      await noPageError(t, page);
      await page.close();
    });
  } finally {
    server.close();
  }
});
