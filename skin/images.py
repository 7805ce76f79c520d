"""Every skin image as a strip: name, frame count, frame size and how a frame is drawn.

Frame sizes are the rectangles the controls give the images at scale 1.0; images drawn as
nine-part frames keep their rounded corners inside the corner size their control uses."""

import glyphs
import theme as t
from theme import STATES, ACTIVE, DISABLED, NORMAL, HOVER, PRESSED


class Strip:
    def __init__(self, name, frames, width, height, draw, nine=None):
        self.name = name
        self.frames = frames
        self.width = width
        self.height = height
        self.draw = draw
        self.nine = nine  # margins (left, top, right, bottom) when drawn as a nine-part image


def plate(c, st, r):
    """Background of the push-button family: flat fill, a highlight line, a border."""
    c.box(0, 0, c.width, c.height, r, st.fill, st.border)
    c.line(r, 1.5, c.width - r, 1.5, st.highlight, 1, cap='butt')


def push(r, states=STATES):
    return lambda c, i: plate(c, states[i], r)


def toggle(r):
    """MButton2/MButton3: frame 2 is also the checked look."""
    return push(r, (NORMAL, HOVER, ACTIVE, DISABLED))


def combo(active_pressed):
    states = (NORMAL, HOVER, ACTIVE if active_pressed else PRESSED, DISABLED)

    def draw(c, i):
        st = states[i]
        plate(c, st, 4)
        x = c.width - 30
        c.line(x + 0.5, 6, x + 0.5, c.height - 6, st.border, 1, cap='butt')
        glyphs.chevron(c, c.width - 15, c.height / 2, 4, st.glyph)
    return draw


def edit(c, i):
    st = STATES[i]
    fill = {0: (10, 16, 23), 1: (16, 24, 34), 2: (6, 10, 15), 3: (22, 24, 27)}[i]
    border = t.TRACK_FILL if i == 2 else st.border
    c.box(0, 0, c.width, c.height, 4, fill, border)


def title_button(mark, close=False):
    """Window buttons drawn unscaled: a mark on a round plate that shows on hover."""
    def draw(c, i):
        w, h = c.width, c.height
        if i == 1:
            c.rect(0, 0, w, h, 4, fill=t.RED if close else t.SELECTION)
        elif i == 2:
            c.rect(0, 0, w, h, 4, fill=t.mix(t.RED, (0, 0, 0), 0.35) if close else (20, 29, 40))
        colour = (t.TEXT, t.WHITE, (200, 214, 230), DISABLED.glyph)[i]
        mark(c, w / 2, h / 2, colour)
    return draw


def mark_close(c, x, y, colour):
    glyphs.cross(c, x, y, 4.5, colour, 1.6)


def mark_min(c, x, y, colour):
    c.line(x - 5, y + 3.5, x + 5, y + 3.5, colour, 1.6, cap='butt')


def mark_max(c, x, y, colour):
    c.rect(x - 4.5, y - 4.5, 9, 9, 1, stroke=colour, width=1.5)


def mark_restore(c, x, y, colour):
    c.path(f'M{x - 2.5} {y - 3.5}V{y - 5.5}H{x + 5.5}V{y + 2.5}H{x + 3.5}', stroke=colour,
           width=1.4)
    c.rect(x - 5.5, y - 2.5, 8, 8, 1, stroke=colour, width=1.4)


def small_button(mark):
    """Step and spin buttons drawn unscaled next to value fields."""
    def draw(c, i):
        st = STATES[i]
        c.box(0, 0, c.width, c.height, 3, st.fill, st.border)
        mark(c, c.width / 2, c.height / 2, st.glyph)
    return draw


def mark_plus(size):
    return lambda c, x, y, colour: glyphs.plus(c, x, y, size, colour)


def mark_minus(size):
    return lambda c, x, y, colour: glyphs.minus(c, x, y, size, colour)


def mark_arrow(size, up):
    return lambda c, x, y, colour: glyphs.triangle(c, x, y, size, colour, up)


def check_box(c, i):
    st = STATES[i % 4]
    checked = i >= 4
    if checked and i != 7:
        fill = t.mix(t.SELECTION, st.fill, 0.6 if i == 6 else 0.25)
    else:
        fill = st.fill
    border = st.border if not checked or i == 7 else t.TRACK_FILL
    c.box(0, 0, c.width, c.height, 3, fill, border)
    if checked:
        colour = DISABLED.glyph if i == 7 else t.WHITE
        c.path('M4 8.3L7 11.2L12.2 5', stroke=colour, width=1.8)


