"""The window on the screens a class uses, from a phone to a projector: it
fits without horizontal scrolling, with the page's bar under it, filling the
viewport's limiting side where it is scaled; list entries are large enough to
tap where it is laid out again; picks by touch or pointer count; every
picture pixel is a uniform block of device pixels equal to its bitmap where a
CSS pixel covers a whole number of them, and between whole numbers every road
is drawn with one weight."""

import base64
import time

from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.actions.interaction import POINTER_TOUCH
from selenium.webdriver.common.actions.pointer_input import PointerInput
from selenium.webdriver.common.by import By

from browser import decode_png
from window import HEIGHT, WIDTH, PageTest, config, road_picture

# name, CSS viewport, device pixel ratio, phone (touch), device pixels to a
# picture pixel (0: a fraction); narrower than the window: laid out again
SCREENS = [
    ("phone", 360, 640, 3, True, 3),
    ("1280x720 at 400%", 320, 180, 4, False, 4),
    ("small window", 520, 500, 1, False, 1),
    ("tablet", 768, 1024, 1, False, 0),
    ("1024x768", 1024, 768, 1, False, 0),
    ("1280x720", 1280, 720, 1, False, 0),
    ("1280x800", 1280, 800, 1, False, 0),
    ("1366x768", 1366, 768, 1, False, 0),
    ("1440x900", 1440, 900, 1, False, 2),
    ("1600x900", 1600, 900, 1, False, 2),
    ("projector", 1920, 1080, 1, False, 0),
    ("2560x1440", 2560, 1440, 1, False, 0),
    ("3840x2160 at 200%", 1920, 1080, 2, False, 0),
]
ROAD_ROW, APEX = 74, 77  # the straight road's row; a column through every arch's flat apex


