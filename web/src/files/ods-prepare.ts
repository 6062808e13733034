// An OpenDocument spreadsheet made ready for SheetJS, which reads three
// things in it otherwise than the desktop program: it refuses a file without
// styles.xml or a manifest (programs that write ODS by hand leave them out),
// it turns dates into serial numbers its own way (one day short before March
// 1900, to the millisecond), and it reads _xHHHH_ in texts as an escape,
// which ODS does not have.
import { fflate } from "./fflate.js";

// The core's serial number of an ODS date or duration; null for neither.
export type OdsSerial = (valueType: "date" | "time", text: string) => number | null;

const ODS_MIMETYPE = "mimetypeapplication/vnd.oasis.opendocument.spreadsheet";
const EMPTY_MANIFEST = '<?xml version="1.0" encoding="UTF-8"?><manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" manifest:version="1.2"/>';
const EMPTY_ODS_STYLES = '<?xml version="1.0" encoding="UTF-8"?><office:document-styles xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" office:version="1.2"/>';

// A cell's start tag (attribute values may hold ">"), and its attributes.
const CELL_TAG = /<table:(?:covered-)?table-cell\b(?:[^>"']|"[^"]*"|'[^']*')*>/g;
const ATTRIBUTE = /([\w.-]+(?::[\w.-]+)?)\s*=\s*(?:"([^"]*)"|'([^']*)')/g;
// The underscore of a literal _xHHHH_, spelled as the escape of itself.
const LITERAL_ESCAPE = /_(?=x[0-9A-Fa-f]{4}_)/g;
const ESCAPED_UNDERSCORE = "_x005F_";
const TEXT = />([^<]+)</g;
const DATE_ATTRIBUTES = new Set(["office:value-type", "calcext:value-type", "office:date-value", "office:time-value"]);

function rewriteCell(tag: string, serial: OdsSerial): string {
  const dated = /value-type\s*=\s*["'](?:date|time)["']/.test(tag);
  if (!dated && !/_x[0-9A-Fa-f]{4}_/.test(tag)) return tag;
  // Values keep their XML spelling; a single-quoted one may hold a double quote.
  const attributes = [...tag.matchAll(ATTRIBUTE)].map((m) => ({ name: m[1] ?? "", value: m[2] ?? (m[3] ?? "").replace(/"/g, "&quot;") }));
  const type = attributes.find((a) => a.name === "office:value-type")?.value;
  const isDate = type === "date" || type === "time";
  let added = "";
  if (isDate) {
    const text = attributes.find((a) => a.name === (type === "date" ? "office:date-value" : "office:time-value"))?.value ?? "";
    const value = serial(type, text);
    if (value === null) return tag;
    added = ` office:value-type="float" calcext:value-type="float" office:value="${value}"`;
  }
  const kept = attributes.filter((a) => !isDate || !DATE_ATTRIBUTES.has(a.name));
  const name = tag.startsWith("<table:covered") ? "table:covered-table-cell" : "table:table-cell";
  const spelled = kept.map((a) => ` ${a.name}="${a.name === "office:string-value" ? a.value.replace(LITERAL_ESCAPE, ESCAPED_UNDERSCORE) : a.value}"`);
  return `<${name}${spelled.join("")}${added}${tag.endsWith("/>") ? "/>" : ">"}`;
}

function rewriteContent(content: string, serial: OdsSerial): string {
  return content.replace(CELL_TAG, (tag) => rewriteCell(tag, serial)).replace(TEXT, (_, text: string) => `>${text.replace(LITERAL_ESCAPE, ESCAPED_UNDERSCORE)}<`);
}

// The file as SheetJS should read it; other files are returned as they are.
export async function preparedOds(bytes: Uint8Array, serial: OdsSerial): Promise<Uint8Array> {
  const head = new TextDecoder("latin1").decode(bytes.subarray(0, 128));
  if (!head.startsWith("PK") || !head.includes(ODS_MIMETYPE)) return bytes;
  const { unzipSync, zipSync, strToU8, strFromU8 } = await fflate();
  const entries = unzipSync(bytes);
  entries["styles.xml"] ??= strToU8(EMPTY_ODS_STYLES);
  entries["META-INF/manifest.xml"] ??= strToU8(EMPTY_MANIFEST);
  const content = entries["content.xml"];
  if (content) entries["content.xml"] = strToU8(rewriteContent(strFromU8(content), serial));
  return zipSync(entries, { level: 0 });
}
