// The setup and group windows: each opens over the core's form rules, and
// after each action the page shows what the core decided, writes the
// changed files through to the browser storage and shows the messages.
import type { CoreModule, ProgramSession } from "./core.js";
import { formsCore, type FormsCore, type GroupCore, type GroupResult, type SetupCore, type SetupResult } from "./forms-core.js";
import type { OriginStorage } from "./storage.js";
import { GroupWindow } from "./ui/group-window.js";
import type { MessageBoxes } from "./ui/message-box.js";
import { SettingsWindow } from "./ui/settings-window.js";

const CUSTOM_MODE = 1;
const BEEP_HZ = 880;
const BEEP_SECONDS = 0.15;

export interface FormHost {
  // The frame hides while the setup window is open.
  showFrame(shown: boolean): void;
  // The channel table changed: the grid draws it again.
  channelsChanged(): void;
  // Where a window floating over the frame may start: below its toolbar.
  floatingTop(): number;
}

export class FormWindows {
  readonly elements: HTMLElement[];
  private readonly forms: FormsCore;
  private readonly setup: SettingsWindow;
  private readonly group: GroupWindow;
  private setupCore: SetupCore | null = null;
  private groupCore: GroupCore | null = null;
  private readonly keyDefineError: string;

  constructor(core: CoreModule, private readonly session: ProgramSession, private readonly storage: OriginStorage,
    private readonly messages: MessageBoxes, private readonly host: FormHost) {
    this.forms = formsCore(core);
    const setupLayout = this.forms.SettingsWindow.layout();
    this.keyDefineError = setupLayout.keyDefineError;
    this.setup = new SettingsWindow(setupLayout, {
      ok: (values) => this.finishSetup(this.setupCore?.pressOk(values)),
      reset: (values) => this.showSetup(this.setupCore?.pressReset(values)),
      exit: () => this.closeSetup(),
      textAccepted: (box, text) => this.forms.SettingsWindow.textAccepted(box, text),
    });
    this.group = new GroupWindow(this.forms.GroupWindow.layout(), {
      run: (action, values) => void this.showGroup(this.groupCore?.run(action, values), action),
      exit: () => this.closeGroup(),
    });
    this.elements = [this.setup.element, this.group.element];
  }

  // Toolbar "setup".
  openSetup(): void {
    if (!this.setupCore) {
      this.setupCore = new this.forms.SettingsWindow(this.session);
      const opened = this.setupCore.open();
      this.setup.show(opened.values);
      this.afterSave(opened.problem);
    }
    this.host.showFrame(false);
    this.setup.focusFirst();
  }

  // Toolbar "group": only in Custom mode.
  openGroup(): void {
    if (this.session.channelMode() !== CUSTOM_MODE) return;
    if (!this.groupCore) {
      this.groupCore = new this.forms.GroupWindow(this.session);
      const opened = this.groupCore.open();
      this.group.setTableCommandsEnabled(!this.session.portInUse());
      this.group.show(opened.values, this.host.floatingTop());
      void this.showGroup(opened, "");
    } else {
      this.group.element.querySelector<HTMLElement>("input")?.focus();
    }
  }

  // After an undo, a redo or a read: the group window shows the table as it is now.
  followWorkspace(): void {
    const result = this.groupCore?.followWorkspace();
    if (result) this.group.showValues(result.values);
  }

  // While a transfer or the detection holds the port.
  followPortInUse(inUse: boolean): void {
    this.group.setTableCommandsEnabled(!inUse);
  }

  // The group window exists only in Custom mode.
  followMode(mode: number): void {
    if (mode !== CUSTOM_MODE) this.closeGroup();
  }

  closeGroup(): void {
    if (!this.groupCore) return;
    const hadFocus = this.group.element.contains(document.activeElement);
    this.groupCore.delete();
    this.groupCore = null;
    this.group.hide();
    // A keyboard user goes on where the window was opened.
    if (hadFocus) document.querySelector<HTMLElement>("[data-key=group]")?.focus();
  }

  // Ending the program: the windows go without their closing steps' saves.
  closeAll(): void {
    this.closeGroup();
    if (this.setupCore) this.closeSetup();
  }

  private showSetup(result: SetupResult | undefined): void {
    if (!result) return;
    this.setup.showValues(result.values);
    this.afterSave(result.problem);
  }

  private finishSetup(result: SetupResult | undefined): void {
    if (!result) return;
    if (!result.stored) {
      this.setup.showValues(result.values);
      void this.messages.show(this.keyDefineError);
      return;
    }
    this.afterSave(result.problem);
    this.closeSetup();
  }

  // "Exit", "OK" or the end: the band plan, then the frame again.
  private closeSetup(): void {
    if (!this.setupCore) return;
    this.setupCore.close();
    this.setupCore.delete();
    this.setupCore = null;
    this.setup.hide();
    this.host.channelsChanged();
    this.host.showFrame(true);
    document.querySelector<HTMLElement>("[data-key=setup]")?.focus();
  }

  private async showGroup(result: GroupResult | undefined, action: string): Promise<void> {
    if (!result) return;
    this.group.showValues(result.values);
    if (action === "Command2" || action === "Command5") this.host.channelsChanged();
    void this.storage.flush();
    if (result.beep) beep();
    for (const text of result.messages) await this.messages.show(text);
    if (result.focusToneCode) this.group.focusToneCode();
  }

  private afterSave(problem: string): void {
    void this.storage.flush();
    if (problem) void this.messages.show(problem);
  }
}

// The computer's beep of a refused frequency.
function beep(): void {
  try {
    const audio = new AudioContext();
    const tone = audio.createOscillator();
    tone.frequency.value = BEEP_HZ;
    tone.connect(audio.destination);
    tone.start();
    tone.stop(audio.currentTime + BEEP_SECONDS);
    tone.onended = () => void audio.close();
  } catch {
    // No sound here: the message still tells.
  }
}
