"""Whole-program figures of the real game under a virtual X server, side by side in one run.

For a 640x480 picture and a 24-megapixel one: time from start to the first presented
frame, CPU used per second at rest and while tiles slide, resident memory (peak and at
rest), and the period between presented frames during a slide (median, 99th percentile).
Presented frames are timed by bench/flip_probe, loaded with LD_PRELOAD; the dialog is a
stand-in that cancels at once, so the picture on the command line is played.

    measure_game.py GAME ASSETS FLIP_PROBE MEASURE_LOAD
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e"))
import robot  # noqa: E402

GAME, ASSETS, PROBE, MEASURE_LOAD = map(os.path.abspath, sys.argv[1:5])
TICKS = os.sysconf("SC_CLK_TCK")
WINDOW_SECONDS = 5.0


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS  # utime + stime


def memory_mb(pid, field):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith(field + ":"):
                return int(line.split()[1]) / 1024
    return 0.0


def flips(log):
    with open(log) as f:
        return [int(line) for line in f if line.strip()]


def measure(screen, scratch, picture):
    log = os.path.join(scratch, "flips.log")
    if os.path.exists(log):
        os.remove(log)
    env = dict(screen.env)
    env["LD_PRELOAD"] = PROBE
    env["QUILBRACK_FLIP_LOG"] = log
    env["PATH"] = os.path.join(scratch, "bin") + ":" + env["PATH"]
    started = time.monotonic()
    game = subprocess.Popen([os.path.abspath(GAME), picture], cwd=scratch, env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        robot.wait_for("the first presented frame",
                       lambda: os.path.exists(log) and flips(log), 30)
        first = flips(log)[0] / 1e6 - started
        window = screen.wait_window(robot.GAME_TITLE)

        # At rest: wait until nothing has been presented for a second.
        robot.wait_for("the board at rest",
                       lambda: time.monotonic() - flips(log)[-1] / 1e6 > 1.0, 30, 0.2)
        before = cpu_seconds(game.pid)
        time.sleep(WINDOW_SECONDS)
        rest_cpu = (cpu_seconds(game.pid) - before) / WINDOW_SECONDS
        rest_rss = memory_mb(game.pid, "VmRSS")

        # Sliding: the tile left of the blank (which a deal leaves in the corner) goes right
        # and back, a new click before each slide ends.
        count_before = len(flips(log))
        before = cpu_seconds(game.pid)
        slide_started = time.monotonic()
        slot = 14
        while time.monotonic() - slide_started < WINDOW_SECONDS:
            x, y = (slot % 4) * 160 + 80, (slot // 4) * 120 + 60
            screen.xdotool("mousemove", "--window", window, x, y, "click", 1)
            slot = 29 - slot  # 14, 15, 14, ...
            time.sleep(0.5)
        slide_cpu = (cpu_seconds(game.pid) - before) / (time.monotonic() - slide_started)
        stamps = flips(log)[count_before:]
        periods = sorted((b - a) / 1000 for a, b in zip(stamps, stamps[1:]))
        peak_rss = memory_mb(game.pid, "VmHWM")
        screen.close_window(window)
        game.wait(10)
        return {
            "first frame ms": first * 1000,
            "CPU at rest %": rest_cpu * 100,
            "CPU sliding %": slide_cpu * 100,
            "RSS at rest MB": rest_rss,
            "RSS peak MB": peak_rss,
            "frame period median ms": statistics.median(periods),
            "frame period p99 ms": periods[min(len(periods) - 1, int(len(periods) * 0.99))],
            "frames presented in slide window": len(stamps),
        }
    finally:
        if game.poll() is None:
            game.kill()


def main():
    scratch = tempfile.mkdtemp(prefix="quilbrack-measure-")
    os.makedirs(os.path.join(scratch, "bin"))
    with open(os.path.join(scratch, "bin", "zenity"), "w") as f:
        f.write("#!/bin/sh\nexit 1\n")  # the player cancels: the argument is played
    os.chmod(os.path.join(scratch, "bin", "zenity"), 0o755)
    for name in ("icon.png", "err.png"):
        subprocess.run(["cp", os.path.join(ASSETS, name), scratch], check=True)
    large = os.path.join(scratch, "photo-6000x4000.jpg")
    subprocess.run([MEASURE_LOAD, "--make", "jpg", "6000", "4000", large], check=True)
    screen = robot.VirtualScreen(scratch)
    try:
        results = {
            "640x480 PNG": measure(screen, scratch, os.path.join(ASSETS, "sample.png")),
            "6000x4000 JPEG": measure(screen, scratch, large),
        }
    finally:
        screen.close()
        subprocess.run(["rm", "-rf", scratch])
    names = list(results)
    print(f"| figure | {' | '.join(names)} |")
    print(f"|---|{'---|' * len(names)}")
    for figure in results[names[0]]:
        cells = " | ".join(f"{results[name][figure]:.1f}" for name in names)
        print(f"| {figure} | {cells} |")


if __name__ == "__main__":
    main()
