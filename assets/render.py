#!/usr/bin/python3
"""Renders the program's icon and its five pictures into this folder.

Everything is drawn here from shapes and text; the only inputs are the
installed fonts. Running the script again writes byte-identical files, so the
outputs can be committed and re-checked with `git diff`.

    /usr/bin/python3 assets/render.py
"""

import io
import math
import os
import struct

from PIL import Image, ImageDraw, ImageFilter, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))

CJK_FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
LATIN_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
MONO_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf"

# A light editor palette: grey surfaces, blue accents, red call-outs.
PAGE = (243, 245, 248)
PANEL = (255, 255, 255)
LINE = (217, 221, 227)
LINE_DARK = (190, 196, 204)
TEXT = (51, 51, 51)
TEXT_SOFT = (119, 124, 132)
BLUE = (34, 114, 214)
BLUE_DARK = (24, 88, 170)
BLUE_PALE = (232, 241, 253)
RED = (228, 20, 30)

_fonts = {}


def font(size, kind="cjk"):
    key = (size, kind)
    if key not in _fonts:
        path, index = {
            "cjk": (CJK_FONT, 0),
            "bold": (LATIN_BOLD, 0),
            "mono": (MONO_FONT, 0),
        }[kind]
        _fonts[key] = ImageFont.truetype(path, size, index=index)
    return _fonts[key]


def text(d, xy, s, size, fill=TEXT, anchor="la", kind="cjk", bold=False):
    """Draws a text; `bold` overprints it one pixel to the right, which reads
    better at small sizes than a stroked outline."""
    f = font(size, kind)
    d.text(xy, s, font=f, fill=fill, anchor=anchor)
    if bold:
        d.text((xy[0] + 1, xy[1]), s, font=f, fill=fill, anchor=anchor)


def text_width(s, size, kind="cjk"):
    return font(size, kind).getlength(s)


def red_frame(d, box, width=2, radius=3):
    d.rounded_rectangle(box, radius=radius, outline=RED, width=width)


def button(d, box, label, size, primary=False):
    fill, outline, ink = (BLUE, BLUE_DARK, PANEL) if primary else (PANEL, LINE_DARK, TEXT)
    d.rounded_rectangle(box, radius=3, fill=fill, outline=outline)
    cx, cy = (box[0] + box[2]) / 2, (box[1] + box[3]) / 2
    text(d, (cx, cy), label, size, ink, anchor="mm")


def checkbox(d, x, y, side, checked):
    d.rectangle((x, y, x + side, y + side), fill=BLUE if checked else PANEL,
                outline=BLUE_DARK if checked else LINE_DARK)
    if checked:
        s = side
        d.line([(x + s * 0.22, y + s * 0.52), (x + s * 0.42, y + s * 0.72),
                (x + s * 0.78, y + s * 0.28)], fill=PANEL, width=2, joint="curve")


def radio(d, x, y, r, on):
    d.ellipse((x - r, y - r, x + r, y + r), fill=PANEL, outline=BLUE_DARK if on else LINE_DARK)
    if on:
        d.ellipse((x - r + 3, y - r + 3, x + r - 3, y + r - 3), fill=BLUE)


def dashed_rect(d, box, fill, dash=5, gap=4):
    x0, y0, x1, y1 = box
    for x in range(x0, x1, dash + gap):
        e = min(x + dash, x1)
        d.line([(x, y0), (e, y0)], fill=fill)
        d.line([(x, y1), (e, y1)], fill=fill)
    for y in range(y0, y1, dash + gap):
        e = min(y + dash, y1)
        d.line([(x0, y), (x0, e)], fill=fill)
        d.line([(x1, y), (x1, e)], fill=fill)


def drop_shadow(img, box, radius=4, offset=2, strength=70):
    """Soft shadow under a floating box (menu, dialog)."""
    shadow = Image.new("L", img.size, 0)
    sd = ImageDraw.Draw(shadow)
    x0, y0, x1, y1 = box
    sd.rounded_rectangle((x0 + offset, y0 + offset, x1 + offset, y1 + offset), radius=radius, fill=strength)
    shadow = shadow.filter(ImageFilter.GaussianBlur(radius + 2))
    dark = Image.new("RGB", img.size, (30, 40, 55))
    img.paste(dark, (0, 0), shadow)


