"""Measures the program's CPU time in phases of one run: resting with Move off, with
its speech balloon showing, resting again once the balloon has gone, hidden behind a
fullscreen window of another program, then walking after a cursor kept 200 pixels
ahead of it. Started by bench/follow-cpu, which provides Wine and the display."""
import os
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
from harness import SCREEN, Program, driver, xdotool  # noqa: E402

WM_COMMAND, WM_MOUSEWHEEL = 0x0111, 0x020A
ID_MOVE = 40001
BALLOON_SECONDS = 4
LEAD = 200


def cpu_seconds(pid):
    """User and system time of a process so far (fields 14 and 15 of its stat)."""
    fields = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def per_minute(processes, seconds, during=lambda: None):
    before = {name: cpu_seconds(pid) for name, pid in processes.items()}
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        during()
        time.sleep(0.25)
    return {name: (cpu_seconds(pid) - before[name]) * 60 / seconds for name, pid in processes.items()}


def with_balloon(driver, window, processes, seconds):
    """CPU while the balloon shows: it shows for 4 s at a time, so the phase is made of
    3.5 s spans, each right after a notch of the wheel (up, then down) brings it."""
    spans = max(1, round(seconds / 3.5))
    total = {name: 0.0 for name in processes}
    for span in range(spans):
        notch = 120 << 16 if span % 2 == 0 else (-120 & 0xFFFF) << 16
        driver.ask("post", window, WM_MOUSEWHEEL, notch, 0)
        time.sleep(0.1)
        for name, rate in per_minute(processes, 3.4).items():
            total[name] += rate / spans
    return total


class Carrot:
    """Keeps the cursor ahead of the character so that it never arrives, turning it
    round near the screen's edges."""

    def __init__(self, driver, window):
        self.driver, self.window = driver, window
        self.direction = 1
        self.walked = 0
        self.last_left = None

    def __call__(self):
        left, top, right, _ = self.driver.rect(self.window)
        if self.last_left is not None:
            self.walked += abs(left - self.last_left)
        self.last_left = left
        centre = (left + right) // 2
        if not LEAD < centre + LEAD * self.direction < SCREEN[0] - LEAD:
            self.direction = -self.direction
        xdotool("mousemove", centre + LEAD * self.direction, top)


def main():
    seconds = float(os.environ.get("PHASE_SECONDS", "20"))
    program = Program().start()
    try:
        window = driver.wait_window("Wuzzle")
        processes = {"program": program.process.pid, "X server": int(os.environ["WUZZLE_XVFB_PID"])}
        time.sleep(3)  # start-up done
        xdotool("mousemove", 10, 10)
        rest = per_minute(processes, seconds)
        balloon = with_balloon(driver, window, processes, seconds)
        time.sleep(BALLOON_SECONDS)
        after = per_minute(processes, seconds)
        driver.ask("fullscreen", 1)
        hidden = per_minute(processes, seconds)
        driver.ask("fullscreen", 0)

        carrot = Carrot(driver, window)
        carrot()
        time.sleep(0.3)  # a tick samples the cursor, so Move sets off towards it
        driver.ask("post", window, WM_COMMAND, ID_MOVE, 0)
        walking = per_minute(processes, seconds, carrot)
    finally:
        program.stop()

    print(f"CPU seconds per minute under Wine ({seconds:g} s per phase, scaled to a minute)")
    print(f"{'':12}{'at rest':>10}{'balloon':>10}{'gone':>10}{'hidden':>10}{'walking':>10}")
    for name in processes:
        print(f"{name:12}{rest[name]:10.2f}{balloon[name]:10.2f}{after[name]:10.2f}{hidden[name]:10.2f}"
              f"{walking[name]:10.2f}")
    print(f"walked {carrot.walked} pixels in the walking phase ({carrot.walked / seconds:.0f} a second)")


if __name__ == "__main__":
    main()
