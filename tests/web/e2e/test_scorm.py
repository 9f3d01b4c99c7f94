"""The SCORM 1.2 package: its manifest and files, and its page in a frame of
a learning platform's page, served from 127.0.0.1. The platform side is
scorm-again's Scorm12API, written by others; beside it stand a platform
whose every call fails with error 101 and one whose every call throws."""

import functools
import http.server
import json
import os
import re
import shutil
import subprocess
import tempfile
import threading
import time
import unittest
import urllib.parse
import zipfile

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

from browser import Browser
from test_practice import Pupil, play_level
from window import FIRST_ROW, config, list_centre

SCORM_AGAIN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "node_modules", "scorm-again", "dist",
                           "scorm12.js")

# The platform's page: ?api=real (with &saved= the data of an earlier
# session, and &nopreference=1 failing to tell the pupil's language), false or throws. It frames the package's page at 0,0, so that
# the window's places are the page's, or with &open=1 opens it in a window.
PLATFORM = """<!DOCTYPE html><meta charset="utf-8"><link rel="icon" href="data:,"><script src="scorm12.js"></script>
<body style="margin:0"><script>
var query = new URLSearchParams(location.search);
var calls = [], sets = {};
var methods = ["LMSInitialize", "LMSFinish", "LMSGetValue", "LMSSetValue", "LMSCommit", "LMSGetLastError",
               "LMSGetErrorString", "LMSGetDiagnostic"];
if (query.get("api") === "real") {
  window.API = new Scorm12API({ logLevel: 5 });
  if (query.get("saved")) API.loadFromJSON(JSON.parse(query.get("saved")));
  // &refuse= names an element whose every value the platform refuses.
  var setValue = API.LMSSetValue.bind(API), lastError = API.LMSGetLastError.bind(API), refused = false;
  API.LMSSetValue = function (element, value) {
    refused = element === query.get("refuse");
    return refused ? "false" : setValue(element, value);
  };
  API.LMSGetLastError = function () { return refused ? "405" : lastError(); };
  ["LMSInitialize", "LMSCommit", "LMSFinish"].forEach(function (name) {
    API.on(name, function () { calls.push(name); });
  });
  API.on("LMSSetValue.cmi.*", function (element, value) { sets[element] = value; });
  if (query.get("nopreference")) {  // a platform that fails at one element only
    var get = API.LMSGetValue.bind(API);
    API.LMSGetValue = function (element) {
      if (element === "cmi.student_preference.language") throw new Error("no preference here");
      return get(element);
    };
  }
} else {
  window.API = {};
  methods.forEach(function (name) {
    API[name] = function () {
      calls.push(name);
      if (query.get("api") === "throws") throw new Error("the platform is down");
      return name === "LMSGetLastError" ? "101" : "false";
    };
  });
}
if (query.get("open")) {
  window.open("package/Tavrel_Oskund.html");
} else {
  var size = (query.get("size") || "600x480").split("x");
  document.write('<iframe src="package/Tavrel_Oskund.html" style="border:0;width:' + size[0] + 'px;height:' +
                 size[1] + 'px"></iframe>');
}
</script>
"""


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


