// Runs the link engine's time: Service() whenever the clock reaches
// NextDeadline(), with the wake-ups timed by the ticker's worker.
import type { ProgramSession } from "./core.js";
import type { Ticker } from "./ticker.js";

const TICK_KEY = "link";

export class LinkRunner {
  constructor(private readonly session: ProgramSession, private readonly ticker: Ticker) {
    session.setWakeCallback(() => this.wake());
  }

  // The deadline may have moved: re-arm the wake-up.
  wake(): void {
    const next = this.session.nextDeadline();
    if (next < 0) this.ticker.cancel(TICK_KEY);
    else this.ticker.at(TICK_KEY, next, () => this.service());
  }

  private service(): void {
    this.session.service();
    this.wake();
  }
}
