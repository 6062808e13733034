// A window's menu bar with the keyboard of a desktop menu bar: menus open on
// click, Alt and their access key, F10, or Enter, Space and the arrows on a
// title; Left and Right move between menus, Up, Down, Home and End within one,
// Enter and Space choose, Escape and Tab close. A closed menu gives the focus
// back to the window's own place for it (the grid's current cell).
import { captionWithKey, el } from "./dom.js";

export interface MenuItemSpec {
  name: string; // data-name: the designer name
  caption: string;
  action?: () => void; // none: shown disabled (not in this version yet)
  checkable?: boolean;
  title?: string; // a tool tip
}
export type MenuEntry = MenuItemSpec | "-";

export interface MenuSpec {
  name: string;
  caption: string;
  items: MenuEntry[];
}

interface Menu {
  name: string;
  button: HTMLButtonElement;
  popup: HTMLElement;
}

export class MenuBar {
  readonly element: HTMLElement;
  private readonly menus: Menu[] = [];
  private readonly keys = new Map<string, string>();
  private openName = "";

  // leave: where the focus goes when the menus are left.
  constructor(specs: MenuSpec[], private readonly leave: () => void = () => undefined) {
    this.element = el("nav", { class: "menubar", role: "menubar", "aria-label": "Menu" });
    for (const spec of specs) this.addMenu(spec);
    this.menus[0]?.button.setAttribute("tabindex", "0");
    document.addEventListener("click", (event) => {
      if (!this.element.contains(event.target as Node)) this.close();
    });
    document.addEventListener("keydown", (event) => {
      if (this.element.closest("[hidden]") || document.querySelector("dialog[open]:modal")) return;
      if (event.key === "F10" && !event.altKey && !event.ctrlKey && !event.metaKey && !event.shiftKey) {
        event.preventDefault();
        this.close();
        this.menus[0]?.button.focus();
        return;
      }
      if (!event.altKey || event.ctrlKey || event.metaKey) return;
      const name = this.keys.get(event.key.toLowerCase());
      if (!name) return;
      event.preventDefault();
      this.open(name, "first");
    });
    this.element.addEventListener("keydown", (event) => this.keyDown(event));
  }

  // Replaces the items of a menu (the Port menu follows the granted ports).
  setItems(menuName: string, items: MenuEntry[]): void {
    const menu = this.menu(menuName);
    if (!menu) return;
    menu.popup.replaceChildren(...items.map((item) => this.itemElement(item)));
  }

  setChecked(itemName: string, checked: boolean): void {
    const item = this.element.querySelector<HTMLElement>(`[data-name="${itemName}"]`);
    item?.setAttribute("aria-checked", String(checked));
  }

  // The item's caption, kept as one text (Undo names its step).
  setCaption(itemName: string, caption: string): void {
    const item = this.element.querySelector<HTMLButtonElement>(`[data-name="${itemName}"]`);
    if (item && item.textContent !== caption) item.textContent = caption;
  }

  setEnabled(itemName: string, enabled: boolean): void {
    const item = this.element.querySelector<HTMLButtonElement>(`[data-name="${itemName}"]`);
    if (item) item.disabled = !enabled;
  }

  close(): void {
    const menu = this.menu(this.openName);
    if (menu) {
      menu.popup.hidden = true;
      menu.button.setAttribute("aria-expanded", "false");
    }
    this.openName = "";
  }

  private menu(name: string): Menu | undefined {
    return this.menus.find((m) => m.name === name);
  }

  // A chosen item: the menu closes and the focus goes back before the
  // action runs, so a window or message the action opens takes it from there.
  private choose(action: () => void): void {
    this.close();
    this.leave();
    action();
  }

  private open(name: string, focus: "first" | "last" | "none"): void {
    const wasOpen = this.openName === name;
    this.close();
    if (wasOpen && focus === "none") return;
    const menu = this.menu(name);
    if (!menu) return;
    menu.popup.hidden = false;
    menu.button.setAttribute("aria-expanded", "true");
    this.openName = name;
    this.focusTitle(menu);
    const items = this.items(menu);
    (focus === "last" ? items[items.length - 1] : items[0])?.focus();
  }

  // The roving tab stop of the bar follows the focused title.
  private focusTitle(menu: Menu): void {
    for (const other of this.menus) other.button.setAttribute("tabindex", other === menu ? "0" : "-1");
    menu.button.focus();
  }

  private items(menu: Menu): HTMLButtonElement[] {
    return [...menu.popup.querySelectorAll<HTMLButtonElement>("button:not([disabled])")];
  }

