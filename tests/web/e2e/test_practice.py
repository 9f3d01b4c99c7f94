"""Practice with a mark, played as a pupil plays it: the task read off the
page, the answer typed or picked, Enter or "Провери"; the right answers
worked out here from the task's own words."""

import re

from selenium.webdriver.common.keys import Keys

from test_accessibility import violations
from window import FIRST_ROW, PageTest, click_button, list_centre

# Not whole numbers from 0 to 343: each gets a message and uses no try.
BAD_ANSWERS = ["", "   ", "abc", "1e3", "-2", "2,5", "2.5", "+2", "344", "1 2", "٣", "３", "१"]


class Pupil:
    """What a pupil sees of the practice, and does in it, in the page the
    browser is in (a frame at the top left corner of its page, too)."""

    def __init__(self, browser):
        self.browser = browser

    def click_part(self, part):
        box = self.browser.driver.execute_script(
            "const r = document.getElementById('tavrel-' + arguments[0]).getBoundingClientRect();"
            "return [r.x + r.width / 2, r.y + r.height / 2];", part)
        self.browser.click(int(box[0]), int(box[1]))

    def click_button(self, name):
        click_button(self.browser, name)

    def click_list(self, segment):
        self.browser.click(list_centre(segment), FIRST_ROW)

    def type_answer(self, text):
        self.click_part("answer")
        self.browser.chord(Keys.CONTROL, "a")
        self.browser.keys(Keys.DELETE, *([text] if text else []), Keys.ENTER)

    def text(self, part):
        return self.browser.driver.execute_script(
            "const e = document.getElementById('tavrel-' + arguments[0]); return e.hidden ? null : e.textContent;",
            part)

    def shown(self, part):
        return self.browser.driver.execute_script(
            "return document.getElementById('tavrel-' + arguments[0]).getClientRects().length > 0;", part)

    def task(self):
        """(given road counts by segment, missing segment or None, total or None)."""
        text = self.text("practice-task")
        roads = {"ABCD".index(a): int(n) for a, _, n in re.findall(r"([ABC])([BCD]) – (\d)", text)}
        total = re.search(r"вод(?:ят|и) (\d+) маршрут", text)
        missing = next((i for i in range(3) if i not in roads), None)
        return roads, missing, int(total.group(1)) if total else None

    def right(self):
        roads, missing, total = self.task()
        if missing is None:
            return roads[0] * roads[1] * roads[2]
        known = [n for i, n in roads.items()]
        return total // (known[0] * known[1])

    def answer(self, value):
        """Types the answer in the field and presses Enter, or picks it in the list."""
        _, missing, _ = self.task()
        if missing is None:
            self.type_answer(str(value))
        else:
            self.click_list(missing)
            self.browser.keys(Keys.HOME, *[Keys.DOWN] * value)
            self.click_button("Провери")

    def count(self):
        return self.browser.driver.execute_script(
            "return document.querySelector('[data-name=\"Label1(1)\"]').textContent;")

    def points(self):
        return int(re.search(r"(\d+) \S+ 12", self.text("practice-progress")).group(1))


def play_level(test, pupil, plan, first=0):
    """Answers the level's tasks from task first on by plan ('right', 'wrong-right', 'wrong-wrong'); the tasks met."""
    tasks = []
    for number, how in enumerate(plan, first):
        test.assertIn(f"Задача {number + 1} от 6", pupil.text("practice-progress"))
        tasks.append(pupil.task())
        right = pupil.right()
        before = pupil.points()
        if how.startswith("wrong"):
            pupil.answer(right + 1 if right < 7 else right - 1)
            test.wait_for(lambda: "Подсказка" in (pupil.text("practice-result") or ""), "a hint")
            test.assertNotIn(f" {right}.", pupil.text("practice-result"))
            test.assertEqual(pupil.count(), "?")
        pupil.answer(right if how != "wrong-wrong" else right + 2 if right < 6 else right - 2)
        expected = {"right": 2, "wrong-right": 1, "wrong-wrong": 0}[how]
        test.wait_for(lambda: pupil.points() == before + expected, f"{expected} points for task {number + 1}")
        formula = pupil.count()
        roads, missing, total = tasks[-1]
        test.assertRegex(formula, rf"^\d\*\d\*\d = {right if missing is None else total}$")
        if how == "wrong-wrong":
            test.assertIn(formula, pupil.text("practice-result"))
        if number < 5:
            pupil.click_button("Следваща задача")
    test.assertEqual(len(set(map(str, tasks))), len(plan), "no task repeats")
    return tasks


