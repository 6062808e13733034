// File > Compare with Radio... and Compare with Image File..., and Down
// with the Port menu's "Show Changes before Write": the core compares, the
// compare window shows; the working set is never changed by a compare.
import type { CoreModule, ProgramSession } from "./core.js";
import { pickFile } from "./files/transfer.js";
import { showCompareWindow } from "./ui/compare-window.js";

// Per user, like the desktop's: kept by the browser, off until ticked.
const SHOW_CHANGES_KEY = "corvane.showChangesBeforeWrite";

export interface CompareHost {
  readonly session: ProgramSession;
  message(text: string): Promise<void>;
  // The engine's deadline may have moved.
  wake(): void;
}

export class CompareCommands {
  private pending: "none" | "look" | "beforeWrite" = "none";

  constructor(private readonly core: CoreModule, private readonly host: CompareHost, private readonly store: Storage) {}

  get showChangesBeforeWrite(): boolean {
    return this.store.getItem(SHOW_CHANGES_KEY) === "1";
  }

  set showChangesBeforeWrite(on: boolean) {
    if (on) this.store.setItem(SHOW_CHANGES_KEY, "1");
    else this.store.removeItem(SHOW_CHANGES_KEY);
  }

  compareWithRadio(): void {
    const { session } = this.host;
    if (session.portInUse()) return;
    if (!session.connected()) {
      void this.host.message(`No radio answers on COM${session.portName()}: connect it, choose its port and try again.`);
      return;
    }
    this.pending = "look";
    session.requestCompareRead();
    this.host.wake();
  }

  async compareWithImageFile(): Promise<void> {
    const file = await pickFile(".img");
    if (!file) return;
    const texts = this.core.compareTexts();
    const comparison = this.core.compareWithImage(this.host.session, file.bytes, texts.file);
    if (!comparison.ok) {
      await this.host.message(`${file.name}: ${comparison.message}`);
      return;
    }
    await showCompareWindow(`Compare with Image File - ${file.name}`, comparison, texts.file, texts, false);
  }

  // Down: with Show Changes before Write the radio is read first.
  write(): void {
    const { session } = this.host;
    if (!this.showChangesBeforeWrite) {
      session.requestWrite();
      return;
    }
    if (!session.connected() || session.portInUse()) return;
    this.pending = "beforeWrite";
    session.requestCompareRead();
  }

  async imageForCompare(image: Uint8Array): Promise<void> {
    const purpose = this.pending;
    this.pending = "none";
    if (purpose === "none") return;
    const texts = this.core.compareTexts();
    const comparison = this.core.compareWithImage(this.host.session, image, texts.radio);
    if (!comparison.ok) {
      await this.host.message(comparison.message);
      return;
    }
    const beforeWrite = purpose === "beforeWrite";
    if (beforeWrite && comparison.rows.length === 0) {
      await this.host.message(texts.nothingToWrite);
      return;
    }
    const caption = beforeWrite ? "Show Changes before Write" : "Compare with Radio";
    if (await showCompareWindow(caption, comparison, texts.radio, texts, beforeWrite)) {
      this.host.session.requestWrite();
      this.host.wake();
    }
  }
}
