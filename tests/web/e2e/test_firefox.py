"""The same page in Firefox: it opens from disk, draws the window at its
places and answers a click; at phone size its segments stand one under
another, and an address with a selection opens with it."""

import os
import time
import unittest

from firefox import Firefox
from window import FIRST_ROW, HEIGHT, WIDTH, WINDOW, config, element_at, list_centre, place, road_picture


class FirefoxTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.browser = Firefox()

    @classmethod
    def tearDownClass(cls):
        cls.browser.close()

    def shot_when(self, condition):
        for _ in range(100):
            shot = self.browser.screenshot()
            if condition(shot):
                return shot
            time.sleep(0.1)
        self.fail("the page never showed what was expected")

    def shows_road(self, shot, i, k):
        name = f"Picture1({i})"
        x, y, w, h = place(name)
        road = road_picture(k)
        return all(shot.at(px, py) == road[py - y][px - x] for py in range(y, y + h, 3) for px in range(x, x + w, 3)
                   if element_at(px, py)[0] == name)

    def test_the_window_opens_and_a_click_changes_the_picture(self):
        self.browser.open(config["page"])
        shot = self.shot_when(lambda s: all(self.shows_road(s, i, 1) for i in range(3)))
        self.assertTrue(self.browser.title().endswith("Математика - правило за умножение"))
        wrong = [(x, y) for y in range(0, HEIGHT, 2) for x in range(0, WIDTH, 2)
                 if element_at(x, y) is None and shot.at(x, y) != WINDOW]
        self.assertEqual(wrong[:10], [])
        self.browser.click(list_centre(1), FIRST_ROW)
        self.shot_when(lambda s: self.shows_road(s, 1, 0) and self.shows_road(s, 0, 1))

    def test_at_phone_size_with_a_selection_in_the_address(self):
        # Firefox keeps a window at least 500 px wide: the phone is a frame of
        # 360 x 640 CSS px at the top left of a page of the test's own.
        phone = os.path.join(self.browser.profile, "phone.html")
        with open(phone, "w", encoding="utf-8") as f:
            f.write('<!DOCTYPE html><body style="margin:0"><iframe style="border:0;width:360px;height:640px" '
                    f'src="file://{config["page"]}#2,3,4"></iframe>')
        self.browser.open(phone)
        boxes = ("const d = document.querySelector('iframe').contentDocument; return [d.documentElement.scrollWidth, "
                 "[...d.querySelectorAll('canvas, .tavrel-window option')].map(e => e.getBoundingClientRect().toJSON())]")
        self.shot_when(lambda s: (self.browser.script(boxes)[1] or [{}])[-1].get("top", 0) > 400)
        scroll_width, found = self.browser.script(boxes)
        self.assertLessEqual(scroll_width, 360)
        canvases = [b for b in found if b["width"] == 150]
        self.assertEqual(len(canvases), 3)
        self.assertTrue(canvases[0]["bottom"] <= canvases[1]["top"], "one under another")
        self.assertEqual([b for b in found if b["height"] < 24 or b["width"] < 24], [])

        def shows(shot, box, k):
            road = road_picture(k)
            x, y = int(box["left"]), int(box["top"])
            return all(shot.at(x + px, y + py) == road[py][px] for py in range(3, 150, 3) for px in range(0, 150, 3))
        self.shot_when(lambda s: shows(s, canvases[0], 2) and shows(s, canvases[1], 3))