class PracticeTest(PageTest):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.browser.emulate(520, 800)  # the window at its natural size, the practice under it

    def click_list(self, segment):
        self.browser.click(list_centre(segment), FIRST_ROW)

    def start(self):
        self.click_button("Упражнение")
        pupil = Pupil(self.browser)
        self.wait_for(lambda: pupil.text("practice-task"), "the first task")
        return pupil

    def test_a_level_with_every_kind_of_answer_then_the_next(self):
        pupil = self.start()
        self.assertIn("Ниво 1 от 3", pupil.text("practice-title"))
        self.assertEqual(self.label_text(), "?")
        # The lists show the task and cannot be changed.
        shown = self.selected_entries()
        self.click_list(0)
        self.browser.keys(Keys.DOWN, Keys.END)
        self.settle()
        self.assertEqual(self.selected_entries(), shown)
        self.assertEqual(violations(self.browser.driver), [], "level 1's task")
        for bad in BAD_ANSWERS:
            with self.subTest(answer=bad):
                pupil.type_answer(bad)
                self.wait_for(lambda: pupil.text("answer-message"), "a message")
                self.assertEqual(pupil.text("practice-result"), "")
        self.assertEqual(violations(self.browser.driver), [], "a message")
        plan = ["right", "wrong-right", "wrong-wrong", "right", "wrong-right", "right"]
        play_level(self, pupil, plan)
        self.wait_for(lambda: "Резултат: 8 от 12" in pupil.text("practice-result"), "the level's score")
        self.assertEqual(violations(self.browser.driver), [], "the level's score")
        pupil.click_button("Следващо ниво")
        self.wait_for(lambda: "Ниво 2 от 3" in pupil.text("practice-title"), "level 2")
        self.assertEqual(pupil.points(), 0)

    def test_level_3_has_the_missing_count_picked_in_its_own_list(self):
        pupil = self.start()
        for level in (1, 2):
            tasks = play_level(self, pupil, ["right"] * 6)
            if level == 2:
                self.assertGreaterEqual(sum(0 in roads.values() for roads, _, _ in tasks), 1, "tasks with a 0")
            pupil.click_button("Следващо ниво")
            self.wait_for(lambda: f"Ниво {level + 1} от 3" in pupil.text("practice-title"), f"level {level + 1}")
            self.assertEqual(violations(self.browser.driver), [], f"level {level + 1}'s task")
        self.assertFalse(pupil.shown("answer"))
        roads, missing, total = pupil.task()
        locked = next(i for i in range(3) if i != missing)
        shown = self.selected_entries()
        self.click_list(locked)
        self.browser.keys(Keys.END)
        self.settle()
        self.assertEqual(self.selected_entries(), shown, "a given count cannot be changed")
        pupil.answer(0)
        self.wait_for(lambda: "Подсказка" in pupil.text("practice-result"), "a hint")
        self.assertEqual(violations(self.browser.driver), [], "a hint")
        pupil.answer(0)
        self.wait_for(lambda: "Не е вярно. Между" in pupil.text("practice-result"), "the answer shown")
        pupil.click_button("Следваща задача")
        play_level(self, pupil, ["wrong-right"] + ["right"] * 4, first=1)
        self.wait_for(lambda: "Резултат: 9 от 12" in pupil.text("practice-result"), "the level's score")
        self.assertIn("от 100", pupil.text("practice-result"))
        self.assertFalse(pupil.shown("next-level"))
        pupil.click_button("Още веднъж")
        self.wait_for(lambda: pupil.points() == 0 and "Ниво 3" in pupil.text("practice-title"), "level 3 again")

    def test_ending_gives_the_window_back_free(self):
        self.click_list(0)  # 0 roads from A to B
        self.wait_for(lambda: self.label_text() == "0*1*1 = 0", "the pick")
        pupil = self.start()
        pupil.click_button("Край на упражнението")
        self.wait_for(lambda: not pupil.shown("practice"), "the end")
        self.assertEqual(self.label_text(), "0*1*1 = 0")
        self.click_list(1)
        self.browser.keys(Keys.HOME)
        self.wait_for(lambda: self.label_text() == "0*0*1 = 0", "a free pick")

    def test_on_a_wide_screen_the_practice_stands_beside_the_window(self):
        self.browser.emulate(1366, 768)
        try:
            self.start()
            rects = self.browser.driver.execute_script(
                "return ['.tavrel-window', '#tavrel-bar', '#tavrel-practice'].map(s => {"
                "const r = document.querySelector(s).getBoundingClientRect(); return [r.left, r.top, r.right, r.bottom];"
                "});")
            window, bar, practice = rects
            self.assertGreater(window[2] - window[0], 1.15 * 470, "the window is scaled up")
            self.assertGreaterEqual(practice[0], window[2], "the practice beside the window")
            for left, top, right, bottom in rects:
                self.assertTrue(0 <= left and right <= 1366 and 0 <= top and bottom <= 768, rects)
            self.assertLessEqual(window[3], bar[1] + 1)
        finally:
            self.browser.emulate(520, 800)

    def test_another_language_mid_practice_keeps_the_attempt(self):
        self.addCleanup(self.browser.driver.execute_script, "localStorage.clear();")  # the choice is kept
        pupil = self.start()
        pupil.answer(pupil.right())
        self.wait_for(lambda: pupil.points() == 2, "the answer")
        formula = pupil.count()
        self.browser.chord(Keys.SHIFT, Keys.TAB)  # from "Следваща задача" back to the language control
        self.browser.keys(Keys.DOWN)  # Български, English
        self.wait_for(lambda: self.browser.driver.execute_script("return document.documentElement.lang") == "en",
                      "English")
        self.assertEqual(pupil.text("practice-title"), "Level 1 of 3: How many routes?")
        self.assertEqual(pupil.text("practice-progress"), "Task 1 of 6. Points in this level: 2 of 12.")
        self.assertEqual(pupil.text("practice-result"), f"Right! {formula}. 2 points.")
        self.assertEqual(pupil.count(), formula)
        pupil.click_button("Next task")
        self.wait_for(lambda: pupil.text("practice-progress").startswith("Task 2 of 6"), "the next task")
        self.assertTrue(pupil.text("practice-task").startswith("Roads: AB – "))
