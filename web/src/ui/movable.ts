// A floating window moved by dragging its title bar, as on the desktop. Its
// title bar always stays within the page, so it can be reached again.
const KEEP_VISIBLE = 40; // pixels of the title bar that stay on the page

export class Movable {
  private moved = false;

  constructor(private readonly window: HTMLElement, handle: HTMLElement) {
    handle.classList.add("drag-handle");
    handle.addEventListener("pointerdown", (event) => {
      if (event.button !== 0) return;
      event.preventDefault();
      const start = this.window.getBoundingClientRect();
      const grab = { x: event.clientX - start.left, y: event.clientY - start.top };
      handle.setPointerCapture(event.pointerId);
      const move = (e: PointerEvent) => this.moveTo(e.clientX - grab.x, e.clientY - grab.y);
      const stop = () => {
        handle.removeEventListener("pointermove", move);
        handle.removeEventListener("pointerup", stop);
        handle.removeEventListener("pointercancel", stop);
      };
      handle.addEventListener("pointermove", move);
      handle.addEventListener("pointerup", stop);
      handle.addEventListener("pointercancel", stop);
    });
  }

  // Where the window opens: at the right edge of the page, below `top`,
  // unless the user has moved it (then where it was left).
  placeAtRight(top: number, margin: number): void {
    if (this.moved) {
      const at = this.window.getBoundingClientRect();
      this.moveTo(at.left, at.top);
      return;
    }
    this.window.style.left = "auto";
    this.window.style.right = `${margin}px`;
    this.window.style.top = `${Math.max(0, Math.ceil(top) + margin)}px`;
  }

  private moveTo(left: number, top: number): void {
    const width = this.window.offsetWidth;
    const x = Math.min(Math.max(left, KEEP_VISIBLE - width), innerWidth - KEEP_VISIBLE);
    const y = Math.min(Math.max(top, 0), innerHeight - KEEP_VISIBLE);
    this.window.style.right = "auto";
    this.window.style.left = `${Math.round(x)}px`;
    this.window.style.top = `${Math.round(y)}px`;
    this.moved = true;
  }
}
