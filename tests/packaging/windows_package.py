#!/usr/bin/python3
"""Checks of the Windows build, from Linux and under Wine:

  contents ZIP --expect NAME... --system-dlls DIR
      the zip unpacks into one folder named after it, holding exactly the expected files, and
      every DLL that the program in it imports is one of Windows' own (those that Wine
      provides in DIR, and API sets);
  resources EXE --machine NAME
      the executable's header (machine, GUI subsystem), its version record, its icon group and
      its application manifest (RT_MANIFEST 1: the versions of Windows it supports, per-monitor
      DPI awareness, no elevation);
  smoke ZIP --driver EXE --wine-run SCRIPT --uia DLL --uia-root EXE
      kalvet.exe copied alone into an empty folder whose path has a space and Czech letters,
      in a copy of the test prefix with Wine's X11 driver on a private Xvfb display, in a
      Czech locale, with DLL (a stand-in for UIAutomationCore.dll that records what the
      program tells UI Automation) as the system's: used from the keyboard as USER_ACTIONS
      has it, it adds 2 and 3, shows "Průměr zadaných čísel je 2,5." (read off the screen)
      with the buttons' captions drawn bold (by the width of their strokes), raises each
      message as a UI Automation notification once, from a Text element named by it, and
      nothing for an accepted add or Reset, leaves the focus where it was, and ends with exit
      code 0 after "Konec" (Ctrl+K) and its box. Twice: with the main window asked for its
      UI Automation root (by EXE) at the start, and only after the first message, as by a
      screen reader that starts after the program;
  msi MSI --zip ZIP --upgrade-code GUID --icon ICO --machine NAME --driver EXE --wine-run SCRIPT
      the package's Property table names the program, its version, publisher and upgrade code;
      in a copy of the Wine test prefix, `msiexec /i MSI /qn` installs exactly the zip's files
      into Program Files\Kalvet, where kalvet.exe passes the smoke run, with a Start-menu
      shortcut and an uninstall entry with the calculator icon; `msiexec /x MSI /qn` removes
      every file, the shortcut and the entry.

Each prints what it read and ends with status 0 when all holds, 1 otherwise; smoke and msi end
with 200 when Wine cannot run the driver on this machine at all (see scripts/windows/wine-run).
Needs Debian's python3-pefile, icoutils (wrestool, icotool) and msitools (msiinfo); smoke
also Xvfb, xdotool, ImageMagick and Tesseract with its Czech data."""

import argparse
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ElementTree
import zipfile

import pefile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "app"))

from e2e import pixels  # noqa: E402
from e2e.waiting import WaitTimeout, poll  # noqa: E402
from e2e.wine import WINE, ScratchPrefix  # noqa: E402
from e2e.xwin import XDesktop, press_keys, run_xdotool  # noqa: E402

WINE_CANNOT_RUN = 200
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what)
    if not condition:
        failures.append(what)


