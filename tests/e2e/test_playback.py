"""Music from the character: the playlist file loads at start, "播放" plays it in order
through the capture output while the panel follows, and the playlist is written back
at exit. Without its plug-ins the program says so and ends."""
import shutil
import time
import unittest
from pathlib import Path

from harness import ARCH_BUILD, ProgramTest, driver, wait_for, xdotool

CAPTURE_PLUGIN = ARCH_BUILD / "plugins" / "CaptureOutput.ini"
AUDIO = ARCH_BUILD / "testdata" / "audio"
PANEL = "控制面板"
TITLE, ELAPSED, BITRATE, SAMPLE_RATE, PAUSE, NEXT, PLAY, VOLUME, POSITION = (1004, 1005, 1006, 1009, 1014, 1016,
                                                                            1017, 1018, 1020)
ID_EXIT, ID_CONTROL_PANEL, ID_PLAY, ID_NEXT = 40002, 40009, 40011, 40013
TBM_GETPOS = 0x0400  # WM_USER
WS_DISABLED = 0x08000000
PLAY_FROM_THE_MENU = ("Down",) * 4 + ("Right", "Return")  # "播放" in the menu's "播放" submenu


def samples(path):
    data = Path(path).read_bytes() if Path(path).exists() else b""
    return memoryview(data[:len(data) - len(data) % 2]).cast("h").tolist()


def with_playlist(tracks, lines=None):
    """Prepares a folder: the tracks (relative path, audio fixture), a playlist file
    naming them (or `lines`), and the capture plug-in as the output."""
    def prepare(folder):
        for relative, fixture in tracks:
            path = folder / relative.replace("\\", "/")
            path.parent.mkdir(parents=True, exist_ok=True)
            shutil.copy(AUDIO / fixture, path)
        text = "".join(line + "\r\n" for line in (lines if lines is not None else [t[0] for t in tracks]))
        (folder / "Data" / "PlayList.m3u").write_bytes(text.encode("gbk"))
        shutil.copy(CAPTURE_PLUGIN, folder / "Data" / "Output.ini")
    return prepare


