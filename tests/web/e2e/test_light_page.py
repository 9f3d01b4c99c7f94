"""The page as a file: small enough for a school phone, and carrying, once
the deflated module in it is unpacked (here by zlib, not by the page), the
very window description the desktop programs carry."""

import base64
import os
import re
import time
import unittest
import zlib

from browser import Browser
from window import config

BUDGET = 200_000


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


class LightPageTest(unittest.TestCase):
    def test_the_page_is_light_and_its_module_holds_the_desktop_description(self):
        page = open(config["page"], "rb").read()
        self.assertLessEqual(len(page), BUDGET)
        packed = re.search(MODULE, page)
        self.assertIsNotNone(packed, "the page carries its module")
        module = zlib.decompress(base64.b64decode(packed.group(1)), wbits=-15)
        generated = os.path.join(os.path.dirname(config["page"]), "generated", "form_stream.cpp")
        numbers = re.search(r"tavrel_form_stream\[\] = \{([^}]*)\}", open(generated).read()).group(1)
        description = bytes(int(n) for n in numbers.split(",") if n.strip())
        self.assertEqual(len(description), 751_099)
        self.assertIn(description, memory_image(module))

    def test_a_module_that_cannot_be_unpacked_is_reported(self):
        page = open(config["page"], "rb").read()
        packed = re.search(MODULE, page)
        middle = (packed.start(1) + packed.end(1)) // 2
        browser = Browser()
        try:
            damaged = os.path.join(browser.profile, "damaged.html")
            with open(damaged, "wb") as f:
                f.write(page[:middle] + b"////" * 64 + page[middle + 256:])
            browser.open(damaged)
            for _ in range(100):
                texts = [n.get("name", {}).get("value", "") for n in browser.ax_nodes() if not n.get("ignored")]
                if any("'450'" in t for t in texts):
                    break
                time.sleep(0.05)
            self.assertTrue(any("'450'" in t for t in texts), texts)
        finally:
            browser.close()
