// SPDX-License-Identifier: GPL-3.0-or-later
// The page's service worker: it keeps the whole site of one version, so the
// game starts and plays with the network gone. A version's files live in a
// folder named by their contents, so a page only ever loads the files of
// its own version, whichever worker serves it. The start page comes from
// the network when there is one (a new version starts at once) and from
// this version's store when not. The build writes the version and its list
// of files in.
'use strict';

const VERSION = '@VERSION@';
const FILES = @FILES@;
const STORE = 'zelvanos-' + VERSION;
// A store's name begins with "zelvanos-"; the newest two are kept, since a
// page of the older one may still be open.
const KEEP = 2;

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(STORE)
    .then((store) => store.addAll(FILES.map((f) => new Request(f, {cache: 'reload'}))))
    .then(() => store_installed())
    .then(() => self.skipWaiting()));
});

// The order the stores came in, newest last.
function store_installed() {
  return caches.open('zelvanos-order').then((order) => order.match('order')
    .then((r) => (r ? r.json() : []))
    .then((names) => order.put('order', new Response(JSON.stringify(names.filter((n) => n !== STORE).concat([STORE]))))));
}

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.open('zelvanos-order')
    .then((order) => order.match('order').then((r) => (r ? r.json() : [STORE])))
    .then((names) => {
      const kept = new Set(names.slice(-KEEP).concat(['zelvanos-order', STORE]));
      return caches.keys().then((keys) => Promise.all(
        keys.filter((k) => k.startsWith('zelvanos-') && !kept.has(k)).map((k) => caches.delete(k))));
    })
    .then(() => self.clients.claim()));
});

function fromStore(request) {
  return caches.open(STORE).then((store) => store.match('index.html'));
}

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== location.origin) return;
  if (request.mode === 'navigate') {
    // The newest start page, or this version's when the network is gone or slow.
    event.respondWith(new Promise((resolve) => {
      let done = false;
      const fallback = () => fromStore(request).then((r) => {
        if (!done && r) {
          done = true;
          resolve(r);
        }
        return r;
      });
      const timer = setTimeout(fallback, 4000);
      fetch(request).then((response) => {
        clearTimeout(timer);
        if (!done) {
          done = true;
          resolve(response);
        }
      }, () => {
        clearTimeout(timer);
        fallback().then((r) => {
          if (!r && !done) {
            done = true;
            resolve(Response.error());
          }
        });
      });
    }));
    return;
  }
  event.respondWith(caches.match(request, {ignoreSearch: true}).then((hit) => hit || fetch(request)));
});
