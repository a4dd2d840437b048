// SPDX-License-Identifier: GPL-3.0-or-later
// The game's web page in headless Chromium: the same pictures as the replay
// tool for the same keys and date, a whole game, the browser's storage
// across reloads; on a phone upright and sideways the question and answers
// as text large enough to read, answered by a tap on their text, a whole
// game by taps alone with the name set on the page, no control during a
// question that would end the game; the page played offline from its
// service worker; the picture at a window's full size. Any console error
// fails a test. Needs build-web/site (scripts/web --build-only) and the
// native zelvanos-replay and zelvanos-factory-files in build/ (or
// ZELVANOS_BUILD_DIR).
'use strict';

const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const {after, before, test} = require('node:test');
const h = require('./harness.js');

const SHOTS = path.join(h.SITE, '..', 'screenshots');
const DATE = '2005-12-25';
const PAGE = `?date=${DATE}&clock=virtual`;
const PORTRAIT = {width: 390, height: 844, isMobile: true, hasTouch: true, deviceScaleFactor: 3};
const LANDSCAPE = {width: 844, height: 390, isMobile: true, hasTouch: true, deviceScaleFactor: 3};

// Replay-script names as puppeteer's key names.
const KEY_NAMES = {Enter: 'Enter', Esc: 'Escape', Space: 'Space', Up: 'ArrowUp', Down: 'ArrowDown', Right: 'ArrowRight'};

const replay = (keys) => h.replay(keys, DATE);

