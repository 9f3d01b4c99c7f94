"""The selection in the address's fragment: a shared address opens the window
with its roads picked, a pick rewrites the address in place, and a fragment
of any other form leaves the window as it starts."""

from selenium.webdriver.common.keys import Keys

import test_selection
from browser import Browser
from window import PageTest, config

OPENED = [
    ("#2,3,4", "2*3*4 = 24", (2, 3, 4)),
    ("#0,7,7", "0*7*7 = 0", (0, 7, 7)),
    ("#7,7,7", "7*7*7 = 343", (7, 7, 7)),
    ("#8,1,1", "1*1*1 = 1", (1, 1, 1)),
    ("#1,1", "1*1*1 = 1", (1, 1, 1)),
    ("#a,b,c", "1*1*1 = 1", (1, 1, 1)),
    ("#-1,2,3", "1*1*1 = 1", (1, 1, 1)),
    ("#02,3,4", "1*1*1 = 1", (1, 1, 1)),
    ("#" + ",".join(["2"] * 5000), "1*1*1 = 1", (1, 1, 1)),
]


class AddressTest(PageTest):
    @classmethod
    def setUpClass(cls):
        cls.browser = Browser(1, console=True)

    def setUp(self):
        pass

    assert_shows = test_selection.SelectionTest.assert_shows

    def open(self, fragment, formula):
        self.browser.driver.get("about:blank")
        self.browser.driver.get("file://" + config["page"] + fragment)
        self.wait_for(lambda: self.label_text() == formula, formula)

    def test_the_fragment_opens_the_window_with_its_selection_or_not_at_all(self):
        for fragment, formula, roads in OPENED:
            with self.subTest(fragment=fragment[:20]):
                self.browser.console()
                self.open(fragment, formula)
                self.assert_shows(formula, roads)
                errors = [m for m in self.browser.console() if "Uncaught" in m or "rror" in m]
                self.assertEqual(errors, [])

    def test_a_pick_rewrites_the_address_in_place_and_a_new_fragment_applies(self):
        self.open("#2,3,4", "2*3*4 = 24")
        steps = self.browser.driver.execute_script("return history.length;")
        self.browser.keys(Keys.TAB, Keys.TAB, Keys.TAB, Keys.DOWN)  # from picture A-B to list A-B
        self.wait_for(lambda: self.browser.driver.current_url.endswith("#3,3,4"), "the address to follow")
        self.browser.keys(Keys.TAB, Keys.END)
        self.wait_for(lambda: self.browser.driver.current_url.endswith("#3,7,4"), "the address to follow")
        self.assertEqual(self.browser.driver.execute_script("return history.length;"), steps)
        self.assertEqual(self.label_text(), "3*7*4 = 84")
        self.browser.driver.get("file://" + config["page"] + "#0,7,7")  # the same page: only hashchange
        self.wait_for(lambda: self.label_text() == "0*7*7 = 0", "the new fragment")
        self.assert_shows("0*7*7 = 0", (0, 7, 7))
