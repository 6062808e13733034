// Text1 and the pickers Combo1..Combo7: the editors that float over the
// grid's current cell. They only show, filter keys through the core and
// report; what an entry or a pick means is decided by the caller (the core).
import { el } from "./dom.js";

export const PICKER_COUNT = 7;
// Accessible names: the column each editor belongs to.
const PICKER_NAMES = ["CTCSS", "DCS", "Scan", "Band", "Power", "Scrambler", "Compander"];
const PICKER_VISIBLE_ITEMS = 20;

export interface TextEditorEvents {
  filterKey(code: number): number; // -1: swallowed
  enter(): void;
  escape(): void;
  // Tab and Shift+Tab: leave the cell sideways.
  tab(backwards: boolean): void;
}

// The frequency editor: a line of at most maxLength typed characters.
export class TextEditor {
  readonly element: HTMLInputElement;
  // The text and selection an input method's composition started on.
  private composing: { value: string; start: number; end: number } | null = null;

  constructor(maxLength: number, private readonly events: TextEditorEvents) {
    this.element = el("input", {
      type: "text",
      "data-name": "Text1",
      class: "cell-editor",
      maxlength: String(maxLength),
      autocomplete: "off",
      spellcheck: "false",
      "aria-label": "Frequency in MHz",
      hidden: true,
    });
    this.element.addEventListener("keydown", (event) => this.keyDown(event));
    // Paste and drop would bypass the key filter.
    this.element.addEventListener("paste", (event) => event.preventDefault());
    this.element.addEventListener("drop", (event) => event.preventDefault());
    // Text that comes without its keys (an input method, the touch keyboard,
    // dictation) goes through the key filter too.
    this.element.addEventListener("beforeinput", (event) => this.beforeInput(event));
    this.element.addEventListener("compositionstart", () => {
      const input = this.element;
      const start = input.selectionStart ?? input.value.length;
      this.composing = { value: input.value, start, end: input.selectionEnd ?? start };
    });
    this.element.addEventListener("compositionend", (event) => this.compositionEnd(event.data ?? ""));
    // Some text arrives with no beforeinput, or one that cannot be cancelled
    // (Chromium's text from a window without the focus, keyboards on Android):
    // what came through unfiltered is filtered where it landed.
    this.element.addEventListener("input", (event) => {
      if (!(event as InputEvent).isComposing && !this.composing) this.filterInPlace();
    });
  }

  get visible(): boolean {
    return !this.element.hidden;
  }
  get text(): string {
    return this.element.value;
  }

  // The cell's text opens all selected (typing replaces it), a typed character with the caret after it.
  open(text: string, selectAll: boolean): void {
    this.element.value = text;
    this.element.hidden = false;
    this.element.focus({ preventScroll: true });
    this.element.setSelectionRange(selectAll ? 0 : text.length, text.length);
  }

  hide(): void {
    this.element.hidden = true;
  }

  // The characters of a text as the key filter lets them through.
  private filtered(text: string): string {
    let out = "";
    for (const char of text) {
      const passed = this.events.filterKey(char.codePointAt(0) ?? 0);
      if (passed >= 0) out += String.fromCodePoint(passed);
    }
    return out;
  }

  // Puts text in place of the selection, as far as the length limit allows.
  private insert(text: string, value: string, start: number, end: number): void {
    const room = Math.max(0, this.element.maxLength - (value.length - (end - start)));
    const kept = text.slice(0, room);
    this.element.value = value.slice(0, start) + kept + value.slice(end);
    this.element.setSelectionRange(start + kept.length, start + kept.length);
  }

  private filterInPlace(): void {
    const input = this.element;
    const value = input.value;
    const passed = this.filtered(value);
    if (passed === value) return;
    const caret = this.filtered(value.slice(0, input.selectionEnd ?? value.length)).length;
    input.value = passed.slice(0, input.maxLength);
    input.setSelectionRange(caret, caret);
  }

  private beforeInput(event: InputEvent): void {
    if (!event.inputType.startsWith("insert") || event.inputType === "insertCompositionText" || event.isComposing) return;
    const text = event.data ?? event.dataTransfer?.getData("text/plain") ?? "";
    const passed = this.filtered(text);
    if (passed === text) return;
    event.preventDefault();
    const input = this.element;
    const start = input.selectionStart ?? input.value.length;
    this.insert(passed, input.value, start, input.selectionEnd ?? start);
  }

  // The composed text replaces what the composition started on, filtered.
  private compositionEnd(text: string): void {
    const before = this.composing;
    this.composing = null;
    if (!before) return;
    this.insert(this.filtered(text), before.value, before.start, before.end);
  }

