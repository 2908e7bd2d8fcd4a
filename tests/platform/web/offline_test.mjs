// The page as an installable app, in Debian's headless Chromium: the manifest
// and its icons; after one visit the service worker controls the page, and
// without a network the game starts and plays; a new build replaces the old
// one as a whole (every file, one cache), but never under a game in
// progress; a server caught between two builds installs nothing; a worker
// that cannot register leaves the game as it was. In Firefox
// (ORVO_BROWSER=firefox) all but the browser's own reading of the manifest.
// Usage: node offline_test.mjs <page folder>
import { spawnSync } from 'node:child_process';
import { createHash } from 'node:crypto';
import { appendFileSync, cpSync, existsSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { inFirefox, launchBrowser, skip } from './page_lib.mjs';
import { servePage } from './serve_page.mjs';

const [pageFolder] = process.argv.slice(2);
if (!pageFolder) {
  console.error('usage: node offline_test.mjs <page folder>');
  process.exit(2);
}
// The build's own script that lists a page folder's files for its worker.
const kListScript = join(dirname(fileURLToPath(import.meta.url)),
                         '../../../platform/web/page_cache.cmake');

// Every wait polls for its condition for up to 60 s; a loaded machine meets
// each in well under that, and nothing here bounds how long it takes.
const kPatience = 60000;

let failures = 0;
function check(condition, what) {
  console.log((condition ? 'ok   ' : 'FAIL ') + what);
  if (!condition) failures += 1;
}

// Polls in the page; the page may start again meanwhile (a new build).
async function until(page, predicate, what, ...args) {
  const end = Date.now() + kPatience;
  while (Date.now() < end) {
    try {
      await page.waitForFunction(predicate, { timeout: Math.max(1, end - Date.now()), polling: 50 },
                                 ...args);
      check(true, what);
      return true;
    } catch (e) {
      if (e.name === 'TimeoutError') break;
      await new Promise((resolve) => setTimeout(resolve, 50));
    }
  }
  check(false, what + ' (not seen within ' + kPatience / 1000 + ' s)');
  return false;
}

const sha256 = (bytes) => createHash('sha256').update(bytes).digest('hex');
function cacheNameOf(folder) {
  const match = /const kCache = '([^']+)'/.exec(readFileSync(join(folder, 'sw.js'), 'utf8'));
  return match && match[1];
}
// A new build of a page folder, as the build makes one: changed files, then
// the worker's list of them written again by the build's script.
function rebuild(folder, changes) {
  for (const [file, bytes] of changes) appendFileSync(join(folder, file), bytes);
  const run = spawnSync('cmake', ['-DPAGE=' + folder, '-P', kListScript], { encoding: 'utf8' });
  check(run.status === 0, 'the page\'s files are listed again ' + run.stderr);
  return cacheNameOf(folder);
}
// A custom section that a WebAssembly module may end with, changing nothing.
function wasmSection(text) {
  const leb = (n) => {
    const bytes = [];
    do {
      bytes.push((n & 0x7f) | (n > 0x7f ? 0x80 : 0));
      n >>>= 7;
    } while (n);
    return Buffer.from(bytes);
  };
  const name = Buffer.from('orvo-test');
  const content = Buffer.concat([leb(name.length), name, Buffer.from(text)]);
  return Buffer.concat([Buffer.from([0]), leb(content.length), content]);
}
// A page folder of its own, served at an origin of its own.
async function servedCopy() {
  const folder = mkdtempSync(join(tmpdir(), 'orvo-offline-'));
  cpSync(pageFolder, folder, { recursive: true });
  const server = await servePage(folder);
  server.requests = 0;
  server.on('request', () => { server.requests += 1; });
  return { folder, server, base: 'http://127.0.0.1:' + server.address().port + '/' };
}
function stop({ folder, server }) {
  server.close();
  server.closeAllConnections();
  rmSync(folder, { recursive: true, force: true });
}

const browser = await launchBrowser();
async function open(url) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 900 });
  page.on('pageerror', (e) => check(false, 'no page error: ' + e.message));
  await page.goto(url);
  return page;
}
async function click(page, x, y) {
  const [px, py] = await page.evaluate((x, y) => {
    const box = document.getElementById('screen').getBoundingClientRect();
    return [box.left + (x + 0.5) * box.width / 580, box.top + (y + 0.5) * box.height / 388];
  }, x, y);
  await page.mouse.click(px, py);
}
const kStart = [100, 366];  // the "Start" caption
const kExit = [24, 366];    // the "Exit" caption
const cacheNames = (page) => page.evaluate(() => caches.keys());
// SHA-256 of files as the page gets them (through its worker).
const servedHashes = (page, files) => page.evaluate(async (files) => Promise.all(files.map(
  async (file) => {
    const bytes = await (await fetch(file)).arrayBuffer();
    return Array.from(new Uint8Array(await crypto.subtle.digest('SHA-256', bytes)),
                      (b) => b.toString(16).padStart(2, '0')).join('');
  })), files);