def arrow(d, start, end, fill, width=3, head=10):
    """A straight arrow from start to end, head at end."""
    d.line([start, end], fill=fill, width=width)
    ang = math.atan2(end[1] - start[1], end[0] - start[0])
    left = (end[0] - head * math.cos(ang - 0.45), end[1] - head * math.sin(ang - 0.45))
    right = (end[0] - head * math.cos(ang + 0.45), end[1] - head * math.sin(ang + 0.45))
    d.polygon([end, left, right], fill=fill)


def vertical_gradient(size, top, bottom):
    w, h = size
    img = Image.new("RGB", size)
    d = ImageDraw.Draw(img)
    for y in range(h):
        t = y / max(1, h - 1)
        c = tuple(round(top[i] + (bottom[i] - top[i]) * t) for i in range(3))
        d.line([(0, y), (w - 1, y)], fill=c)
    return img


def placeholder_page(d, box):
    """Grey blocks standing for a shop page in the editor's canvas."""
    x0, y0, x1, y1 = box
    d.rectangle(box, fill=PANEL, outline=LINE)
    d.rectangle((x0 + 8, y0 + 8, x1 - 8, y0 + 40), fill=(226, 231, 238))      # shop sign
    d.rectangle((x0 + 8, y0 + 46, x1 - 8, y0 + 60), fill=(205, 214, 226))     # navigation
    cw = (x1 - x0 - 16 - 3 * 8) / 4
    for i in range(4):                                                        # goods
        cx = x0 + 8 + i * (cw + 8)
        d.rectangle((cx, y0 + 68, cx + cw, y0 + 128), fill=(234, 237, 241))
        d.rectangle((cx, y0 + 134, cx + cw * 0.8, y0 + 140), fill=(226, 230, 236))


# --- Picture A: the editor's decoration menu, style management framed ------

def picture_a():
    w, h = 400, 220
    img = Image.new("RGB", (w, h), PAGE)
    d = ImageDraw.Draw(img)

    # Top bar of the editor.
    d.rectangle((0, 0, w, 36), fill=BLUE)
    text(d, (12, 18), "店铺装修", 16, PANEL, anchor="lm", bold=True)
    menu = [("页面", 96), ("装修", 148), ("模板", 212), ("素材", 264)]
    for label, x in menu:
        if label == "装修":
            d.rectangle((x - 10, 4, x + 50, 36), fill=PANEL)
            text(d, (x, 20), label, 14, BLUE, anchor="lm", bold=True)
            d.polygon([(x + 36, 17), (x + 44, 17), (x + 40, 22)], fill=BLUE)
        else:
            text(d, (x, 20), label, 14, PANEL, anchor="lm")
    button(d, (322, 8, 360, 28), "预览", 12)
    d.rounded_rectangle((364, 8, 394, 28), radius=3, fill=(255, 153, 0))
    text(d, (379, 18), "发布", 12, PANEL, anchor="mm")

    # Secondary bar and the page being decorated.
    d.rectangle((0, 36, w, 60), fill=(234, 237, 242))
    d.line([(0, 60), (w, 60)], fill=LINE)
    text(d, (12, 48), "首页  ›  宝贝详情", 12, TEXT_SOFT, anchor="lm")
    placeholder_page(d, (40, 70, 360, 220 + 6))

    # The opened decoration menu.
    items = ["页面装修", "模块管理", "样式管理", "模板备份", "装修素材"]
    mx0, my0, mw, ih = 138, 36, 132, 30
    mbox = (mx0, my0, mx0 + mw, my0 + ih * len(items) + 8)
    drop_shadow(img, mbox)
    d = ImageDraw.Draw(img)
    d.rectangle(mbox, fill=PANEL, outline=LINE_DARK)
    d.rectangle((mx0 + 1, my0, mx0 + 59, my0), fill=PANEL)  # joins the open tab
    for i, label in enumerate(items):
        y = my0 + 4 + i * ih
        if label == "样式管理":
            d.rectangle((mx0 + 1, y, mx0 + mw - 1, y + ih - 1), fill=BLUE_PALE)
            ink = BLUE
        else:
            ink = TEXT
        # A small glyph in front of each entry.
        gx, gy = mx0 + 14, y + ih // 2
        d.rounded_rectangle((gx - 5, gy - 5, gx + 5, gy + 5), radius=2, outline=ink, width=1)
        if label == "样式管理":
            d.rectangle((gx - 2, gy - 2, gx + 2, gy + 2), fill=ink)
        text(d, (mx0 + 28, gy), label, 14, ink, anchor="lm", bold=(label == "样式管理"))
    sy = my0 + 4 + 2 * ih
    red_frame(d, (mx0 + 3, sy + 1, mx0 + mw - 3, sy + ih - 2), width=2)
    return img