def imported_dlls(data):
    """The DLLs loaded at start (the import table) and those loaded at the first call of one of
    their functions (delay-loaded): the linker puts their names in the import section too."""
    pe = pefile.PE(data=data, fast_load=True)
    pe.parse_data_directories(
        directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_IMPORT"]])
    at_start = {entry.dll.decode().lower() for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", [])}
    imports = b"".join(section.get_data() for section in pe.sections
                       if section.Name.rstrip(b"\0") == b".idata")
    named = {name.decode().lower() for name in re.findall(
        rb"(?<![A-Za-z0-9_.-])[A-Za-z0-9_-][A-Za-z0-9_.-]{0,60}\.dll", imports, re.IGNORECASE)}
    return at_start, named - at_start


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

    windows_own = {path.name.lower() for path in pathlib.Path(args.system_dlls).iterdir()}
    for name in files:
        if name.lower().endswith((".exe", ".dll")):
            at_start, later = imported_dlls(archive.read(name))
            print(f"{name} imports {', '.join(sorted(at_start))}; at their first call "
                  f"{', '.join(sorted(later)) or 'nothing'}")
            imported = at_start | later
            others = {dll for dll in imported - windows_own if not is_api_set(dll)}
            check(not others, f"{name} imports only Windows' own DLLs"
                  + (f" (not Windows': {', '.join(sorted(others))})" if others else ""))


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
    for key, value in VERSION_STRINGS.items():
        check(strings.get(key) == value, f'{key} "{value}" ({strings.get(key)})')
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

    manifests = [entry for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries
                 if kind.id == pefile.RESOURCE_TYPE["RT_MANIFEST"]
                 for entry in kind.directory.entries]
    check([(entry.id, len(entry.directory.entries)) for entry in manifests] == [(1, 1)],
          f"one manifest, RT_MANIFEST 1 ({[entry.id for entry in manifests]})")
    if manifests:
        data = manifests[0].directory.entries[0].data.struct
        manifest = pe.get_data(data.OffsetToData, data.Size).decode("utf-8")
        print(manifest)
        root = ElementTree.fromstring(manifest)
        for path, attribute, expected, what in MANIFEST:
            found = sorted(element.get(attribute) if attribute else element.text
                           for element in root.iterfind(path, MANIFEST_NAMESPACES))
            check(found == sorted(expected), f"manifest: {what} ({found})")


VERSION_STRINGS = {
    "FileVersion": "1.00",
    "ProductVersion": "1.00",
    "CompanyName": "The Kalvet developers",
    "LegalCopyright": "Copyright (c) 2026 The Kalvet developers",
}
# What the manifest holds: where, which attribute (or the text), the values, and what they mean.
MANIFEST = [
    (".//compat:supportedOS", "Id", ["{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                                     "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                                     "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                                     "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"],
     "supportedOS Windows 7, 8, 8.1, 10 and 11"),
    (".//v3:windowsSettings/ws2016:dpiAwareness", None, ["PerMonitorV2, PerMonitor"],
     "per-monitor v2 DPI awareness"),
    (".//v3:windowsSettings/ws2005:dpiAware", None, ["true/pm"],
     "per-monitor DPI awareness before Windows 10"),
    (".//v3:requestedExecutionLevel", "level", ["asInvoker"], "runs as invoked"),
]
MANIFEST_NAMESPACES = {
    "compat": "urn:schemas-microsoft-com:compatibility.v1",
    "v3": "urn:schemas-microsoft-com:asm.v3",
    "ws2005": "http://schemas.microsoft.com/SMI/2005/WindowsSettings",
    "ws2016": "http://schemas.microsoft.com/SMI/2016/WindowsSettings",
}


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def drive(args, folder, *, program=None, prefix=None, **environment):
    """Runs the window driver on kalvet.exe in folder (or on the given Windows path, in the
    given Wine prefix); returns its status and output."""
    options = ["--prefix", str(prefix)] if prefix else []
    program = program or windows_path(folder / "kalvet.exe")
    command = [args.wine_run, *options, args.driver, program, "Kalvet 1.2", "60000"]
    # A UTF-8 locale, so that Wine reads the folder's Czech letters right.
    env = dict(os.environ, LC_ALL="C.UTF-8", **environment)
    # The driver itself ends the program after 60 s; this is the backstop for Wine itself.
    run = subprocess.run(command, capture_output=True, text=True, env=env, timeout=120)
    print(f"$ {' '.join(command)}\n{run.stdout}{run.stderr}", end="")
    return run


def smoke(args):
    with tempfile.TemporaryDirectory() as scratch:
        # Anywhere a user may put it: a path with a space and letters outside ASCII.
        folder = pathlib.Path(scratch) / "Moje programy" / "Kalvet příklad"
        folder.mkdir(parents=True)
        with zipfile.ZipFile(args.zip) as archive:
            exe = next(name for name in archive.namelist() if name.endswith("/kalvet.exe"))
            (folder / "kalvet.exe").write_bytes(archive.read(exe))
        print(f"{folder}: {', '.join(sorted(path.name for path in folder.iterdir()))}")
        if wine_cannot_run(args):
            return WINE_CANNOT_RUN
        wine = ScratchPrefix(test_prefix(args), scratch, "x11")
        try:
            wine.start()
            installed = install_system_dll(wine.prefix, args.uia, "uiautomationcore.dll")
            print(f"{args.uia} installed as {installed}")
            for late in (False, True):
                use_alone(wine, folder / "kalvet.exe", pathlib.Path(scratch), args, late)
        finally:
            wine.close()


def wine_cannot_run(args):
    """Whether Wine cannot run a program of the build's kind here at all: the window driver
    alone only prints how to call it, and wine-run says instead when Wine cannot run it."""
    run = subprocess.run([args.wine_run, args.driver], capture_output=True, text=True)
    if run.returncode == WINE_CANNOT_RUN:
        print(run.stdout.strip())
    return run.returncode == WINE_CANNOT_RUN


def test_prefix(args):
    wine_prefix = pathlib.Path(args.wine_run).with_name("wine-prefix")
    return subprocess.run([str(wine_prefix)], capture_output=True, text=True,
                          check=True).stdout.splitlines()[-1]


def install_system_dll(prefix, dll, name):
    """Puts the DLL among Windows' own DLLs in the prefix, as name (which Wine's placeholder
    for its own build has): in system32 for a 64-bit DLL, for a 32-bit one in syswow64 where
    the prefix is a 64-bit one (the test prefix is), as 32-bit programs see their system
    folder there."""
    windows = pathlib.Path(prefix) / "drive_c" / "windows"
    machine = pefile.PE(dll, fast_load=True).FILE_HEADER.Machine
    wow64 = windows / "syswow64"
    folder = wow64 if machine == pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"] and \
        wow64.is_dir() else windows / "system32"
    target = folder / name
    shutil.copyfile(dll, target)
    return target


# What a keyboard user does, from the start with the focus in the entry box, and what a screen
# reader must then be told through UI Automation: (the action, its keys, the message raised
# as a notification once, or None for none, the control with the focus afterwards).
AVERAGE = "Průměr zadaných čísel je 2,5."
REJECTED = "Nic jsi nezadal!"
USER_ACTIONS = [
    ("types 2, Tab, space on Přičti", ["2", "Tab", "space"], None, "Přičti"),
    ("Shift+Tab, 3, Tab, space", ["shift+Tab", "3", "Tab", "space"], None, "Přičti"),
    ("Tab to Průměr, space", ["Tab", "space"], AVERAGE, "Průměr"),
    ("space on Průměr again", ["space"], AVERAGE, "Průměr"),
    ("Shift+Tab, space on Přičti with the entry empty", ["shift+Tab", "space"], REJECTED,
     "Přičti"),
    ("space on Přičti again", ["space"], REJECTED, "Přičti"),
    ("Alt, Right, Down, Return: Zobrazit, Počet zadaných čísel",
     ["alt", "Right", "Down", "Return"], "Počet zadaných čísel je 2.", "Přičti"),
    ("Alt, Right, Down, Down, Return: Zobrazit, Poslední zadané číslo",
     ["alt", "Right", "Down", "Down", "Return"], "Poslední zadané číslo je 3.", "Přičti"),
    ("Alt, Right, Down three times, Return: Zobrazit, Meziprůměr",
     ["alt", "Right", "Down", "Down", "Down", "Return"], "Meziprůměr je 2,5.", "Přičti"),
    ("Tab, Tab to Reset, space", ["Tab", "Tab", "space"], None, "Reset"),
    ("Shift+Tab, space on Průměr", ["shift+Tab", "space"], "Zatím jsi nezadal žádná čísla!",
     "Průměr"),
]
# UI Automation's ids: the focus-changed event and the Text control type, and the names of the
# control types that the main window's elements have.
FOCUS_CHANGED = "20005"
TEXT_CONTROL = "50020"
CONTROL_TYPES = {"50000": "Button", "50004": "Edit", "50011": "MenuItem", TEXT_CONTROL: "Text",
                 "50025": "Custom", "50032": "Window"}


class UiaLog:
    """What the stand-in UIAutomationCore.dll recorded: one record a line, (function, detail,
    the element's Name, its ControlType)."""

    def __init__(self, path):
        self.path = path

    def records(self):
        if not self.path.exists():
            return []
        lines = self.path.read_text(encoding="utf-8").splitlines()
        return [tuple((line.split("\t") + [""] * 4)[:4]) for line in lines]

    def settled(self):
        """The records, once the file has not grown for a moment."""
        def quiet():
            before = self.path.stat().st_size if self.path.exists() else 0
            time.sleep(0.5)
            after = self.path.stat().st_size if self.path.exists() else 0
            return before == after
        poll(quiet, 10.0, "UI Automation's calls to end")
        return self.records()


def notifications(records):
    return [(text, name, kind) for function, text, name, kind in records
            if function == "UiaRaiseNotificationEvent"]


def focused(records, before):
    """The Name of the element that last got the focus, else before."""
    names = [name for function, event, name, _ in records
             if function == "UiaRaiseAutomationEvent" and event == FOCUS_CHANGED]
    return names[-1] if names else before


def ask_root(wine, args):
    """Asks the main window for its UI Automation root, as a screen reader does."""
    command, env = wine.command([windows_path(args.uia_root), "Kalvet 1.2"])
    run = subprocess.run(command, env=env, capture_output=True, text=True, timeout=60)
    print(f"$ {' '.join(command)}\n{run.stdout}{run.stderr}", end="")
    check(run.returncode == 0, "the main window answers WM_GETOBJECT for UiaRootObjectId")


def use_alone(wine, exe, scratch, args, late):
    """Starts kalvet.exe with Wine's X11 driver in a Czech locale and uses it from the keyboard
    as a user would, row by row of USER_ACTIONS, while a screen reader follows: the main
    window is asked for its UI Automation root at the start, or (late) once the first message
    is on the screen. Reads the first average off the screen and ends it with "Konec"."""
    when = "root asked after the first message" if late else "root asked at the start"
    print(f"--- kalvet.exe, {when}")
    display = wine.session.display
    heard = UiaLog(scratch / f"uia-{'late' if late else 'start'}.log")
    env = dict(wine.env, LC_ALL="cs_CZ.UTF-8", KALVET_UIA_LOG=windows_path(heard.path),
               WINEDLLOVERRIDES=wine.env["WINEDLLOVERRIDES"] + ";uiautomationcore=n")
    with open(scratch / "kalvet.log", "w+") as log:
        program = subprocess.Popen([WINE, windows_path(exe)], env=env, cwd=scratch,
                                   stdout=log, stderr=subprocess.STDOUT)
        try:
            window = x_window(display, "Kalvet 1.2")
            check(window is not None, 'kalvet.exe shows its window "Kalvet 1.2"')
            if window is None:
                return
            desktop = XDesktop(display)
            try:
                run_xdotool(display, ["windowfocus", "--sync", window])
                listening = not late
                if listening:
                    ask_root(wine, args)
                # The window opens with the focus in the entry box; a screen reader that
                # starts later learns where it is from the next focus event.
                table, expected, focus = [], [], None if late else "Zadané číslo"
                looked = False
                for action, keys, message, focus_after in USER_ACTIONS:
                    mark = len(heard.records())
                    press_keys(display, *keys)
                    if message == AVERAGE and not looked:
                        # Also the sign that every key so far has been handled.
                        look_at_the_window(desktop, display, window, scratch)
                        looked = True
                    if not listening:
                        table.append(f"{action}: (no screen reader yet)")
                        if message is not None:
                            ask_root(wine, args)
                            listening = True
                        continue
                    expected += [message] if message else []
                    wait_for(heard, mark, message, focus, focus_after)
                    records = heard.settled()[mark:]
                    raised = notifications(records)
                    focus = focused(records, focus)
                    heard_now = "; ".join(
                        f'"{text}" from {CONTROL_TYPES.get(kind, kind)} "{name}"'
                        for text, name, kind in raised) or "nothing"
                    table.append(f"{action}: {heard_now}; focus on {focus or '(not told yet)'}")
                    check([text for text, _, _ in raised] == ([message] if message else []),
                          f"{when}: {action}: " + (f'"{message}" raised once' if message
                                                   else "nothing raised") + f" ({heard_now})")
                    if message:
                        check(all(name == text and kind == TEXT_CONTROL
                                  for text, name, kind in raised),
                              f"{when}: {action}: from a Text element named by the message")
                    check(focus in (None, focus_after),
                          f"{when}: {action}: the focus on {focus_after} ({focus})")
                press_keys(display, "ctrl+k")
                box = x_window(display, "Konec")
                check(box is not None, 'Ctrl+K shows the box "Konec"')
                if box is not None:
                    run_xdotool(display, ["windowfocus", "--sync", box])
                    press_keys(display, "Return")
            finally:
                desktop.close()
            code = program.wait(timeout=30)
            check(code == 0, f"after the box, the program ends with exit code 0 ({code})")
            records = heard.records()
            print(f"what UI Automation got, {when}:\n  " + "\n  ".join(table))
            check([text for text, _, _ in notifications(records)] == expected,
                  f"{when}: {len(expected)} notifications in all, no more")
            roots = [detail for function, detail, _, _ in records
                     if function == "UiaReturnRawElementProvider"]
            check(roots == ["-25"], f"{when}: the root asked for once, by the screen reader "
                  f"({roots})")
        finally:
            if program.poll() is None:
                program.kill()
                program.wait()
            log.seek(0)
            print(log.read(), end="")
            print(f"{heard.path.name}:\n" + (heard.path.read_text(encoding="utf-8")
                                              if heard.path.exists() else "(none)\n"), end="")


def wait_for(heard, mark, message, focus, focus_after):
    """Waits until the records after mark hold a notification, if one is expected, and the
    focus, which was on focus (None: not known), is on focus_after; should that not come, the
    checks after it say so."""
    def arrived():
        new = heard.records()[mark:]
        return (message is None or notifications(new)) and \
            focused(new, focus) in (None, focus_after)
    try:
        poll(arrived, 10.0, f"{message or 'the focus on ' + focus_after}")
    except WaitTimeout as timeout:
        print(timeout)


def look_at_the_window(desktop, display, window, scratch):
    """Reads the message off the screen and measures how bold the buttons' captions are."""
    shot = settled_client_area(desktop, display, window)
    shot.save_ppm(scratch / "kalvet.ppm")
    band = pixels.Image(*crop(shot, LABEL_BAND))
    read = " ".join(pixels.read_text(band).split())
    check(read == AVERAGE, f'2, 3 and "Průměr" show "{AVERAGE}" ({read!r})')
    # The captions are bold: most of their ink is in strokes two pixels wide (a regular face
    # at this size draws about half of it one pixel wide, and a bold face whose hinting thins
    # it, as Liberation Sans Bold's under Wine, more).
    regular = stroke_share(shot, LABEL_BAND)
    for caption, rect in BUTTON_CAPTIONS.items():
        share = stroke_share(shot, rect)
        check(share <= 1 / 3, f'"{caption}" is drawn bold: {share:.0%} of its ink is'
              f" a stroke one pixel wide (the regular message text: {regular:.0%})")


# Where the main window's parts are in its client area (235 x 86 pixels at 96 dpi): the band
# of the message label and the three buttons, each inset past its frame.
LABEL_BAND = pixels.Rect(8, 32, 217, 17)
BUTTON_CAPTIONS = {
    "Přičti": pixels.Rect(11, 59, 67, 19),
    "Průměr": pixels.Rect(83, 59, 67, 19),
    "Reset": pixels.Rect(155, 59, 67, 19),
}
CLIENT_SIZE = (235, 86)


def x_window(display, title, timeout=60):
    """The id of the mapped X window with exactly this title, or None after the timeout."""
    try:
        found = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name",
                                f"^{re.escape(title)}$"], env=dict(os.environ, DISPLAY=display),
                               capture_output=True, text=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        return None
    ids = found.stdout.split()
    return ids[0] if ids else None


def settled_client_area(desktop, display, window):
    """The window's client area, once two screenshots a moment apart are the same. Wine draws
    the frame, title bar and menu bar itself, on the client area's left, right and bottom the
    same border."""
    geometry = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window],
                              env=dict(os.environ, DISPLAY=display), capture_output=True,
                              text=True, check=True).stdout
    values = dict(line.split("=", 1) for line in geometry.split())
    x, y, width, height = (int(values[key]) for key in ("X", "Y", "WIDTH", "HEIGHT"))
    border = (width - CLIENT_SIZE[0]) // 2
    area = (x + border, y + height - border - CLIENT_SIZE[1], *CLIENT_SIZE)

    def settled():
        first = desktop.screenshot(*area)
        time.sleep(0.3)
        second = desktop.screenshot(*area)
        return second if first.same_as(second) else None

    shot = poll(settled, 10.0, "the main window to be drawn")
    return pixels.Image(shot.width, shot.height, shot.rgb)


