#!/usr/bin/env python3
"""Builds the sample disc of the printer package into a folder.

The disc, as the setup program and the autorun menu read it:

  Setup.exe, VLAuto.Dll          the programs (placed by the build)
  VLRes.Dll VLEtc.Dll VLFcs.Dll  the dialog libraries (placed by the build)
  VLTtp.Dll
  SETUP.DAT                      the setup data: printer, Windows versions,
                                 components, languages, manuals, utility
  Autorun.Inf                    the disc's autorun file and version line
  DATA/VLUtil.Dll                the device library (placed by the build)
  DATA/Preinst.dll, Svcman.exe   the pre-install hook and the service
                                 installer (placed by the build)
  DATA/Lang_XX.Dat               one language file per language, written in
                                 the code page of its language
  DATA/Uninst.Dat                uninstall keys of earlier versions
  Driver/<language>/<Windows>/   the printer driver per language and Windows
  Monitor/<Windows>/             the status monitor (every language in one)
  NetTool/<language>/            the network tool (every Windows in one; its
                                 VLOS.DAT lists the Windows it runs on)
  USB/                           the USB printing support of Windows 98 and Me
  Manual/<language>/             the user manuals
  Utility/                       the read-me that the autorun opens
  NetTool/<language>/NETSETUP.EXE  the network tool's installer (placed by
                                 the build)

The programs and libraries need the C runtime msvcrt.dll, which Windows 95
as first sold may lack (its later releases, Internet Explorer and most
applications bring it). A disc for such machines carries Microsoft's
redistributable MSVCRT.DLL in its root, beside Setup.exe, where Windows
finds it for Setup and every library it loads; this sample disc does not.

Text files are kept readable in the tree (UTF-8, in package/disc and
package/languages) and written here with Windows line ends; each language
file is encoded in its language's code page, the one the setup program
reads it in.

  make_disc.py OUTPUT [--binary DISC_PATH=BUILT_FILE ...]
"""

import argparse
import pathlib
import shutil

HERE = pathlib.Path(__file__).resolve().parent

# The code page of each language's files, as the setup program's language
# table says (setup/data/language_table.cpp); Python's names for them.
CODE_PAGES = {"EN": "cp1252", "GR": "cp1252", "PT": "cp1252", "BP": "cp1252",
              "JP": "cp932", "CT": "cp950", "CP": "cp936"}

# The LANGUAGE_DIRECTORY section of SETUP.DAT.
LANGUAGE_FOLDERS = {"EN": "English", "GR": "German", "JP": "Japanese", "PT": "Portuguese",
                    "BP": "Brazilian", "CT": "ChineseT", "CP": "ChineseS"}

# The OS folders of SETUP.DAT's START section.
WINDOWS_FOLDERS = ["WIN9X", "WINNT4", "WIN2K_XP"]

# The network tool's languages and the Windows it runs on (it needs
# Winsock 2, which Windows 95 and NT 4 do not bring).
NET_TOOL_LANGUAGES = ["EN", "GR", "PT"]
NET_TOOL_WINDOWS = {"WINDOWS_95": 0, "WINDOWS_95OSR2": 0, "WINDOWS_98": 1, "WINDOWS_98SE": 1,
                    "WINDOWS_ME": 1, "WINDOWS_NT": 0, "WINDOWS_2K": 1, "WINDOWS_XP": 1,
                    "WINDOWS_2003": 1}


def write_text(path, text, encoding="ascii"):
    path.parent.mkdir(parents=True, exist_ok=True)
    lines = text.replace("\r\n", "\n").split("\n")
    path.write_bytes("\r\n".join(lines).encode(encoding))


def copy_tree_as_text(source, target):
    for file in sorted(source.rglob("*")):
        if file.is_file():
            write_text(target / file.relative_to(source), file.read_text(encoding="utf-8"), "cp1252")


def write_languages(target):
    for source in sorted((HERE / "languages").glob("*.txt")):
        abbreviation = source.stem
        write_text(target / "DATA" / f"Lang_{abbreviation}.Dat",
                   source.read_text(encoding="utf-8"), CODE_PAGES[abbreviation])


