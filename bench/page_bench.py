"""Benchmark of the web page (by hand, not a test):

    /usr/bin/python3 bench/page_bench.py build/web/Tavrel_Oskund.html [WxH[@ratio][m] ...] [--no-lighthouse]

Prints, measured in headless Chromium (a 600x480 viewport, or each viewport
given; "m" emulates a phone, with touch):
  - start: the median of 20 fresh page loads, from navigation start to the
    frame that shows the whole window with the route count "1*1*1 = 1",
    side by side with the same for a static page of the same layout (the
    window as the page drew it, pictures as images, no script), and the ratio;
    the same for the first paint's presentation (FCP); and the layout passes
    Chromium has made by then and their time;
  - size: the size of the page file;
  - click: the median of 20 clicks on list entries, from the pointer press to
    the frame that shows the new route count;
  - Lighthouse (npm, pinned in package.json here and installed by this script
    on first use), mobile and desktop, the page served over http on
    127.0.0.1: the medians of three runs of each category's score, First
    Contentful Paint, Total Blocking Time, layout shift and bytes transferred.
The timing probes below belong to the benchmark: they are put into each page
load through the DevTools protocol, only observe, and are no part of the
program. Input is real WebDriver input."""

import functools
import http.server
import json
import os
import re
import statistics
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "web", "e2e"))
from browser import Browser  # noqa: E402

# Records, against the navigation's start (performance.now()), each time the
# route count shows a new formula: the moment the page holds it, the start of
# the frame that draws it, and of the frame after, by when it has been drawn.
# A frame's start can lie before the moment (a frame begun while a long task
# ran), so the first paint's presentation time (FCP: for both pages, the
# whole window at once) is recorded too.
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
new PerformanceObserver(list => {
  for (const e of list.getEntries()) if (e.name === 'first-contentful-paint') __bench.painted = e.startTime;
}).observe({ type: 'paint', buffered: true });
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


# The static twin of the drawn window: its markup with each canvas turned
# into an image of what it shows, without the script or the packed module.
STATIC = """
const copy = document.documentElement.cloneNode(true);
const canvases = document.querySelectorAll('canvas');
copy.querySelectorAll('canvas').forEach((c, i) => {
  const img = document.createElement('img');
  img.src = canvases[i].toDataURL();
  img.className = c.className; img.style.cssText = c.style.cssText; img.alt = '';
  c.replaceWith(img);
});
copy.querySelectorAll('script, link[rel~=icon]').forEach(e => e.remove());
return '<!DOCTYPE html>' + copy.outerHTML;
"""

HERE = os.path.dirname(os.path.abspath(__file__))
LIGHTHOUSE = os.path.join(HERE, "node_modules", "lighthouse", "cli", "index.js")
AUDITS = (("first-contentful-paint", "FCP", "ms"), ("total-blocking-time", "TBT", "ms"),
          ("interactive", "TTI", "ms"), ("cumulative-layout-shift", "CLS", ""),
          ("total-byte-weight", "transferred", "bytes"))


def start(driver, url):
    driver.get("about:blank")
    driver.get(url)
    # The start sets the count three times in one task: one frame shows it.
    shown = wait_for(driver, "return __bench.shown[0];")
    return shown + [wait_for(driver, "return __bench.painted;")]


