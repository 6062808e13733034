// Editing the channel table in the page: the grid's current cell and the
// keyboard, the cell editors over it, the Mode menu, New File and the Edit
// menu. Every rule and every write is the core's (EditSession); this keeps
// the cursor, shows the editors and routes events in the desktop's order.
import type { EditSession } from "./core.js";
import { PICKER_COUNT, Picker, TextEditor } from "./ui/cell-editors.js";
import type { GridView } from "./ui/grid-view.js";

const FIRST_ROW = 1;
const LAST_ROW = 255;
const LAST_COL = 10;
const ENTER_CODE = 13;
const MODE_DEFAULT = 0;
const MODE_CUSTOM = 1;

export interface EditingHost {
  // Shows one message (the frequency check's, a refused paste, a failed save).
  message(text: string): Promise<void>;
  beep(): void;
  // After the table, the mode or the edition changed: grid, caption, menus,
  // and the files written through to the browser storage.
  changed(): void;
  // Undo and Redo name their steps; whether they can run may have changed.
  undoRedoChanged(undoCaption: string, redoCaption: string): void;
  // A transfer or the detection holds the port: nothing replaces the table.
  portInUse(): boolean;
}

interface Cell {
  row: number;
  col: number;
}

export class Editing {
  private readonly text1: TextEditor;
  private readonly pickers: Picker[] = [];
  private current: Cell = { row: FIRST_ROW, col: 2 };
  private anchorRow = FIRST_ROW;
  private openedAt = { top: 0, left: 0 };
  private busy = false;

  constructor(private readonly session: EditSession, private readonly grid: GridView, private readonly host: EditingHost) {
    this.text1 = new TextEditor(session.maxLength(), {
      filterKey: (code) => session.filterKey(code),
      enter: () => void this.text1Enter(),
      escape: () => this.closeAndFocusGrid(),
      tab: (backwards) => void this.moveTo({ row: this.current.row, col: this.current.col + (backwards ? -1 : 1) }, false),
    });
    for (let number = 1; number <= PICKER_COUNT; ++number) {
      this.pickers.push(new Picker(number, {
        pick: (picker, index) => this.pick(picker, index),
        escape: () => this.closeAndFocusGrid(),
        tab: (backwards) => void this.moveTo({ row: this.current.row, col: this.current.col + (backwards ? -1 : 1) }, false),
      }));
    }
    const view = grid.element;
    view.append(this.text1.element, ...this.pickers.map((p) => p.element));
    grid.table.addEventListener("keydown", (event) => {
      if (event.target === grid.table) void this.gridKey(event);
    });
    view.addEventListener("click", (event) => {
      const cell = (event.target as HTMLElement).closest<HTMLElement>("[data-row]");
      if (!cell || !view.contains(cell)) return;
      const target = { row: Number(cell.dataset.row), col: Number(cell.dataset.col) };
      if (target.row < FIRST_ROW) return;
      void this.clickCell(target, event.shiftKey);
    });
    // Scrolling closes the editors; nothing is written.
    view.addEventListener("scroll", () => {
      if (view.scrollTop !== this.openedAt.top || view.scrollLeft !== this.openedAt.left) this.closeCellEditors();
    });
    this.showCurrent(false);
    this.refreshMenu();
  }

  // ---- what the frame calls ----

  // Hides every editor; an entry typed into Text1 is lost. The focus an
  // editor had goes back to the grid.
  closeCellEditors(): void {
    const hadFocus = [this.text1.element, ...this.pickers.map((p) => p.element)].includes(document.activeElement as HTMLElement);
    this.text1.hide();
    for (const picker of this.pickers) picker.hide();
    if (hadFocus) this.grid.table.focus({ preventScroll: true });
  }

  // A transfer locks the history.
  setLocked(locked: boolean): void {
    this.session.setLocked(locked);
    this.refreshMenu();
  }

  async selectMode(mode: number): Promise<void> {
    if (this.host.portInUse()) return;
    this.closeCellEditors();
    await this.afterAction(this.session.selectMode(mode === MODE_CUSTOM ? MODE_CUSTOM : MODE_DEFAULT));
  }

  async newFile(): Promise<void> {
    this.closeCellEditors();
    await this.afterAction(this.session.newFile());
  }

  async undo(): Promise<void> {
    this.closeCellEditors();
    await this.afterAction([this.session.undo()]);
  }

  async redo(): Promise<void> {
    this.closeCellEditors();
    await this.afterAction([this.session.redo()]);
  }

