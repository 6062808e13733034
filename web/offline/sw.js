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

// Only the site's own files come from the cache; anything else (a test's
// relay, a later addition) goes to the network untouched.
const KEPT = new Set(FILES.map((file) => new URL(file, self.registration.scope).href));

self.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET") return;
  const url = new URL(request.url);
  url.search = "";
  // A page address with a query ("?demo") is still the one page.
  if (request.mode === "navigate" && url.href === self.registration.scope) {
    event.respondWith(caches.match("./", { cacheName: CACHE }).then((cached) => cached || fetch(request)));
  } else if (KEPT.has(url.href)) {
    event.respondWith(caches.match(url.href, { cacheName: CACHE }).then((cached) => cached || fetch(request)));
  }
});
