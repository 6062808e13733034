// The module made when the site is assembled (web/assemble-site.mjs): the
// names of the files that carry a hash of their content, and the build id.
export declare const CORE_SCRIPT: string;
export declare const CORE_WASM: string;
export declare const SPREADSHEET_LIBRARY: string;
export declare const ZIP_LIBRARY: string;
export declare const TICKER_WORKER: string;
export declare const BUILD_ID: string;
// The address of a file of the site, whatever path the site is served under.
export declare function siteUrl(name: string): string;
