// Injected into the page before it loads: navigator.serial with the standard
// interface. A port with a relay sends its bytes to the test
// (window.__corvaneRelayWrite, in order) and receives the radio's bytes from a
// streaming response of the test's server (pushed as they come, without a
// round trip per chunk). window.__corvaneSerialLog records how the page opened
// the ports; window.__corvaneVanish(name) pulls a cable. A port given an
// openError refuses to open with that DOMException (another program holds
// it: "NetworkError"; gone meanwhile: "NotFoundError"), and
// window.__corvaneRevoke() takes every permission back, as a browser's site
// settings do. A port given echo: true sends every byte straight back, as a
// cable with TX and RX joined does, without the round trip through the test.
(() => {
  const config = window.__corvaneFakePorts || [];
  const log = [];
  window.__corvaneSerialLog = log;
  // [time, byte count] of every write, for the pacing figures.
  const writes = [];
  window.__corvaneWrites = writes;

  class FakePort extends EventTarget {
    constructor({ name, relay, openError, echo }, index) {
      super();
      this.echo = echo;
      this.name = name;
      this.relay = relay;
      this.openError = openError;
      this.abort = null;
      this.index = index;
      this.readable = null;
      this.writable = null;
      this.controller = null;
      this.gone = false;
    }
    getInfo() { return { usbVendorId: 0x0403, usbProductId: 0x6001 + this.index }; }
    async open(options) {
      if (this.gone) throw new DOMException("The device has been lost.", "NetworkError");
      if (this.readable) throw new DOMException("The port is already open.", "InvalidStateError");
      if (this.openError) throw new DOMException("Failed to open serial port.", this.openError);
      log.push({ port: this.name, event: "open", options });
      this.readable = new ReadableStream({
        start: (controller) => { this.controller = controller; },
        cancel: () => { this.controller = null; },
      });
      // Open once the relay is there, so an echo sent straight back is not lost.
      if (this.relay) await this.listen();
      this.writable = new WritableStream({
        write: async (chunk) => {
          if (this.gone) throw new DOMException("The device has been lost.", "NetworkError");
          writes.push([performance.now(), chunk.length]);
          if (this.echo) this.push(Array.from(chunk));
          // Taken at once, as an operating system's output buffer would; the relay keeps the order.
          if (this.relay) void window.__corvaneRelayWrite(this.relay, Array.from(chunk));
        },
      });
    }
    async setSignals(signals) { log.push({ port: this.name, event: "signals", signals }); }
    async listen() {
      this.abort = new AbortController();
      let response;
      try {
        response = await fetch(`/relay/${this.relay}`, { signal: this.abort.signal, cache: "no-store" });
      } catch {
        return; // closed
      }
      void (async () => {
        try {
          const reader = response.body.getReader();
          for (;;) {
            const { value, done } = await reader.read();
            if (done) break;
            this.push(value);
          }
        } catch {
          // closed
        }
      })();
    }
    async close() {
      this.abort?.abort();
      log.push({ port: this.name, event: "close" });
      this.readable = null;
      this.writable = null;
      this.controller = null;
    }
    push(bytes) {
      if (this.controller) this.controller.enqueue(new Uint8Array(bytes));
    }
    vanish() {
      this.gone = true;
      this.abort?.abort();
      if (this.controller) this.controller.error(new DOMException("The device has been lost.", "NetworkError"));
      this.controller = null;
      this.readable = null;
      this.writable = null;
    }
  }

  const ports = config.map((name, i) => new FakePort(name, i));
  let revoked = false;
  class FakeSerial extends EventTarget {
    async getPorts() { return revoked ? [] : ports.filter((p) => !p.gone); }
    async requestPort() {
      const port = ports.find((p) => !p.gone);
      if (!port) throw new DOMException("No port selected by the user.", "NotFoundError");
      return port;
    }
  }
  const serial = new FakeSerial();
  Object.defineProperty(Navigator.prototype, "serial", { get: () => serial, configurable: true });
  window.__corvaneRevoke = () => { revoked = true; };
  window.__corvaneVanish = (name) => {
    const port = ports.find((p) => p.name === name);
    port.vanish();
    serial.dispatchEvent(new Event("disconnect"));
  };
})();
