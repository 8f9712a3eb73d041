"""Playback measured on the staged program under Wine, started by bench/playback:
start-up time with playlists of 0 to 10,000 tracks, the gap between two tracks, and
CPU time a minute of the program and the Wine server while playing beside at rest,
through waveOut and through the silent sink. `bench/playback cpu` runs one part."""
import os
import select
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
from follow_cpu import cpu_seconds, per_minute  # noqa: E402
from harness import ARCH_BUILD, BUILD, WINE, Program, driver  # noqa: E402

WM_CLOSE, WM_COMMAND, ID_PLAY, ID_STOP = 0x0010, 0x0111, 40011, 40012
# CPU phases are taken this many times and the median shown: on a shared machine one
# phase alone can read twice its usual figure.
ROUNDS = int(os.environ.get("ROUNDS", "5"))
CAPTURE = ARCH_BUILD / "plugins" / "CaptureOutput.ini"
BARE_WAVE_OUT = ARCH_BUILD / "bench" / "wave_out_bench.exe"
POOL = BUILD / "bench" / "playback-pool"


def pool():
    """Twenty tagged one-second tracks, half of them without the Info header."""
    if not (POOL / "19.mp3").exists():
        POOL.mkdir(parents=True, exist_ok=True)
        wav = POOL / "tone.wav"
        subprocess.run(["sox", "-n", "-r", "44100", "-b", "16", "-c", "2", str(wav), "synth", "1", "pluck", "C3"],
                       check=True)
        for i in range(20):
            info = ["-t"] if i % 2 else []
            subprocess.run(["lame", "--quiet", "-b", "128", *info, "--tt", f"Track {i}", "--ta", "Bench", str(wav),
                            str(POOL / f"{i:02d}.mp3")], check=True)
    return sorted(POOL.glob("*.mp3"))


def with_tracks(count, capture=False, missing=False):
    """A playlist of `count` lines over the pool; with `missing`, the pool's folder is
    not there (a stick that is out)."""
    def prepare(folder):
        if not missing:
            shutil.copytree(POOL, folder / "Pool")
        names = [f"Pool\\{p.name}" for p in pool()]
        lines = "".join(names[i % len(names)] + "\r\n" for i in range(count))
        (folder / "Data" / "PlayList.m3u").write_bytes(lines.encode())
        if capture:
            shutil.copy(CAPTURE, folder / "Data" / "Output.ini")
    return prepare


def start_and_exit(driver, prepare):
    """Seconds to a visible character, and to the end of the exit that saves."""
    program = Program(prepare)
    begun = time.monotonic()
    program.start()
    window = driver.wait_window("Wuzzle", seconds=120)
    started = time.monotonic() - begun
    begun = time.monotonic()
    driver.ask("post", window, WM_CLOSE, 0, 0)
    program.wait(120)
    ended = time.monotonic() - begun
    program.stop()
    return started, ended


def startup(driver):
    print("Start-up to a visible character, and exit (saving the playlist), by playlist length;")
    print("the files there, and the same playlist with every file missing")
    print(f"{'tracks':>8}{'start s':>10}{'exit s':>10}{'missing: start s':>18}{'exit s':>10}")
    for count in (0, 100, 1000, 10000):
        there = start_and_exit(driver, with_tracks(count))
        gone = start_and_exit(driver, with_tracks(count, missing=True))
        print(f"{count:8}{there[0]:10.2f}{there[1]:10.2f}{gone[0]:18.2f}{gone[1]:10.2f}")


def gaps(driver, tracks=8):
    print(f"\nGap between tracks: last sample of one to first of the next, paced capture output, {tracks} tracks")
    program = Program(with_tracks(tracks, capture=True), {"WUZZLE_CAPTURE_PACED": "1", "WUZZLE_CAPTURE_LOG": "times.log"})
    program.start()
    window = driver.wait_window("Wuzzle")
    driver.ask("post", window, WM_COMMAND, ID_PLAY, 0)
    log = program.folder / "times.log"
    deadline = time.monotonic() + tracks * 3 + 10
    while time.monotonic() < deadline and (not log.exists() or len(log.read_text().split("\n")) <= tracks):
        time.sleep(0.2)
    streams = [tuple(map(int, line.split()[:3])) for line in log.read_text().split("\n") if line]
    program.stop()
    ms = [(b[0] - (a[0] + a[1] * 1e6 / a[2])) / 1000 for a, b in zip(streams, streams[1:])]
    print(f"{len(ms)} gaps: min {min(ms):.1f} ms, mean {sum(ms) / len(ms):.1f} ms, max {max(ms):.1f} ms")


class PacedDevice:
    """A sound device for Wine that plays in real time: ALSA's default device writes
    16-bit stereo at 44.1 kHz into a FIFO that a thread here reads at that rate."""

    RATE = 44100 * 4

    def __init__(self):
        self.folder = Path(tempfile.mkdtemp(prefix="wuzzle-device-"))
        fifo = self.folder / "audio"
        os.mkfifo(fifo)
        (self.folder / "alsa.conf").write_text(
            "</usr/share/alsa/alsa.conf>\npcm.!default { type plug slave { pcm { type file slave.pcm { type null }"
            f' file "{fifo}" format raw }} format S16_LE rate 44100 channels 2 }} }}\n')
        self.env = {"ALSA_CONFIG_PATH": str(self.folder / "alsa.conf")}
        # Held for writing too, so that the reader never sees an end between streams.
        self.fd = os.open(fifo, os.O_RDWR)
        self.played = 0
        self.silence = 0  # bytes in reads that were all zeros: what Wine plays when starved
        self.running = True
        self.thread = threading.Thread(target=self.play, daemon=True)
        self.thread.start()

    def play(self):
        begun = time.monotonic()
        while self.running:
            ready, _, _ = select.select([self.fd], [], [], 0.2)
            if not ready:
                continue
            sound = os.read(self.fd, 4096)
            self.played += len(sound)
            if sound.count(0) == len(sound):
                self.silence += len(sound)
            ahead = self.played / self.RATE - (time.monotonic() - begun)
            if ahead > 0:
                time.sleep(ahead)
            else:  # a device that ran dry does not catch up
                begun = time.monotonic() - self.played / self.RATE

    def close(self):
        self.running = False
        self.thread.join()
        os.close(self.fd)
        shutil.rmtree(self.folder, ignore_errors=True)


