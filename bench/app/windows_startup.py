#!/usr/bin/python3
"""Start-up of kalvet.exe under Wine beside a bare Win32 window, and the sizes of the
executable and its zip.

    /usr/bin/python3 bench/app/windows_startup.py --zip kalvet-1.00-win64.zip \\
        --bare barewindow.exe --driver windowdriver.exe --wine-run scripts/windows/wine-run

kalvet.exe runs from the unpacked zip, as a user would start it. Each run is one call of the
window driver, which takes the time inside Wine from CreateProcess until the program's
top-level window is visible, then closes it. The two programs are started alternately, after
two warm-up runs each, with one wineserver kept running for the whole benchmark (a "warm"
wineserver: the prefix is loaded once). Figures are medians with the spread; nothing here
asserts on time.
"""

import argparse
import os
import pathlib
import re
import statistics
import subprocess
import sys
import tempfile
import zipfile

WARM_UP = 2


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def start_once(args, program, title):
    # Into a file, not a pipe: Wine's own helper processes, which stay while the wineserver
    # does, would hold a pipe open.
    with tempfile.TemporaryFile(mode="w+") as output:
        run = subprocess.run([args.wine_run, args.driver, windows_path(program), title, "60000"],
                             stdout=output, stderr=subprocess.STDOUT, timeout=120)
        output.seek(0)
        report = output.read()
    shown = re.search(r"^window ([0-9.]+)$", report, re.M)
    if run.returncode != 0 or not shown:
        sys.exit(f"{program} did not start and close cleanly:\n{report}")
    return float(shown.group(1))


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--zip", required=True)
    parser.add_argument("--bare", required=True)
    parser.add_argument("--driver", required=True)
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--runs", type=int, default=10)
    args = parser.parse_args()

    here = pathlib.Path(args.wine_run).parent
    prefix = subprocess.run([here / "wine-prefix"], capture_output=True, text=True,
                            check=True).stdout.splitlines()[-1]
    server_env = dict(os.environ, WINEPREFIX=prefix)
    # One wineserver for every run: it stays until it is told to go.
    subprocess.run(["/usr/lib/wine/wineserver", "--persistent"], env=server_env, check=True)
    try:
        with tempfile.TemporaryDirectory() as scratch:
            with zipfile.ZipFile(args.zip) as archive:
                archive.extractall(scratch)
            kalvet = next(pathlib.Path(scratch).iterdir()) / "kalvet.exe"
            programs = {"bare Win32 window": (args.bare, "Bare window"),
                        "kalvet.exe": (kalvet, "Kalvet 1.2")}
            times = {name: [] for name in programs}
            for run in range(WARM_UP + args.runs):
                for name, (program, title) in programs.items():
                    shown = start_once(args, program, title)
                    if run >= WARM_UP:
                        times[name].append(shown)
            print(f"start until the window is shown, under Wine, median of {args.runs} (ms):")
            for name, values in times.items():
                print(f"  {name:18} {statistics.median(values):7.1f}"
                      f"   (min {min(values):.1f}, max {max(values):.1f})")
            ratio = statistics.median(times["kalvet.exe"]) / statistics.median(
                times["bare Win32 window"])
            print(f"  kalvet.exe / bare window: {ratio:.2f}x")
            unpacked = sum(f.stat().st_size for f in kalvet.parent.rglob("*") if f.is_file())
            print(f"kalvet.exe: {kalvet.stat().st_size / 1024:.0f} KiB;"
                  f" unpacked folder: {unpacked / 2**20:.1f} MiB;"
                  f" zip: {pathlib.Path(args.zip).stat().st_size / 2**20:.1f} MiB")
    finally:
        subprocess.run(["/usr/lib/wine/wineserver", "--kill"], env=server_env)


if __name__ == "__main__":
    main()
