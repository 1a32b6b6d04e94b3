// Prints the browser build's figures on this machine: the bytes of a first load (as served
// and gzip-compressed), the time from navigation to the first drawn frame, the page's memory,
// how busy the page's thread is while the built-in player plays, the key-to-display latency
// of a stretch of play with real key events, and the timedemo of a demo in headless Chromium
// beside the native program's, both in this run (median of three each). The last line is
//   bench-web: web_vs_native=X web_busy_pct=Y web_latency_p99_ms=Z wasm_initial_mib=W
//   node figures.js [DEMO_NAME]
// VORNEL_NATIVE and VORNEL_NATIVE_DATA name the native program and its data folder (by default
// the native build's, VORNEL_PROGRAM and VORNEL_DATA).
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import { spawnSync } from 'node:child_process';
import { serve, startBrowser, consoleLine, folders, pause } from './harness.js';

const demo = process.argv[2] || 'hard-game';
const native = process.env.VORNEL_NATIVE || folders.program;
const nativeData = process.env.VORNEL_NATIVE_DATA || folders.data;
const kBusySeconds = 10;

function filesUnder(folder) {
  return fs.readdirSync(folder, { withFileTypes: true }).flatMap((entry) => {
    const file = path.join(folder, entry.name);
    return entry.isDirectory() ? filesUnder(file) : [file];
  });
}

function firstLoad() {
  let total = 0;
  let compressed = 0;
  for (const file of filesUnder(folders.dist)) {
    const bytes = fs.readFileSync(file);
    total += bytes.length;
    compressed += zlib.gzipSync(bytes, { level: 9 }).length;
  }
  console.log(`first load: ${total} bytes, ${compressed} gzip-compressed`);
}

// Opens the page with the size of the wasm memory the module makes (before any growth) and the
// moment of the first frame on the canvas kept in the page.
async function openMeasured(browser, url) {
  const page = await browser.newPage();
  await page.evaluateOnNewDocument(() => {
    // The module's memory as it comes out of instantiation, before any of its code has run.
    for (const name of ['instantiate', 'instantiateStreaming']) {
      const original = WebAssembly[name];
      WebAssembly[name] = (...args) => original(...args).then((result) => {
        const memory = Object.values(result.instance.exports).find((value) => value instanceof WebAssembly.Memory);
        window.initialWasmBytes = memory.buffer.byteLength;
        return result;
      });
    }
    window.addEventListener('DOMContentLoaded', () => {
      const watch = () => {
        if (window.Module && window.Module.vornelFrames > 0) window.firstFrameMs = performance.now();
        else requestAnimationFrame(watch);
      };
      requestAnimationFrame(watch);
    });
  });
  await page.goto(url);
  await page.waitForFunction(() => window.firstFrameMs !== undefined, { timeout: 30000 });
  return page;
}

// The page's main thread busy, as Chromium counts its tasks, over a stretch of the built-in
// player's play, in per cent of the stretch.
async function busyDuringPlay(browser, url) {
  const page = await openMeasured(browser, url + '?autoplay');
  await pause(4000);  // past the start-up's loading and the menu's fade-in
  const before = await page.metrics();
  const framesBefore = await page.evaluate(() => Module.vornelFrames);
  const started = Date.now();
  await pause(kBusySeconds * 1000);
  const after = await page.metrics();
  const seconds = (Date.now() - started) / 1000;
  const measured = await page.evaluate(() => ({
    firstFrameMs: window.firstFrameMs,
    initialWasmBytes: window.initialWasmBytes,
    wasmBytes: HEAPU8.length,
    uploads: Module.vornelFrames,
    jsHeapBytes: performance.memory ? performance.memory.usedJSHeapSize : 0,
  }));
  await page.close();
  const busy = 100 * (after.TaskDuration - before.TaskDuration) / seconds;
  const scripts = 100 * (after.ScriptDuration - before.ScriptDuration) / seconds;
  console.log(`first frame: ${measured.firstFrameMs.toFixed(0)} ms after navigation`);
  console.log(`memory: wasm ${measured.initialWasmBytes} bytes at start, ${measured.wasmBytes} after ` +
    `${kBusySeconds} s of play; JS heap ${measured.jsHeapBytes} bytes`);
  console.log(`built-in player: main thread busy ${busy.toFixed(1)} % (scripts ${scripts.toFixed(1)} %), ` +
    `${((measured.uploads - framesBefore) / seconds).toFixed(1)} canvas uploads a second`);
  return { busy, initialMib: measured.initialWasmBytes / (1024 * 1024) };
}

