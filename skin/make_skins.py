#!/usr/bin/env python3
"""Writes the 33 skins of the skin library: skin_01.skn ... skin_33.skn.

    make_skins.py OUTPUT_FOLDER

Every skin is a light palette around one hue, so that text of any colour a
program chooses for itself (black, navy, blue, red) stays readable on it.
Each palette is checked for contrast before it is written; a colour that
falls short is darkened until it reads well. Skin 9 is the one users see
first, and its palette is chosen by hand.
"""
import colorsys
import struct
import sys
from pathlib import Path

MAGIC = b"PSKN"
VERSION = 1
PARTS = [
    "window_background", "text", "group_frame",
    "button_face", "button_hover", "button_pressed", "button_text", "button_disabled_text",
    "edit_background", "edit_text", "list_background", "list_text",
    "accent", "progress_fill", "progress_background", "tab_face", "tab_selected",
]
GRADIENT = 1
WHITE = (255, 255, 255)
# Colours that programs paint their own text in on these backgrounds.
FOREIGN_TEXT = {"black": ((0, 0, 0), 7.0), "navy": ((0, 0, 128), 7.0),
                "blue": ((0, 0, 255), 4.5), "red": ((255, 0, 0), 3.0)}


def hsl(hue, saturation, lightness):
    r, g, b = colorsys.hls_to_rgb((hue % 360) / 360, lightness, saturation)
    return tuple(round(c * 255) for c in (r, g, b))


def luminance(colour):
    def channel(c):
        c /= 255
        return c / 12.92 if c <= 0.03928 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = (channel(c) for c in colour)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    light, dark = sorted((luminance(a), luminance(b)), reverse=True)
    return (light + 0.05) / (dark + 0.05)


def mix(a, b, share_of_b):
    return tuple(round(x + (y - x) * share_of_b) for x, y in zip(a, b))


def darkened_until(colour, against, ratio):
    """`colour`, darkened in small steps until it reads on `against`."""
    hue, lightness, saturation = colorsys.rgb_to_hls(*(c / 255 for c in colour))
    while contrast(colour, against) < ratio and lightness > 0:
        lightness = max(0.0, lightness - 0.01)
        colour = tuple(round(c * 255) for c in colorsys.hls_to_rgb(hue, lightness, saturation))
    return colour


def palette(hue, saturation):
    """A calm light palette around `hue`; `saturation` sets how colourful."""
    p = {
        "window_background": hsl(hue, saturation * 0.30, 0.89),
        "tab_selected": hsl(hue, saturation * 0.28, 0.965),
        "tab_face": hsl(hue, saturation * 0.32, 0.82),
        "group_frame": hsl(hue, saturation * 0.30, 0.66),
        "text": hsl(hue, saturation * 0.40, 0.17),
        "button_face": hsl(hue, saturation, 0.42),
        "button_text": WHITE,
        "edit_background": hsl(hue, saturation * 0.30, 0.985),
        "edit_text": hsl(hue, saturation * 0.40, 0.14),
        "accent": hsl(hue, saturation, 0.52),
        "progress_fill": hsl(hue + 20, saturation, 0.48),
        "progress_background": hsl(hue, saturation * 0.25, 0.93),
    }
    return finish(p)


def finish(p):
    """Fills in the colours that follow from the others and makes sure
    every text reads on its background."""
    p["button_face"] = darkened_until(p["button_face"], p["button_text"], 4.6)
    p.setdefault("button_hover", mix(p["button_face"], WHITE, 0.14))
    p["button_hover"] = darkened_until(p["button_hover"], p["button_text"], 4.5)
    p.setdefault("button_pressed", mix(p["button_face"], (0, 0, 0), 0.18))
    p["progress_fill"] = darkened_until(p["progress_fill"], p["progress_background"], 2.5)
    p.setdefault("list_background", p["edit_background"])
    p.setdefault("list_text", p["edit_text"])
    # A disabled button is drawn in a pale face, mostly the window's colour.
    pale_face = disabled_face(p)
    p.setdefault("button_disabled_text", mix(p["group_frame"], (0, 0, 0), 0.25))
    p["button_disabled_text"] = darkened_until(p["button_disabled_text"], pale_face, 3.0)
    return p


def disabled_face(p):
    # The library mixes the same way; see skin-format.md.
    return mix(p["button_face"], p["window_background"], 0.7)


