"""What the page adds beside the window for a class: the answer hidden until
the pupils have worked it out, and its link; each picture described by the
roads it shows; one polite announcement per pick; the keys in a help."""

import re

from selenium.webdriver.common.keys import Keys

from window import FIRST_ROW, PageTest, config, list_centre

FORMULA = re.compile(r"\d\*\d\*\d")

# Every text of a live region as it changes, and how polite the region is.
RECORD = """
window.__said = [];
new MutationObserver(records => records.forEach(r => {
  const region = (r.target.nodeType === 1 ? r.target : r.target.parentElement).closest('[aria-live]');
  if (region) __said.push([region.getAttribute('aria-live'), region.textContent.trim()]);
})).observe(document.body, { subtree: true, childList: true, characterData: true });"""


class ClassroomTest(PageTest):
    def names(self, role):
        return [n.get("name", {}).get("value", "") for n in self.nodes(role)]

    def everything_said(self):
        """Every name, value and text in the accessibility tree."""
        return [str(n.get(k, {}).get("value", "")) for n in self.nodes() for k in ("name", "value", "description")]

    def test_the_pictures_say_how_many_roads_they_show(self):
        self.browser.click(list_centre(0), FIRST_ROW)
        for keys, name in (((), "Между A и B няма път"), ((Keys.DOWN,), "Между A и B: 1 път"),
                           ((Keys.DOWN, Keys.DOWN), "Между A и B: 3 пътя")):
            self.browser.keys(*keys)
            self.wait_for(lambda: self.names("image")[0] == name, name)
        self.assertEqual(self.names("image"), ["Между A и B: 3 пътя", "Между B и C: 1 път", "Между C и D: 1 път"])

    def test_one_polite_announcement_per_pick(self):
        self.browser.driver.execute_script(RECORD)
        self.browser.click(list_centre(0), FIRST_ROW)
        self.browser.keys(Keys.DOWN, Keys.DOWN)
        self.wait_for(lambda: self.label_text() == "2*1*1 = 2", "the picks")
        self.settle()
        said = self.browser.driver.execute_script("return __said;")
        self.assertEqual(said, [["polite", "Между A и B няма път. Брой маршрути: 0*1*1 = 0."],
                                ["polite", "Между A и B: 1 път. Брой маршрути: 1*1*1 = 1."],
                                ["polite", "Между A и B: 2 пътя. Брой маршрути: 2*1*1 = 2."]])
        self.assertEqual(self.browser.driver.execute_script(
            "return document.querySelectorAll('[aria-live=assertive], [role=alert]').length"), 0)

    def test_the_hidden_answer_leaks_nothing_and_travels_in_the_link(self):
        self.click_button("Скрий отговора")
        self.wait_for(lambda: self.label_text() == "?", "the hidden count")
        self.browser.click(list_centre(0), FIRST_ROW)
        self.wait_for(lambda: self.names("image")[0] == "Между A и B няма път", "the pick")
        self.settle()
        self.assertEqual([t for t in self.everything_said() if FORMULA.search(t)], [])
        link = self.browser.driver.current_url
        self.assertTrue(link.endswith("#0,1,1;hide"), link)
        self.assertTrue(self.label_pixels_read(self.browser.screenshot(), "?"))
        # The link opens the example hidden; shown again, the count is the selection's.
        self.browser.driver.get("about:blank")
        self.browser.driver.get(link)
        self.wait_for(lambda: self.names("image")[:1] == ["Между A и B няма път"], "the hidden example")
        self.assertEqual((self.label_text(), "Покажи отговора" in self.names("button")), ("?", True))
        self.click_button("Покажи отговора")
        self.wait_for(lambda: self.label_text() == "0*1*1 = 0", "the count shown again")
        self.assertTrue(self.browser.driver.current_url.endswith("#0,1,1"))
        self.browser.open(config["page"])  # no fragment: as before

    def test_the_help_lists_the_keys_and_gives_the_focus_back(self):
        for _ in range(9):  # round the window's ring to the bar's third button
            self.browser.keys(Keys.TAB)
        self.assertEqual(self.focused(), ("button", "Помощ"))
        self.browser.keys(Keys.ENTER)
        self.wait_for(lambda: self.names("dialog") == ["Помощ: клавиши"], "the help")
        text = " ".join(self.everything_said())
        for key in ("Tab", "Shift+Tab", "Home", "End", "Page Up", "Esc", "Enter"):
            self.assertIn(key, text)
        self.browser.keys(Keys.ESCAPE)
        self.wait_for(lambda: not self.names("dialog"), "the help to close")
        self.assertEqual(self.focused(), ("button", "Помощ"))
