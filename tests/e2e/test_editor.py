"""Building a playlist: files chosen in the real open-file dialog, moved and deleted
in the editor, and everything (rows, switches, volume) as it was after a restart."""
import unittest

from harness import ProgramTest, shared_driver, wait_for, xdotool
from test_playback import PANEL, TITLE, with_playlist

driver = shared_driver()
WM_CLOSE, WM_COMMAND, WM_USER, BM_GETCHECK = 0x0010, 0x0111, 0x0400, 0x00F0
ID_PLAYLIST_EDITOR, ID_CONTROL_PANEL, ID_PLAY = 40008, 40009, 40011
EDITOR = "播放列表编辑器"
ADD, LIST = 1001, 1000
RANDOM, LOOP, VOLUME = 1011, 1013, 1018
TBM_GETPOS = WM_USER


three_files = with_playlist([(name, "tone1s.mp3") for name in ("a.mp3", "b.mp3", "c.mp3")], lines=[])


class EditorTest(ProgramTest):
    def show(self, window, command, caption):
        driver.ask("post", window, WM_COMMAND, command, 0)
        dialog = driver.dialog(caption)
        wait_for(lambda: driver.ask("visible", dialog) == "1", message=caption)
        return dialog

    def check(self, dialog, control):
        return int(driver.ask("send", driver.ask("child", dialog, control), BM_GETCHECK, 0, 0))

    def test_rows_switches_and_volume_survive_a_restart(self):
        program, window = self.start_program(three_files)
        editor = self.show(window, ID_PLAYLIST_EDITOR, EDITOR)
        driver.click_control(editor, ADD)
        chooser = wait_for(lambda: int(driver.ask("find", "#32770", "打开")), message="the open-file dialog")
        wait_for(lambda: driver.ask("visible", chooser) == "1", message="the open-file dialog shown")
        xdotool("type", '"a.mp3" "b.mp3" "c.mp3"')
        xdotool("key", "Return")
        wait_for(lambda: driver.ask("alive", chooser) == "0", message="the dialog to close")

        # c up twice, to the top (a moved row keeps its selection and focus), then the
        # row below it, a, deleted with the Delete key: c, b.
        left, top, right, _ = driver.rect(int(driver.ask("child", editor, LIST)))
        xdotool("mousemove", (left + right) // 2, top + 30, "click", "1")
        xdotool("key", "End", "alt+u", "alt+u", "Down", "Delete")
        panel = self.show(window, ID_CONTROL_PANEL, PANEL)
        for control in (RANDOM, VOLUME):  # Random on, Loop left off: the two stay apart
            driver.click_control(panel, control)
        xdotool("key", "End")  # the slider all the way up
        slider = driver.ask("child", panel, VOLUME)
        wait_for(lambda: (self.check(panel, RANDOM), self.check(panel, LOOP), driver.ask("send", slider, TBM_GETPOS, 0, 0))
                 == (1, 0, "100"), message="the switches and the slider to take the clicks")
        driver.ask("post", window, WM_CLOSE, 0, 0)
        self.assertEqual(program.wait(), 0)
        folder = "Z:" + str(program.folder).replace("/", "\\")
        saved = (program.folder / "Data" / "PlayList.m3u").read_bytes()
        self.assertEqual(saved, f"{folder}\\c.mp3\r\n{folder}\\b.mp3\r\n".encode())
        self.assertEqual((program.folder / "Data" / "Wzmp.ini").read_bytes(), b"0\r\n1\r\n100\r\n1")

        program.start()  # again, in the same folder
        window = driver.wait_window("Wuzzle")
        panel = driver.dialog(PANEL)
        self.assertEqual((self.check(panel, RANDOM), self.check(panel, LOOP)), (1, 0))
        self.assertEqual(int(driver.ask("send", driver.ask("child", panel, VOLUME), TBM_GETPOS, 0, 0)), 100)
        driver.ask("post", window, WM_CLOSE, 0, 0)
        self.assertEqual(program.wait(), 0)
        self.assertEqual((program.folder / "Data" / "PlayList.m3u").read_bytes(), saved)

    def test_the_lists_relative_entries_play_after_adding_from_another_folder(self):
        # The dialog leaves its folder current, and several files chosen make theirs
        # current for the adding: without the start folder back, "Tunes\\first.mp3"
        # names nothing and play passes over it.
        tracks = [("Tunes\\first.mp3", "tone1s.mp3"), ("Other\\x.mp3", "tone1s.mp3"), ("Other\\y.mp3", "tone1s.mp3")]
        program, window = self.start_program(with_playlist(tracks, lines=["Tunes\\first.mp3"]),
                                             {"WUZZLE_CAPTURE_PACED": "1"})
        editor = self.show(window, ID_PLAYLIST_EDITOR, EDITOR)
        driver.click_control(editor, ADD)
        chooser = wait_for(lambda: int(driver.ask("find", "#32770", "打开")), message="the open-file dialog")
        wait_for(lambda: driver.ask("visible", chooser) == "1", message="the open-file dialog shown")
        for typed in ("Other", '"x.mp3" "y.mp3"'):
            xdotool("type", typed)
            xdotool("key", "Return")
        wait_for(lambda: driver.ask("alive", chooser) == "0", message="the dialog to close")
        driver.ask("post", window, WM_COMMAND, ID_PLAY, 0)
        panel = driver.dialog(PANEL)
        wait_for(lambda: driver.control_text(panel, TITLE) == "01 first", message="the first entry playing")


if __name__ == "__main__":
    unittest.main()
