"""Started by bench/library: the staged program with playlists of 1,000, 20,000 and
100,000 tracks (links to twenty tagged one-second files), at the first start (no
cache) and the next: seconds from the start to a visible character, to every row in
the editor, to every row's details, and the working set then; beside an empty list.
With another staged folder (a build from before a change), the same for it."""
import os
import shutil
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
from harness import DIST, WM_CLOSE, Program, driver, wait_for  # noqa: E402
from playback_bench import pool  # noqa: E402
from test_library import ID_PLAYLIST_EDITOR, LIST, WM_COMMAND, cached_tracks, last_read, started  # noqa: E402

LVM_GETITEMCOUNT = 0x1004
COUNTS = tuple(int(c) for c in os.environ.get("COUNTS", "1000 20000 100000").split())


def library(count):
    def prepare(folder):
        (folder / "Library").mkdir()
        files = pool()
        names = [f"Library\\{i:06d}.mp3" for i in range(count)]
        for i, name in enumerate(names):
            (folder / name.replace("\\", "/")).hardlink_to(files[i % len(files)])
        (folder / "Data" / "PlayList.m3u").write_bytes("".join(name + "\r\n" for name in names).encode())
    return prepare


def working_set_mb(pid):
    """The resident set of the process under Wine: what Windows calls its working set."""
    for line in Path(f"/proc/{pid}/status").read_text().splitlines():
        if line.startswith("VmRSS:"):
            return int(line.split()[1]) / 1024
    return 0.0


def program_in(dist, prepare):
    """A folder of its own holding the staged `dist` and what `prepare` puts there."""
    program = Program()
    shutil.copytree(dist, program.folder, dirs_exist_ok=True)
    prepare(program.folder)
    return program


def one_start(program, count):
    """Seconds from the start to the character, to all rows listed, to all details
    known (the last row read; the cache written at exit says how many had theirs),
    the working set then, and the tracks cached."""
    window, character = started(program)
    begun = time.monotonic() - character
    driver.ask("post", window, WM_COMMAND, ID_PLAYLIST_EDITOR, 0)
    rows = driver.ask("child", driver.wait_window("#32770", "播放列表编辑器"), LIST)
    wait_for(lambda: driver.ask("send", rows, LVM_GETITEMCOUNT, 0, 0) == str(count), 600, "every row")
    listed = time.monotonic() - begun
    wait_for(lambda: last_read(rows, count), 600, "every row's details")
    known = time.monotonic() - begun
    memory = working_set_mb(program.process.pid)
    driver.ask("post", window, WM_CLOSE, 0, 0)
    program.wait(120)
    cache = program.folder / "Data" / "TrackCache.dat"
    return character, listed, known, memory, cached_tracks(program.folder) if cache.exists() else "-"


def measure(dist, label):
    print(f"\n{label}: {dist}")
    print(f"{'tracks':>8} {'start':>6} {'character s':>12} {'rows s':>8} {'details s':>10} {'working set MB':>15}"
          f" {'cached':>7}")
    empty = program_in(dist, lambda folder: (folder / "Data" / "PlayList.m3u").write_bytes(b""))
    window, character = started(empty)
    print(f"{0:8} {'':6} {character:12.2f} {'':>8} {'':>10} {working_set_mb(empty.process.pid):15.0f}")
    empty.stop()
    for count in COUNTS:
        program = program_in(dist, library(count))
        try:
            for start in ("first", "next"):
                character, listed, known, memory, cached = one_start(program, count)
                print(f"{count:8} {start:>6} {character:12.2f} {listed:8.2f} {known:10.2f} {memory:15.0f} {cached:>7}")
        finally:
            program.stop()


def main():
    pool()
    measure(DIST, "this build")
    if len(sys.argv) > 1:
        measure(Path(sys.argv[1]), "beside it")


if __name__ == "__main__":
    main()
