"""A headless Chromium driven through WebDriver, and what the tests read back:
screenshots as pixels and the accessibility tree. Nothing here touches the
page's DOM or calls into the program; input is real WebDriver input."""

import base64
import shutil
import struct
import tempfile
import zlib

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.actions.interaction import POINTER_TOUCH
from selenium.webdriver.common.actions.pointer_input import PointerInput
from selenium.webdriver.common.actions.wheel_input import ScrollOrigin

CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update", "--disable-sync",
                  "--font-render-hinting=none"]


class Image:
    """RGB pixels of a screenshot, row by row."""

    def __init__(self, width, height, rows):
        self.width, self.height, self.rows = width, height, rows

    def at(self, x, y):
        r, g, b = self.rows[y][3 * x:3 * x + 3]
        return (r << 16) | (g << 8) | b


def decode_png(data):
    """The 8-bit RGB or RGBA PNG that Chromium writes, as an Image."""
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    pos, idat, width, height, channels = 8, b"", 0, 0, 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, color = struct.unpack(">IIBB", body[:10])
            assert depth == 8 and color in (2, 6), "unexpected PNG format"
            channels = 3 if color == 2 else 4
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = previous[i]
            c = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + a) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + b) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 0xFF
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 0xFF
        previous = line
        rows.append(bytes(line) if channels == 3 else bytes(v for j, v in enumerate(line) if j % 4 != 3))
    return Image(width, height, rows)


class Browser:
    """One fresh Chromium with its own profile; closed with close()."""

    def __init__(self, scale=1, console=False, languages="bg"):
        """languages: the browser's preferred ones, as a pupil sets them;
        the page's own language unless a test asks for others."""
        self.profile = tempfile.mkdtemp(prefix="tavrel-chromium-")
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for flag in CHROMIUM_FLAGS + ["--user-data-dir=" + self.profile, "--lang=" + languages.split(",")[0]]:
            options.add_argument(flag)
        options.add_experimental_option("prefs", {"intl.accept_languages": languages})
        if console:
            options.set_capability("goog:loggingPrefs", {"browser": "ALL", "performance": "ALL"})
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        self.driver.execute_cdp_cmd("Accessibility.enable", {})
        self.emulate(600, 480, scale)

    def emulate(self, width, height, scale=1, mobile=False):
        """The viewport in CSS pixels and the device pixel ratio; a mobile
        device also honours the page's viewport tag and takes touch input."""
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                    {"width": width, "height": height, "deviceScaleFactor": scale, "mobile": mobile})
        self.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": mobile, "maxTouchPoints": 5})

    def close(self):
        self.driver.quit()
        shutil.rmtree(self.profile, ignore_errors=True)

    def open(self, path):
        self.driver.get("file://" + path)

    def screenshot(self):
        shot = self.driver.execute_cdp_cmd("Page.captureScreenshot", {"format": "png"})
        return decode_png(base64.b64decode(shot["data"]))

    def ax_nodes(self):
        """The accessibility tree as Chromium exposes it to screen readers."""
        return self.driver.execute_cdp_cmd("Accessibility.getFullAXTree", {})["nodes"]

    # Input, at page (= window) coordinates.
    def click(self, x, y):
        actions = ActionBuilder(self.driver)
        actions.pointer_action.move_to_location(x, y).click()
        actions.perform()

    def drag(self, *points):
        """Presses at the first point, moves through the others and releases at the last."""
        actions = ActionBuilder(self.driver)
        actions.pointer_action.move_to_location(*points[0]).pointer_down()
        for x, y in points[1:]:
            actions.pointer_action.move_to_location(x, y)
        actions.pointer_action.pointer_up()
        actions.perform()

    def tap(self, x, y):
        touch = PointerInput(POINTER_TOUCH, "finger")
        actions = ActionBuilder(self.driver, mouse=touch)
        actions.pointer_action.move_to_location(x, y).pointer_down().pause(0.05).pointer_up()
        actions.perform()

    def wheel(self, x, y, delta_y):
        ActionChains(self.driver).scroll_from_origin(ScrollOrigin.from_viewport(x, y), 0, delta_y).perform()

    def keys(self, *keys):
        chain = ActionChains(self.driver)
        for key in keys:
            chain.send_keys(key)
        chain.perform()

    def chord(self, modifier, key):
        ActionChains(self.driver).key_down(modifier).send_keys(key).key_up(modifier).perform()

    def console(self):
        return [entry["message"] for entry in self.driver.get_log("browser")]

    def requests(self):
        """The URLs the page asked for since the last call (needs console=True)."""
        import json
        events = (json.loads(entry["message"])["message"] for entry in self.driver.get_log("performance"))
        return [e["params"]["request"]["url"] for e in events if e["method"] == "Network.requestWillBeSent"]
