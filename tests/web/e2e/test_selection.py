"""Choosing road counts with the pointer, the keys, the wheel and touch: the
route count is read from the accessibility tree and from the pixels, and the
segment pictures follow."""

import time

from selenium.webdriver.common.keys import Keys

from window import FIRST_ROW, SECOND_ROW, PageTest, list_centre


class SelectionTest(PageTest):
    def assert_shows(self, formula, roads):
        self.settle()
        self.assertEqual(self.label_text(), formula)
        shot = self.browser.screenshot()
        self.assertEqual(self.wrong_pictures(roads, shot), [], f"the pictures should show roads {roads}")
        self.assertTrue(self.label_pixels_read(shot, formula), "the label's pixels read " + formula)

    def test_after_start_the_route_count_reads_one_route(self):
        self.assertEqual(self.focused(), ("image", "Между A и B: 1 път"))
        shot = self.browser.screenshot()
        self.assert_shows("1*1*1 = 1", (1, 1, 1))
        self.assertFalse(self.label_pixels_read(shot, "1*1*1 = 7"), "the pixels tell formulas apart")

    def test_clicks_and_keys(self):
        self.browser.click(list_centre(0), SECOND_ROW)  # the selected entry again: focus only
        self.browser.keys(Keys.DOWN, Keys.DOWN)
        self.browser.click(list_centre(1), SECOND_ROW)
        self.browser.keys(Keys.DOWN)
        self.browser.click(list_centre(2), FIRST_ROW)
        self.browser.keys(Keys.DOWN, Keys.DOWN, Keys.DOWN, Keys.DOWN, Keys.DOWN, Keys.DOWN, Keys.UP)
        self.assert_shows("3*2*5 = 30", (3, 2, 5))

    def test_home_end_and_tab(self):
        self.browser.click(list_centre(0), SECOND_ROW)
        self.browser.keys(Keys.HOME, Keys.TAB, Keys.END, Keys.TAB, Keys.PAGE_DOWN)
        self.settle()
        self.assertEqual(self.label_text(), "0*7*2 = 0")  # a page down from 1 with two rows shown
        self.browser.keys(Keys.END, Keys.PAGE_UP)
        self.settle()
        self.assertEqual(self.label_text(), "0*7*6 = 0")
        self.browser.keys(Keys.END)
        self.assert_shows("0*7*7 = 0", (0, 7, 7))

    def test_the_wheel_scrolls_without_selecting_then_a_click_picks(self):
        for i in range(3):
            self.browser.wheel(list_centre(i), FIRST_ROW, 400)
        time.sleep(0.3)
        self.settle()
        self.assertEqual(self.label_text(), "1*1*1 = 1")
        for i in range(3):
            self.browser.click(list_centre(i), SECOND_ROW)
        self.assert_shows("7*7*7 = 343", (7, 7, 7))

    def test_a_tap_picks_an_entry(self):
        self.browser.tap(list_centre(2), FIRST_ROW)
        self.browser.tap(list_centre(0), FIRST_ROW)
        self.assert_shows("0*1*0 = 0", (0, 1, 0))

    def test_a_press_dragged_out_of_a_list_picks_what_the_list_shows(self):
        # The browser moves the selection on the press and sends no change
        # event when the release falls outside the list.
        for path, roads in ((((223, 96), (468, 82)), (1, 2, 1)), (((86, 59), (165, 287)), (0, 1, 1))):
            self.setUp()  # assert_shows leaves the page
            self.browser.drag(*path)
            self.settle()
            self.assertEqual(self.selected_entries(), [[str(k)] for k in roads])
            self.assert_shows("{}*{}*{} = {}".format(*roads, roads[0] * roads[1] * roads[2]), roads)
