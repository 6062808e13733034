// Start: the core module, the stored files, the demo radio when asked for
// ("?demo"), then the program with its access-code window.
import { loadCore } from "./core.js";
import { installDemoRadio } from "./demo-serial.js";
import { keepForOffline } from "./offline.js";
import { Program } from "./program.js";
import { OriginStorage } from "./storage.js";
import { Ticker } from "./ticker.js";

async function main(): Promise<void> {
  const root = document.getElementById("app");
  if (!root) return;
  keepForOffline();
  const core = await loadCore();
  performance.mark("corvane-core-loaded");
  const storage = new OriginStorage(core.FS);
  await storage.load();
  performance.mark("corvane-storage-loaded");
  const ticker = new Ticker();
  if (new URLSearchParams(location.search).has("demo")) {
    installDemoRadio(core, ticker, () => void storage.flush());
    document.body.classList.add("demo");
  }
  await new Program(core, storage, ticker, root).start();
}

main().catch((error: unknown) => {
  document.body.textContent = `Corvane PC Programmer could not start: ${String(error)}`;
});
