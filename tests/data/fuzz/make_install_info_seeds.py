#!/usr/bin/env python3
"""Writes the seeds of the install_info harness (fuzz/install_info_fuzz.cpp)
into install_info/ beside this script: discs of data files, well-formed and
hostile. Each seed is the Windows version code, the language row, then
SETUP.DAT, the language file, the English language file and VLOS.DAT
separated by "\\n====\\n".

  python3 tests/data/fuzz/make_install_info_seeds.py
"""

import pathlib

HERE = pathlib.Path(__file__).resolve().parent / "install_info"
SEPARATOR = b"\n====\n"

# Rows of the language table (setup/data/language_table.cpp).
ROW = {"CT": 3, "CP": 4, "GR": 8, "EN": 10, "JP": 18, "PT": 23, "BP": 24}
XP, WIN98, UNKNOWN, OUT_OF_RANGE = 9, 4, 0, 11


def ini(*sections):
    text = ""
    for name, lines in sections:
        text += f"[{name}]\r\n" + "".join(line + "\r\n" for line in lines)
    return text.encode("cp1252")


def start(*more, components=3):
    lines = ["MANUFACTURE=Zebl Printing", "PRINTER_MODEL_NAME=Zebl LP-2400", "PRINTER_MDL_VALUE=LP-2400",
             "DEFAULT_LANGUAGE=EN", "WINDOWS_XP=WIN2K_XP", "WINDOWS_98=WIN9X"] + list(more)
    for n in range(components):
        key = f"ROOT_COMPONENT_{n}"
        lines += [f"{key}=Component {n}", f"{key}_INSTALLFILE=Setup.{'exe' if n % 2 == 0 else 'inf'}",
                  f"{key}_DIRECTORY=Comp", f"{key}_SUPPORT_MULTI_LANGUAGE=1", f"{key}_INDEPENDENT_OS_VERSION=1",
                  f"{key}_AUTO_INSTALL={n % 2}", f"{key}_CUSTOM_LANG={n % 3 == 1 and 1 or 0}"]
    return ini(("START", lines), ("LANGUAGE_DIRECTORY", ["EN=English", "JP=Japanese", "GR=German"]),
               ("ROOT_COMPONENT_1_CUSTOM_LANG", ["JP=EN", "EN=GR"]))


def language(text, encoding="cp1252"):
    return ("[ERROR_MSG]\r\nERR_MSG1=" + text + "\r\nERR_MSG4=" + text + "\\n%LANG_ABBR%\r\n").encode(encoding)


def vlos(xp):
    return ini(("SUPPORT_OS", [f"WINDOWS_XP={xp}", "WINDOWS_98=1"]))


def seed(version, row, *files):
    return bytes([version, ROW[row]]) + SEPARATOR.join(files)


SEEDS = {
    "xp_english": seed(XP, "EN", start(), language("Cannot install."), language("English"), vlos(1)),
    "xp_japanese": seed(XP, "JP", start(), language("インストールできません。表示", "cp932"), language("x"), vlos(1)),
    "chinese_traditional": seed(XP, "CT", start(), language("無法安裝", "cp950"), b"", vlos(1)),
    "chinese_simplified": seed(WIN98, "CP", start(), language("无法安装", "cp936"), b"", vlos(1)),
    "brazil_without_its_file": seed(XP, "BP", start(), language("Não é possível"), b"", b""),
    "refused_by_vlos": seed(XP, "GR", start(components=20), language("Nicht möglich"), b"", vlos(0)),
    "no_os_entry": seed(7, "EN", start(), language("no"), language("no"), vlos(1)),
    "unknown_version": seed(UNKNOWN, "EN", start(), b"", b"", b""),
    "out_of_range_version": seed(OUT_OF_RANGE, "PT", start(), b"", b"", b""),
    "huge_values": seed(XP, "EN", start("PRODUCT_NAME=" + "P" * 3000, "MANUFACTURE=" + "M" * 600,
                                        "DEFAULT_PORT=" + "\\n" * 300, components=2),
                        language("%LANG_ABBR%" * 100), b"", vlos(1)),
    "thousands_of_keys": seed(XP, "EN", ini(("START", [f"KEY_{n}=value {n}" for n in range(3000)])) + start(),
                              b"", b"", b""),
    "missing_sections": seed(XP, "JP", b"MANUFACTURE=x\r\n", b"[ERROR_MSG\r\nERR_MSG4", b"", b"[SUPPORT_OS]"),
    "binary_garbage": seed(XP, "JP", bytes(range(256)) * 4, bytes(range(255, -1, -1)) * 4, b"\x00\xff" * 64,
                           b"\x1a\r\r\n[" * 32),
    "utf16_language_file": seed(XP, "JP", start(), b"\xff\xfe" + "[ERROR_MSG]\r\nERR_MSG4=日本\r\n".encode("utf-16-le"),
                                b"", vlos(1)),
    "wrong_encoding": seed(XP, "JP", start(), language("インストールできません", "utf-8"), b"", vlos(1)),
}


def main():
    HERE.mkdir(exist_ok=True)
    for old in HERE.glob("seed_*"):
        old.unlink()
    for name, data in SEEDS.items():
        (HERE / f"seed_{name}").write_bytes(data)


if __name__ == "__main__":
    main()
