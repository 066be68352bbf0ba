#!/usr/bin/python3
"""Builds the Windows Installer package of kalvet.exe with wixl, from the folder that CPack has
staged for the zip, so that the same inputs give the same bytes:

  windows-installer.py STAGE OUTPUT.msi --wxs kalvet.wxs --icon kalvet.ico --arch x86|x64
      --product-name NAME --version VERSION --manufacturer NAME --upgrade-code GUID
      --product-code GUID --shortcut FILE --epoch SECONDS [--wixl PROGRAM]

1. Every staged file gets EPOCH as its modification time: the cabinet stores file times.
2. The staged files are listed as a WiX source, sorted, one component per file, with ids made
   from their paths and component GUIDs derived from the UpgradeCode, the architecture and the
   path; the component of FILE also holds the Start-menu shortcut.
3. wixl builds the package from kalvet.wxs and that list.
4. wixl writes the time of the build and a random package code into the summary information.
   The times become EPOCH, and the package code a GUID derived from the package's bytes, so
   it changes whenever anything in the package does, as Windows Installer requires.

Needs Debian's wixl and python3-olefile."""

import argparse
import hashlib
import os
import pathlib
import re
import struct
import subprocess
import sys
import tempfile
import uuid
from xml.sax.saxutils import quoteattr

import olefile

SUMMARY_STREAM = "\x05SummaryInformation"
PID_REVISION_NUMBER = 9  # the package code
PID_CREATED = 12
PID_LAST_SAVED = 13
VT_LPSTR = 30
VT_FILETIME = 64
# FILETIME counts 100 ns steps from 1601-01-01; the Unix epoch is this many seconds later.
FILETIME_UNIX_EPOCH = 11644473600
PLACEHOLDER_CODE = "{00000000-0000-0000-0000-000000000000}"


def wix_id(prefix, relative):
    """An identifier for WiX: letters, digits, underscores and dots, at most 72 characters."""
    name = prefix + re.sub(r"[^A-Za-z0-9_.]", "_", relative)
    if len(name) > 72:
        raise SystemExit(f"{relative}: the path is too long for an identifier ({name})")
    return name


def staged_files(stage):
    return sorted(path.relative_to(stage).as_posix() for path in stage.rglob("*") if path.is_file())


def file_list(files, args):
    """The WiX source that installs the staged files, found in the folder "stage", under
    INSTALLDIR."""
    namespace = uuid.UUID(args.upgrade_code)
    win64 = "yes" if args.arch == "x64" else "no"
    lines = ['<?xml version="1.0" encoding="utf-8"?>',
             '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">',
             "  <Fragment>"]
    components = []

    # The folders as nested dictionaries: a folder's name maps to its contents, a file's to None.
    tree = {}
    for relative in files:
        *folders, name = relative.split("/")
        node = tree
        for folder in folders:
            node = node.setdefault(folder, {})
        node[name] = None

    def add_folder(node, parent, indent):
        for name, contents in sorted(node.items()):
            relative = f"{parent}{name}"
            if contents is not None:
                lines.append(f'{indent}<Directory Id="{wix_id("dir_", relative)}" '
                             f'Name={quoteattr(name)}>')
                add_folder(contents, f"{relative}/", indent + "  ")
                lines.append(f"{indent}</Directory>")
                continue
            component = wix_id("cmp_", relative)
            file_id = wix_id("file_", relative)
            guid = str(uuid.uuid5(namespace, f"{args.arch}/{relative}")).upper()
            components.append(component)
            lines.append(f'{indent}<Component Id="{component}" Guid="{{{guid}}}" Win64="{win64}">')
            lines.append(f'{indent}  <File Id="{file_id}" Name={quoteattr(name)} '
                         f'Source={quoteattr("stage/" + relative)} KeyPath="yes"/>')
            if relative == args.shortcut:
                lines.append(f'{indent}  <Shortcut Id="StartMenuShortcut"'
                             f' Directory="ProgramMenuFolder" Name={quoteattr(args.product_name)} Target="[#{file_id}]"'
                             f' Icon="kalvet.ico" WorkingDirectory="INSTALLDIR"/>')
            lines.append(f"{indent}</Component>")

    lines.append('    <DirectoryRef Id="INSTALLDIR">')
    add_folder(tree, "", "      ")
    lines.append("    </DirectoryRef>")
    lines.append('    <ComponentGroup Id="InstalledFiles">')
    lines += [f'      <ComponentRef Id="{component}"/>' for component in components]
    lines += ["    </ComponentGroup>", "  </Fragment>", "</Wix>", ""]
    return "\n".join(lines)


