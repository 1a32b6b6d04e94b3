// Replays in the page: the session being played is recorded into the page's storage; the
// Replays panel lists the kept games (one made by the native game here), and each can be
// watched, downloaded and deleted; in the viewer, Pause and Step stop and move the picture a
// frame at a time, and a seek with the Position slider lands on exactly the picture that
// stepping showed for that frame.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { browserSession, openKeepingDownloads, folders, canvasPixels, pause } from './harness.js';

const session = browserSession();

const openPage = (context, query) => openKeepingDownloads(session, context, query);

// Two games of the built-in player on the native game: one won 11:0, one left at its end.
function nativeReplay() {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'vornel-replay-'));
  fs.writeFileSync(path.join(folder, 'script.txt'), 'wait 120000\nquit\n');
  const run = spawnSync(folders.program, ['--data', folders.data, '--save', path.join(folder, 'save'), '--headless',
    '--autoplay', '--keep-replay', '--script', path.join(folder, 'script.txt')]);
  assert.equal(run.status, 0, String(run.stderr));
  const replays = path.join(folder, 'save', 'replays');
  const [name] = fs.readdirSync(replays);
  const bytes = fs.readFileSync(path.join(replays, name));
  fs.rmSync(folder, { recursive: true, force: true });
  return { name: '20000101-000000-00.vdm', bytes: Array.from(bytes) };  // listed before the page's own
}

const rows = (page) => page.$$eval('#replay-rows tr', (list) => list.map((row) => row.innerText));

async function viewerState(page) {
  return page.evaluate(() => JSON.parse(UTF8ToString(Module._vornel_replay_state())));
}

test('the panel lists the kept games, and each is watched, downloaded and deleted', async () => {
  const kept = nativeReplay();
  const context = await session.browser.createBrowserContext();
  try {
    const page = await openPage(context);
    const own = await page.evaluate(() => FS.readdir('/save/replays').filter((name) => name.endsWith('.vdm')));
    assert.equal(own.length, 1, 'the session being played is recorded');
    await page.evaluate(({ name, bytes }) => {
      FS.writeFile('/save/replays/' + name, new Uint8Array(bytes));
      return new Promise((resolve) => FS.syncfs(false, resolve));
    }, kept);
    await page.click('#show-replays');
    const listed = await rows(page);
    assert.equal(listed.length, 3, listed.join('\n'));
    assert.match(listed[0], /pocketpc\s+Easy\s+11:0\s+1:3\d/);
    assert.match(listed[1], /Easy\s+left at /);
    assert.match(listed[2], /no game/, 'the session being played has no game yet');

    await page.click('[aria-label="Download replay 1"]');
    await page.waitForFunction(() => window.exported.length === 1);
    const magic = await page.evaluate(async () =>
      new TextDecoder().decode((await window.exported[0].arrayBuffer()).slice(0, 8)));
    assert.equal(magic, 'VORNDEMO');

    const navigated = page.waitForNavigation();
    await page.click('[aria-label="Watch replay 2"]');
    await navigated;
    assert.match(page.url(), /[?&]replay=2/);
    await page.waitForFunction(() => window.Module.calledRun && !document.getElementById('viewer').hidden,
                               { timeout: 30000 });
    await page.waitForFunction(() => document.getElementById('viewer').dataset.seeking === 'false' &&
                               document.getElementById('viewer').dataset.frames > 3000, { timeout: 30000 });

    await page.click('#show-replays');
    await page.click('[aria-label="Delete replay 1"]');
    const left = await rows(page);
    assert.equal(left.length, 1, 'both games were one session, one file; the viewer records none');
    assert.match(left[0], /no game/);
    const stored = await page.evaluate(() => FS.readdir('/save/replays').filter((name) => name.endsWith('.vdm')));
    assert.deepEqual(stored, own);
  } finally {
    await context.close();
  }
});

test('the viewer pauses, steps and seeks to the picture a straight playback shows', async () => {
  const page = await openPage(session.browser, '?demo=demos/hard-game.vdm');
  await page.waitForFunction(() => document.getElementById('viewer').dataset.frames > 60, { timeout: 30000 });
  const labels = await page.$$eval('#viewer button, #viewer input',
                                   (controls) => controls.map((control) => control.getAttribute('aria-label')));
  assert.deepEqual(labels, ['Pause', 'Step', 'Slower', 'Faster', 'Position']);
  await page.click('#viewer-play');
  await page.waitForFunction(() => document.getElementById('viewer-play').textContent === 'Play');
  await pause(300);  // the frame being drawn ends
  const paused = (await viewerState(page)).frames;
  await pause(1000);
  assert.equal((await viewerState(page)).frames, paused, 'paused, the frames stand still');

  await page.click('#viewer-step');
  await page.waitForFunction((frame) => Module._vornel_demo_frames() === frame, {}, paused + 1);
  await pause(300);
  const stepped = await canvasPixels(page);
  await page.click('#viewer-step');
  await page.waitForFunction((frame) => Module._vornel_demo_frames() === frame, {}, paused + 2);
  await pause(300);  // the slider follows

  await page.focus('#viewer-position');
  await page.keyboard.press('ArrowLeft');  // one frame back: a fresh game played to it flat out
  await page.waitForFunction((frame) => {
    const state = JSON.parse(UTF8ToString(Module._vornel_replay_state()));
    return state.frames === frame && !state.seeking;
  }, { timeout: 30000 }, paused + 1);
  await pause(300);
  const sought = await canvasPixels(page);
  assert.equal((await viewerState(page)).paused, true, 'a seek keeps the viewer paused');
  assert.deepEqual(sought.pixels, stepped.pixels);

  await page.click('#viewer-faster');
  await page.click('#viewer-play');
  await page.waitForFunction(() => /2x$/.test(document.getElementById('viewer-time').textContent));
  await page.close();
});
