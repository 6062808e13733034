// The page's service worker: it keeps what the access-code window and the
// frame need, so the page opens and runs with no network after the first
// visit (the radio link never needs one); the spreadsheet and zip libraries
// are kept when first used. The build fills in the lists and a version that
// changes with any file, which replaces the cache.
const VERSION = "@VERSION@";
const FILES = @FILES@;
const LATER = @LATER@;
// Files named by their content: any copy the browser holds is the right one.
const ASSETS = @ASSETS@;
const CACHE = `corvane-site-${VERSION}`;

// The page registers this worker after it has loaded the same files, so the
// copies come from the browser's HTTP cache: hashed files as they are, the
// others revalidated (a 304 when unchanged). Nothing is downloaded twice.
function request(file) {
  return new Request(file, { cache: file.startsWith(ASSETS) ? "force-cache" : "no-cache" });
}

self.addEventListener("install", (event) => {
  event.waitUntil((async () => {
    const cache = await caches.open(CACHE);
    await cache.addAll(FILES.map(request));
    // A library kept by an earlier version stays kept when it is unchanged.
    for (const file of LATER) {
      const kept = await caches.match(file);
      if (kept) await cache.put(file, kept);
    }
    await self.skipWaiting();
  })());
});

self.addEventListener("activate", (event) => {
  event.waitUntil(
    caches.keys()
      .then((names) => Promise.all(names.filter((name) => name.startsWith("corvane-site-") && name !== CACHE).map((name) => caches.delete(name))))
      .then(() => self.clients.claim()),
  );
});

const scoped = (files) => new Set(files.map((file) => new URL(file, self.registration.scope).href));
const KEPT = scoped(FILES);
const KEPT_LATER = scoped(LATER);

// The cache opened once per start of this worker, not once per request.
let opened = null;
const kept = () => (opened ??= caches.open(CACHE));

async function fromCache(request, url) {
  const cached = await (await kept()).match(url);
  return cached || fetch(request);
}

async function keptOrFetched(request, url) {
  const cache = await kept();
  const cached = await cache.match(url);
  if (cached) return cached;
  const response = await fetch(request);
  if (response.ok) await cache.put(url, response.clone());
  return response;
}

// Only the site's own files come from the cache; anything else (a test's
// relay) goes to the network untouched.
self.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET") return;
  const url = new URL(request.url);
  url.search = "";
  // A page address with a query ("?demo"), or ending in index.html, is still the one page.
  if (request.mode === "navigate" && (url.href === self.registration.scope || url.href === `${self.registration.scope}index.html`)) {
    event.respondWith(fromCache(request, self.registration.scope));
  } else if (KEPT.has(url.href)) {
    event.respondWith(fromCache(request, url.href));
  } else if (KEPT_LATER.has(url.href)) {
    event.respondWith(keptOrFetched(request, url.href));
  }
});