# --- Picture B: page settings, what to clear and what to leave empty -------

def picture_b():
    w, h = 455, 300
    img = Image.new("RGB", (w, h), PAGE)
    d = ImageDraw.Draw(img)

    # Panel with its title row.
    d.rectangle((0, 0, w - 1, h - 1), fill=PANEL, outline=LINE)
    d.rectangle((1, 1, w - 2, 38), fill=(246, 247, 249))
    d.line([(1, 38), (w - 2, 38)], fill=LINE)
    d.rectangle((1, 1, 4, 38), fill=BLUE)
    text(d, (16, 20), "页面设置", 16, TEXT, anchor="lm", bold=True)
    d.line([(w - 26, 13), (w - 14, 25)], fill=TEXT_SOFT, width=2)
    d.line([(w - 26, 25), (w - 14, 13)], fill=TEXT_SOFT, width=2)

    lx = 20   # labels
    fx = 118  # fields

    # Page background colour: swatch and the ticked "show" box.
    y = 66
    text(d, (lx, y), "页面背景色：", 15, TEXT, anchor="lm")
    d.rectangle((fx, y - 12, fx + 44, y + 12), fill=PANEL, outline=LINE_DARK)
    d.rectangle((fx + 3, y - 9, fx + 27, y + 9), fill=(238, 238, 238), outline=LINE)
    d.polygon([(fx + 32, y - 2), (fx + 40, y - 2), (fx + 36, y + 3)], fill=TEXT_SOFT)
    cbx = fx + 60
    checkbox(d, cbx, y - 7, 14, True)
    text(d, (cbx + 20, y), "显示", 15, TEXT, anchor="lm")
    red_frame(d, (cbx - 6, y - 14, cbx + 58, y + 14))
    arrow(d, (cbx + 110, y), (cbx + 66, y), RED, width=2, head=8)
    text(d, (cbx + 116, y), "取消勾选", 15, RED, anchor="lm", bold=True)

    # Background picture: the upload area, left empty.
    y = 100
    text(d, (lx, y + 10), "背景图：", 15, TEXT, anchor="lm")
    ubox = (fx, y, fx + 150, y + 76)
    d.rectangle(ubox, fill=(250, 251, 252))
    dashed_rect(d, ubox, LINE_DARK)
    ucx, ucy = (ubox[0] + ubox[2]) // 2, y + 28
    d.line([(ucx - 10, ucy), (ucx + 10, ucy)], fill=TEXT_SOFT, width=2)
    d.line([(ucx, ucy - 10), (ucx, ucy + 10)], fill=TEXT_SOFT, width=2)
    text(d, (ucx, y + 56), "上传图片", 13, TEXT_SOFT, anchor="mm")
    red_frame(d, (ubox[0] - 6, ubox[1] - 6, ubox[2] + 6, ubox[3] + 6))
    arrow(d, (ubox[2] + 54, y + 38), (ubox[2] + 12, y + 38), RED, width=2, head=8)
    text(d, (ubox[2] + 60, y + 38), "不设置，留空", 15, RED, anchor="lm", bold=True)

    # Repeat and alignment: left as they are.
    y = 206
    text(d, (lx, y), "背景显示：", 15, TEXT, anchor="lm")
    x = fx + 6
    for i, label in enumerate(["不平铺", "平铺", "纵向平铺", "横向平铺"]):
        radio(d, x, y, 6, i == 1)
        text(d, (x + 11, y), label, 14, TEXT, anchor="lm")
        x += 22 + int(text_width(label, 14)) + 8
    y = 236
    text(d, (lx, y), "背景对齐：", 15, TEXT, anchor="lm")
    x = fx + 6
    for i, label in enumerate(["左对齐", "居中", "右对齐"]):
        radio(d, x, y, 6, i == 1)
        text(d, (x + 11, y), label, 14, TEXT, anchor="lm")
        x += 22 + int(text_width(label, 14)) + 8

    # Footer with the save button.
    d.line([(1, 258), (w - 2, 258)], fill=LINE)
    sbox = (w - 170, 266, w - 98, 292)
    button(d, sbox, "保存", 15, primary=True)
    button(d, (w - 86, 266, w - 16, 292), "取消", 15)
    red_frame(d, (sbox[0] - 5, sbox[1] - 4, sbox[2] + 5, sbox[3] + 4))
    return img