class PlaybackTest(ProgramTest):
    def start_with(self, prepare, capture=""):
        program, window = self.start_program(prepare, {"WUZZLE_CAPTURE_PCM": capture, "WUZZLE_CAPTURE_PACED": "1"})
        return program, window, driver.dialog(PANEL)

    def shows(self, panel, control, text, seconds=15):
        wait_for(lambda: driver.control_text(panel, control) == text, seconds,
                 lambda: f"{text!r} in {control} (it shows {driver.control_text(panel, control)!r})")

    def shows_the_first_start(self, panel, title):
        """The first track's title, then what the program writes after it, the elapsed
        time last: a look right after the title may come in between."""
        self.shows(panel, TITLE, title)
        wait_for(lambda: driver.control_text(panel, ELAPSED), message="the elapsed time after the title")

    def test_play_from_the_menu_plays_the_list_in_order_and_exit_writes_it_back(self):
        tracks = [("Tunes\\晨曲.mp3", "tone1s.mp3"), ("Tunes\\b.mp3", "tone1s.mp3"), ("Tunes\\c.mp3", "tone1s.mp3")]
        program, window, panel = self.start_with(with_playlist(tracks), "capture.raw")
        driver.menu(window, *PLAY_FROM_THE_MENU)

        self.shows_the_first_start(panel, "01 晨曲")
        balloon = driver.wait_window("WuzzleBalloon", seconds=1)
        self.assertEqual(driver.text(balloon), "01 晨曲")
        self.assertEqual(driver.control_text(panel, BITRATE), "128")
        self.assertEqual(driver.control_text(panel, SAMPLE_RATE), "44.10")
        self.assertIn(driver.control_text(panel, ELAPSED), ("00:00", "00:01"))
        self.shows(panel, TITLE, "02 b")
        self.shows(panel, TITLE, "03 c")
        self.shows(panel, ELAPSED, "00:01")
        # The reference decode, three times, at the volume of 50: halved toward zero.
        expected = [int(s / 2) for s in samples(AUDIO / "tone1s.mp3.raw")] * 3
        wait_for(lambda: len(samples(program.folder / "capture.raw")) >= len(expected), 5, "the last track's end")
        wait_for(lambda: not driver.visible(balloon), 4, "the balloon to go, 4 s after the last start")
        self.assertEqual(driver.control_text(panel, TITLE), "03 c", "the last track stays shown, seconds after its end")
        playlist = (program.folder / "Data" / "PlayList.m3u").read_bytes()

        self.close(program, window)
        # Our decoder and the reference may round a sample apart.
        played = samples(program.folder / "capture.raw")
        self.assertEqual(len(played), len(expected))
        self.assertLessEqual(max(abs(a - b) for a, b in zip(played, expected)), 2)
        self.assertEqual((program.folder / "Data" / "PlayList.m3u").read_bytes(), playlist)

    def test_tracks_whose_folder_is_gone_keep_their_place_and_play_when_it_is_back(self):
        tracks = [(f"{folder}\\{n}.mp3", "tone1s.mp3") for n, folder in enumerate("SGSGS", 1)]
        # and a share that is not there, which keeps its place as well
        lines = [path for path, _ in tracks] + ["\\\\server\\share\\6.mp3"]

        def stick_out(folder):
            with_playlist(tracks, lines)(folder)
            (folder / "G").rename(folder / "G-away")

        program, window, panel = self.start_with(stick_out, "capture.raw")
        playlist = (program.folder / "Data" / "PlayList.m3u").read_bytes()
        rows = driver.ask("child", driver.dialog("播放列表编辑器"), 1000)  # the editor's list, 0x1004 LVM_GETITEMCOUNT
        self.assertEqual(driver.ask("send", rows, 0x1004, 0, 0), "6", "a row for every line, gone or not")
        driver.menu(window, *PLAY_FROM_THE_MENU)
        for title in ("01 1", "03 3", "05 5"):
            self.shows(panel, TITLE, title)
        one = len(samples(AUDIO / "tone1s.mp3.raw"))
        wait_for(lambda: len(samples(program.folder / "capture.raw")) >= 3 * one, 5, "the three tracks played")
        self.close(program, window)
        self.assertEqual(len(samples(program.folder / "capture.raw")), 3 * one)
        self.assertEqual((program.folder / "Data" / "PlayList.m3u").read_bytes(), playlist)

        (program.folder / "G-away").rename(program.folder / "G")
        program.start()
        window = driver.wait_window("Wuzzle")
        driver.menu(window, *PLAY_FROM_THE_MENU)
        wait_for(lambda: len(samples(program.folder / "capture.raw")) >= 5 * one, 15, "all five tracks played")
        self.close(program, window)

        # Every track away (the stick is out): the file still comes back byte for byte.
        for name in ("S", "G"):
            (program.folder / name).rename(program.folder / f"{name}-away")
        program.start()
        self.close(program, driver.wait_window("Wuzzle"))
        self.assertEqual((program.folder / "Data" / "PlayList.m3u").read_bytes(), playlist)

    def test_files_that_fail_to_read_are_left_alone_at_exit_and_a_cut_off_save_goes(self):
        """A read that fails must not load an empty or shortened list and save it:
        here the two files are links to a file that gives an I/O error when read.
        What a save cut off at the last exit left beside them goes at the start."""
        def unreadable(folder):
            for name in ("PlayList.m3u", "Wzmp.ini"):
                (folder / "Data" / name).unlink(missing_ok=True)
                (folder / "Data" / name).symlink_to("/proc/self/mem")
                (folder / "Data" / f"{name}.new").write_bytes(b"Gone\\a.mp3\r\nD:")

        program, window = self.start_program(unreadable)
        self.close(program, window)
        for name in ("PlayList.m3u", "Wzmp.ini"):
            self.assertTrue((program.folder / "Data" / name).is_symlink(), name)
            self.assertFalse((program.folder / "Data" / f"{name}.new").exists(), f"{name}.new")

    def test_the_panel_answers_the_keyboard_as_a_dialog(self):
        tracks = [(f"{name}.mp3", "tone1s.mp3") for name in "abc"]
        program, window, panel = self.start_with(with_playlist(tracks), "capture.raw")
        driver.menu(window, *["Down"] * 6, "Return")  # "控制"
        wait_for(lambda: driver.visible(panel), message="the panel")
        driver.click_control(panel, NEXT)  # the focus on 下一首, and the second track shown
        self.shows(panel, TITLE, "02 b")
        # Tab to 播放 and Enter presses it: the second track plays (下一首 would not play).
        driver.press(driver.ask("child", panel, NEXT), "Tab", "Return")
        wait_for(lambda: samples(program.folder / "capture.raw"), message="playing")
        self.assertIn(driver.control_text(panel, TITLE), ("02 b", "03 c"))
        driver.press(driver.ask("child", panel, PLAY), "Escape")
        wait_for(lambda: not driver.visible(panel), message="Esc to hide the panel")

    def disabled(self, panel, control):
        return bool(int(driver.ask("styles", driver.ask("child", panel, control)).split()[0], 16) & WS_DISABLED)

    def test_dragging_the_position_bar_to_the_middle_jumps_there(self):
        tracks = [(f"{name}.mp3", "tone6s.mp3") for name in "ab"]
        program, window, panel = self.start_with(with_playlist(tracks))
        driver.command(window, ID_CONTROL_PANEL)
        self.assertTrue(self.disabled(panel, POSITION), "no track, nowhere to go")
        driver.command(window, ID_PLAY)
        self.shows(panel, TITLE, "01 a")
        left, top, right, bottom = driver.rect(int(driver.ask("child", panel, POSITION)))
        y = (top + bottom) // 2
        # From the thumb at the start of the channel to the middle, as a hand drags it.
        driver.point_at(panel, left + 11, y)
        xdotool("mousedown", 1)
        for x in range(left + 11, (left + right) // 2, 20):
            xdotool("mousemove", x, y)
        xdotool("mousemove", (left + right) // 2, y, "mouseup", 1)
        let_go = time.monotonic()
        self.shows(panel, ELAPSED, "00:03", 1)
        self.shows(panel, TITLE, "02 b", 6)
        self.assertAlmostEqual(time.monotonic() - let_go, 3, delta=0.8, msg="the rest of the track, from its middle")

    def test_an_input_plug_in_that_cannot_jump_leaves_the_position_bar_disabled(self):
        def older_plug_in(folder):
            with_playlist([("a.mp3", "tone6s.mp3")])(folder)
            # A plug-in from before jumps: without the export that says it can.
            plug_in = folder / "Data" / "Input.ini"
            plug_in.write_bytes(plug_in.read_bytes().replace(b"GetInputFeatures\0", b"GetInputFeaturex\0"))
        program, window, panel = self.start_with(older_plug_in)
        driver.command(window, ID_PLAY)
        self.shows(panel, ELAPSED, "00:01")
        self.assertTrue(self.disabled(panel, POSITION))

    def test_a_jump_while_paused_stays_paused_until_one_press_of_pause(self):
        tracks = [(f"{name}.mp3", "tone6s.mp3") for name in "ab"]
        program, window, panel = self.start_with(with_playlist(tracks), "capture.raw")
        played = lambda: len(samples(program.folder / "capture.raw"))
        driver.command(window, ID_CONTROL_PANEL)
        driver.command(window, ID_PLAY)
        self.shows(panel, ELAPSED, "00:01")
        driver.click_control(panel, PAUSE)
        bar = driver.ask("child", panel, POSITION)
        driver.click(int(bar))
        driver.press(bar, "Home")  # back to the start, still paused
        self.shows(panel, ELAPSED, "00:00", 2)
        held = played()
        time.sleep(1.5)  # what must not happen has no event to wait for
        self.assertEqual((driver.control_text(panel, ELAPSED), played()), ("00:00", held), "nothing played")
        driver.click_control(panel, PAUSE)
        self.shows(panel, ELAPSED, "00:01", 3)

    def test_the_figure_answers_the_mouse(self):
        tracks = [(f"{name}.mp3", "tone6s.mp3") for name in "ab"]
        program, window, panel = self.start_with(with_playlist(tracks), "capture.raw")
        played = lambda: len(samples(program.folder / "capture.raw"))
        driver.command(window, ID_PLAY)
        wait_for(played, message="playing")

        def held():  # the capture still for a while: paused, or played to the end
            before = played()
            time.sleep(0.6)
            return played() == before
        driver.point_at(window)
        xdotool("click", "--repeat", 2, "--delay", 80, 1)
        wait_for(held, message="a double click to pause")
        paused_at = played()
        self.assertLess(paused_at, len(samples(AUDIO / "tone6s.mp3.raw")), "paused in the first track")
        xdotool("click", "--repeat", 2, "--delay", 80, 1)
        wait_for(lambda: played() > paused_at, message="a second double click to go on")
        slider = driver.ask("child", panel, VOLUME)
        xdotool("click", 4)  # the wheel, a notch up
        wait_for(lambda: driver.ask("send", slider, TBM_GETPOS, 0, 0) == "55", message="the volume up 5")
        self.assertEqual(driver.text(driver.ask("shown", "WuzzleBalloon")), "音量 55")

    def test_dropped_flac_and_m4a_play_and_the_panel_and_balloon_show_their_titles_artists_rates_and_times(self):
        program, window, panel = self.start_with(with_playlist([], lines=[]))
        for name, fixture in (("spring.flac", "flac44.flac"), ("spring.m4a", "aac44.m4a")):
            shutil.copy(AUDIO / fixture, program.folder / name)
            self.assertEqual(driver.ask("drop", window, "Z:" + str(program.folder / name).replace("/", "\\")), "1")
        # The drop only adds the track; "播放", queued behind it, plays it.
        driver.command(window, ID_PLAY)
        self.shows_the_first_start(panel, "01 春天的故事")
        # Four seconds of FLAC: the bit rate of the whole file, its metadata aside.
        average = (program.folder / "spring.flac").stat().st_size * 8 / 4 / 1000
        self.assertAlmostEqual(int(driver.control_text(panel, BITRATE)), average, delta=average * 0.02)
        self.assertEqual(driver.control_text(panel, SAMPLE_RATE), "44.10")
        self.assertEqual(driver.text(driver.wait_window("WuzzleBalloon", seconds=1)), "01 春天的故事\r\n小明")
        self.shows(panel, ELAPSED, "00:02")
        # AAC in MP4, its tags in Chinese: the average bit rate of its audio.
        driver.command(window, ID_NEXT)
        self.shows(panel, TITLE, "02 春天的故事")
        self.shows(panel, BITRATE, "129")
        self.assertEqual(driver.control_text(panel, SAMPLE_RATE), "44.10")
        self.shows(panel, ELAPSED, "00:01")

    def test_without_its_input_plug_in_it_says_so_and_ends_writing_nothing(self):
        def prepare(folder):
            (folder / "Data" / "Input.ini").unlink()
            (folder / "Data" / "PlayList.m3u").write_bytes(b"Data\\Music\\a.mp3\r\n")
        # OK on the message, or "退出" from the tray menu while the message is up: the
        # window is then destroyed before the playlist and the settings were read.
        for end in ("ok", "exit"):
            with self.subTest(end):
                program, _ = self.start_program(prepare, wait=False)
                box = driver.wait_window("#32770")
                self.assertEqual(driver.control_text(box, 0xFFFF), "必要なプラグインが見つかりません")
                if end == "ok":
                    driver.click_control(box, 1)
                else:
                    driver.command(driver.ask("find", "Wuzzle"), ID_EXIT)
                self.assertEqual(program.wait(), 0)
                self.assertEqual((program.folder / "Data" / "PlayList.m3u").read_bytes(), b"Data\\Music\\a.mp3\r\n")
                self.assertFalse((program.folder / "Data" / "Wzmp.ini").exists())


if __name__ == "__main__":
    unittest.main()
