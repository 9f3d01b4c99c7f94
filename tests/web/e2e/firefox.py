"""A headless Firefox driven through Marionette, Firefox's own WebDriver
server: Debian has no geckodriver, and Marionette takes the same W3C
actions. Only what the Firefox tests need: navigate, real pointer input and
viewport screenshots."""

import base64
import json
import os
import shutil
import socket
import subprocess
import tempfile
import time

from browser import decode_png


class Firefox:
    def __init__(self):
        self.profile = tempfile.mkdtemp(prefix="tavrel-firefox-")
        with open(os.path.join(self.profile, "user.js"), "w") as prefs:
            # Any free port, written to MarionetteActivePort; no network, no first-run pages; a
            # pupil who prefers Bulgarian, the page's own language.
            prefs.write('user_pref("marionette.port", 0);\n'
                        'user_pref("intl.accept_languages", "bg");\n'
                        'user_pref("browser.shell.checkDefaultBrowser", false);\n'
                        'user_pref("network.proxy.type", 0);\n'
                        'user_pref("app.update.disabledForTesting", true);\n'
                        'user_pref("datareporting.policy.dataSubmissionEnabled", false);\n')
        self.process = subprocess.Popen(
            ["firefox-esr", "--headless", "--no-remote", "--marionette", "--profile", self.profile],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        port_file = os.path.join(self.profile, "MarionetteActivePort")
        for _ in range(300):
            if os.path.exists(port_file) and open(port_file).read().strip():
                break
            time.sleep(0.1)
        self.socket = socket.create_connection(("127.0.0.1", int(open(port_file).read())))
        self.stream = self.socket.makefile("rb")
        self.next_id = 0
        self.read()  # the server's greeting
        self.command("WebDriver:NewSession", {"capabilities": {}})
        self.command("WebDriver:SetWindowRect", {"width": 640, "height": 600})

    def read(self):
        length = b""
        while not length.endswith(b":"):
            length += self.stream.read(1)
        return json.loads(self.stream.read(int(length[:-1])))

    def command(self, name, params=None):
        self.next_id += 1
        body = json.dumps([0, self.next_id, name, params or {}]).encode()
        self.socket.sendall(str(len(body)).encode() + b":" + body)
        _, _, error, result = self.read()
        if error:
            raise RuntimeError(f"{name}: {error}")
        return result

    def close(self):
        try:
            self.command("WebDriver:DeleteSession")
            self.socket.close()
        finally:
            self.process.terminate()
            self.process.wait(timeout=30)
            shutil.rmtree(self.profile, ignore_errors=True)

    def open(self, path):
        self.command("WebDriver:Navigate", {"url": "file://" + path})

    def script(self, body):
        return self.command("WebDriver:ExecuteScript", {"script": body, "args": []})["value"]

    def title(self):
        return self.command("WebDriver:GetTitle")["value"]

    def screenshot(self):
        return decode_png(base64.b64decode(self.command("WebDriver:TakeScreenshot", {"full": False})["value"]))

    def click(self, x, y):
        self.command("WebDriver:PerformActions", {"actions": [{
            "type": "pointer", "id": "mouse", "parameters": {"pointerType": "mouse"},
            "actions": [{"type": "pointerMove", "x": x, "y": y, "duration": 0},
                        {"type": "pointerDown", "button": 0}, {"type": "pointerUp", "button": 0}]}]})
        self.command("WebDriver:ReleaseActions")
