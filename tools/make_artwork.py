#!/usr/bin/env python3
"""Draw every picture the game uses and write them under assets/.

Run from anywhere: `python3 tools/make_artwork.py`.  The output is fully
deterministic, so re-running it leaves the working tree unchanged.

Needs Debian's python3-pil and fonts-dejavu-core.
"""

import math
import os

from PIL import Image, ImageDraw, ImageFont, ImageOps

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ART_DIR = os.path.join(ROOT, "assets", "art")
ICON_DIR = os.path.join(ROOT, "assets", "icons")
FONT_DIR = "/usr/share/fonts/truetype/dejavu"
FONT_BOLD = os.path.join(FONT_DIR, "DejaVuSans-Bold.ttf")
FONT_MONO = os.path.join(FONT_DIR, "DejaVuSansMono-Bold.ttf")

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
PURPLE = (0x99, 0x00, 0xFF)
PURPLE_LIGHT = (0xC2, 0x66, 0xFF)
PURPLE_SHADOW = (0x3D, 0x00, 0x66)
FRAME_LIGHT = (0xAD, 0xAD, 0xAD)
FRAME_DARK = (0x94, 0x94, 0x94)

BALL_COLOURS = {"cyan": (0, 200, 255), "green": (40, 215, 40), "red": (235, 30, 30)}
ICON_SIZES = (16, 48, 64, 128, 256, 512)

# Glyph cells are 22x28 but shown 20 px wide, overlapping by 2 px.
GLYPH_SIZE = (22, 28)
GLYPH_INK = (2, 2, 17, 25)          # inclusive left, top, right, bottom
GLYPH_THRESHOLD = 110               # coverage that becomes ink

LABEL_SIZE = (89, 20)
WIDE_BUTTON = (111, 25)
SMALL_BUTTONS = {"ok": (47, 29), "reset": (75, 24), "scores": (89, 20),
                 "about": (72, 19), "exit": (52, 22)}
FIXED_SIZES = {"background": (654, 472), "logo": (278, 59), "about": (343, 123),
               "gameover": (73, 42), "icon_minimize": (20, 20), "icon_exit": (20, 20),
               "blank": (32, 32), "hand_cursor": (32, 32), "program_icon": (32, 32)}
WIDE_BUTTON_CAP = 12
SMALL_BUTTON_CAP = 11

written = {}


def save(img, name, folder=None):
    full = os.path.join(folder or ART_DIR, name)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    img.save(full, optimize=False)
    written[os.path.relpath(full, ROOT)] = img


def canvas(size):
    return Image.new("RGBA", size, BLACK + (255,))


# ---------------------------------------------------------------- text ----

def font(size, path=FONT_BOLD):
    return ImageFont.truetype(path, size)


def text_mask(text, fnt):
    """Anti-aliased coverage of `text`, cropped to its ink."""
    left, top, right, bottom = fnt.getbbox(text)
    img = Image.new("L", (right - left + 8, bottom - top + 8), 0)
    ImageDraw.Draw(img).text((4 - left, 4 - top), text, font=fnt, fill=255)
    return img.crop(img.getbbox())


def font_for(text, cap, max_width, path=FONT_BOLD):
    """Largest font with at most the given cap height whose text fits."""
    size = cap * 2
    while size > 4:
        fnt = font(size, path)
        cap_top, cap_bottom = fnt.getbbox("H")[1::2]
        if cap_bottom - cap_top <= cap and text_mask(text, fnt).width <= max_width:
            return fnt
        size -= 1
    raise ValueError(text)


def paint(img, mask, pos, colour=PURPLE):
    """Lay a solid colour through a coverage mask: blends towards the
    black underneath only."""
    img.paste(colour + (255,), (pos[0], pos[1], pos[0] + mask.width,
                                pos[1] + mask.height), mask)


def centred(img, mask, top=None, dx=0):
    x = (img.width - mask.width) // 2 + dx
    y = (img.height - mask.height) // 2 if top is None else top
    return x, y