// The answers that win, found by trying each letter in the replay tool
// (the virtual clock makes the page draw the same questions).
let winning;
function winningKeys() {
  if (winning) return winning;
  const keys = ['Enter'];
  for (let level = 1; level <= 10; ++level) keys.push(h.rightAnswer(keys, DATE), 'Space');
  winning = keys;
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

// A desktop window with the picture at its own size and the page's buttons
// in a row under it.
const DESKTOP = {width: 800, height: 636};

// A page of its own (a fresh browser storage and service worker each).
async function open(viewport = DESKTOP, query = PAGE) {
  return {page: await h.openPage(browser, server.url + query, viewport)};
}

// The texts of the text layer's controls, and of what it shows.
const layer = (page) => page.$eval('#text-layer', (e) => e.innerText);

test('the main menu, and the highlight moving, as the replay tool draws them', async () => {
  const {page} = await open();
  assert.equal(await page.title(), 'Legyen On is Zelvanos');
  assert.deepEqual(await page.$eval('#screen', (c) => [c.width, c.height]), [800, 600]);
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
  // On a desktop the text layer is there for screen readers, out of sight.
  const seen = await page.$eval('#text-layer', (e) => e.getBoundingClientRect().width);
  assert.ok(seen <= 1, `the text layer is out of sight (${seen} px)`);
  assert.match(await page.$eval('#texts', (e) => e.textContent), /Eredménylista/);
  await page.done();
});

let listPicture;

// The files the browser's storage holds for the game's Data folder, with
// their sizes.
function storedFiles(page) {
  return page.evaluate(() => new Promise((resolve, reject) => {
    const open = indexedDB.open('/zelvanos/Data');
    open.onerror = reject;
    open.onsuccess = () => {
      const store = open.result.transaction('FILE_DATA').objectStore('FILE_DATA');
      const keys = store.getAllKeys();
      const values = store.getAll();
      values.onsuccess = () => {
        const files = {};
        keys.result.map(String).forEach((k, i) => {
          if (values.result[i].contents) files[k] = values.result[i].contents.length;
        });
        resolve(Object.fromEntries(Object.entries(files).sort()));
      };
      values.onerror = reject;
    };
  }));
}

test('a whole game up to the high-score list', async () => {
  const keys = winningKeys();
  const {page} = await open();
  await type(page, keys);
  const expected = replay(keys);
  assert.match(expected.log, /Felkerült az eredménylistára/);
  listPicture = await h.canvasPixels(page);
  assertSamePicture(listPicture, expected.pixels, 'high-score list');
  await page.screenshot({path: path.join(SHOTS, 'desktop-list.png')});
  // The questions asked are remembered in the browser with the other files.
  assert.deepEqual(await storedFiles(page), {'/zelvanos/Data/AskedQuestions.cfg': 1040,
    '/zelvanos/Data/Config.cfg': 76, '/zelvanos/Data/HighScores.cfg': 730});
  await page.done();
});

test('a reload keeps the score and a changed setting', async () => {
  const toSound = ['Down', 'Enter', 'Down', 'Down', 'Down', 'Down', 'Down', 'Down', 'Down'];
  const {page} = await open();
  await type(page, toSound);
  const before = await h.canvasPixels(page);
  await type(page, ['Enter']);  // sound off
  const changed = await h.canvasPixels(page);
  assert.notDeepEqual(changed, before);
  assertSamePicture(changed, replay([...toSound, 'Enter']).pixels, 'sound switched off');
  // Every save went through a temporary file renamed over the old one:
  // the browser holds the two files and nothing else.
  assert.deepEqual(Object.keys(await storedFiles(page)),
    ['/zelvanos/Data/Config.cfg', '/zelvanos/Data/HighScores.cfg']);

  await page.reload();
  await h.idle(page);
  await type(page, toSound);
  assertSamePicture(await h.canvasPixels(page), changed, 'the setting after a reload');
  await page.done();
});

// The question on a phone: its text and its answers, each at least 12 CSS
// px tall and in sight, and a tap on the right answer's text answers it.
async function readAndTap(viewport, name) {
  const keys = winningKeys();
  const {page} = await open(viewport);
  await h.tapAndWait(page, '.items button[aria-current="true"]');  // Játék kezdése
  const shown = await page.evaluate(() => {
    const view = {w: innerWidth, h: innerHeight};
    return [...document.querySelectorAll('#texts .question, #texts .answers button')].map((e) => {
      const r = e.getBoundingClientRect();
      const sizes = [...e.querySelectorAll('span')].map((s) => parseFloat(getComputedStyle(s).fontSize));
      return {text: e.textContent, size: Math.min(...sizes), inSight: r.top >= 0 && r.bottom <= view.h &&
              r.left >= 0 && r.right <= view.w, height: r.height, width: r.width};
    });
  });
  assert.equal(shown.length, 5, `a question and four answers: ${JSON.stringify(shown)}`);
  assert.match(shown[0].text, /^1\. \S/);
  ['A', 'B', 'C', 'D'].forEach((letter, i) => assert.ok(shown[i + 1].text.startsWith(letter + ': '), shown[i + 1].text));
  for (const s of shown) {
    assert.ok(s.size >= 12, `${s.text}: ${s.size} px`);
    assert.ok(s.inSight, `${s.text} is in sight`);
  }
  for (const s of shown.slice(1)) assert.ok(s.height >= 44 && s.width >= 44, `${s.text}: a target of 44 x 44 px`);
  // The picture stays, smaller where it must.
  const picture = await page.$eval('#screen', (c) => c.getBoundingClientRect().width);
  assert.ok(picture >= 300, `the picture is ${picture} px wide`);
  await page.screenshot({path: path.join(SHOTS, `${name}-question.png`)});

  const right = keys[1].toUpperCase();
  const index = ['A', 'B', 'C', 'D'].indexOf(right);
  await h.tapAndWait(page, `#texts .answers button:nth-child(${index + 1})`);
  assert.match(await layer(page), /A következő kérdéshez/, 'the right answer was given');
  await page.waitForFunction(() => /helyes válasz/.test(document.getElementById('live').textContent));
  await page.screenshot({path: path.join(SHOTS, `${name}-right.png`)});
  await page.done();
}

test('a phone held upright: question and answers readable as text, the right answer tapped', () =>
  readAndTap(PORTRAIT, 'phone-portrait'));
test('a phone held sideways: question and answers readable as text, the right answer tapped', () =>
  readAndTap(LANDSCAPE, 'phone-landscape'));

// Every text of the text layer that is in sight, with its size.
const readable = (page) => page.evaluate(() => {
  const out = [];
  const walker = document.createTreeWalker(document.getElementById('text-layer'), NodeFilter.SHOW_TEXT);
  for (let n = walker.nextNode(); n; n = walker.nextNode()) {
    const e = n.parentElement;
    if (!n.textContent.trim() || e.closest('.visually-hidden')) continue;
    const r = e.getBoundingClientRect();
    if (!r.width || !r.height) continue;
    out.push({text: n.textContent.trim(), size: parseFloat(getComputedStyle(e).fontSize)});
  }
  return out;
});

test('on a phone every screen reads as the picture shows it, no text under 12 px', async () => {
  const right = h.rightAnswer(['Enter'], DATE);
  const {page} = await open(PORTRAIT);
  const check = async (where) => {
    const texts = await readable(page);
    assert.ok(texts.length > 3, where);
    for (const t of texts) assert.ok(t.size >= 12, `${where}: "${t.text}" is ${t.size} px`);
    return page.$eval('#texts', (e) => e.innerText);
  };
  // The header as the picture shows it (its O dotted by hand), and the
  // greeting drawn letter by letter on an arc as one line.
  let text = await check('main menu');
  assert.match(text, /Legyen Ön is Zelvanos Béta 3/);
  assert.match(text, /^Boldog Karácsonyt$/m);
  await type(page, ['Enter']);
  await check('question');
  // Stopped after the first prize: the list follows, its rows a table with
  // its headings, none of them an answer of the question before.
  await type(page, [right, 'Space', 'm', 'a', 'Enter']);
  text = await check('list');
  assert.equal(await page.$$eval('#texts .answers, #texts .target.plain', (e) => e.length), 0, 'no answers on the list');
  assert.deepEqual(await page.$$eval('#texts thead th', (e) => e.map((th) => th.textContent)),
                   ['H. Név', 'Ksz.', 'Pontszám', 'Dátum']);
  assert.equal(await page.$$eval('#texts tbody tr', (e) => e.length), 10);
  assert.match(text, /5 000 000/);
  // The about screen: its keys by name, its drawing of commas not read out as text.
  await type(page, ['Esc', 'Down', 'Enter']);  // the menu comes back at the list's item
  await check('about');
  assert.deepEqual(await page.$$eval('#keys button', (e) => e.map((b) => b.textContent)),
                   ['Animáció', 'Licensz', 'Köszönet', 'Vissza']);
  await page.done();
});

test('no visible control during a question sends a key that would end the game', async () => {
  const {page} = await open(PORTRAIT);
  await h.tapAndWait(page, '.items button[aria-current="true"]');
  const ending = async () => (await h.screen(page)).offer;
  const offer = await ending();
  assert.equal(offer.asking, 'question');
  // Every control of the text layer sends an offered key, and every offered
  // key at a question is an answer, a lifeline in its order or the stop.
  const controls = await page.$$eval('#text-layer button, #text-layer summary', (all) =>
    all.filter((b) => b.getBoundingClientRect().width > 0).map((b) => b.textContent.trim()));
  const allowed = new Set(['a', 'b', 'c', 'd', 't', 'f', 'k', 'm']);
  for (const key of offer.keys) {
    assert.equal(key.bytes.length, 1, key.label);
    assert.ok(allowed.has(String.fromCharCode(key.bytes[0])), `offered: ${key.bytes}`);
  }
  const labels = offer.keys.filter((k) => !k.place).map((k) => k.label);
  assert.deepEqual(labels, ['Telefon', 'Felező', 'Közönség', 'Megállás']);
  for (const label of labels) assert.ok(controls.includes(label), `${label} is a button`);
  // The page's own controls and taps beside the boxes send nothing.
  const wait = offer.wait;
  for (const selector of ['#names-open', '#text-layer summary']) {
    if (!(await page.$(selector))) continue;
    await page.tap(selector);
    await page.evaluate(() => document.querySelector('dialog[open]')?.close());
  }
  const box = await page.$eval('#screen', (c) => c.getBoundingClientRect().toJSON());
  for (const [x, y] of [[20, 20], [400, 300], [700, 500], [50, 95], [600, 120], [330, 92]]) {
    await page.touchscreen.tap(box.x + x / 800 * box.width, box.y + y / 600 * box.height);
  }
  // Megállás asks twice: one tap alone stops nothing.
  await page.tap('#keys button:last-child');
  await new Promise((r) => setTimeout(r, 200));
  const after = await ending();
  assert.equal(after.asking, 'question', 'still the question');
  assert.equal(after.wait, wait, 'no key was sent');
  await page.done();
});

test('a whole game by taps alone, under the name set on the page', async () => {
  const keys = winningKeys();
  const {page} = await open(PORTRAIT);
  // The settings item about the name tells a browser player where to set it.
  await h.tapAndWait(page, '#texts .items button:nth-child(2)');  // Beállítások
  await h.tapAndWait(page, '.items button[aria-current="true"]');  // Játékos neve
  assert.match(await page.$eval('#notice', (e) => e.textContent), /itt állíthatja be/);
  await page.tap('#notice button');
  await page.waitForSelector('#names-dialog[open]');
  // The names program's rules: a character the game cannot show is refused.
  await page.$eval('#name-player', (e) => { e.value = ''; });
  await page.type('#name-player', 'Kovács ☺');
  await page.tap('#names-save');
  assert.match(await page.$eval('#names-error', (e) => e.textContent), /nem tud megjeleníteni|cannot show/);
  await page.$eval('#name-player', (e) => { e.value = ''; });
  await page.type('#name-player', 'Kovács Éva');
  await page.tap('#names-save');
  await page.waitForSelector('#names-dialog:not([open])');
  await h.tapAndWait(page, '#keys button');  // Vissza
  await h.tapAndWait(page, '#texts .items button:nth-child(11)');  // Vissza to the main menu
  await h.tapAndWait(page, '#texts .items button:nth-child(1)');  // Játék kezdése
  for (let level = 1; level <= 10; ++level) {
    const index = ['a', 'b', 'c', 'd'].indexOf(keys[2 * level - 1]);
    await h.tapAndWait(page, `#texts .answers button:nth-child(${index + 1})`);
    await h.tapAndWait(page, '#keys button');  // Tovább
  }
  const text = await layer(page);
  assert.match(text, /Kovács Éva/, 'the name set on the page is in the list');
  assert.match(text, /1 500 000 000/);
  await page.screenshot({path: path.join(SHOTS, 'phone-list.png')});
  await page.done();
});

test('after one visit the page reloads and plays offline from its service worker', async () => {
  const {page} = await open(PORTRAIT, PAGE + '&touch=1');
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null, {timeout: 60000});
  // Everything of this version is kept.
  await page.waitForFunction(async () => {
    const names = await caches.keys();
    const store = names.find((n) => /^zelvanos-v-/.test(n));
    return store && (await (await caches.open(store)).keys()).length > 40;
  }, {timeout: 60000, polling: 200});
  await page.setOfflineMode(true);
  await page.reload();
  await h.idle(page);
  await h.tapAndWait(page, '.items button[aria-current="true"]');  // Játék kezdése: a bank from the store
  const {offer} = await h.screen(page);
  assert.equal(offer.asking, 'question');
  assert.match(await layer(page), /^1\. /m);
  await page.setOfflineMode(false);
  await page.done();
});

