// "?demo": a simulated radio behind the standard Web Serial interface. The
// radio is the simulator's own protocol code (DemoRadio, compiled from
// tools/radio-sim); the page reaches it exactly as it reaches a real port.
import type { CoreModule, DemoRadio } from "./core.js";
import { DEMO_RADIO_MEMORY } from "./storage.js";
import type { Ticker } from "./ticker.js";

const TICK_KEY = "demo-radio";

class DemoPort extends EventTarget implements SerialPort {
  readable: ReadableStream<Uint8Array> | null = null;
  writable: WritableStream<Uint8Array> | null = null;
  private output: ReadableStreamDefaultController<Uint8Array> | null = null;

  constructor(private readonly radio: DemoRadio, private readonly ticker: Ticker, private readonly onStored: () => void) {
    super();
    radio.setOutput((bytes) => this.output?.enqueue(bytes.slice()));
  }

  async open(options: SerialOptions): Promise<void> {
    if (this.readable) throw new DOMException("The port is already open.", "InvalidStateError");
    if (options.baudRate !== 2400) throw new DOMException("The demo radio talks at 2400 baud.", "InvalidStateError");
    this.readable = new ReadableStream<Uint8Array>({
      start: (controller) => {
        this.output = controller;
      },
      cancel: () => {
        this.output = null;
      },
    });
    this.writable = new WritableStream<Uint8Array>({
      write: (chunk) => {
        const before = this.radio.completedTransfers();
        this.radio.receive(chunk, performance.now());
        if (this.radio.completedTransfers() !== before) this.onStored();
        this.schedule();
      },
    });
  }

  async close(): Promise<void> {
    this.output = null;
    this.readable = null;
    this.writable = null;
  }

  async setSignals(): Promise<void> {}

  getInfo(): SerialPortInfo {
    return {};
  }

  private schedule(): void {
    const next = this.radio.nextDeadline();
    if (next < 0) {
      this.ticker.cancel(TICK_KEY);
      return;
    }
    this.ticker.at(TICK_KEY, next, () => {
      const before = this.radio.completedTransfers();
      this.radio.tick(performance.now());
      if (this.radio.completedTransfers() !== before) this.onStored();
      this.schedule();
    });
  }
}

class DemoSerial extends EventTarget implements Serial {
  constructor(private readonly port: DemoPort) {
    super();
  }

  async getPorts(): Promise<SerialPort[]> {
    return [this.port];
  }

  async requestPort(): Promise<SerialPort> {
    return this.port;
  }
}

// Puts the demo radio in place of navigator.serial. onStored runs when the
// radio took an image into its memory (so the page can keep it).
export function installDemoRadio(core: CoreModule, ticker: Ticker, onStored: () => void): void {
  const radio = new core.DemoRadio(DEMO_RADIO_MEMORY);
  const serial = new DemoSerial(new DemoPort(radio, ticker, onStored));
  Object.defineProperty(navigator, "serial", { value: serial, configurable: true });
}
