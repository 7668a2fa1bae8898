// SPDX-License-Identifier: MIT
// The offline app's service worker: it keeps the page, under both of its
// addresses, and its manifest, in a cache named after their hash
// (cmake/page.py writes @CACHE@), and answers from there first, so that
// after one visit the page opens and runs with no network. A new release
// changes the hash, so this file, and the browser takes the new worker: it
// fetches every file afresh, and the old cache is dropped once the new one
// is in charge.
"use strict";
const cache = "@CACHE@";
const files = ["./", "index.html", "manifest.webmanifest"];

self.addEventListener("install", (event) => {
  event.waitUntil((async () => {
    const store = await caches.open(cache);
    // Past the HTTP cache, which may still hold the last release's files.
    await store.addAll(files.map((file) => new Request(file, { cache: "reload" })));
    await self.skipWaiting();
  })());
});

self.addEventListener("activate", (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys()) {
      if (name !== cache) {
        await caches.delete(name);
      }
    }
    await self.clients.claim();
  })());
});

// A link to an equation (?a=…) is the same page.
self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET") {
    return;
  }
  event.respondWith(caches.open(cache)
    .then((store) => store.match(event.request, { ignoreSearch: true }))
    .then((kept) => kept || fetch(event.request)));
});