# --- Picture C: the navigation dialog's display settings -------------------

SAMPLE_RULE = ("body{background-image:url(http://example.com/bg.jpg);"
               "background-repeat:no-repeat;background-position:center;"
               "background-attachment:fixed;}")


def wrap_chars(s, size, kind, width):
    """Breaks a text without blanks the way a text area does: at the last
    character that still fits."""
    lines, line = [], ""
    for ch in s:
        if line and text_width(line + ch, size, kind) > width:
            lines.append(line)
            line = ""
        line += ch
    if line:
        lines.append(line)
    return lines


def picture_c():
    w, h = 650, 505
    img = Image.new("RGB", (w, h), (214, 219, 226))
    d = ImageDraw.Draw(img)

    # Dialog body and title bar.
    dbox = (10, 10, w - 11, h - 11)
    drop_shadow(img, dbox, radius=6, offset=3, strength=90)
    d = ImageDraw.Draw(img)
    d.rectangle(dbox, fill=PANEL, outline=LINE_DARK)
    d.rectangle((11, 11, w - 12, 56), fill=(246, 247, 249))
    d.line([(11, 56), (w - 12, 56)], fill=LINE)
    text(d, (30, 34), "导航", 20, TEXT, anchor="lm", bold=True)
    d.line([(w - 44, 26), (w - 28, 42)], fill=TEXT_SOFT, width=2)
    d.line([(w - 44, 42), (w - 28, 26)], fill=TEXT_SOFT, width=2)

    # Tabs: "导航设置" and the active "显示设置".
    ty0, ty1 = 72, 110
    d.line([(30, ty1), (w - 30, ty1)], fill=LINE_DARK)
    d.rectangle((30, ty0 + 4, 150, ty1), fill=(240, 242, 245), outline=LINE)
    text(d, (90, (ty0 + 4 + ty1) / 2 + 1), "导航设置", 18, TEXT_SOFT, anchor="mm")
    atab = (156, ty0, 286, ty1)
    d.rectangle(atab, fill=PANEL, outline=LINE_DARK)
    d.rectangle((157, ty0, 285, ty0 + 3), fill=BLUE)
    d.line([(157, ty1), (285, ty1)], fill=PANEL)
    text(d, (221, (ty0 + ty1) / 2 + 2), "显示设置", 18, BLUE, anchor="mm", bold=True)
    red_frame(d, (atab[0] - 5, atab[1] - 5, atab[2] + 5, atab[3] + 4), width=3)

    # The custom style text area holding the sample rule.
    text(d, (30, 134), "自定义CSS：", 17, TEXT, anchor="lm")
    abox = (30, 152, w - 30, 312)
    d.rectangle(abox, fill=PANEL, outline=LINE_DARK)
    d.line([(abox[0] + 1, abox[1] + 1), (abox[2] - 1, abox[1] + 1)], fill=LINE)
    size, kind = 17, "mono"
    lines = wrap_chars(SAMPLE_RULE, size, kind, abox[2] - abox[0] - 24)
    y = abox[1] + 14
    for line in lines:
        text(d, (abox[0] + 12, y), line, size, TEXT, anchor="la", kind=kind)
        lw = text_width(line, size, kind)
        d.line([(abox[0] + 12, y + 23), (abox[0] + 12 + lw, y + 23)], fill=RED, width=2)
        y += 34
    # Caret after the rule.
    cx = abox[0] + 12 + text_width(lines[-1], size, kind) + 3
    d.line([(cx, y - 34), (cx, y - 34 + 20)], fill=TEXT, width=1)

    # The caption pointing at it.
    cap = "把代码放在这里"
    text(d, (w / 2, 392), cap, 44, RED, anchor="mm", bold=True)
    arrow(d, (w / 2, 360), (w / 2, abox[3] + 8), RED, width=4, head=16)

    # Footer buttons.
    d.line([(11, 436), (w - 12, 436)], fill=LINE)
    button(d, (w - 236, 450, w - 138, 482), "确定", 17, primary=True)
    button(d, (w - 126, 450, w - 30, 482), "取消", 17)
    return img


