// SPDX-License-Identifier: GPL-3.0-or-later
// An author's own questions on the web page, in headless Chromium as a
// phone: a source with an error gets the checker's message in Hungarian
// with its line and changes nothing; a good source stands in for the set
// the author chose (its count on the question-set screen, its questions in
// a game, both after a reload), is saved back byte for byte, its bank
// downloaded equal to the question tool's, and once removed the shipped set
// is back. Any console error fails a test. Needs build-web/site and the
// native zelvanos-questions in build/ (or ZELVANOS_BUILD_DIR).
'use strict';

const assert = require('node:assert/strict');
const {execFileSync} = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const {after, before, test} = require('node:test');
const h = require('./harness.js');

const BUILD = process.env.ZELVANOS_BUILD_DIR || path.join(h.ROOT, 'build');
const SHOTS = path.join(h.SITE, '..', 'screenshots');
const PAGE = '?date=2005-12-25&clock=virtual';
const PORTRAIT = {width: 390, height: 844, isMobile: true, hasTouch: true, deviceScaleFactor: 3};

const QUESTIONS = ['Hány lába van a póknak?', 'Melyik folyó folyik át Szegeden?', 'Mi a víz vegyjele?'];
// A byte-order mark and CR LF line ends, as a Windows editor saves it: the
// file saved back must be these bytes, not a re-encoded text.
const GOOD = '\uFEFF# Saját kérdések a 4.b osztálynak\r\n' +
  `? ${QUESTIONS[0]}\r\n- Hat\r\n+ Nyolc\r\n- Tíz\r\n- Tizenkettő\r\n\r\n` +
  `? ${QUESTIONS[1]}\r\n- Duna\r\n+ Tisza\r\n- Rába\r\n- Dráva\r\n\r\n` +
  `? ${QUESTIONS[2]}\r\n- CO2\r\n- NaCl\r\n- O2\r\n+ H2O\r\n`;
// The second question has three answers only.
const BAD = `? ${QUESTIONS[0]}\n- Hat\n+ Nyolc\n- Tíz\n- Tizenkettő\n\n? ${QUESTIONS[1]}\n- Duna\n+ Tisza\n- Rába\n`;

let server;
let browser;
let dir;

before(async () => {
  fs.mkdirSync(SHOTS, {recursive: true});
  dir = fs.mkdtempSync(path.join(os.tmpdir(), 'zelvanos-authoring-'));
  fs.writeFileSync(path.join(dir, 'kerdesek.txt'), GOOD);
  fs.writeFileSync(path.join(dir, 'hibas.txt'), BAD);
  fs.writeFileSync(path.join(dir, 'nagy.txt'), GOOD.repeat(Math.ceil((4 * 1024 * 1024 + 1) / GOOD.length)));
  server = await h.serve();
  browser = await h.launch();
});

after(async () => {
  await browser?.close();
  server?.close();
  if (dir) fs.rmSync(dir, {recursive: true, force: true});
});

const open = (viewport = PORTRAIT) => h.openPage(browser, server.url + PAGE, viewport);

// Taps the menu item of the text layer whose text matches.
async function tapItem(page, pattern) {
  const items = await page.$$eval('#texts .items button', (all) => all.map((b) => b.textContent));
  const index = items.findIndex((t) => pattern.test(t));
  assert.ok(index >= 0, `${pattern} among ${JSON.stringify(items)}`);
  await h.tapAndWait(page, `#texts .items button:nth-child(${index + 1})`);
}

// Opens the panel and loads a source file into the set named.
async function loadSource(page, file, set) {
  await page.tap('#own-open');
  await page.waitForSelector('#own-dialog[open]');
  await page.select('#own-set', set);
  const input = await page.$('#own-file');
  await input.uploadFile(path.join(dir, file));
  await page.waitForFunction(() => /Betöltve|hibás/.test(document.getElementById('own-result').textContent),
    {timeout: 60000, polling: 50});
}

async function closePanel(page) {
  await page.tap('#own-close');
  await page.waitForSelector('#own-dialog:not([open])');
}

const ownSets = (page) => page.evaluate(() => JSON.parse(Module.ZelvanosWeb.text('zelvanos_web_own_sets')));

// The question-set screen's row of Számítástechnika, from the settings
// menu (or the main menu); stays on that screen.
async function setRow(page, {fromMain = true} = {}) {
  if (fromMain) await tapItem(page, /Beállítások/);
  await tapItem(page, /^▶?\s*Kérdések/);
  const items = await page.$$eval('#texts .items button', (all) => all.map((b) => b.textContent));
  return items.find((t) => /Számítástechnika/.test(t));
}

// From the question-set screen: chooses Számítástechnika, goes back to the
// main menu and starts a game; the question asked.
async function playComputing(page) {
  await tapItem(page, /Számítástechnika/);
  await tapItem(page, /Vissza/);
  await tapItem(page, /Vissza/);
  await tapItem(page, /Játék kezdése/);
  return page.$eval('#texts .question', (e) => e.textContent);
}

// Saves a file through the panel's button; its bytes.
async function downloaded(page, button, name) {
  const into = fs.mkdtempSync(path.join(dir, 'download-'));
  const cdp = await browser.target().createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', {behavior: 'allow', downloadPath: into,
    browserContextId: page.context.id});
  await page.tap(button);
  const file = path.join(into, name);
  for (let i = 0; i < 300 && !fs.existsSync(file); ++i) await new Promise((r) => setTimeout(r, 50));
  assert.ok(fs.existsSync(file), `${name} was saved`);
  await cdp.detach();
  return fs.readFileSync(file);
}

