// The page's service worker: every file of the site is kept in a cache on
// the first visit, so the page opens and runs with no network afterwards
// (the radio link never needs one). The build fills in the file list and a
// version that changes with any file, which replaces the cache.
const VERSION = "@VERSION@";
const FILES = @FILES@;
const CACHE = `corvane-site-${VERSION}`;

self.addEventListener("install", (event) => {
  event.waitUntil(
    caches.open(CACHE)
      .then((cache) => cache.addAll(FILES.map((file) => new Request(file, { cache: "reload" }))))
      .then(() => self.skipWaiting()),
  );
});

self.addEventListener("activate", (event) => {
  event.waitUntil(
    caches.keys()
      .then((names) => Promise.all(names.filter((name) => name.startsWith("corvane-site-") && name !== CACHE).map((name) => caches.delete(name))))
      .then(() => self.clients.claim()),
  );
});

self.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET" || new URL(request.url).origin !== self.location.origin) return;
  // A page address with a query ("?demo") is still the one page.
  const lookup = request.mode === "navigate" ? caches.match("./", { cacheName: CACHE, ignoreSearch: true }) : caches.match(request, { cacheName: CACHE, ignoreSearch: true });
  event.respondWith(lookup.then((cached) => cached || fetch(request)));
});
