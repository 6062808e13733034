// Every message as a modal dialog titled "Corvane PC Programmer" with one
// OK button; the transfer completions carry the exclamation mark. Messages
// that come while one is open wait their turn.
import type { MessageKind } from "../core.js";
import { el } from "./dom.js";

export const MESSAGE_TITLE = "Corvane PC Programmer";

const ICONS: Record<MessageKind, string> = { information: "i", exclamation: "!", warning: "!" };

export class MessageBoxes {
  private queue: Promise<void> = Promise.resolve();

  // home: where the focus goes after OK when the control that had it is gone
  // (hidden, removed, or there was none).
  constructor(private readonly home: () => void = () => undefined) {}

  show(text: string, kind: MessageKind = "information"): Promise<void> {
    this.queue = this.queue.then(() => this.open(text, kind));
    return this.queue;
  }

  private open(text: string, kind: MessageKind): Promise<void> {
    return new Promise((resolve) => {
      const ok = el("button", { type: "submit", "data-name": "OK", autofocus: true }, "OK");
      const dialog = el(
        "dialog",
        { "data-name": "MessageBox", "data-kind": kind, "aria-labelledby": "message-title" },
        el("form", { method: "dialog" },
          el("h2", { class: "titlebar", id: "message-title" }, MESSAGE_TITLE),
          el("div", { class: "message-body" },
            el("span", { class: `message-icon ${kind}`, "aria-hidden": "true" }, ICONS[kind]),
            el("p", { "data-name": "Text" }, text)),
          el("div", { class: "message-buttons" }, ok)),
      );
      const before = document.activeElement as HTMLElement | null;
      dialog.addEventListener("close", () => {
        dialog.remove();
        if (before && before !== document.body && before.isConnected && before.checkVisibility()) before.focus({ preventScroll: true });
        else this.home();
        resolve();
      });
      document.body.append(dialog);
      dialog.showModal();
      ok.focus();
    });
  }
}