def radio_box(c, i):
    st = STATES[i % 4]
    checked = i >= 4
    border = st.border if not checked or i == 7 else t.TRACK_FILL
    c.circle(8, 8, 7.5, fill=st.fill, stroke=border, width=1)
    if checked:
        c.circle(8, 8, 3.6, fill=DISABLED.glyph if i == 7 else t.TEXT if i != 5 else t.WHITE)


def switch(on):
    def draw(c, i):
        w, h = c.width, c.height
        if i == 3:
            track, knob = (30, 32, 35), DISABLED.glyph
        elif on:
            track = (t.SELECTION, t.mix(t.SELECTION, t.WHITE, 0.15),
                     t.mix(t.SELECTION, (0, 0, 0), 0.3))[i]
            knob = (t.TEXT, t.WHITE, (170, 196, 222))[i]
        else:
            track = ((22, 32, 44), (40, 55, 72), (11, 17, 25))[i]
            knob = ((110, 128, 148), (160, 180, 200), (90, 104, 120))[i]
        border = t.TRACK_FILL if on and i < 3 else (STATES[i].border)
        c.box(0, 0, w, h, h / 2, track, border)
        r = h / 2 - 3.5
        cx = w - h / 2 if on else h / 2
        c.circle(cx, h / 2, r, fill=knob)
    return draw


def help_button(c, i):
    st = STATES[i]
    plate(c, st, 8)
    c.text(c.width / 2, c.height / 2 + 4.5, '?', 13, st.glyph, weight='bold')


def record_arrow(up):
    def draw(c, i):
        st = STATES[i]
        plate(c, st, 6)
        glyphs.chevron(c, c.width / 2, c.height / 2, 5, st.glyph, up=up, width=2)
    return draw


def reset_button(c, i):
    colour = (t.TEXT, t.WHITE, (150, 176, 204), DISABLED.glyph)[i]
    if i == 1:
        c.circle(10, 10, 10, fill=t.SELECTION)
    elif i == 2:
        c.circle(10, 10, 10, fill=(20, 29, 40))
    glyphs.circular_arrow(c, 10, 10.5, 5.5, colour)


def more_button(c, i):
    colour = (t.TEXT, t.WHITE, t.WHITE, DISABLED.glyph)[i]
    if i == 1:
        c.rect(0, 0, 20, 20, 4, fill=(40, 55, 72))
    elif i == 2:
        c.rect(0, 0, 20, 20, 4, fill=t.mix(t.SELECTION, t.WHITE, 0.12))
    for x in (5, 10, 15):
        c.circle(x, 10, 1.7, fill=colour)


def scroll(vertical):
    def draw(c, i):
        fill = ((16, 23, 32), t.TRACK_FILL, t.SELECTION)[i]
        if vertical:
            c.rect(1, 0, c.width - 2, c.height, 3, fill=fill)
        else:
            c.rect(0, 1, c.width, c.height - 2, 3, fill=fill)
    return draw


def dpi_thumb(c, i):
    fill = (t.TEXT, t.WHITE, t.TRACK_FILL, DISABLED.glyph)[i]
    c.path('M8 0.5L15.5 6V12.5H0.5V6Z', fill=fill, stroke=t.WINDOW_FILL, width=1)


def slider_thumb(c, i):
    fill = (t.TEXT, t.WHITE, t.TRACK_FILL, DISABLED.glyph)[i]
    c.rect(1, 1, 8, c.height - 2, 4, fill=fill, stroke=t.WINDOW_FILL, width=1)


def palette_thumb(c, i):
    ring = (t.WHITE, t.WHITE, t.TEXT, DISABLED.glyph)[i]
    c.circle(6, 6, 5, stroke=(0, 0, 0), width=2.5)
    c.circle(6, 6, 5, stroke=ring, width=1.5 if i != 1 else 2)


def key_label(c, i):
    st = (NORMAL, ACTIVE, PRESSED, DISABLED)[i]
    c.box(0, 0, c.width, c.height, 4, st.fill, st.border)


def state_plate(c, i):
    st = STATES[i]
    c.box(0, 0, c.width, c.height, 4, t.mix(t.BAR, st.fill, 0.5), st.border)


def area(fill, border, r=6):
    return lambda c, i: c.box(0, 0, c.width, c.height, r, fill, border)


def caption(c, i):
    c.rect(0, 0, c.width, c.height, 0, fill=t.BAR)
    c.line(0, c.height - 0.5, c.width, c.height - 0.5, t.SELECTION, 1, cap='butt')