# --- Pictures D and E: 88 x 31 link banners --------------------------------

def banner_base(top, bottom, border):
    w, h = 88, 31
    img = vertical_gradient((w, h), top, bottom)
    # A lighter upper half gives the old-style glossy button look.
    img.paste((255, 255, 255), (1, 1, w - 1, 14), Image.new("L", (w - 2, 13), 40))
    d = ImageDraw.Draw(img)
    d.rectangle((0, 0, w - 1, h - 1), outline=border)
    return img, d


def banner_title(d, xy, title, size, shadow):
    # A dark copy one pixel down and right lifts the white text off the gradient.
    text(d, (xy[0] + 1, xy[1] + 1), title, size, shadow, anchor="mm")
    text(d, xy, title, size, (255, 255, 255), anchor="mm")


def picture_d():
    # The forum's name spans the banner; below it a small brush and the
    # subtitle.
    border = (12, 52, 120)
    img, d = banner_base((52, 132, 230), (18, 78, 168), border)
    banner_title(d, (44, 10), "店铺设计论坛", 12, border)
    gold = (255, 214, 96)
    d.line([(7, 25), (15, 19)], fill=(255, 255, 255), width=2)
    d.ellipse((5, 23, 9, 27), fill=gold)
    text(d, (51, 23), "DESIGN BBS", 8, gold, anchor="mm", kind="bold")
    return img


def picture_e():
    # A little shop front beside the title.
    border = (150, 40, 10)
    img, d = banner_base((255, 128, 48), (222, 62, 20), border)
    d.rectangle((8, 14, 25, 26), fill=(255, 255, 255))
    d.polygon([(5, 13), (28, 13), (25, 5), (8, 5)], fill=(255, 226, 90))
    for x in (11, 16, 21):
        d.line([(x + 1, 6), (x, 12)], fill=(226, 84, 20), width=2)
    d.rectangle((14, 18, 19, 26), fill=(226, 84, 20))
    banner_title(d, (58, 10), "作者店铺", 13, border)
    text(d, (58, 23), "WELCOME", 8, (255, 244, 190), anchor="mm", kind="bold")
    return img


# --- The application icon ---------------------------------------------------

def icon_background(size, margin, radius, ss):
    """The orange rounded square, drawn `ss` times larger than `size` and
    given on a 256-unit grid; a soft white fade lightens its upper part."""
    px = size * ss
    k = px / 256.0
    body = vertical_gradient((px, px), (255, 146, 66), (236, 78, 28))
    fade = vertical_gradient((px, px), (70, 70, 70), (0, 0, 0)).convert("L")
    fade = fade.point(lambda v: max(0, v * 2 - 70))
    body.paste((255, 255, 255), (0, 0), fade)
    mask = Image.new("L", (px, px), 0)
    ImageDraw.Draw(mask).rounded_rectangle(
        (margin * k, margin * k, px - 1 - margin * k, px - 1 - margin * k), radius=radius * k, fill=255)
    img = Image.new("RGBA", (px, px), (0, 0, 0, 0))
    img.paste(body, (0, 0), mask)
    return img, k


# The 16-pixel braces are set by hand: scaled-down outlines blur into a smudge
# at that size. '#' is white; the map covers rows 2 to 13 and columns 1 to 14.
BRACES_16 = [
    "..###....###..",
    ".##........##.",
    ".##........##.",
    ".##........##.",
    ".##........##.",
    "##....##....##",
    "##....##....##",
    ".##........##.",
    ".##........##.",
    ".##........##.",
    ".##........##.",
    "..###....###..",
]


