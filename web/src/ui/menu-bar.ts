// A window's menu bar: menus open on click or Alt and their access key,
// close on Escape, a click elsewhere or a chosen item.
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

export class MenuBar {
  readonly element: HTMLElement;
  private readonly menus = new Map<string, { button: HTMLButtonElement; popup: HTMLElement }>();
  private readonly keys = new Map<string, string>();
  private openName = "";

  constructor(specs: MenuSpec[]) {
    this.element = el("nav", { class: "menubar", role: "menubar", "aria-label": "Menu" });
    for (const spec of specs) this.addMenu(spec);
    document.addEventListener("click", (event) => {
      if (!this.element.contains(event.target as Node)) this.close();
    });
    document.addEventListener("keydown", (event) => {
      if (event.key === "Escape") this.close();
      if (!event.altKey || event.ctrlKey || event.metaKey) return;
      const name = this.keys.get(event.key.toLowerCase());
      if (!name || this.element.closest("[hidden]")) return;
      event.preventDefault();
      this.open(name);
    });
  }

  // Replaces the items of a menu (the Port menu follows the granted ports).
  setItems(menuName: string, items: MenuEntry[]): void {
    const menu = this.menus.get(menuName);
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
    if (!this.openName) return;
    const menu = this.menus.get(this.openName);
    if (menu) {
      menu.popup.hidden = true;
      menu.button.setAttribute("aria-expanded", "false");
    }
    this.openName = "";
  }

  private open(name: string): void {
    const wasOpen = this.openName === name;
    this.close();
    if (wasOpen) return;
    const menu = this.menus.get(name);
    if (!menu) return;
    menu.popup.hidden = false;
    menu.button.setAttribute("aria-expanded", "true");
    this.openName = name;
    menu.popup.querySelector<HTMLButtonElement>("button:not([disabled])")?.focus();
  }

  private addMenu(spec: MenuSpec): void {
    const { nodes, key } = captionWithKey(spec.caption);
    const button = el("button", { type: "button", role: "menuitem", "data-name": spec.name, "aria-haspopup": "menu", "aria-expanded": "false" }, ...nodes);
    const popup = el("div", { class: "menu", role: "menu", hidden: true, "aria-label": spec.caption.replace("&", "") });
    popup.append(...spec.items.map((item) => this.itemElement(item)));
    button.addEventListener("click", () => this.open(spec.name));
    this.element.append(el("div", { class: "menu-title", role: "none" }, button, popup));
    this.menus.set(spec.name, { button, popup });
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
      disabled: !item.action,
    }, ...nodes);
    const action = item.action;
    if (action) {
      button.addEventListener("click", () => {
        this.close();
        action();
      });
    }
    return button;
  }
}
