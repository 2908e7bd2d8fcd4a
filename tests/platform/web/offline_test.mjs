// The page as an installable app, in Debian's headless Chromium: the manifest
// and its icons; after one visit the service worker controls the page, and
// without a network the game starts and plays; a new build replaces the old
// one as a whole (every file, one cache), but never under a game in
// progress; a server caught between two builds installs nothing; a worker
// that cannot register leaves the game as it was. In Firefox
// (ORVO_BROWSER=firefox) all but the browser's own reading of the manifest.
// Usage: node offline_test.mjs <page folder>
// (CTest runs it as web.<engine>.offline.)
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { createHash } from 'node:crypto';
import { appendFileSync, cpSync, existsSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { browserTests, cannot, kExit, kStart, noPageError, step, until, watchErrors }
  from './page_lib.mjs';
import { servePage } from './serve_page.mjs';

const [pageFolder] = process.argv.slice(2);
if (!pageFolder) {
  console.error('usage: node offline_test.mjs <page folder>');
  process.exit(2);
}
// The build's own script that lists a page folder's files for its worker.
const kListScript = join(dirname(fileURLToPath(import.meta.url)),
                         '../../../platform/web/page_cache.cmake');

// A step that waits for `predicate(...args)` to hold in the page. Every wait
// polls for up to 60 s (a loaded machine meets each in well under that, and
// nothing here bounds how long it takes); the page may start again meanwhile
// (a new build).
function seen(t, what, page, predicate, ...args) {
  return step(t, what, () => until(page, predicate, args,
                                   { patience: 60000, polling: 50, restarts: true }));
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
  assert.equal(run.status, 0, 'the page\'s files are listed again ' + (run.error || run.stderr));
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
// A page folder of its own, served at an origin of its own, while
// `body(site)` runs; its requests are counted.
async function withServedCopy(body) {
  const folder = mkdtempSync(join(tmpdir(), 'orvo-offline-'));
  try {
    cpSync(pageFolder, folder, { recursive: true });
    const server = await servePage(folder);
    server.requests = 0;
    server.on('request', () => { server.requests += 1; });
    try {
      await body({ folder, server, base: 'http://127.0.0.1:' + server.address().port + '/' });
    } finally {
      server.close();
      server.closeAllConnections();
    }
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
}

async function click(page, x, y) {
  const [px, py] = await page.evaluate((x, y) => {
    const box = document.getElementById('screen').getBoundingClientRect();
    return [box.left + (x + 0.5) * box.width / 580, box.top + (y + 0.5) * box.height / 388];
  }, x, y);
  await page.mouse.click(px, py);
}
const cacheNames = (page) => page.evaluate(() => caches.keys());
// SHA-256 of files as the page gets them (through its worker).
const servedHashes = (page, files) => page.evaluate(async (files) => Promise.all(files.map(
  async (file) => {
    const bytes = await (await fetch(file)).arrayBuffer();
    return Array.from(new Uint8Array(await crypto.subtle.digest('SHA-256', bytes)),
                      (b) => b.toString(16).padStart(2, '0')).join('');
  })), files);

browserTests('the page offline', async (t, browser) => {
  async function open(url) {
    const page = await browser.newPage();
    await page.setViewport({ width: 1280, height: 900 });
    watchErrors(page);
    await page.goto(url);
    return page;
  }

  await t.test('the manifest and its icons', async (t) => {
    await step(t, 'the page links its manifest and theme colour', () => {
      const html = readFileSync(join(pageFolder, 'index.html'), 'utf8');
      assert.match(html, /<link rel="manifest" href="orvo.webmanifest">/);
      assert.match(html, /<meta name="theme-color" content="#8040f0">/);
    });
    const manifest = JSON.parse(readFileSync(join(pageFolder, 'orvo.webmanifest'), 'utf8'));
    await step(t, 'the manifest names the game, its page and colours', () => {
      const { name, short_name, start_url, scope, display, background_color, theme_color } = manifest;
      assert.deepEqual({ name, short_name, start_url, scope, display, background_color, theme_color },
                       { name: 'Orvo', short_name: 'Orvo', start_url: '.', scope: '.',
                         display: 'fullscreen', background_color: '#000000',
                         theme_color: '#8040f0' });
    });
    // Every icon of the manifest, and the home-screen icon of the page: a PNG
    // of the size given; the ones home screens cut are opaque (colour type 2).
    const icons = manifest.icons.concat([{ src: 'apple-touch-icon.png', sizes: '180x180',
                                           purpose: 'maskable' }]);
    for (const icon of icons) {
      const maskable = icon.purpose === 'maskable';
      await step(t, icon.src + ' is a ' + icon.sizes + ' PNG' + (maskable ? ', opaque' : ''), () => {
        const file = join(pageFolder, icon.src);
        const png = existsSync(file) ? readFileSync(file) : Buffer.alloc(0);
        assert.deepEqual(png.subarray(0, 8), Buffer.from([137, 80, 78, 71, 13, 10, 26, 10]),
                         'the PNG signature');
        assert.ok(png.length >= 26 && png.toString('latin1', 12, 16) === 'IHDR', 'a header');
        assert.equal(png.readUInt32BE(16) + 'x' + png.readUInt32BE(20), icon.sizes);
        if (maskable) assert.equal(png[25], 2, 'colour type');
      });
    }
    await step(t, 'the manifest\'s icons', () => {
      const purposes = manifest.icons.map((icon) => icon.sizes + ' ' + icon.purpose).sort();
      assert.deepEqual(purposes, ['192x192 any', '512x512 any', '512x512 maskable']);
    });
  });

  await t.test('one visit, then offline', async (t) => {
    await withServedCopy(async (site) => {
      const files = Object.keys(JSON.parse(readFileSync(join(site.folder, 'sw.js'), 'utf8')
        .match(/const kFiles = (\{[^}]*\})/)[1].replace(/'/g, '"').replace(/,\s*\}/, '}')));
      const page = await open(site.base + '?dump=1');
      await seen(t, 'the first visit shows the game', page, () => window.orvoPage.state === 'running');
      await seen(t, 'the service worker is active and controls the page', page,
                 () => navigator.serviceWorker.controller !== null &&
                       navigator.serviceWorker.controller.state === 'activated');
      const name = cacheNameOf(site.folder);
      await step(t, 'one cache', async () => assert.deepEqual(await cacheNames(page), [name]));
      await step(t, 'it holds every file of the page', async () => {
        const cached = await page.evaluate(async (name) =>
          (await (await caches.open(name)).keys()).map((r) => new URL(r.url).pathname.slice(1)).sort(),
        name);
        assert.ok(files.length >= 14, files.length + ' files listed');
        assert.deepEqual(cached, files.sort());
      });
      await t.test('the browser reads the manifest', { skip: cannot('readManifest') }, async () => {
        const cdp = await page.createCDPSession();
        const { errors } = await cdp.send('Page.getAppManifest');
        assert.deepEqual(errors, []);
      });

      site.server.close();
      site.server.closeAllConnections();
      await page.setOfflineMode(true);
      const requests = site.server.requests;
      await page.goto(site.base + '?seed=7&dump=1');
      await seen(t, 'offline, the page shows the game', page,
                 () => window.orvoPage.state === 'running');
      const frames = await page.evaluate(() => window.orvoPage.frames);
      await click(page, ...kStart);
      await seen(t, 'offline, a click on Start brings a pair', page,
                 () => window.orvoPage.dump && window.orvoPage.dump.pairActive);
      await seen(t, 'and the game goes on', page, (n) => window.orvoPage.frames > n + 10, frames);
      await step(t, 'nothing came from the server', () => {
        assert.equal(site.server.requests, requests, 'requests');
      });
      await noPageError(t, page);
      await page.close();
    });
  });

  await t.test('new builds', async (t) => {
    await withServedCopy(async (site) => {
      const page = await open(site.base + '?dump=1');
      await seen(t, 'build 1 controls the page', page,
                 () => navigator.serviceWorker.controller !== null &&
                       window.orvoPage.state === 'running');
      const first = cacheNameOf(site.folder);
      await seen(t, 'build 1 is cached', page,
                 (name) => caches.keys().then((k) => k.join() === name), first);

      // Build 2: another orvo_page.js, orvo.js and orvo.wasm. Reloaded, the page
      // starts on build 1's cache, finds build 2 and starts again on it alone.
      let second;
      await step(t, 'build 2 has its own cache name', () => {
        second = rebuild(site.folder, [['orvo_page.js', '\nwindow.orvoBuild = 2;\n'],
                                       ['orvo.js', '\n// build 2\n'],
                                       ['orvo.wasm', wasmSection('build 2')]]);
        assert.ok(second, 'a cache name');
        assert.notEqual(second, first);
      });
      await page.reload();
      await seen(t, 'the reloaded page starts again on build 2 by itself', page,
                 () => window.orvoBuild === 2 && window.orvoPage.state === 'running');
      await step(t, 'only build 2\'s cache is left', async () => {
        assert.deepEqual(await cacheNames(page), [second]);
      });
      const files = ['index.html', 'orvo_page.js', 'orvo.js', 'orvo.wasm'];
      const requests = site.server.requests;
      const served = await servedHashes(page, files);
      await step(t, 'the page gets build 2\'s files', () => {
        assert.deepEqual(served, files.map((file) => sha256(readFileSync(join(site.folder, file)))));
      });
      await step(t, 'from its cache', () => assert.equal(site.server.requests, requests, 'requests'));

      // Build 3 while a game is under way: it waits; the game goes on.
      await click(page, ...kStart);
      await seen(t, 'a game starts', page, () => window.orvoPage.dump && window.orvoPage.dump.pairActive);
      await page.evaluate(() => { window.orvoSameDocument = true; });
      let third;
      await step(t, 'build 3\'s files are listed', () => {
        third = rebuild(site.folder, [['orvo_page.js', '\nwindow.orvoBuild = 3;\n']]);
      });
      await page.evaluate(() => navigator.serviceWorker.getRegistration().then((r) => r.update()));
      await seen(t, 'build 3 installs and waits', page,
                 () => navigator.serviceWorker.getRegistration().then((r) => r.waiting !== null));
      const frames = await page.evaluate(() => window.orvoPage.frames);
      await seen(t, 'the game goes on', page,
                 (n) => window.orvoPage.frames > n + 10 && window.orvoPage.dump.running, frames);
      await step(t, 'on build 2, without starting again', async () => {
        assert.deepEqual(await page.evaluate(() => [window.orvoSameDocument, window.orvoBuild]),
                         [true, 2]);
      });
      await step(t, 'both caches are kept meanwhile', async () => {
        assert.deepEqual((await cacheNames(page)).sort(), [second, third].sort());
      });

      // Once the program has ended, build 3 takes over; "Start again" loads it.
      await page.keyboard.down('Escape');
      await seen(t, 'Escape halts the game', page, () => !window.orvoPage.dump.running);
      await page.keyboard.up('Escape');
      await click(page, ...kExit);
      await seen(t, 'Exit ends the program', page, () => window.orvoPage.state === 'ended');
      await seen(t, 'then build 3 takes over, alone in the cache', page,
                 (name) => caches.keys().then((k) => k.join() === name), third);
      await page.click('#again');
      await seen(t, '"Start again" starts build 3', page,
                 () => window.orvoBuild === 3 && window.orvoPage.state === 'running');

      // A server caught between two builds (orvo.wasm changed after the list
      // was written): the new worker installs nothing, build 3 stays.
      await step(t, 'build 4\'s files are listed', () => {
        rebuild(site.folder, [['orvo_page.js', '\nwindow.orvoBuild = 4;\n']]);
      });
      appendFileSync(join(site.folder, 'orvo.wasm'), wasmSection('between builds'));
      await page.evaluate(() => navigator.serviceWorker.getRegistration().then((r) => {
        r.addEventListener('updatefound', () => {
          const worker = r.installing;
          worker.addEventListener('statechange', () => { window.orvoInstall = worker.state; });
        });
        return r.update();
      }));
      await seen(t, 'the mixed build fails to install', page,
                 () => window.orvoInstall === 'redundant');
      await step(t, 'no cache of it is left, build 3\'s is kept', async () => {
        assert.deepEqual(await cacheNames(page), [third]);
      });
      await page.reload();
      await seen(t, 'the page starts again', page, () => window.orvoPage.state === 'running');
      await step(t, 'on build 3', async () => {
        assert.equal(await page.evaluate(() => window.orvoBuild), 3);
      });
      await noPageError(t, page);
      await page.close();
    });
  });

  await t.test('a worker that cannot register', async (t) => {
    await withServedCopy(async (site) => {
      rmSync(join(site.folder, 'sw.js'));
      const page = await open(site.base);
      await seen(t, 'without sw.js the page shows the game', page,
                 () => window.orvoPage.state === 'running');
      await page.reload();
      await seen(t, 'again when reloaded', page, () => window.orvoPage.state === 'running');
      await step(t, 'and no worker controls it', async () => {
        assert.equal(await page.evaluate(() => navigator.serviceWorker.controller), null);
      });
      await noPageError(t, page);
      await page.close();
    });
  });
});
