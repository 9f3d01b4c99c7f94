"""Draws the page's start window into its markup, so that the browser shows it
from the parse, as it would a static page, before the program has started:

    /usr/bin/python3 draw_window.py page.html window.html

Opens the page in headless Chromium, where the window shows at its natural
size, waits until the program has put its window into the page, and writes a
copy of it: each canvas as an image of what it shows, each list with its
selected entry and the text with its value as markup, no ids or names for
assistive technology (the copy is inert, and the real window takes its place).
Anything short of the whole start window fails, so that no build writes a
page with a wrong or empty one."""

import os
import shutil
import sys
import tempfile
import time

# The copy as markup; null while the window is not yet in the page; an
# error where it never will be as it should.
COPY = """
const report = document.querySelector('.tavrel-report');
if (report) return { error: 'the program reported an error: ' + report.textContent };
const root = document.querySelector('.tavrel-window');
if (!root || !root.isConnected) return null;
if (TavrelFit.mode !== 'natural') return { error: 'the window is not at its natural size: ' + TavrelFit.mode };
const copy = root.cloneNode(true);
const live = root.querySelectorAll('*');
[copy].concat([...copy.querySelectorAll('*')]).forEach(el => {
  for (const name of el.getAttributeNames())
    if (name === 'id' || name === 'role' || name.startsWith('aria-')) el.removeAttribute(name);
});
copy.querySelectorAll('*').forEach((el, i) => {
  const from = live[i];
  if (el.tagName === 'OPTION') el.toggleAttribute('selected', from.selected);
  if (el.tagName === 'TEXTAREA') el.textContent = from.value;
  if (el.tagName === 'CANVAS') {
    const img = document.createElement('img');
    img.className = el.className;
    img.style.cssText = el.style.cssText;
    img.alt = '';
    img.decoding = 'sync'; // in the same frame as the rest
    img.src = from.toDataURL('image/png');
    el.replaceWith(img);
  }
});
copy.id = 'tavrel-prerendered';
copy.inert = true;
return { markup: copy.outerHTML };
"""

FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
         "--disable-component-update", "--disable-sync"]


def draw(page):
    try:
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
        from selenium.common.exceptions import WebDriverException
    except ImportError:
        sys.exit("draw_window.py: Selenium is missing (scripts/setup-deps.sh --web installs it)")
    for program in ("/usr/bin/chromium", "/usr/bin/chromedriver"):
        if not shutil.which(program):
            sys.exit(f"draw_window.py: {program} is missing (scripts/setup-deps.sh --web installs it)")
    profile = tempfile.mkdtemp(prefix="tavrel-draw-")
    driver = None
    try:
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for flag in FLAGS + ["--user-data-dir=" + profile]:
            options.add_argument(flag)
        for attempt in range(3):  # Chromium may fail to start on a busy machine
            try:
                driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
                break
            except WebDriverException:
                if attempt == 2:
                    raise
        # Room for the window at its natural size, but not at twice it.
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                               {"width": 800, "height": 600, "deviceScaleFactor": 1, "mobile": False})
        driver.get("file://" + os.path.abspath(page))
        copy = None
        for _ in range(600):
            copy = driver.execute_script(COPY)
            if copy:
                break
            time.sleep(0.05)
        if not copy or "markup" not in copy:
            sys.exit(f"draw_window.py: no start window in {page}: {copy and copy['error'] or 'timed out'}")
        return copy["markup"]
    finally:
        if driver:
            driver.quit()
        shutil.rmtree(profile, ignore_errors=True)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    markup = draw(sys.argv[1])
    with open(sys.argv[2], "w", encoding="utf-8") as f:
        f.write(markup)