@unittest.skipUnless(config.get("package"), "no package given")
class ScormTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.root = tempfile.mkdtemp(prefix="tavrel-scorm-")
        with zipfile.ZipFile(config["package"]) as package:
            package.extractall(os.path.join(cls.root, "package"))
        shutil.copy(SCORM_AGAIN, cls.root)
        with open(os.path.join(cls.root, "platform.html"), "w", encoding="utf-8") as f:
            f.write(PLATFORM)
        cls.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=cls.root))
        threading.Thread(target=cls.server.serve_forever, daemon=True).start()
        cls.browser = Browser(1, console=True)
        cls.browser.emulate(600, 900)  # room for a frame that leaves room for the practice

    @classmethod
    def tearDownClass(cls):
        cls.browser.close()
        cls.server.shutdown()
        shutil.rmtree(cls.root, ignore_errors=True)

    def open(self, api, saved=None, **more):
        query = {"api": api, **({"saved": json.dumps(saved)} if saved else {}), **more}
        driver = self.browser.driver
        driver.switch_to.default_content()
        driver.get(f"http://127.0.0.1:{self.server.server_port}/platform.html?" + urllib.parse.urlencode(query))
        self.wait_for(lambda: driver.find_elements(By.TAG_NAME, "iframe"))
        driver.switch_to.frame(0)

    def wait_for(self, condition, what="the page"):
        for _ in range(200):
            value = condition()
            if value:
                return value
            time.sleep(0.05)
        self.fail("timed out waiting for " + what)

    def count(self):
        texts = [e.text for e in self.browser.driver.find_elements(By.CLASS_NAME, "tavrel-label")]
        return next((t for t in texts if "=" in t), None)

    def platform(self, script):
        driver = self.browser.driver
        driver.switch_to.default_content()
        value = driver.execute_script("return " + script)
        if driver.find_elements(By.TAG_NAME, "iframe"):
            driver.switch_to.frame(0)
        return value

    def cmi(self):
        return self.platform("{status: API.cmi.core.lesson_status, data: API.cmi.suspend_data, sets: sets, "
                             "calls: calls};")

    def close_frame(self):
        self.platform("document.querySelector('iframe').remove();")

    def test_the_manifest_names_exactly_the_files_of_the_package(self):
        with zipfile.ZipFile(config["package"]) as package:
            self.assertIsNone(package.testzip())
            files = set(package.namelist())
            manifest = package.read("imsmanifest.xml")
        path = os.path.join(self.root, "package", "imsmanifest.xml")
        subprocess.run(["xmllint", "--noout", path], check=True)
        named = subprocess.run(["xmllint", "--xpath", "//*[local-name()='file']/@href | "
                                "//*[local-name()='resource']/@href", path],
                               check=True, capture_output=True, text=True).stdout
        self.assertEqual(set(re.findall(r'href="([^"]+)"', named)), files - {"imsmanifest.xml"})
        for needed in (b"<schemaversion>1.2</schemaversion>", b'adlcp:scormtype="sco"', b"<imsmd:language>bg<"):
            self.assertIn(needed, manifest)
        with open(config["page"], "rb") as page:
            with open(os.path.join(self.root, "package", "Tavrel_Oskund.html"), "rb") as packed:
                self.assertEqual(packed.read(), page.read(), "the package holds the standalone page")

    def test_a_session_with_scorm_again_is_recorded_and_resumed(self):
        self.open("real")
        self.wait_for(lambda: self.count() == "1*1*1 = 1", "the window")
        self.assertEqual(self.cmi()["status"], "incomplete")
        self.browser.click(list_centre(0), FIRST_ROW)
        self.browser.click(list_centre(2), FIRST_ROW)
        self.wait_for(lambda: self.count() == "0*1*0 = 0", "two picks")
        self.assertEqual(self.cmi()["status"], "incomplete")  # one list not yet picked
        self.browser.chord(Keys.SHIFT, Keys.TAB)  # to list B-C
        self.browser.keys(Keys.END)
        self.wait_for(lambda: self.count() == "0*7*0 = 0", "the third pick")
        state = self.cmi()
        self.assertEqual((state["status"], state["data"]), ("completed", "0,7,0;picked=0,1,2"))
        self.assertIn("LMSCommit", state["calls"])
        self.close_frame()
        state = self.cmi()
        self.assertEqual(state["calls"][-1], "LMSFinish")
        self.assertRegex(state["sets"]["cmi.core.session_time"], r"^\d{4}:\d\d:\d\d\.\d\d$")
        self.assertNotEqual(state["sets"]["cmi.core.session_time"], "0000:00:00.00")
        self.assertEqual(state["sets"]["cmi.core.exit"], "suspend")

        self.open("real", {"core": {"entry": "resume", "lesson_status": "completed"}, "suspend_data": state["data"]})
        self.wait_for(lambda: self.count() == "0*7*0 = 0", "the selection to come back")
        self.assertEqual(self.cmi()["status"], "completed")

    def test_a_failing_platform_is_named_once_and_the_window_goes_on(self):
        for api in ("false", "throws"):
            with self.subTest(api=api):
                self.browser.console()
                self.open(api)
                self.wait_for(lambda: self.count() == "1*1*1 = 1", "the window")
                self.browser.click(list_centre(0), FIRST_ROW)
                self.wait_for(lambda: self.count() == "0*1*1 = 0", "a pick")
                self.close_frame()
                self.assertEqual(self.platform("calls;")[:1], ["LMSInitialize"])
                logged = self.browser.console()
                self.assertEqual(len(logged), 1, logged)
                self.assertIn("the learning platform failed (LMSInitialize", logged[0])

    def test_a_window_the_platform_opened_finds_the_api_of_its_opener(self):
        driver = self.browser.driver
        driver.switch_to.default_content()
        driver.get(f"http://127.0.0.1:{self.server.server_port}/platform.html?api=real&open=1")
        platform = driver.current_window_handle
        self.wait_for(lambda: len(driver.window_handles) == 2, "the window")
        driver.switch_to.window([h for h in driver.window_handles if h != platform][0])
        self.wait_for(lambda: self.count() == "1*1*1 = 1", "the window")
        driver.close()
        driver.switch_to.window(platform)
        self.assertEqual(driver.execute_script("return [API.cmi.core.lesson_status, calls];"),
                         ["incomplete", ["LMSInitialize", "LMSCommit", "LMSFinish"]])

    def practise(self, saved=None, **more):
        """The page in a frame that leaves room for the practice, and the practice begun."""
        self.open("real", saved, size="520x800", **more)
        pupil = Pupil(self.browser)
        self.wait_for(lambda: self.count() == "1*1*1 = 1", "the window")
        pupil.click_button("Упражнение")
        self.wait_for(lambda: pupil.text("practice-task"), "the first task")
        return pupil

    def assert_sound_values(self, sets):
        """The checks a widely used platform makes of what a lesson sends."""
        for element in ("cmi.core.score.raw", "cmi.core.score.min", "cmi.core.score.max"):
            if element in sets:
                self.assertTrue(0 <= float(sets[element]) <= 100, (element, sets[element]))
        self.assertIn(sets.get("cmi.core.lesson_status", "incomplete"),
                      {"passed", "completed", "failed", "incomplete", "browsed", "not attempted"})
        self.assertIn(sets.get("cmi.core.exit", ""), {"time-out", "suspend", "logout", ""})
        if "cmi.core.session_time" in sets:
            self.assertRegex(sets["cmi.core.session_time"], r"^\d{2,4}:\d\d:\d\d(\.\d{1,2})?$")

    def test_the_mark_is_sent_after_every_answer_and_judged_at_the_level_end(self):
        # 12 of 36 points make 33: passed against 30, completed without; against 50
        # still open, since only the last level's end can fail.
        for mastery, status in ((None, "completed"), (30, "passed"), (50, "incomplete")):
            with self.subTest(mastery=mastery):
                saved = {"student_data": {"mastery_score": str(mastery)}} if mastery else None
                pupil = self.practise(saved)
                scores = []
                for task in range(6):
                    pupil.answer(pupil.right())
                    self.wait_for(lambda: pupil.points() == 2 * task + 2, "the answer")
                    scores.append(self.wait_for(lambda: self.cmi()["sets"].get("cmi.core.score.raw"), "a score"))
                    self.assertEqual(self.cmi()["status"], "incomplete" if task < 5 and (
                        not mastery or round(200 * (task + 1) / 36) < mastery) else status)
                    if task < 5:
                        pupil.click_button("Следваща задача")
                self.assertEqual(scores, ["6", "11", "17", "22", "28", "33"])
                sets = self.cmi()["sets"]
                self.assertEqual((sets["cmi.core.score.min"], sets["cmi.core.score.max"]), ("0", "100"))
                self.close_frame()
                self.assert_sound_values(self.cmi()["sets"])

    def test_a_practice_left_mid_level_resumes_at_the_same_task(self):
        pupil = self.practise()
        play_level(self, pupil, ["right", "wrong-right"])  # two of the six, and on to the third
        self.wait_for(lambda: "Задача 3 от 6" in pupil.text("practice-progress"), "task 3")
        task = pupil.task()
        self.close_frame()
        state = self.cmi()
        self.assertLessEqual(len(state["data"]), 4096)
        self.open("real", {"core": {"entry": "resume"}, "suspend_data": state["data"]}, size="520x800")
        pupil = Pupil(self.browser)
        self.wait_for(lambda: pupil.text("practice-task"), "the practice to come back")
        self.assertIn("Задача 3 от 6", pupil.text("practice-progress"))
        self.assertEqual((pupil.task(), pupil.points()), (task, 3))

    def test_a_refused_score_is_named_once_and_the_practice_goes_on(self):
        self.browser.console()
        pupil = self.practise(refuse="cmi.core.score.raw")
        pupil.answer(pupil.right())
        self.wait_for(lambda: pupil.points() == 2, "the answer")
        pupil.click_button("Следваща задача")
        self.wait_for(lambda: "Задача 2 от 6" in pupil.text("practice-progress"), "the next task")
        logged = self.browser.console()
        self.assertEqual(len(logged), 1, logged)
        self.assertIn("cmi.core.score.raw", logged[0])

    def test_the_last_level_ends_below_the_mastery_score_and_a_resumed_answer_shows(self):
        pupil = Pupil(self.browser)
        # Level 3's last task, no points yet: its answer ends the attempt with 2 of 36, 6 of 100.
        last = {"core": {"entry": "resume"}, "student_data": {"mastery_score": "50"},
                "suspend_data": "1,1,1;picked=;practice=P1:1:3:0:5:0:0:0:0:0:0"}
        self.open("real", last, size="520x800")
        self.wait_for(lambda: pupil.text("practice-task"), "the practice")
        pupil.answer(pupil.right())
        self.wait_for(lambda: self.cmi()["status"] == "failed", "the status")
        self.assertEqual(self.cmi()["sets"]["cmi.core.score.raw"], "6")
        # Level 3's first task, answered right, as the pupil left it: the window shows the answer.
        answered = {"core": {"entry": "resume"}, "suspend_data": "1,1,1;picked=;practice=P1:1:3:0:0:0:1:2:0:0:0"}
        self.open("real", answered, size="520x800")
        self.wait_for(lambda: pupil.text("practice-task"), "the practice")
        _, _, total = pupil.task()
        self.assertRegex(pupil.count(), rf"^\d\*\d\*\d = {total}$")
        self.assertTrue(pupil.shown("next-task"))