def wine_server():
    """Our prefix's Wine server, not another one on the machine: the one whose folder
    is named after the prefix's device and inode."""
    prefix = os.stat(os.environ["WINEPREFIX"])
    folder = f"server-{prefix.st_dev:x}-{prefix.st_ino:x}"
    for pid in subprocess.run(["pgrep", "wineserver"], capture_output=True, text=True).stdout.split():
        try:
            if os.readlink(f"/proc/{pid}/cwd").endswith(folder):
                return int(pid)
        except OSError:
            pass
    sys.exit("no Wine server for " + os.environ["WINEPREFIX"])


def median_of_rounds(measure):
    """The median of each figure over ROUNDS calls of `measure` (a dict of figures)."""
    rounds = [measure() for _ in range(ROUNDS)]
    return {name: statistics.median(r[name] for r in rounds) for name in rounds[0]}


def cpu_phases(driver, seconds, env):
    """CPU seconds a minute of the program and the Wine server at rest, then playing,
    rounds of both in turn."""
    program = Program(env=env)
    program.start()
    window = driver.wait_window("Wuzzle")
    try:
        processes = {"program": program.process.pid, "Wine server": wine_server()}
        time.sleep(3)

        def round_of_both():
            rest = per_minute(processes, seconds)
            driver.ask("post", window, WM_COMMAND, ID_PLAY, 0)
            playing = per_minute(processes, seconds)
            driver.ask("post", window, WM_COMMAND, ID_STOP, 0)
            time.sleep(1)
            # What playing added is taken round by round, against the rest just before:
            # the program's own cost at rest wanders more than playing adds to it.
            return {**{(name, "rest"): v for name, v in rest.items()},
                    **{(name, "added"): playing[name] - v for name, v in rest.items()}}
        figures = median_of_rounds(round_of_both)
    finally:
        program.stop()
    return {name: (figures[name, "rest"], figures[name, "added"]) for name in processes}


def bare_wave_out(seconds, env):
    """What a bare waveOut player buffered as ours adds, its own CPU and the Wine
    server's, in CPU seconds a minute: Wine's share of any such player."""
    server = {"Wine server": wine_server()}

    def one_round():
        idle = per_minute(server, seconds)["Wine server"]
        player = subprocess.Popen([WINE, str(BARE_WAVE_OUT), str(int(seconds) + 6)], env=dict(os.environ, **env))
        time.sleep(3)
        used = per_minute({"player": player.pid, **server}, seconds)
        player.wait()
        return {"player": used["player"], "server": used["Wine server"] - idle}
    figures = median_of_rounds(one_round)
    return figures["player"], figures["server"]


def cpu(driver, seconds):
    print(f"\nCPU seconds a minute ({seconds:g} s a phase, median of {ROUNDS}; the demo tunes, the real output plug-in)")
    print("waveOut: a device that plays in real time; silent: no device opens, the paced silent sink")
    device = PacedDevice()
    try:
        sinks = {"waveOut": cpu_phases(driver, seconds, device.env)}
        played, silence = device.played / PacedDevice.RATE, device.silence / PacedDevice.RATE
        bare = bare_wave_out(seconds, device.env) if BARE_WAVE_OUT.exists() else None
    finally:
        device.close()
    # A default device that names a card nobody has.
    nowhere = Path(tempfile.mkdtemp(prefix="wuzzle-nodevice-"))
    (nowhere / "alsa.conf").write_text("</usr/share/alsa/alsa.conf>\npcm.!default { type hw card 31 }\n")
    try:
        sinks["silent"] = cpu_phases(driver, seconds, {"ALSA_CONFIG_PATH": str(nowhere / "alsa.conf")})
    finally:
        shutil.rmtree(nowhere, ignore_errors=True)
    print(f"{'':12}" + "".join(f"{sink + ': at rest':>17}{'added':>7}" for sink in sinks))
    for name in sinks["waveOut"]:
        row = "".join(f"{rest:17.2f}{added:7.2f}" for rest, added in (sinks[sink][name] for sink in sinks))
        print(f"{name:12}{row}")
    print(f"the device played {played:.1f} s in the waveOut phases of {ROUNDS} x {seconds:g} s playing,"
          f" {silence:.1f} s of it silence")
    if bare:
        print(f"Wine's share: a bare waveOut player buffered as ours (silence, no decoding) adds {bare[0]:.2f}"
              f" itself and {bare[1]:.2f} to the Wine server")
    else:
        print(f"(no {BARE_WAVE_OUT.name}: build the preset for Wine's share of waveOut)")


def main():
    parts = sys.argv[1:] or ["startup", "gaps", "cpu"]
    pool()
    if "startup" in parts:
        startup(driver)
    if "gaps" in parts:
        gaps(driver)
    if "cpu" in parts:
        cpu(driver, float(os.environ.get("PHASE_SECONDS", "10")))


if __name__ == "__main__":
    main()
