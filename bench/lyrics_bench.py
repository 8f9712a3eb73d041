"""The character singing along, measured on the staged program: each line's lateness
against its time as heard, and CPU while playing a track with lyrics beside the same
track without. Started by bench/lyrics, which provides Wine and the display."""
import os
import random
import shutil
import statistics
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
from follow_cpu import per_minute  # noqa: E402
from harness import ARCH_BUILD, BUILD, Program, driver  # noqa: E402
from playback_bench import wine_server  # noqa: E402
from test_lyrics import heard  # noqa: E402

WM_COMMAND, ID_PLAY, ID_STOP, ID_NEXT, ID_PREVIOUS = 0x0111, 40011, 40012, 40013, 40014
ROUNDS = int(os.environ.get("ROUNDS", "3"))
PHASE_SECONDS = float(os.environ.get("PHASE_SECONDS", "60"))
TRACK_SECONDS, LINES = 180, 60
WORK = BUILD / "bench" / "lyrics"


def line_times():
    """Sixty lines over three minutes, 1.5 to 4.5 s apart, the same every run."""
    rng = random.Random(28)
    times, at = [], 1.0
    for _ in range(LINES):
        at += rng.uniform(1.5, 4.5) * (TRACK_SECONDS - 8) / (3.0 * LINES)
        times.append(round(at, 2))
    return times


def prepare(folder):
    """The track twice, once with a GBK .lrc beside it, and the capture plug-in, paced."""
    track = WORK / "track.mp3"
    if not track.exists():
        WORK.mkdir(parents=True, exist_ok=True)
        wav = WORK / "track.wav"
        subprocess.run(["sox", "-R", "-n", "-r", "44100", "-b", "16", "-c", "2", str(wav), "synth", str(TRACK_SECONDS),
                        "pluck", "C3", "pluck", "E3"], check=True)
        subprocess.run(["lame", "--quiet", "-b", "128", str(wav), str(track)], check=True)
    for name in ("with.mp3", "without.mp3"):
        shutil.copy(track, folder / name)
    lrc = "[ti:长歌]\r\n" + "".join(f"[{t // 60:02.0f}:{t % 60:05.2f}]第{i + 1}句歌词\r\n" for i, t in enumerate(line_times()))
    (folder / "with.lrc").write_bytes(lrc.encode("gbk"))
    (folder / "Data" / "PlayList.m3u").write_bytes(b"with.mp3\r\nwithout.mp3\r\n")
    shutil.copy(ARCH_BUILD / "plugins" / "CaptureOutput.ini", folder / "Data" / "Output.ini")


def start():
    program = Program(prepare, {"WUZZLE_CAPTURE_PACED": "1", "WUZZLE_CAPTURE_LOG": "capture.log"}).start()
    return program, driver.wait_window("Wuzzle")


def lateness():
    """Milliseconds from each line's time as heard to its text in the balloon, and how
    many lines never showed."""
    program, window = start()
    try:
        driver.ask("post", window, WM_COMMAND, ID_PLAY, 0)
        changes = driver.watch("WuzzleBalloon", TRACK_SECONDS + 2)
        driver.ask("post", window, WM_COMMAND, ID_STOP, 0)
        log = program.folder / "capture.log"
        deadline = time.monotonic() + 10
        while not (log.exists() and log.read_text().strip()) and time.monotonic() < deadline:
            time.sleep(0.1)
        heard_at = heard(log.read_text().splitlines()[0])
    finally:
        program.stop()
    late, missed = [], 0
    for i, due in enumerate(line_times()):
        text = f"第{i + 1}句歌词"
        seen = [micros for micros, shown in changes if shown == text]
        if seen:
            late.append((seen[0] - heard_at(round(due * 1000))) / 1000)
        else:
            missed += 1
    return late, missed


def cpu():
    """CPU seconds a minute of the program, the Wine server and the X server while the
    track plays with its lyrics and without: rounds of both, each from the track's start
    once its title has gone."""
    program, window = start()
    try:
        processes = {"program": program.process.pid, "Wine server": wine_server(),
                     "X server": int(os.environ["WUZZLE_XVFB_PID"])}
        time.sleep(3)
        rounds = []
        for _ in range(ROUNDS):
            figures = {}
            for phase, command in (("with", ID_PLAY), ("without", ID_NEXT)):
                driver.ask("post", window, WM_COMMAND, command, 0)
                time.sleep(5)
                figures[phase] = per_minute(processes, PHASE_SECONDS)
            driver.ask("post", window, WM_COMMAND, ID_PREVIOUS, 0)
            driver.ask("post", window, WM_COMMAND, ID_STOP, 0)
            rounds.append(figures)
    finally:
        program.stop()
    return {phase: {name: statistics.median(r[phase][name] for r in rounds) for name in processes}
            for phase in ("with", "without")}


def main():
    late, missed = lateness()
    print(f"Lateness of {LINES} lines over {TRACK_SECONDS} s, against their times as heard (capture log):")
    print(f"  median {statistics.median(late):.1f} ms, worst {max(late):.1f} ms, earliest {min(late):.1f} ms,"
          f" mean {statistics.mean(late):.1f} ms; {len(late)} seen, {missed} missed")
    figures = cpu()
    print(f"\nCPU seconds a minute while playing ({PHASE_SECONDS:g} s a phase, median of {ROUNDS}):")
    print(f"{'':12}{'with lyrics':>13}{'without':>10}{'added':>8}")
    for name in figures["with"]:
        with_, without = figures["with"][name], figures["without"][name]
        print(f"{name:12}{with_:13.3f}{without:10.3f}{with_ - without:8.3f}")


if __name__ == "__main__":
    main()