def fancy_title(img, mask, pos):
    """Big title lettering: dark drop shadow, purple body, lit top."""
    x, y = pos
    paint(img, mask, (x + 2, y + 2), PURPLE_SHADOW)
    shade = Image.new("RGBA", mask.size)
    for row in range(mask.height):
        t = row / max(1, mask.height - 1)
        k = max(0.0, 1.0 - t / 0.45)      # highlight fades out by mid height
        col = tuple(round(p + (l - p) * k) for p, l in zip(PURPLE, PURPLE_LIGHT))
        ImageDraw.Draw(shade).line((0, row, mask.width, row), fill=col + (255,))
    img.paste(shade, pos, mask)


def gameover():
    img = canvas(FIXED_SIZES["gameover"])
    lines = [text_mask(t, font_for(t, 14, img.width - 6)) for t in ("GAME", "OVER")]
    gap = 4
    y = (img.height - sum(m.height for m in lines) - gap) // 2
    for mask in lines:
        paint(img, mask, centred(img, mask, top=y))
        y += mask.height + gap
    return img


# ------------------------------------------------------- window pieces ----

def background():
    img = canvas(FIXED_SIZES["background"])
    d = ImageDraw.Draw(img)
    for inset, col in enumerate((WHITE, FRAME_LIGHT, FRAME_DARK, BLACK,
                                 FRAME_DARK, FRAME_LIGHT)):
        d.rectangle((inset, inset, img.width - 1 - inset,
                     img.height - 1 - inset), outline=col)
    return img


def logo():
    img = canvas(FIXED_SIZES["logo"])
    mask = text_mask("QUIBBIX", font_for("QUIBBIX", 46, 268))
    fancy_title(img, mask, centred(img, mask, dx=-1))   # shadow falls right
    return img


def about():
    img = canvas(FIXED_SIZES["about"])
    title = text_mask("QUIBBIX", font_for("QUIBBIX", 44, 300))
    fancy_title(img, title, centred(img, title, top=6))
    web = text_mask("www.quibbix.example", font_for("www.quibbix.example", 11, 240))
    paint(img, web, centred(img, web, top=70))
    version = text_mask("VERSION", font_for("VERSION", 12, 200))
    paint(img, version, centred(img, version, top=img.height - 6 - version.height))
    return img


