"""Runs the staged program under Wine and Xvfb and looks at it from outside.

The environment (WINEPREFIX, DISPLAY, LANG) comes from scripts/test. Every test gets
its own copy of the staged folder, so what the program writes stays with the test.
"""
import atexit
import os
import re
import shutil
import subprocess
import tempfile
import time
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
BUILD = ROOT / "build"
# The build under test, as scripts/lib.sh selects it: the 32-bit one unless told.
ARCH_BUILD = Path(os.environ.get("WUZZLE_ARCH_BUILD", BUILD / "win32"))
DIST = Path(os.environ.get("WUZZLE_DIST", BUILD / "dist" / "WuzzlePlayer"))
DRIVER = ARCH_BUILD / "e2e" / "wuzzle-drive.exe"
WINE = os.environ.get("WUZZLE_WINE", "wine")

WM_CLOSE = 0x0010
SCREEN = (1024, 768)


def xdotool(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True)


def wait_for(condition, seconds=15, message="condition"):
    """The first true value of condition(), asked every 50 ms until the time is up."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    raise AssertionError(f"gave up waiting for {message}")


class Driver:
    """The Windows-side helper, started once and asked one line at a time."""

    def __init__(self):
        self.process = subprocess.Popen([WINE, str(DRIVER)], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, text=True, encoding="latin-1")

    def ask(self, *words):
        # Texts go both ways as the program's ANSI (GBK) bytes.
        line = " ".join(map(str, words)).encode("gbk").decode("latin-1")
        self.process.stdin.write(line + "\n")
        self.process.stdin.flush()
        return self.process.stdout.readline().rstrip("\r\n").encode("latin-1").decode("gbk")

    def wait_window(self, class_name, seconds=15):
        return wait_for(lambda: int(self.ask("shown", class_name)), seconds, f"a shown {class_name} window")

    def rect(self, window):
        return tuple(int(n) for n in self.ask("rect", window).split())

    def dialog(self, caption):
        return int(self.ask("find", "#32770", caption))

    def text(self, window):
        escaped = {"r": "\r", "n": "\n", "\\": "\\"}
        return re.sub(r"\\(.)", lambda m: escaped[m.group(1)], self.ask("text", window))

    def control_text(self, dialog, control):
        return self.text(self.ask("child", dialog, control))

    def middle(self, window):
        left, top, right, bottom = self.rect(window)
        return (left + right) // 2, (top + bottom) // 2

    def click(self, window, button=1):
        """A click in the middle of the window, as a person makes it. The character's
        figure covers the middle of its window in every frame."""
        xdotool("mousemove", *self.middle(window), "click", button)

    def click_control(self, dialog, control):
        self.click(int(self.ask("child", dialog, control)))

    def close(self):
        if self.process.poll() is None:
            self.process.stdin.write("quit\n")
            self.process.stdin.close()
            self.process.wait(timeout=10)


class Program:
    """The staged program in a folder of its own, started with that folder as its
    current directory, as a shortcut would start it."""

    def __init__(self, prepare=None, env=None):
        self.folder = Path(tempfile.mkdtemp(prefix="wuzzle-e2e-"))
        shutil.copytree(DIST, self.folder, dirs_exist_ok=True)
        if prepare:
            prepare(self.folder)
        self.env = dict(os.environ, **(env or {}))
        self.process = None

    def start(self):
        self.process = subprocess.Popen([WINE, "WuzzlePlayer.exe"], cwd=self.folder, env=self.env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return self

    def wait(self, timeout=20):
        return self.process.wait(timeout=timeout)

    def stop(self, driver):
        """Ends the program the way a user's close request would, if it still runs."""
        if self.process.poll() is None:
            window = driver.ask("find", "Wuzzle")
            if window != "0":
                driver.ask("post", window, WM_CLOSE, 0, 0)
            try:
                self.process.wait(timeout=15)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        shutil.rmtree(self.folder, ignore_errors=True)


_driver = None


def shared_driver():
    """One driver for the whole run: every Wine start costs about a second."""
    global _driver
    if _driver is None:
        _driver = Driver()
        atexit.register(_driver.close)
    return _driver


class ProgramTest(unittest.TestCase):
    """A test that starts the program in a folder of its own and ends it afterwards."""

    def start_program_only(self, prepare=None, env=None):
        """Starts the program without waiting for its window."""
        program = Program(prepare, env).start()
        self.addCleanup(program.stop, shared_driver())
        return program

    def start_program(self, prepare=None, env=None):
        program = self.start_program_only(prepare, env)
        return program, shared_driver().wait_window("Wuzzle")
