"""Runs the staged program under Wine and Xvfb and looks at it from outside.

The environment (WINEPREFIX, DISPLAY, LANG) comes from scripts/test. Every test gets
its own copy of the staged folder, so what the program writes stays with the test.
"""
import atexit
import os
import shutil
import subprocess
import tempfile
import time
import unittest
from pathlib import Path

BUILD = Path(__file__).resolve().parents[2] / "build"
# The build under test, as scripts/lib.sh selects it: the 32-bit one unless told.
ARCH_BUILD = Path(os.environ.get("WUZZLE_ARCH_BUILD", BUILD / "win32"))
DIST = Path(os.environ.get("WUZZLE_DIST", BUILD / "dist" / "WuzzlePlayer"))
WINE = os.environ.get("WUZZLE_WINE", "wine")

WM_CLOSE, WM_COMMAND = 0x0010, 0x0111
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
    """The Windows-side helper, tests/support/drive.cpp, asked one line at a time."""

    def __init__(self):
        self.process = subprocess.Popen([WINE, str(ARCH_BUILD / "e2e" / "wuzzle-drive.exe")],
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE)

    def ask(self, *words):
        # Titles go as the program's ANSI (GBK) bytes; the answers are all ASCII.
        self.process.stdin.write(" ".join(map(str, words)).encode("gbk") + b"\n")
        self.process.stdin.flush()
        return self.process.stdout.readline().decode().strip()

    def wait_window(self, *class_and_title, seconds=15):
        return wait_for(lambda: int(self.ask("shown", *class_and_title)), seconds,
                        f"a shown {' '.join(class_and_title)} window")

    def visible(self, window):
        return self.ask("visible", window) == "1"

    def command(self, window, command):
        self.ask("post", window, WM_COMMAND, command, 0)

    def rect(self, window):
        return tuple(int(n) for n in self.ask("rect", window).split())

    def dialog(self, caption):
        return int(self.ask("find", "#32770", caption))

    def text(self, window):
        return bytes.fromhex(self.ask("text", window)).decode("gbk")

    def control_text(self, dialog, control):
        return self.text(self.ask("child", dialog, control))

    def middle(self, window):
        left, top, right, bottom = self.rect(window)
        return (left + right) // 2, (top + bottom) // 2

    def click(self, window, button=1):
        """A click in the middle of the window, as a person makes it. The character's
        figure covers the middle of its window in every frame."""
        xdotool("mousemove", *self.middle(window), "click", button)

    def menu(self, window, *keys):
        """Keys pressed in the character's menu, opened by a right click on the figure."""
        self.click(window, 3)
        self.wait_window("#32768")
        xdotool("key", *keys)

    def click_control(self, dialog, control):
        self.click(int(self.ask("child", dialog, control)))


# One driver for the whole run: every Wine start costs about a second.
driver = Driver()
atexit.register(driver.process.communicate, b"quit\n", 10)


class Program:
    """The staged program in a folder of its own, started with that folder as its
    current directory, as a shortcut would start it."""

    def __init__(self, prepare=None, env=None):
        self.folder = Path(tempfile.mkdtemp(prefix="wuzzle-e2e-"))
        shutil.copytree(DIST, self.folder, dirs_exist_ok=True)
        if prepare:
            prepare(self.folder)
        self.env = dict(os.environ, **(env or {}))

    def start(self):
        self.process = subprocess.Popen([WINE, "WuzzlePlayer.exe"], cwd=self.folder, env=self.env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return self

    def wait(self, timeout=20):
        return self.process.wait(timeout=timeout)

    def stop(self):
        """Ends the program the way a user's close request would, if it still runs."""
        if self.process.poll() is None:
            driver.ask("post", driver.ask("find", "Wuzzle"), WM_CLOSE, 0, 0)
            try:
                self.process.wait(timeout=15)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        shutil.rmtree(self.folder, ignore_errors=True)


class ProgramTest(unittest.TestCase):
    """A test that starts the program in a folder of its own and ends it afterwards."""

    def start_program(self, prepare=None, env=None, wait=True):
        """The program started, and its window once shown (unless told not to wait)."""
        program = Program(prepare, env).start()
        self.addCleanup(program.stop)
        return program, driver.wait_window("Wuzzle") if wait else None

    def close(self, program, window):
        """Closes the program as a user's close request would: it ends, with 0."""
        driver.ask("post", window, WM_CLOSE, 0, 0)
        self.assertEqual(program.wait(), 0)