// A stretch of play with real key events (a game started, the bat moved to and fro), ended by
// Exit in the menu so that the page prints its stats line; null if none came.
async function statsOfPlay(browser, url) {
  const page = await browser.newPage();
  const line = consoleLine(page, /^stats: /, 60000);
  await page.goto(url + '?stats');
  await page.waitForFunction(() => window.Module.calledRun, { timeout: 30000 });
  await pause(4000);
  await page.keyboard.press('Enter');  // "New Game"
  await pause(1000);
  for (let turn = 0; turn < 12; ++turn) {
    const key = turn % 2 === 0 ? 'ArrowLeft' : 'ArrowRight';
    await page.keyboard.down(key);
    await pause(250);
    await page.keyboard.up(key);
    await pause(150);
  }
  await page.keyboard.press('Escape');  // the menu
  await pause(1500);
  await page.keyboard.press('E');  // Exit, by its first letter
  const said = await line;
  await page.close();
  console.log(said || 'stats: none printed');
  return said;
}

function nativeTimedemo() {
  const result = spawnSync(native, ['--timedemo', path.join(folders.demos, `${demo}.vdm`), '--data', nativeData],
    { encoding: 'utf8', timeout: 120000 });
  const said = result.stdout.split('\n').find((line) => line.startsWith('timedemo: '));
  if (!said) throw new Error(`${native} printed no timedemo line: ${result.stderr}`);
  return said;
}

async function webTimedemo(browser, url) {
  const page = await browser.newPage();
  const line = consoleLine(page, /^timedemo: /, 120000);
  await page.goto(`${url}?timedemo=demos/${demo}.vdm`);
  const said = await line;
  await page.close();
  if (!said) throw new Error('the page printed no timedemo line');
  return said;
}

const rateOf = (line) => Number(/fps=([0-9.]+)/.exec(line)[1]);
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// Native and page in turns, so that both see the machine as it is at that moment.
async function timedemos(browser, url) {
  const nativeRates = [];
  const webRates = [];
  for (let run = 0; run < 3; ++run) {
    const nativeLine = nativeTimedemo();
    const webLine = await webTimedemo(browser, url);
    console.log(`native ${nativeLine}`);
    console.log(`page   ${webLine}`);
    nativeRates.push(rateOf(nativeLine));
    webRates.push(rateOf(webLine));
  }
  const ratio = median(webRates) / median(nativeRates);
  console.log(`timedemo ${demo}: native median ${median(nativeRates)} frames/s, Chromium median ` +
    `${median(webRates)} frames/s, ${ratio.toFixed(2)} of native`);
  return ratio;
}

firstLoad();
const server = await serve(folders.dist, folders.demos);
const browser = await startBrowser();
try {
  const play = await busyDuringPlay(browser, server.url);
  const stats = await statsOfPlay(browser, server.url);
  const latency = stats && /latency_ms_p99=([0-9.]+)/.exec(stats);
  const ratio = await timedemos(browser, server.url);
  console.log(`bench-web: web_vs_native=${ratio.toFixed(2)} web_busy_pct=${play.busy.toFixed(1)} ` +
    `web_latency_p99_ms=${latency ? latency[1] : 'n/a'} wasm_initial_mib=${+play.initialMib.toFixed(2)}`);
} finally {
  await browser.close();
  server.close();
}
