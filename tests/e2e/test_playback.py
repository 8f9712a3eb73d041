"""Music from the character: the playlist file loads at start, "播放" plays it in order
through the capture output while the panel follows, and the playlist is written back
at exit. Without its plug-ins the program says so and ends."""
import shutil
import time
import unittest
from pathlib import Path

from harness import ARCH_BUILD, ProgramTest, shared_driver, wait_for, xdotool

driver = shared_driver()
CAPTURE_PLUGIN = ARCH_BUILD / "plugins" / "CaptureOutput.ini"
AUDIO = ARCH_BUILD / "testdata" / "audio"
PANEL = "控制面板"
TITLE, ELAPSED, BITRATE, SAMPLE_RATE = 1004, 1005, 1006, 1009
WM_COMMAND = 0x0111


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
        panel = driver.dialog(PANEL)
        self.assertNotEqual(panel, 0)
        return program, window, panel

    def shows(self, panel, control, text, seconds=15):
        wait_for(lambda: driver.control_text(panel, control) == text, seconds,
                 f"{text!r} in {control} (it shows {driver.control_text(panel, control)!r})")

    def test_play_from_the_menu_plays_the_list_in_order_and_exit_writes_it_back(self):
        tracks = [("Tunes\\晨曲.mp3", "tone1s.mp3"), ("Tunes\\b.mp3", "tone1s.mp3"), ("Tunes\\c.mp3", "tone1s.mp3")]
        program, window, panel = self.start_with(with_playlist(tracks), "capture.raw")
        # "播放" in the "播放" submenu of the character's menu.
        driver.click(window, 3)
        wait_for(lambda: int(driver.ask("shown", "#32768")), message="the menu")
        xdotool("key", "Down", "Down", "Right", "Return")

        self.shows(panel, TITLE, "01 晨曲")
        self.assertEqual(driver.control_text(panel, BITRATE), "128")
        self.assertEqual(driver.control_text(panel, SAMPLE_RATE), "44.10")
        self.assertIn(driver.control_text(panel, ELAPSED), ("00:00", "00:01"))
        self.shows(panel, TITLE, "02 b")
        self.shows(panel, TITLE, "03 c")
        self.shows(panel, ELAPSED, "00:01")
        # The reference decode, three times, at the volume of 50: halved toward zero.
        expected = [int(s / 2) for s in samples(AUDIO / "tone1s.mp3.raw")] * 3
        wait_for(lambda: len(samples(program.folder / "capture.raw")) >= len(expected), 5, "the last track's end")
        time.sleep(0.3)
        self.assertEqual(driver.control_text(panel, TITLE), "03 c", "the last track stays shown")
        playlist = (program.folder / "Data" / "PlayList.m3u").read_bytes()

        driver.ask("post", window, 0x0010, 0, 0)
        self.assertEqual(program.wait(), 0)
        # Our decoder and the reference may round a sample apart.
        played = samples(program.folder / "capture.raw")
        self.assertEqual(len(played), len(expected))
        self.assertLessEqual(max(abs(a - b) for a, b in zip(played, expected)), 2)
        self.assertEqual((program.folder / "Data" / "PlayList.m3u").read_bytes(), playlist)

    def test_a_dropped_flac_plays_and_the_panel_shows_its_number_title_rates_and_time(self):
        program, window, panel = self.start_with(with_playlist([], lines=[]))
        shutil.copy(AUDIO / "flac44.flac", program.folder / "spring.flac")
        path = "Z:" + str(program.folder / "spring.flac").replace("/", "\\")
        self.assertEqual(driver.ask("drop", window, path), "1")
        # The drop only adds the track; "播放", queued behind it, plays it.
        driver.ask("post", window, WM_COMMAND, 40011, 0)
        self.shows(panel, TITLE, "01 春天的故事")
        # Four seconds of FLAC: the bit rate of the whole file, its metadata aside.
        average = (program.folder / "spring.flac").stat().st_size * 8 / 4 / 1000
        self.assertAlmostEqual(int(driver.control_text(panel, BITRATE)), average, delta=average * 0.02)
        self.assertEqual(driver.control_text(panel, SAMPLE_RATE), "44.10")
        self.shows(panel, ELAPSED, "00:02")

    def test_without_its_input_plug_in_it_says_so_and_ends_writing_nothing(self):
        def prepare(folder):
            (folder / "Data" / "Input.ini").unlink()
            (folder / "Data" / "PlayList.m3u").write_bytes(b"Data\\Music\\a.mp3\r\n")
        # OK on the message, or "退出" from the tray menu while the message is up: the
        # window is then destroyed before the playlist and the settings were read.
        for end in ("ok", "exit"):
            with self.subTest(end):
                program = self.start_program_only(prepare)
                box = wait_for(lambda: int(driver.ask("shown", "#32770")), message="the message box")
                self.assertEqual(driver.control_text(box, 0xFFFF), "必要なプラグインが見つかりません")
                if end == "ok":
                    driver.click_control(box, 1)
                else:
                    driver.ask("post", driver.ask("find", "Wuzzle"), WM_COMMAND, 40002, 0)
                self.assertEqual(program.wait(), 0)
                self.assertEqual((program.folder / "Data" / "PlayList.m3u").read_bytes(), b"Data\\Music\\a.mp3\r\n")
                self.assertFalse((program.folder / "Data" / "Wzmp.ini").exists())


if __name__ == "__main__":
    unittest.main()
