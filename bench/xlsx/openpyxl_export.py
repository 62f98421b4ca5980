#!/usr/bin/python3
"""The export's work done with openpyxl, for comparison with our writer:
load the template, copy the test point sheet n-1 times, write the same
cells, add the same pictures, save. Prints the seconds the work took.

    openpyxl_export.py <template> <out.xlsx> <n> <pictures folder>
"""
import sys
import time

import openpyxl
from openpyxl.drawing.image import Image
from openpyxl.drawing.spreadsheet_drawing import AnchorMarker, TwoCellAnchor


def anchor(img, dx, dy, scale):
    # Columns of 87 pixels, rows of 20 from A14: the same anchors as ours.
    emu = 9525
    w, h = int(img.width * scale), int(img.height * scale)
    def at(x, y):
        return AnchorMarker(col=x // 87, colOff=(x % 87) * emu, row=13 + y // 20, rowOff=(y % 20) * emu)
    img.anchor = TwoCellAnchor(editAs="twoCell", _from=at(dx, dy), to=at(dx + w, dy + h))
    img.width, img.height = w, h
    return img


def main():
    template, out, n, pics = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
    start = time.perf_counter()
    wb = openpyxl.load_workbook(open(template, "rb"))
    home, pattern = wb.worksheets[0], wb.worksheets[1]
    for i in range(2, n + 1):
        ws = wb.copy_worksheet(pattern)
        ws.title = "测试故障点(%d)" % i
        ws["A1"] = "测试故障点（%d）记录" % i
    home["A30"] = "KOV4420" + (home["A30"].value or "")
    home["A21"] = "华东能源有限公司"
    home["A32"] = (home["A32"].value or "") + "SN-2024-0042"
    for r, v in zip(range(54, 61), ("华东能源有限公司", "一号车间", "2024-05-06", "KOV4420", "D123456", "V1.8.0", "张工")):
        home["E%d" % r] = v
    home["B71"] = "本次检测泄漏点有 %d 处：" % n
    for k in range(1, min(n, 10) + 1):
        home["B%d" % (71 + k)] = "   –   测试故障点（%d）为压缩空气泄漏，运行状态判定为一般" % k
    for i in range(1, n + 1):
        ws = wb.worksheets[i]
        for ref, v in (("A7", "阀门 %d" % i), ("D7", "压缩空气"), ("D10", "0.6MPa"), ("G7", "一般"),
                       ("G10", "建议 %d 周内复查" % i), ("G13", "%d.25" % i), ("D13", "3.0"),
                       ("A13", "1234.56 ¥/年"), ("A10", "%d.5dB" % (40 + i))):
            ws[ref] = v
        ws.add_image(anchor(Image("%s/frame_%d.jpg" % (pics, i)), 40, 20, 0.6))
        ws.add_image(anchor(Image("%s/pattern_%d.png" % (pics, i)), 85, 400, 1.0))
    wb.save(out)
    print("%.6f" % (time.perf_counter() - start))


if __name__ == "__main__":
    main()
