// SPDX-License-Identifier: GPL-3.0-or-later
// Measures the web page in headless Chromium (a benchmark, not a test):
// the sizes of what the first frame needs (raw, gzip and brotli, as the
// build wrote them), navigation to the first drawn frame on a simulated
// slow and fast 4G network (first visit, served compressed), the CPU the
// page uses while the game waits for a key, Lighthouse's mobile scores,
// LCP and CLS, and axe-core's accessibility findings on a phone.
//   node tests/web/bench.js [runs]
'use strict';

const fs = require('node:fs');
const path = require('node:path');
const h = require('./harness.js');

const RUNS = Number(process.argv[2] || 5);
const IDLE_SECONDS = 10;
// Chromium's network throttling, as Lighthouse names them.
const NETWORKS = {
  'slow 4G': {latency: 150, downloadThroughput: 1.6e6 / 8, uploadThroughput: 750e3 / 8},
  'fast 4G': {latency: 85, downloadThroughput: 9e6 / 8, uploadThroughput: 9e6 / 8},
};
const LIMITS = {'slow 4G': 2500, 'fast 4G': 1000};
const PHONE = {width: 390, height: 844, isMobile: true, hasTouch: true, deviceScaleFactor: 3};

function median(xs) {
  const s = [...xs].sort((a, b) => a - b);
  return s[Math.floor(s.length / 2)];
}

// CPU ticks of a process and all its descendants (Linux /proc).
function treeTicks(pid) {
  let total = 0;
  const children = new Map();
  for (const entry of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(entry)) continue;
    try {
      const stat = fs.readFileSync(`/proc/${entry}/stat`, 'utf8');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      const parent = Number(fields[1]);
      if (!children.has(parent)) children.set(parent, []);
      children.get(parent).push({pid: Number(entry), ticks: Number(fields[11]) + Number(fields[12])});
    } catch {
      // the process ended meanwhile
    }
  }
  const visit = (p) => {
    for (const c of children.get(p) || []) {
      total += c.ticks;
      visit(c.pid);
    }
  };
  visit(pid);
  return total;
}

function sizes() {
  const version = fs.readdirSync(h.SITE).find((f) => /^v-/.test(f));
  const first = ['index.html', `${version}/page.css`, `${version}/page.js`, `${version}/zelvanos.js`,
                 `${version}/zelvanos.wasm`];
  const total = {raw: 0, gz: 0, br: 0};
  const each = first.map((f) => {
    const file = path.join(h.SITE, f);
    const s = {file: path.basename(f), raw: fs.statSync(file).size, gz: fs.statSync(file + '.gz').size,
               br: fs.statSync(file + '.br').size};
    for (const k of Object.keys(total)) total[k] += s[k];
    return s;
  });
  let later = 0;
  let laterBr = 0;
  for (const dir of ['Questions', 'Sounds']) {
    const walk = (d) => {
      for (const e of fs.readdirSync(d, {withFileTypes: true})) {
        const p = path.join(d, e.name);
        if (e.isDirectory()) {
          walk(p);
        } else if (!/\.(gz|br)$/.test(e.name)) {
          later += fs.statSync(p).size;
          laterBr += fs.existsSync(p + '.br') ? fs.statSync(p + '.br').size : fs.statSync(p).size;
        }
      }
    };
    walk(path.join(h.SITE, version, dir));
  }
  return {each, total, later, laterBr};
}

// Navigation to the first drawn frame on a fresh profile and network.
async function firstFrame(server, network) {
  const browser = await h.launch();
  try {
    const page = await browser.newPage();
    await page.setViewport(PHONE);
    const cdp = await page.createCDPSession();
    await cdp.send('Network.enable');
    await cdp.send('Network.setCacheDisabled', {cacheDisabled: true});
    await cdp.send('Network.emulateNetworkConditions', {offline: false, ...NETWORKS[network]});
    await page.goto(server.url + '?sw=0', {waitUntil: 'domcontentloaded'});
    await page.waitForFunction(() => window.Module && Module.ZelvanosWeb && Module.ZelvanosWeb.state.frames > 0,
                               {polling: 5, timeout: 60000});
    return await page.evaluate(() => {
      const s = Module.ZelvanosWeb.state;
      const wasm = performance.getEntriesByType('resource').find((e) => /zelvanos\.wasm$/.test(e.name));
      const script = performance.getEntriesByType('resource').find((e) => /zelvanos\.js$/.test(e.name));
      return {frame: s.firstFrameAt, loaded: Math.max(wasm ? wasm.responseEnd : 0, script ? script.responseEnd : 0),
              ready: s.readyAt};
    });
  } finally {
    await browser.close();
  }
}

