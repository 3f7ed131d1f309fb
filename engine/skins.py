#!/usr/bin/env python3
"""Generates the sixty skins in the engine's ".SHE" format.

Usage: skins.py OUTDIR
Writes OUTDIR/skins.bin (the distinct skins one after another), OUTDIR/skin_index.h
(where each numbered entry lies in it) and OUTDIR/skins/NN.she (one file per entry,
for tests and as fuzzing seeds).

File layout (all numbers little-endian):
  header   ".SHE", u16 version, u16 section count, u32 file size,
           u32 CRC-32 of the whole file with these four bytes read as zero
  sections u32 tag, u32 payload length, payload
    NAME  UTF-8 name, 1..63 bytes
    PALT  u16 count, count x u32 colour 0x00BBGGRR (see COLOURS)
    METR  u16 count, count x i16 (see METRICS, with their allowed ranges)
    GLYF  u8 glyph id, u8 encoding (0 raw, 1 run-length), u8 width, u8 height,
          coverage data (raw: width*height bytes; runs: pairs of count 1..255, value)
    TEXR  u16 width, u16 height, width*height bytes of caption shading (128 = none)
    NOTE  free UTF-8 text
    PADD  zero bytes
The engine's parser (skin_format.cpp) holds the same lists; keep them in step.
"""
import os
import struct
import sys
import zlib

# Palette slots, in file order.
COLOURS = [
    "captionActiveStart", "captionActiveEnd", "captionInactiveStart", "captionInactiveEnd",
    "captionTextActive", "captionTextInactive", "frameActive", "frameInactive",
    "frameHighlight", "face", "buttonFace", "buttonHot", "buttonPressed", "buttonBorder",
    "buttonText", "buttonTextDisabled", "buttonDefaultBorder", "tabFace", "tabSelected",
    "tabHot", "tabBorder", "tabText", "editFrame", "editFrameFocus", "captionButtonFace",
    "captionButtonHot", "captionButtonPressed", "closeButtonHot", "captionGlyph",
    "captionGlyphInactive",
]

# Metric slots, in file order, with the range the parser accepts.
METRICS = [
    ("captionGradient", 0, 2),        # 0 left to right, 1 top to bottom, 2 flat
    ("captionTextIndent", 0, 32),
    ("captionBold", 0, 1),
    ("captionButtonMargin", 0, 6),
    ("captionButtonRadius", 0, 8),
    ("captionButtonAspect", 80, 200),  # width as a percentage of height
    ("captionButtonGap", 0, 6),
    ("buttonRadius", 0, 8),
    ("buttonGloss", 0, 60),
    ("tabRadius", 0, 6),
    ("frameStyle", 0, 2),             # 0 flat, 1 inner highlight, 2 highlight and shadow
    ("textureStrength", 0, 100),
    ("captionTextShadow", 0, 1),
]

GLYPHS = ["close", "minimise", "maximise", "restore"]

# Entry sizes in bytes, 1..60.
SIZES = [
    8892, 15562, 15978, 58441, 26111, 20136, 17679, 10017, 29554, 19770,
    8224, 15366, 21550, 20863, 46457, 17699, 12278, 33426, 30296, 24894,
    19429, 20484, 30958, 23603, 20738, 20275, 22424, 17997, 17926, 20685,
    17460, 20552, 9533, 18930, 15562, 7105, 11365, 13192, 8490, 19375,
    7122, 35289, 30422, 35527, 28555, 19497, 16746, 33426, 11005, 15345,
    11628, 10974, 15306, 11717, 10953, 15324, 11600, 10896, 15233, 11515,
]

# Entries that carry another entry's bytes.
SHARED = {35: 2, 48: 18}