  private keyDown(event: KeyboardEvent): void {
    if (event.altKey || event.ctrlKey || event.metaKey) return;
    const target = event.target as HTMLElement;
    const index = this.menus.findIndex((m) => m.button === target || m.popup.contains(target));
    if (index < 0) return;
    const menu = this.menus[index];
    const inPopup = menu.popup.contains(target);
    const beside = (step: number) => this.menus[(index + step + this.menus.length) % this.menus.length];
    const handled = inPopup ? this.popupKey(event.key, menu, target, beside) : this.titleKey(event.key, menu, beside);
    if (handled) {
      event.preventDefault();
      event.stopPropagation();
    }
  }

  private titleKey(key: string, menu: Menu, beside: (step: number) => Menu): boolean {
    switch (key) {
      case "ArrowRight": this.focusTitle(beside(1)); return true;
      case "ArrowLeft": this.focusTitle(beside(-1)); return true;
      case "Home": this.focusTitle(this.menus[0]); return true;
      case "End": this.focusTitle(this.menus[this.menus.length - 1]); return true;
      case "ArrowDown": case "Enter": case " ": this.open(menu.name, "first"); return true;
      case "ArrowUp": this.open(menu.name, "last"); return true;
      case "Escape": this.close(); this.leave(); return true;
      case "Tab": this.close(); this.leave(); return true;
      default: return false;
    }
  }

  private popupKey(key: string, menu: Menu, target: HTMLElement, beside: (step: number) => Menu): boolean {
    const items = this.items(menu);
    const at = items.indexOf(target as HTMLButtonElement);
    const focusItem = (i: number) => items[(i + items.length) % items.length]?.focus();
    switch (key) {
      case "ArrowDown": focusItem(at + 1); return true;
      case "ArrowUp": focusItem(at < 0 ? -1 : at - 1); return true;
      case "Home": focusItem(0); return true;
      case "End": focusItem(-1); return true;
      case "ArrowRight": this.open(beside(1).name, "first"); return true;
      case "ArrowLeft": this.open(beside(-1).name, "first"); return true;
      case "Enter": case " ": (target as HTMLButtonElement).click(); return true;
      case "Escape": case "Tab": this.close(); this.leave(); return true;
      default: return key.length === 1 && this.typed(key.toLowerCase(), items, at);
    }
  }

  // A letter chooses the item whose access key it is, else moves to the next
  // item that starts with it.
  private typed(letter: string, items: HTMLButtonElement[], at: number): boolean {
    const byKey = items.find((item) => item.querySelector("u")?.textContent?.toLowerCase() === letter);
    if (byKey) {
      byKey.click();
      return true;
    }
    for (let step = 1; step <= items.length; ++step) {
      const item = items[(at + step) % items.length];
      if (item.textContent?.trim().toLowerCase().startsWith(letter)) {
        item.focus();
        return true;
      }
    }
    return false;
  }

  private addMenu(spec: MenuSpec): void {
    const { nodes, key } = captionWithKey(spec.caption);
    const button = el("button", {
      type: "button", role: "menuitem", "data-name": spec.name, "aria-haspopup": "menu", "aria-expanded": "false", tabindex: "-1",
    }, ...nodes);
    const popup = el("div", { class: "menu", role: "menu", hidden: true, "aria-label": spec.caption.replace("&", "") });
    popup.append(...spec.items.map((item) => this.itemElement(item)));
    button.addEventListener("click", () => this.open(spec.name, "none"));
    // With a menu open, pointing at another title opens that one.
    button.addEventListener("pointerenter", () => {
      if (this.openName && this.openName !== spec.name) this.open(spec.name, "first");
    });
    this.element.append(el("div", { class: "menu-title", role: "none" }, button, popup));
    this.menus.push({ name: spec.name, button, popup });
    if (key) this.keys.set(key, spec.name);
  }

  private itemElement(item: MenuEntry): HTMLElement {
    if (item === "-") return el("hr", { role: "separator" });
    const { nodes } = captionWithKey(item.caption);
    const button = el("button", {
      type: "button",
      role: item.checkable ? "menuitemcheckbox" : "menuitem",
      "data-name": item.name,
      "aria-checked": item.checkable ? "false" : undefined,
      title: item.title,
      tabindex: "-1",
      disabled: !item.action,
    }, ...nodes);
    const action = item.action;
    if (action) button.addEventListener("click", () => this.choose(action));
    return button;
  }
}