test('a source with an error: the checker\'s message in Hungarian with its line, and nothing changes', async () => {
  const page = await open();
  await loadSource(page, 'hibas.txt', 'szamtech');
  const messages = await page.$$eval('#own-messages li', (all) => all.map((e) => e.textContent));
  assert.ok(messages.includes('7. sor: hiba: a kérdésnek 3 válasza van, négy kell'), JSON.stringify(messages));
  for (const m of messages) assert.doesNotMatch(m, / \/ |error|answer/, 'Hungarian only');
  assert.match(await page.$eval('#own-result', (e) => e.textContent), /hibás: 1 hiba/);
  assert.deepEqual((await ownSets(page)).map((s) => s.own), [false, false, false]);
  // Every control of the panel is a target of at least 44 x 44 px on the phone.
  const small = await page.$$eval('#own-dialog button, #own-dialog select, #own-dialog label.file, #own-dialog textarea',
    (all) => all.map((e) => ({id: e.id || e.textContent, r: e.getBoundingClientRect()}))
      .filter((e) => e.r.width < 44 || e.r.height < 44 || e.r.right > innerWidth).map((e) => e.id));
  assert.deepEqual(small, []);
  await page.screenshot({path: path.join(SHOTS, 'phone-own-questions-error.png')});
  // Pasted into the box with two comment lines before it: the same message, two lines on.
  await page.$eval('#own-text', (e, text) => {
    e.value = text;
    e.dispatchEvent(new Event('input'));
  }, '# Beillesztve\n# a vágólapról\n' + BAD);
  await page.tap('#own-load');
  await page.waitForFunction(() =>
    document.getElementById('own-messages').textContent === '9. sor: hiba: a kérdésnek 3 válasza van, négy kell');
  // A file far too large for a source is refused as the question tool refuses it.
  await (await page.$('#own-file')).uploadFile(path.join(dir, 'nagy.txt'));
  await page.waitForFunction(() => /nagyobb, mint 4194304 bájt/.test(document.getElementById('own-messages').textContent),
    {timeout: 120000, polling: 100});
  assert.equal(await page.$eval('#own-text', (e) => e.value), '', 'what is no source is not shown');
  // Whatever the refusal might have left for the game's side to store has
  // been stored once a later change has been: a removal from another set,
  // which has nothing to remove. Only then is "nothing changed" evidence.
  await page.evaluate(() => new Promise((resolve) => {
    const web = Module.ZelvanosWeb;
    const shown = Module.onOwnQuestions;
    Module.onOwnQuestions = (why) => {
      Module.onOwnQuestions = shown;
      shown(why);
      resolve();
    };
    web.callText('zelvanos_web_own_remove', [JSON.parse(web.text('zelvanos_web_own_sets'))[1].key]);
  }));
  assert.deepEqual((await ownSets(page)).map((s) => s.own), [false, false, false]);
  await closePanel(page);
  await page.done();
});

test('own questions play as the chosen set, stay after a reload, save back, and go again', async () => {
  const page = await open();
  await loadSource(page, 'kerdesek.txt', 'szamtech');
  assert.match(await page.$eval('#own-result', (e) => e.textContent), /Betöltve: 3 saját kérdés/);
  await page.screenshot({path: path.join(SHOTS, 'phone-own-questions.png')});

  // Saved back: the very bytes loaded, and the bank the question tool compiles.
  const source = await downloaded(page, '#own-save', 'szamtech.txt');
  assert.ok(source.equals(fs.readFileSync(path.join(dir, 'kerdesek.txt'))), 'the saved source is the loaded file');
  const bank = await downloaded(page, '#own-bank', 'szamtech.lmk');
  execFileSync(path.join(BUILD, 'zelvanos-questions'), ['compile', path.join(dir, 'kerdesek.txt'),
    path.join(dir, 'tool.lmk')]);
  assert.equal(bank.length, 31200);
  assert.ok(bank.equals(fs.readFileSync(path.join(dir, 'tool.lmk'))), 'the same bank as the question tool\'s');
  await closePanel(page);

  assert.match(await setRow(page), /Számítástechnika\s*3db/);
  const asked = await playComputing(page);
  assert.ok(QUESTIONS.some((q) => asked.includes(q)), `an own question: ${asked}`);
  await page.screenshot({path: path.join(SHOTS, 'phone-own-question-asked.png')});

  // Kept in the browser's storage: after a reload the set still asks them.
  await page.reload();
  await h.idle(page);
  assert.deepEqual((await ownSets(page)).map((s) => s.own), [true, false, false]);
  await tapItem(page, /Játék kezdése/);
  const again = await page.$eval('#texts .question', (e) => e.textContent);
  assert.ok(QUESTIONS.some((q) => again.includes(q)), `an own question after a reload: ${again}`);

  // Removed while the game has it in place (a second tap confirms): the
  // shipped set is back at once.
  await page.reload();
  await h.idle(page);
  assert.match(await setRow(page), /Számítástechnika\s*3db/);
  await page.tap('#own-open');
  await page.waitForSelector('#own-dialog[open]');
  await page.tap('#own-remove');
  assert.deepEqual((await ownSets(page)).map((s) => s.own), [true, false, false], 'one tap removes nothing');
  await page.tap('#own-remove');
  await page.waitForFunction(() => /újra a játékkal érkezett/.test(document.getElementById('own-result').textContent));
  assert.deepEqual((await ownSets(page)).map((s) => s.own), [false, false, false]);
  await closePanel(page);
  await tapItem(page, /Vissza/);
  const shipped = await setRow(page, {fromMain: false});
  assert.doesNotMatch(shipped, /Számítástechnika\s*3db/);
  assert.match(shipped, /Számítástechnika\s*\d{2}db/);
  const other = await playComputing(page);
  assert.ok(!QUESTIONS.some((q) => other.includes(q)), `a shipped question: ${other}`);
  await page.done();
});