def driver_inf(language, windows):
    return f"""; The printer driver of the Zebl LP-2400, {LANGUAGE_FOLDERS[language]}, {windows}.
[Version]
Signature="$Windows NT$"
Class=Printer
Provider=%Maker%

[Manufacturer]
%Maker%=Zebl

[Zebl]
"Zebl LP-2400"=LP2400.PPD,LPTENUM\\ZeblPrintingLP-2400

[LP2400.PPD]
CopyFiles=DriverFiles
DriverFile=Tzqr4um.dll

[DriverFiles]
Tzqr4um.dll
Tzqr4CM.DLL
Tzqr4SU.DLL

[Strings]
Maker="Zebl Printing"
"""


def monitor_inf(windows):
    return f"""; The status monitor of the Zebl LP-2400, every language, {windows}.
[Version]
Signature="$Windows NT$"

[MonitorFiles]
ZMonitor.exe
"""


def net_tool_support():
    lines = ["; The Windows versions the network tool runs on.", "[SUPPORT_OS]"]
    lines += [f"{key}={value}" for key, value in NET_TOOL_WINDOWS.items()]
    return "\n".join(lines) + "\n"


def minimal_pdf(title):
    """A one-page PDF that shows its title."""
    text = title.replace("\\", "\\\\").replace("(", "\\(").replace(")", "\\)")
    stream = f"BT /F1 24 Tf 72 720 Td ({text}) Tj ET".encode("ascii")
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R "
        b"/Resources << /Font << /F1 5 0 R >> >> >>",
        b"<< /Length %d >>\nstream\n" % len(stream) + stream + b"\nendstream",
        b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
    ]
    out = bytearray(b"%PDF-1.4\n")
    offsets = []
    for number, body in enumerate(objects, 1):
        offsets.append(len(out))
        out += b"%d 0 obj\n" % number + body + b"\nendobj\n"
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    out += b"".join(b"%010d 00000 n \n" % offset for offset in offsets)
    out += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
    return bytes(out)


def write_components(target):
    for language, folder in LANGUAGE_FOLDERS.items():
        for windows in WINDOWS_FOLDERS:
            write_text(target / "Driver" / folder / windows / "LP2400.INF", driver_inf(language, windows))
        manuals = target / "Manual" / folder
        manuals.mkdir(parents=True, exist_ok=True)
        (manuals / "LP2400.pdf").write_bytes(minimal_pdf(f"Zebl LP-2400 User Manual ({folder})"))
        (manuals / "DockWave.pdf").write_bytes(minimal_pdf(f"DockWave Manual ({folder})"))
    for windows in WINDOWS_FOLDERS:
        write_text(target / "Monitor" / windows / "MONITOR.INF", monitor_inf(windows))
    for language in NET_TOOL_LANGUAGES:
        write_text(target / "NetTool" / LANGUAGE_FOLDERS[language] / "VLOS.DAT", net_tool_support())
    write_text(target / "USB" / "LP2400USB.INF",
               "; USB printing support of the Zebl LP-2400 for Windows 98 and Me.\n"
               "[Version]\nSignature=\"$CHICAGO$\"\nClass=USB\n")


def place_binaries(target, binaries):
    for binary in binaries:
        disc_path, _, built = binary.partition("=")
        built_file = pathlib.Path(built)
        if built_file.is_file():
            destination = target / disc_path
            destination.parent.mkdir(parents=True, exist_ok=True)
            shutil.copy(built_file, destination)  # with the mode: native programs stay runnable


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("output", type=pathlib.Path)
    parser.add_argument("--binary", action="append", default=[],
                        help="DISC_PATH=BUILT_FILE: a built program or library to place on the disc")
    args = parser.parse_args()
    if args.output.exists():
        shutil.rmtree(args.output)
    copy_tree_as_text(HERE / "disc", args.output)
    write_languages(args.output)
    write_components(args.output)
    place_binaries(args.output, args.binary)


if __name__ == "__main__":
    main()
