"""The page in the pupil's language: chosen by the address, the bar's control,
a choice kept on the device, the learning platform or the browser, in that
order; every text swapped at once, the selection and the hidden count kept;
no accessibility fault and no text cut in any language."""

import json
import math
import re
import unittest
import urllib.parse

from selenium.webdriver.common.keys import Keys

import test_accessibility
import test_layout
import test_scorm
from browser import Browser
from window import PageTest, config

# One row a language: its code, a browser language that names it, the
# count's label, the hidden count's button, picture A-B with 2 roads, the
# announcement.
LANGUAGES = [
    ("bg", "bg-BG", "Брой маршрути:", "Покажи отговора", "Между A и B: 2 пътя", "Език: български."),
    ("uk", "uk-UA", "Маршрутів:", "Показати відповідь", "Між A і B: 2 дороги", "Мова: українська."),
    ("en", "en-GB", "Routes:", "Show the answer", "Between A and B: 2 roads", "Language: English."),
]
# The control's order: the page's own language first, then by code.
ORDER = ["bg"] + sorted(row[0] for row in LANGUAGES if row[0] != "bg")

RECORD = """window.__said = [];
new MutationObserver(() => __said.push(document.getElementById('tavrel-said').textContent.trim()))
  .observe(document.getElementById('tavrel-said'), { subtree: true, childList: true, characterData: true });"""

# What the page shows, read back: every text a reader sees or hears of it.
SHOWN = """return {lang: document.documentElement.lang, title: document.title,
  labels: [...document.querySelectorAll('.tavrel-window .tavrel-label')].map(e => e.textContent),
  task: document.querySelector('.tavrel-text').value, bar: [...document.querySelectorAll('#tavrel-bar button')]
    .map(e => e.textContent), pictures: [...document.querySelectorAll('canvas')].map(e => e.getAttribute('aria-label')),
  hash: location.hash};"""

# Each visible text whose box does not hold it: it overflows, or stands
# outside the box of the window or bar it belongs to.
CUT = """const out = [];
const within = (a, b) => a.left >= b.left - 0.5 && a.right <= b.right + 0.5 && a.top >= b.top - 0.5 &&
  a.bottom <= b.bottom + 0.5;
for (const el of document.querySelectorAll('.tavrel-window .tavrel-label, .tavrel-buttons > *, .tavrel-help *')) {
  if (!el.getClientRects().length) continue;
  const parent = el.closest('.tavrel-window, .tavrel-bar, .tavrel-help').getBoundingClientRect();
  if (el.scrollWidth > el.clientWidth && getComputedStyle(el).overflowX !== 'visible' ||
      !within(el.getBoundingClientRect(), parent)) out.push(el.textContent.slice(0, 30));
}
const bar = [...document.querySelectorAll('.tavrel-buttons > *')].map(e => e.getBoundingClientRect());
bar.forEach((a, i) => bar.slice(i + 1).forEach(b => {
  if (a.right > b.left + 0.5 && b.right > a.left + 0.5 && a.bottom > b.top + 0.5 && b.bottom > a.top + 0.5)
    out.push('overlap in the bar');
}));
return out;"""


