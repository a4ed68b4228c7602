// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
/* Keeps the page's own files, so that after one visit it runs offline.
 *
 * One cache per build, named after the page's folder, the version and the
 * files' sum (the build writes the last two in).  A new build's worker
 * fetches all its files into a cache of its own, in one step that either gets
 * every file or leaves nothing; it takes over only once no page runs the old
 * build, and then drops the old cache.  So a page always runs one build's
 * files, never a mix.  The code library, which the page asks for only when
 * the code to scan is first shown, joins the cache then, and so do the web
 * app manifests and their icons, which the browser asks for only to offer
 * installing.  Nothing beyond these files is ever fetched or answered here.
 */
"use strict";

const files = [@FILES@];
const later = [@LATER@];
const start = "./";
const folder = new URL(".", self.location).pathname;
// One site may hold the page in several folders, each with a worker of its
// own and caches of its own.
const prefix = `quorvel ${folder} `;
const cacheName = prefix + "@BUILD@";

// The cached name of a request for one of the page's own files, or null: the
// folder may hold other pages, which are none of this worker's business.
function own(request) {
  const url = new URL(request.url);
  if (url.origin !== self.location.origin || request.method !== "GET" ||
      !url.pathname.startsWith(folder))
    return null;
  const name = url.pathname.slice(folder.length);
  if (name === "" || name === "index.html")
    return start;
  return files.includes(name) || later.includes(name) ? name : null;
}

// Revalidated, not taken from the browser's HTTP cache, which may hold an
// older build's copy of a file.
async function fetchAll() {
  const cache = await caches.open(cacheName);
  try {
    await cache.addAll([start, ...files].map((file) => new Request(file, { cache: "no-cache" })));
  } catch (error) {
    await caches.delete(cacheName);
    throw error;
  }
}

async function dropOthers() {
  for (const name of await caches.keys())
    if (name !== cacheName && name.startsWith(prefix))
      await caches.delete(name);
}

async function answer(name, request) {
  const cache = await caches.open(cacheName);
  const kept = await cache.match(name);
  if (kept)
    return kept;
  const response = await fetch(request);
  if (later.includes(name) && response.ok)
    await cache.put(name, response.clone());
  return response;
}

self.addEventListener("install", (event) => event.waitUntil(fetchAll()));
self.addEventListener("activate", (event) => event.waitUntil(dropOthers()));
self.addEventListener("fetch", (event) => {
  const name = own(event.request);
  if (name !== null)
    event.respondWith(answer(name, event.request));
});
