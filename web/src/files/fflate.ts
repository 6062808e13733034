// fflate, the zip library, loaded when first needed.
import type * as Fflate from "fflate";

export type { Fflate };

export function fflate(): Promise<typeof Fflate> {
  return import(new URL("../../vendor/fflate.js", import.meta.url).href) as Promise<typeof Fflate>;
}