def tip_box(c, i):
    c.box(0, 0, c.width, c.height, 5, (24, 34, 46), t.TRACK_FILL)


def tip_arrow(direction):
    """Pointer of the bubble: its base joins the bubble, so only the two slanted sides get
    the bubble's border."""
    def draw(c, i):
        w, h = c.width, c.height
        if direction == 'left':
            a, tip, b = (w, 0), (0.5, h / 2), (w, h)
        elif direction == 'right':
            a, tip, b = (0, 0), (w - 0.5, h / 2), (0, h)
        else:
            a, tip, b = (0, h), (w / 2, 0.5), (w, h)
        points = f'M{a[0]:g} {a[1]:g}L{tip[0]:g} {tip[1]:g}L{b[0]:g} {b[1]:g}'
        c.path(points + 'Z', fill=(24, 34, 46))
        c.path(points, stroke=t.TRACK_FILL, width=1, cap='butt')
    return draw


def menu_bkg(c, i):
    """Menus are light: their items' titles are drawn in near-black."""
    c.box(0, 0, c.width, c.height, 5, (240, 243, 247), (176, 190, 206))


def menu_hover(c, i):
    c.box(0, 0, c.width, c.height, 4, (206, 222, 238), (150, 176, 204))


def menu_separator(c, i):
    c.rect(0, 0, c.width, c.height, 0, fill=(206, 212, 220))


# The shadow image lies around its window by its margin M on every side: a soft plate
# reaching 12 pixels out from the window (16 below it), its rounding and blur settled before
# the margin so the frame stretches cleanly, and clear where the window covers it.
SHADOW_MARGIN = 24


def shadow(c, i):
    w, h, m = c.width, c.height, SHADOW_MARGIN
    c.raw('<defs><filter id="blur" x="-50%" y="-50%" width="200%" height="200%">'
          '<feGaussianBlur stdDeviation="2.5"/></filter>'
          f'<mask id="clear"><rect width="{w}" height="{h}" fill="#ffffff"/>'
          f'<rect x="{m}" y="{m}" width="{w - 2 * m}" height="{h - 2 * m}" fill="#000000"/>'
          '</mask></defs>')
    c.raw(f'<g mask="url(#clear)"><rect x="{m - 12}" y="{m - 12}" width="{w - 2 * m + 24}" '
          f'height="{h - 2 * m + 28}" rx="4" fill="#000000" fill-opacity="0.5" '
          'filter="url(#blur)"/></g>')


def tab_icon(glyph):
    """Tab items: frames normal, hover, selected, drawn unscaled in a 56 x 56 square."""
    def draw(c, i):
        if i == 1:
            c.rect(2, 2, 52, 52, 8, fill=t.BAR)
        elif i == 2:
            c.rect(2, 2, 52, 52, 8, fill=t.SELECTION)
            c.rect(0, 12, 3, 32, 1.5, fill=t.TRACK_FILL)
        colour = ((118, 142, 168), t.TEXT, t.WHITE)[i]
        glyph(c, 28, 28, 13, colour, 2.2)
    return draw


def icon_button_icon(draw_mark):
    """Icons of CIconButton: one frame per button state."""
    def draw(c, i):
        draw_mark(c, i, (t.TEXT, t.WHITE, (150, 176, 204), DISABLED.glyph)[i])
    return draw


def arrow_up_icon(c, i, colour):
    glyphs.triangle(c, c.width / 2, c.height / 2, 10, colour, up=True)


def rec_icon(c, i, colour):
    red = t.RED if i < 3 else DISABLED.glyph
    c.circle(8, 8, 7, stroke=colour, width=1.4)
    c.circle(8, 8, 4, fill=red)


def stop_icon(c, i, colour):
    red = t.RED if i < 3 else DISABLED.glyph
    c.circle(8, 8, 7, stroke=colour, width=1.4)
    c.rect(5, 5, 6, 6, 1, fill=red)


def record_icon(c, i):
    """Macro step icons: key (frames 0, 1), mouse button (2, 3), delay (4, 5); odd frames
    are the highlighted row."""
    colour = t.WHITE if i % 2 else t.TEXT
    kind = i // 2
    if kind == 0:
        c.rect(1.5, 3.5, 13, 9, 2, stroke=colour, width=1.3)
        for x in (4.5, 8, 11.5):
            c.rect(x - 1, 6, 2, 1.6, 0.3, fill=colour)
        c.rect(5, 9, 6, 1.6, 0.3, fill=colour)
    elif kind == 1:
        glyphs.mouse(c, 8, 8, 6.5, colour, 1.3, wheel=False)
    else:
        c.circle(8, 8.5, 6, stroke=colour, width=1.3)
        c.path('M8 5V8.8L10.5 10.3', stroke=colour, width=1.3)
        c.line(6.5, 1.5, 9.5, 1.5, colour, 1.3)