def crop(image, rect):
    """width, height and RGB bytes of a rectangle of an image whose top left is (0, 0)."""
    rows = [image.rgb[((rect.y + row) * image.width + rect.x) * 3:
                      ((rect.y + row) * image.width + rect.x + rect.width) * 3]
            for row in range(rect.height)]
    return rect.width, rect.height, b"".join(rows)


def stroke_share(image, rect):
    """The share of the dark pixels in rect that have no dark pixel on their left or right: in
    text, the pixels of strokes one pixel wide."""
    def dark(x, y):
        return rect.contains(x, y) and max(image.pixel(x, y)) < 96

    ink = [(x, y) for y in range(rect.y, rect.y + rect.height)
           for x in range(rect.x, rect.x + rect.width) if dark(x, y)]
    alone = sum(1 for x, y in ink if not dark(x - 1, y) and not dark(x + 1, y))
    return alone / len(ink) if ink else 1.0


def msiinfo(*arguments):
    return subprocess.run(["msiinfo", *arguments], capture_output=True, text=True,
                          check=True).stdout


def squished(guid):
    """A GUID as Windows Installer writes it in registry key names: each group reversed, the
    last two groups byte by byte."""
    hex_digits = guid.strip("{}").replace("-", "")
    groups = [hex_digits[0:8], hex_digits[8:12], hex_digits[12:16]]
    pairs = [hex_digits[i:i + 2] for i in range(16, 32, 2)]
    return "".join(group[::-1] for group in groups) + "".join(pair[::-1] for pair in pairs)


