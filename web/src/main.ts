// Start: the core module, the stored files, the demo radio when asked for
// ("?demo"), then the program with its access-code window. The core starts
// compiling before the program's modules are evaluated, and the service
// worker is registered only once the window shows, so neither waits for the
// other.
import { loadCore } from "./core.js";
import { keepForOffline } from "./offline.js";

async function main(): Promise<void> {
  const root = document.getElementById("app");
  if (!root) return;
  const loading = loadCore();
  const [{ installDemoRadio }, { Program }, { OriginStorage }, { Ticker }] = await Promise.all([
    import("./demo-serial.js"), import("./program.js"), import("./storage.js"), import("./ticker.js"),
  ]);
  const core = await loading;
  performance.mark("corvane-core-loaded");
  const storage = new OriginStorage(core.FS);
  await storage.load();
  performance.mark("corvane-storage-loaded");
  const ticker = new Ticker();
  if (new URLSearchParams(location.search).has("demo")) {
    installDemoRadio(core, ticker, () => void storage.flush());
    document.body.classList.add("demo");
  }
  const started = new Program(core, storage, ticker, root).start();
  keepForOffline();
  await started;
}

main().catch((error: unknown) => {
  document.body.textContent = `Corvane PC Programmer could not start: ${String(error)}`;
});