class LanguageTest(PageTest):
    def open(self, fragment=""):
        self.browser.driver.get("about:blank")
        self.browser.open(config["page"] + fragment)
        self.wait_for(lambda: self.label_text() in ("?", "1*1*1 = 1", "2*3*4 = 24"), "the window")
        self.settle()

    def shown(self):
        return self.browser.driver.execute_script(SHOWN)

    def assert_speaks(self, row, hidden=True):
        code, _, count, show, picture, _ = row
        shown = self.shown()
        self.assertEqual(shown["lang"], code)
        self.assertIn(count, shown["labels"])
        self.assertEqual(shown["pictures"][0], picture)
        if hidden:
            self.assertEqual(shown["bar"][0], show)
        if code != "bg":  # no Bulgarian word is left on the screen
            self.assertNotIn("маршрути", " ".join(shown["labels"] + shown["bar"] + [shown["task"], shown["title"]]))
        return shown

    def test_the_address_chooses_the_language_and_keeps_selection_and_hidden_count(self):
        for row in LANGUAGES:
            with self.subTest(row[0]):
                self.open("#2,3,4;hide;lang=" + row[0])
                self.assertEqual(self.label_text(), "?")
                self.assert_speaks(row)
        for fragment in ("#2,3,4;hide;lang=xx", "#2,3,4;hide;lang=", "#lang=uk-UA-x-y"):  # unknown or malformed
            with self.subTest(fragment):
                self.open(fragment)
                self.assertEqual(self.shown()["lang"], "uk" if fragment.startswith("#lang=uk") else "bg")

    def test_the_control_swaps_every_text_at_once_and_is_remembered(self):
        self.open("#2,3,4;hide")
        self.browser.driver.execute_script(RECORD)
        self.browser.chord(Keys.SHIFT, Keys.TAB)  # from the window's first stop to the bar's last: the control
        at = 0
        for row in LANGUAGES[1:] + LANGUAGES[:1]:
            code, said = row[0], row[-1]
            with self.subTest(code):
                self.browser.driver.execute_script("__said.length = 0;")
                step = ORDER.index(code) - at
                self.browser.keys(*[Keys.DOWN if step > 0 else Keys.UP] * abs(step))
                at += step
                self.wait_for(lambda: self.shown()["lang"] == code, code)
                self.settle()
                shown = self.assert_speaks(row)
                self.assertEqual(self.label_text(), "?")
                self.assertEqual(shown["hash"], "#2,3,4;hide" + ("" if code == "bg" else ";lang=" + code))
                heard = self.browser.driver.execute_script("return __said;")  # once for each language passed
                self.assertEqual((heard[-1], len(heard)), (said, abs(step)))
                self.assertEqual(self.focused()[0], "combobox")
        self.browser.keys(*[Keys.DOWN] * ORDER.index("en"))
        self.wait_for(lambda: self.shown()["lang"] == "en", "English")
        self.open()  # the kept choice, but the address comes first
        self.assertEqual(self.shown()["lang"], "en")
        self.open("#lang=bg")
        self.assertEqual(self.shown()["lang"], "bg")
        self.browser.driver.execute_script("localStorage.clear();")

    def assert_no_ink_on_label_edges(self):
        """Each label of the window as laid out here, read from the screen: its
        edges all its own colour, so no text is cut or touches them."""
        driver = self.browser.driver
        for i in range(driver.execute_script("return document.querySelectorAll('.tavrel-window .tavrel-label').length")):
            (left, top, right, bottom), colour = driver.execute_script(
                "const el = document.querySelectorAll('.tavrel-window .tavrel-label')[arguments[0]];"
                "el.scrollIntoView({block: 'center'}); const r = el.getBoundingClientRect();"
                "return [[r.left, r.top, r.right, r.bottom], getComputedStyle(el).backgroundColor];", i)
            rgb = [int(v) for v in re.findall(r"\d+", colour)[:3]]
            colour = rgb[0] << 16 | rgb[1] << 8 | rgb[2]
            shot = self.browser.screenshot()
            x0, y0, x1, y1 = math.ceil(left), math.ceil(top), math.floor(right) - 1, math.floor(bottom) - 1
            edges = [(x, y) for x in range(x0, x1 + 1) for y in (y0, y1)] + \
                    [(x, y) for y in range(y0, y1 + 1) for x in (x0, x1)]
            # Where a list lies over a label's edge, as in the window, the edge is the list's.
            own = driver.execute_script(
                "const el = document.querySelectorAll('.tavrel-window .tavrel-label')[arguments[0]];"
                "return arguments[1].map(p => document.elementFromPoint(p[0] + 0.5, p[1] + 0.5) === el);", i, edges)
            wrong = [p for p, mine in zip(edges, own) if mine and shot.at(*p) != colour]
            self.assertEqual(wrong[:5], [], f"label {i}")

    def test_no_accessibility_fault_and_no_text_cut_in_any_language(self):
        axe = test_accessibility.AxeTest.violations
        for width, height, mobile in ((600, 480, False), (360, 640, True), (1280, 800, False)):
            self.browser.emulate(width, height, 1, mobile)
            for row in LANGUAGES:
                with self.subTest(row[0], screen=width):
                    self.open("#2,3,4;hide;lang=" + row[0])
                    self.assertEqual(axe(self), [])
                    self.assertEqual(self.browser.driver.execute_script(CUT), [])
                    if mobile:
                        self.assert_no_ink_on_label_edges()
                        continue
                    if width == 600:  # at natural size, no ink touches a label's edge
                        test_layout.LayoutTest.test_labels_fill_their_places_to_the_edges(self)
                    self.click_button(row[3])  # the count shown again, and the help opened
                    self.wait_for(lambda: self.label_text() == "2*3*4 = 24", "the count")
                    self.click_button(self.browser.driver.execute_script(
                        "return document.getElementById('tavrel-help-open').textContent;"))
                    self.wait_for(lambda: self.nodes("dialog"), "the help")
                    self.assertEqual(self.browser.driver.execute_script(CUT), [])
        self.browser.emulate(600, 480)


class BrowserLanguageTest(unittest.TestCase):
    def test_the_browsers_languages_choose_where_nothing_else_does(self):
        for row in LANGUAGES + [("bg", "de-DE,fr")]:
            with self.subTest(row[1]):
                browser = Browser(1, languages=row[1])
                try:
                    browser.open(config["page"])
                    test = PageTest()
                    test.browser = browser
                    test.wait_for(lambda: test.label_text() == "1*1*1 = 1", "the window")
                    self.assertEqual(browser.driver.execute_script("return document.documentElement.lang"), row[0])
                finally:
                    browser.close()


@unittest.skipUnless(config.get("package"), "no package given")
class PlatformLanguageTest(unittest.TestCase):
    setUpClass = classmethod(test_scorm.ScormTest.setUpClass.__func__)
    tearDownClass = classmethod(test_scorm.ScormTest.tearDownClass.__func__)
    open = test_scorm.ScormTest.open
    wait_for = test_scorm.ScormTest.wait_for
    count = test_scorm.ScormTest.count
    platform = test_scorm.ScormTest.platform

    def test_the_platforms_preference_comes_before_the_browsers(self):
        for row in LANGUAGES:
            with self.subTest(row[0]):
                self.open("real", {"student_preference": {"language": row[1]}})
                self.wait_for(lambda: self.count() == "1*1*1 = 1", "the window")
                self.assertEqual(self.browser.driver.execute_script("return document.documentElement.lang"), row[0])

    def test_a_platform_that_cannot_tell_the_preference_is_kept(self):
        driver = self.browser.driver
        driver.switch_to.default_content()
        query = urllib.parse.urlencode({"api": "real", "saved": json.dumps({}), "nopreference": 1})
        driver.get(f"http://127.0.0.1:{self.server.server_port}/platform.html?" + query)
        self.wait_for(lambda: driver.find_elements("tag name", "iframe"))
        driver.switch_to.frame(0)
        self.wait_for(lambda: self.count() == "1*1*1 = 1", "the window")
        self.assertEqual(driver.execute_script("return document.documentElement.lang"), "bg")
        self.assertEqual(self.platform("API.cmi.core.lesson_status;"), "incomplete")