# The looks: number, name, caption start, caption end, face, accent,
# gradient (0 across, 1 down, 2 flat), corner radius, bold caption, caption texture strength.
LOOKS = [
    (1, "晴空", "#2d6cc0", "#5b9be0", "#eef2f8", "#3a78c8", 0, 3, 1, 0),
    (2, "石墨", "#3a3f47", "#5a616b", "#e7e8ea", "#4c5561", 1, 2, 1, 20),
    (3, "森林", "#2f6b3a", "#4f9a5c", "#eef4ee", "#3d8a4b", 0, 3, 1, 0),
    (4, "暮紫", "#4b2d7a", "#7b52b8", "#f1eef7", "#6a45a8", 1, 4, 1, 60),
    (5, "珊瑚", "#c0504d", "#e07a5f", "#faf1ee", "#d0614f", 0, 4, 0, 30),
    (6, "沙丘", "#9a7b4f", "#c2a172", "#f6f1e8", "#a9834f", 1, 2, 1, 40),
    (7, "海军", "#1f2f56", "#34507f", "#eceff5", "#2e4a80", 0, 1, 1, 10),
    (8, "薄荷", "#3aa68a", "#6cc9ad", "#eef8f4", "#2f9c80", 0, 5, 0, 0),
    (9, "酒红", "#6e1f2f", "#9c3349", "#f6eef0", "#8e2d42", 1, 3, 1, 50),
    (10, "琥珀", "#b8741a", "#e0a040", "#fbf4e8", "#c98220", 0, 3, 1, 20),
    (11, "雪松", "#56707a", "#7f9aa3", "#eef2f3", "#5d7d88", 2, 2, 0, 0),
    (12, "樱花", "#c86b8a", "#e8a0b8", "#fcf2f5", "#c65f82", 0, 6, 0, 10),
    (13, "午夜", "#101820", "#2a3a4a", "#e6e9ec", "#33506a", 1, 2, 1, 40),
    (14, "橄榄", "#5c6b2f", "#87994a", "#f3f5ea", "#6e8236", 0, 2, 1, 30),
    (15, "冰川", "#5b8db8", "#a7c8e4", "#f1f6fa", "#4f86b8", 1, 4, 0, 70),
    (16, "铁锈", "#8a3b1f", "#b85c34", "#f7efea", "#a44d2a", 0, 2, 1, 30),
    (17, "青湖", "#17687c", "#2a9aa0", "#e8f2f1", "#22808e", 0, 3, 1, 0),
    (18, "极光", "#1d4e6b", "#3fa07a", "#edf5f3", "#2f8a78", 0, 4, 1, 80),
    (19, "烟灰", "#6b6b6b", "#9a9a9a", "#f0f0f0", "#707070", 1, 1, 0, 60),
    (20, "葡萄", "#5a2a5e", "#8a4a8e", "#f5eff5", "#7a3f7e", 0, 3, 1, 40),
    (21, "柠檬", "#a8a21c", "#d6cf3c", "#fbfaea", "#9a9418", 1, 5, 0, 20),
    (22, "深海", "#0c3a5a", "#15608f", "#eaf0f5", "#1a6a9c", 1, 3, 1, 30),
    (23, "枫叶", "#a33a1a", "#d8642a", "#fbf0ea", "#c24f22", 0, 3, 1, 70),
    (24, "月光", "#7a86a8", "#b4bdd6", "#f3f4f9", "#6c7aa0", 1, 4, 0, 40),
    (25, "竹林", "#3f6b2a", "#6f9a3c", "#f1f6ec", "#5a8a34", 0, 2, 1, 30),
    (26, "咖啡", "#4a3222", "#7a5640", "#f5f0ec", "#6a4a36", 1, 2, 1, 30),
    (27, "孔雀", "#0f5e6e", "#2a7f9a", "#ebf3f5", "#1f7890", 0, 4, 1, 40),
    (28, "晨曦", "#d0784a", "#f0b070", "#fdf5ee", "#d8804a", 0, 5, 0, 20),
    (29, "钢蓝", "#3a5a7a", "#5a7a9a", "#eef1f4", "#46698c", 2, 1, 1, 20),
    (30, "玫瑰", "#9c2a50", "#cc4a74", "#fbeff3", "#b63a62", 0, 4, 1, 40),
    (31, "苔藓", "#4a5a3a", "#6e7e56", "#f2f4ee", "#5e7048", 1, 2, 0, 30),
    (32, "靛青", "#28306e", "#44509e", "#eff0f7", "#3a4594", 0, 3, 1, 40),
    (33, "奶油", "#b09a70", "#d8c8a0", "#fcfaf3", "#a88e5a", 1, 6, 0, 0),
    (34, "火山", "#3a1a14", "#7a2a1a", "#f4ece9", "#9a3a22", 1, 2, 1, 30),
    (36, "浅灰", "#8090a0", "#a8b4c0", "#f4f5f6", "#6a7a8a", 2, 0, 0, 0),
    (37, "松石", "#2a8a8a", "#4ababa", "#eef8f8", "#268282", 0, 3, 0, 10),
    (38, "夜莺", "#2a2a3a", "#4a4a6a", "#ececf1", "#50508a", 1, 3, 1, 10),
    (39, "麦田", "#a88a3a", "#d0b45a", "#faf6ea", "#a88a30", 0, 2, 0, 0),
    (40, "紫藤", "#6a5a9a", "#9a8aca", "#f4f2fa", "#7060aa", 1, 5, 0, 40),
    (41, "黑曜", "#141414", "#323232", "#e8e8e8", "#404040", 2, 1, 1, 0),
    (42, "翡翠", "#0e6a4a", "#1e9a6a", "#ecf6f1", "#14845a", 0, 4, 1, 80),
    (43, "霞光", "#b84a6a", "#e88a5a", "#fcf1ef", "#cc5a62", 0, 5, 1, 70),
    (44, "星空", "#0a1030", "#2a3070", "#eceef6", "#3a44a0", 1, 3, 1, 90),
    (45, "蜂蜜", "#c08a20", "#e8b84a", "#fcf6e8", "#c89020", 1, 4, 0, 60),
    (46, "海盐", "#6a8aa0", "#9ab8c8", "#f2f6f8", "#5a84a0", 0, 3, 0, 40),
    (47, "朱砂", "#a81e1e", "#d83a2a", "#fbeeec", "#c02a22", 0, 2, 1, 30),
    (49, "岩灰", "#5a5a60", "#7a7a84", "#efeff1", "#5e5e6a", 1, 2, 1, 10),
    (50, "碧波", "#1a7aa8", "#3aaad0", "#edf6fa", "#1e88b8", 0, 4, 0, 40),
    (51, "丁香", "#8a6a9a", "#b89ac8", "#f8f3fa", "#8e6aa2", 0, 5, 0, 10),
    (52, "墨竹", "#1e3a2a", "#3a5a44", "#eef2ef", "#2e5a40", 1, 2, 1, 10),
    (53, "橘子", "#d0661a", "#f0903a", "#fdf3ea", "#e0761e", 0, 4, 1, 40),
    (54, "云杉", "#2e5a5a", "#4a7e7a", "#eef4f3", "#3a6e6a", 2, 3, 1, 10),
    (55, "灰蓝", "#4a6070", "#6a8494", "#eff2f4", "#4e6c80", 0, 1, 0, 10),
    (56, "胭脂", "#8a2a4a", "#b84a6a", "#faeff3", "#a23a5a", 1, 4, 1, 40),
    (57, "天青", "#4a90c0", "#7ab8e0", "#f0f6fb", "#3a88c0", 0, 3, 0, 10),
    (58, "古铜", "#6a4a2a", "#9a7040", "#f6f1ea", "#8a6030", 1, 2, 1, 10),
    (59, "雾蓝", "#6a7a9a", "#94a4c0", "#f2f4f8", "#60709a", 0, 4, 0, 40),
    (60, "经典", "#0a246a", "#3a6ea5", "#ece9d8", "#316ac5", 0, 3, 1, 10),
]

