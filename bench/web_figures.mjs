// Figures of the game's page in Debian's headless Chromium: the time from
// navigation to the first frame, and the CPU that the browser's processes use
// while a game runs untouched for 10 s.
// Usage: node bench/web_figures.mjs <page folder>   (run from tests/platform/web's
// node_modules: NODE_PATH=tests/platform/web/node_modules)
import { createRequire } from 'node:module';
import { join } from 'node:path';
import { servePage } from '../tests/platform/web/serve_page.mjs';
import { kTicksPerSecond, treeTicks } from './process_cpu.mjs';

const require = createRequire(join(process.cwd(), 'tests/platform/web/package.json'));
const puppeteer = require('puppeteer-core');
const folder = process.argv[2];
const server = await servePage(folder);
const url = 'http://127.0.0.1:' + server.address().port + '/';

const loads = [];
for (let run = 0; run < 5; ++run) {
  const browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
           '--disable-component-update', '--disable-sync', '--no-first-run'] });
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 900 });
  await page.goto(url);
  await page.waitForFunction(() => window.orvoPage.firstFrameMs !== null, { timeout: 30000 });
  loads.push(await page.evaluate(() => window.orvoPage.firstFrameMs));
  if (run === 0) {
    // A game, untouched: the pair slides by itself.
    const box = await page.evaluate(() => {
      const r = document.getElementById('screen').getBoundingClientRect();
      return [r.left, r.top, r.width / 580];
    });
    await page.mouse.click(box[0] + 100 * box[2], box[1] + 366 * box[2]);
    await new Promise((r) => setTimeout(r, 1000));
    const pid = browser.process().pid;
    const before = treeTicks(pid);
    await new Promise((r) => setTimeout(r, 10000));
    const used = treeTicks(pid) - before;
    console.log('CPU while a game runs untouched (10 s): ' + (used / kTicksPerSecond / 10 * 100).toFixed(2) +
                ' % of a core (all of the browser\'s processes)');
  }
  await browser.close();
}
loads.sort((a, b) => a - b);
console.log('navigation to first frame: median ' + loads[2].toFixed(0) + ' ms (' +
            loads.map((l) => l.toFixed(0)).join(', ') + ')');
server.close();
