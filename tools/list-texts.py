#!/usr/bin/env python3
"""Lists the English texts the program passes through its translation: every
caption of the windows' forms (but those marked "untranslated") and every
string literal of the program's sources that reads as words shown to a user.

  tools/list-texts.py                      the texts, one per line
  tools/list-texts.py --check FILE         the texts FILE has no entry for; exit 1 if any
"""
import re
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
SOURCES = ["app", "ui"]
# Of the protocol code only the sender speaks to the user.
EXTRA_SOURCES = ["device/CommandSender.cpp"]
CAPTIONED = {"QLabel", "QPushButton", "QRadioButton", "QCheckBox", "QGroupBox"}

# Literals that read as words but are not looked up: a font, the file
# dialog's filter, a setting's value, the runtime's own error report.
NOT_LOOKED_UP = {"MS Sans Serif", "bin file (*.bin)", "DHCP CLIENT", "' is not a valid integer value"}
LITERAL = re.compile(r'(?<![A-Za-z0-9_])(?:u8)?"((?:[^"\\\n]|\\.)*)"')


def ui_texts(path):
    texts = []
    for element in ET.parse(path).iter("widget"):
        props = {p.get("name"): p for p in element.findall("property")}
        if "untranslated" in props:
            continue
        names = ["windowTitle"]
        if element.get("class") in CAPTIONED:
            names += ["text", "title"]
        for name in names:
            string = props[name].find("string") if name in props else None
            if string is not None and string.text:
                texts.append(string.text)
        for attribute in element.findall("attribute"):
            string = attribute.find("string")
            if attribute.get("name") == "title" and string is not None and string.text:
                texts.append(string.text)
    return texts


def shown_words(text):
    if not re.search(r"[A-Za-z]{2}", text) or text in NOT_LOOKED_UP:
        return False
    if re.search(r"[/\\%<>{}]|&\w+;|\.htm|\.cgi|::|\$|@", text) and text not in ("-->", "<--"):
        return False
    if re.fullmatch(r"[a-z0-9_.=\-]+", text):  # setting names, keys, values
        return False
    if re.fullmatch(r"[A-Za-z0-9_.]+", text) and not re.fullmatch(r"[A-Z][a-z]+(\.\.\.)?", text):
        return False  # identifiers, object names, protocol values; a single word stays
    if ("=" in text and " " not in text) or '="' in text or text.rstrip().endswith(":") or text.startswith("(GMT"):
        return False  # protocol pieces; the time zones are shown as they are
    return True


def source_texts(path):
    code = path.read_text(encoding="utf-8", errors="replace")
    code = re.sub(r"//[^\n]*", "", code)
    code = re.sub(r"/\*.*?\*/", "", code, flags=re.S)
    code = re.sub(r"#\s*include[^\n]*", "", code)
    code = re.sub(r"\b(?:qWarning|qDebug|qCritical|Q_ASSERT_X|static_assert)\s*\([^;]*;", "", code)
    found = []
    # Adjacent literals are one text.
    for match in re.finditer(r'(?:(?:u8)?"(?:[^"\\\n]|\\.)*"\s*)+', code):
        pieces = LITERAL.findall(match.group(0))
        text = "".join(pieces).replace('\\"', '"').replace("\\\\", "\\")
        if "\\" in text:  # line ends and other escapes: protocol text
            continue
        if shown_words(text):
            found.append(text)
    return found


def program_texts():
    texts = []
    for folder in SOURCES:
        for path in sorted((ROOT / folder).rglob("*")):
            if path.suffix == ".ui":
                texts += ui_texts(path)
            elif path.suffix in (".cpp", ".h"):
                texts += source_texts(path)
    for name in EXTRA_SOURCES:
        texts += source_texts(ROOT / name)
    seen, ordered = set(), []
    for text in texts:
        if text not in seen:
            seen.add(text)
            ordered.append(text)
    return ordered


def file_keys(path):
    data = Path(path).read_bytes().decode("utf-8")
    keys = set()
    for line in data.split("\r\n"):
        if "=" in line:
            key, translation = line.split("=", 1)
            if translation:
                keys.add(key)
    return keys


def main():
    texts = program_texts()
    if len(sys.argv) == 3 and sys.argv[1] == "--check":
        keys = file_keys(sys.argv[2])
        missing = [t for t in texts if t not in keys]
        for text in missing:
            print(text)
        print(f"{len(texts) - len(missing)} of {len(texts)} texts translated", file=sys.stderr)
        return 1 if missing else 0
    for text in texts:
        print(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