def icon_image(size):
    """The application icon at `size` pixels: an orange rounded square with
    white CSS braces around a small paint brush. Below 48 pixels the brush
    becomes a dot, so the braces keep their room."""
    white = (255, 255, 255, 255)
    if size <= 16:
        img, _ = icon_background(size, 0, 56, 8)
        img = img.resize((size, size), Image.LANCZOS)
        px = img.load()
        for row, line in enumerate(BRACES_16):
            for col, ch in enumerate(line):
                if ch == "#":
                    px[1 + col, 2 + row] = white
        return img

    small = size < 48
    ss = 4 if size >= 64 else 8
    img, k = icon_background(size, 6 if small else 10, 44 if small else 52, ss)
    d = ImageDraw.Draw(img)
    bf = ImageFont.truetype(LATIN_BOLD, int((196 if small else 168) * k))
    bx = 70 if small else 60
    d.text((bx * k, 132 * k), "{", font=bf, fill=white, anchor="mm")
    d.text(((256 - bx) * k, 132 * k), "}", font=bf, fill=white, anchor="mm")
    if small:
        d.ellipse((112 * k, 112 * k, 144 * k, 144 * k), fill=white)
    else:
        # Brush leaning right: white handle, pale ferrule, blue bristles.
        blue = (30, 94, 196, 255)
        d.line([(148 * k, 76 * k), (135 * k, 124 * k)], fill=white, width=int(18 * k))
        d.ellipse((139 * k, 67 * k, 157 * k, 85 * k), fill=white)
        d.line([(135 * k, 122 * k), (130 * k, 142 * k)], fill=(214, 224, 236, 255), width=int(22 * k))
        d.polygon([(119 * k, 139 * k), (141 * k, 145 * k), (124 * k, 186 * k), (114 * k, 182 * k)], fill=blue)
        d.ellipse((111 * k, 176 * k, 125 * k, 190 * k), fill=blue)
    return img.resize((size, size), Image.LANCZOS)


def bmp_entry(img):
    """32-bit BGRA DIB as stored in an ICO: header with doubled height, the
    colour rows bottom-up, then the 1-bit AND mask (1 = transparent)."""
    w, h = img.size
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    px = img.load()
    colour = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = px[x, y]
            colour += bytes((b, g, r, a))
    row_bytes = ((w + 31) // 32) * 4
    andmask = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(row_bytes)
        for x in range(w):
            if px[x, y][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        andmask += row
    return header + bytes(colour) + bytes(andmask)


def png_entry(img):
    buf = io.BytesIO()
    img.save(buf, "PNG", optimize=True)
    return buf.getvalue()


def write_ico(path, images):
    count = len(images)
    head = struct.pack("<HHH", 0, 1, count)
    entries, blobs = b"", b""
    offset = 6 + 16 * count
    for img in images:
        w, h = img.size
        blob = png_entry(img) if w >= 256 else bmp_entry(img)
        entries += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        blobs += blob
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(head + entries + blobs)


# --- Output -----------------------------------------------------------------

def save_jpeg(img, name, size):
    assert img.size == size, (name, img.size)
    path = os.path.join(HERE, "pictures", name)
    # 4:4:4 keeps the thin red frames and small text from bleeding.
    img.convert("RGB").save(path, "JPEG", quality=90, subsampling=0, optimize=False, progressive=False)
    print("wrote", os.path.relpath(path, os.path.dirname(HERE)))


def main():
    os.makedirs(os.path.join(HERE, "pictures"), exist_ok=True)
    os.makedirs(os.path.join(HERE, "icon"), exist_ok=True)
    save_jpeg(picture_a(), "a.jpg", (400, 220))
    save_jpeg(picture_b(), "b.jpg", (455, 300))
    save_jpeg(picture_c(), "c.jpg", (650, 505))
    save_jpeg(picture_d(), "d.jpg", (88, 31))
    save_jpeg(picture_e(), "e.jpg", (88, 31))
    ico = os.path.join(HERE, "icon", "quorvel.ico")
    write_ico(ico, [icon_image(s) for s in (256, 128, 48, 32, 16)])
    print("wrote", os.path.relpath(ico, os.path.dirname(HERE)))


if __name__ == "__main__":
    main()
