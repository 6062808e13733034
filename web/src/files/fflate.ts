// fflate, the zip library, loaded when first needed.
import type * as Fflate from "fflate";
import { ZIP_LIBRARY } from "../site.js";

export type { Fflate };

export function fflate(): Promise<typeof Fflate> {
  return import(new URL(`../../${ZIP_LIBRARY}`, import.meta.url).href) as Promise<typeof Fflate>;
}
