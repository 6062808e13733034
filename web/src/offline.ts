// The service worker (built into sw.js) that keeps the site for use with no
// network. A page without one (an insecure origin) works as before.
import { siteUrl } from "./site.js";

export function keepForOffline(): void {
  if (!("serviceWorker" in navigator)) return;
  navigator.serviceWorker.register(siteUrl("sw.js")).catch((error: unknown) => {
    console.warn(`Offline use is not available: ${String(error)}`);
  });
}
