"""What the page must show, read from independent sources: the element places
from the desktop suites' layout table (tests/e2e/layout.h), the road pictures
from the BMP files the pack tool writes, and reference renderings of label
texts that the test makes in a page of its own."""

import functools
import os
import re
import struct
import unittest

from browser import Browser

config = {}  # page, error_pages, pictures, layout: set by run.py

WINDOW = 0xC0C0FF
WIDTH, HEIGHT = 470, 409
FONT = "16px 'Times New Roman', 'Liberation Serif', serif"
FIRST_ROW, SECOND_ROW = 64, 84  # y of the two entries a list shows


@functools.lru_cache(maxsize=None)
def elements():
    """(name, shape, (x, y, w, h), colour or None), front to back."""
    text = open(config["layout"], encoding="utf-8").read()
    colours = {name: int(value, 16) for name, value in re.findall(r"constexpr Rgb (\w+) = 0x([0-9A-F]+);", text)}
    rows = re.findall(r'\{ "(\w+\(\d\))", Shape::(\w+), \{ (\d+), (\d+), (\d+), (\d+) \}(?:, (\w+))? \}', text)
    assert len(rows) == 13, "layout table not found"
    return tuple((n, s, (int(x), int(y), int(w), int(h)), colours.get(c)) for n, s, x, y, w, h, c in rows)


def element_at(x, y):
    for element in elements():
        ex, ey, ew, eh = element[2]
        if ex <= x < ex + ew and ey <= y < ey + eh:
            return element
    return None


def place(name):
    return next(e[2] for e in elements() if e[0] == name)


@functools.lru_cache(maxsize=None)
def road_picture(k):
    """Road picture k as rows of 0xRRGGBB, top row first."""
    data = open(os.path.join(config["pictures"], f"road_picture_{k}.bmp"), "rb").read()
    offset, = struct.unpack_from("<I", data, 10)
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    assert bits == 24
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(abs(height)):
        row_start = offset + (abs(height) - 1 - y if height > 0 else y) * stride
        row = data[row_start:row_start + width * 3]
        rows.append([row[3 * x + 2] << 16 | row[3 * x + 1] << 8 | row[3 * x] for x in range(width)])
    return rows


def prop(node, name):
    return next((p["value"].get("value") for p in node.get("properties", []) if p["name"] == name), None)


def list_centre(i):
    x, y, w, h = place(f"List1({i})")
    return x + (w - 17) // 2  # clear of the scroll bar


def click_button(browser, name):
    """Clicks the page's button of that name, where it stands on the screen."""
    box = browser.driver.execute_script(
        "const b = [...document.querySelectorAll('button')].find(b => b.textContent === arguments[0]);"
        "const r = b.getBoundingClientRect(); return [r.x + r.width / 2, r.y + r.height / 2];", name)
    browser.click(int(box[0]), int(box[1]))


class PageTest(unittest.TestCase):
    """A fresh page for every test, in one browser per test class."""

    scale = 1

    @classmethod
    def setUpClass(cls):
        cls.browser = Browser(cls.scale)

    @classmethod
    def tearDownClass(cls):
        cls.browser.close()

    def setUp(self):
        self.browser.open(config["page"])
        self.wait_for(lambda: self.label_text() == "1*1*1 = 1", "the window to load")

    def wait_for(self, condition, what, tries=200):
        import time
        for _ in range(tries):
            if condition():
                return
            time.sleep(0.05)
        self.fail("timed out waiting for " + what)

    def nodes(self, role=None):
        return [n for n in self.browser.ax_nodes() if not n.get("ignored")
                and (role is None or n.get("role", {}).get("value") == role)]

    def label_text(self):
        """The route count as a screen reader reads it in the window: the text
        that is a formula, or the "?" that covers it."""
        for node in self.nodes("StaticText"):
            name = node.get("name", {}).get("value", "")
            if re.fullmatch(r"\d*\*\d*\*\d* = -?\d+|\?", name):
                return name
        return None

    def click_button(self, name):
        click_button(self.browser, name)

    def focused(self):
        for node in self.nodes():
            if any(p["name"] == "focused" and p["value"].get("value") for p in node.get("properties", [])):
                if node["role"]["value"] != "RootWebArea":
                    return node["role"]["value"], node.get("name", {}).get("value", "")
        return None

    def selected_entries(self):
        """The entries each list has selected as the accessibility tree tells
        them, for the lists AB, BC and CD in turn."""
        nodes = {n["nodeId"]: n for n in self.browser.ax_nodes()}
        chosen = {n["name"]["value"]: [] for n in nodes.values() if n.get("role", {}).get("value") == "listbox"}
        for option in nodes.values():
            if option.get("role", {}).get("value") == "option" and prop(option, "selected"):
                box = option
                while box and box.get("role", {}).get("value") != "listbox":
                    box = nodes.get(box.get("parentId"))
                if box:  # not the bar's choice of language, which is no list of the window
                    chosen[box["name"]["value"]].append(option["name"]["value"])
        return [chosen[name] for name in sorted(chosen)]

    def wrong_pictures(self, roads, shot):
        """The segment pictures that do not show road picture roads[i], on every
        second pixel inside the edge that marks the keyboard focus."""
        wrong = []
        for i, k in enumerate(roads):
            name = f"Picture1({i})"
            x, y, w, h = place(name)
            road = road_picture(k)
            if any(element_at(px, py)[0] == name and shot.at(px, py) != road[py - y][px - x]
                   for py in range(y + 1, y + h - 1, 2) for px in range(x + 1, x + w - 1, 2)):
                wrong.append(name)
        return wrong

    def settle(self):
        """Waits for two frames, so what the input changed is on the screen."""
        self.browser.driver.execute_async_script(
            "var done = arguments[0]; requestAnimationFrame(() => requestAnimationFrame(done));")

    def label_pixels_read(self, shot, text):
        """Whether the route-count label shows text as the window font draws it
        centred on the label's colour: the same ink, pixel for pixel (the
        smoothing of the glyph edges may differ between the two pages)."""
        x, y, w, h = place("Label1(1)")
        reference = render_reference(self.browser, text, w, h, 0xFFE0C0)

        def ink(row, left):
            return [row[3 * (left + i) + 1] < 128 for i in range(w)]
        return all(ink(shot.rows[y + j], x) == ink(reference.rows[j], 0) for j in range(h))


_references = {}


def render_reference(browser, text, w, h, colour):
    """The text in the window font, centred on a line from the top edge, in a
    w x h box of the colour, drawn by the same browser in a page of the test's."""
    key = (text, w, h, colour)
    if key not in _references:
        path = os.path.join(browser.profile, "reference.html")
        with open(path, "w", encoding="utf-8") as f:
            f.write(f'<!DOCTYPE html><meta charset="utf-8"><body style="margin:0"><div style="width:{w}px;'
                    f'height:{h}px;background:#{colour:06X};font:{FONT};text-align:center;white-space:pre;'
                    f'color:#000">{text}</div>')
        browser.open(path)
        _references[key] = browser.screenshot()
    return _references[key]
