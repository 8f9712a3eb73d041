"""Building a playlist: files chosen in the real open-file dialog, moved and deleted
in the editor, a list made elsewhere dropped on it, and everything (rows, switches,
volume) as it was after a restart."""
import shutil
import tempfile
import unittest
from pathlib import Path

from harness import ProgramTest, driver, wait_for
from test_playback import AUDIO, PANEL, PLAY_FROM_THE_MENU, TBM_GETPOS, TITLE, VOLUME, samples, with_playlist

BM_GETCHECK = 0x00F0
WM_GETTEXTLENGTH, LVM_GETITEMCOUNT, CBEM_GETEDITCONTROL, CB_GETCURSEL = 0x000E, 0x1004, 0x0407, 0x0147
NAME_BOX, FILE_TYPE = 0x047C, 0x0470  # the open-file dialog's file name box and file type, cmb13 and cmb1
ID_PLAY = 40011
EDITOR = "播放列表编辑器"
ADD, LIST = 1001, 1000
RANDOM, LOOP = 1011, 1013


three_files = with_playlist([(name, "tone1s.mp3") for name in ("a.mp3", "b.mp3", "c.mp3")], lines=[])


class EditorTest(ProgramTest):
    def show(self, window, item, caption):
        """The dialog that the `item`th entry of the character's menu shows."""
        driver.menu(window, *["Down"] * item, "Return")
        return driver.wait_window("#32770", caption)

    def switches(self, panel):
        """Random, Loop and the volume, as the panel shows them."""
        return tuple(int(driver.ask("send", driver.ask("child", panel, control), message, 0, 0))
                     for control, message in ((RANDOM, BM_GETCHECK), (LOOP, BM_GETCHECK), (VOLUME, TBM_GETPOS)))

    def enter_in_the_open_dialog(self, window, *typed):
        """添加 in the editor, then each line typed into the open-file dialog and entered."""
        editor = self.show(window, 5, EDITOR)
        driver.click_control(editor, ADD)
        chooser = driver.wait_window("#32770", "打开")
        box = driver.ask("send", driver.ask("child", chooser, NAME_BOX), CBEM_GETEDITCONTROL, 0, 0)
        for line in typed:
            # A folder entered is opened, and the box emptied for the next line.
            wait_for(lambda: driver.ask("send", box, WM_GETTEXTLENGTH, 0, 0) == "0", message="an empty name box")
            driver.press(box, "Return", text=line)
        return editor, chooser, box

    def add_in_the_open_dialog(self, window, *typed):
        editor, chooser, _ = self.enter_in_the_open_dialog(window, *typed)
        wait_for(lambda: not driver.visible(chooser), message="the open-file dialog to close")
        return editor

    def test_rows_switches_and_volume_survive_a_restart(self):
        program, window = self.start_program(three_files)
        editor = self.add_in_the_open_dialog(window, '"a.mp3" "b.mp3" "c.mp3"')
        # c up twice, to the top (a moved row keeps its selection and focus), then the
        # row below it, a, deleted with the Delete key: c, b.
        rows = driver.ask("child", editor, LIST)
        left, top, right, _ = driver.rect(rows)
        driver.click(rows, x=(left + right) // 2, y=top + 30)
        driver.press(rows, "End", "alt+u", "alt+u", "Down", "Delete")
        wait_for(lambda: driver.ask("send", rows, LVM_GETITEMCOUNT, 0, 0) == "2", message="the Delete key to take a row")
        panel = self.show(window, 6, PANEL)
        for control in (RANDOM, VOLUME):  # Random on, Loop left off: the two stay apart
            driver.click_control(panel, control)
        driver.press(driver.ask("child", panel, VOLUME), "End")  # the slider all the way up
        wait_for(lambda: self.switches(panel) == (1, 0, 100), message="the switches and the slider to take the clicks")
        self.close(program, window)
        folder = "Z:" + str(program.folder).replace("/", "\\")
        saved = (program.folder / "Data" / "PlayList.m3u").read_bytes()
        self.assertEqual(saved, f"{folder}\\c.mp3\r\n{folder}\\b.mp3\r\n".encode())
        self.assertEqual((program.folder / "Data" / "Wzmp.ini").read_bytes(), b"0\r\n1\r\n100\r\n1\r\n1")

        program.start()  # again, in the same folder
        window = driver.wait_window("Wuzzle")
        self.assertEqual(self.switches(driver.dialog(PANEL)), (1, 0, 100))
        self.close(program, window)
        self.assertEqual((program.folder / "Data" / "PlayList.m3u").read_bytes(), saved)

    def test_the_lists_relative_entries_play_after_adding_from_another_folder(self):
        # The dialog leaves its folder current, and several files chosen make theirs
        # current for the adding: without the start folder back, "Tunes\\first.mp3"
        # names nothing and play passes over it.
        tracks = [("Tunes\\first.mp3", "tone1s.mp3"), ("Other\\x.mp3", "tone1s.mp3"), ("Other\\y.mp3", "tone1s.mp3")]
        program, window = self.start_program(with_playlist(tracks, lines=["Tunes\\first.mp3"]),
                                             {"WUZZLE_CAPTURE_PACED": "1"})
        self.add_in_the_open_dialog(window, "Other", '"x.mp3" "y.mp3"')
        driver.command(window, ID_PLAY)
        panel = driver.dialog(PANEL)
        wait_for(lambda: driver.control_text(panel, TITLE) == "01 first", message="the first entry playing")

    def test_the_open_dialog_shows_music_of_every_kind_and_nothing_else(self):
        music = ["a.mp3", "b.FLAC", "c.ogg", "d.OGA", "e.opus", "f.WAV", "g.m4a", "h.AAC", "i.wma", "j.WV"]
        files = [(f"Mix\\{name}", "tone1s.mp3") for name in music + ["list.m3u", "notes.txt"]]
        program, window = self.start_program(with_playlist(files, lines=[]))
        _, chooser, box = self.enter_in_the_open_dialog(window, "Mix")
        # Asked anew each time: entering a folder replaces the dialog's list of files.
        def shown():
            return driver.ask("send", driver.ask("inside", chooser, "SysListView32"), LVM_GETITEMCOUNT, 0, 0)
        wait_for(lambda: shown() == str(len(music)), message=lambda: f"{len(music)} files shown (it shows {shown()})")
        self.assertEqual(driver.ask("send", driver.ask("child", chooser, FILE_TYPE), CB_GETCURSEL, 0, 0), "0")
        driver.press(box, "Escape")
        self.close(program, window)

    def test_a_list_made_elsewhere_loads_whole_plays_and_is_kept_by_whole_names(self):
        # As a phone or another player writes it: UTF-8 with a byte-order mark, the
        # player's comments, and entries relative to the list's own folder, which lies
        # away from the program's.
        elsewhere = Path(tempfile.mkdtemp(prefix="wuzzle-lists-"))
        self.addCleanup(shutil.rmtree, elsewhere, True)
        for track in ("Lists/Songs/one.mp3", "Shared/two.mp3", "Lists/Songs/晨曲.mp3", "Lists/노래.mp3"):
            (elsewhere / track).parent.mkdir(parents=True, exist_ok=True)
            shutil.copy(AUDIO / "tone1s.mp3", elsewhere / track)
        lines = ["#EXTM3U", "#EXTINF:300,Someone - One", "Songs/one.mp3", "#EXTINF:300,Someone - Two",
                 "../Shared/two.mp3", "Songs\\晨曲.mp3", "노래.mp3", "../Lists/MIX.m3u8"]  # the last: itself
        (elsewhere / "Lists" / "mix.m3u8").write_bytes("\r\n".join(lines).encode("utf-8-sig"))
        program, window = self.start_program(with_playlist([], lines=[]),
                                             {"WUZZLE_CAPTURE_PCM": "capture.raw", "WUZZLE_CAPTURE_PACED": "1"})
        editor = self.show(window, 5, EDITOR)
        folder = "Z:" + str(elsewhere).replace("/", "\\")
        self.assertEqual(driver.ask("drop", editor, folder + "\\Lists\\mix.m3u8"), "1")
        rows = driver.ask("child", editor, LIST)
        wait_for(lambda: driver.ask("send", rows, LVM_GETITEMCOUNT, 0, 0) == "4", message="the list's four tracks")
        wait_for(lambda: all(driver.cell(rows, row, 2) for row in range(4)), message="the four tracks' details")
        cells = lambda list_view: [tuple(driver.cell(list_view, row, column) for column in range(3))
                                   for row in range(4)]
        shown = cells(rows)
        self.assertEqual(shown[:3], [("不明", "one", "00:01"), ("不明", "two", "00:01"), ("不明", "晨曲", "00:01")])
        self.assertEqual(shown[3][2], "00:01")

        driver.menu(window, *PLAY_FROM_THE_MENU)
        one = len(samples(AUDIO / "tone1s.mp3.raw"))
        wait_for(lambda: len(samples(program.folder / "capture.raw")) >= 4 * one, 15, "the four tracks played")
        self.close(program, window)
        self.assertEqual(len(samples(program.folder / "capture.raw")), 4 * one)
        saved = (program.folder / "Data" / "PlayList.m3u").read_bytes().split(b"\r\n")
        whole = [f"{folder}\\Lists\\Songs\\one.mp3", f"{folder}\\Shared\\two.mp3", f"{folder}\\Lists\\Songs\\晨曲.mp3"]
        self.assertEqual(saved[:3] + saved[4:], [line.encode("gbk") for line in whole] + [b""])
        self.assertRegex(saved[3].decode("ascii"), r"^Z:\\.*~.*\.MP3$")  # 노래.mp3 by its short name

        program.start()
        window = driver.wait_window("Wuzzle")
        self.assertEqual(cells(driver.ask("child", driver.dialog(EDITOR), LIST)), shown)
        self.close(program, window)


if __name__ == "__main__":
    unittest.main()
