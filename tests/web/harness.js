// SPDX-License-Identifier: GPL-3.0-or-later
// Shared by the web tests and the benchmark: a static server for the built
// site (serving the build's brotli and gzip copies as a static host would),
// Debian's Chromium driven by puppeteer-core, and helpers that wait for the
// game to sit in its key wait with its last frame drawn.
'use strict';

const assert = require('node:assert/strict');
const {execFileSync} = require('node:child_process');
const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');
const puppeteer = require('puppeteer-core');

const ROOT = path.resolve(__dirname, '../..');
const SITE = process.env.ZELVANOS_WEB_SITE || path.join(ROOT, 'build-web/site');
const CHROMIUM = process.env.CHROMIUM || '/usr/bin/chromium';
const BUILD = process.env.ZELVANOS_BUILD_DIR || path.join(ROOT, 'build');

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm', '.png': 'image/png', '.mp3': 'audio/mpeg',
  '.webmanifest': 'application/manifest+json', '.lmk': 'application/octet-stream',
};

// Serves the site on a free loopback port; resolves to {url, close, requests}.
// A file with a .br or .gz copy beside it goes out as that copy when the
// browser accepts it (Content-Encoding), as the README tells a host to do.
function serve(site = SITE) {
  const requests = [];
  const sockets = new Set();
  const server = http.createServer((req, res) => {
    const name = decodeURIComponent(new URL(req.url, 'http://x').pathname);
    const file = path.join(site, name.endsWith('/') ? name + 'index.html' : name);
    requests.push(name);
    if (!file.startsWith(site) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      res.writeHead(404);
      res.end();
      return;
    }
    const headers = {'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream', 'Vary': 'Accept-Encoding'};
    const accepted = String(req.headers['accept-encoding'] || '');
    let body = file;
    for (const [encoding, suffix] of [['br', '.br'], ['gzip', '.gz']]) {
      if (new RegExp(`\\b${encoding}\\b`).test(accepted) && fs.existsSync(file + suffix)) {
        headers['Content-Encoding'] = encoding;
        body = file + suffix;
        break;
      }
    }
    headers['Content-Length'] = fs.statSync(body).size;
    // The start page and the worker are looked at anew; the rest is named by its version.
    headers['Cache-Control'] = /(^|\/)(index\.html|sw\.js)$/.test(file) ? 'no-cache' : 'max-age=31536000, immutable';
    res.writeHead(200, headers);
    fs.createReadStream(body).pipe(res);
  });
  server.on('connection', (s) => {
    sockets.add(s);
    s.on('close', () => sockets.delete(s));
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => {
      resolve({
        url: `http://127.0.0.1:${server.address().port}/`,
        requests,
        close: () => {
          server.close();
          for (const s of sockets) s.destroy();
        },
      });
    });
  });
}

// A fresh headless Chromium with an empty profile (so a fresh browser
// storage); the profile stays for the browser's life.
async function launch(extra = []) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'zelvanos-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: CHROMIUM,
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync', '--autoplay-policy=user-gesture-required', ...extra],
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    fs.rmSync(profile, {recursive: true, force: true});
  };
  return browser;
}

// Collects the page's console errors and uncaught exceptions.
function watchErrors(page) {
  const errors = [];
  page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
  page.on('pageerror', (e) => errors.push(String(e)));
  page.on('requestfailed', (r) => errors.push(`request failed: ${r.url()}`));
  return errors;
}

// Waits until the game has waited for its `n`th key (or any, without n)
// and the frame it drew before is on the canvas.
async function idle(page, n, timeout = 30000) {
  await page.waitForFunction((want) => {
    const w = window.Module && Module.ZelvanosWeb;
    if (!w) return false;
    const s = w.state;
    if (!(s.waiting && !w.framePending && s.frames > 0 && (want === undefined || s.keyWaits >= want))) return false;
    // The page has shown this wait's texts and keys.
    const offer = JSON.parse(w.text('zelvanos_web_offer'));
    return document.body.dataset.wait === String(offer.wait);
  }, {timeout, polling: 20}, n);
  return page.evaluate(() => Module.ZelvanosWeb.state.keyWaits);
}

// A page of its own in a fresh browser context (a fresh storage and
// service worker each), at `url` and idle at the game's first key wait;
// page.done() fails on any console error and closes the context.
async function openPage(browser, url, viewport) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  const errors = watchErrors(page);
  await page.setViewport(viewport);
  await page.goto(url);
  await idle(page);
  page.context = context;
  page.done = async () => {
    assert.deepEqual(errors, [], 'no console errors');
    await context.close();
  };
  return page;
}

// Presses keys one at a time (DOM key names), each when the game waits for it.
async function press(page, keys) {
  for (const key of keys) {
    const before = await idle(page);
    await page.keyboard.press(key);
    await idle(page, before + 1);
  }
}

// The game's texts on screen and what it asks for now, as the page reads them.
async function screen(page) {
  return page.evaluate(() => ({
    texts: JSON.parse(Module.ZelvanosWeb.text('zelvanos_web_texts')).texts,
    offer: JSON.parse(Module.ZelvanosWeb.text('zelvanos_web_offer')),
  }));
}

// Taps (or clicks) an element and waits until the game has read what it sent
// and waits for its next key.
async function tapAndWait(page, selector, {tap = true} = {}) {
  const before = await idle(page);
  if (tap) {
    await page.tap(selector);
  } else {
    await page.click(selector);
  }
  await idle(page, before + 1);
}

// The canvas as RGBA bytes.
async function canvasPixels(page) {
  const data = await page.evaluate(() => {
    const c = document.getElementById('screen');
    const bytes = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    let s = '';
    for (let i = 0; i < bytes.length; i += 0x8000) s += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    return btoa(s);
  });
  return Buffer.from(data, 'base64');
}

// The native replay tool's run of these keys (replay-script names) from
// factory files on `date`: its final picture as RGBA and its log. With the
// page's virtual clock the page draws the same questions for the same keys.
function replay(keys, date) {
  const {PNG} = require('pngjs');
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'zelvanos-replay-'));
  try {
    fs.mkdirSync(path.join(dir, 'Data'));
    execFileSync(path.join(BUILD, 'zelvanos-factory-files'), [path.join(dir, 'Data')]);
    fs.symlinkSync(path.join(BUILD, 'run', 'Questions'), path.join(dir, 'Questions'));
    execFileSync(path.join(BUILD, 'zelvanos-replay'), ['--dir', dir, '--type', keys.join(' '), '--date', date,
      '--out', path.join(dir, 'out'), '--shots', 'none']);
    return {
      pixels: PNG.sync.read(fs.readFileSync(path.join(dir, 'out', 'final.png'))).data,
      log: fs.readFileSync(path.join(dir, 'out', 'log.txt'), 'utf8'),
    };
  } finally {
    fs.rmSync(dir, {recursive: true, force: true});
  }
}

// The letter that answers the question the keys have led to rightly, found
// by trying each in the replay tool.
const WRONG = /elsiette|nem sikerült|elkapkodta|százmillió az Öné/g;
function rightAnswer(keys, date) {
  const wrongs = (log) => (log.match(WRONG) || []).length;
  const before = keys.length > 1 ? wrongs(replay(keys, date).log) : 0;
  const right = ['a', 'b', 'c', 'd'].find((a) => wrongs(replay([...keys, a], date).log) === before);
  if (!right) throw new Error(`no right answer after ${keys.join(' ')}`);
  return right;
}

module.exports = {ROOT, SITE, BUILD, serve, launch, watchErrors, idle, openPage, press, canvasPixels, screen, tapAndWait,
                  replay, rightAnswer};