  // The selected channels, else the current one, with the title line.
  async copy(): Promise<void> {
    const [first, last] = this.selectedRows();
    const text = this.session.copyChannels(first, last);
    if (!text) return;
    try {
      await navigator.clipboard.writeText(text);
    } catch (error) {
      await this.host.message(`Copy: the browser did not let the page use the clipboard (${String(error)}).`);
    }
  }

  async paste(): Promise<void> {
    if (this.host.portInUse()) return;
    this.closeCellEditors();
    let text: string;
    try {
      text = await navigator.clipboard.readText();
    } catch (error) {
      await this.host.message(`Paste: the browser did not let the page read the clipboard (${String(error)}).`);
      return;
    }
    const result = this.session.paste(text, this.current.row);
    if (result.message) {
      await this.host.message(result.message);
      this.grid.table.focus({ preventScroll: true });
      return;
    }
    if (result.rows === 0) return;
    this.anchorRow = this.current.row;
    this.current = { row: Math.min(LAST_ROW, this.current.row + result.rows - 1), col: this.current.col };
    await this.afterAction([]);
    this.grid.table.focus({ preventScroll: true });
  }

  // Shows the core's table again (after a read, an undo, ...).
  refreshMenu(): void {
    const undo = this.session.undoName();
    const redo = this.session.redoName();
    this.host.undoRedoChanged(undo ? `Undo ${undo}` : "Undo", redo ? `Redo ${redo}` : "Redo");
  }

  // ---- the grid ----

  private async clickCell(target: Cell, extend: boolean): Promise<void> {
    if (this.busy) return;
    if (target.row !== this.current.row || target.col !== this.current.col) {
      if (!(await this.moveTo(target, extend))) return;
    }
    this.openForClick();
  }

  private async gridKey(event: KeyboardEvent): Promise<void> {
    if (this.busy) return;
    const { row, col } = this.current;
    const page = this.visibleRows();
    const ctrl = event.ctrlKey || event.metaKey;
    const moves: Record<string, Cell> = {
      ArrowDown: { row: row + 1, col }, ArrowUp: { row: row - 1, col },
      ArrowRight: { row, col: col + 1 }, ArrowLeft: { row, col: col - 1 },
      PageDown: { row: row + page, col }, PageUp: { row: row - page, col },
      Home: ctrl ? { row: FIRST_ROW, col: 0 } : { row, col: 0 },
      End: ctrl ? { row: LAST_ROW, col: LAST_COL } : { row, col: LAST_COL },
    };
    if (event.key in moves && !event.altKey) {
      event.preventDefault();
      await this.moveTo(moves[event.key], event.shiftKey);
      return;
    }
    if (ctrl || event.altKey) return;
    if (event.key === "Enter" || event.key === "F2" || event.key === " ") {
      event.preventDefault();
      // Enter reaches the grid as key code 13: Text1 opens on the cell's text.
      if (this.session.typingOpensEditor(row, col)) this.openTextEditor(ENTER_CODE);
      else this.openForClick();
      return;
    }
    if (event.key.length === 1) {
      event.preventDefault();
      if (this.session.typingOpensEditor(row, col)) this.openTextEditor(event.key.codePointAt(0) ?? 0);
    }
  }

  // Leaving the current cell commits Text1 (a refusal shows its message,
  // then the move goes on) and closes the pickers.
  private async moveTo(target: Cell, extend: boolean): Promise<boolean> {
    const next = {
      row: Math.max(FIRST_ROW, Math.min(LAST_ROW, target.row)),
      col: Math.max(0, Math.min(LAST_COL, target.col)),
    };
    await this.leaveCell();
    this.current = next;
    if (!extend) this.anchorRow = next.row;
    this.showCurrent(true);
    this.grid.table.focus({ preventScroll: true });
    return true;
  }

  private async leaveCell(): Promise<void> {
    if (this.text1.visible) {
      const message = this.session.commitOnLeave(this.text1.text);
      this.text1.hide();
      this.changedCells();
      if (message) {
        await this.refused(message);
        return;
      }
    }
    for (const picker of this.pickers) picker.hide();
  }

  private openForClick(): void {
    const { row, col } = this.current;
    const choice = this.session.editorFor(row, col);
    if (choice.kind === "text") this.openTextEditor(0);
    if (choice.kind === "picker") this.openPicker(choice.picker, choice.index);
  }

  private openTextEditor(keyCode: number): void {
    const { row, col } = this.current;
    const text = this.session.openTextEditor(row, col, keyCode);
    for (const picker of this.pickers) picker.hide();
    this.place(this.text1.element, true);
    this.text1.open(text, this.session.opensOnCellText(keyCode));
  }