def label(text):
    img = canvas(LABEL_SIZE)
    mask = text_mask(text, font_for(text, 14, LABEL_SIZE[0] - 4))
    paint(img, mask, (2, (img.height - mask.height) // 2))
    return img


def button(size, text, fnt):
    img = canvas(size)
    ImageDraw.Draw(img).rounded_rectangle(
        (1, 1, size[0] - 2, size[1] - 2), radius=4, outline=PURPLE)
    mask = text_mask(text, fnt)
    paint(img, mask, centred(img, mask))
    return img


def window_icon(symbol):
    img = canvas((20, 20))
    d = ImageDraw.Draw(img)
    d.rounded_rectangle((2, 2, 17, 17), radius=2, outline=PURPLE)
    if symbol == "_":
        d.rectangle((6, 12, 13, 13), fill=PURPLE)
    else:
        for i in range(7):              # two diagonal bands of 2x2 steps
            d.rectangle((6 + i, 6 + i, 7 + i, 7 + i), fill=PURPLE)
            d.rectangle((12 - i, 6 + i, 13 - i, 7 + i), fill=PURPLE)
    return img


# --------------------------------------------------------------- balls ----

BALL_CENTRE = (15.5, 15.0)
BALL_RADII = (15.0, 14.6)
LIGHT = (-0.5, -0.62, 0.6)


def unit(v):
    n = math.sqrt(sum(c * c for c in v))
    return tuple(c / n for c in v)


def shade_sphere(base, nx, ny):
    """Colour of a sphere point seen head-on, lit from the top left."""
    nz = math.sqrt(max(0.0, 1.0 - nx * nx - ny * ny))
    lx, ly, lz = unit(LIGHT)
    diffuse = max(0.0, nx * lx + ny * ly + nz * lz)
    hx, hy, hz = unit((lx, ly, lz + 1.0))
    shine = max(0.0, nx * hx + ny * hy + nz * hz) ** 60
    rim = max(0.0, nx * 0.6 + ny * 0.8) * (1.0 - nz) * 0.35  # bounce light
    k = 0.22 + 0.85 * diffuse + rim
    return tuple(min(255, round(c * k + 255 * shine * 0.95)) for c in base)


def ball_sheet(base):
    """Shaded ball on top, its black-on-white mask below.  The disc spans
    columns 1..30 and rows 1..29 with a hard edge."""
    img = Image.new("RGBA", (32, 64), BLACK + (255,))
    px = img.load()
    for y in range(32):
        for x in range(32):
            px[x, y + 32] = WHITE + (255,)
            nx = (x - BALL_CENTRE[0]) / BALL_RADII[0]
            ny = (y - BALL_CENTRE[1]) / BALL_RADII[1]
            if nx * nx + ny * ny <= 1.0:
                colour = shade_sphere(base, nx, ny)
                px[x, y] = (colour if colour != BLACK else (1, 1, 1)) + (255,)
                px[x, y + 32] = BLACK + (255,)
    return img


# ------------------------------------------------------------- glyphs ----

def glyph_outline(ch, fnt):
    """Crisp glyph ink: the monospaced letter drawn large, stretched to fill
    the ink box and averaged down to whole pixels."""
    big = text_mask(ch, fnt)
    size = (GLYPH_INK[2] - GLYPH_INK[0] + 1, GLYPH_INK[3] - GLYPH_INK[1] + 1)
    small = big.resize(size, Image.BOX)
    return small.point(lambda a: 255 if a >= GLYPH_THRESHOLD else 0)


def glyph(ch, fnt):
    img = canvas(GLYPH_SIZE)
    d = ImageDraw.Draw(img)
    left, top, right, bottom = GLYPH_INK
    if ch == "_":
        d.rectangle((left, bottom - 3, right, bottom), fill=PURPLE)
    elif ch == ".":
        d.rectangle((8, bottom - 3, 11, bottom), fill=PURPLE)
    else:
        paint(img, glyph_outline(ch, fnt), (left, top))
    return img


# --------------------------------------------------------------- cursor ----

# '#' black outline, '.' white; the fingertip's top pixel is (12, 1).
HAND = """\

           ###
          #...#
          #...#
          #...#
          #...#
          #...#
          #...#
          #...####
          #...#...####
          #...#...#...#
          #...#...#...###
          #...#...#...#..#
  ###     #...#...#...#..#
 #...#    #...#...#...#..#
 #....#   #..............#
  #....#  #..............#
   #....# #..............#
    #....##..............#
     #...................#
      #.................#
       #................#
        #..............#
         #.............#
         #.............#
         ###############"""


def hand_cursor():
    img = Image.new("RGBA", (32, 32), BLACK + (0,))
    px = img.load()
    for y, row in enumerate(HAND.split("\n")):
        for x, c in enumerate(row):
            if c == "#":
                px[x, y] = BLACK + (255,)
            elif c == ".":
                px[x, y] = WHITE + (255,)
    return img


# ------------------------------------------------------- program icon ----

def icon_shape(size):
    """Where the icon's parts lie, in pixels of a `size`-pixel icon: the ring's
    outer edge and width, the ball's edge, and the Q stroke's middle, half
    length and width.  Both the pictures and the scalable icon are drawn from
    it, so they never drift apart."""
    ring_w = max(2.0, size * 0.10)
    edge = 0.03 * size
    gap = max(1.0, size * 0.03)
    return {"edge": edge, "ring_w": ring_w, "gap": gap, "inner": edge + ring_w + gap,
            "tail_c": size * 0.79, "tail": size * 0.13, "tail_w": ring_w * 1.1}


def program_icon(size):
    """Glossy green ball held in a purple 'Q' ring.  Drawn afresh for each
    size so that small icons keep a ring thick enough to read."""
    ss = 4                                  # supersampling for smooth edges
    big = size * ss
    shape = icon_shape(size)
    ring_w = round(shape["ring_w"] * ss)
    edge = shape["edge"] * ss
    inner = edge + ring_w + shape["gap"] * ss
    ring, ball = Image.new("L", (big, big)), Image.new("L", (big, big))
    d = ImageDraw.Draw(ring)
    d.ellipse((edge, edge, big - 1 - edge, big - 1 - edge), outline=255, width=ring_w)
    c, tail = shape["tail_c"] * ss, shape["tail"] * ss     # the stroke that makes it a Q
    d.line((c - tail, c - tail, c + tail * 0.9, c + tail * 0.9),
           fill=255, width=round(ring_w * 1.1))
    ImageDraw.Draw(ball).ellipse((inner, inner, big - 1 - inner, big - 1 - inner), fill=255)

    shaded = Image.new("RGB", (size, size))
    px = shaded.load()
    centre, radius = (size - 1) / 2, size / 2 - inner / ss
    for y in range(size):
        for x in range(size):
            nx, ny = (x - centre) / radius, (y - centre) / radius
            r = math.hypot(nx, ny)
            if r <= 1.2:                    # edge pixels take the rim colour
                k = min(1.0, 1.0 / max(r, 1e-9))
                px[x, y] = shade_sphere(BALL_COLOURS["green"], nx * k, ny * k)

    def layer(rgb, mask):
        return Image.merge("RGBA", rgb.split() + (mask.resize((size, size), Image.BOX),))
    purple = Image.new("RGB", (size, size), PURPLE)
    return Image.alpha_composite(layer(shaded, ball), layer(purple, ring))


def hex_colour(rgb):
    return "#%02x%02x%02x" % rgb


def program_icon_svg(size=256):
    """The same icon as a scalable picture: the ball's shading sampled from
    its highlight to the far rim, as a gradient round the highlight."""
    shape = icon_shape(size)
    half = size / 2
    ring_r = half - shape["edge"] - shape["ring_w"] / 2
    ball_r = half - shape["inner"]
    c, tail = shape["tail_c"], shape["tail"]
    lx, ly, lz = unit(LIGHT)
    hx, hy, _ = unit((lx, ly, lz + 1.0))
    far = unit((-hx, -hy))
    focus = (half + hx * ball_r, half + hy * ball_r)
    reach = math.hypot(far[0] - hx, far[1] - hy) * ball_r
    # Each stop is the mean shade of the ball's points at its distance from the highlight.
    sums = [[0.0, 0.0, 0.0, 0] for _ in range(11)]
    for y in range(size):
        for x in range(size):
            nx, ny = (x + 0.5 - half) / ball_r, (y + 0.5 - half) / ball_r
            if nx * nx + ny * ny < 1.0:
                band = sums[round(10 * min(1.0, math.hypot(x + 0.5 - focus[0], y + 0.5 - focus[1]) / reach))]
                for k, part in enumerate(shade_sphere(BALL_COLOURS["green"], nx, ny)):
                    band[k] += part
                band[3] += 1
    stops = ['<stop offset="%.1f" stop-color="%s"/>'
             % (i / 10, hex_colour(tuple(round(part / band[3]) for part in band[:3])))
             for i, band in enumerate(sums) if band[3] > 0]
    fmt = lambda v: ("%.2f" % v).rstrip("0").rstrip(".")
    return "\n".join([
        '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">'
        % (size, size, size, size),
        '  <defs>',
        '    <radialGradient id="ball" gradientUnits="userSpaceOnUse" cx="%s" cy="%s" r="%s">'
        % (fmt(focus[0]), fmt(focus[1]), fmt(reach)),
        *("      " + stop for stop in stops),
        '    </radialGradient>',
        '  </defs>',
        '  <circle cx="%s" cy="%s" r="%s" fill="url(#ball)"/>' % (fmt(half), fmt(half), fmt(ball_r)),
        '  <g fill="none" stroke="%s">' % hex_colour(PURPLE),
        '    <circle cx="%s" cy="%s" r="%s" stroke-width="%s"/>'
        % (fmt(half), fmt(half), fmt(ring_r), fmt(shape["ring_w"])),
        '    <line x1="%s" y1="%s" x2="%s" y2="%s" stroke-width="%s"/>'
        % (fmt(c - tail), fmt(c - tail), fmt(c + tail * 0.9), fmt(c + tail * 0.9), fmt(shape["tail_w"])),
        '  </g>',
        '</svg>',
        ''])


# ---------------------------------------------------------------- main ----

def make_all():
    save(background(), "background.png")
    save(logo(), "logo.png")
    save(about(), "about.png")
    for word in ("score", "level", "time", "balls"):
        save(label(word.upper()), "label_%s.png" % word)

    wide_texts = {"start": "START", "pause": "PAUSE",
                  "sound_on": "SOUND", "sound_off": "NO SOUND"}
    # The four wide buttons swap places, so they share one font.
    wide_font = font_for("NO SOUND", WIDE_BUTTON_CAP, WIDE_BUTTON[0] - 12)
    for name, text in wide_texts.items():
        save(button(WIDE_BUTTON, text, wide_font), "button_%s.png" % name)
    for name, size in SMALL_BUTTONS.items():
        text = name.upper()
        fnt = font_for(text, min(SMALL_BUTTON_CAP, size[1] - 9), size[0] - 12)
        save(button(size, text, fnt), "button_%s.png" % name)

    save(window_icon("_"), "icon_minimize.png")
    save(window_icon("X"), "icon_exit.png")
    save(gameover(), "gameover.png")

    for name, base in BALL_COLOURS.items():
        save(ball_sheet(base), "ball_%s.png" % name)

    glyph_font = font(200, FONT_MONO)
    save(glyph("_", glyph_font), "glyph_cursor.png")
    save(glyph(".", glyph_font), "glyph_stop.png")
    for ch in "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789":
        save(glyph(ch, glyph_font), "glyph_%s.png" % ch)

    save(Image.new("RGBA", (32, 32), BLACK + (0,)), "blank.png")
    save(hand_cursor(), "hand_cursor.png")
    save(program_icon(32), "program_icon.png")
    for size in ICON_SIZES:
        save(program_icon(size), "quibbix-%d.png" % size, ICON_DIR)
    with open(os.path.join(ICON_DIR, "quibbix.svg"), "w", encoding="ascii", newline="\n") as svg:
        svg.write(program_icon_svg())


# -------------------------------------------------------------- checks ----

def expected_size(name):
    if name in FIXED_SIZES:
        return FIXED_SIZES[name]
    kind, _, rest = name.partition("_")
    if kind == "button":
        return SMALL_BUTTONS.get(rest, WIDE_BUTTON)
    if name.startswith("quibbix-"):
        return (int(name.split("-")[1]),) * 2
    return {"label": LABEL_SIZE, "ball": (32, 64), "glyph": GLYPH_SIZE}[kind]


def inner_box(img, margin):
    """True if all non-black pixels keep `margin` pixels from the edges."""
    box = img.convert("RGB").getbbox()
    return box is None or (min(box[:2]) >= margin and box[2] <= img.width - margin
                           and box[3] <= img.height - margin)


def verify():
    transparent = ("blank", "hand_cursor", "program_icon")
    for path, img in written.items():
        name = os.path.basename(path)[:-4]
        assert img.mode == "RGBA" and img.size == expected_size(name), path
        if name in transparent or name.startswith("quibbix-"):
            continue
        assert img.getextrema()[3] == (255, 255), path
        if name == "background" or name.startswith("ball_"):
            continue
        assert inner_box(img, 1), path
        if name.startswith("glyph_"):
            # Cells overlap their neighbours: ink only in columns 2..17, rows 2..25.
            box = img.convert("RGB").getbbox()
            assert box[0] >= 2 and box[1] >= 2 and box[2] <= 18 and box[3] <= 26, path
            assert {c[:3] for c in img.getdata()} == {BLACK, PURPLE}, path

    masks = set()
    for colour in BALL_COLOURS:
        img = written[os.path.join("assets", "art", "ball_%s.png" % colour)]
        mask = img.crop((0, 32, 32, 64))
        masks.add(mask.tobytes())
        assert set(mask.getdata()) == {BLACK + (255,), WHITE + (255,)}
        assert ImageOps.invert(mask.convert("RGB")).getbbox() == (1, 1, 31, 30)
        px = img.load()
        for y in range(32):
            for x in range(32):
                lit = px[x, y][:3] != BLACK
                assert lit == (px[x, y + 32][:3] == BLACK), (colour, x, y)
    assert len(masks) == 1

    art = lambda name: written[os.path.join("assets", "art", name)]
    assert set(art("blank.png").getdata()) == {(0, 0, 0, 0)}
    hand = art("hand_cursor.png")
    assert hand.getpixel((12, 1))[3] == 255
    assert hand.getchannel("A").getbbox()[1] == 1


if __name__ == "__main__":
    make_all()
    verify()
    print("wrote %d pictures" % len(written))
