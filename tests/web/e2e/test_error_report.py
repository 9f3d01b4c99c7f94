"""The report of a run-time error nobody caught, and the end that follows it,
with pages built from the program with a fault built in; and, with the same
console and network log, that the page itself logs and fetches nothing."""

import os
import time
import unittest

from selenium.webdriver.common.keys import Keys

from browser import Browser
from window import WINDOW, config, list_centre

FIRST_ROW = 64


class ErrorReportTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.browser = Browser(1, console=True)

    @classmethod
    def tearDownClass(cls):
        cls.browser.close()

    def nodes(self, role):
        return [n for n in self.browser.ax_nodes() if not n.get("ignored") and n.get("role", {}).get("value") == role]

    def names(self, role):
        return [n.get("name", {}).get("value", "") for n in self.nodes(role)]

    def wait_for(self, condition):
        for _ in range(200):
            if condition():
                return
            time.sleep(0.05)
        self.fail("timed out")

    def check_fault(self, fault, number, description):
        self.browser.open(os.path.join(config["error_pages"], f"error_report_{fault}.html"))
        if fault == "click":
            self.wait_for(lambda: self.names("listbox") == ["AB", "BC", "CD"])  # the window is up until the click
            self.browser.click(list_centre(0), FIRST_ROW)
        self.wait_for(lambda: self.nodes("alertdialog"))
        dialogs = self.nodes("alertdialog")
        self.assertEqual(len(dialogs), 1)
        texts = " ".join(self.names("StaticText"))
        self.assertIn(f"'{number}'", texts)
        self.assertIn(description, texts)
        console = self.browser.console()
        self.assertEqual(len([line for line in console if f"грешка {number}:" in line]), 1, console)
        # The window is gone while the report is up, and no list takes input.
        self.assertEqual(self.names("listbox"), [])
        shot = self.browser.screenshot()
        self.assertFalse(any(shot.at(x, y) == WINDOW for y in range(0, 400, 7) for x in range(0, 460, 7)))
        self.browser.keys(Keys.ENTER)
        self.assertEqual(self.nodes("alertdialog"), [])
        self.assertEqual(len(self.nodes("status")), 1)
        self.assertIn("Програмата завърши след грешка при изпълнение.", self.names("StaticText"))
        self.browser.click(list_centre(0), FIRST_ROW)
        self.assertEqual(self.names("listbox"), [])

    def test_the_page_asks_for_nothing_but_itself(self):
        self.browser.requests()
        self.browser.open(config["page"])
        self.wait_for(lambda: self.names("listbox"))
        self.browser.click(list_centre(0), FIRST_ROW)
        self.assertEqual([url for url in self.browser.requests() if not url.startswith("data:")],
                         ["file://" + config["page"]])
        self.assertEqual(self.browser.console(), [])

    def test_a_damaged_window_description(self):
        self.check_fault("description", 450, "Описанието на прозореца е повредено")

    def test_an_error_in_the_load_handler(self):
        self.check_fault("load", 6, "Препълване")

    def test_an_error_in_the_click_handler(self):
        self.check_fault("click", 6, "Препълване")
