"""Started by bench/detailed-skin: the staged program with each skin for a minute,
timed from outside by `region_bench.exe answer`: the seconds to its first answer, its
slowest answer to a message, the answers over 200 ms, and whether it lived."""
import shutil
import struct
import subprocess
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
from harness import ARCH_BUILD, DIST, WINE  # noqa: E402

PROBE = ARCH_BUILD / "bench" / "region_bench.exe"
FRAMES = [f"{pose}{i}.bmp" for pose in ("sl", "sr", "l", "r") for i in range(4)]
KEY, INK = (255, 0, 255), (40, 40, 40)
SIDE = 300


def write_bmp(path, is_key):
    """A 24-bit SIDE x SIDE picture whose pixels are the key where is_key(x, y), y from
    the top; the bottom-left pixel is the key."""
    stride = (SIDE * 3 + 3) & ~3
    rows = []
    for y in reversed(range(SIDE)):
        key_row = [is_key(x, y) or (x == 0 and y == SIDE - 1) for x in range(SIDE)]
        row = b"".join(bytes(reversed(KEY if k else INK)) for k in key_row)
        rows.append(row.ljust(stride, b"\0"))
    pixels = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, SIDE, SIDE, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    Path(path).write_bytes(header + info + pixels)


def checkerboard(x, y):
    return (x + y) % 2 == 0


def dithered_disc(x, y):
    dx, dy = 2 * x - SIDE, 2 * y - SIDE
    return dx * dx + dy * dy > SIDE * SIDE * 81 // 100 or ((y * 7919 + x) * 2654435761 >> 15) % 2 == 0


def measure(dist, is_key, seconds):
    folder = Path(tempfile.mkdtemp(prefix="wuzzle-skin-"))
    shutil.copytree(dist, folder, dirs_exist_ok=True)
    if is_key is not None:
        for name in FRAMES:
            write_bmp(folder / "Skin" / name, is_key)
    program = subprocess.Popen([WINE, "WuzzlePlayer.exe"], cwd=folder, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    probe = subprocess.run([WINE, str(PROBE), "answer", str(seconds)], capture_output=True, text=True)
    try:
        program.wait(timeout=20)
    except subprocess.TimeoutExpired:
        program.kill()
        program.wait()
    shutil.rmtree(folder, ignore_errors=True)
    return probe.stdout.split()


def main():
    seconds = 60
    dists = [("", DIST)] + [(" (other)", Path(p).resolve()) for p in sys.argv[1:]]
    print(f"{'skin':<34} {'first answer s':>14} {'slowest ms':>11} {'over 200 ms':>12} {'answers':>8} {'lived':>6}")
    for label, dist in dists:
        for name, is_key in [("shipped", None), ("checkerboard 300x300", checkerboard),
                             ("dithered disc 300x300", dithered_disc)]:
            first, slowest, late, answers, alive = measure(dist, is_key, seconds)
            print(f"{name + label:<34} {first:>14} {slowest:>11} {late:>12} {answers:>8} {alive:>6}", flush=True)


if __name__ == "__main__":
    main()
