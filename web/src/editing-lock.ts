// Exactly one tab of the site edits: it holds a Web Lock for as long as it
// lives. Another tab shows the channels read-only until the lock is free.
const EDITING_LOCK = "corvane-editing";

// Resolves true when this tab now edits, false when another tab does. A
// browser without Web Locks has one editor per tab, as before.
export function claimEditing(): Promise<boolean> {
  if (!navigator.locks) return Promise.resolve(true);
  return new Promise((resolve) => {
    navigator.locks
      .request(EDITING_LOCK, { ifAvailable: true }, (lock) => {
        resolve(lock !== null);
        // Held until the tab goes.
        return lock ? new Promise<void>(() => undefined) : undefined;
      })
      .catch(() => resolve(true));
  });
}

// Resolves once the editing tab has gone and this tab holds the lock.
export function whenEditingFree(): Promise<void> {
  return new Promise((resolve) => {
    void navigator.locks?.request(EDITING_LOCK, () => {
      resolve();
      return new Promise<void>(() => undefined);
    });
  });
}
