// SPDX-License-Identifier: GPL-3.0-or-later
// The game's web page in headless Chromium: the same pictures as the replay
// tool for the same keys and date, a whole game, the browser's storage
// across reloads, the on-screen keys of a phone, and no console errors.
// Needs build-web/site (scripts/web --build-only) and the native
// zelvanos-replay in build/ (or ZELVANOS_BUILD_DIR).
'use strict';

const assert = require('node:assert/strict');
const {execFileSync} = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const {after, before, test} = require('node:test');
const {PNG} = require('pngjs');
const h = require('./harness.js');

const BUILD = process.env.ZELVANOS_BUILD_DIR || path.join(h.ROOT, 'build');
const FACTORY = path.join(h.SITE, '..', 'factory');
const SHOTS = path.join(h.SITE, '..', 'screenshots');
const DATE = '2005-12-25';
const PAGE = `?date=${DATE}&clock=virtual`;

// Replay-script names as puppeteer's key names.
const KEY_NAMES = {Enter: 'Enter', Esc: 'Escape', Space: 'Space', Up: 'ArrowUp', Down: 'ArrowDown', Right: 'ArrowRight'};

// The replay tool's picture after these keys, from factory files, as RGBA.
function replay(keys) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'zelvanos-replay-'));
  try {
    fs.mkdirSync(path.join(dir, 'Data'));
    for (const f of fs.readdirSync(FACTORY)) fs.copyFileSync(path.join(FACTORY, f), path.join(dir, 'Data', f));
    fs.symlinkSync(path.join(BUILD, 'run', 'Questions'), path.join(dir, 'Questions'));
    execFileSync(path.join(BUILD, 'zelvanos-replay'), ['--dir', dir, '--type', keys.join(' '), '--date', DATE,
      '--out', path.join(dir, 'out'), '--shots', 'none']);
    return {
      pixels: PNG.sync.read(fs.readFileSync(path.join(dir, 'out', 'final.png'))).data,
      log: fs.readFileSync(path.join(dir, 'out', 'log.txt'), 'utf8'),
    };
  } finally {
    fs.rmSync(dir, {recursive: true, force: true});
  }
}

// The answers that win, found by trying each letter in the replay tool
// (the virtual clock makes the page draw the same questions).
function winningKeys() {
  const wrong = /elsiette|nem sikerült|elkapkodta|százmillió az Öné/;
  const keys = ['Enter'];
  for (let level = 1; level <= 10; ++level) {
    const right = ['a', 'b', 'c', 'd'].find((a) => !wrong.test(replay([...keys, a]).log));
    assert.ok(right, `no right answer found at level ${level}`);
    keys.push(right, 'Space');
  }
  return keys;
}

async function type(page, keys) {
  await h.press(page, keys.map((k) => KEY_NAMES[k] || k));
}

function assertSamePicture(actual, expected, what) {
  assert.equal(actual.length, expected.length, `${what}: size`);
  const differing = actual.findIndex((b, i) => b !== expected[i]);
  if (differing >= 0) {
    const pixel = Math.floor(differing / 4);
    assert.fail(`${what}: differs from the replay first at x=${pixel % 800} y=${Math.floor(pixel / 800)}`);
  }
}

let server;
let browser;

before(async () => {
  fs.mkdirSync(SHOTS, {recursive: true});
  server = await h.serve();
  browser = await h.launch();
});

after(async () => {
  await browser?.close();
  server?.close();
});

async function open(viewport = {width: 1280, height: 800}) {
  const page = await browser.newPage();
  const errors = h.watchErrors(page);
  await page.setViewport(viewport);
  await page.goto(server.url + PAGE);
  await h.idle(page);
  return {page, errors};
}