try {
  // ---- The manifest and its icons ---------------------------------------
  {
    const html = readFileSync(join(pageFolder, 'index.html'), 'utf8');
    check(/<link rel="manifest" href="orvo.webmanifest">/.test(html) &&
          /<meta name="theme-color" content="#8040f0">/.test(html),
          'the page links its manifest and theme colour');
    const manifest = JSON.parse(readFileSync(join(pageFolder, 'orvo.webmanifest'), 'utf8'));
    check(manifest.name === 'Orvo' && manifest.short_name === 'Orvo' &&
          manifest.start_url === '.' && manifest.scope === '.' &&
          manifest.display === 'fullscreen' && manifest.background_color === '#000000' &&
          manifest.theme_color === '#8040f0', 'the manifest names the game, its page and colours');
    // Every icon of the manifest, and the home-screen icon of the page: a PNG
    // of the size given; the ones home screens cut are opaque (colour type 2).
    const icons = manifest.icons.concat([{ src: 'apple-touch-icon.png', sizes: '180x180',
                                           purpose: 'maskable' }]);
    for (const icon of icons) {
      const file = join(pageFolder, icon.src);
      const png = existsSync(file) ? readFileSync(file) : Buffer.alloc(0);
      const size = png.length >= 26 && png.toString('latin1', 12, 16) === 'IHDR' &&
                   png.readUInt32BE(16) + 'x' + png.readUInt32BE(20);
      const opaque = png[25] === 2;
      check(png.subarray(0, 8).equals(Buffer.from([137, 80, 78, 71, 13, 10, 26, 10])) &&
            size === icon.sizes && (icon.purpose !== 'maskable' || opaque),
            icon.src + ' is a ' + icon.sizes + ' PNG' + (icon.purpose === 'maskable' ? ', opaque' : ''));
    }
    const purposes = manifest.icons.map((icon) => icon.sizes + ' ' + icon.purpose).sort().join(', ');
    check(purposes === '192x192 any, 512x512 any, 512x512 maskable', 'the manifest\'s icons: ' + purposes);
  }

  // ---- One visit, then offline ------------------------------------------
  {
    const site = await servedCopy();
    const files = Object.keys(JSON.parse(readFileSync(join(site.folder, 'sw.js'), 'utf8')
      .match(/const kFiles = (\{[^}]*\})/)[1].replace(/'/g, '"').replace(/,\s*\}/, '}')));
    const page = await open(site.base + '?dump=1');
    await until(page, () => window.orvoPage.state === 'running', 'the first visit shows the game');
    await until(page, () => navigator.serviceWorker.controller !== null &&
                            navigator.serviceWorker.controller.state === 'activated',
                'the service worker is active and controls the page');
    const name = cacheNameOf(site.folder);
    check(JSON.stringify(await cacheNames(page)) === JSON.stringify([name]), 'one cache: ' + name);
    const cached = await page.evaluate(async (name) =>
      (await (await caches.open(name)).keys()).map((r) => new URL(r.url).pathname.slice(1)).sort(), name);
    check(files.length >= 14 && JSON.stringify(cached) === JSON.stringify(files.sort()),
          'it holds every file of the page (' + cached.length + ')');
    if (inFirefox) {
      skip('the browser reads the manifest', 'asked over the DevTools protocol, which Firefox lacks');
    } else {
      const cdp = await page.createCDPSession();
      const { errors } = await cdp.send('Page.getAppManifest');
      check(errors.length === 0, 'the browser reads the manifest without errors ' + JSON.stringify(errors));
    }

    site.server.close();
    site.server.closeAllConnections();
    await page.setOfflineMode(true);
    const requests = site.server.requests;
    await page.goto(site.base + '?seed=7&dump=1');
    await until(page, () => window.orvoPage.state === 'running', 'offline, the page shows the game');
    const frames = await page.evaluate(() => window.orvoPage.frames);
    await click(page, ...kStart);
    await until(page, () => window.orvoPage.dump && window.orvoPage.dump.pairActive,
                'offline, a click on Start brings a pair');
    await until(page, (n) => window.orvoPage.frames > n + 10, 'and the game goes on', frames);
    check(site.server.requests === requests, 'nothing came from the server');
    await page.close();
    stop(site);
  }

  // ---- New builds ---------------------------------------------------------
  {
    const site = await servedCopy();
    const page = await open(site.base + '?dump=1');
    await until(page, () => navigator.serviceWorker.controller !== null &&
                            window.orvoPage.state === 'running', 'build 1 controls the page');
    const first = cacheNameOf(site.folder);
    await until(page, (name) => caches.keys().then((k) => k.join() === name), 'build 1 is cached', first);

    // Build 2: another orvo_page.js, orvo.js and orvo.wasm. Reloaded, the page
    // starts on build 1's cache, finds build 2 and starts again on it alone.
    const second = rebuild(site.folder, [['orvo_page.js', '\nwindow.orvoBuild = 2;\n'],
                                         ['orvo.js', '\n// build 2\n'],
                                         ['orvo.wasm', wasmSection('build 2')]]);
    check(second && second !== first, 'build 2 has its own cache name');
    await page.reload();
    await until(page, () => window.orvoBuild === 2 && window.orvoPage.state === 'running',
                'the reloaded page starts again on build 2 by itself');
    check(JSON.stringify(await cacheNames(page)) === JSON.stringify([second]),
          'only build 2\'s cache is left');
    const files = ['index.html', 'orvo_page.js', 'orvo.js', 'orvo.wasm'];
    const requests = site.server.requests;
    const served = await servedHashes(page, files);
    const built = files.map((file) => sha256(readFileSync(join(site.folder, file))));
    check(JSON.stringify(served) === JSON.stringify(built), 'the page gets build 2\'s files');
    check(site.server.requests === requests, 'from its cache');

    // Build 3 while a game is under way: it waits; the game goes on.
    await click(page, ...kStart);
    await until(page, () => window.orvoPage.dump && window.orvoPage.dump.pairActive, 'a game starts');
    await page.evaluate(() => { window.orvoSameDocument = true; });
    const third = rebuild(site.folder, [['orvo_page.js', '\nwindow.orvoBuild = 3;\n']]);
    await page.evaluate(() => navigator.serviceWorker.getRegistration().then((r) => r.update()));
    await until(page, () => navigator.serviceWorker.getRegistration().then((r) => r.waiting !== null),
                'build 3 installs and waits');
    const frames = await page.evaluate(() => window.orvoPage.frames);
    await until(page, (n) => window.orvoPage.frames > n + 10 && window.orvoPage.dump.running,
                'the game goes on', frames);
    check(await page.evaluate(() => window.orvoSameDocument === true && window.orvoBuild === 2),
          'on build 2, without starting again');
    check(JSON.stringify((await cacheNames(page)).sort()) === JSON.stringify([second, third].sort()),
          'both caches are kept meanwhile');

    // Once the program has ended, build 3 takes over; "Start again" loads it.
    await page.keyboard.down('Escape');
    await until(page, () => !window.orvoPage.dump.running, 'Escape halts the game');
    await page.keyboard.up('Escape');
    await click(page, ...kExit);
    await until(page, () => window.orvoPage.state === 'ended', 'Exit ends the program');
    await until(page, (name) => caches.keys().then((k) => k.join() === name),
                'then build 3 takes over, alone in the cache', third);
    await page.click('#again');
    await until(page, () => window.orvoBuild === 3 && window.orvoPage.state === 'running',
                '"Start again" starts build 3');

    // A server caught between two builds (orvo.wasm changed after the list
    // was written): the new worker installs nothing, build 3 stays.
    rebuild(site.folder, [['orvo_page.js', '\nwindow.orvoBuild = 4;\n']]);
    appendFileSync(join(site.folder, 'orvo.wasm'), wasmSection('between builds'));
    await page.evaluate(() => navigator.serviceWorker.getRegistration().then((r) => {
      r.addEventListener('updatefound', () => {
        const worker = r.installing;
        worker.addEventListener('statechange', () => { window.orvoInstall = worker.state; });
      });
      return r.update();
    }));
    await until(page, () => window.orvoInstall === 'redundant', 'the mixed build fails to install');
    check(JSON.stringify(await cacheNames(page)) === JSON.stringify([third]),
          'no cache of it is left, build 3\'s is kept');
    await page.reload();
    await until(page, () => window.orvoPage.state === 'running', 'the page starts again');
    check(await page.evaluate(() => window.orvoBuild) === 3, 'on build 3');
    await page.close();
    stop(site);
  }

  // ---- A worker that cannot register --------------------------------------
  {
    const site = await servedCopy();
    rmSync(join(site.folder, 'sw.js'));
    const page = await open(site.base);
    await until(page, () => window.orvoPage.state === 'running', 'without sw.js the page shows the game');
    await page.reload();
    await until(page, () => window.orvoPage.state === 'running', 'again when reloaded');
    check(await page.evaluate(() => navigator.serviceWorker.controller === null),
          'and no worker controls it');
    await page.close();
    stop(site);
  }
} catch (e) {
  check(false, 'the test ran to its end: ' + e.message);
} finally {
  await browser.close();
}
console.log(failures === 0 ? 'offline page tests passed' : failures + ' checks failed');
process.exit(failures === 0 ? 0 : 1);