test("the page's own buttons never cover the picture", async () => {
  for (const viewport of [{width: 800, height: 600}, DESKTOP, {width: 1280, height: 800}, {width: 1024, height: 768},
                          PORTRAIT, LANDSCAPE]) {
    const {page} = await open(viewport);
    const {picture, buttons, inner} = await page.evaluate(() => ({
      picture: document.getElementById('screen').getBoundingClientRect().toJSON(),
      buttons: [...document.querySelectorAll('#corner button')].map((b) => b.getBoundingClientRect().toJSON()),
      inner: [innerWidth, innerHeight],
    }));
    const what = `${viewport.width} x ${viewport.height}`;
    assert.equal(buttons.length, 3, what);  // Nevek, full screen, own questions
    for (const b of buttons) {
      assert.ok(b.width >= 24 && b.height >= 24, `${what}: a button in sight`);
      assert.ok(b.left >= 0 && b.top >= 0 && b.right <= inner[0] && b.bottom <= inner[1], `${what}: in the window`);
      const apart = b.right <= picture.left || b.left >= picture.right || b.bottom <= picture.top ||
          b.top >= picture.bottom;
      assert.ok(apart, `${what}: a button at ${b.left},${b.top} over the picture ` +
                       `${picture.left},${picture.top}-${picture.right},${picture.bottom}`);
    }
    // The picture keeps its shape and most of the window.
    assert.ok(Math.abs(picture.width / picture.height - 4 / 3) < 0.01, what);
    assert.ok(picture.width >= 0.9 * Math.min(inner[0], inner[1] * 4 / 3) || viewport.isMobile, what);
    await page.done();
  }
});

test('a window larger than a whole multiple gets the largest crisp picture', async () => {
  const {page} = await open({width: 1100, height: 825 + 36});  // the page's buttons under it
  const size = await page.$eval('#screen', (c) => [c.width, c.height, c.getBoundingClientRect().width]);
  assert.deepEqual(size, [1100, 825, 1100]);
  // Whole pixels of the picture stay single colours: sharp, not smeared.
  const colours = await page.evaluate(() => {
    const c = document.getElementById('screen');
    const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    const seen = new Set();
    for (let i = 0; i < d.length; i += 4 * 7) seen.add((d[i] << 16) | (d[i + 1] << 8) | d[i + 2]);
    return seen.size;
  });
  assert.ok(colours < 200, `${colours} colours: crisp edges, not a blur`);
  await page.done();
});
