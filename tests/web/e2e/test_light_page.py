"""The page as a file: small enough for a school phone, and carrying, once
its deflated parts are unpacked (here by zlib, not by the page), the very
window description the desktop programs carry, for the page to write where
its module reads it."""

import base64
import os
import re
import time
import unittest
import zlib

from browser import Browser
from window import config

BUDGET = 170_000


def leb128(data, at):
    value = shift = 0
    while True:
        byte = data[at]
        value, shift, at = value | (byte & 0x7F) << shift, shift + 7, at + 1
        if byte < 0x80:
            return value, at


def memory_image(module):
    """The linear memory the module's active data segments fill."""
    assert module[:8] == b"\0asm\1\0\0\0", "not a WebAssembly module"
    memory, at = bytearray(), 8
    while at < len(module):
        section, size_at = module[at], at + 1
        size, at = leb128(module, size_at)
        if section == 11:
            count, p = leb128(module, at)
            for _ in range(count):
                flags, p = leb128(module, p)
                assert flags == 0 and module[p] == 0x41, "an active segment at a constant address"
                offset, p = leb128(module, p + 1)
                assert module[p] == 0x0B
                length, p = leb128(module, p + 1)
                memory.extend(bytes(max(0, offset + length - len(memory))))
                memory[offset:offset + length] = module[p:p + length]
                p += length
        at += size
    return bytes(memory)


MODULE = rb'<script type="application/octet-stream" id="tavrel-module">([A-Za-z0-9+/=]+)</script>'
DESCRIPTION = (rb'<script type="application/octet-stream" id="tavrel-description" data-at="(\d+)" '
               rb'data-size="(\d+)" data-late="([\d ]*)">([A-Za-z0-9+/=]+)</script>')
LATE = rb'<script type="application/octet-stream" class="tavrel-late">([A-Za-z0-9+/=]+)</script>'
PROGRAM = rb'<script type="application/octet-stream" id="tavrel-program">([A-Za-z0-9+/=]+)</script>'


def inflate(text):
    return zlib.decompress(base64.b64decode(text), wbits=-15)