def summary_properties(data):
    """The offset of each property's value in the summary stream (one property set section)."""
    section = struct.unpack_from("<I", data, 44)[0]
    count = struct.unpack_from("<I", data, section + 4)[0]
    properties = {}
    for index in range(count):
        pid, offset = struct.unpack_from("<II", data, section + 8 + 8 * index)
        properties[pid] = section + offset
    return properties


def set_summary(msi, package_code, epoch):
    """Writes the package code and both times into the summary stream, in place."""
    ole = olefile.OleFileIO(str(msi), write_mode=True)
    data = bytearray(ole.openstream(SUMMARY_STREAM).read())
    properties = summary_properties(data)
    filetime = (epoch + FILETIME_UNIX_EPOCH) * 10_000_000
    for pid in (PID_CREATED, PID_LAST_SAVED):
        offset = properties[pid]
        assert struct.unpack_from("<I", data, offset)[0] == VT_FILETIME
        struct.pack_into("<Q", data, offset + 4, filetime)
    offset = properties[PID_REVISION_NUMBER]
    vt, length = struct.unpack_from("<II", data, offset)
    # A GUID in braces and its terminating zero.
    assert vt == VT_LPSTR and length == len(PLACEHOLDER_CODE) + 1
    data[offset + 8:offset + 8 + len(package_code)] = package_code.encode("ascii")
    ole.write_stream(SUMMARY_STREAM, bytes(data))
    ole.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("stage", type=pathlib.Path)
    parser.add_argument("output", type=pathlib.Path)
    parser.add_argument("--wxs", required=True)
    parser.add_argument("--icon", required=True)
    parser.add_argument("--arch", required=True, choices=["x86", "x64"])
    parser.add_argument("--product-name", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--manufacturer", required=True)
    parser.add_argument("--upgrade-code", required=True)
    parser.add_argument("--product-code", required=True)
    parser.add_argument("--shortcut", required=True)
    parser.add_argument("--epoch", required=True, type=int)
    parser.add_argument("--wixl", default="wixl")
    args = parser.parse_args()

    stage = args.stage.resolve()
    files = staged_files(stage)
    if args.shortcut not in files:
        raise SystemExit(f"{args.shortcut} is not among the staged files")
    for name in files:
        os.utime(stage / name, (args.epoch, args.epoch))

    # wixl looks for sources only below the folder it runs in: there, "stage" is the staged
    # folder and kalvet.ico the icon.
    output = args.output.resolve()
    with tempfile.TemporaryDirectory() as scratch:
        scratch = pathlib.Path(scratch)
        (scratch / "stage").symlink_to(stage)
        (scratch / "kalvet.ico").symlink_to(pathlib.Path(args.icon).resolve())
        (scratch / "files.wxs").write_text(file_list(files, args), encoding="utf-8")
        defines = {
            "ProductCode": args.product_code, "UpgradeCode": args.upgrade_code,
            "ProductName": args.product_name, "Version": args.version,
            "Manufacturer": args.manufacturer, "Icon": "kalvet.ico",
            "ProgramFiles": "ProgramFiles64Folder" if args.arch == "x64" else "ProgramFilesFolder",
        }
        command = [args.wixl, "--arch", args.arch, "--output", str(output)]
        command += [f"--define={name}={value}" for name, value in defines.items()]
        command += [str(pathlib.Path(args.wxs).resolve()), "files.wxs"]
        subprocess.run(command, check=True, cwd=scratch)

    # The package code is derived from the package with a placeholder in its place.
    set_summary(output, PLACEHOLDER_CODE, args.epoch)
    digest = hashlib.sha256(output.read_bytes()).hexdigest()
    package_code = "{%s}" % str(uuid.uuid5(uuid.UUID(args.upgrade_code), digest)).upper()
    set_summary(output, package_code, args.epoch)
    print(f"{output}: {len(files)} files, package code {package_code}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
