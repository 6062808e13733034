// MSHFlexGrid1 shown: every cell of the channel table as the core holds it,
// the header row and the first two columns fixed while the rest scrolls.
import type { GridGeometry } from "../core.js";
import { el } from "./dom.js";

// 15 twips make a pixel at 96 dots per inch.
const TWIPS_PER_PIXEL = 15;
const TALL_ROW_TWIPS = 300; // rows 0 to 10
const TALL_ROWS = 11;
const DEFAULT_ROW_TWIPS = 240;
// Column widths by column, label first.
const COLUMN_WIDTH_TWIPS: readonly number[] = [1250, 1000, 1650, 1650, 1500, 1500, 1000, 1200, 1250, 1000, 1000];

const px = (twips: number) => `${Math.round(twips / TWIPS_PER_PIXEL)}px`;

export class GridView {
  readonly element: HTMLElement;
  readonly table: HTMLTableElement;
  private readonly cells: HTMLTableCellElement[][] = [];

  constructor(private readonly geometry: GridGeometry, private readonly cellText: (row: number, col: number) => string) {
    // The table takes the focus: keys move its current cell (aria-activedescendant).
    const table = el("table", { role: "grid", "aria-label": "Channels", tabindex: "0" });
    this.table = table;
    const colgroup = el("colgroup");
    for (const width of COLUMN_WIDTH_TWIPS) colgroup.append(el("col", { style: `width:${px(width)}` }));
    table.append(colgroup);
    const head = el("thead");
    const body = el("tbody");
    const offsets = this.fixedOffsets();
    for (let row = 0; row < geometry.rows; ++row) {
      const fixedRow = row < geometry.fixedRows;
      const tr = el("tr", { style: `height:${px(row < TALL_ROWS ? TALL_ROW_TWIPS : DEFAULT_ROW_TWIPS)}` });
      const line: HTMLTableCellElement[] = [];
      for (let col = 0; col < geometry.columns; ++col) {
        const fixedCol = col < geometry.fixedColumns;
        // Headers: the header row and the channel labels; the group column is
        // fixed but data (often empty, which a header may not be).
        const cell = el(fixedRow || col === 0 ? "th" : "td", {
          "data-row": String(row),
          "data-col": String(col),
          class: [fixedRow ? "fixed-row" : "", fixedCol ? "fixed-col" : ""].join(" ").trim() || undefined,
          style: fixedCol ? `left:${offsets[col]}px` : undefined,
          scope: fixedRow ? "col" : fixedCol && col === 0 ? "row" : undefined,
        });
        line.push(cell);
        tr.append(cell);
      }
      this.cells.push(line);
      (fixedRow ? head : body).append(tr);
    }
    table.append(head, body);
    this.element = el("div", { "data-name": "MSHFlexGrid1", class: "grid" }, table);
    this.refresh();
  }

  cellElement(row: number, col: number): HTMLTableCellElement {
    return this.cells[row][col];
  }

  // The width of the fixed columns and the height of the fixed rows, which
  // cover the scrolling cells under them.
  fixedSize(): { width: number; height: number } {
    const corner = this.cells[this.geometry.fixedRows][this.geometry.fixedColumns];
    return { width: corner.offsetLeft, height: corner.offsetTop };
  }

  // Shows the table's texts again (after a read, a start-up load, ...).
  refresh(): void {
    for (let row = 0; row < this.geometry.rows; ++row) {
      for (let col = 0; col < this.geometry.columns; ++col) {
        const text = this.cellText(row, col);
        const cell = this.cells[row][col];
        if (cell.textContent !== text) cell.textContent = text;
      }
    }
  }

  private fixedOffsets(): number[] {
    const offsets: number[] = [];
    let left = 0;
    for (let col = 0; col < this.geometry.fixedColumns; ++col) {
      offsets.push(left);
      left += Math.round(COLUMN_WIDTH_TWIPS[col] / TWIPS_PER_PIXEL);
    }
    return offsets;
  }
}
