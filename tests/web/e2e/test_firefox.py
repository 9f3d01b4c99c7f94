"""The same page in Firefox: it opens from disk, draws the window at its
places and answers a click."""

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
