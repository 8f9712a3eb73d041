"""The character sings along: each line of a track's lyrics in its balloon at its time
as heard, measured against the capture plug-in's log of when its samples played."""
import shutil

from harness import ProgramTest, driver, wait_for
from test_playback import AUDIO, CAPTURE_PLUGIN

ID_PLAY, ID_LYRICS = 40011, 40016
WM_HSCROLL, TBM_SETPOS, TB_ENDTRACK = 0x0114, 0x0405, 8
PANEL, POSITION = "控制面板", 1020
LATE_MS = 100  # a line comes within this of its time as heard, and never before it

GBK_LRC = "[ti:歌]\r\n[ar:某人]\r\n[00:01.00]第一行\r\n[00:02.00]\r\n[00:02.50][00:04.00]唱两次\r\n[00:03.20]第三行\r\n"


def heard(log_line):
    """When a moment (ms) of a stream was heard, from its line of the capture log: the
    time of its first sample, and every time it ran dry since and made the rest later."""
    first, _, rate, *stalls = log_line.split()
    dry = [tuple(map(int, stall.split(":"))) for stall in stalls]
    return lambda ms: int(first) + ms * 1000 + sum(lost for frame, lost in dry if frame <= ms * int(rate) // 1000)


def tracks(*files):
    """Prepares a folder: (name, audio fixture, lyric file bytes or None) in a playlist
    in that order, and the capture plug-in, paced, as the output."""
    def prepare(folder):
        for name, fixture, lrc in files:
            shutil.copy(AUDIO / fixture, folder / name)
            if lrc is not None:
                (folder / name).with_suffix(".lrc").write_bytes(lrc)
        (folder / "Data" / "PlayList.m3u").write_bytes("".join(f"{n}\r\n" for n, _, _ in files).encode("gbk"))
        shutil.copy(CAPTURE_PLUGIN, folder / "Data" / "Output.ini")
    return prepare


class LyricsTest(ProgramTest):
    def start_playing(self, prepare):
        program, window = self.start_program(prepare, {"WUZZLE_CAPTURE_PACED": "1", "WUZZLE_CAPTURE_LOG": "capture.log"})
        driver.command(window, ID_PLAY)
        return program, window

    def streams_heard(self, program, streams):
        """`heard` of each stream: a stream's line is logged as it ends."""
        log = program.folder / "capture.log"
        wait_for(lambda: log.exists() and len(log.read_text().splitlines()) >= streams, message="the capture log")
        return [heard(line) for line in log.read_text().splitlines()]

    def assert_sung(self, changes, heard_at, expected):
        """`expected`: (ms into the stream, line or None for hidden) from the first line
        on, in order, each within LATE_MS after its time as heard."""
        shown = []
        for micros, text in changes:  # a hidden balloon may take its next text before it shows
            if not shown or shown[-1][1] != text:
                shown.append((micros, text))
        start = next(i for i, (_, text) in enumerate(shown) if text == expected[0][1])
        sung = shown[start:start + len(expected)]
        self.assertEqual([text for _, text in sung], [text for _, text in expected], shown)
        for (micros, text), (due, _) in zip(sung, expected):
            late = (micros - heard_at(due)) / 1000
            self.assertTrue(0 <= late <= LATE_MS, f"{text!r} {late:.1f} ms after its time, {due} ms")

    def test_a_gbk_lrc_is_sung_line_by_line_a_jump_finds_its_line_and_the_switch_stays_off(self):
        program, window = self.start_playing(tracks(("歌.mp3", "tone6s.mp3", GBK_LRC.encode("gbk"))))
        changes = driver.watch("WuzzleBalloon", 4.6)
        self.assertEqual(next(text for _, text in changes if text), "01 歌", "the title until the first line")
        panel, bar = driver.dialog(PANEL), driver.ask("child", driver.dialog(PANEL), POSITION)
        driver.ask("send", bar, TBM_SETPOS, 1, 1)
        driver.ask("send", panel, WM_HSCROLL, TB_ENDTRACK, bar)
        self.assertEqual(driver.text(driver.ask("find", "WuzzleBalloon")), "第一行", "at once after the jump")
        first, = self.streams_heard(program, 1)  # the jump ended the first stream
        self.assert_sung(changes, first, [(1000, "第一行"), (2000, None), (2500, "唱两次"), (3200, "第三行"),
                                          (4000, "唱两次")])

        driver.command(window, ID_LYRICS)
        wait_for(lambda: not driver.visible(driver.ask("find", "WuzzleBalloon")), message="the line to go")
        self.close(program, window)
        self.assertEqual((program.folder / "Data" / "Wzmp.ini").read_bytes().split(b"\r\n")[4], b"0")
        program.start()
        driver.command(driver.wait_window("Wuzzle"), ID_PLAY)
        changes = driver.watch("WuzzleBalloon", 1.5)
        self.assertNotIn("第一行", [text for _, text in changes], "off after the restart")

    def test_a_flac_sings_its_lyrics_comment_and_a_utf8_lrc_its_offset(self):
        utf8 = "[offset:+500]\n[00:01.50]春天\n[00:02.50]来了\n".encode()
        program, window = self.start_playing(tracks(("a.flac", "lyrics.flac", None), ("b.mp3", "tone6s.mp3", utf8)))
        changes = driver.watch("WuzzleBalloon", 6.7)
        self.close(program, window)
        flac, mp3 = self.streams_heard(program, 2)
        self.assert_sung(changes, flac, [(1000, "春天来了"), (2000, None), (3000, "花开了")])
        self.assert_sung(changes, mp3, [(1000, "春天"), (2000, "来了")])
