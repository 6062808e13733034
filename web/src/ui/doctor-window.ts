// frmDoctor, "Diagnose Connection": the port chooser naming each granted
// port's cable, the checks as they run, then what is wrong and its fix.
import { el } from "./dom.js";

export interface DoctorWindowActions {
  diagnose(portIndex: number): void;
  closed(): void;
}

export class ConnectionDoctorWindow {
  readonly element: HTMLDialogElement;
  private readonly ports: HTMLSelectElement;
  private readonly step: HTMLElement;
  private readonly finding: HTMLElement;
  private readonly fix: HTMLElement;
  private readonly diagnoseButton: HTMLButtonElement;

  constructor(private readonly actions: DoctorWindowActions) {
    this.ports = el("select", { "data-name": "cboPort", id: "frmDoctor-port" });
    this.step = el("p", { "data-name": "lblStep", role: "status" });
    this.finding = el("p", { "data-name": "lblFinding", class: "doctor-finding" });
    this.fix = el("p", { "data-name": "lblFix" });
    this.diagnoseButton = el("button", { type: "button", "data-name": "cmdDiagnose" }, "Diagnose");
    const close = el("button", { type: "button", "data-name": "cmdClose" }, "Close");
    this.diagnoseButton.addEventListener("click", () => this.actions.diagnose(this.ports.selectedIndex));
    close.addEventListener("click", () => this.element.close());
    this.element = el(
      "dialog",
      { id: "frmDoctor", class: "window doctor", "aria-labelledby": "frmDoctor-title" },
      el("div", { class: "titlebar", id: "frmDoctor-title" }, "Diagnose Connection"),
      el("div", { class: "doctor-body" },
        el("label", { for: "frmDoctor-port" }, "Port: "), this.ports, this.step, this.finding, this.fix),
      el("div", { class: "message-buttons" }, this.diagnoseButton, close),
    );
    this.element.addEventListener("close", () => this.actions.closed());
  }

  open(portLabels: readonly string[], current: number): void {
    this.ports.replaceChildren(...portLabels.map((label) => el("option", {}, label)));
    this.ports.selectedIndex = current >= 0 ? current : 0;
    this.showStep("Choose the port the cable is on, then Diagnose.");
    this.showFinding(null);
    if (!this.element.isConnected) document.body.append(this.element);
    if (!this.element.open) this.element.showModal();
    this.diagnoseButton.focus();
  }

  get isOpen(): boolean {
    return this.element.open;
  }

  setRunning(running: boolean): void {
    this.diagnoseButton.disabled = running;
    this.ports.disabled = running;
  }

  showStep(text: string): void {
    this.step.textContent = text;
  }

  // The finding in the words every face shows, or none.
  showFinding(result: { id: string; finding: string; fix: string } | null): void {
    this.finding.textContent = result?.finding ?? "";
    this.fix.textContent = result ? `Fix: ${result.fix}` : "";
    if (result) this.element.dataset.diagnosis = result.id;
    else delete this.element.dataset.diagnosis;
  }
}
