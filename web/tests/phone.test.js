// The page in a phone's hand: Chromium emulating a phone held upright (390 x 844 CSS pixels,
// 3 device pixels each, touch). Every profile is played by touch alone with the handheld's
// keys on the screen, several fingers at once; the keys step aside for a physical key and
// come back at a touch; a gamepad steers; a device the page does not know is said and the
// default one plays; and the sound starts at the first touch without the autoplay flag.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { browserSession, canvasPixels, differIn, pagePointOf, pause, startBrowser } from './harness.js';

const session = browserSession();
const phone = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };

// The table has risen and the menu faded in some 3.5 s after the start.
async function openPhone(query, { browser = session.browser, viewport = phone, before } = {}) {
  const page = await browser.newPage();
  await page.setViewport(viewport);
  if (before) await page.evaluateOnNewDocument(before);
  await page.goto(session.url + query);
  await page.waitForFunction(() => window.Module.calledRun, { timeout: 30000 });
  await pause(4000);
  return page;
}

// The middle of the on-screen key of that name.
async function keyPoint(page, name) {
  return page.evaluate((name) => {
    const box = document.querySelector(`#keys button[aria-label="${name}"]`).getBoundingClientRect();
    return { x: box.left + box.width / 2, y: box.top + box.height / 2 };
  }, name);
}

async function holdKey(page, name, milliseconds) {
  const at = await keyPoint(page, name);
  const touch = await page.touchscreen.touchStart(at.x, at.y);
  await pause(milliseconds);
  await touch.end();
}

// The share of the phone's width and height the handheld's screen takes.
async function screenShare(page) {
  return page.evaluate(() => {
    const box = document.getElementById('screen').getBoundingClientRect();
    return { width: box.width / innerWidth, height: box.height / innerHeight };
  });
}

for (const device of ['smartphone', 'qwerty', 'pocketpc', 'pocketpc-vga']) {
  test(`the ${device} is played by touch alone`, async (t) => {
    const page = await openPhone(`?device=${device}`);
    const names = await page.evaluate(() => Array.from(document.querySelectorAll('#keys button'), (b) => b.getAttribute('aria-label')));
    const upright = await screenShare(page);
    const menu = await canvasPixels(page);
    await holdKey(page, 'Action', 80);  // chooses "New Game"
    await pause(1500);
    const play = await canvasPixels(page);
    await holdKey(page, 'Left', 500);
    await pause(300);
    const left = await canvasPixels(page);
    await page.setViewport({ ...phone, width: phone.height, height: phone.width });
    await pause(500);
    const sideways = await screenShare(page);
    await page.close();
    t.diagnostic(`${device}: the screen takes ${(upright.width * 100).toFixed(1)} % of the width and ` +
      `${(upright.height * 100).toFixed(1)} % of the height upright, ${(sideways.width * 100).toFixed(1)} % and ` +
      `${(sideways.height * 100).toFixed(1)} % sideways`);
    const pad = ['Up', 'Left', 'Action', 'Right', 'Down'];
    const expected = {
      smartphone: ['Left soft key', 'Back', 'Right soft key', ...pad, '1', '2', '3', '4', '5', '6', '7', '8', '9', '*', '0', '#'],
      qwerty: ['Left soft key', 'Back', 'Right soft key', ...pad],
      pocketpc: pad,
      'pocketpc-vga': pad,
    }[device];
    assert.deepEqual(names, expected);
    assert.ok(differIn(menu, play, 30, 30, 70, 70), 'Action did not choose "New Game"');
    assert.ok(differIn(play, left, 0, 50, 100, 95), 'the bat did not move');
    assert.ok(upright.width > 0.97 || upright.height > 0.6, 'the screen does not fill the phone upright');
  });
}

// Hold Left with one finger and press Action with another: Left stays held throughout.
test('several fingers hold several keys at once', async () => {
  const page = await openPhone('?device=smartphone');
  await holdKey(page, 'Action', 80);
  await pause(1500);
  const left = await keyPoint(page, 'Left');
  const action = await keyPoint(page, 'Action');
  const first = await page.touchscreen.touchStart(left.x, left.y);
  await pause(200);
  const second = await page.touchscreen.touchStart(action.x, action.y);
  const both = await page.evaluate(() => Array.from(document.querySelectorAll('#keys .held'), (b) => b.getAttribute('aria-label')));
  await pause(100);
  await second.end();
  await pause(100);
  const after = await page.evaluate(() => Array.from(document.querySelectorAll('#keys .held'), (b) => b.getAttribute('aria-label')));
  await first.end();
  await page.close();
  assert.deepEqual(both.sort(), ['Action', 'Left']);
  assert.deepEqual(after, ['Left']);
});

