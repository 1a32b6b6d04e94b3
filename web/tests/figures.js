// Prints the browser build's figures on this machine: the bytes of a first load (as served
// and gzip-compressed), the time from navigation to the first drawn frame, the page's memory,
// and the timedemo of a demo in headless Chromium (median of three; the native figure comes
// from `build/bin/vornel --timedemo`, run beside it by the caller).
//   node figures.js [DEMO_NAME]
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import { serve, startBrowser, consoleLine, folders } from './harness.js';

const demo = process.argv[2] || 'hard-game';
const server = await serve(folders.dist, folders.demos);
const browser = await startBrowser();

let total = 0;
let compressed = 0;
for (const name of fs.readdirSync(folders.dist)) {
  const bytes = fs.readFileSync(path.join(folders.dist, name));
  total += bytes.length;
  compressed += zlib.gzipSync(bytes, { level: 9 }).length;
}
console.log(`first load: ${total} bytes, ${compressed} gzip-compressed`);

const page = await browser.newPage();
await page.evaluateOnNewDocument(() => {
  window.addEventListener('DOMContentLoaded', () => {
    const watch = () => {
      if (window.Module && window.Module.vornelFrames > 0) window.firstFrameMs = performance.now();
      else requestAnimationFrame(watch);
    };
    requestAnimationFrame(watch);
  });
});
await page.goto(server.url);
await page.waitForFunction(() => window.firstFrameMs !== undefined, { timeout: 30000 });
await new Promise((resolve) => setTimeout(resolve, 3000));
const measured = await page.evaluate(() => ({
  firstFrameMs: window.firstFrameMs,
  wasmBytes: HEAPU8.length,
  jsHeapBytes: performance.memory ? performance.memory.usedJSHeapSize : 0,
}));
const metrics = await page.metrics();
console.log(`first frame: ${measured.firstFrameMs.toFixed(0)} ms after navigation`);
console.log(`memory: wasm ${measured.wasmBytes} bytes, JS heap ${measured.jsHeapBytes} bytes (metrics: ${metrics.JSHeapUsedSize})`);
await page.close();

const rates = [];
for (let run = 0; run < 3; ++run) {
  const timed = await browser.newPage();
  const line = consoleLine(timed, /^timedemo: /, 120000);
  await timed.goto(`${server.url}?timedemo=demos/${demo}.vdm`);
  const said = await line;
  await timed.close();
  console.log(said);
  rates.push(Number(/fps=([0-9.]+)/.exec(said)[1]));
}
rates.sort((a, b) => a - b);
console.log(`timedemo ${demo} in Chromium: median ${rates[1]} frames/s`);
await browser.close();
server.close();