class LightPageTest(unittest.TestCase):
    def test_the_page_is_light_and_unpacks_to_the_desktop_description_in_its_modules_memory(self):
        page = open(config["page"], "rb").read()
        self.assertLessEqual(len(page), BUDGET)
        module, layout = re.search(MODULE, page), re.search(DESCRIPTION, page)
        self.assertIsNotNone(module, "the page carries its module")
        self.assertIsNotNone(layout, "the page carries the description")
        at, size = int(layout.group(1)), int(layout.group(2))
        late = [int(n) for n in layout.group(3).split()]
        # The first part fills the description around the late parts' places.
        description, first = bytearray(size), inflate(layout.group(4))
        taken, start = 0, 0
        for offset, part in zip(late[0::2] + [size], [inflate(p) for p in re.findall(LATE, page)] + [b""]):
            description[start:offset] = first[taken:taken + offset - start]
            taken += offset - start
            description[offset:offset + len(part)] = part
            start = offset + len(part)
        self.assertEqual(taken, len(first))
        generated = os.path.join(os.path.dirname(config["page"]), "generated", "form_stream.cpp")
        numbers = re.search(r"tavrel_form_stream\[\] = \{([^}]*)\}", open(generated).read()).group(1)
        self.assertEqual(bytes(description), bytes(int(n) for n in numbers.split(",") if n.strip()))
        self.assertGreater(len(late), 0, "the bitmaps' pixels come apart")
        # Where the page writes it, the module leaves the memory empty.
        self.assertFalse(any(memory_image(inflate(module.group(1)))[at:at + size]))

    def test_the_window_comes_into_the_page_whole_and_its_copy_shows_only_the_start(self):
        # Noted as the window enters the page, before any frame can show it:
        # its route count, and each picture's pixels that are not yet drawn;
        # and whether a frame before it showed the start window drawn in.
        probe = """
            window.__entered = null;
            window.__copyShown = false;
            const frame = () => {
              if (document.getElementById('tavrel-prerendered')) __copyShown = true;
              if (!__entered) requestAnimationFrame(frame);
            };
            requestAnimationFrame(frame);
            new MutationObserver(() => {
              const root = document.querySelector('.tavrel-window:not([inert])');
              if (!root || __entered) return;
              __entered = { count: [...root.querySelectorAll('div')].map(d => d.textContent).find(t => /=/.test(t)),
                blank: [...root.querySelectorAll('canvas')].map(c => c.getContext('2d')
                  .getImageData(0, 0, c.width, c.height).data.filter((v, i) => i % 4 === 3 && v < 255).length),
                copyShown: __copyShown };
            }).observe(document, { subtree: true, childList: true });"""
        browser = Browser()
        host = os.path.join(browser.profile, "host.html")
        with open(host, "w", encoding="utf-8") as f:
            f.write(f'<!DOCTYPE html><iframe src="file://{config["page"]}" style="width:600px;height:480px"></iframe>')
        # What opens, in a viewport, the count it shows, and whether the copy shows first.
        cases = [(config["page"], (600, 480), "1*1*1 = 1", True),
                 (config["page"] + "#2,3,4", (600, 480), "2*3*4 = 24", False),
                 (config["page"] + "#0,7,5", (600, 480), "0*7*5 = 0", False),
                 (host, (800, 600), "1*1*1 = 1", False),
                 (config["page"], (360, 640), "1*1*1 = 1", False),
                 (config["page"], (1920, 1080), "1*1*1 = 1", False),
                 (config["page"] + "#3,1,2", (600, 480), "3*1*2 = 6", False)]
        try:
            browser.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": probe})
            # The last as in a browser that compiles no module this size on its main thread.
            refuse = "WebAssembly.Module = function () { throw new RangeError('not on the main thread'); };"
            for i, (path, (width, height), count, copy) in enumerate(cases):
                if i == len(cases) - 1:
                    browser.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": refuse})
                browser.emulate(width, height)
                browser.driver.get("about:blank")
                browser.open(path)
                if path == host:
                    browser.driver.switch_to.frame(0)
                for _ in range(100):
                    entered = browser.driver.execute_script("return window.__entered;")
                    if entered:
                        break
                    time.sleep(0.05)
                browser.driver.switch_to.default_content()
                self.assertEqual(entered, {"count": count, "blank": [0, 0, 0], "copyShown": copy}, (path, width))
        finally:
            browser.close()

    def test_a_program_that_cannot_start_leaves_no_drawn_window(self):
        page = open(config["page"], "rb").read()
        packed = re.search(PROGRAM, page)
        deflate = zlib.compressobj(9, zlib.DEFLATED, -15)
        broken_script = deflate.compress(b"})(" + inflate(packed.group(1))) + deflate.flush()  # a syntax error
        browser = Browser()
        try:
            broken = os.path.join(browser.profile, "broken.html")
            with open(broken, "wb") as f:
                f.write(page[:packed.start(1)] + base64.b64encode(broken_script) + page[packed.end(1):])
            browser.open(broken)
            for _ in range(100):
                if not browser.driver.execute_script("return document.querySelector('.tavrel-window');"):
                    break
                time.sleep(0.05)
            self.assertIsNone(browser.driver.execute_script("return document.querySelector('.tavrel-window');"))
        finally:
            browser.close()

    def test_a_module_or_script_that_cannot_be_unpacked_is_reported(self):
        page = open(config["page"], "rb").read()
        browser = Browser()
        try:
            for block in (MODULE, PROGRAM):
                with self.subTest(block=block[60:80]):
                    packed = re.search(block, page)
                    middle = (packed.start(1) + packed.end(1)) // 2
                    damaged = os.path.join(browser.profile, "damaged.html")
                    with open(damaged, "wb") as f:
                        f.write(page[:middle] + b"////" * 64 + page[middle + 256:])
                    browser.driver.get("about:blank")
                    browser.open(damaged)
                    for _ in range(100):
                        texts = [n.get("name", {}).get("value", "") for n in browser.ax_nodes() if not n.get("ignored")]
                        if any("'450'" in t for t in texts):
                            break
                        time.sleep(0.05)
                    self.assertTrue(any("'450'" in t for t in texts), texts)
                    # Nor does the start window drawn into the page stay beside the report.
                    self.assertIsNone(browser.driver.execute_script("return document.querySelector('.tavrel-window');"))
        finally:
            browser.close()
