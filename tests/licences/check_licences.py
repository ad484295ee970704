#!/usr/bin/env python3
"""The Windows zip's licenses/ has a notice for every third-party piece that the Qt for Windows compiles in.

Reads the feature flags of the Qt that the Windows build uses (scripts/windows/find-qt.sh) and requires, for
each bundled piece they switch on, packaging/windows/licenses/Qt-third-party/<Id>.txt with its copyright and
licence text, listed in licenses-README.txt; and no notice of a piece the flags leave out. What the flags
switch on is asked twice: the table below, written from the flags alone, and the conditions that
make_licences.py (which writes the notices) keeps for every attribution of Qt's source.
Usage: check_licences.py SOURCE_DIR
"""
import os
import re
import subprocess
import sys

source = os.path.abspath(sys.argv[1])
sys.path.insert(0, os.path.join(source, "scripts", "windows"))
import make_licences  # noqa: E402

# A bundled copy wherever the system's copy is not used: (piece, flags that must be on, the system flag).
BUNDLED_WHEN_NOT_SYSTEM = [
    ("zlib", [], "system_zlib"),
    ("libpng", ["png"], "system_png"),
    ("freetype", ["freetype"], "system_freetype"),
    ("harfbuzz-ng", ["harfbuzz"], "system_harfbuzz"),
    ("pcre2", ["regularexpression"], "system_pcre2"),
    ("doubleconversion", ["doubleconversion"], "system_doubleconversion"),
    ("md4c", ["textmarkdownreader"], "system_textmarkdownreader"),
    ("blake2", [], "system_libb2"),
]
BUNDLED_WITH_FEATURE = [("tinycbor", "cborstreamreader"), ("tinycbor", "cborstreamwriter"), ("easing", "easingcurve")]
ALWAYS = ["unicode-character-database", "unicode-cldr", "siphash", "md5", "sha1", "rfc6234", "sha3_keccak"]

qt = os.environ.get("GRIDFORGE_QT_WINDOWS") or make_licences.find_qt()
if not qt:
    print("SKIPPED: no Qt for Windows (scripts/windows/find-qt.sh finds none)")
    sys.exit(0)
flags = make_licences.feature_flags(qt)
if not flags:
    sys.exit("no QT_FEATURE_ flags under %s/include" % qt)

wanted = set(ALWAYS)
wanted |= {piece for piece, needed, system in BUNDLED_WHEN_NOT_SYSTEM
           if all(flags.get(n) == 1 for n in needed) and flags.get(system) != 1}
wanted |= {piece for piece, feature in BUNDLED_WITH_FEATURE if flags.get(feature) == 1}
by_conditions = {piece for piece, condition in make_licences.CONDITIONS.items() if callable(condition) and condition(flags)}
wanted |= by_conditions

present = {name[:-4] for name in os.listdir(make_licences.NOTICES) if name.endswith(".txt")}
with open(make_licences.README, encoding="utf-8") as f:
    readme = f.read()
listed = set(re.findall(r"Qt\\third-party\\([\w.-]+)\.txt", readme))
faults = []
for piece in sorted(wanted):
    path = os.path.join(make_licences.NOTICES, piece + ".txt")
    if piece not in present:
        faults.append("%s: compiled in (flags of %s), no notice" % (piece, qt))
        continue
    text = open(path, encoding="utf-8").read()
    copyright = text.split("Copyright:\n", 1)[1].split("\n\n", 1)[0].strip() if "Copyright:\n" in text else ""
    body = text.split("Licence text:\n", 1)[1].strip() if "Licence text:\n" in text else ""
    if not copyright:
        faults.append("%s: no copyright in its notice" % piece)
    if len(body) < 100 and "Public Domain" not in text:
        faults.append("%s: no licence text in its notice" % piece)
    if piece not in listed:
        faults.append("%s: not listed in licenses-README.txt" % piece)
for piece in sorted(present - wanted):
    faults.append("%s: a notice, but the flags leave it out (run scripts/windows/make_licences.py)" % piece)
for piece in sorted(listed - present):
    faults.append("%s: listed in licenses-README.txt, no notice" % piece)
for fault in faults:
    print("FAIL: " + fault)
print("%d pieces compiled into the Qt for Windows, %d notices, %d faults" % (len(wanted), len(present), len(faults)))
sys.exit(1 if faults else 0)
