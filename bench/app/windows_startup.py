#!/usr/bin/python3
"""Start-up of kalvet.exe under Wine beside a bare Win32 window, and the sizes of the
executable and its zip.

    /usr/bin/python3 bench/app/windows_startup.py --zip kalvet-1.00-win64.zip \\
        --bare barewindow.exe --driver windowdriver.exe --wine-run scripts/windows/wine-run \\
        [--graphics null x11]

kalvet.exe runs from the unpacked zip, as a user would start it. Each run is one call of the
window driver, which takes the time inside Wine from CreateProcess until the program's
top-level window is visible, then closes it. The two programs are started alternately, after
two warm-up runs each, with one wineserver kept running for the whole benchmark (a "warm"
wineserver: the prefix is loaded once). The runs use a scratch copy of the test prefix with a
wineserver of its own, so test suites using the prefix meanwhile do not get in the way.
Figures are medians with the spread; nothing here asserts on time.

--graphics names Wine's display drivers to measure with, one after the other:
  null  windows go to Wine's null driver, as in the test suites;
  x11   Wine's X11 driver on a private Xvfb display (no window manager), as a desktop user
        would see it; the copy's only change is the driver.
Where Wine cannot run the program here (a 32-bit one where the kernel runs no 32-bit code),
wine-run says why and the benchmark prints that instead of figures.
"""

import argparse
import pathlib
import re
import statistics
import subprocess
import sys
import tempfile
import zipfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "tests" / "app"))

from e2e.wine import ScratchPrefix  # noqa: E402

WARM_UP = 2
# wine-run's exit status when Wine cannot run the program on this machine at all.
SKIPPED = 200


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def run_wine(driver, argv):
    """Runs a Windows program; returns its exit status and what it printed."""
    # Into a file, not a pipe: Wine's own helper processes, which stay while the wineserver
    # does, would hold a pipe open.
    command, env = driver.command(argv)
    with tempfile.TemporaryFile(mode="w+") as output:
        run = subprocess.run(command, env=env, stdout=output, stderr=subprocess.STDOUT,
                             timeout=120)
        output.seek(0)
        return run.returncode, output.read()


def start_once(driver, args, program, title):
    status, report = run_wine(driver, [args.driver, windows_path(program), title, "60000"])
    shown = re.search(r"^window ([0-9.]+)$", report, re.M)
    if status != 0 or not shown:
        sys.exit(f"{program} did not start and close cleanly ({driver.name}):\n{report}")
    return float(shown.group(1))


def measure(driver, args, programs):
    """Runs each program alternately; returns the times by name."""
    times = {name: [] for name in programs}
    for run in range(WARM_UP + args.runs):
        for name, (program, title) in programs.items():
            shown = start_once(driver, args, program, title)
            if run >= WARM_UP:
                times[name].append(shown)
    return times


def report(driver, args, times):
    print(f"{driver.name}: start until the window is shown, median of {args.runs} (ms):")
    for name, values in times.items():
        print(f"  {name:18} {statistics.median(values):7.1f}"
              f"   (min {min(values):.1f}, max {max(values):.1f})")
    ratio = statistics.median(times["kalvet.exe"]) / statistics.median(
        times["bare Win32 window"])
    print(f"  kalvet.exe / bare window: {ratio:.2f}x")


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--zip", required=True)
    parser.add_argument("--bare", required=True)
    parser.add_argument("--driver", required=True)
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--runs", type=int, default=10)
    parser.add_argument("--graphics", nargs="+", choices=("null", "x11"), default=["null"])
    args = parser.parse_args()

    here = pathlib.Path(args.wine_run).parent
    prefix = subprocess.run([here / "wine-prefix"], capture_output=True, text=True,
                            check=True).stdout.splitlines()[-1]
    with tempfile.TemporaryDirectory() as scratch:
        with zipfile.ZipFile(args.zip) as archive:
            archive.extractall(scratch)
        kalvet = next(pathlib.Path(scratch).iterdir()) / "kalvet.exe"
        programs = {"bare Win32 window": (args.bare, "Bare window"),
                    "kalvet.exe": (kalvet, "Kalvet 1.2")}
        # The window driver alone only prints how to call it; wine-run says instead when
        # Wine cannot run a program of its kind here.
        with tempfile.TemporaryFile(mode="w+") as output:
            check = subprocess.run([args.wine_run, args.driver], stdout=output,
                                   stderr=subprocess.STDOUT)
            output.seek(0)
            if check.returncode == SKIPPED:
                print(output.read().strip())
                return
        for graphics in args.graphics:
            wine = ScratchPrefix(prefix, scratch, graphics)
            try:
                wine.start()
                report(wine, args, measure(wine, args, programs))
            finally:
                wine.close()
        unpacked = sum(f.stat().st_size for f in kalvet.parent.rglob("*") if f.is_file())
        print(f"kalvet.exe: {kalvet.stat().st_size / 1024:.0f} KiB;"
              f" unpacked folder: {unpacked / 2**20:.1f} MiB;"
              f" zip: {pathlib.Path(args.zip).stat().st_size / 2**20:.1f} MiB")


if __name__ == "__main__":
    main()
