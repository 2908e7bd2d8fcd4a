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
import { resolve } from 'node:path';
import { at, boardCells, check, failureCount, inFirefox, kStart, launchBrowser, replayEntries, skip,
         until } from './page_lib.mjs';
import { servePage } from './serve_page.mjs';

const [pageFolder, replayArgument] = process.argv.slice(2);
const replay = replayArgument && resolve(replayArgument);
if (!pageFolder || !replay) {
  console.error('usage: node touch_test.mjs <page folder> <orvo-replay program>');
  process.exit(2);
}

const kSeed = 4242;
const browser = await launchBrowser();
const server = await servePage(pageFolder);
const base = 'http://127.0.0.1:' + server.address().port + '/?dump=1&seed=' + kSeed;

// The same game in orvo-replay: Start, Up, Down, then Left held and Down
// once more, at least 300 ms after the first Down (so that its repeat
// interval has passed). The times differ from the page's, but not the row
// the pair lands in: every move comes before its landing.
const expected = inFirefox ? [] : replayEntries(replay, [
  'seed ' + kSeed, 'at 1100 click 0', 'at 1200 keydown 38', 'at 1210 keyup 38',
  'at 1300 keydown 40', 'at 1310 keyup 40', 'at 1600 keydown 37', 'at 1610 keydown 40',
  'at 1620 keyup 40'], 8000);

async function centreOf(page, selector) {
  return page.$eval(selector, (e) => {
    const r = e.getBoundingClientRect();
    return [r.left + r.width / 2, r.top + r.height / 2];
  });
}
const pairY = (page) => page.evaluate(() => window.orvoPage.dump.pairY);

const kPhones = [{ name: 'portrait', width: 390, height: 844 },
                 { name: 'landscape', width: 844, height: 390 }];
if (inFirefox) {
  skip('the phone in portrait and landscape, touch only',
       'puppeteer cannot make Firefox a phone: no mobile viewport, no coarse pointer');
}

