"""The window on paper, as Chromium prints it to PDF on A4: one page, the
window without the page's bar, from whatever layout the screen had, the route
count as the screen shows it; and the screen as it was once printed."""

import base64
import re
import zlib

from selenium.webdriver.common.by import By

from window import PageTest, config

A4 = {"paperWidth": 8.27, "paperHeight": 11.69}
BAR_TEXT = ("Помощ", "Скрий отговора", "Покажи отговора")

# layout, CSS viewport, device pixel ratio, address fragment, the count the page shows
CASES = [
    ("natural", 600, 480, 1, "#2,3,4", "2*3*4 = 24"),
    ("scaled", 1280, 800, 1, "#2,3,4;hide", "?"),
    ("stacked", 360, 640, 3, "#2,3,4", "2*3*4 = 24"),
]


def read_pdf(data):
    """The number of pages of a PDF as Chromium writes it, and the text of each
    of its text objects, through each font's map from glyphs to Unicode, by the
    height on the page where it starts."""
    objects = {}
    for number, body in re.findall(rb"(\d+) 0 obj(.*?)endobj", data, re.S):
        head, _, stream = body.partition(b"stream")
        if stream:
            stream = stream[stream.index(b"\n") + 1:stream.rindex(b"endstream")]
            stream = zlib.decompress(stream) if b"/FlateDecode" in head else stream
        objects[int(number)] = (head, stream)
    maps = {}
    for head, _ in objects.values():
        for fonts in re.findall(rb"/Font\s*<<(.*?)>>", head):
            for name, number in re.findall(rb"/(\w+)\s+(\d+) 0 R", fonts):
                cmap = re.search(rb"/ToUnicode (\d+) 0 R", objects[int(number)][0])
                table = maps.setdefault(name, {})
                text = objects[int(cmap.group(1))][1] if cmap else b""
                for kind, entries in re.findall(rb"begin(bfchar|bfrange)(.*?)end\1", text, re.S):
                    for line in re.findall(rb"<[^\n]*", entries):
                        codes = [int(c, 16) for c in re.findall(rb"<([0-9A-Fa-f]+)>", line)]
                        first, last = codes[0], codes[1 if kind == b"bfrange" else 0]
                        for glyph in range(first, last + 1):
                            table[glyph] = chr(codes[-1] + glyph - first)
    texts = {}
    for _, stream in objects.values():
        for block in re.findall(rb"\bBT\b(.*?)\bET\b", stream or b"", re.S):
            font, text = {}, ""
            for name, codes in re.findall(rb"/(\w+)\s+[\d.]+\s+Tf|<([0-9A-Fa-f]*)>", block):
                font = maps.get(name, {}) if name else font
                text += "".join(font.get(int(codes[i:i + 4], 16), "\ufffd") for i in range(0, len(codes), 4))
            at = re.search(rb"([-\d.]+)\s+Tm", block)
            texts[text] = at and float(at.group(1))
    return len(re.findall(rb"/Type\s*/Page\b", data)), texts


class PrintTest(PageTest):
    def setUp(self):
        pass

    def test_one_a4_page_of_the_window_alone_from_every_layout(self):
        driver = self.browser.driver
        for layout, width, height, ratio, fragment, count in CASES:
            with self.subTest(layout=layout):
                self.browser.emulate(width, height, ratio, width < 470)
                driver.get("about:blank")
                self.browser.open(config["page"] + fragment)
                self.wait_for(lambda: self.label_text() == count, "the window to load")
                window = driver.find_element(By.CSS_SELECTOR, ".tavrel-window")
                before = window.rect
                pages, texts = read_pdf(base64.b64decode(driver.execute_cdp_cmd("Page.printToPDF", A4)["data"]))
                self.assertEqual(pages, 1)
                self.assertIn(count, texts, "the count as the screen shows it")
                self.assertIn("Брой маршрути:", texts, "the window's own text")
                self.assertEqual(len({texts[caption] for caption in ("AB", "BC", "CD")}), 1, "as drawn, side by side")
                self.assertEqual([t for t in texts if any(b in t for b in BAR_TEXT)], [], "no bar")
                self.settle()
                self.assertEqual(window.rect, before, "the screen as it was")
