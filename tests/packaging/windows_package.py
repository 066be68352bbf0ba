#!/usr/bin/python3
"""Checks of the Windows build, from Linux and under Wine:

  contents ZIP --expect NAME... --system-dlls DIR
      the zip unpacks into one folder named after it, holding exactly the expected files, and
      every DLL that a program or DLL in it imports is in it too or is one of Windows' own
      (those that Wine provides in DIR, and API sets);
  resources EXE --machine NAME
      the executable's header (machine, GUI subsystem), its version record and its icon group;
  smoke ZIP --driver EXE --wine-run SCRIPT
      unpacked into a folder whose path has a space and Czech letters, kalvet.exe starts, shows
      its window "Kalvet 1.2" and ends with exit code 0 when that window is closed; without
      Qt6Widgets.dll it fails at once, naming the missing DLL; without the platform plugin it
      says so in a message box, and ends once that is answered.

Each prints what it read and ends with status 0 when all holds, 1 otherwise; smoke ends with
200 when Wine cannot run the driver on this machine at all (see scripts/windows/wine-run).
Needs Debian's python3-pefile and icoutils (wrestool, icotool)."""

import argparse
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

import pefile

WINE_CANNOT_RUN = 200
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what)
    if not condition:
        failures.append(what)


def imported_dlls(data):
    pe = pefile.PE(data=data, fast_load=True)
    pe.parse_data_directories(
        directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_IMPORT"]])
    return {entry.dll.decode().lower() for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", [])}


def is_api_set(dll):
    """API set names (api-ms-win-..., ext-ms-win-...) are not files: the Windows loader maps
    them onto its own DLLs, and Wine's loader does the same."""
    return dll.startswith(("api-ms-win-", "ext-ms-win-"))


def contents(args):
    archive = zipfile.ZipFile(args.zip)
    top = pathlib.Path(args.zip).name.removesuffix(".zip")
    files = sorted(name for name in archive.namelist() if not name.endswith("/"))
    print("\n".join(files))
    expected = sorted(f"{top}/{name}" for name in args.expect)
    check(files == expected, f"the zip holds exactly {', '.join(args.expect)} in {top}/")

    shipped = {pathlib.PurePosixPath(name).name.lower() for name in files}
    windows_own = {path.name.lower() for path in pathlib.Path(args.system_dlls).iterdir()}
    for name in files:
        if name.lower().endswith((".exe", ".dll")):
            missing = {dll for dll in imported_dlls(archive.read(name)) - shipped - windows_own
                       if not is_api_set(dll)}
            check(not missing, f"{name} finds every DLL it imports"
                  + (f" (not found: {', '.join(sorted(missing))})" if missing else ""))


def version_record(pe):
    """The string table's name and values, and the translation entries, as pefile reads them."""
    tables, translations = {}, []
    for info in pe.FileInfo[0]:
        if info.Key == b"StringFileInfo":
            for table in info.StringTable:
                tables[table.LangID.decode()] = {
                    key.decode(): value.decode() for key, value in table.entries.items()}
        elif info.Key == b"VarFileInfo":
            for var in info.Var:
                translations += var.entry.get(b"Translation", "").split()
    return tables, translations


def icon_images(exe):
    """icotool's line for each image of the executable's first icon group."""
    group = subprocess.run(["wrestool", "--extract", "--type=14", exe],
                           capture_output=True, check=True).stdout
    listing = subprocess.run(["icotool", "--list", "-"], input=group,
                             capture_output=True, check=True).stdout.decode()
    return listing.splitlines()


def resources(args):
    pe = pefile.PE(args.exe)
    machine = pefile.MACHINE_TYPE[pe.FILE_HEADER.Machine]
    check(machine == f"IMAGE_FILE_MACHINE_{args.machine}", f"machine {args.machine} ({machine})")
    subsystem = pefile.SUBSYSTEM_TYPE[pe.OPTIONAL_HEADER.Subsystem]
    check(subsystem == "IMAGE_SUBSYSTEM_WINDOWS_GUI", f"GUI subsystem ({subsystem})")

    tables, translations = version_record(pe)
    print(f"version record: {tables}, translations {translations}")
    check(list(tables) == ["040904B0"], "one string table, 040904B0")
    strings = tables.get("040904B0", {})
    for key in ("FileVersion", "ProductVersion"):
        check(strings.get(key) == "1.00", f"{key} 1.00 ({strings.get(key)})")
    fixed = pe.VS_FIXEDFILEINFO[0]
    check((fixed.FileVersionMS, fixed.FileVersionLS) == (0x10000, 0), "fixed file version 1.0.0.0")
    check(translations == ["0x0409", "0x04b0"], "translation 0x0409, 1200")

    images = icon_images(args.exe)
    print("\n".join(images))

    def has(width, depth):
        pattern = rf"--width={width} --height={width} --bit-depth={depth}\b"
        return any(re.search(pattern, line) for line in images)

    check(has(32, 8) and any("--palette-size=256" in line for line in images),
          "icon: a 32x32 image in 256 colours")
    check(has(32, 32), "icon: a 32x32 true-colour image")
    check(all(has(size, 32) for size in (16, 48)), "icon: 16x16 and 48x48 images")


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def drive(args, folder, **environment):
    """Runs the window driver on kalvet.exe in folder; returns its status and output."""
    command = [args.wine_run, args.driver, windows_path(folder / "kalvet.exe"), "Kalvet 1.2",
               "60000"]
    # A UTF-8 locale, so that Wine reads the folder's Czech letters right.
    env = dict(os.environ, LC_ALL="C.UTF-8", **environment)
    # The driver itself ends the program after 60 s; this is the backstop for Wine itself.
    run = subprocess.run(command, capture_output=True, text=True, env=env, timeout=120)
    print(f"$ {' '.join(command)}\n{run.stdout}{run.stderr}", end="")
    return run


def smoke(args):
    with tempfile.TemporaryDirectory() as scratch:
        with zipfile.ZipFile(args.zip) as archive:
            archive.extractall(scratch)
        unpacked = next(pathlib.Path(scratch).iterdir())
        # Anywhere a user may put it: a path with a space and letters outside ASCII.
        folder = pathlib.Path(scratch) / "Moje programy" / "Kalvet příklad"
        folder.parent.mkdir()
        unpacked.rename(folder)

        run = drive(args, folder)
        if run.returncode == WINE_CANNOT_RUN:
            return WINE_CANNOT_RUN
        check(re.search(r"^window [0-9.]+$", run.stdout, re.M) is not None,
              'kalvet.exe shows its window "Kalvet 1.2"')
        check("exit 00000000" in run.stdout, "closing the window ends it with exit code 0")

        for removed, holds, what in BROKEN_COPIES:
            broken = pathlib.Path(scratch) / f"bez {pathlib.PurePosixPath(removed).name}"
            shutil.copytree(folder, broken)
            (broken / removed).unlink()
            check(holds(drive(args, broken, WINEDEBUG="-all,err+module")), what)


# A folder with a DLL missing: the file removed, what the run shows, and what that means.
BROKEN_COPIES = [
    ("Qt6Widgets.dll",
     lambda run: "no window" in run.stdout and "exit c0000135" in run.stdout
     and "Qt6Widgets.dll" in run.stderr,
     "without Qt6Widgets.dll it ends at once: DLL not found (c0000135), naming the DLL"),
    ("platforms/qwindows.dll",
     lambda run: re.search(r"^message This application failed to start because no Qt platform"
                           r" plugin could be initialized", run.stdout, re.M) is not None
     and "exit 00000001" in run.stdout,
     "without platforms/qwindows.dll it says so in a message box and, answered, ends with 1"),
]


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    commands = parser.add_subparsers(dest="command", required=True)
    command = commands.add_parser("contents")
    command.add_argument("zip")
    command.add_argument("--expect", nargs="+", required=True)
    command.add_argument("--system-dlls", required=True)
    command = commands.add_parser("resources")
    command.add_argument("exe")
    command.add_argument("--machine", required=True, choices=["I386", "AMD64"])
    command = commands.add_parser("smoke")
    command.add_argument("zip")
    command.add_argument("--driver", required=True)
    command.add_argument("--wine-run", required=True)
    args = parser.parse_args()
    status = {"contents": contents, "resources": resources, "smoke": smoke}[args.command](args)
    if status is not None:
        return status
    print(f"{len(failures)} failed" if failures else "all hold")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