try {
  for (const phone of inFirefox ? [] : kPhones) {
    const page = await browser.newPage();
    page.on('pageerror', (e) => check(false, 'no page error: ' + e.message));
    await page.setViewport({ width: phone.width, height: phone.height, deviceScaleFactor: 3,
                             isMobile: true, hasTouch: true, isLandscape: phone.width > phone.height });
    await page.goto(base);
    const name = phone.name + ': ';
    if (!await until(page, () => window.orvoPage.state === 'running', name + 'the page starts')) {
      await page.close();
      continue;
    }
    const look = await page.evaluate(() => {
      const inside = (r) => r.left >= 0 && r.top >= 0 && r.right <= window.innerWidth + 0.5 &&
                            r.bottom <= window.innerHeight + 0.5;
      const screen = document.getElementById('screen').getBoundingClientRect();
      const buttons = Array.from(document.querySelectorAll('.pad button'),
                                 (b) => b.getBoundingClientRect());
      const apart = (a, b) => a.right <= b.left || b.right <= a.left || a.bottom <= b.top ||
                              b.bottom <= a.top;
      return { window: inside(screen), width: screen.width, buttons: buttons.length,
               buttonsInside: buttons.every(inside), big: buttons.every((r) => r.width >= 48 &&
                                                                           r.height >= 48),
               clear: buttons.every((r) => apart(r, screen)) };
    });
    check(look.window, name + 'the whole window is on screen (' + Math.round(look.width) + ' px wide)');
    check(look.buttons === 4 && look.buttonsInside && look.big && look.clear,
          name + 'four buttons of 48 px or more, on screen, beside the window');

    await page.touchscreen.tap(...await at(page, ...kStart));
    await until(page, () => window.orvoPage.dump && window.orvoPage.dump.running &&
                            window.orvoPage.dump.pairActive, name + 'a tap on Start starts a game');
    const y0 = await pairY(page);
    await page.touchscreen.tap(...await centreOf(page, '[aria-label="Up"]'));
    await until(page, (y) => window.orvoPage.dump.pairY === y - 1, name + 'the Up button moves the pair',
                y0);
    const [bx, by] = await at(page, 240, 150);
    const swipe = await page.touchscreen.touchStart(bx, by);
    await swipe.move(bx, by + 40);
    await swipe.end();
    await until(page, (y) => window.orvoPage.dump.pairY === y, name + 'a swipe down moves it back', y0);

    // Two fingers: Left held, Down tapped meanwhile, once Down may repeat.
    await page.evaluate(() => new Promise((r) => setTimeout(r, 300)));
    const left = await page.touchscreen.touchStart(...await centreOf(page, '[aria-label="Left"]'));
    await page.touchscreen.tap(...await centreOf(page, '[aria-label="Down"]'));
    check(await page.$eval('[aria-label="Left"]', (b) => b.classList.contains('held')),
          name + 'Left stays held while another finger taps Down');
    await until(page, () => window.orvoPage.entries.length >= 2, name + 'Left held lands the pair');
    await left.end();
    const seen = await page.evaluate(() => window.orvoPage.entries.map((e) => e.dump));
    check(seen.length >= 2 && expected.length >= 2 && boardCells(seen[1]) === expected[1].cells &&
          seen[1].randomUsed === expected[1].used,
          name + 'the board after the landing is the replay\'s: ' +
          (seen[1] ? boardCells(seen[1]) : '-') + ' / ' + (expected[1] ? expected[1].cells : '-'));
    const still = await page.evaluate(() => ({ x: window.scrollX, y: window.scrollY,
                                               zoom: window.visualViewport.scale }));
    check(still.x === 0 && still.y === 0 && still.zoom === 1, name + 'the page did not scroll or zoom');
    await page.close();
  }

  // ---- A touch screen beside a mouse (a touch laptop) ----------------------
  // No coarse pointer: the buttons show from the first touch on, and that
  // touch, a tap on Start, still starts a game.
  {
    const page = await browser.newPage();
    await page.setViewport({ width: 1280, height: 900 });
    await page.goto(base);
    await until(page, () => window.orvoPage.state === 'running' && window.orvoPage.dump,
                'touch laptop: the page starts');
    await page.touchscreen.tap(...await at(page, ...kStart));
    await until(page, () => window.orvoPage.dump.running && document.body.classList.contains('touch'),
                'touch laptop: the first tap on Start starts a game and shows the buttons');
    await page.close();
  }

  // ---- A gamepad stand-in -------------------------------------------------
  {
    const page = await browser.newPage();
    page.on('pageerror', (e) => check(false, 'no page error: ' + e.message));
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
    await until(page, () => window.orvoPage.state === 'running', 'gamepad: the page starts');
    await page.evaluate(() => { window.orvoPad.connect(); window.orvoPad.set(9, true); });
    await page.evaluate(() => new Promise((r) => setTimeout(r, 100)));
    await page.evaluate(() => window.orvoPad.set(9, false));
    await until(page, () => window.orvoPage.dump && window.orvoPage.dump.running,
                'gamepad: Start starts a game');
    const y0 = await pairY(page);
    await page.evaluate(() => window.orvoPad.stick(0, -1));
    await until(page, (y) => window.orvoPage.dump.pairY < y, 'gamepad: the stick moves the pair up', y0);
    await page.evaluate(() => { window.orvoPad.stick(0, 0); window.orvoPad.set(0, true); });
    await until(page, () => window.orvoPage.entries.length >= 2, 'gamepad: A held lands the pair');
    // Gone while A is held: the key is let go, and Back on a new pad halts.
    await page.evaluate(() => window.orvoPad.disconnect());
    await page.evaluate(() => new Promise((r) => setTimeout(r, 300)));
    const count = await page.evaluate(() => window.orvoPage.entries.length);
    await page.evaluate(() => { window.orvoPad.set(0, false); window.orvoPad.connect();
                                window.orvoPad.set(8, true); });
    await until(page, () => !window.orvoPage.dump.running, 'gamepad: Back halts the game');
    const after = await page.evaluate(() => window.orvoPage.entries.length);
    check(after <= count + 1, 'gamepad: a pad gone while A was held leaves no key held (' +
                              (after - count) + ' more landings)');
    await page.close();
  }
} finally {
  await browser.close();
  server.close();
}
const failures = failureCount();
console.log(failures === 0 ? 'touch and gamepad tests passed' : failures + ' checks failed');
process.exit(failures === 0 ? 0 : 1);
