// The page in a real browser: it draws the game, and every golden demo plays back with the
// native build's frames and checksum, which shows that the browser runs the same game.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import os from 'node:os';
import { browserSession, consoleLine, folders, canvasPixels, readPng, runNative } from './harness.js';

const session = browserSession();

test('the page draws the table and the built-in player plays', async () => {
  const page = await session.browser.newPage();
  await page.goto(session.url + '?autoplay');
  await page.waitForFunction(() => (window.Module.vornelFrames || 0) > 60, { timeout: 30000 });
  const colours = await page.evaluate(() => {
    const canvas = document.getElementById('screen');
    const pixels = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    const seen = new Set();
    for (let i = 0; i < pixels.length; i += 4) seen.add((pixels[i] << 16) | (pixels[i + 1] << 8) | pixels[i + 2]);
    return { width: canvas.width, height: canvas.height, count: seen.size };
  });
  assert.deepEqual([colours.width, colours.height], [240, 320]);
  assert.ok(colours.count > 200, `only ${colours.count} colours: the scene is not drawn`);
  await page.close();
});

const golden = fs.readFileSync(path.join(folders.demos, 'golden.txt'), 'utf8').trim().split('\n')
  .map((line) => line.split(' '))
  .map(([name, device, frames, checksum]) => ({ name, device, frames, checksum }));

for (const demo of golden) {
  test(`the golden demo ${demo.name} plays back as natively`, async () => {
    const page = await session.browser.newPage();
    const line = consoleLine(page, /^timedemo: /, 120000);
    await page.goto(`${session.url}?timedemo=demos/${demo.name}.vdm`);
    const said = await line;
    await page.close();
    assert.ok(said, 'no timedemo line');
    assert.match(said, new RegExp(`^timedemo: frames=${demo.frames} seconds=\\S+ fps=\\S+ checksum=${demo.checksum} match=yes$`));
  });
}

// Every upload of the page to its canvas, with the time of the animation frame it came in
// (null outside one), when it came and its size.
function watchUploads() {
  window.uploads = [];
  let frameTime = null;
  const request = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = (callback) => request((time) => {
    frameTime = time;
    try {
      callback(time);
    } finally {
      frameTime = null;
    }
  });
  const put = CanvasRenderingContext2D.prototype.putImageData;
  CanvasRenderingContext2D.prototype.putImageData = function (image, ...place) {
    window.uploads.push({ frameTime, at: performance.now(), pixels: image.width * image.height });
    return put.call(this, image, ...place);
  };
}

// The same input on the same handheld gives the same picture: the golden Smartphone demo,
// watched at its pace, at frame 165 (the help panel, which stays still from frame 145 to 185)
// in the browser, and 5.3 s into the same playback natively, headless. The canvas gets there
// by uploads of the part painted since the last, about one a displayed frame: most as the game
// goes to wait at the end of its frame (a display's frame or more after the last), the rest in
// animation frames, one a frame at most.
test('the canvas shows the native screenshot of the same moment pixel for pixel, uploaded once a frame at most', async () => {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'vornel-web-'));
  const shot = path.join(folder, 'help.png');
  fs.writeFileSync(path.join(folder, 'script.txt'), `wait 5300\nscreenshot ${shot}\n`);
  const status = runNative(['--headless', '--play-demo', path.join(folders.demos, 'menus.vdm'),
    '--script', path.join(folder, 'script.txt')]);
  const native = readPng(shot);
  fs.rmSync(folder, { recursive: true, force: true });
  assert.equal(status, 0);

  const page = await session.browser.newPage();
  await page.evaluateOnNewDocument(watchUploads);
  await page.goto(`${session.url}?demo=demos/menus.vdm`);
  await page.waitForFunction(() => window.Module.calledRun && Module._vornel_demo_frames() >= 165, { timeout: 60000, polling: 10 });
  const canvas = await canvasPixels(page);
  const uploads = await page.evaluate(() => window.uploads);
  await page.close();
  assert.deepEqual([canvas.width, canvas.height], [native.width, native.height]);
  assert.ok(new Set(native.pixels).size > 64, 'the native screenshot is blank');
  const differing = canvas.pixels.filter((pixel, i) => pixel !== native.pixels[i]).length;
  assert.equal(differing, 0, `${differing} pixels differ`);
  const inFrames = uploads.filter((upload) => upload.frameTime !== null);
  assert.equal(new Set(inFrames.map((upload) => upload.frameTime)).size, inFrames.length);
  const tooSoon = uploads.filter((upload, i) => i > 0 && upload.frameTime === null && upload.at - uploads[i - 1].at < 16);
  assert.deepEqual(tooSoon, [], 'an upload outside an animation frame came within a display frame of the last');
  assert.ok(inFrames.length < uploads.length / 2, `${inFrames.length} of ${uploads.length} uploads waited for an animation frame`);
  assert.ok(uploads.some((upload) => upload.pixels < native.width * native.height), 'every upload was of the whole screen');
});