MAX_SIZE = 1 << 20


def rgb(text):
    v = int(text[1:], 16)
    return ((v >> 16) & 255, (v >> 8) & 255, v & 255)


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def lighten(c, t):
    return mix(c, (255, 255, 255), t)


def darken(c, t):
    return mix(c, (0, 0, 0), t)


def luma(c):
    return (0.299 * c[0] + 0.587 * c[1] + 0.114 * c[2]) / 255


def grey(c):
    v = round(luma(c) * 255)
    return (v, v, v)


def palette(capA, capB, face, accent):
    mid = mix(capA, capB, 0.5)
    inA = lighten(mix(capA, grey(capA), 0.6), 0.35)
    inB = lighten(mix(capB, grey(capB), 0.6), 0.35)
    textActive = (255, 255, 255) if luma(mid) < 0.6 else (24, 24, 24)
    inMid = mix(inA, inB, 0.5)
    textInactive = mix((255, 255, 255) if luma(inMid) < 0.6 else (24, 24, 24), inMid, 0.35)
    frame = darken(mid, 0.2)
    buttonFace = lighten(face, 0.55)
    dark = (28, 28, 28)
    p = {
        "captionActiveStart": capA, "captionActiveEnd": capB,
        "captionInactiveStart": inA, "captionInactiveEnd": inB,
        "captionTextActive": textActive, "captionTextInactive": textInactive,
        "frameActive": frame, "frameInactive": mix(frame, grey(frame), 0.6),
        "frameHighlight": lighten(mid, 0.4), "face": face,
        "buttonFace": buttonFace, "buttonHot": mix(buttonFace, accent, 0.18),
        "buttonPressed": mix(face, accent, 0.38), "buttonBorder": darken(mix(accent, face, 0.3), 0.15),
        "buttonText": dark, "buttonTextDisabled": mix(dark, buttonFace, 0.6),
        "buttonDefaultBorder": darken(accent, 0.1), "tabFace": darken(mix(face, accent, 0.08), 0.04),
        "tabSelected": face, "tabHot": mix(face, accent, 0.2), "tabBorder": darken(mix(face, accent, 0.45), 0.2),
        "tabText": dark, "editFrame": darken(mix(accent, face, 0.45), 0.1), "editFrameFocus": accent,
        "captionButtonFace": lighten(capB, 0.12), "captionButtonHot": lighten(capB, 0.32),
        "captionButtonPressed": darken(capB, 0.25), "closeButtonHot": (200, 50, 40),
        "captionGlyph": textActive, "captionGlyphInactive": textInactive,
    }
    return [p[name] for name in COLOURS]


