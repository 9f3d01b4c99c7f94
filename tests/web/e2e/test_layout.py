"""The window in the page, pixel for pixel, at device pixel ratio 1 and 2; and
the start window drawn into the page, pixel for pixel the same."""

import os

from window import HEIGHT, WIDTH, WINDOW, PageTest, config, element_at, elements, place, road_picture


def copy_differs(test):
    """The pixels where the start window drawn into the page, shown by the page
    cut off before its program, differ from the window the program shows; but
    for the first list, which the program focuses. A box in front of a canvas
    is blended in a layer of its own, where the copy has images: the edges it
    smooths may differ by a step in a channel."""
    scale = test.scale
    window = test.browser.screenshot()
    page = open(config["page"], encoding="utf-8").read()
    still = os.path.join(test.browser.profile, "still.html")
    with open(still, "w", encoding="utf-8") as f:
        f.write(page[:page.index("<noscript>", page.index("<body>"))] + "</body></html>")
    test.browser.open(still)
    copy = test.browser.screenshot()
    fx, fy, fw, fh = place("List1(0)")
    return [(x, y) for y in range(HEIGHT * scale) for x in range(WIDTH * scale)
            if not (fx <= x // scale < fx + fw and fy <= y // scale < fy + fh)
            and any(abs(a - b) > 1 for a, b in zip(copy.rows[y][3 * x:3 * x + 3], window.rows[y][3 * x:3 * x + 3]))]


class LayoutTest(PageTest):
    def test_background_shows_exactly_where_no_element_lies(self):
        shot = self.browser.screenshot()
        wrong = [(x, y) for y in range(HEIGHT) for x in range(WIDTH)
                 if element_at(x, y) is None and shot.at(x, y) != WINDOW]
        self.assertEqual(wrong[:10], [])
        # The window ends at its client area: the page around it is not the window's colour.
        self.assertNotEqual(shot.at(WIDTH, 10), WINDOW)
        self.assertNotEqual(shot.at(10, HEIGHT), WINDOW)

    def test_labels_fill_their_places_to_the_edges(self):
        shot = self.browser.screenshot()
        for name, shape, (x, y, w, h), colour in elements():
            if shape != "Label":
                continue
            edges = [(x + i, y) for i in range(w)] + [(x + i, y + h - 1) for i in range(w)] + \
                    [(x, y + j) for j in range(h)] + [(x + w - 1, y + j) for j in range(h)]
            wrong = [(px, py) for px, py in edges if element_at(px, py)[0] == name and shot.at(px, py) != colour]
            self.assertEqual(wrong, [], name)

    def test_boxes_cover_their_places_and_nothing_more(self):
        shot = self.browser.screenshot()
        for name, shape, (x, y, w, h), _ in elements():
            if shape in ("ListBox", "TextBox"):
                # A sunken frame on each edge: never the window's colour.
                for px, py in ((x, y + h // 2), (x + w - 1, y + h // 2), (x + w // 2, y), (x + w // 2, y + h - 1)):
                    if element_at(px, py)[0] == name:
                        self.assertNotEqual(shot.at(px, py), WINDOW, f"{name} at {px},{py}")

    def test_segment_pictures_show_road_one_with_the_right_hand_one_in_front(self):
        shot = self.browser.screenshot()
        road = road_picture(1)
        for i in range(3):
            name = f"Picture1({i})"
            x, y, w, h = place(name)
            wrong = [(px, py) for py in range(y, y + h) for px in range(x, x + w)
                     if element_at(px, py)[0] == name and shot.at(px, py) != road[py - y][px - x]]
            self.assertEqual(wrong[:5], [], name)
        # The seams: the right-hand picture covers 13 and 14 pixels of its neighbour.
        self.assertEqual(place("Picture1(0)")[0] + 150 - place("Picture1(1)")[0], 13)
        self.assertEqual(place("Picture1(1)")[0] + 150 - place("Picture1(2)")[0], 14)

    def test_the_drawn_start_window_is_the_window(self):
        self.assertEqual(copy_differs(self)[:10], [])


class DoubleDensityTest(PageTest):
    scale = 2

    def test_pictures_scale_by_whole_pixels_without_smoothing(self):
        shot = self.browser.screenshot()
        self.assertEqual((shot.width, shot.height), (1200, 960))
        road = road_picture(1)
        x, y, w, h = place("Picture1(2)")  # in front of every other picture
        wrong = []
        for py in range(y + 3, y + h):  # below the list in front of its top rows
            for px in range(x, x + w):
                expected = road[py - y][px - x]
                block = {shot.at(2 * px + dx, 2 * py + dy) for dx in (0, 1) for dy in (0, 1)}
                if block != {expected}:
                    wrong.append((px, py))
        self.assertEqual(wrong[:5], [])

    def test_the_drawn_start_window_is_the_window(self):
        self.assertEqual(copy_differs(self)[:10], [])

    def test_the_background_stays_where_it_was(self):
        shot = self.browser.screenshot()
        wrong = [(x, y) for y in range(0, HEIGHT, 3) for x in range(0, WIDTH, 3)
                 if element_at(x, y) is None and shot.at(2 * x, 2 * y) != WINDOW]
        self.assertEqual(wrong[:10], [])
