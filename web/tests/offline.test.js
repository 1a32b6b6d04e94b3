// The page as a phone keeps it: installable (a manifest with its icons, a service worker that
// holds every file), started and played again with no network after one visit, and a new
// version taken at the next start, never mixed with the old one. Each test serves its own
// copy of the page, so that it can stop the network or change the version.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { browserSession, canvasPixels, differIn, folders, pause, serve } from './harness.js';

const session = browserSession();

function copyOfPage(change = (text) => text) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'vornel-page-'));
  fs.cpSync(folders.dist, folder, { recursive: true });
  const index = path.join(folder, 'index.html');
  fs.writeFileSync(index, change(fs.readFileSync(index, 'utf8')));
  return folder;
}

// The bytes the page has fetched over the network so far.
const bytesFetched = (page) => page.evaluate(() => performance.getEntriesByType('navigation')
  .concat(performance.getEntriesByType('resource')).reduce((sum, entry) => sum + (entry.transferSize || 0), 0));

// A visit that leaves the page kept: the worker has installed and controls the page.
async function visitUntilKept(context, url, seen = {}) {
  const page = await context.newPage();
  const started = Date.now();
  await page.goto(url);
  await page.waitForFunction(() => (window.Module.vornelFrames || 0) > 0, { timeout: 30000 });
  seen.firstFrameMs = Date.now() - started;
  await page.waitForFunction(async () => (await navigator.serviceWorker.ready) !== null, { timeout: 30000 });
  seen.bytes = await bytesFetched(page);
  await page.reload();
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null && window.Module.calledRun,
    { timeout: 30000 });
  return page;
}

async function installabilityErrors(page) {
  const cdp = await page.createCDPSession();
  const { installabilityErrors: errors } = await cdp.send('Page.getInstallabilityErrors');
  await cdp.detach();
  return errors.map((error) => error.errorId);
}

// Chromium installs no page of an incognito context: this one uses the browser's own.
test('the page can be installed and keeps every file of its version', async (t) => {
  const seen = {};
  const page = await visitUntilKept(session.browser.defaultBrowserContext(), session.url, seen);
  const errors = await installabilityErrors(page);
  const kept = await page.evaluate(async () => {
    const names = await caches.keys();
    const cache = await caches.open(names[0]);
    return { names, files: (await cache.keys()).map((request) => new URL(request.url).pathname).sort() };
  });
  await page.close();
  t.diagnostic(`first visit: ${seen.bytes} bytes from the network, first frame after ${seen.firstFrameMs} ms`);
  assert.deepEqual(errors, []);
  assert.equal(kept.names.length, 1);
  assert.match(kept.names[0], /^vornel-\d+\.\d+-[0-9a-f]{12}$/);
  assert.deepEqual(kept.files, ['/', '/icons/vornel-192.png', '/icons/vornel-32.png', '/icons/vornel-512.png',
    '/icons/vornel-maskable-512.png', '/index.html', '/manifest.webmanifest', '/vornel.data', '/vornel.js',
    '/vornel.wasm']);
});

test('a page without its manifest is not installable', async () => {
  const folder = copyOfPage((text) => text.replace(/<link rel="manifest"[^>]*>\n/, ''));
  const server = await serve(folder, folders.demos);
  const page = await session.browser.newPage();
  try {
    await page.goto(server.url);
    await page.waitForFunction(() => window.Module && window.Module.calledRun, { timeout: 30000 });
    assert.deepEqual(await installabilityErrors(page), ['no-manifest']);
  } finally {
    await page.close();
    server.close();
    fs.rmSync(folder, { recursive: true, force: true });
  }
});

test('after one visit the game starts and plays with no network', async (t) => {
  const folder = copyOfPage();
  const server = await serve(folder, folders.demos);
  const context = await session.browser.createBrowserContext();
  try {
    const first = await visitUntilKept(context, server.url);
    await first.close();
    server.close();
    const page = await context.newPage();
    const started = Date.now();
    await page.goto(server.url + '?device=smartphone');
    await page.waitForFunction(() => (window.Module.vornelFrames || 0) > 0, { timeout: 30000 });
    const firstFrameMs = Date.now() - started;
    await pause(4000);
    const menu = await canvasPixels(page);
    await page.keyboard.press('Enter');
    await pause(1500);
    const play = await canvasPixels(page);
    const fromNetwork = await bytesFetched(page);
    t.diagnostic(`offline start: first frame after ${firstFrameMs} ms, ${fromNetwork} bytes from the network`);
    assert.ok(differIn(menu, play, 30, 30, 70, 70), 'the game did not start offline');
  } finally {
    await context.close();
    server.close();
    fs.rmSync(folder, { recursive: true, force: true });
  }
});

test('a new version is fetched in the background and taken at the next start', async () => {
  const folder = copyOfPage();
  const server = await serve(folder, folders.demos);
  const context = await session.browser.createBrowserContext();
  const marker = () => document.querySelector('meta[name="vornel-test"]')?.content ?? 'old';
  try {
    const first = await visitUntilKept(context, server.url);
    const workerFile = path.join(folder, 'service-worker.js');
    fs.writeFileSync(workerFile, fs.readFileSync(workerFile, 'utf8').replace(/const VERSION = '[^']*'/, "const VERSION = '9.99-new'"));
    const index = path.join(folder, 'index.html');
    fs.writeFileSync(index, fs.readFileSync(index, 'utf8').replace('<title>', '<meta name="vornel-test" content="new">\n<title>'));
    await first.reload();
    await first.waitForFunction(async () => (await navigator.serviceWorker.getRegistration()).waiting !== null,
      { timeout: 30000 });
    const meanwhile = await first.evaluate(marker);
    await first.close();
    const next = await context.newPage();
    await next.goto(server.url);
    await next.waitForFunction(() => window.Module && window.Module.calledRun, { timeout: 30000 });
    const taken = await next.evaluate(marker);
    const names = await next.evaluate(() => caches.keys());
    assert.equal(meanwhile, 'old', 'the new version was mixed into the open page');
    assert.equal(taken, 'new', 'the next start did not take the new version');
    assert.deepEqual(names, ['vornel-9.99-new']);
  } finally {
    await context.close();
    server.close();
    fs.rmSync(folder, { recursive: true, force: true });
  }
});
