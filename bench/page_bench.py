"""Benchmark of the web page (by hand, not a test):

    /usr/bin/python3 bench/page_bench.py build/web/Tavrel_Oskund.html

Prints three figures, measured in headless Chromium:
  - start: the median of 20 fresh page loads, from navigation start to the
    frame that shows the whole window with the route count "1*1*1 = 1";
  - size: the size of the page file;
  - click: the median of 20 clicks on list entries, from the pointer press to
    the frame that shows the new route count.
The timing probes below belong to the benchmark: they are put into each page
load through the DevTools protocol, only observe, and are no part of the
program. Input is real WebDriver input."""

import os
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "web", "e2e"))
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


def main(page):
    page = os.path.abspath(page)
    browser = Browser()
    driver = browser.driver
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": PROBE})
    starts = []
    for _ in range(20):
        driver.get("about:blank")
        driver.get("file://" + page)
        # The start sets the count three times in one task: one frame shows it.
        starts.append(wait_for(driver, "return __bench.shown[0];"))

    clicks = []
    for i in range(20):
        y = 64 if i % 2 == 0 else 84  # the two entries the list shows
        before = driver.execute_script("return __bench.shown.length;")
        browser.click(92, y)
        shown = wait_for(driver, f"return __bench.shown[{before}];")
        pressed = driver.execute_script("return __bench.pressed.at(-1);")
        clicks.append([t - pressed for t in shown])
    browser.close()

    report("start, from navigation", starts, "fresh loads")
    print(f"size: {os.path.getsize(page)} bytes")
    report("click, from the pointer press", clicks, "clicks")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "build/web/Tavrel_Oskund.html")