# Battery: the level image is sliced into four segments of m = (width - 6) / 4 pixels at
# x = 5 + k * (m + 2). The last slice always runs past the right edge of the image, so every
# segment is drawn m - 2 wide at the start of its slice: all four look alike however the
# gauge clips the last one.
BATTERY_LEVEL_WIDTH = 41
BATTERY_HEIGHT = 28


def battery_segments(width):
    m = (width - 6) // 4
    return m, [5 + k * (m + 2) for k in range(4)]


def battery_bkg(c, i):
    c.box(2, 7, 43, 14, 3, (10, 16, 23), t.TEXT, 1.5)
    c.rect(45, 11, 3, 6, 1, fill=t.TEXT)


def battery_value(c, i):
    m, starts = battery_segments(c.width)
    for x in starts:
        c.rect(x, 9.5, m - 2, 9, 1, fill=t.GREEN)


def charge_mark(c, i):
    glyphs.bolt(c, c.width / 2, c.height / 2, c.height / 2 - 0.5, (250, 204, 80))


def logo(scale, tagline=None):
    """The product name with its mark: a pointer arrow in a ring."""
    def draw(c, i):
        h = c.height
        s = scale
        cx, cy = h / 2, h / 2 - (4 if tagline else 0)
        r = 11 * s
        c.circle(cx, cy, r, stroke=t.TRACK_FILL, width=2 * s)
        c.path(f'M{cx - 4 * s:g} {cy - 6 * s:g}L{cx + 6 * s:g} {cy:g}L{cx - 4 * s:g} {cy + 6 * s:g}'
               f'L{cx - 1.5 * s:g} {cy:g}Z', fill=t.TEXT)
        c.text(cx + r + 8 * s, cy + 7.5 * s, 'TALVANE', 21 * s, t.WHITE, weight='600',
               anchor='start', spacing=4 * s)
        if tagline:
            c.text(cx + r + 8 * s, h - 3, tagline, 10, t.TRACK_FILL, anchor='start', spacing=1)
    return draw


def prompt(c, i):
    c.box(0, 0, c.width, c.height, 12, t.WINDOW_FILL, t.SELECTION, 1.5)


def popup_bkg(c, i):
    c.box(0, 0, c.width, c.height, 5, (12, 18, 26), t.SELECTION)


