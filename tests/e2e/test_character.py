"""The character on the desktop: its window, dragging it, walking after the cursor
and the courtesy to fullscreen programs."""
import struct
import time
import unittest

from harness import MENU, SCREEN, ProgramTest, driver, wait_for, xdotool


class CharacterTest(ProgramTest):
    def test_window_takes_the_skin_size_centred_borderless_and_topmost(self):
        program, window = self.start_program()
        width, height = struct.unpack_from("<ii", (program.folder / "Skin" / "sl0.bmp").read_bytes(), 18)
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
        _, window = self.start_program()
        left, top, _, _ = driver.rect(window)
        x, y = driver.middle(window)
        driver.point_at(window)
        xdotool("mousedown", "1")
        for step in range(1, 11):
            xdotool("mousemove", x - 15 * step, y + 8 * step)
        xdotool("mouseup", "1")
        wait_for(lambda: driver.rect(window)[:2] == (left - 150, top + 80),
                 message=lambda: f"the window moved by -150, 80 (it is at {driver.rect(window)[:2]} from {left, top})")

    def test_with_move_on_it_walks_ten_pixels_a_tick_to_the_cursor_and_stops(self):
        _, window = self.start_program()
        left, top, right, _ = driver.rect(window)
        target = ((left + right) // 2 + 250, top + 30)
        driver.click(window, 3)  # the character's menu; while it is open, the cursor goes to the target
        driver.keys_reach(MENU)
        xdotool("mousemove", *target)
        time.sleep(0.4)  # a tick samples the cursor: nothing outside shows when it has
        driver.press(MENU, "Down", "Return")  # "移动", the first item
        rects = []

        def seated():  # still for the last 25 looks, away from the start
            rects.append(driver.rect(window))
            return len(rects) > 25 and len(set(rects[-25:])) == 1 and rects[-1][0] != left
        wait_for(seated, 15, "the walk to end")
        lefts = [rect[0] for rect in rects]
        steps = [b - a for a, b in zip(lefts, lefts[1:]) if b != a]
        self.assertTrue(all(0 < step <= 10 for step in steps), steps)
        self.assertGreaterEqual(sum(steps) / len(steps), 9, "about 10 pixels a tick")
        end_left, end_top, end_right, _ = rects[-1]
        self.assertLess(abs((end_left + end_right) // 2 - target[0]), 30)
        self.assertLess(abs(end_top - target[1]), 30)

    def test_a_fullscreen_program_in_front_hides_it_until_it_goes_and_media_keys_still_play(self):
        program, window = self.start_program()
        place = driver.rect(window)
        # Clicking the desktop brings Windows' own desktop window, a WorkerW, to the
        # front: that is no program to make way for. Eight ticks to be sure.
        driver.ask("fullscreen", 1, "WorkerW")
        time.sleep(1.0)
        self.assertTrue(driver.visible(window))
        driver.ask("fullscreen", 0)
        front = int(driver.ask("fullscreen", 1))
        self.assertNotEqual(front, window)
        wait_for(lambda: not driver.visible(window), message="the character to hide")
        # The play key, pressed while the other program has the focus.
        driver.press(front, "XF86AudioPlay")
        panel = driver.dialog("控制面板")
        wait_for(lambda: driver.control_text(panel, 1004) != "", message="the play key to start the music")
        driver.ask("fullscreen", 0)
        wait_for(lambda: driver.visible(window), message="the character to come back")
        self.assertEqual(driver.rect(window), place)


if __name__ == "__main__":
    unittest.main()
