"""Runs the staged program under Wine and Xvfb (set up by scripts/test) and looks at it
from outside. Every test gets its own copy of the staged folder and what it writes."""
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
MENU = "an open menu"  # where keys go while a menu is open, whatever has the focus


def xdotool(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True)


def wait_for(condition, seconds=15, message="condition"):
    """The first true value of condition(), asked every 50 ms until the time is up.
    A callable message is asked when giving up, so that it tells what is there then."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    raise AssertionError(f"gave up waiting for {message() if callable(message) else message}")


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

    def cell(self, list_view, row, column):
        return bytes.fromhex(self.ask("cell", list_view, row, column)).decode("gbk")

    def watch(self, window_class, seconds):
        """Each change of what the first window of the class shows, for the time given:
        (microseconds of the performance counter, text or None while hidden)."""
        changes = []
        for change in self.ask("watch", window_class, int(seconds * 1000)).split():
            micros, visible, text = change.split(":")
            changes.append((int(micros), bytes.fromhex(text).decode("gbk") if visible == "1" else None))
        return changes

    def control_text(self, dialog, control):
        return self.text(self.ask("child", dialog, control))

    def middle(self, window):
        left, top, right, bottom = self.rect(window)
        return (left + right) // 2, (top + bottom) // 2

    def point_at(self, window, x=None, y=None):
        """The pointer moved to (x, y), the window's middle unless told, once the window
        is on the screen there: Wine shows a window to the programs before the X server
        draws it, and a click made sooner goes to whatever was under it, or nowhere."""
        if x is None:
            x, y = self.middle(window)
        xdotool("mousemove", x, y)
        xwindow = self.ask("xwindow", window)

        def under_pointer():
            location = subprocess.run(["xdotool", "getmouselocation", "--shell"], check=True,
                                      capture_output=True, text=True).stdout
            return location.split("WINDOW=")[1].split()[0]
        wait_for(lambda: under_pointer() == xwindow,
                 message=lambda: f"window {window} on the screen at {x}, {y} (X window {xwindow}, "
                                 f"under the pointer {under_pointer()})")

    def click(self, window, button=1, x=None, y=None):
        """A click as a person makes it, in the middle of the window unless told. The
        character's figure covers the middle of its window in every frame."""
        self.point_at(window, x, y)
        xdotool("click", button)

    def keys_reach(self, into):
        """Waits until a key pressed now would go to `into` (the focus in the window in
        front, or MENU): a click or a new window moves the focus only once handled."""
        def reached():
            focus, menu = (int(n) for n in self.ask("focus").split())
            return menu != 0 if into == MENU else menu == 0 and focus == int(into)
        wait_for(reached, message=lambda: f"the keys to reach {into} (focus and menu now: {self.ask('focus')})")

    def press(self, into, *keys, text=""):
        """`text` typed, then `keys` pressed, once they would go to `into`."""
        self.keys_reach(into)
        if text:
            xdotool("type", text)
        if keys:
            xdotool("key", *keys)

    def menu(self, window, *keys):
        """Keys pressed in the character's menu, opened by a right click on the figure,
        after a left click when another window of ours is active (Wine then opens none)."""
        if self.ask("focus").split()[0] != str(window):
            self.click(window)
            self.keys_reach(window)
        self.click(window, 3)
        self.press(MENU, *keys)

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
