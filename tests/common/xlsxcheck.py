#!/usr/bin/python3
"""Reads a workbook with independent readers and prints what it found as JSON.

    xlsxcheck.py <workbook>

"structure" lists faults of the package itself (zipfile and ElementTree):
parts without a content type, relationship targets that do not exist,
duplicate relationship ids, sheet ids or sheet names. "sheets" is what
openpyxl reads: names in order, text cells, merged ranges, a style
fingerprint per cell, pictures with their anchors, and the selection flag.
"""
import json
import posixpath
import sys
import zipfile
import xml.etree.ElementTree as ET

import openpyxl

PKG_REL = "{http://schemas.openxmlformats.org/package/2006/relationships}"
CT = "{http://schemas.openxmlformats.org/package/2006/content-types}"
MAIN = "{http://schemas.openxmlformats.org/spreadsheetml/2006/main}"


def rels_name(part):
    d, f = posixpath.split(part)
    return posixpath.join(d, "_rels", f + ".rels")


def structure(path):
    faults = []
    with zipfile.ZipFile(path) as z:
        if z.testzip() is not None:
            faults.append("bad CRC")
        names = set(z.namelist())
        types = ET.fromstring(z.read("[Content_Types].xml"))
        defaults = {d.get("Extension").lower() for d in types.iter(CT + "Default")}
        overrides = {o.get("PartName").lstrip("/") for o in types.iter(CT + "Override")}
        for o in overrides:
            if o not in names:
                faults.append("override for missing part " + o)
        for n in names:
            if n == "[Content_Types].xml" or n.endswith("/"):
                continue
            ext = n.rsplit(".", 1)[-1].lower()
            if n not in overrides and ext not in defaults:
                faults.append("no content type for " + n)
        for n in names:
            if not n.endswith(".rels"):
                continue
            d = posixpath.dirname(posixpath.dirname(n))
            ids = set()
            for r in ET.fromstring(z.read(n)).iter(PKG_REL + "Relationship"):
                if r.get("Id") in ids:
                    faults.append("duplicate id %s in %s" % (r.get("Id"), n))
                ids.add(r.get("Id"))
                if r.get("TargetMode") == "External":
                    continue
                t = r.get("Target")
                target = t.lstrip("/") if t.startswith("/") else posixpath.normpath(posixpath.join(d, t))
                if target not in names:
                    faults.append("%s: target %s missing" % (n, target))
        wb = ET.fromstring(z.read("xl/workbook.xml"))
        sheet_ids, sheet_names = set(), set()
        for s in wb.iter(MAIN + "sheet"):
            if s.get("sheetId") in sheet_ids:
                faults.append("duplicate sheetId " + s.get("sheetId"))
            if s.get("name").lower() in sheet_names:
                faults.append("duplicate sheet name " + s.get("name"))
            sheet_ids.add(s.get("sheetId"))
            sheet_names.add(s.get("name").lower())
        if "xl/calcChain.xml" in names:
            faults.append("calculation chain kept")
        # Text with blanks at an end keeps them only when marked to.
        space = "{http://www.w3.org/XML/1998/namespace}space"
        for n in names:
            if n.endswith(".xml") and (n.startswith("xl/worksheets/") or n == "xl/sharedStrings.xml"):
                for t in ET.fromstring(z.read(n)).iter(MAIN + "t"):
                    if t.text and t.text != t.text.strip() and t.get(space) != "preserve":
                        faults.append("blanks not preserved in %s: %r" % (n, t.text[:20]))
        # Drawing element must precede these in a worksheet.
        later = {MAIN + x for x in ("legacyDrawing", "legacyDrawingHF", "picture", "oleObjects",
                                     "controls", "webPublishItems", "tableParts", "extLst")}
        earlier = {MAIN + x for x in ("sheetData", "mergeCells", "pageMargins", "pageSetup",
                                       "headerFooter", "rowBreaks", "colBreaks")}
        for n in names:
            if n.startswith("xl/worksheets/sheet") and n.endswith(".xml"):
                kids = [c.tag for c in ET.fromstring(z.read(n))]
                if MAIN + "drawing" in kids:
                    at = kids.index(MAIN + "drawing")
                    if any(k in later for k in kids[:at]) or any(k in earlier for k in kids[at + 1:]):
                        faults.append("drawing out of place in " + n)
    return faults


def style_of(c):
    f, a, b = c.font, c.alignment, c.border
    return "|".join(str(x) for x in (
        f.name, f.sz, f.b, f.i, f.color.rgb if f.color is not None else None,
        c.fill.fgColor.rgb if c.fill is not None else None,
        b.left.style, b.right.style, b.top.style, b.bottom.style,
        a.horizontal, a.vertical, a.wrap_text))


def anchor_of(img):
    a = img.anchor
    out = {"w": img.width, "h": img.height, "kind": type(a).__name__}
    if hasattr(a, "_from"):
        out["from"] = [a._from.col, a._from.colOff, a._from.row, a._from.rowOff]
    if getattr(a, "to", None) is not None:
        out["to"] = [a.to.col, a.to.colOff, a.to.row, a.to.rowOff]
    out["editAs"] = getattr(a, "editAs", None)
    return out


def sheets(path):
    # A file object: openpyxl judges file names by their extension, and the
    # templates have none.
    wb = openpyxl.load_workbook(open(path, "rb"))
    out = []
    for ws in wb.worksheets:
        cells, styles = {}, {}
        for row in ws.iter_rows():
            for c in row:
                if c.value is not None:
                    cells[c.coordinate] = c.value if isinstance(c.value, str) else repr(c.value)
                if c.has_style:
                    styles[c.coordinate] = style_of(c)
        out.append({
            "name": ws.title,
            "cells": cells,
            "styles": styles,
            "merged": sorted(str(r) for r in ws.merged_cells.ranges),
            "images": [anchor_of(i) for i in ws._images],
            "selected": bool(ws.sheet_view.tabSelected),
            "widths": {k: v.width for k, v in ws.column_dimensions.items()},
            "heights": {str(k): v.height for k, v in ws.row_dimensions.items() if v.height},
            "paper": ws.page_setup.paperSize,
        })
    return out


def main():
    path = sys.argv[1]
    result = {"structure": structure(path), "sheets": sheets(path)}
    json.dump(result, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main()