  private openPicker(number: number, index: number): void {
    this.text1.hide();
    const picker = this.pickers[number - 1];
    for (const other of this.pickers) if (other !== picker) other.hide();
    picker.open(this.session.pickerEntries(number), index);
    this.place(picker.element, false);
    this.keepInView(picker.element);
  }

  // A list that would hang below the visible grid opens upwards instead.
  private keepInView(editor: HTMLElement): void {
    const view = this.grid.element;
    const bottom = view.scrollTop + view.clientHeight;
    if (editor.offsetTop + editor.offsetHeight <= bottom) return;
    const top = Math.max(view.scrollTop + this.grid.fixedSize().height, bottom - editor.offsetHeight);
    editor.style.top = `${top}px`;
  }

  private async text1Enter(): Promise<void> {
    const { row, col } = this.current;
    const message = this.session.commitOnEnter(row, col, this.text1.text);
    this.text1.hide();
    this.grid.table.focus({ preventScroll: true });
    this.changedCells();
    if (message) await this.refused(message);
  }

  private pick(number: number, index: number): void {
    const { row, col } = this.current;
    const written = this.session.pick(row, col, number, index);
    for (const picker of this.pickers) picker.hide();
    this.grid.table.focus({ preventScroll: true });
    if (written) this.changedCells();
  }

  private async refused(message: string): Promise<void> {
    this.busy = true;
    this.host.beep();
    await this.host.message(message);
    this.busy = false;
    this.grid.table.focus({ preventScroll: true });
  }

  private closeAndFocusGrid(): void {
    this.closeCellEditors();
    this.grid.table.focus({ preventScroll: true });
  }

  private changedCells(): void {
    this.host.changed();
    this.refreshMenu();
  }

  private async afterAction(problems: string[]): Promise<void> {
    this.host.changed();
    this.showCurrent(false);
    this.refreshMenu();
    for (const problem of problems) if (problem) await this.host.message(problem);
  }

  private selectedRows(): [number, number] {
    return [Math.min(this.anchorRow, this.current.row), Math.max(this.anchorRow, this.current.row)];
  }

  // Marks the current cell and the selected channels; keeps the cell in view.
  private showCurrent(scroll: boolean): void {
    for (const old of this.grid.table.querySelectorAll(".current, .selected")) {
      old.classList.remove("current", "selected");
      old.removeAttribute("aria-selected");
      old.removeAttribute("id");
    }
    const [first, last] = this.selectedRows();
    if (first !== last) {
      for (let row = first; row <= last; ++row) {
        const line = this.grid.cellElement(row, 0).parentElement;
        line?.classList.add("selected");
        line?.setAttribute("aria-selected", "true");
      }
    }
    const cell = this.grid.cellElement(this.current.row, this.current.col);
    cell.classList.add("current");
    cell.id = "grid-current";
    cell.setAttribute("aria-selected", "true");
    this.grid.table.setAttribute("aria-activedescendant", cell.id);
    if (scroll) this.scrollIntoView(cell);
  }

  private scrollIntoView(cell: HTMLElement): void {
    const view = this.grid.element;
    const fixed = this.grid.fixedSize();
    if (cell.offsetTop - fixed.height < view.scrollTop) view.scrollTop = cell.offsetTop - fixed.height;
    else if (cell.offsetTop + cell.offsetHeight > view.scrollTop + view.clientHeight)
      view.scrollTop = cell.offsetTop + cell.offsetHeight - view.clientHeight;
    if (this.current.col < 2) return; // the fixed columns never scroll away
    if (cell.offsetLeft - fixed.width < view.scrollLeft) view.scrollLeft = cell.offsetLeft - fixed.width;
    else if (cell.offsetLeft + cell.offsetWidth > view.scrollLeft + view.clientWidth)
      view.scrollLeft = cell.offsetLeft + cell.offsetWidth - view.clientWidth;
  }

  private visibleRows(): number {
    const cell = this.grid.cellElement(this.current.row, 0);
    const height = cell.offsetHeight || 16;
    return Math.max(1, Math.floor((this.grid.element.clientHeight - this.grid.fixedSize().height) / height) - 1);
  }

  // An editor over the current cell, inside the grid's scrolling area.
  private place(editor: HTMLElement, takeCellHeight: boolean): void {
    const cell = this.grid.cellElement(this.current.row, this.current.col);
    this.scrollIntoView(cell);
    const view = this.grid.element;
    this.openedAt = { top: view.scrollTop, left: view.scrollLeft };
    editor.style.left = `${cell.offsetLeft}px`;
    editor.style.top = `${cell.offsetTop}px`;
    editor.style.width = `${cell.offsetWidth}px`;
    editor.style.height = takeCellHeight ? `${cell.offsetHeight}px` : "";
  }
}