  private keyDown(event: KeyboardEvent): void {
    // Keys that an input method is composing with are its own (Enter commits the composition).
    if (event.isComposing || event.keyCode === 229) return;
    if (event.key === "Enter") {
      event.preventDefault();
      this.events.enter();
      return;
    }
    if (event.key === "Escape") {
      event.preventDefault();
      this.events.escape();
      return;
    }
    if (event.key === "Tab") {
      event.preventDefault();
      this.events.tab(event.shiftKey);
      return;
    }
    if (event.key.length !== 1 || event.ctrlKey || event.metaKey || event.altKey) return;
    const typed = event.key.codePointAt(0) ?? 0;
    const passed = this.events.filterKey(typed);
    if (passed === typed) return;
    event.preventDefault();
    if (passed < 0) return;
    // A replaced character ("," becomes ".") obeys the length limit too.
    const input = this.element;
    const start = input.selectionStart ?? input.value.length;
    const end = input.selectionEnd ?? start;
    if (start === end && input.value.length >= input.maxLength) return;
    input.setRangeText(String.fromCodePoint(passed), start, end, "end");
  }
}

export interface PickerEvents {
  pick(picker: number, index: number): void;
  escape(): void;
  tab(backwards: boolean): void;
}

// A drop-down list shown open over the cell: arrows, Home/End and PgUp/PgDn
// move the highlight; only Enter or a click picks; Escape closes.
export class Picker {
  readonly element: HTMLElement;
  private options: HTMLElement[] = [];
  private active = 0;

  constructor(readonly number: number, private readonly events: PickerEvents) {
    this.element = el("div", {
      "data-name": `Combo${number}`,
      class: "cell-picker",
      role: "listbox",
      tabindex: "0",
      "aria-label": PICKER_NAMES[number - 1],
      hidden: true,
    });
    this.element.addEventListener("keydown", (event) => this.keyDown(event));
    this.element.addEventListener("click", (event) => {
      const option = (event.target as HTMLElement).closest<HTMLElement>("[role=option]");
      if (option) this.events.pick(this.number, Number(option.dataset.index));
    });
  }

  get visible(): boolean {
    return !this.element.hidden;
  }
  get highlighted(): number {
    return this.active;
  }

  // Entries as the core lists them; the preselection is not a pick.
  open(entries: readonly string[], index: number): void {
    if (!this.sameEntries(entries)) {
      this.options = entries.map((text, i) =>
        el("div", { role: "option", id: `Combo${this.number}-${i}`, "data-index": String(i), "aria-selected": "false" }, text));
      this.element.replaceChildren(...this.options);
    }
    this.element.hidden = false;
    this.highlight(index);
    this.element.focus({ preventScroll: true });
  }

  hide(): void {
    this.element.hidden = true;
  }

  visibleItems(): number {
    return Math.min(PICKER_VISIBLE_ITEMS, this.options.length);
  }

  private sameEntries(entries: readonly string[]): boolean {
    return entries.length === this.options.length && entries.every((text, i) => this.options[i].textContent === text);
  }

  private highlight(index: number): void {
    const clamped = Math.max(0, Math.min(this.options.length - 1, index));
    this.options[this.active]?.setAttribute("aria-selected", "false");
    this.active = clamped;
    const option = this.options[clamped];
    if (!option) return;
    option.setAttribute("aria-selected", "true");
    this.element.setAttribute("aria-activedescendant", option.id);
    // Scrolls the list only: the grid around it must not move.
    const list = this.element;
    if (option.offsetTop < list.scrollTop) list.scrollTop = option.offsetTop;
    else if (option.offsetTop + option.offsetHeight > list.scrollTop + list.clientHeight)
      list.scrollTop = option.offsetTop + option.offsetHeight - list.clientHeight;
  }

  private keyDown(event: KeyboardEvent): void {
    const page = this.visibleItems() - 1;
    const moves: Record<string, number> = {
      ArrowDown: this.active + 1, ArrowUp: this.active - 1, PageDown: this.active + page, PageUp: this.active - page,
      Home: 0, End: this.options.length - 1,
    };
    if (event.key in moves) {
      event.preventDefault();
      this.highlight(moves[event.key]);
    } else if (event.key === "Enter" || event.key === " ") {
      event.preventDefault();
      this.events.pick(this.number, this.active);
    } else if (event.key === "Escape") {
      event.preventDefault();
      this.events.escape();
    } else if (event.key === "Tab") {
      event.preventDefault();
      this.events.tab(event.shiftKey);
    }
    event.stopPropagation();
  }
}