class ScreensTest(PageTest):
    def setUp(self):
        pass

    def script(self, code):
        return self.browser.driver.execute_script("return " + code)

    def rect(self, element):
        """Where element is seen in the viewport, transforms included."""
        r = self.browser.driver.execute_script("return arguments[0].getBoundingClientRect().toJSON();", element)
        return r["x"], r["y"], r["width"], r["height"]

    def in_view(self, element):
        """Scrolls the page with the wheel, as a reader would, until element is
        in the viewport; its place there."""
        x, y, w, h = self.rect(element)
        view = self.script("innerHeight;")
        if y < 0 or y + h > view:
            self.browser.wheel(2, 2, int(y - (view - h) / 2))  # over the window's margin
            time.sleep(0.3)
        return self.rect(element)

    def pick(self, touch, x, y):
        (self.browser.tap if touch else self.browser.click)(int(x), int(y))

    def swipe(self, x, y, dy):
        finger = PointerInput(POINTER_TOUCH, "finger")
        actions = ActionBuilder(self.browser.driver, mouse=finger)
        actions.pointer_action.move_to_location(x, y).pointer_down()
        for step in range(1, 6):
            actions.pointer_action.move_to_location(x, int(y + dy * step / 5))
        actions.pointer_action.pointer_up()
        actions.perform()

    def shot_of(self, picture):
        """The picture in view: its place, a screenshot of it at device pixels
        with the device pixel of its top left corner, and the boxes in front of it."""
        x, y, w, h = self.in_view(picture)
        ratio = self.script("devicePixelRatio;")
        # A screenshot's clip starts at a whole CSS pixel.
        sx, sy = (v + int(c) for v, c in zip(self.script("[scrollX, scrollY];"), (x, y)))
        shot = decode_png(base64.b64decode(self.browser.driver.execute_cdp_cmd("Page.captureScreenshot", {
            "format": "png", "clip": {"x": sx, "y": sy, "width": int(w) + 2, "height": int(h) + 2,
                                      "scale": 1}})["data"]))
        depth = int(picture.value_of_css_property("z-index"))
        front = [self.rect(e) for e in self.browser.driver.find_elements(By.CSS_SELECTOR, ".tavrel-window select, canvas")
                 if int(e.value_of_css_property("z-index")) > depth]
        return (x, y, w, h), shot, ((x - int(x)) * ratio, (y - int(y)) * ratio), front

    def assert_crisp(self, picture, k, ratio):
        """Every pixel of road picture k a uniform block of device pixels, where
        no other box lies in front of the picture."""
        (x, y, w, h), shot, (left, top), front = self.shot_of(picture)
        block = w * ratio / 150
        self.assertEqual(block, int(block), "a picture pixel covers whole device pixels")
        block, left, top = int(block), round(left), round(top)
        road = road_picture(k)
        wrong = []
        for py in range(0, 150, 2):
            for px in range(0, 150, 2):
                cx, cy = x + (px + 0.5) * w / 150, y + (py + 0.5) * h / 150
                if any(fx <= cx < fx + fw and fy <= cy < fy + fh for fx, fy, fw, fh in front):
                    continue
                seen = {shot.at(left + px * block + dx, top + py * block + dy)
                        for dx in range(block) for dy in range(block)}
                if seen != {road[py][px]}:
                    wrong.append((px, py))
        self.assertEqual(wrong[:5], [])

    def assert_even(self, picture, k, ratio):
        """Every road of road picture k as heavy as one picture pixel is wide
        in device pixels (the ink of its cross-section in a column of device
        pixels: 1 for black, 0 for white), where its pixels run flat: the
        straight road all along, and each arch at its apex."""
        (x, y, w, h), shot, (left, top), front = self.shot_of(picture)
        scale = w * ratio / 150

        def crossings(px):
            """The ink of each road a column of the picture crosses, top down,
            with the picture row where it starts; a device pixel beside a box
            in front may show its edge."""
            cx = x + (px + 0.5) * w / 150
            sx = int(left + (px + 0.5) * scale)
            found, run = [], None
            for sy in range(int(top), int(top + 150 * scale)):
                cy = y + (sy - top + 0.5) / ratio
                hidden = any(fx <= cx < fx + fw and fy - 1 / ratio <= cy < fy + fh + 1 / ratio
                             for fx, fy, fw, fh in front)
                ink = 0 if hidden else 1 - (shot.at(sx, sy) & 0xFF) / 255
                if ink > 0.02:
                    run = run or [sy, 0.0]
                    run[1] += ink
                elif run:
                    found.append(((run[0] - top) / scale, run[1]))
                    run = None
            return found
        apex = [ink for _, ink in crossings(APEX)]
        straight = [ink for px in range(24, 127, 6) for row, ink in crossings(px) if abs(row - ROAD_ROW) < 2]
        self.assertEqual(len(apex), k, "one crossing per road")
        self.assertEqual(len(straight), 18 if k else 0)
        uneven = [round(ink, 2) for ink in apex + straight if abs(ink - scale) > 0.2]
        self.assertEqual(uneven, [], f"roads weigh {scale:.2f} device pixels")

    def test_the_window_fits_every_screen_and_answers_touch_and_pointer(self):
        for name, width, height, ratio, phone, scale in SCREENS:
            with self.subTest(screen=name):
                self.browser.emulate(width, height, ratio, phone)
                self.browser.driver.get("about:blank")
                self.browser.open(config["page"])
                self.wait_for(lambda: self.label_text() == "1*1*1 = 1", "the window to load")
                self.assertLessEqual(self.script("document.documentElement.scrollWidth;"), width)
                window = self.browser.driver.find_element(By.CSS_SELECTOR, ".tavrel-window")
                wx, wy, ww, wh = self.rect(window)
                bx, by, bw, bh = self.rect(self.browser.driver.find_element(By.ID, "tavrel-bar"))
                self.assertGreaterEqual(by, wy + wh - 0.5, "the bar under the window")
                narrow = width < WIDTH
                if not narrow:
                    self.assertTrue(0 <= wx and wx + ww <= width and 0 <= wy and by + bh <= height)
                    if scale == ratio:  # exactly as drawn at its natural size
                        self.assertEqual((wx, wy, ww, wh), (0, 0, WIDTH, HEIGHT))
                    else:  # as large as it fits with the bar, which is scaled alike, and centred
                        self.assertGreaterEqual(max(ww / width, wh / height), 0.9, "its share of the screen")
                        self.assertAlmostEqual(by, wy + wh, delta=0.5)
                        self.assertEqual((round(bx), round(bw / ww, 2)), (round(wx), 1))
                        self.assertLessEqual(abs(2 * wx + ww - width), 2)
                        self.assertLessEqual(abs(2 * wy + wh + bh - height), 2)
                parts = window.find_elements(By.XPATH, "./*")
                for x, y, w, h in map(self.rect, parts):
                    self.assertTrue(wx <= x and x + w <= wx + ww and wy <= y and y + h <= wy + wh, "inside")
                    self.assertTrue(0 <= x and x + w <= width, "inside the viewport's width")
                if narrow:
                    small = [r for r in map(self.rect, window.find_elements(By.TAG_NAME, "option"))
                             if r[2] < 24 or r[3] < 24]
                    self.assertEqual(small, [], "every entry a 24x24 target")

                # Scroll list A-B by a few rows: nothing is picked. Then pick the
                # first entry fully in view, and entry 0 of list B-C.
                lists = window.find_elements(By.TAG_NAME, "select")
                x, y, w, h = self.in_view(lists[0])
                if phone:
                    self.swipe(int(x + w / 3), int(y + h - 4), -120)
                else:
                    self.browser.wheel(int(x + w / 3), int(y + h / 2), 60)
                time.sleep(0.4)
                self.assertEqual(self.label_text(), "1*1*1 = 1")
                options = lists[0].find_elements(By.TAG_NAME, "option")
                k = next(i for i, o in enumerate(options) if self.rect(o)[1] >= y)
                self.assertGreaterEqual(k, 2, "the list scrolled")
                ox, oy, ow, oh = self.rect(options[k])
                self.pick(phone, ox + ow / 2, oy + oh / 2)
                x, y, w, h = self.in_view(lists[1].find_elements(By.TAG_NAME, "option")[0])
                self.pick(phone, x + w / 2, y + h / 2)
                self.settle()
                self.assertEqual(self.label_text(), f"{k}*0*1 = 0")
                pictures = window.find_elements(By.TAG_NAME, "canvas")
                check = self.assert_crisp if scale else self.assert_even
                check(pictures[0], k, ratio)
                check(pictures[1], 0, ratio)
                if phone:  # a double tap does not zoom
                    x, y, w, h = self.rect(pictures[0])
                    self.browser.tap(int(x + w / 2), int(y + h / 2))
                    self.browser.tap(int(x + w / 2), int(y + h / 2))
                    time.sleep(0.5)
                    self.assertEqual(self.script("visualViewport.scale;"), 1, "nothing zoomed")
