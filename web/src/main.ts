// Start: the access-code window at once, then the core module, the stored
// files, the demo radio when asked for ("?demo") and the program behind the
// window, or the channels read-only when another tab of the site already
// edits. The code can be typed while the core compiles, the program's
// modules load and the stored files are read, none of which waits for
// another; the service worker is registered only once the program runs.
import { loadCore } from "./core.js";
import { claimEditing, whenEditingFree } from "./editing-lock.js";
import { keepForOffline } from "./offline.js";
import { OriginStorage } from "./storage.js";
import { AccessCodeDialog } from "./ui/access-code-dialog.js";

const ICONS = new URL("../icons", import.meta.url).href;

async function main(): Promise<void> {
  const root = document.getElementById("app");
  if (!root) return;
  performance.mark("corvane-main");
  const password = new AccessCodeDialog(ICONS);
  root.append(password.element);
  password.show();
  performance.mark("corvane-access-window");
  const loading = loadCore();
  const editing = claimEditing();
  // A tab that only shows the channels asks for no code.
  void editing.then((edits) => edits || password.hide());
  const stored = OriginStorage.read();
  stored.catch(() => undefined); // reported where it is awaited
  const [{ installDemoRadio }, { Program }, { Ticker }] = await Promise.all([
    import("./demo-serial.js"), import("./program.js"), import("./ticker.js"),
  ]);
  const core = await loading;
  performance.mark("corvane-core-loaded");
  const storage = new OriginStorage(core.FS);
  if (!(await editing)) storage.stopKeeping();
  await storage.load(stored);
  performance.mark("corvane-storage-loaded");
  const ticker = new Ticker();
  if (new URLSearchParams(location.search).has("demo")) {
    installDemoRadio(core, ticker, () => void storage.flush());
    document.body.classList.add("demo");
  }
  const program = new Program(core, storage, ticker, root, password);
  performance.mark("corvane-program-made");
  const started = (await editing) ? program.start() : program.startReadOnly(whenEditingFree());
  keepForOffline();
  await started;
}

main().catch((error: unknown) => {
  document.body.textContent = `Corvane PC Programmer could not start: ${String(error)}`;
});