def glyph(kind, size, stroke):
    """Anti-aliased coverage mask (size x size, values 0..255) drawn by 4x4 supersampling."""
    def inside(x, y):
        s = stroke / 2
        lo, hi = 1.0, size - 1.0
        if kind == "close":
            d1 = abs((x - lo) - (y - lo)) / 1.4142
            d2 = abs((x - lo) - (hi - y)) / 1.4142
            return lo <= x <= hi and lo <= y <= hi and min(d1, d2) <= s
        if kind == "minimise":
            return lo <= x <= hi and hi - stroke - 0.5 <= y <= hi - 0.5

        def box(x0, y0, x1, y1, top):
            if not (x0 <= x <= x1 and y0 <= y <= y1):
                return False
            return x - x0 <= s or x1 - x <= s or y1 - y <= s or y - y0 <= top
        if kind == "maximise":
            return box(lo, lo, hi, hi, stroke + 0.5)
        off = size * 0.28
        front = box(lo, lo + off, hi - off, hi, stroke)
        back = box(lo + off, lo, hi, hi - off, stroke) and not (lo <= x <= hi - off and lo + off <= y <= hi)
        return front or back

    out = bytearray()
    for py in range(size):
        for px in range(size):
            hits = sum(inside(px + (i + 0.5) / 4, py + (j + 0.5) / 4) for i in range(4) for j in range(4))
            out.append(min(255, hits * 16))
    return bytes(out)


def rle(data):
    out = bytearray()
    i = 0
    while i < len(data):
        j = i
        while j < len(data) and data[j] == data[i] and j - i < 255:
            j += 1
        out += bytes((j - i, data[i]))
        i = j
    return bytes(out)