def registry_values(args, prefix, key, *view):
    """The values of a registry key in the prefix (in the given view of it: /reg:32 is the
    one 32-bit programs see), or None when there is no such key."""
    run = subprocess.run([args.wine_run, "--prefix", str(prefix), "reg", "query", key, *view],
                         capture_output=True, text=True, errors="replace")
    if run.returncode != 0:
        return None
    values = {}
    for line in run.stdout.splitlines():
        found = re.match(r"^ {4}(\S.*?) {4}(REG_\w+) {4}(.*)$", line)
        if found:
            values[found.group(1)] = found.group(3)
    return values


def copy_prefix(source, target):
    """A copy of the Wine prefix to install into. Wine's DLLs and programs, which no run
    changes, are hard links (the prefix is about 1.3 GB); all else, the registry above all,
    is copied. Only a prefix that Wine would update first (after an update of Wine, it
    rewrites its DLLs in place) is copied whole."""
    stamp = pathlib.Path(source, ".update-timestamp")
    current = stamp.is_file() and stamp.read_text().split()[:1] == [
        str(int(os.stat("/usr/share/wine/wine.inf").st_mtime))]

    def copy(src, dst):
        if current and src.lower().endswith((".dll", ".exe", ".drv", ".sys", ".ocx", ".cpl",
                                             ".acm", ".tlb", ".ds", ".vxd", ".nls")):
            try:
                os.link(src, dst)
                return dst
            except OSError:
                pass
        return shutil.copy2(src, dst)

    shutil.copytree(source, target, symlinks=True, copy_function=copy)


