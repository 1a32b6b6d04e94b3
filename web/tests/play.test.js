// Playing in a real browser: keys start a game and steer the bat, the sound starts at the
// first key, a finger taps the menu and drags the bat on the Pocket PC, the settings survive a
// reload, and a missing data file gets the page's message rather than a blank page.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { browserSession, folders, canvasPixels, differIn, pagePointOf, pause } from './harness.js';

const session = browserSession();

// The table has risen and the menu faded in some 3.5 s after the start.
async function openAtMenu(address, context = session.browser) {
  const page = await context.newPage();
  await page.goto(address);
  await page.waitForFunction(() => window.Module.calledRun, { timeout: 30000 });
  await pause(4000);
  return page;
}

test('keys start a game and steer the bat', async () => {
  const page = await openAtMenu(session.url);
  const menu = await canvasPixels(page);
  await page.keyboard.press('Enter');  // "New Game" is chosen
  await pause(1500);
  const play = await canvasPixels(page);
  await page.keyboard.down('ArrowLeft');
  await pause(400);
  await page.keyboard.up('ArrowLeft');
  await pause(300);
  const left = await canvasPixels(page);
  await page.close();
  assert.ok(differIn(menu, play, 30, 30, 70, 70), 'the menu did not close');
  assert.ok(differIn(play, left, 35, 65, 65, 85), 'the bat did not leave the middle');
});

// Back (Escape, sent at its release as the handheld's back key) opens the menu during play,
// and back again returns to the game.
test('back twice returns to play', async () => {
  const page = await openAtMenu(session.url);
  await page.keyboard.press('Enter');
  await pause(1500);
  const play = await canvasPixels(page);
  await page.keyboard.press('Escape');
  await pause(1500);
  const menu = await canvasPixels(page);
  await page.keyboard.press('Escape');
  await pause(1500);
  const back = await canvasPixels(page);
  await page.close();
  assert.ok(differIn(play, menu, 35, 30, 65, 60), 'the menu did not open');
  assert.ok(differIn(menu, back, 35, 30, 65, 60), 'the menu did not close again');
});

// On the keyboard handheld the letters go by their place and stand in for its keypad: D is the
// keypad's 5, which chooses "New Game" in the menu.
test('the keyboard handheld takes its letters by their place', async () => {
  const page = await openAtMenu(session.url + '?device=qwerty');
  const menu = await canvasPixels(page);
  await page.keyboard.press('KeyD');
  await pause(1500);
  const play = await canvasPixels(page);
  await page.close();
  assert.deepEqual([menu.width, menu.height], [320, 240]);
  assert.ok(differIn(menu, play, 30, 30, 70, 70), 'D did not start a game');
});

// Browsers start a page's audio only from a key or a tap: before the first key nothing is
// made, after it the context runs and the game's sounds play through it, and end.
test('the audio starts at the first key and the sounds play through it', async () => {
  const page = await openAtMenu(session.url);
  const before = await page.evaluate(() => Module.vornelAudio.context);
  await page.keyboard.press('Enter');
  await pause(4000);
  const after = await page.evaluate(() => [Module.vornelAudio.context.state, Module.vornelAudio.played, Module.vornelAudio.ended]);
  await page.close();
  assert.equal(before, null);
  assert.equal(after[0], 'running');
  assert.ok(after[1] > 0, 'no sound was played');
  assert.ok(after[2] > 0, 'no sound ended');
});

test('a finger taps the menu and drags the bat on the Pocket PC', async () => {
  const page = await openAtMenu(session.url + '?device=pocketpc');
  const menu = await canvasPixels(page);
  const newGame = await pagePointOf(page, 120, 104);
  await page.touchscreen.tap(newGame.x, newGame.y);
  await pause(1500);
  const play = await canvasPixels(page);
  const from = await pagePointOf(page, 120, 250);
  const to = await pagePointOf(page, 40, 250);
  await page.touchscreen.touchStart(from.x, from.y);
  for (let step = 1; step <= 10; ++step) {
    await page.touchscreen.touchMove(from.x + (to.x - from.x) * step / 10, from.y);
    await pause(20);
  }
  await page.touchscreen.touchEnd();
  await pause(1500);
  const left = await canvasPixels(page);
  await page.close();
  assert.ok(differIn(menu, play, 30, 30, 70, 70), 'the tap did not choose "New Game"');
  assert.ok(differIn(play, left, 0, 55, 30, 85), 'the bat did not follow the finger');
});

test('the sound and the level chosen in the menu survive a reload', async () => {
  const fresh = await session.browser.createBrowserContext();  // its own, empty IndexedDB
  const page = await openAtMenu(session.url, fresh);
  await page.keyboard.down('Shift');
  await page.keyboard.press('KeyS');
  await page.keyboard.press('KeyL');
  await page.keyboard.up('Shift');
  await pause(2500);  // the page writes the save folder back every second
  await page.reload();
  await page.waitForFunction(() => window.Module.calledRun, { timeout: 30000 });
  const settings = await page.evaluate(() => Array.from(FS.readFile('/save/vornel')).slice(0, 2));
  await fresh.close();
  assert.deepEqual(settings, [1, 1], 'sound off and Hard were not kept');
});

// The font's bytes are noise inside the data package: the game names the damaged file, and
// the page shows what it said above the game, which plays on.
test('a damaged data file is named on the page', async () => {
  const script = fs.readFileSync(path.join(folders.dist, 'vornel.js'), 'utf8');
  const [, start, end] = /"filename":"\/data\/f15\.bin","start":(\d+),"end":(\d+)/.exec(script);
  const data = fs.readFileSync(path.join(folders.dist, 'vornel.data'));
  let noise = 7;
  for (let i = Number(start); i < Number(end); ++i) {
    noise = (noise * 1103515245 + 12345) >>> 0;
    data[i] = noise >>> 24;
  }
  const page = await session.browser.newPage();
  await page.setBypassServiceWorker(true);  // the page's files as the network has them, not as kept
  await page.setRequestInterception(true);
  page.on('request', (request) => {
    if (request.url().endsWith('/vornel.data')) request.respond({ status: 200, body: data, contentType: 'application/octet-stream' });
    else request.continue();
  });
  await page.goto(session.url);
  await page.waitForFunction(() => !document.getElementById('notice').hidden, { timeout: 30000 });
  const said = await page.evaluate(() => document.getElementById('notice').textContent);
  await pause(2000);
  const frames = await page.evaluate(() => window.Module.vornelFrames || 0);
  await page.close();
  assert.match(said, /f15\.bin/);
  assert.ok(frames > 0, 'nothing was drawn');
});

test('a missing data file gets a message on the page', async () => {
  const page = await session.browser.newPage();
  await page.setBypassServiceWorker(true);  // the page's files as the network has them, not as kept
  await page.setRequestInterception(true);
  page.on('request', (request) => {
    if (request.url().endsWith('/vornel.data')) request.respond({ status: 404, body: '' });
    else request.continue();
  });
  await page.goto(session.url);
  await page.waitForFunction(() => document.getElementById('message').className === 'error', { timeout: 30000 });
  const shown = await page.evaluate(() => !document.getElementById('overlay').hidden);
  const text = await page.evaluate(() => document.getElementById('message').textContent);
  await page.close();
  assert.ok(shown);
  assert.match(text, /cannot run|did not load|stopped/);
});