def texture(number, strength, width, height):
    """Caption shading: soft bands and fine grain, centred on 128."""
    seed = number * 2654435761 & 0xffffffff
    out = bytearray()
    for y in range(height):
        for x in range(width):
            seed = (seed * 1103515245 + 12345) & 0xffffffff
            grain = ((seed >> 16) & 31) - 16
            band = 24 if (number % 3 == 0 and y < height // 2) else (-10 if (number % 3 == 1 and (x + y) % 7 == 0) else 0)
            out.append(max(0, min(255, 128 + grain + band - y * 2)))
    return bytes(out)


def section(tag, payload):
    return tag.encode("ascii") + struct.pack("<I", len(payload)) + payload


def build(number, name, capA, capB, face, accent, gradient, radius, bold, strength, size):
    colours = palette(rgb(capA), rgb(capB), rgb(face), rgb(accent))
    metrics = {
        "captionGradient": gradient, "captionTextIndent": 4 + number % 3 * 2, "captionBold": bold,
        "captionButtonMargin": 2 + number % 2, "captionButtonRadius": radius,
        "captionButtonAspect": 110 + number % 4 * 10, "captionButtonGap": 1 + number % 3,
        "buttonRadius": radius, "buttonGloss": 10 + number % 5 * 8, "tabRadius": min(radius, 6),
        "frameStyle": number % 3, "textureStrength": strength, "captionTextShadow": 1 if luma(rgb(capA)) < 0.3 else 0,
    }
    for key, lo, hi in METRICS:
        assert lo <= metrics[key] <= hi, (number, key)
    encodedName = name.encode("utf-8")
    sections = [
        section("NAME", encodedName),
        section("PALT", struct.pack("<H", len(colours)) + b"".join(
            struct.pack("<I", r | g << 8 | b << 16) for r, g, b in colours)),
        section("METR", struct.pack("<H", len(METRICS)) + b"".join(
            struct.pack("<h", metrics[key]) for key, _, _ in METRICS)),
    ]
    glyphSize = 8 + number % 3
    stroke = 1.2 + (number % 4) * 0.25
    for index, kind in enumerate(GLYPHS):
        cover = glyph(kind, glyphSize, stroke)
        packed = rle(cover)
        encoding, data = (1, packed) if len(packed) < len(cover) else (0, cover)
        sections.append(section("GLYF", bytes((index, encoding, glyphSize, glyphSize)) + data))
    note = ("Quorvel skin %d, %s. Caption %s to %s, face %s, accent %s." %
            (number, name, capA, capB, face, accent)).encode("utf-8")
    sections.append(section("NOTE", note))
    used = 16 + sum(len(s) for s in sections) + 8  # header and the padding section's own header
    if strength:
        height = 20
        width = min(1024, (size - used - 8 - 4 - 64) // height)
        assert width >= 16, number
        sections.append(section("TEXR", struct.pack("<HH", width, height) + texture(number, strength, width, height)))
        used += len(sections[-1])
    assert used <= size, (number, used, size)
    sections.append(section("PADD", bytes(size - used)))
    body = b"".join(sections)
    header = b".SHE" + struct.pack("<HHII", 1, len(sections), 16 + len(body), 0)
    blob = header + body
    crc = zlib.crc32(blob) & 0xffffffff
    blob = blob[:12] + struct.pack("<I", crc) + blob[16:]
    assert len(blob) == size and len(blob) <= MAX_SIZE
    return blob


def main():
    out = sys.argv[1]
    os.makedirs(os.path.join(out, "skins"), exist_ok=True)
    looks = {row[0]: row for row in LOOKS}
    assert len(looks) == 58 and set(looks) | set(SHARED) == set(range(1, 61))
    entries = {}
    for number in range(1, 61):
        if number in SHARED:
            continue
        row = looks[number]
        entries[number] = build(*row, SIZES[number - 1])
    for number, source in SHARED.items():
        assert SIZES[number - 1] == SIZES[source - 1]
        entries[number] = entries[source]
    distinct = [n for n in range(1, 61) if n not in SHARED]
    assert len({entries[n] for n in distinct}) == 58
    offsets, blob = {}, bytearray()
    for n in distinct:
        offsets[n] = len(blob)
        blob += entries[n]
    for number, source in SHARED.items():
        offsets[number] = offsets[source]
    with open(os.path.join(out, "skins.bin"), "wb") as f:
        f.write(blob)
    for n in range(1, 61):
        with open(os.path.join(out, "skins", "%02d.she" % n), "wb") as f:
            f.write(entries[n])
    lines = ["// Generated by engine/skins.py: where each numbered skin lies in skins.bin.",
             "#pragma once", "#include <cstdint>", "",
             "namespace skinData::generated {",
             "inline constexpr std::uint32_t blobSize = %d;" % len(blob),
             "struct Entry { std::uint32_t offset, size; };",
             "inline constexpr Entry entries[60] = {"]
    lines += ["    {%d, %d}, // %d" % (offsets[n], len(entries[n]), n) for n in range(1, 61)]
    lines += ["};", "} // namespace skinData::generated", ""]
    text = "\n".join(lines)
    path = os.path.join(out, "skin_index.h")
    # Rewrite only on change, so the build does not recompile what did not change.
    if not os.path.exists(path) or open(path).read() != text:
        with open(path, "w") as f:
            f.write(text)


if __name__ == "__main__":
    main()
