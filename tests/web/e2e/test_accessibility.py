"""The page as the web's own accessibility checker (axe-core, from npm) judges
it, in each state a pupil meets; and in forced colours (high contrast), read
from the pixels."""

import os

from selenium.webdriver.common.keys import Keys

from window import FIRST_ROW, SECOND_ROW, WINDOW, PageTest, config, elements, list_centre, place, road_picture

AXE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "node_modules", "axe-core", "axe.min.js")
TAGS = ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa", "wcag22aa", "best-practice"]


def violations(driver):
    """What axe-core finds wrong with the page as it stands."""
    driver.execute_script(open(AXE, encoding="utf-8").read())
    return driver.execute_async_script(
        "var done = arguments[1]; axe.run(document, {runOnly: {type: 'tag', values: arguments[0]}})"
        ".then(r => done(r.violations.map(v => v.id + ': ' + v.nodes.map(n => n.target).join(' '))));", TAGS)


class AxeTest(PageTest):
    def picks(self):
        self.browser.click(list_centre(0), FIRST_ROW)
        self.browser.click(list_centre(2), SECOND_ROW)
        self.browser.keys(Keys.DOWN, Keys.TAB)
        self.wait_for(lambda: self.label_text() == "0*1*2 = 0", "the picks")

    def hidden(self):
        self.click_button("Скрий отговора")
        self.wait_for(lambda: self.label_text() == "?", "the hidden count")

    def help(self):
        self.click_button("Помощ")
        self.wait_for(lambda: self.nodes("dialog"), "the help")

    def error_report(self):
        self.browser.open(os.path.join(config["error_pages"], "error_report_load.html"))
        self.wait_for(lambda: self.nodes("alertdialog"), "the error report")

    def framed(self):
        host = os.path.join(self.browser.profile, "host.html")
        with open(host, "w", encoding="utf-8") as f:
            f.write(f'<!DOCTYPE html><html lang="en"><title>host</title><iframe title="Tavrel_Oskund" '
                    f'src="file://{config["page"]}" style="width:470px;height:409px;border:0"></iframe>')
        self.browser.open(host)
        self.browser.driver.switch_to.frame(0)
        self.wait_for(lambda: self.browser.driver.execute_script("return document.title.length > 20"), "the frame")

    def on_screen(self, width, height, ratio):
        """The page again on another screen, which each state sets back."""
        def reach():
            self.browser.emulate(width, height, ratio, width < 470)
            self.setUp()
        return reach

    def violations(self):
        return violations(self.browser.driver)

    def test_no_violations_in_any_state(self):
        for state, reach in (("start", None), ("after picks", self.picks), ("answer hidden", self.hidden),
                             ("help open", self.help), ("error report", self.error_report),
                             ("in a frame", self.framed), ("scaled", self.on_screen(1280, 800, 1)),
                             ("stacked", self.on_screen(360, 640, 3))):
            with self.subTest(state):
                self.setUp()
                if reach:
                    reach()
                self.assertEqual(self.violations(), [])
                self.browser.driver.switch_to.default_content()
                self.browser.emulate(600, 480)


class ForcedColoursTest(PageTest):
    def setUp(self):
        self.browser.driver.execute_cdp_cmd("Emulation.setEmulatedMedia",
                                            {"features": [{"name": "forced-colors", "value": "active"}]})
        super().setUp()

    @classmethod
    def tearDownClass(cls):
        cls.browser.driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"features": []})
        super().tearDownClass()

    def test_pictures_selection_focus_and_labels_stay_visible(self):
        shot = self.browser.screenshot()
        self.assertNotEqual(shot.at(5, 5), WINDOW, "forced colours are on")
        self.assertEqual(self.wrong_pictures((1, 1, 1), shot), [])
        for name, shape, (x, y, w, h), _ in elements():
            if shape == "Label":  # some ink on a background: the caption shows
                colours = {shot.at(px, py) for py in range(y, y + h) for px in range(x, x + w)}
                self.assertGreater(len(colours), 1, name)
        for i in range(3):  # entry "1", selected, on the second row; "0" above it
            x = place(f"List1({i})")[0] + 5
            self.assertNotEqual(shot.at(x, FIRST_ROW), shot.at(x, SECOND_ROW), f"List1({i})")
        x, y, w, h = place("Picture1(2)")
        road = road_picture(1)
        self.browser.keys(Keys.TAB, Keys.TAB)
        shot = self.browser.screenshot()
        marked = [(x + w - 1, y + j) for j in range(10, h) if shot.at(x + w - 1, y + j) != road[j][w - 1]]
        self.assertGreater(len(marked), 20, "the focus shows on the picture")