def showcase():
    """Skin 9: harbour blue, a quiet blue-grey window with deep blue buttons."""
    return finish({
        "window_background": (0xE4, 0xEA, 0xF2),
        "tab_selected": (0xF5, 0xF8, 0xFC),
        "tab_face": (0xD3, 0xDD, 0xEA),
        "group_frame": (0xA9, 0xB9, 0xCE),
        "text": (0x1F, 0x2D, 0x3D),
        "button_face": (0x2F, 0x6F, 0xB3),
        "button_hover": (0x3E, 0x82, 0xC8),
        "button_pressed": (0x24, 0x57, 0x8E),
        "button_text": WHITE,
        "edit_background": (0xFC, 0xFD, 0xFF),
        "edit_text": (0x1A, 0x24, 0x33),
        "accent": (0x3E, 0x8E, 0xDE),
        "progress_fill": (0x35, 0x9C, 0x8A),
        "progress_background": (0xE9, 0xEE, 0xF4),
    })


# (name, hue, saturation, corner radius, gradient); skin 9 is the showcase.
SKINS = [
    ("Slate", 215, 0.12, 4, False), ("Meadow", 120, 0.40, 5, False), ("Amber", 38, 0.70, 4, True),
    ("Lagoon", 185, 0.55, 6, False), ("Orchid", 290, 0.35, 5, False), ("Brick", 8, 0.55, 3, True),
    ("Moss", 85, 0.35, 4, False), ("Indigo", 235, 0.45, 5, True), ("Harbour", None, None, 5, False),
    ("Rose", 340, 0.45, 6, False), ("Teal", 172, 0.50, 4, True), ("Sand", 45, 0.35, 3, False),
    ("Plum", 310, 0.30, 4, True), ("Sky", 200, 0.65, 6, False), ("Pine", 150, 0.40, 3, True),
    ("Copper", 22, 0.55, 5, False), ("Lavender", 260, 0.40, 6, False), ("Graphite", 210, 0.04, 3, False),
    ("Jade", 160, 0.45, 5, False), ("Ocean", 220, 0.60, 4, True), ("Coral", 12, 0.65, 6, False),
    ("Olive", 65, 0.40, 3, False), ("Berry", 325, 0.50, 5, True), ("Steel", 205, 0.20, 2, True),
    ("Mint", 140, 0.45, 7, False), ("Sunset", 28, 0.75, 5, True), ("Violet", 275, 0.50, 4, False),
    ("Cedar", 30, 0.30, 3, False), ("Glacier", 192, 0.35, 7, True), ("Cherry", 352, 0.60, 4, False),
    ("Forest", 130, 0.30, 4, True), ("Dusk", 245, 0.25, 5, False), ("Marigold", 48, 0.80, 6, True),
]


def check(number, p):
    for background in ("window_background", "tab_selected", "tab_face"):
        # Programs draw a white shadow under some of their text.
        assert p[background] != WHITE, (number, background)
        assert contrast(p["text"], p[background]) >= 7, (number, background)
    # A program's own labels lie on the window and on the tab pages.
    for background in ("window_background", "tab_selected"):
        for name, (colour, ratio) in FOREIGN_TEXT.items():
            assert contrast(colour, p[background]) >= ratio, (number, name, background)
    for face in ("button_face", "button_hover", "button_pressed"):
        assert contrast(p["button_text"], p[face]) >= 4.5, (number, face)
    assert contrast(p["button_disabled_text"], disabled_face(p)) >= 3, number
    assert contrast(p["edit_text"], p["edit_background"]) >= 7, number
    assert contrast(p["list_text"], p["list_background"]) >= 7, number
    assert contrast(p["progress_fill"], p["progress_background"]) >= 2.5, number


def skin_bytes(name, p, radius, gradient):
    encoded = name.encode("utf-8")
    size = 12 + 3 * len(PARTS) + len(encoded)
    header = MAGIC + struct.pack("<HHBBBB", VERSION, size, radius, GRADIENT if gradient else 0, len(PARTS), len(encoded))
    colours = b"".join(bytes(p[part]) for part in PARTS)
    return header + colours + encoded


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    assert len(SKINS) == 33
    for number, (name, hue, saturation, radius, gradient) in enumerate(SKINS, start=1):
        p = showcase() if hue is None else palette(hue, saturation)
        check(number, p)
        (out / f"skin_{number:02d}.skn").write_bytes(skin_bytes(name, p, radius, gradient))


if __name__ == "__main__":
    main()
