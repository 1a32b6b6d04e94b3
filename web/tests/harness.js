// What the browser tests share: the page's static files served on 127.0.0.1 by a plain file
// server (no special headers), and Debian's Chromium started headless by puppeteer-core.
import http from 'node:http';
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import { spawnSync } from 'node:child_process';
import { before, after } from 'node:test';
import puppeteer from 'puppeteer-core';

const types = {
  '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.data': 'application/octet-stream', '.vdm': 'application/octet-stream', '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
};

// Serves dist/ at / and the golden demos at /demos/.
export async function serve(distFolder, demoFolder) {
  const server = http.createServer((request, response) => {
    const url = new URL(request.url, 'http://127.0.0.1');
    const name = decodeURIComponent(url.pathname);
    const file = name.startsWith('/demos/')
      ? path.join(demoFolder, path.basename(name))
      : path.join(distFolder, name === '/' ? 'index.html' : path.normalize(name).replace(/^(\.\.[/\\])+/, ''));
    fs.readFile(file, (error, bytes) => {
      if (error) {
        response.writeHead(404);
        response.end();
        return;
      }
      response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
      response.end(bytes);
    });
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return {
    url: `http://127.0.0.1:${server.address().port}/`,
    // Stops listening and drops the connections a browser keeps open, as a network gone.
    close: () => { server.close(); server.closeAllConnections(); },
  };
}

// autoplay: let pages start sound without a gesture (as most tests want); false: Chromium's
// own policy, as a player's browser has it.
export async function startBrowser({ autoplay = true } = {}) {
  return puppeteer.launch({
    executablePath: process.env.VORNEL_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', ...(autoplay ? ['--autoplay-policy=no-user-gesture-required'] : [])],
  });
}

// The first console line of the page that matches, or null after the time given.
export function consoleLine(page, pattern, milliseconds) {
  return new Promise((resolve) => {
    const timer = setTimeout(() => resolve(null), milliseconds);
    page.on('console', (message) => {
      if (pattern.test(message.text())) {
        clearTimeout(timer);
        resolve(message.text());
      }
    });
  });
}

export const folders = {
  dist: process.env.VORNEL_WEB_DIST || path.resolve('../../build-web/dist'),
  demos: process.env.VORNEL_GOLDEN_DEMOS || path.resolve('../../tests/demos'),
  program: process.env.VORNEL_PROGRAM || path.resolve('../../build/bin/vornel'),
  data: process.env.VORNEL_DATA || path.resolve('../../build/bin'),
};

// The canvas's pixels, as 0xRRGGBB numbers row by row.
export async function canvasPixels(page) {
  return page.evaluate(() => {
    const canvas = document.getElementById('screen');
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    const pixels = [];
    for (let i = 0; i < data.length; i += 4) pixels.push((data[i] << 16) | (data[i + 1] << 8) | data[i + 2]);
    return { width: canvas.width, height: canvas.height, pixels };
  });
}

// Whether two pictures of one size differ anywhere in the box, in hundredths of their size.
export function differIn(a, b, left, top, right, bottom) {
  for (let y = Math.floor(a.height * top / 100); y < Math.floor(a.height * bottom / 100); ++y) {
    for (let x = Math.floor(a.width * left / 100); x < Math.floor(a.width * right / 100); ++x) {
      if (a.pixels[y * a.width + x] !== b.pixels[y * a.width + x]) return true;
    }
  }
  return false;
}

// Where a display pixel lies on the page.
export async function pagePointOf(page, x, y) {
  return page.evaluate((x, y) => {
    const canvas = document.getElementById('screen');
    const box = canvas.getBoundingClientRect();
    return { x: box.left + (x + 0.5) * box.width / canvas.width, y: box.top + (y + 0.5) * box.height / canvas.height };
  }, x, y);
}

export const pause = (milliseconds) => new Promise((resolve) => setTimeout(resolve, milliseconds));

// An 8-bit RGB or RGBA PNG (as the native screenshots are) as 0xRRGGBB numbers row by row.
export function readPng(file) {
  const bytes = fs.readFileSync(file);
  let at = 8;
  let width = 0;
  let height = 0;
  let channels = 3;
  const compressed = [];
  while (at < bytes.length) {
    const length = bytes.readUInt32BE(at);
    const type = bytes.toString('latin1', at + 4, at + 8);
    const body = bytes.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      channels = body[9] === 6 ? 4 : 3;
    } else if (type === 'IDAT') {
      compressed.push(body);
    }
    at += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(compressed));
  const stride = width * channels;
  const rows = Buffer.alloc(stride * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    for (let x = 0; x < stride; ++x) {
      const value = raw[y * (stride + 1) + 1 + x];
      const left = x >= channels ? rows[y * stride + x - channels] : 0;
      const up = y > 0 ? rows[(y - 1) * stride + x] : 0;
      const upLeft = y > 0 && x >= channels ? rows[(y - 1) * stride + x - channels] : 0;
      const paeth = () => {
        const p = left + up - upLeft;
        const [a, b, c] = [Math.abs(p - left), Math.abs(p - up), Math.abs(p - upLeft)];
        return a <= b && a <= c ? left : b <= c ? up : upLeft;
      };
      const predicted = [0, left, up, (left + up) >> 1, paeth()][filter];
      rows[y * stride + x] = (value + predicted) & 0xFF;
    }
  }
  const pixels = [];
  for (let i = 0; i < rows.length; i += channels) pixels.push((rows[i] << 16) | (rows[i + 1] << 8) | rows[i + 2]);
  return { width, height, pixels };
}

// The native program on these arguments (and its data folder); its exit status.
export function runNative(args) {
  const result = spawnSync(folders.program, ['--data', folders.data, ...args], { stdio: 'ignore', timeout: 120000 });
  return result.status;
}

// For a test file: the page served and Chromium started before its tests, both ended after.
// Opens the page in the browser or context, the blobs it hands to URL.createObjectURL (its
// downloads: an export, a replay) kept in window.exported for the test to read.
export async function openKeepingDownloads(session, context, query = '') {
  const page = await context.newPage();
  await page.evaluateOnNewDocument(() => {
    window.exported = [];
    const original = URL.createObjectURL;
    URL.createObjectURL = (blob) => { window.exported.push(blob); return original(blob); };
  });
  await page.goto(session.url + query);
  await page.waitForFunction(() => window.Module.calledRun, { timeout: 30000 });
  return page;
}

export function browserSession() {
  const session = { url: '', browser: null, server: null };
  before(async () => {
    session.server = await serve(folders.dist, folders.demos);
    session.url = session.server.url;
    session.browser = await startBrowser();
  });
  after(async () => {
    await session.browser?.close();
    session.server?.close();
  });
  return session;
}
