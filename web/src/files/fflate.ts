// fflate, the zip library, loaded when first needed.
import type * as Fflate from "fflate";
import { ZIP_LIBRARY, siteUrl } from "../site.js";

export type { Fflate };

export function fflate(): Promise<typeof Fflate> {
  return (import(siteUrl(ZIP_LIBRARY)) as Promise<typeof Fflate>).catch(() => {
    throw new Error("the zip library could not be loaded (with no network it is there only after a zip or a workbook was handled once with one)");
  });
}
