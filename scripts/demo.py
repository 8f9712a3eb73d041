"""Starts the staged program on the current (virtual) display, lets the character
animate for a moment, saves screenshots and ends the program cleanly.

    demo.py OUT.png                      the whole screen
    demo.py --pair OUT.png               the character on a light and a dark desktop,
                                         cropped and side by side (for the README)
    demo.py --panel OUT.png              playing a demo tune, the control panel shown and
                                         the character dragged beside it (for the README)
    demo.py --editor OUT.png             the same with the playlist editor
    demo.py --lyrics OUT.png             the character singing a line of the first demo
                                         tune's lyrics, on a light desktop (for the README)
"""
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
from harness import Program, driver, wait_for, xdotool  # noqa: E402

LIGHT, DARK = "#dfe8f0", "#1e2430"
WM_COMMAND, ID_MOVE, ID_PLAY, ID_PLAYLIST_EDITOR, ID_CONTROL_PANEL = 0x0111, 40001, 40011, 40008, 40009


def screenshot(path, crop=None):
    command = ["import", "-window", "root"]
    if crop:
        command += ["-crop", crop, "+repage"]
    subprocess.run(command + [str(path)], check=True)


def with_program(driver, colour, action):
    program = Program().start()
    try:
        window = driver.wait_window("Wuzzle")
        # Wine's desktop process may repaint the root when it starts: colour it after.
        subprocess.run(["xsetroot", "-solid", colour], check=True)
        time.sleep(2.0)  # let it animate
        return action(program, window)
    finally:
        program.stop()


def drag(driver, window, to_left, to_top):
    """Drags the character by the middle of its figure so that its window lands at the
    point."""
    left, top, _, _ = driver.rect(window)
    x, y = driver.middle(window)
    xdotool("mousemove", x, y, "mousedown", "1")
    for step in range(1, 11):
        xdotool("mousemove", x + (to_left - left) * step // 10, y + (to_top - top) * step // 10)
        time.sleep(0.03)
    xdotool("mouseup", "1")


def dialog_beside_character(driver, out, command, caption):
    """Playing, with a dialog shown and the character dragged to its right."""
    def shoot(program, window):
        driver.ask("post", window, WM_COMMAND, ID_PLAY, 0)
        driver.ask("post", window, WM_COMMAND, command, 0)
        time.sleep(0.5)
        _, _, right, bottom = driver.rect(driver.dialog(caption))
        drag(driver, window, right + 16, max(bottom - 112, 0))
        xdotool("mousemove", 900, 700)
        time.sleep(2.5)
        _, _, far_right, _ = driver.rect(window)
        balloon = int(driver.ask("shown", "WuzzleBalloon"))
        if balloon:  # the title it says as the track starts
            far_right = max(far_right, driver.rect(balloon)[2])
        screenshot(out, f"{far_right + 16}x{bottom + 16}+0+0")
    with_program(driver, LIGHT, shoot)


# Words of our own for the first demo tune, in GBK beside it as a player's .lrc would be.
MORNING_LYRICS = "[ti:晨光]\r\n[00:00.80]早上好，太阳升起来了\r\n[00:04.00]我们一起去散步吧\r\n"


def singing(driver, out):
    """The first demo tune with its lyrics beside it, once the first line is sung."""
    def prepare(folder):
        (folder / "Data" / "Music" / "morning-steps.lrc").write_bytes(MORNING_LYRICS.encode("gbk"))

    program = Program(prepare).start()
    try:
        window = driver.wait_window("Wuzzle")
        subprocess.run(["xsetroot", "-solid", LIGHT], check=True)
        drag(driver, window, 320, 300)
        xdotool("mousemove", 900, 700)
        driver.ask("post", window, WM_COMMAND, ID_PLAY, 0)
        balloon = driver.wait_window("WuzzleBalloon")
        wait_for(lambda: driver.text(balloon) == "早上好，太阳升起来了", 10, "the first line")
        time.sleep(0.3)  # painted
        left, top, right, bottom = driver.rect(window)
        b_left, b_top, b_right, b_bottom = driver.rect(balloon)
        margin = 24
        x, y = min(left, b_left) - margin, min(top, b_top) - margin
        screenshot(out, f"{max(right, b_right) + margin - x}x{max(bottom, b_bottom) + margin - y}+{x}+{y}")
    finally:
        program.stop()
    subprocess.run(["convert", str(out), "-scale", "200%", str(out)], check=True)


def main():
    pair = sys.argv[1] == "--pair"
    out = Path(sys.argv[-1])
    out.parent.mkdir(parents=True, exist_ok=True)
    if sys.argv[1] == "--panel":
        dialog_beside_character(driver, out, ID_CONTROL_PANEL, "控制面板")
        return
    if sys.argv[1] == "--lyrics":
        singing(driver, out)
        return
    if sys.argv[1] == "--editor":
        dialog_beside_character(driver, out, ID_PLAYLIST_EDITOR, "播放列表编辑器")
        return
    if not pair:
        def walk_then_shoot(program, window):
            # Switch "移动" on and put the cursor to the left: it walks there.
            left, top, _, _ = driver.rect(window)
            xdotool("mousemove", left - 160, top + 40)
            driver.ask("post", window, WM_COMMAND, ID_MOVE, 0)
            time.sleep(1.5)
            screenshot(out)
        with_program(driver, LIGHT, walk_then_shoot)
        return
    shots = []
    with tempfile.TemporaryDirectory() as scratch:
        for colour in (LIGHT, DARK):
            shot = Path(scratch) / f"{colour[1:]}.png"

            def grab(program, window, shot=shot):
                left, top, right, bottom = driver.rect(window)
                margin = 24
                crop = f"{right - left + 2 * margin}x{bottom - top + 2 * margin}+{left - margin}+{top - margin}"
                screenshot(shot, crop)
            with_program(driver, colour, grab)
            shots.append(str(shot))
        subprocess.run(["convert", *shots, "+append", "-scale", "200%", str(out)], check=True)


if __name__ == "__main__":
    main()
