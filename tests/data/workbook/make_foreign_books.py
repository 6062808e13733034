#!/usr/bin/env python3
"""Writes the workbooks of other spreadsheet programs that the import tests read.
All hold the same cells, as another program would save them: frequencies and
numeric texts as numbers.
  foreign.xls (xlwt), foreign.ods (by hand);
  openpyxl.xlsx: absolute sheet target, inline strings, a formula outside the
    sheet area the import reads; openpyxl-formula.xlsx: a formula without a
    stored value in C1;
  libreoffice.{xlsx,ods,xls}: several cells as numeric, text and boolean
    formulas (its .xls stores 0 as the result of the text formulas);
  libreoffice-numbers.xls: the same with numeric and boolean formulas only;
  libreoffice-error.{xlsx,ods,xls}: #DIV/0! in C5;
  truncated.xls: the first 3000 bytes of libreoffice-numbers.xls.
Run from this folder with Debian's python3 (python3-xlwt, python3-openpyxl)
and LibreOffice (libreoffice-calc-nogui) installed; the tests need neither."""
import csv
import os
import subprocess
import tempfile
import zipfile

# (row, column) -> value, both 1-based; floats become number cells.
CELLS = {
    (1, 1): "A-1", (1, 2): 446.00625, (1, 3): 446.00625, (1, 4): "67.0 [01]",
    (1, 6): "Yes", (1, 7): "Narrow", (1, 8): "High", (1, 9): "Off", (1, 10): "Off",
    (2, 2): "433.075", (2, 3): 433.075, (2, 5): "D023N [01]",
    (2, 6): "No", (2, 7): "Wide", (2, 8): "Low", (2, 9): "On", (2, 10): "On",
    (3, 2): 0.0, (3, 3): "abc",
    (257, 1): 3.0, (258, 1): 1.0, (259, 1): 63.0, (262, 1): 4.0,
    (274, 1): 1.0, (282, 1): 3.0, (287, 1): 12345.0, (288, 1): "AB",
    (289, 1): 0.0, (292, 1): 2.0, (293, 1): 6.0, (294, 1): 2.0, (304, 1): 1.0,
    (306, 1): "1", (307, 1): "2", (308, 1): 446.1, (309, 1): 2.0, (312, 1): 1.0,
    (320, 1): 7.0,
}


def write_xls(path):
    import xlwt
    book = xlwt.Workbook()
    sheet = book.add_sheet("Sheet1")
    for (row, col), value in CELLS.items():
        sheet.write(row - 1, col - 1, value)
    book.save(path)


def ods_cell(value):
    if value is None:
        return "<table:table-cell/>"
    if isinstance(value, float):
        return ('<table:table-cell office:value-type="float" office:value="%r">'
                "<text:p>%r</text:p></table:table-cell>" % (value, value))
    return ('<table:table-cell office:value-type="string"><text:p>%s</text:p>'
            "</table:table-cell>" % value)


def write_ods(path):
    last_row = max(r for r, _ in CELLS)
    rows = []
    empty_run = 0
    for row in range(1, last_row + 1):
        cols = [c for r, c in CELLS if r == row]
        if not cols:
            empty_run += 1
            continue
        if empty_run:
            rows.append('<table:table-row table:number-rows-repeated="%d"><table:table-cell/></table:table-row>' % empty_run)
            empty_run = 0
        cells = "".join(ods_cell(CELLS.get((row, c))) for c in range(1, max(cols) + 1))
        rows.append("<table:table-row>%s</table:table-row>" % cells)
    content = (
        '<?xml version="1.0" encoding="UTF-8"?>'
        '<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
        'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
        'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" office:version="1.2">'
        '<office:body><office:spreadsheet><table:table table:name="Sheet1">'
        '<table:table-column table:number-columns-repeated="10"/>'
        + "".join(rows) +
        "</table:table></office:spreadsheet></office:body></office:document-content>")
    manifest = (
        '<?xml version="1.0" encoding="UTF-8"?>'
        '<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" manifest:version="1.2">'
        '<manifest:file-entry manifest:full-path="/" manifest:media-type="application/vnd.oasis.opendocument.spreadsheet"/>'
        '<manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"/>'
        "</manifest:manifest>")
    with zipfile.ZipFile(path, "w") as z:
        z.writestr(zipfile.ZipInfo("mimetype"), "application/vnd.oasis.opendocument.spreadsheet",
                   compress_type=zipfile.ZIP_STORED)
        z.writestr("META-INF/manifest.xml", manifest, compress_type=zipfile.ZIP_DEFLATED)
        z.writestr("content.xml", content, compress_type=zipfile.ZIP_DEFLATED)


def write_openpyxl(path, cells):
    import openpyxl
    book = openpyxl.Workbook()
    sheet = book.active
    for (row, col), value in cells.items():
        sheet.cell(row=row, column=col, value=value)
    book.save(path)


# Cells LibreOffice computes itself and stores with their formula.
FORMULAS = {
    (1, 3): "=B1", (1, 4): '="67.0 "&"[01]"', (2, 5): '="D023N"&" [01]"',
    (257, 1): "=1+2", (259, 1): "=60+3", (282, 1): "=B1-443.00625", (304, 1): "=TRUE()",
}


def write_libreoffice(stem, cells, targets=("xlsx", "ods", "xls:MS Excel 97")):
    table = [[""] * 10 for _ in range(max(r for r, _ in cells))]
    for (row, col), value in cells.items():
        table[row - 1][col - 1] = repr(value) if isinstance(value, float) else value
    with tempfile.TemporaryDirectory() as work:
        source = os.path.join(work, stem + ".csv")
        with open(source, "w", newline="") as out:
            csv.writer(out).writerows(table)
        for target in targets:
            subprocess.run(["soffice", "--headless", "-env:UserInstallation=file://" + work + "/profile",
                            "--convert-to", target, "--outdir", ".", source], check=True)


if __name__ == "__main__":
    write_xls("foreign.xls")
    write_ods("foreign.ods")
    write_openpyxl("openpyxl.xlsx", {**CELLS, (1, 12): "=B1*2"})
    write_openpyxl("openpyxl-formula.xlsx", {(1, 2): 446.00625, (1, 3): "=B1", (257, 1): 3.0})
    write_libreoffice("libreoffice", {**CELLS, **FORMULAS})
    numbers = {cell: formula for cell, formula in FORMULAS.items() if '"' not in formula}
    write_libreoffice("libreoffice-numbers", {**CELLS, **numbers}, ("xls:MS Excel 97",))
    with open("libreoffice-numbers.xls", "rb") as whole, open("truncated.xls", "wb") as cut:
        cut.write(whole.read(3000))
    write_libreoffice("libreoffice-error", {(257, 1): 3.0, (5, 2): 446.1, (5, 3): "=1/0"})
