// The core's setup and group windows (src/web/FormWindows.h) as the page sees them.
import type { CoreModule, ProgramSession } from "./core.js";

export interface SetupValues {
  lists: number[]; // Combo1..Combo22: selected position, -1 for none
  boxes: boolean[]; // Check1..Check16
  powerControlEnabled: boolean;
  bandOption: number; // Option1..Option3, -1 for none
  bandEnabled: boolean;
  dtmfId: string;
  nameId: string;
  priChannel: string;
  priChannelEnabled: boolean;
}

export interface SetupLayout {
  caption: string;
  lists: { label: string; items: string[] }[];
  boxCaptions: string[];
  bandCaptions: string[];
  dtmfIdLength: number;
  nameIdLength: number;
  priChannelLength: number;
  keyDefineError: string;
}

export interface SetupResult {
  values: SetupValues;
  problem: string;
  stored?: boolean;
}

export interface SetupCore {
  open(): SetupResult;
  pressOk(values: SetupValues): SetupResult;
  pressReset(values: SetupValues): SetupResult;
  close(): void;
  delete(): void;
}

export interface GroupValues {
  freqStart: string; // Text1
  freqLast: string; // Text5
  frequency: string; // Text6
  target: number; // Option3..Option5
  freqDirection: number; // Option6, Option7
  band: number; // Option8, Option9
  scan: boolean; // Check1
  step: string; // Combo1
  toneKind: number; // Option1, Option2
  toneStart: string; // Text3
  toneLast: string; // Text4
  toneCode: string; // Text2
  toneStep: string; // Combo2
  toneDirection: number; // Option10, Option11
  groups: string[]; // Text7..Text16
  targetsEnabled: boolean;
  groupSetEnabled: boolean;
}

export interface GroupLayout {
  caption: string;
  frequencySteps: string[];
  toneSteps: string[];
  targetCaptions: string[];
  narrowCaption: string;
  channelBoxLength: number;
  toneCodeBoxLength: number;
  groupBoxLength: number;
  groupLetters: string[];
}

export interface GroupResult {
  values: GroupValues;
  messages: string[];
  beep: boolean;
  focusToneCode: boolean;
}

export interface GroupCore {
  open(): GroupResult;
  run(action: string, values: GroupValues): GroupResult;
  // Null when the group table is still what the window shows.
  followWorkspace(): GroupResult | null;
  delete(): void;
}

export interface FormsCore {
  SettingsWindow: { new (session: ProgramSession): SetupCore; layout(): SetupLayout; textAccepted(box: number, text: string): boolean };
  GroupWindow: { new (session: ProgramSession): GroupCore; layout(): GroupLayout };
}

export function formsCore(core: CoreModule): FormsCore {
  return core as unknown as FormsCore;
}