def catalogue():
    """All strips of the skin folder, by relative path."""
    S = Strip
    return [
        # Frame of the main window and the dialogs.
        S('logo/logo.png', 1, 200, 32, logo(1.0)),
        S('logo.png', 1, 260, 40, logo(1.25)),
        S('logo/logo_loading.png', 1, 240, 50, logo(1.15, 'configuring your mouse')),
        S('sysbtn_close.png', 4, 20, 20, title_button(mark_close, close=True)),
        S('sysbtn_min.png', 4, 20, 20, title_button(mark_min)),
        S('sysbtn_maximize.png', 4, 20, 20, title_button(mark_max)),
        S('sysbtn_restore.png', 4, 20, 20, title_button(mark_restore)),
        S('img_sys_close.png', 4, 20, 20, title_button(mark_close, close=True)),
        S('bk_prompt.png', 1, 430, 230, prompt, nine=(30, 30, 30, 30)),
        S('img_area.png', 4, 100, 27, state_plate),
        S('icon/icon_battery_bkg.png', 1, 49, BATTERY_HEIGHT, battery_bkg),
        S('icon/icon_batteryvalue.png', 1, BATTERY_LEVEL_WIDTH, BATTERY_HEIGHT, battery_value),
        S('icon/icon_charge.png', 1, 12, 20, charge_mark),
        S('icon/icon_arrow_up.png', 4, 14, 12, icon_button_icon(arrow_up_icon)),
        S('icon/tab_home.png', 3, 56, 56, tab_icon(glyphs.house)),
        S('icon/tab_key.png', 3, 56, 56, tab_icon(glyphs.mouse)),
        S('icon/tab_dpi.png', 3, 56, 56, tab_icon(glyphs.crosshair)),
        S('icon/tab_macro.png', 3, 56, 56, tab_icon(glyphs.macro)),
        S('icon/tab_light.png', 3, 56, 56, tab_icon(glyphs.sun)),
        S('icon/tab_set.png', 3, 56, 56, tab_icon(glyphs.sliders)),
        S('icon/tab_systemset.png', 3, 56, 56, tab_icon(glyphs.gear)),
        # Page decoration.
        S('img_area_bkg.png', 1, 1120, 655, area(t.WINDOW_FILL, t.BAR, 8), nine=(10,) * 4),
        S('img_area_caption.png', 1, 1120, 44, caption),
        S('img_area_content.png', 1, 520, 260, area((12, 18, 26), t.BAR), nine=(10,) * 4),
        S('img_area2.png', 1, 520, 260, area((17, 25, 35), t.SELECTION), nine=(10,) * 4),
        # Buttons and toggles.
        S('img_button.png', 4, 100, 30, push(6), nine=(8,) * 4),
        S('img_button2.png', 4, 100, 30, toggle(6), nine=(10,) * 4),
        S('img_help.png', 4, 20, 20, help_button),
        S('btn_reset.png', 4, 20, 20, reset_button),
        S('btn_more.png', 4, 20, 20, more_button),
        S('btn_checkbox.png', 8, 16, 16, check_box),
        S('btn_radiobox.png', 8, 16, 16, radio_box),
        S('img_switch_btn_on.png', 4, 44, 22, switch(True)),
        S('img_switch_btn_off.png', 4, 44, 22, switch(False)),
        S('img_recorditem_up.png', 4, 30, 24, record_arrow(True)),
        S('img_recorditem_down.png', 4, 30, 24, record_arrow(False)),
        # Combo boxes and lists.
        S('img_combobox.png', 4, 140, 30, combo(False), nine=(6, 6, 32, 6)),
        S('img_combobox2.png', 4, 140, 30, combo(True), nine=(6, 6, 32, 6)),
        S('img_combobox_device.png', 4, 200, 30, combo(False), nine=(6, 6, 32, 6)),
        S('img_combobox_bkg.png', 1, 40, 40, popup_bkg, nine=(6,) * 4),
        S('img_scroll_v.png', 3, 8, 60, scroll(True)),
        S('img_scroll_h.png', 3, 60, 8, scroll(False)),
        # Edits and their step buttons.
        S('img_edit.png', 4, 120, 30, edit, nine=(6,) * 4),
        S('img_btn_addvalue.png', 4, 15, 15, small_button(mark_plus(3.5))),
        S('img_btn_subtract.png', 4, 15, 15, small_button(mark_minus(3.5))),
        S('img_btn_value_up.png', 4, 10, 10, small_button(mark_arrow(6, True))),
        S('img_btn_value_down.png', 4, 10, 10, small_button(mark_arrow(6, False))),
        S('img_spin_up.png', 4, 12, 10, small_button(mark_arrow(6, True))),
        S('img_spin_down.png', 4, 12, 10, small_button(mark_arrow(6, False))),
        S('img_btn_dpi_add.png', 4, 16, 16, small_button(mark_plus(4))),
        S('img_btn_dpi_subtract.png', 4, 16, 16, small_button(mark_minus(4))),
        # Sliders, colour pickers, tooltips.
        S('img_dpi_bar.png', 4, 16, 13, dpi_thumb),
        S('img_slider_bar.png', 4, 10, 20, slider_thumb),
        S('img_palette_thumb.png', 4, 12, 12, palette_thumb),
        S('img_tip_bk.png', 1, 48, 32, tip_box, nine=(6,) * 4),
        S('img_tip_arrow_left.png', 1, 8, 14, tip_arrow('left')),
        S('img_tip_arrow_right.png', 1, 8, 14, tip_arrow('right')),
        S('img_tip_arrow_top.png', 1, 14, 8, tip_arrow('top')),
        # Pop-up menus and the window shadow.
        S('img_menu_bkg.png', 1, 40, 40, menu_bkg, nine=(6,) * 4),
        S('img_menu_hover.png', 1, 40, 25, menu_hover, nine=(6, 0, 6, 0)),
        S('img_menu_separator.png', 1, 40, 1, menu_separator),
        S('img_shadow.png', 1, 64, 64, shadow, nine=(SHADOW_MARGIN,) * 4),
        # Button map and macro lists.
        S('img_key_bkg.png', 4, 106, 26, key_label),
        S('icon/icon_record.png', 6, 16, 16, record_icon),
        S('icon/icon_rec.png', 4, 16, 16, icon_button_icon(rec_icon)),
        S('icon/icon_stop_rec.png', 4, 16, 16, icon_button_icon(stop_icon)),
    ]
