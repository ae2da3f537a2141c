#!/usr/bin/python3
"""Draws the program's pictures and its icon into this folder.

P1: the panel's background, 279 x 16, every pixel #222222.
P2, P3: the panel's start button (normal; hover and pressed), 115 x 45.
S1: the start window's button face, 115 x 45.
companion-tuner.ico: a white ring on a red rounded square, ten sizes.

Run with Debian's Python and PIL (python3-pil) and the WenQuanYi Micro Hei font
(fonts-wqy-microhei); the output is committed beside this script.
"""
import os

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
SUPERSAMPLE = 4  # shapes are drawn larger and scaled down, for smooth edges

BUTTON_SIZE = (115, 45)
MARGIN_COLOUR = (0x14, 0x14, 0x14, 255)
MARGIN_RADIUS = 6
FACE_INSET = 3
FACE_RADIUS = 8
LABEL_SIZE = 16

ICON_SIZES = [16, 20, 24, 32, 40, 48, 64, 96, 128, 256]
ICON_RED = (0xE5, 0x39, 0x35, 255)
WHITE = (255, 255, 255, 255)


def hex_colour(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5)) + (255,)


def smooth_shapes(size, draw_shapes):
    """Calls draw_shapes(draw, scale) on a larger transparent canvas and scales it down."""
    big = Image.new("RGBA", (size[0] * SUPERSAMPLE, size[1] * SUPERSAMPLE), (0, 0, 0, 0))
    draw_shapes(ImageDraw.Draw(big), SUPERSAMPLE)
    return big.resize(size, Image.Resampling.BOX)


def button_picture(face_colour, label):
    """A rounded face with a white centred label, on a near-black rounded margin."""
    width, height = BUTTON_SIZE

    def shapes(draw, s):
        draw.rounded_rectangle((0, 0, width * s - 1, height * s - 1), MARGIN_RADIUS * s, fill=MARGIN_COLOUR)
        draw.rounded_rectangle((FACE_INSET * s, FACE_INSET * s, (width - FACE_INSET) * s - 1,
                                (height - FACE_INSET) * s - 1), FACE_RADIUS * s, fill=hex_colour(face_colour))

    picture = smooth_shapes(BUTTON_SIZE, shapes)
    font = ImageFont.truetype(FONT, LABEL_SIZE)
    ImageDraw.Draw(picture).text((width / 2, height / 2), label, font=font, fill=WHITE, anchor="mm")
    return picture


def icon_picture(size):
    """A white ring on a red rounded square, drawn for one size."""

    def shapes(draw, s):
        full = size * s
        draw.rounded_rectangle((0, 0, full - 1, full - 1), full * 0.2, fill=ICON_RED)
        centre, outer = full / 2, full * 0.31
        ring = max(full * 0.1, 1.6 * s)
        draw.ellipse((centre - outer, centre - outer, centre + outer, centre + outer), outline=WHITE,
                     width=round(ring))

    return smooth_shapes((size, size), shapes)


def main():
    Image.new("RGB", (279, 16), (0x22, 0x22, 0x22)).save(os.path.join(HERE, "P1.png"))
    button_picture("#FF2D66", "开始优化").save(os.path.join(HERE, "P2.png"))
    button_picture("#E63257", "开始优化").save(os.path.join(HERE, "P3.png"))
    button_picture("#E63257", "启动插件").save(os.path.join(HERE, "S1.png"))
    icons = [icon_picture(size) for size in ICON_SIZES]
    icons[-1].save(os.path.join(HERE, "companion-tuner.ico"), sizes=[(s, s) for s in ICON_SIZES],
                   append_images=icons[:-1])


if __name__ == "__main__":
    main()
