// What the page checks of its browser before it looks at a port: Web Serial
// exists only in some browsers, only in a secure context, and reaches only
// the ports the browser still lets this page use.

export interface BrowserFinding {
  id: "insecure-context" | "no-web-serial" | "permission-lost" | "no-port";
  finding: string;
  fix: string;
}

// Said by Port > Select Port... too.
export const NO_WEB_SERIAL = "This browser has no Web Serial: use Chrome, Edge or Opera.";

export interface BrowserFacts {
  secureContext: boolean;
  webSerial: boolean;
  grantedPorts: number;
  // The page had chosen a port before (kept in the browser's storage).
  hadPort: boolean;
}

const FINDINGS: Record<BrowserFinding["id"], Omit<BrowserFinding, "id">> = {
  "insecure-context": {
    finding: "This page is not in a secure context: Web Serial works only on https:// or on http://localhost.",
    fix: "Open the page from its https:// address, or from http://localhost on this computer.",
  },
  "no-web-serial": {
    finding: NO_WEB_SERIAL,
    fix: "Firefox, Safari and browsers on phones do not let a page use a serial port: open this page in Chrome, Edge or Opera on a computer.",
  },
  "permission-lost": {
    finding: "The browser no longer lets this page use the port it had chosen.",
    fix: "Plug the cable in. If its port does not come back, choose Port > Select Port... and pick the cable again: the browser forgets the permission when the site's data is cleared or the permission is removed in its site settings (the icon left of the address).",
  },
  "no-port": {
    finding: "No serial port has been chosen for this page.",
    fix: "Plug the programming cable in, choose Port > Select Port... and pick it; the browser asks once and remembers it.",
  },
};

function finding(id: BrowserFinding["id"]): BrowserFinding {
  return { id, ...FINDINGS[id] };
}

// Before the port list is read: what keeps the page from serial ports at all.
export function checkSerialAccess(facts: Pick<BrowserFacts, "secureContext" | "webSerial">): BrowserFinding | null {
  // A page outside a secure context has no navigator.serial in any browser: say why first.
  if (!facts.secureContext) return finding("insecure-context");
  if (!facts.webSerial) return finding("no-web-serial");
  return null;
}

export function checkBrowser(facts: BrowserFacts): BrowserFinding | null {
  const access = checkSerialAccess(facts);
  if (access) return access;
  if (facts.grantedPorts > 0) return null;
  return finding(facts.hadPort ? "permission-lost" : "no-port");
}
