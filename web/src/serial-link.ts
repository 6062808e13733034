// The engine's serial port over Web Serial. The engine calls synchronously;
// Web Serial answers with promises. So an open counts as open at once, bytes
// written meanwhile wait in the output queue (the engine waits for it to
// drain), and every port operation runs in order on one promise chain.
import type { SerialBridge } from "./core.js";

// 2400 baud, 8 data bits, no parity, 2 stop bits, no flow control.
export const LINK_OPTIONS: SerialOptions = { baudRate: 2400, dataBits: 8, stopBits: 2, parity: "none", flowControl: "none" };

// Errors a reader reports without losing the port: the bytes are lost, the line goes on.
const LINE_ERRORS = new Set(["BreakError", "FramingError", "ParityError", "BufferOverrunError"]);

export interface SerialLinkEvents {
  onBytes(bytes: Uint8Array): void;
  onLineError(): void;
  onFailure(reason: string): void;
  // The port did not open, with the browser's error (else onFailure is told).
  onOpenFailure?(error: unknown, reason: string): void;
}

// One opening of one port; a later open never sees the bytes of an earlier one.
class Opening {
  closed = false;
  ready = false;
  reader: ReadableStreamDefaultReader<Uint8Array> | null = null;
  readonly queue: Uint8Array[] = [];
  queuedBytes = 0;
  pumping = false;

  constructor(readonly port: SerialPort, readonly name: string) {}
}

export class SerialLink implements SerialBridge {
  private current: Opening | null = null;
  private chain: Promise<void> = Promise.resolve();

  constructor(
    // The port a device name stands for, and how to name it to the user.
    private readonly lookup: (device: string) => { port: SerialPort; label: string } | undefined,
    private events: SerialLinkEvents,
  ) {}

  // Who gets the port's bytes and failures: the link engine, or the
  // connection doctor while it has the port.
  setEvents(events: SerialLinkEvents): void {
    this.events = events;
  }

  open(device: string): string {
    this.close();
    const granted = this.lookup(device);
    if (!granted) return `cannot open ${device}: the port is not granted to this page`;
    const opening = new Opening(granted.port, granted.label);
    this.current = opening;
    this.chain = this.chain.then(() => this.start(opening));
    return "";
  }

  close(): void {
    const opening = this.current;
    if (!opening) return;
    this.current = null;
    opening.closed = true;
    opening.queue.length = 0;
    opening.queuedBytes = 0;
    this.chain = this.chain.then(() => this.stop(opening));
  }

  isOpen(): boolean {
    return this.current !== null;
  }

  write(bytes: Uint8Array): string {
    const opening = this.current;
    if (!opening) return "the serial port is closed";
    opening.queue.push(bytes);
    opening.queuedBytes += bytes.length;
    void this.pump(opening);
    return "";
  }

  bytesToWrite(): number {
    return this.current ? this.current.queuedBytes : 0;
  }

  discardBuffers(): void {
    // Bytes already handed to the browser cannot be called back; nothing else waits.
  }

  // The port of this opening went away (the browser's disconnect event).
  portRemoved(port: SerialPort): void {
    if (this.current?.port === port) this.fail(this.current, `${this.current.name}: the device went away`);
  }

  private async start(opening: Opening): Promise<void> {
    if (opening.closed) return;
    try {
      await opening.port.open(LINK_OPTIONS);
    } catch (error) {
      this.fail(opening, `cannot open ${opening.name}: ${describe(error)}`, error);
      return;
    }
    // A refused DTR does not stop the link.
    await opening.port.setSignals({ dataTerminalReady: true }).catch(() => undefined);
    opening.ready = true;
    void this.readLoop(opening);
    void this.pump(opening);
  }

  private async stop(opening: Opening): Promise<void> {
    if (!opening.ready) return;
    opening.ready = false;
    await opening.reader?.cancel().catch(() => undefined);
    await opening.port.close().catch(() => undefined);
  }

  private async readLoop(opening: Opening): Promise<void> {
    while (!opening.closed && opening.port.readable) {
      const reader = opening.port.readable.getReader();
      opening.reader = reader;
      try {
        for (;;) {
          const { value, done } = await reader.read();
          if (done || opening.closed) break;
          if (value && value.length > 0) this.events.onBytes(value);
        }
      } catch (error) {
        if (opening.closed) break;
        if (error instanceof DOMException && LINE_ERRORS.has(error.name)) {
          this.events.onLineError();
        } else {
          this.fail(opening, `${opening.name}: ${describe(error)}`);
          break;
        }
      } finally {
        reader.releaseLock();
        opening.reader = null;
      }
    }
    if (!opening.closed && !opening.port.readable) this.fail(opening, `${opening.name}: the device went away`);
  }

  private async pump(opening: Opening): Promise<void> {
    if (opening.pumping || !opening.ready) return;
    opening.pumping = true;
    try {
      while (!opening.closed && opening.queue.length > 0) {
        const writable = opening.port.writable;
        if (!writable) throw new Error("the device went away");
        const writer = writable.getWriter();
        try {
          const chunk = opening.queue[0];
          await writer.write(chunk);
          opening.queue.shift();
          opening.queuedBytes -= chunk.length;
        } finally {
          writer.releaseLock();
        }
      }
    } catch (error) {
      if (!opening.closed) this.fail(opening, `${opening.name}: writing failed: ${describe(error)}`);
    } finally {
      opening.pumping = false;
    }
  }

  private fail(opening: Opening, reason: string, openError?: unknown): void {
    if (opening.closed || this.current !== opening) return;
    this.current = null;
    opening.closed = true;
    opening.queue.length = 0;
    opening.queuedBytes = 0;
    this.chain = this.chain.then(() => this.stop(opening));
    if (openError !== undefined && this.events.onOpenFailure) this.events.onOpenFailure(openError, reason);
    else this.events.onFailure(reason);
  }
}

function describe(error: unknown): string {
  if (error instanceof Error) return error.message || error.name;
  return String(error);
}
