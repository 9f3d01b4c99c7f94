"""Benchmark of the web page (by hand, not a test):

    /usr/bin/python3 tests/web/bench/page_bench.py build/web/Tavrel_Oskund.html [WxH[@ratio][m] ...]

Prints these figures, measured in headless Chromium (a 600x480 viewport, or
each viewport given; "m" emulates a phone, with touch):
  - start: the median of 20 fresh page loads, from navigation start to the
    frame that shows the whole window with the route count "1*1*1 = 1", and
    the layout passes Chromium has made by then and their time;
  - size: the size of the page file;
  - click: the median of 20 clicks on list entries, from the pointer press to
    the frame that shows the new route count.
The timing probes below belong to the benchmark: they are put into each page
load through the DevTools protocol, only observe, and are no part of the
program. Input is real WebDriver input."""

import os
import re
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from browser import Browser  # noqa: E402

# Records, against the navigation's start (performance.now()), each time the
# route count shows a new formula: the moment the page holds it, the start of
# the frame that draws it, and of the frame after, by when it has been drawn.
PROBE = """
window.__bench = { shown: [], pressed: [], text: null };
addEventListener('pointerdown', e => __bench.pressed.push(e.timeStamp), true);
new MutationObserver(() => {
  const label = [...document.querySelectorAll('div')].find(d => /^\\d\\*\\d\\*\\d = \\d+$/.test(d.textContent));
  if (!label || label.textContent === __bench.text) return;
  __bench.text = label.textContent;
  const changed = performance.now();
  requestAnimationFrame(t1 => requestAnimationFrame(t2 => __bench.shown.push([changed, t1, t2])));
}).observe(document, { subtree: true, childList: true, characterData: true });
"""


def wait_for(driver, script):
    for _ in range(400):
        value = driver.execute_script(script)
        if value is not None:
            return value
        time.sleep(0.01)
    raise TimeoutError(script)


def report(what, times, unit):
    changed, drawing, drawn = ([t[i] for t in times] for i in range(3))
    print(f"{what}, over 20 {unit} (median, min-max): {statistics.median(changed):.1f} ms to the new "
          f"count in the page ({min(changed):.1f}-{max(changed):.1f}), {statistics.median(drawing):.1f} ms "
          f"to the frame that draws it ({min(drawing):.1f}-{max(drawing):.1f}), "
          f"{statistics.median(drawn):.1f} ms to the frame after it")


def layout_metrics(driver):
    """Chromium's count of layout passes so far and their time in ms."""
    metrics = {m["name"]: m["value"] for m in driver.execute_cdp_cmd("Performance.getMetrics", {})["metrics"]}
    return metrics["LayoutCount"], metrics["LayoutDuration"] * 1000


def main(page, viewport):
    page = os.path.abspath(page)
    width, height, ratio, mobile = re.fullmatch(r"(\d+)x(\d+)(?:@([\d.]+))?(m?)", viewport).groups()
    browser = Browser()
    browser.emulate(int(width), int(height), float(ratio or 1), mobile == "m")
    driver = browser.driver
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": PROBE})
    driver.execute_cdp_cmd("Performance.enable", {})
    starts, layouts = [], []
    for _ in range(20):
        driver.get("about:blank")
        before = layout_metrics(driver)
        driver.get("file://" + page)
        # The start sets the count three times in one task: one frame shows it.
        starts.append(wait_for(driver, "return __bench.shown[0];"))
        layouts.append([a - b for a, b in zip(layout_metrics(driver), before)])

    # The first list's two visible entries, wherever the page has put them.
    box = driver.execute_script("return document.querySelector('select').getBoundingClientRect().toJSON();")
    rows = [box["top"] + box["height"] * f for f in (0.3, 0.7)]
    clicks = []
    for i in range(20):
        before = driver.execute_script("return __bench.shown.length;")
        browser.click(int(box["left"] + box["width"] * 0.3), int(rows[i % 2]))
        shown = wait_for(driver, f"return __bench.shown[{before}];")
        pressed = driver.execute_script("return __bench.pressed.at(-1);")
        clicks.append([t - pressed for t in shown])
    browser.close()

    print(f"viewport {viewport}:")
    report("start, from navigation", starts, "fresh loads")
    print(f"layout passes by then (median): {statistics.median(n for n, _ in layouts):.0f}, taking "
          f"{statistics.median(t for _, t in layouts):.2f} ms in all")
    print(f"size: {os.path.getsize(page)} bytes")
    report("click, from the pointer press", clicks, "clicks")


if __name__ == "__main__":
    for size in sys.argv[2:] or ["600x480"]:
        main(sys.argv[1] if len(sys.argv) > 1 else "build/web/Tavrel_Oskund.html", size)