test('the keys step aside for a physical key and come back at a touch, and the screen stays put', async () => {
  const page = await openPhone('?device=smartphone');
  const where = () => page.evaluate(() => JSON.stringify(document.getElementById('screen').getBoundingClientRect()));
  const box = await where();
  await page.keyboard.press('ArrowDown');
  const awayAfterKey = await page.evaluate(() => document.getElementById('keys').classList.contains('away'));
  const boxAway = await where();
  const canvas = await pagePointOf(page, 10, 10);
  await page.touchscreen.tap(canvas.x, canvas.y);
  const awayAfterTouch = await page.evaluate(() => document.getElementById('keys').classList.contains('away'));
  await page.close();
  assert.equal(awayAfterKey, true);
  assert.equal(awayAfterTouch, false);
  assert.equal(boxAway, box);
});

// The page's navigator.getGamepads is the test's: one standard gamepad it presses and lets go.
function fakeGamepad() {
  const buttons = Array.from({ length: 17 }, () => ({ pressed: false, value: 0 }));
  window.fakePad = { index: 0, id: 'fake', connected: true, mapping: 'standard', buttons, axes: [0, 0, 0, 0] };
  navigator.getGamepads = () => [window.fakePad.connected ? window.fakePad : null];
}

test('a gamepad starts a game and steers the bat with its stick', async () => {
  const page = await openPhone('?device=pocketpc', { viewport: { width: 800, height: 700 }, before: fakeGamepad });
  const menu = await canvasPixels(page);
  await page.evaluate(() => { window.fakePad.buttons[0].pressed = true; });  // A: Enter
  await pause(150);
  await page.evaluate(() => { window.fakePad.buttons[0].pressed = false; });
  await pause(1500);
  const play = await canvasPixels(page);
  await page.evaluate(() => { window.fakePad.axes[0] = -1; });
  await pause(500);
  await page.evaluate(() => { window.fakePad.axes[0] = 0; });
  await pause(300);
  const left = await canvasPixels(page);
  await page.evaluate(() => { window.fakePad.axes[0] = 1; window.fakePad.connected = false; });  // unplugged while pushed
  await pause(500);
  const still = await canvasPixels(page);
  await pause(300);
  const later = await canvasPixels(page);
  await page.close();
  assert.ok(differIn(menu, play, 30, 30, 70, 70), 'A did not choose "New Game"');
  assert.ok(differIn(play, left, 35, 65, 65, 85), 'the stick did not move the bat');
  assert.ok(!differIn(still, later, 0, 75, 100, 95), 'the unplugged gamepad left the bat moving');
});

test('a device the page does not know is named with the ones it has, and the default one plays', async () => {
  const page = await openPhone('?device=nonsense', { viewport: { width: 800, height: 700 } });
  const said = await page.evaluate(() => document.getElementById('notice').textContent);
  const screen = await canvasPixels(page);
  const frames = await page.evaluate(() => window.Module.vornelFrames || 0);
  await page.close();
  assert.equal(said, 'There is no device "nonsense"; the devices are pocketpc, pocketpc-vga, smartphone, qwerty. ' +
    'Playing the pocketpc.');
  assert.deepEqual([screen.width, screen.height], [240, 320]);
  assert.ok(frames > 0);
});

// Chromium as it comes, without --autoplay-policy: nothing starts before a gesture, a tap does.
test('the sound starts at the first touch without the autoplay flag', async () => {
  const browser = await startBrowser({ autoplay: false });
  try {
    const page = await openPhone('?device=pocketpc', { browser });
    const before = await page.evaluate(() => Module.vornelAudio.runs());
    const at = await pagePointOf(page, 120, 104);
    await page.touchscreen.tap(at.x, at.y);
    await page.waitForFunction(() => Module.vornelAudio.runs(), { timeout: 5000 });
    await pause(2500);
    const played = await page.evaluate(() => Module.vornelAudio.played);
    await page.close();
    assert.equal(before, false);
    assert.ok(played > 0, 'no sound was played after the tap');
  } finally {
    await browser.close();
  }
});
