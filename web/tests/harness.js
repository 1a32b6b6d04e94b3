// What the browser tests share: the page's static files served on 127.0.0.1 by a plain file
// server (no special headers), and Debian's Chromium started headless by puppeteer-core.
import http from 'node:http';
import fs from 'node:fs';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const types = {
  '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.data': 'application/octet-stream', '.vdm': 'application/octet-stream',
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
  return { url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close() };
}

export async function startBrowser() {
  return puppeteer.launch({
    executablePath: process.env.VORNEL_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--autoplay-policy=no-user-gesture-required'],
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
