// Timers in a dedicated worker: a hidden tab throttles the window's timers
// to about once a second, a worker's are kept on time. The window asks for
// a wake-up after a delay; a new request under the same key replaces the old.
interface TimerRequest {
  key: string;
  delayMs: number; // below 0: cancel
}

const timers = new Map<string, ReturnType<typeof setTimeout>>();
const scope = self as unknown as { postMessage(message: string): void; onmessage: ((e: MessageEvent<TimerRequest>) => void) | null };

scope.onmessage = (event: MessageEvent<TimerRequest>) => {
  const { key, delayMs } = event.data;
  const previous = timers.get(key);
  if (previous !== undefined) clearTimeout(previous);
  timers.delete(key);
  if (delayMs < 0) return;
  timers.set(
    key,
    setTimeout(() => {
      timers.delete(key);
      scope.postMessage(key);
    }, delayMs),
  );
};