test('the main menu, and the highlight moving, as the replay tool draws them', async () => {
  const {page, errors} = await open();
  assert.equal(await page.title(), 'Legyen On is Zelvanos');
  assertSamePicture(await h.canvasPixels(page), replay([]).pixels, 'main menu');
  await page.screenshot({path: path.join(SHOTS, 'desktop-menu.png')});
  await type(page, ['Down', 'Down']);
  assertSamePicture(await h.canvasPixels(page), replay(['Down', 'Down']).pixels, 'after Down Down');
  await type(page, ['Up']);
  assertSamePicture(await h.canvasPixels(page), replay(['Down', 'Down', 'Up']).pixels, 'after Up');
  // Keys the game has no use for leave the picture as it is.
  await page.keyboard.down('Alt');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.up('Alt');
  await type(page, ['Down']);
  assertSamePicture(await h.canvasPixels(page), replay(['Down', 'Down', 'Up', 'Down']).pixels, 'Alt+Down ignored');
  assert.deepEqual(errors, []);
  await page.close();
});

let listPicture;

test('a whole game up to the high-score list', async () => {
  const keys = winningKeys();
  const {page, errors} = await open();
  await type(page, keys);
  const expected = replay(keys);
  assert.match(expected.log, /Felkerült az eredménylistára/);
  listPicture = await h.canvasPixels(page);
  assertSamePicture(listPicture, expected.pixels, 'high-score list');
  await page.screenshot({path: path.join(SHOTS, 'desktop-list.png')});
  assert.deepEqual(errors, []);
  await page.close();
});

test('a reload keeps the score and a changed setting', async () => {
  const toSound = ['Down', 'Enter', 'Down', 'Down', 'Down', 'Down', 'Down', 'Down', 'Down'];
  let {page, errors} = await open();
  await type(page, toSound);
  const before = await h.canvasPixels(page);
  await type(page, ['Enter']);  // sound off
  const changed = await h.canvasPixels(page);
  assert.notDeepEqual(changed, before);
  assertSamePicture(changed, replay([...toSound, 'Enter']).pixels, 'sound switched off');
  // Every save went through a temporary file renamed over the old one:
  // the browser holds the settings, the scores and the memory of the
  // questions the whole game asked, and nothing else.
  const stored = await page.evaluate(() => new Promise((resolve, reject) => {
    const open = indexedDB.open('/zelvanos/Data');
    open.onerror = reject;
    open.onsuccess = () => {
      const keys = open.result.transaction('FILE_DATA').objectStore('FILE_DATA').getAllKeys();
      keys.onsuccess = () => resolve(keys.result.map(String).sort());
      keys.onerror = reject;
    };
  }));
  assert.deepEqual(stored, ['/zelvanos/Data/AskedQuestions.cfg', '/zelvanos/Data/Config.cfg',
    '/zelvanos/Data/HighScores.cfg']);
  assert.deepEqual(errors, []);

  await page.reload();
  await h.idle(page);
  await type(page, toSound);
  assertSamePicture(await h.canvasPixels(page), changed, 'the setting after a reload');
  await type(page, ['Esc', 'Down', 'Down', 'Enter']);
  assert.ok(listPicture, 'the whole-game test ran first');
  assertSamePicture(await h.canvasPixels(page), listPicture, 'the high-score list after a reload');
  assert.deepEqual(errors, []);
  await page.close();
});

test('the on-screen keys of a phone held sideways', async () => {
  const {page, errors} = await open({width: 844, height: 390, isMobile: true, hasTouch: true, deviceScaleFactor: 3});
  const keys = await page.$$eval('.keys button', (b) => b.map((x) => x.getBoundingClientRect().width > 0));
  assert.equal(keys.length, 13);
  assert.ok(keys.every(Boolean), 'every on-screen key shows');
  // The picture takes the whole height.
  const height = await page.$eval('#screen', (c) => c.getBoundingClientRect().height);
  assert.ok(height >= 380, `canvas height ${height}`);
  const before = await h.idle(page);
  await page.tap('button[data-key="ArrowDown"]');
  await h.idle(page, before + 1);
  assertSamePicture(await h.canvasPixels(page), replay(['Down']).pixels, 'after the on-screen Down');
  await page.screenshot({path: path.join(SHOTS, 'phone-landscape.png')});
  await page.setViewport({width: 390, height: 844, isMobile: true, hasTouch: true, deviceScaleFactor: 3});
  await page.screenshot({path: path.join(SHOTS, 'phone-portrait.png')});
  assert.deepEqual(errors, []);
  await page.close();
});
