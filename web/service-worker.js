// Keeps every file of one version of the page, so that after one visit the game starts and
// plays with no network. A new version (the build stamps its own below) is fetched into a
// cache of its own in the background and serves only from the next start on, when no page
// of the old one is open any more: the files of two versions are never mixed.
const VERSION = '@VORNEL_PAGE_VERSION@';
const CACHE = 'vornel-' + VERSION;
const FILES = ['./', 'index.html', 'vornel.js', 'vornel.wasm', 'vornel.data', 'manifest.webmanifest',
  'icons/vornel-32.png', 'icons/vornel-192.png', 'icons/vornel-512.png', 'icons/vornel-maskable-512.png'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES.map((file) => new Request(file, { cache: 'reload' })))));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys().then((names) => Promise.all(
    names.filter((name) => name.startsWith('vornel-') && name !== CACHE).map((name) => caches.delete(name)))));
});

// The page's own files come from this version's cache (an address with a query is the page
// itself); anything else, a demo to watch for one, from the network.
self.addEventListener('fetch', (event) => {
  const url = new URL(event.request.url);
  if (event.request.method !== 'GET' || url.origin !== location.origin) return;
  const scope = new URL(self.registration.scope);
  const path = url.pathname.startsWith(scope.pathname) ? url.pathname.slice(scope.pathname.length) : null;
  const file = path === '' ? './' : path;
  if (file === null || !FILES.includes(file)) return;
  event.respondWith(caches.open(CACHE).then((cache) => cache.match(file)).then((kept) => kept || fetch(event.request)));
});
