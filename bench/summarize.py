"""Prints the benchmark figures of bench/frame_bench as ratios: every number beside the
reference that gives it a meaning, all measured in the same run.

    summarize.py RESULTS.json
"""
import json
import sys

FRAME_BUDGET_US = 20_000.0


def main(path):
    with open(path) as f:
        results = json.load(f)
    times = {}
    for run in results["benchmarks"]:
        if run.get("run_type", "iteration") != "iteration":
            continue
        unit = {"ns": 1e-3, "us": 1.0, "ms": 1e3}[run["time_unit"]]
        times[run["name"]] = run["real_time"] * unit  # microseconds
    context = results["context"]
    print(f"Machine: {context.get('num_cpus')} CPUs at {context.get('mhz_per_cpu')} MHz, "
          f"{context.get('host_name')}, {context.get('date')}")
    floor = times["BM_FitFloorMemcpy"]
    print(f"\nFit to 640x480 (memcpy of the result, the floor: {floor:.1f} us)")
    print(f"{'source':>11} {'fit us':>9} {'x floor':>8} {'x floors':>9} {'plain rule':>11} "
          f"{'zoomSurface':>12}")
    for size in ("320/240", "1152/864", "4000/3000", "8000/6000"):
        fit = times[f"BM_Fit/{size}"]
        plain = times[f"BM_FitPlainRule/{size}"]
        zoom = times[f"BM_FitZoomSurface/{size}"]
        rows = times[f"BM_FitFloorSourceRows/{size}"]
        print(f"{size.replace('/', 'x'):>11} {fit:9.1f} {fit / floor:8.2f} {fit / (floor + rows):9.2f} "
              f"{plain / fit:10.1f}x {zoom / fit:11.1f}x")
    print("  x floor: against writing the result; x floors: against writing the result and")
    print("  reading, whole, the source rows the fit takes. plain rule and zoomSurface: how")
    print("  many times slower than the fit.")
    print(f"\nOne frame, against the {FRAME_BUDGET_US / 1000:.0f} ms frame budget")
    for name, label in (("BM_FrameSliding", "tiles sliding"), ("BM_FrameAtRest", "at rest"),
                        ("BM_FramePeek", "peek"), ("BM_FrameFlip", "presenting (SDL_Flip)")):
        t = times[name]
        print(f"  {label:<22} {t:8.1f} us  {100 * t / FRAME_BUDGET_US:5.2f} % of the budget")
    print("\nLoading and fitting a large picture")
    for name, label in (("BM_LoadAndFit/jpeg_6000x4000", "JPEG 6000x4000"),
                        ("BM_LoadAndFit/png_4000x3000", "PNG 4000x3000")):
        t = times[name]
        print(f"  {label:<22} {t / 1000:8.1f} ms  {t / FRAME_BUDGET_US:5.1f} frames")


if __name__ == "__main__":
    main(sys.argv[1])
