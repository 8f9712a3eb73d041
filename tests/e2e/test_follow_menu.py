"""The character walking after the cursor with Move on (the turns and departures are
the native tables' business), and "退出" from its menu."""
import time
import unittest
from pathlib import Path

from harness import ProgramTest, inner_point, read_bmp, shared_driver, wait_for, xdotool

WM_COMMAND = 0x0111
ID_MOVE = 40001
MENU_ITEMS = 5  # 移动, 播放, 播放列表, 控制, 退出
MOVE_ITEM, EXIT_ITEM = 0, 4

driver = shared_driver()


def frame_figures(folder):
    """Each skin picture's figure pixels, keyed by pose prefix and frame ("sr", 2)."""
    figures = {}
    for picture in sorted((Path(folder) / "Skin").glob("*.bmp")):
        width, height, rows = read_bmp(picture)
        key = rows[-1][0]
        points = frozenset((x, y) for y in range(height) for x in range(width) if rows[y][x] != key)
        figures[(picture.stem[:-1], int(picture.stem[-1]))] = points
    return figures


def shape_points(window):
    numbers = driver.numbers("rects", window)
    points = set()
    for i in range(numbers[0]):
        left, top, right, bottom = numbers[1 + 4 * i:5 + 4 * i]
        points.update((x, y) for y in range(top, bottom) for x in range(left, right))
    return frozenset(points)


def pose_shown(figures, window):
    """The pose whose picture shapes the window now: "sl", "sr", "l", "r", or None."""
    points = shape_points(window)
    return next((pose for (pose, _), figure in figures.items() if figure == points), None)


def centre_top(rect):
    left, top, right, _ = rect
    return left + (right - left) // 2, top


class FollowAndMenuTest(ProgramTest):
    def launch(self):
        program, window = self.start_program()
        return program, window, frame_figures(program.folder)

    def watch(self, window, figures, until, seconds=12):
        """Samples the window's place and pose until `until(samples)` holds; returns the
        samples, each (rect, pose)."""
        samples = []
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            samples.append((driver.rect(window), pose_shown(figures, window)))
            if until(samples):
                return samples
            time.sleep(0.02)
        self.fail(f"gave up watching; last samples {samples[-3:]}")

    def watch_until_seated(self, window, figures):
        """Until the figure has sat in a rest pose without moving for half a second."""
        def seated(samples):
            recent = samples[-20:]
            return len(recent) == 20 and len({s for s in recent}) == 1 and recent[0][1] in ("sl", "sr")
        return self.watch(window, figures, seated)

    @staticmethod
    def poses_in_order(samples):
        order = []
        for _, pose in samples:
            if not order or order[-1] != pose:
                order.append(pose)
        return order

    @staticmethod
    def open_menu_at(x, y):
        xdotool("mousemove", x, y, "click", "3")
        return tuple(wait_for(lambda: (lambda answer: answer[1:] if answer[0] else None)(driver.numbers("menu")), 5,
                              f"a menu at {x}, {y}"))

    @staticmethod
    def choose(menu, item):
        left, top, right, bottom = menu
        xdotool("mousemove", (left + right) // 2, top + (bottom - top) * (2 * item + 1) // (2 * MENU_ITEMS),
                "click", "1")

    def test_with_move_on_it_walks_to_the_cursor_faces_it_and_sits_down(self):
        _, window, figures = self.launch()
        poses_of_shape = {}
        for (pose, _), figure in figures.items():
            poses_of_shape.setdefault(figure, set()).add(pose)
        self.assertTrue(all(len(poses) == 1 for poses in poses_of_shape.values()), "shapes tell poses apart")
        start = driver.rect(window)
        centre_x, top = centre_top(start)
        xdotool("mousemove", centre_x + 250, top + 30)
        time.sleep(0.4)  # a tick samples the cursor
        driver.ask("post", window, WM_COMMAND, ID_MOVE, 0)

        walk = self.watch_until_seated(window, figures)
        self.assertIn(self.poses_in_order(walk), (["sl", "r", "sr"], ["r", "sr"]))
        lefts = [rect[0] for rect, _ in walk]
        steps = [b - a for a, b in zip(lefts, lefts[1:]) if b != a]
        self.assertTrue(all(0 < step <= 10 for step in steps), steps)
        self.assertGreaterEqual(sum(steps) / len(steps), 9, "about 10 pixels a tick")
        end_x, end_top = centre_top(walk[-1][0])
        self.assertLess(abs(end_x - (centre_x + 250)), 30)
        self.assertLess(abs(end_top - (top + 30)), 30)


    def test_exit_from_the_menu_ends_the_program_with_exit_code_0(self):
        program, window, figures = self.launch()
        spot_x, spot_y = inner_point(frozenset.intersection(*figures.values()))
        left, top, _, _ = driver.rect(window)
        self.choose(self.open_menu_at(left + spot_x, top + spot_y), EXIT_ITEM)
        self.assertEqual(program.wait(), 0)
        self.assertEqual(driver.ask("alive", window), "0")


if __name__ == "__main__":
    unittest.main()