def lighthouse(page):
    """Lighthouse's medians over three runs, mobile and desktop."""
    lock = os.path.join(HERE, "package-lock.json")
    installed = os.path.join(HERE, "node_modules", ".installed-lock.json")
    if not os.path.exists(installed) or open(installed, "rb").read() != open(lock, "rb").read():
        subprocess.run(["npm", "ci", "--prefix", HERE, "--no-audit", "--no-fund", "--loglevel=error"], check=True)
        open(installed, "wb").write(open(lock, "rb").read())
    class Quiet(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0),
                                             functools.partial(Quiet, directory=os.path.dirname(page)))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    url = f"http://127.0.0.1:{server.server_address[1]}/{os.path.basename(page)}"
    env = dict(os.environ, CHROME_PATH="/usr/bin/chromium")
    for mode in ("mobile", "desktop"):
        runs, tries = [], 0
        while len(runs) < 3:
            tries += 1
            if tries > 6:
                raise RuntimeError("Lighthouse keeps failing")
            run = subprocess.run(["node", LIGHTHOUSE, url, "--output=json", "--quiet",
                                  "--chrome-flags=--headless=new --no-sandbox"]
                                 + (["--preset=desktop"] if mode == "desktop" else []),
                                 env=env, capture_output=True, text=True)
            if run.returncode == 0:
                runs.append(json.loads(run.stdout))
            else:  # Chromium failing to start on a busy machine: try again
                print(f"Lighthouse failed, again: {run.stderr.strip()[-300:]}", file=sys.stderr)
        scores = ", ".join(f"{c} {statistics.median(round(100 * r['categories'][c]['score']) for r in runs)}"
                           for c in ("performance", "accessibility", "best-practices", "seo"))
        figures = ", ".join(f"{name} {statistics.median(r['audits'][key]['numericValue'] for r in runs):.6g} {unit}"
                            for key, name, unit in AUDITS)
        print(f"Lighthouse {mode}, median of 3: {scores}; {figures}")
    server.shutdown()


def layout_metrics(driver):
    """Chromium's count of layout passes so far and their time in ms."""
    metrics = {m["name"]: m["value"] for m in driver.execute_cdp_cmd("Performance.getMetrics", {})["metrics"]}
    return metrics["LayoutCount"], metrics["LayoutDuration"] * 1000


def main(page, viewport, with_lighthouse=True):
    page = os.path.abspath(page)
    width, height, ratio, mobile = re.fullmatch(r"(\d+)x(\d+)(?:@([\d.]+))?(m?)", viewport).groups()
    browser = Browser()
    browser.emulate(int(width), int(height), float(ratio or 1), mobile == "m")
    driver = browser.driver
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": PROBE})
    driver.execute_cdp_cmd("Performance.enable", {})
    start(driver, "file://" + page)
    static = os.path.join(browser.profile, "static.html")
    with open(static, "w", encoding="utf-8") as f:
        f.write(driver.execute_script(STATIC))
    starts, static_starts, layouts = [], [], []
    for _ in range(20):  # side by side, so both meet the same machine
        driver.get("about:blank")
        before = layout_metrics(driver)
        starts.append(start(driver, "file://" + page))
        layouts.append([a - b for a, b in zip(layout_metrics(driver), before)])
        static_starts.append(start(driver, "file://" + static))
    start(driver, "file://" + page)

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
    report("static page of the same layout, from navigation", static_starts, "fresh loads")
    ratio = statistics.median(t[2] for t in starts) / statistics.median(t[2] for t in static_starts)
    print(f"start against the static page, to the frame after the count is drawn: {ratio:.2f}x")
    painted, static_painted = (statistics.median(t[3] for t in times) for times in (starts, static_starts))
    print(f"first paint of the window (FCP), median: {painted:.1f} ms against {static_painted:.1f} ms for the "
          f"static page: {painted / static_painted:.2f}x")
    print(f"layout passes by then (median): {statistics.median(n for n, _ in layouts):.0f}, taking "
          f"{statistics.median(t for _, t in layouts):.2f} ms in all")
    print(f"size: {os.path.getsize(page)} bytes")
    report("click, from the pointer press", clicks, "clicks")
    if with_lighthouse:
        lighthouse(page)


if __name__ == "__main__":
    arguments = [a for a in sys.argv[1:] if not a.startswith("--")]
    page = arguments[0] if arguments else "build/web/Tavrel_Oskund.html"
    sizes = arguments[1:] or ["600x480"]
    for i, size in enumerate(sizes):
        # Lighthouse sets its own screens: once is enough.
        main(page, size, "--no-lighthouse" not in sys.argv and i == len(sizes) - 1)