async function idleCpu(server) {
  const browser = await h.launch();
  try {
    const tab = await browser.newPage();
    await tab.setViewport({width: 1280, height: 800});
    await tab.goto(server.url);
    await h.idle(tab, undefined, 60000);
    const pid = browser.process().pid;
    const t0 = process.hrtime.bigint();
    const c0 = treeTicks(pid);
    await new Promise((r) => setTimeout(r, IDLE_SECONDS * 1000));
    const c1 = treeTicks(pid);
    const seconds = Number(process.hrtime.bigint() - t0) / 1e9;
    return ((c1 - c0) / 100) / seconds * 100;  // USER_HZ is 100 on Linux
  } finally {
    await browser.close();
  }
}

// Lighthouse's mobile run (its default: a phone, slow 4G simulated, CPU
// slowed four times) on Debian's Chromium.
async function lighthouse(server) {
  const {default: run} = await import('lighthouse');
  const browser = await h.launch();
  try {
    const port = Number(new URL(browser.wsEndpoint()).port);
    const result = await run(server.url, {port, output: 'json', logLevel: 'error'});
    const lhr = result.lhr;
    const score = (c) => Math.round(lhr.categories[c].score * 100);
    return {
      performance: score('performance'), accessibility: score('accessibility'),
      bestPractices: score('best-practices'), seo: score('seo'),
      lcp: lhr.audits['largest-contentful-paint'].numericValue,
      cls: lhr.audits['cumulative-layout-shift'].numericValue,
      fcp: lhr.audits['first-contentful-paint'].numericValue,
      tbt: lhr.audits['total-blocking-time'].numericValue,
      failing: Object.values(lhr.audits).filter((a) => a.score !== null && a.score < 0.9 &&
                                                       a.scoreDisplayMode === 'binary').map((a) => a.id),
    };
  } finally {
    await browser.close();
  }
}

// axe-core on a phone at the main menu and at a question.
async function axe(server) {
  const source = fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');
  const browser = await h.launch();
  try {
    const page = await browser.newPage();
    await page.setViewport(PHONE);
    await page.goto(server.url + '?date=2005-12-25&clock=virtual');
    await h.idle(page);
    const found = {};
    const check = async (where) => {
      await page.evaluate(source);
      const result = await page.evaluate(() => axe.run(document, {resultTypes: ['violations']}));
      found[where] = result.violations.map((v) => `${v.id} (${v.impact}, ${v.nodes.length})`);
    };
    await check('main menu');
    await h.tapAndWait(page, '.items button[aria-current="true"]');
    await check('question');
    return found;
  } finally {
    await browser.close();
  }
}

(async () => {
  const kb = (n) => (n / 1024).toFixed(0) + ' KB';
  const s = sizes();
  console.log('What the first frame needs (raw / gzip / brotli):');
  for (const e of s.each) console.log(`  ${e.file.padEnd(14)} ${kb(e.raw)} / ${kb(e.gz)} / ${kb(e.br)}`);
  console.log(`  together       ${kb(s.total.raw)} / ${kb(s.total.gz)} / ${kb(s.total.br)}`);
  console.log(`Question banks and sounds, fetched when needed: ${kb(s.later)} (${kb(s.laterBr)} with brotli)`);

  const server = await h.serve();
  const results = {};
  for (const network of Object.keys(NETWORKS)) {
    const runs = [];
    for (let run = 0; run < RUNS; ++run) runs.push(await firstFrame(server, network));
    const times = runs.map((r) => r.frame);
    results[network] = median(times);
    console.log(`First frame on ${network}, first visit: median ${median(times).toFixed(0)} ms ` +
                `(${times.map((x) => x.toFixed(0)).join(', ')}); limit ${LIMITS[network]} ms; ` +
                `game and page loaded at median ${median(runs.map((r) => r.loaded)).toFixed(0)} ms, ` +
                `game started (storage read) at ${median(runs.map((r) => r.ready)).toFixed(0)} ms`);
  }
  const idle = await idleCpu(server);
  console.log(`CPU at the main menu waiting for a key: ${idle.toFixed(2)} % of one core ` +
              `(all Chromium processes, ${IDLE_SECONDS} s)`);
  const lh = await lighthouse(server);
  console.log(`Lighthouse (mobile): performance ${lh.performance}, accessibility ${lh.accessibility}, ` +
              `best practices ${lh.bestPractices}, SEO ${lh.seo}; LCP ${lh.lcp.toFixed(0)} ms, ` +
              `FCP ${lh.fcp.toFixed(0)} ms, TBT ${lh.tbt.toFixed(0)} ms, CLS ${lh.cls.toFixed(3)}`);
  if (lh.failing.length) console.log(`  audits not passed: ${lh.failing.join(', ')}`);
  const found = await axe(server);
  for (const [where, list] of Object.entries(found)) {
    console.log(`axe-core at the ${where}: ${list.length ? list.join('; ') : 'no violations'}`);
  }
  server.close();
  const ok = results['slow 4G'] <= LIMITS['slow 4G'] && results['fast 4G'] <= LIMITS['fast 4G'] && idle <= 1 &&
      lh.cls <= 0.05;
  process.exitCode = ok ? 0 : 1;
})().catch((e) => {
  console.error(e);
  process.exit(1);
});
