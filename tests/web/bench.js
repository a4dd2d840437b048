// SPDX-License-Identifier: GPL-3.0-or-later
// Measures the web page in headless Chromium (a benchmark, not a test):
// navigation to the first drawn frame, the gzipped size of the wasm and
// JavaScript, and the CPU the page uses while the game waits for a key.
//   node tests/web/bench.js [runs]
'use strict';

const fs = require('node:fs');
const path = require('node:path');
const zlib = require('node:zlib');
const h = require('./harness.js');

const RUNS = Number(process.argv[2] || 5);
const IDLE_SECONDS = 10;

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

(async () => {
  const sizes = {};
  for (const file of ['zelvanos.wasm', 'zelvanos.js', 'page.js', 'page.css', 'index.html']) {
    sizes[file] = zlib.gzipSync(fs.readFileSync(path.join(h.SITE, file)), {level: 9}).length;
  }
  const wasmJs = sizes['zelvanos.wasm'] + sizes['zelvanos.js'];
  const page = sizes['page.js'] + sizes['page.css'] + sizes['index.html'];
  const data = fs.statSync(path.join(h.SITE, 'zelvanos.data')).size;

  const server = await h.serve();
  const cold = [];
  const warm = [];
  let idle = 0;
  for (let run = 0; run < RUNS; ++run) {
    const browser = await h.launch();  // a new profile: a first visit
    const tab = await browser.newPage();
    await tab.setViewport({width: 1280, height: 800});
    for (const into of [cold, warm]) {
      await tab.goto(server.url);
      await tab.waitForFunction(() => window.Module && Module.ZelvanosWeb && Module.ZelvanosWeb.state.frames > 0,
                                {polling: 5});
      into.push(await tab.evaluate(() => Module.ZelvanosWeb.state.firstFrameAt));
    }
    if (run === 0) {
      // The main menu waiting for a key, as a player leaves it.
      await h.idle(tab, undefined, 60000);
      const pid = browser.process().pid;
      const t0 = process.hrtime.bigint();
      const c0 = treeTicks(pid);
      await new Promise((r) => setTimeout(r, IDLE_SECONDS * 1000));
      const c1 = treeTicks(pid);
      const seconds = Number(process.hrtime.bigint() - t0) / 1e9;
      idle = ((c1 - c0) / 100) / seconds * 100;  // USER_HZ is 100 on Linux
    }
    await browser.close();
  }
  server.close();

  const kb = (n) => (n / 1024).toFixed(0) + ' KB';
  console.log(`wasm + JavaScript, gzipped:        ${kb(wasmJs)} (wasm ${kb(sizes['zelvanos.wasm'])}, ` +
              `JavaScript ${kb(sizes['zelvanos.js'])}; the page around it ${kb(page)})`);
  console.log(`banks, sounds and factory files:   ${kb(data)} (zelvanos.data, not gzipped)`);
  console.log(`navigation to first frame, first visit:  median ${median(cold).toFixed(0)} ms ` +
              `(${cold.map((x) => x.toFixed(0)).join(', ')})`);
  console.log(`navigation to first frame, reload:       median ${median(warm).toFixed(0)} ms ` +
              `(${warm.map((x) => x.toFixed(0)).join(', ')})`);
  console.log(`CPU at the main menu waiting for a key: ${idle.toFixed(2)} % of one core ` +
              `(all Chromium processes, ${IDLE_SECONDS} s)`);
  const ok = wasmJs <= 600 * 1024 && median(cold) <= 1500 && idle <= 1;
  process.exitCode = ok ? 0 : 1;
})().catch((e) => {
  console.error(e);
  process.exit(1);
});
