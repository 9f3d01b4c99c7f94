"""Tab order, what assistive technology is told, and the read-only task text."""

import os

from selenium.webdriver.common.keys import Keys

from window import FIRST_ROW, SECOND_ROW, WINDOW, PageTest, config, element_at, list_centre, place, prop, road_picture

# The window's ring, then the page's bar under it.
RING = [("image", "Между A и B: 1 път"), ("image", "Между B и C: 1 път"), ("image", "Между C и D: 1 път"),
        ("listbox", "AB"), ("listbox", "BC"), ("listbox", "CD"), ("textbox", "Условие на задачата"),
        ("button", "Скрий отговора"), ("button", "Упражнение"), ("button", "Помощ"), ("combobox", "Език")]


class FocusTest(PageTest):
    def test_tab_goes_round_the_window_in_tab_order(self):
        seen = [self.focused()]
        for _ in range(len(RING)):
            self.browser.keys(Keys.TAB)
            seen.append(self.focused())
        self.assertEqual(seen, RING + RING[:1])

    def test_shift_tab_goes_back_from_the_first_stop_to_the_last(self):
        self.browser.chord(Keys.SHIFT, Keys.TAB)
        self.assertEqual(self.focused(), RING[-1])
        self.browser.chord(Keys.SHIFT, Keys.TAB)
        self.assertEqual(self.focused(), RING[-2])

    def test_lists_are_named_by_their_captions_and_expose_the_selection(self):
        lists = {n["name"]["value"]: n for n in self.nodes("listbox")}
        self.assertEqual(sorted(lists), ["AB", "BC", "CD"])
        # The window's entries, not the bar's choice of language.
        selected = [n["name"]["value"] for n in self.nodes("option") if prop(n, "selected") and n["name"]["value"].isdigit()]
        self.assertEqual(selected, ["1", "1", "1"])
        self.browser.click(list_centre(1), SECOND_ROW + 0)
        self.browser.keys(Keys.END)
        self.settle()
        selected = [n["name"]["value"] for n in self.nodes("option") if prop(n, "selected") and n["name"]["value"].isdigit()]
        self.assertEqual(sorted(selected), ["1", "1", "7"])

    def test_the_task_text_is_a_read_only_text_field(self):
        boxes = self.nodes("textbox")
        self.assertEqual(len(boxes), 1)
        self.assertTrue(prop(boxes[0], "readonly"))
        self.assertTrue(prop(boxes[0], "multiline"))
        self.assertTrue(boxes[0]["value"]["value"].startswith("Едно от основните правила"))


class TaskTextTest(PageTest):
    def text(self):
        return self.nodes("textbox")[0]["value"]["value"]

    def test_typing_deleting_cutting_and_pasting_change_nothing(self):
        before = self.text()
        x, y, w, h = place("Text1(0)")
        self.browser.click(x + 40, y + 10)
        self.browser.click(x + 40, y + 10)  # the second click of a double click selects a word
        self.browser.chord(Keys.CONTROL, "a")
        self.browser.chord(Keys.CONTROL, "c")
        self.browser.keys("abc", Keys.DELETE, Keys.BACKSPACE, Keys.ENTER)
        self.browser.chord(Keys.CONTROL, "x")
        self.browser.chord(Keys.CONTROL, "v")
        self.browser.chord(Keys.SHIFT, Keys.INSERT)
        self.settle()
        self.assertEqual(self.text(), before)
        self.assertEqual(self.focused(), ("textbox", "Условие на задачата"))


class VisibleFocusTest(PageTest):
    def test_the_keyboard_focus_is_marked_on_a_picture(self):
        x, y, w, h = place("Picture1(2)")
        road = road_picture(1)

        def marked():
            shot = self.browser.screenshot()
            edge = [(x + i, y + h - 1) for i in range(w)] + [(x + w - 1, y + j) for j in range(10, h)]
            return sum(shot.at(px, py) != road[py - y][px - x] for px, py in edge)
        self.assertEqual(marked(), 0)  # the window opens with an unmarked focus
        self.browser.keys(Keys.TAB, Keys.TAB)
        self.assertEqual(self.focused(), RING[2])
        self.assertGreater(marked(), 20)


class FramedPageTest(PageTest):
    """The page inside an <iframe> of another page, the way a learning platform shows it."""

    def setUp(self):
        host = os.path.join(self.browser.profile, "host.html")
        with open(host, "w", encoding="utf-8") as f:
            f.write(f'<!DOCTYPE html><body style="margin:0;background:#fff"><button id="before">before</button>'
                    f'<iframe id="frame" src="file://{config["page"]}" '
                    f'style="position:absolute;left:30px;top:20px;width:470px;height:409px;border:0"></iframe>'
                    f'<button id="after" style="position:absolute;top:440px">after</button>')
        self.browser.open(host)
        self.wait_for(lambda: self.browser.screenshot().at(30 + 5, 20 + 5) == WINDOW, "the framed window")

    def host_focus(self):
        return self.browser.driver.execute_script("return document.activeElement.id")

    def test_tab_leaves_the_frame_past_the_ends_of_the_ring(self):
        # A click on the first list puts the focus on the ring's fourth stop.
        forward = (lambda: self.browser.keys(Keys.TAB), "after", len(RING) - 4)
        backward = (lambda: self.browser.chord(Keys.SHIFT, Keys.TAB), "before", 3)
        for press, host_element, stops_inside in (forward, backward):
            self.setUp()  # the frame as it opens: the bar's focus scrolled it
            self.browser.click(30 + list_centre(0), 20 + FIRST_ROW)
            seen = []
            while len(seen) <= len(RING) and (not seen or seen[-1] == "frame"):
                press()
                seen.append(self.host_focus())
            self.assertEqual(seen, ["frame"] * stops_inside + [host_element])

    def test_the_framed_window_draws_and_answers_a_click(self):
        x, y, w, h = place("Picture1(0)")
        self.browser.click(30 + list_centre(0), 20 + FIRST_ROW)
        road = road_picture(0)
        self.settle()
        shot = self.browser.screenshot()
        wrong = [(px, py) for py in range(y, y + h, 2) for px in range(x, x + w, 2)
                 if element_at(px, py)[0] == "Picture1(0)" and shot.at(30 + px, 20 + py) != road[py - y][px - x]]
        self.assertEqual(wrong[:5], [])
