// The command table of the core (src/session/CommandTable.h) as the page
// sees it: the same commands, texts and enabled rule as the desktop's.

// In the order of the core's enum; loadCommands checks it.
export enum Command {
  Exit, Write, Read, AutoDetect, NewFile, OpenWorkbook, SaveWorkbook, Setup, Group, OpenImage, SaveImage, ExportCsv,
  ImportCsv, OpenFolder, ExportWorkingSet, ImportWorkingSet, Backups, Undo, Redo, Copy, Paste, ChoosePort, SelectPort,
  VerifyAfterWrite, ModeDefault, ModeCustom, Help, PrintChannelList, DiagnoseConnection,
  CompareWithRadio, CompareWithImageFile, ShowChangesBeforeWrite, ProgramSeveralRadios,
  RecoverUnsaved, // the desktop's; not in the page's menus
}

export interface CommandSpec {
  id: Command;
  menuName: string; // designer name (data-name); ChoosePort's is the prefix of each port's
  menuCaption: string;
  toolbarKey: string; // designer key (data-key)
  toolbarCaption: string;
  toolTip: string;
  icon: string;
  shortcuts: string;
  checkable: boolean;
}

export const SEPARATOR = -1;

export interface MenuSpec {
  name: string;
  caption: string;
  entries: (Command | typeof SEPARATOR)[];
}

export interface CommandTable {
  commands: CommandSpec[];
  menus: MenuSpec[];
  toolbar: (Command | typeof SEPARATOR)[];
}

export interface CommandState {
  portInUse: boolean;
  transferLocked: boolean;
  linkReady: boolean;
  canUndo: boolean;
  canRedo: boolean;
  readOnly: boolean;
}

export interface CommandCore {
  commandTable(): CommandTable;
  commandsEnabled(state: CommandState): boolean[];
}

export function loadCommands(core: CommandCore): CommandTable {
  const table = core.commandTable();
  const names = Object.keys(Command).filter((key) => Number.isNaN(Number(key)));
  if (table.commands.length !== names.length || table.commands.some((spec, index) => spec.id !== index)) {
    throw new Error("The page's commands do not match the core's.");
  }
  return table;
}
