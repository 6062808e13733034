// Creating elements without a framework.
type Attributes = Record<string, string | boolean | undefined>;

export function el<K extends keyof HTMLElementTagNameMap>(
  tag: K,
  attributes: Attributes = {},
  ...children: (Node | string)[]
): HTMLElementTagNameMap[K] {
  const element = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes)) {
    if (value === undefined || value === false) continue;
    // Through the CSSOM: the content-security-policy refuses style attributes.
    if (name === "style") element.style.cssText = value as string;
    else element.setAttribute(name, value === true ? "" : value);
  }
  element.append(...children);
  return element;
}

// "File(&F)" as text with the access key underlined.
export function captionWithKey(caption: string): { nodes: (Node | string)[]; key: string } {
  const at = caption.indexOf("&");
  if (at < 0 || at + 1 >= caption.length) return { nodes: [caption], key: "" };
  const key = caption[at + 1];
  return { nodes: [caption.slice(0, at), el("u", {}, key), caption.slice(at + 2)], key: key.toLowerCase() };
}
