// SPDX-License-Identifier: GPL-3.0-or-later
// Walks every screen of the game on the web page, as a phone held upright
// and sideways and as an 800 x 600 desktop window, and keeps for each a
// screenshot and what its text layer holds (a tool for looking, not a
// test): build-web/screenshots/walk/VIEW/NN-SCREEN.png and .txt, with
// every .txt also in VIEW.txt.
//   bash tests/web/run.sh walk      (or: node tests/web/walk.js [VIEW...])
'use strict';

const fs = require('node:fs');
const path = require('node:path');
const h = require('./harness.js');

const OUT = path.join(h.SITE, '..', 'screenshots', 'walk');
const DATE = '2005-12-25';
const VIEWS = {
  portrait: {width: 390, height: 844, isMobile: true, hasTouch: true, deviceScaleFactor: 2},
  landscape: {width: 844, height: 390, isMobile: true, hasTouch: true, deviceScaleFactor: 2},
  desktop: {width: 800, height: 600},
};
const KEY_NAMES = {Enter: 'Enter', Esc: 'Escape', Space: 'Space', Up: 'ArrowUp', Down: 'ArrowDown',
                   Right: 'ArrowRight'};

// What the text layer holds, one line per element (a table row's cells
// between bars), then its buttons and what a screen reader heard last.
function describe() {
  const out = [];
  const walk = (e, depth) => {
    for (const c of e.children) {
      const tag = c.tagName.toLowerCase();
      const cls = c.className ? '.' + String(c.className).replace(/ /g, '.') : '';
      if (tag === 'table') {
        out.push(`${'  '.repeat(depth)}table${cls} (${c.rows.length} rows)`);
        for (const r of c.rows) {
          out.push(`${'  '.repeat(depth + 1)}| ${[...r.cells].map((d) => d.innerText.trim()).join(' | ')} |`);
        }
      } else if (['div', 'aside', 'details', 'section'].includes(tag) && c.children.length &&
                 [...c.children].some((k) => !['SPAN', 'STRONG'].includes(k.tagName))) {
        out.push(`${'  '.repeat(depth)}${tag}${cls}${c.getAttribute('aria-label') ? ' «' + c.getAttribute('aria-label') + '»' : ''}`);
        walk(c, depth + 1);
      } else {
        const label = c.getAttribute('aria-label');
        out.push(`${'  '.repeat(depth)}${tag}${cls}: ${JSON.stringify(c.textContent)}${label ? ' «' + label + '»' : ''}`);
      }
    }
  };
  walk(document.getElementById('texts'), 0);
  out.push('keys: ' + [...document.querySelectorAll('#keys button')].map((b) => `[${b.textContent}]`).join(' '));
  const notice = document.getElementById('notice');
  if (!notice.hidden) out.push('notice: ' + notice.textContent);
  out.push('heard: ' + document.getElementById('live').textContent);
  return out.join('\n');
}

async function snapshot(page, view, name, log) {
  await new Promise((r) => setTimeout(r, 80));  // the live region's text comes a moment later
  const n = String(log.length + 1).padStart(2, '0');
  const dir = path.join(OUT, view);
  await page.screenshot({path: path.join(dir, `${n}-${name}.png`)});
  const text = await page.evaluate(describe);
  fs.writeFileSync(path.join(dir, `${n}-${name}.txt`), text + '\n');
  log.push(`=== ${n} ${name}\n${text}\n`);
}

async function type(page, keys) {
  await h.press(page, keys.map((k) => KEY_NAMES[k] || k));
}

