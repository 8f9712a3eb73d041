"""Measures the program's CPU time in three phases of one run: resting with Move off,
hidden behind a fullscreen window of another program, then walking after a cursor
kept 200 pixels ahead of it. Started by bench/follow-cpu, which provides Wine and the
display."""
import os
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
from harness import SCREEN, Driver, Program, xdotool  # noqa: E402

WM_COMMAND = 0x0111
ID_MOVE = 40001
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
    driver = Driver()
    program = Program().start()
    try:
        window = driver.wait_window("Wuzzle")
        if window == 0:
            sys.exit("the character window did not appear")
        processes = {"program": program.process.pid, "X server": int(os.environ["WUZZLE_XVFB_PID"])}
        time.sleep(3)  # start-up done
        xdotool("mousemove", 10, 10)
        rest = per_minute(processes, seconds)
        driver.ask("fullscreen", 1)
        hidden = per_minute(processes, seconds)
        driver.ask("fullscreen", 0)

        carrot = Carrot(driver, window)
        carrot()
        time.sleep(0.3)  # a tick samples the cursor, so Move sets off towards it
        driver.ask("post", window, WM_COMMAND, ID_MOVE, 0)
        walking = per_minute(processes, seconds, carrot)
    finally:
        program.stop(driver)
        driver.close()

    print(f"CPU seconds per minute under Wine ({seconds:g} s per phase, scaled to a minute)")
    print(f"{'':12}{'at rest':>10}{'hidden':>10}{'walking':>10}")
    for name in processes:
        print(f"{name:12}{rest[name]:10.2f}{hidden[name]:10.2f}{walking[name]:10.2f}")
    print(f"walked {carrot.walked} pixels in the walking phase ({carrot.walked / seconds:.0f} a second)")


if __name__ == "__main__":
    main()
