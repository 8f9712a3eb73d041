"""The character on the desktop: its window, dragging it, the single-instance guard
and ending it."""
import time
import unittest
from pathlib import Path

from harness import SCREEN, WM_CLOSE, ProgramTest, inner_point, shared_driver, skin_size, solid_points, wait_for, xdotool

driver = shared_driver()


class CharacterTest(ProgramTest):
    def test_window_takes_the_skin_size_centred_borderless_and_topmost(self):
        program, window = self.start_program()
        width, height = skin_size(program.folder)
        left, top, right, bottom = driver.rect(window)
        self.assertEqual((right - left, bottom - top), (width, height))
        # The virtual screen has no task bar: the work area is the whole screen.
        self.assertEqual((left, top), ((SCREEN[0] - width) // 2, (SCREEN[1] - height) // 2))
        style, ex_style = (int(v, 16) for v in driver.ask("styles", window).split())
        # WS_POPUP alone, beside what showing it and the system add (WS_VISIBLE,
        # WS_CLIPSIBLINGS); WS_EX_TOOLWINDOW | WS_EX_TOPMOST, and WS_EX_ACCEPTFILES from
        # accepting drops.
        self.assertEqual(style & ~0x14000000, 0x80000000, hex(style))
        self.assertEqual(ex_style, 0x88 | 0x10, hex(ex_style))

    def test_dragging_the_figure_moves_the_window(self):
        program, window = self.start_program()
        left, top, _, _ = driver.rect(window)
        fx, fy = inner_point(solid_points(program.folder))
        xdotool("mousemove", left + fx, top + fy)
        time.sleep(0.3)
        xdotool("mousedown", "1")
        for step in range(1, 11):
            xdotool("mousemove", left + fx - 15 * step, top + fy + 8 * step)
            time.sleep(0.05)
        xdotool("mouseup", "1")
        time.sleep(0.5)
        new_left, new_top, _, _ = driver.rect(window)
        self.assertEqual((new_left - left, new_top - top), (-150, 80))

    def test_a_second_copy_ends_at_once_and_leaves_the_first(self):
        program, window = self.start_program()
        code, seconds = program.run_again()
        self.assertEqual(code, 0)
        self.assertLess(seconds, 10)
        self.assertTrue(program.running())
        self.assertEqual(driver.ask("alive", window), "1")

    def test_close_ends_the_program_with_exit_code_0(self):
        program, window = self.start_program()
        driver.ask("post", window, WM_CLOSE, 0, 0)
        self.assertEqual(program.wait(), 0)

    def test_a_fullscreen_program_in_front_hides_it_until_it_goes(self):
        program, window = self.start_program()
        place = driver.rect(window)
        self.assertNotEqual(int(driver.ask("fullscreen", 1)), window)
        wait_for(lambda: driver.ask("visible", window) == "0", message="the character to hide")
        driver.ask("fullscreen", 0)
        wait_for(lambda: driver.ask("visible", window) == "1", message="the character to come back")
        self.assertEqual(driver.rect(window), place)

    def test_starts_without_its_skin(self):
        def remove_skin(folder: Path):
            for picture in (folder / "Skin").glob("*.bmp"):
                picture.unlink()
        program, window = self.start_program(remove_skin)
        left, top, right, bottom = driver.rect(window)
        self.assertEqual((right - left, bottom - top), (128, 128))
        driver.ask("post", window, WM_CLOSE, 0, 0)
        self.assertEqual(program.wait(), 0)

if __name__ == "__main__":
    unittest.main()
