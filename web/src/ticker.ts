// Wake-ups at points of the page clock (performance.now), timed by the
// worker in ticker-worker.ts so that they keep their pace in a hidden tab.
import { TICKER_WORKER, siteUrl } from "./site.js";

export class Ticker {
  private readonly worker: Worker;
  private readonly callbacks = new Map<string, () => void>();

  constructor() {
    this.worker = new Worker(siteUrl(TICKER_WORKER), { type: "module" });
    this.worker.onmessage = (event: MessageEvent<string>) => {
      const callback = this.callbacks.get(event.data);
      if (!callback) return;
      this.callbacks.delete(event.data);
      callback();
    };
  }

  // Runs callback once when the clock reaches atMs (at once when it has).
  at(key: string, atMs: number, callback: () => void): void {
    this.callbacks.set(key, callback);
    this.worker.postMessage({ key, delayMs: Math.max(0, atMs - performance.now()) });
  }

  cancel(key: string): void {
    if (!this.callbacks.delete(key)) return;
    this.worker.postMessage({ key, delayMs: -1 });
  }
}