def start_menu_shortcuts(prefix, name):
    """The shortcut files of that name in the Start menu's Programs folders, for all users and
    for each user: Wine puts those of a per-machine package in the user's, Windows in the
    common one."""
    programs = "Microsoft/Windows/Start Menu/Programs"
    found = list((prefix / "drive_c/ProgramData" / programs).glob(name))
    found += (prefix / "drive_c/users").glob(f"*/AppData/Roaming/{programs}/{name}")
    return found


def in_lnk(data, text):
    return text.encode("cp1252") in data or text.encode("utf-16-le") in data


def msi(args):
    # The Property table; msiinfo writes three header lines before the rows.
    rows = [line.rstrip("\r").split("\t", 1)
            for line in msiinfo("export", args.msi, "Property").splitlines()[3:]]
    properties = {row[0]: row[1] for row in rows if len(row) == 2}
    print(f"Property table: {properties}")
    for key, value in {"ProductName": "Kalvet 1.2", "ProductVersion": "1.00",
                       "Manufacturer": "The Kalvet developers",
                       "UpgradeCode": "{%s}" % args.upgrade_code.upper(),
                       "ALLUSERS": "1", "ARPPRODUCTICON": "kalvet.ico"}.items():
        check(properties.get(key) == value, f"{key} {value} ({properties.get(key)})")
    # The platform in the summary, where Program Files is for it, and where in the registry
    # its uninstall entry is: as on Windows, a 32-bit package's is in the 32-bit view.
    template, program_files, view = {
        "I386": ("Intel;1033", "Program Files (x86)", "/reg:32"),
        "AMD64": ("x64;1033", "Program Files", "/reg:64")}[args.machine]
    check(f"\nTemplate: {template}\n" in msiinfo("suminfo", args.msi), f"package for {template}")
    product_code = properties.get("ProductCode", "")
    uninstall_key = rf"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\{product_code}"
    product_key = rf"HKLM\Software\Classes\Installer\Products\{squished(product_code)}"
    with zipfile.ZipFile(args.zip) as archive:
        shipped = sorted(pathlib.PurePosixPath(name).relative_to(
            pathlib.PurePosixPath(name).parts[0]).as_posix()
            for name in archive.namelist() if not name.endswith("/"))

    source = test_prefix(args)
    scratch = tempfile.mkdtemp(prefix="kalvet-msi-")
    prefix = pathlib.Path(scratch) / "prefix"
    try:
        copy_prefix(source, prefix)
        msiexec = [args.wine_run, "--prefix", str(prefix), "msiexec"]
        package = windows_path(pathlib.Path(args.msi).resolve())

        run = subprocess.run([*msiexec, "/i", package, "/qn"], capture_output=True, text=True)
        check(run.returncode == 0, f"msiexec /i {package} /qn ends with 0 ({run.returncode})")
        folder = prefix / "drive_c" / program_files / "Kalvet"
        installed = sorted(path.relative_to(folder).as_posix()
                           for path in folder.rglob("*") if path.is_file())
        print("\n".join(installed))
        check(installed == shipped, f"C:\\{program_files}\\Kalvet holds exactly the zip's files")

        run = drive(args, None, program=f"C:\\{program_files}\\Kalvet\\kalvet.exe",
                    prefix=prefix)
        if run.returncode == WINE_CANNOT_RUN:
            return WINE_CANNOT_RUN
        check(re.search(r"^window [0-9.]+$", run.stdout, re.M) is not None,
              'the installed kalvet.exe shows its window "Kalvet 1.2"')
        check("exit 00000000" in run.stdout, "closing the window ends it with exit code 0")

        shortcuts = start_menu_shortcuts(prefix, "Kalvet 1.2.lnk")
        check(len(shortcuts) == 1, f"a Start-menu shortcut Kalvet 1.2 ({shortcuts})")
        if shortcuts:
            lnk = shortcuts[0].read_bytes()
            check(in_lnk(lnk, rf"{program_files}\Kalvet\kalvet.exe"), "it starts kalvet.exe")
            check(in_lnk(lnk, "kalvet.ico"), "it shows the calculator icon")

        entry = registry_values(args, prefix, uninstall_key, view) or {}
        print(f"{uninstall_key}: {entry}")
        for key, value in {"DisplayName": "Kalvet 1.2", "DisplayVersion": "1.00",
                           "Publisher": "The Kalvet developers"}.items():
            check(entry.get(key) == value, f"uninstall entry: {key} {value} ({entry.get(key)})")
        icon = (registry_values(args, prefix, product_key) or {}).get("ProductIcon", "")
        icon_file = prefix / "drive_c" / icon[3:].replace("\\", "/") if icon[:3] == "C:\\" else None
        check(icon_file is not None and icon_file.is_file()
              and icon_file.read_bytes() == pathlib.Path(args.icon).read_bytes(),
              f"its icon is the calculator icon ({icon})")

        run = subprocess.run([*msiexec, "/x", package, "/qn"], capture_output=True, text=True)
        check(run.returncode == 0, f"msiexec /x {package} /qn ends with 0 ({run.returncode})")
        left = list(folder.rglob("*")) if folder.exists() else []
        check(not folder.exists(), f"uninstalled, the install folder is gone ({left})")
        check(not start_menu_shortcuts(prefix, "Kalvet 1.2.lnk"), "nor the shortcut")
        check(registry_values(args, prefix, uninstall_key, view) is None, "nor the uninstall entry")
        check(icon_file is None or not icon_file.exists(), "nor its icon")
    finally:
        # The prefix's wineserver ends before its folder goes.
        subprocess.run(["/usr/lib/wine/wineserver", "-k"], stderr=subprocess.DEVNULL,
                       env=dict(os.environ, WINEPREFIX=str(prefix)))
        shutil.rmtree(scratch, ignore_errors=True)


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
    command.add_argument("--uia", required=True)
    command.add_argument("--uia-root", required=True)
    command = commands.add_parser("msi")
    command.add_argument("msi")
    command.add_argument("--zip", required=True)
    command.add_argument("--upgrade-code", required=True)
    command.add_argument("--icon", required=True)
    command.add_argument("--machine", required=True, choices=["I386", "AMD64"])
    command.add_argument("--driver", required=True)
    command.add_argument("--wine-run", required=True)
    args = parser.parse_args()
    status = {"contents": contents, "resources": resources, "smoke": smoke,
              "msi": msi}[args.command](args)
    if status is not None:
        return status
    print(f"{len(failures)} failed" if failures else "all hold")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