// Scenarios from a fresh browser: keys (replay-script names), a function
// of the keys so far giving more keys, or a name to keep a snapshot under.
function scenarios() {
  const right = (keys) => [h.rightAnswer(keys, DATE)];
  const wrong = (keys) => {
    const r = h.rightAnswer(keys, DATE);
    return [r === 'a' ? 'b' : 'a'];
  };
  const rights = (n) => {
    const steps = [];
    for (let i = 0; i < n; ++i) steps.push(right, ['Space']);
    return steps;
  };
  return {
    menus: [
      'main-menu',
      ['Down', 'Enter'], 'settings-menu',
      ['Enter'], 'names-notice', ['Enter'],
      ['Down', 'Down', 'Enter'], 'settings-header-switches', ['Esc'],
      ['Down', 'Down', 'Down', 'Enter'], 'settings-game-mode', ['Esc'],
      ['Down', 'Down', 'Down', 'Down', 'Enter'], 'settings-lifelines', ['Esc'],
      ['Down', 'Down', 'Down', 'Down', 'Down', 'Enter'], 'settings-colours', ['Right'], 'settings-colour-sample', ['Esc'],
      ['Down', 'Down', 'Down', 'Down', 'Down', 'Down', 'Enter'], 'settings-question-sets', ['Esc'],
      ['Down', 'Down', 'Down', 'Down', 'Down', 'Down', 'Down', 'Enter'], 'settings-sound-off',
      ['Down', 'Enter'], 'settings-slow-answers-on',
      ['Down', 'Enter'], 'settings-reset-question', ['n'],
      ['Esc'],
      ['Up', 'Up', 'Enter'], 'about', ['a'], 'about-animation', ['Enter'],
      ['Up', 'Up', 'Enter', 'l'], 'about-licence', ['Enter'],
      ['Up', 'Up', 'Enter', 'k'], 'about-thanks', ['Enter'],
      ['Down', 'Down', 'Enter'], 'list-factory', ['t'],
      ['Enter'], 'list-after-reset', ['Enter'],
    ],
    lifelines: [
      ['Down', 'Enter', 'Down', 'Down', 'Down', 'Down', 'Down', 'Down', 'Down', 'Down', 'Enter', 'Esc'],
      ['Enter'], 'question-slow-answers',
      ['t'], 'lifeline-telephone', ['f'], 'lifeline-fifty-fifty', ['k'], 'lifeline-audience',
      right, 'outcome-right', ['Space'],
      right, ['Space'], wrong, 'outcome-wrong-level-3', ['Enter'], 'after-wrong-level-3',
    ],
    outcomes: [
      ['Enter'], ...rights(6), wrong, 'outcome-wrong-level-7', ['Enter'], 'list-after-level-7',
      ['Esc', 'Up', 'Up', 'Enter'], right, ['Space'], ['m'], 'stop-mark-an-answer', ['a'], 'outcome-stop', ['Enter'],
      'list-after-stop',
    ],
    top: [
      ['Enter'], ...rights(4), right, 'outcome-guaranteed', ['Space'], ...rights(4), right, 'outcome-top-prize',
      ['Space'], 'list-full',
    ],
  };
}

async function walk(browser, server, view) {
  fs.mkdirSync(path.join(OUT, view), {recursive: true});
  const log = [];
  // The title screen, on the real clock while it stands.
  {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    await page.setViewport(VIEWS[view]);
    await page.goto(`${server.url}?date=${DATE}`);
    await page.waitForFunction(() => window.Module && Module.ZelvanosWeb && Module.ZelvanosWeb.state.frames > 0);
    await new Promise((r) => setTimeout(r, 300));
    await snapshot(page, view, 'title', log);
    for (const [date, name] of [['2005-01-01', 'new-year'], ['2005-04-01', 'april-fool'], ['2005-12-31', 'new-years-eve']]) {
      await page.goto(`${server.url}?date=${date}&clock=virtual`);
      await h.idle(page);
      await snapshot(page, view, `main-menu-${name}`, log);
    }
    await context.close();
  }
  for (const [name, steps] of Object.entries(scenarios())) {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    const errors = h.watchErrors(page);
    await page.setViewport(VIEWS[view]);
    await page.goto(`${server.url}?date=${DATE}&clock=virtual`);
    await h.idle(page);
    const keys = [];
    for (const step of steps) {
      if (typeof step === 'string') {
        await snapshot(page, view, step, log);
        continue;
      }
      const more = typeof step === 'function' ? step(keys) : step;
      await type(page, more);
      keys.push(...more);
    }
    if (errors.length) log.push(`!!! ${name}: console errors: ${errors.join('; ')}`);
    await context.close();
  }
  fs.writeFileSync(path.join(OUT, `${view}.txt`), log.join('\n'));
}

(async () => {
  const views = process.argv.slice(2).length ? process.argv.slice(2) : Object.keys(VIEWS);
  const server = await h.serve();
  const browser = await h.launch();
  try {
    for (const view of views) {
      await walk(browser, server, view);
      console.log(`${view}: ${path.join(OUT, view)}`);
    }
  } finally {
    await browser.close();
    server.close();
  }
})().catch((e) => {
  console.error(e);
  process.exit(1);
});
