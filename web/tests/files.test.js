// What a player takes along and brings to the page: the settings exported and imported (a
// file of the wrong shape refused, nothing replaced), a demo file chosen on the page, and
// demo addresses that cannot be had, said by the name the player gave with a way on.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { browserSession, openKeepingDownloads, folders, pause } from './harness.js';

const session = browserSession();

const openPage = (context, query) => openKeepingDownloads(session, context, query);

const settingsOf = (page) => page.evaluate(() => Array.from(FS.readFile('/save/vornel')));

test('the settings go out as a file and come back, and a file of another shape is refused', async () => {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'vornel-settings-'));
  const context = await session.browser.createBrowserContext();
  try {
    const page = await openPage(context);
    await pause(4000);
    await page.keyboard.down('Shift');
    await page.keyboard.press('KeyS');  // sound off
    await page.keyboard.press('KeyL');  // Hard
    await page.keyboard.up('Shift');
    await pause(500);
    await page.click('#export');
    await page.waitForFunction(() => window.exported.length === 1);
    const exported = await page.evaluate(async () => Array.from(new Uint8Array(await window.exported[0].arrayBuffer())));
    assert.equal(exported.length, 24);
    assert.deepEqual(exported.slice(0, 2), [1, 1]);

    const wrong = path.join(folder, 'short.bin');
    fs.writeFileSync(wrong, Buffer.alloc(10));
    await (await page.$('#import-file')).uploadFile(wrong);
    await page.waitForFunction(() => !document.getElementById('notice').hidden);
    const said = await page.evaluate(() => document.getElementById('notice').textContent);
    assert.equal(said, 'short.bin is not a settings file of Vornel (it has 10 bytes, not 24); nothing was changed.');
    assert.deepEqual(await settingsOf(page), exported);

    const fresh = path.join(folder, 'vornel');
    fs.writeFileSync(fresh, Buffer.from(exported.map((byte, i) => (i < 2 ? 0 : byte))));
    const reloaded = page.waitForNavigation();
    await (await page.$('#import-file')).uploadFile(fresh);
    await reloaded;
    await page.waitForFunction(() => window.Module.calledRun, { timeout: 30000 });
    assert.deepEqual((await settingsOf(page)).slice(0, 2), [0, 0], "the imported settings were not the game's");
  } finally {
    await context.close();
    fs.rmSync(folder, { recursive: true, force: true });
  }
});

test('a demo file chosen on the page plays in it', async () => {
  const page = await openPage(session.browser);
  const navigated = page.waitForNavigation();
  await (await page.$('#demo-file')).uploadFile(path.join(folders.demos, 'menus.vdm'));
  await navigated;
  await page.waitForFunction(() => window.Module.calledRun && Module._vornel_demo_frames() > 30, { timeout: 30000 });
  const address = page.url();
  await page.close();
  assert.match(address, /[?&]demo-file=menus\.vdm/);
});

for (const [query, said] of [
  ['?demo=demos/missing.vdm', 'The demo demos/missing.vdm cannot be fetched: 404 Not Found'],
  ['?demo=index.html', 'index.html: not a demo file'],
]) {
  test(`a demo that cannot be had says so by its name and offers the game (${query})`, async () => {
    const page = await session.browser.newPage();
    await page.goto(session.url + query);
    await page.waitForFunction(() => !document.getElementById('play-instead').hidden, { timeout: 30000 });
    const message = await page.evaluate(() => document.getElementById('message').textContent);
    const navigated = page.waitForNavigation();
    await page.click('#play-instead');
    await navigated;
    await page.waitForFunction(() => (window.Module.vornelFrames || 0) > 10, { timeout: 30000 });
    const address = page.url();
    await page.close();
    assert.equal(message, said);
    assert.doesNotMatch(address, /demo/);
  });
}

// The page is closed at a random moment while the game saves again and again (the sound
// switched on and off from the menu): at the next start the settings are whole, old or new.
test('a tab closed during a save keeps whole settings (50 tries)', async () => {
  const context = await session.browser.createBrowserContext();
  let seed = 12345;
  const random = (limit) => { seed = (seed * 1103515245 + 12345) >>> 0; return (seed >>> 8) % limit; };
  try {
    for (let attempt = 0; attempt < 50; ++attempt) {
      const page = await openPage(context);
      const kept = await page.evaluate(() => { try { return Array.from(FS.readFile('/save/vornel')); } catch { return null; } });
      if (kept !== null) {
        assert.equal(kept.length, 24, `try ${attempt}: the settings are cut short`);
        assert.ok((kept[0] & ~1) === 0 && kept[1] <= 1, `try ${attempt}: the settings are damaged: ${kept}`);
      }
      await pause(3600);  // the menu takes the keys once the intro is over
      for (let press = 0; press < 3; ++press) {
        await page.keyboard.down('Shift');
        await page.keyboard.press('KeyS');
        await page.keyboard.up('Shift');
        await pause(random(400));
      }
      await pause(random(1500));
      await page.close();
    }
  } finally {
    await context.close();
  }
});
