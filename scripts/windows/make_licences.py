#!/usr/bin/env python3
"""Writes the notices of the third-party code that the Qt for Windows compiles into the DLLs the zip ships.

Qt's source names each piece of third-party code in an attribution file (qt_attribution.json: name, version,
copyright, the licence file beside it). This script takes those files from the source package the Qt was
built from (Debian's qt6-base, fetched with apt-get source through a private apt configuration, as
build-qt.sh does), decides from the Qt's own feature flags (its qt*-config.h headers) which pieces are in
the shipped DLLs and plug-ins, and writes into the project:
  packaging/windows/licenses/Qt-third-party/<Id>.txt   name, version, copyright, licence id and full text
  packaging/windows/licenses-README.txt               the list, between its two marker lines
Run it again whenever the Qt for Windows changes:
  scripts/windows/make_licences.py [QT_DIR]    (default: what scripts/windows/find-qt.sh finds)
"""
import glob
import json
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
NOTICES = os.path.join(ROOT, "packaging", "windows", "licenses", "Qt-third-party")
README = os.path.join(ROOT, "packaging", "windows", "licenses-README.txt")
BEGIN = "[The list below is written by scripts/windows/make_licences.py]"
END = "[End of the list]"

# Every attribution of qtbase, with when it is compiled into Qt6Core, Qt6Gui, Qt6Widgets, qwindows.dll or
# qwindowsvistastyle.dll (from Qt's CMakeLists.txt and the sources that include it). A condition is a function
# of the feature flags; a string says why it is never in the shipped Windows files. An attribution missing
# here stops the script: a new Qt must be looked at, not guessed.
def on(flags, *names):
    return all(flags.get(name) == 1 for name in names)


def off(flags, *names):
    return all(flags.get(name) != 1 for name in names)


CONDITIONS = {
    "blake2": lambda f: off(f, "system_libb2"),                       # qcryptographichash.cpp includes it
    "doubleconversion": lambda f: on(f, "doubleconversion") and off(f, "system_doubleconversion"),
    "easing": lambda f: on(f, "easingcurve"),
    "md4": lambda f: True,                                            # qcryptographichash.cpp
    "md5": lambda f: True,
    "sha1": lambda f: True,
    "sha3_endian": lambda f: True,
    "sha3_keccak": lambda f: True,
    "rfc6234": lambda f: True,
    "siphash": lambda f: True,                                        # qhash.cpp
    "tinycbor": lambda f: on(f, "cborstreamreader") or on(f, "cborstreamwriter"),
    "zlib": lambda f: off(f, "system_zlib"),                          # Core, and Gui's PNG and FreeType use it
    "pcre2": lambda f: on(f, "regularexpression") and off(f, "system_pcre2"),
    "pcre2-sljit": lambda f: on(f, "regularexpression") and off(f, "system_pcre2"),  # JIT on x86-64
    "unicode-character-database": lambda f: True,
    "unicode-cldr": lambda f: True,
    "freetype": lambda f: on(f, "freetype") and off(f, "system_freetype"),
    "freetype-zlib": lambda f: on(f, "freetype") and off(f, "system_freetype"),    # src/gzip is built
    "freetype-bdf": lambda f: on(f, "freetype") and off(f, "system_freetype"),
    "freetype-pcf": lambda f: on(f, "freetype") and off(f, "system_freetype"),
    "harfbuzz-ng": lambda f: on(f, "harfbuzz") and off(f, "system_harfbuzz"),
    "libpng": lambda f: on(f, "png") and off(f, "system_png"),        # Gui's own PNG reader, not a plug-in
    "md4c": lambda f: on(f, "textmarkdownreader") and off(f, "system_textmarkdownreader"),
    "icc-sRGB-color-profile": lambda f: True,                         # Gui's "qpdf" resource, unconditional
    "grayraster": lambda f: True,
    "smooth-scaling-algorithm": lambda f: True,
    "xserverhelper": lambda f: True,
    "aglfn": lambda f: True,                                          # qfontsubset.cpp, unconditional
    "webgradients": lambda f: True,                                   # qbrush.cpp includes webgradients.cpp
    "opengl-headers": lambda f: on(f, "opengl"),
    "opengl-es2-headers": lambda f: on(f, "opengl"),
    "vulkan-xml-spec": lambda f: on(f, "vulkan"),
    "VulkanMemoryAllocator": lambda f: on(f, "vulkan"),
    "libjpeg": "the qjpeg image plug-in, which the zip does not ship",
    "pixman": "ARM NEON only",
    "forkfd": "Unix only",
    "qeventdispatcher_cf": "macOS only",
    "cocoa-platform-plugin": "macOS only",
    "android-native-style": "Android only",
    "android-gradle-wrapper": "Android only",
    "xcb-xinput": "the X11 platform plug-in",
    "vera_font": "WebAssembly only",
    "dejayvu": "WebAssembly only",
    "libpsl": "Qt Network, not shipped",
    "psl": "Qt Network, not shipped",
    "libdbus-1-headers": "Qt D-Bus, not shipped",
    "valgrind": "Qt Test, not shipped",
    "cycle": "Qt Test, not shipped",
    "linuxperf": "Qt Test, not shipped",
}
# Licence texts a licence file refers to rather than holds (FreeType's: "found in the file docs/FTL.TXT").
EXTRA_TEXTS = {"freetype": ["docs/FTL.TXT"], "grayraster": ["../../3rdparty/freetype/docs/FTL.TXT"]}


def feature_flags(qt):
    """QT_FEATURE_<name> of every qt*-config.h and qconfig*.h of the Qt: name -> 1 or -1."""
    flags = {}
    headers = glob.glob(os.path.join(qt, "include", "Qt*", "*config*.h"))
    headers += glob.glob(os.path.join(qt, "include", "Qt*", "*", "Qt*", "private", "*config_p.h"))
    for header in headers:
        with open(header, encoding="utf-8") as f:
            for name, value in re.findall(r"^#define QT_FEATURE_(\w+) (-?1)\s*$", f.read(), re.M):
                flags[name] = int(value)
    return flags


def find_qt():
    qt = subprocess.run([os.path.join(HERE, "find-qt.sh")], capture_output=True, text=True).stdout.strip()
    return qt or None


def source_version(qt):
    """The Debian version of qt6-base the Qt was built from, as its README.txt or build stamp says."""
    for name in ("README.txt", ".gridforge-qt-complete"):
        path = os.path.join(qt, name)
        if os.path.exists(path):
            found = re.search(r"qt6-base (\d[\w.+~-]*\d)", open(path, encoding="utf-8").read())
            if found:
                return found.group(1)
    sys.exit("make_licences: no qt6-base version in %s" % qt)


def fetch_source(version):
    """qt6-base's source, unpacked into the cache that build-qt.sh shares; its folder."""
    cache = os.environ.get("GRIDFORGE_CACHE", os.path.expanduser("~/.cache/gridforge"))
    src = os.path.join(cache, "src", "qtbase")
    ready = os.path.join(src, ".gridforge-source-ready")
    if os.path.exists(ready) and open(ready).read().strip() in ("", version):
        return src
    apt = os.path.join(cache, "apt")
    for folder in ("lists/partial", "archives/partial", "parts"):
        os.makedirs(os.path.join(apt, folder), exist_ok=True)
    with open(os.path.join(apt, "sources.list"), "w") as f:
        f.write("deb-src http://deb.debian.org/debian bookworm main\n")
    options = []
    for key, value in (("Dir::Etc::SourceList", "sources.list"), ("Dir::Etc::SourceParts", "parts"),
                       ("Dir::State::Lists", "lists"), ("Dir::Cache::Archives", "archives")):
        options += ["-o", "%s=%s" % (key, os.path.join(apt, value))]
    options += ["-o", "APT::Get::List-Cleanup=0"]
    subprocess.run(["apt-get"] + options + ["update", "-q"], check=True, stdout=subprocess.DEVNULL)
    top = os.path.dirname(src)
    subprocess.run(["rm", "-rf", top], check=True)
    os.makedirs(top)
    subprocess.run(["apt-get"] + options + ["source", "-q", "--download-only", "qt6-base=" + version],
                   cwd=top, check=True, stdout=subprocess.DEVNULL)
    dsc = glob.glob(os.path.join(top, "qt6-base_*.dsc"))[0]
    subprocess.run(["dpkg-source", "--no-check", "-x", dsc, "qtbase"], cwd=top, check=True, stdout=subprocess.DEVNULL)
    with open(ready, "w") as f:
        f.write(version + "\n")
    return src


def attributions(src):
    """Every attribution of the source's src/ and util/ (cmake/ holds build scripts only)."""
    found = []
    for path in sorted(glob.glob(os.path.join(src, "src", "**", "qt_attribution.json"), recursive=True) +
                       glob.glob(os.path.join(src, "util", "**", "qt_attribution.json"), recursive=True)):
        if "/tests/" in path:
            continue
        with open(path, encoding="utf-8") as f:
            entries = json.loads(f.read(), strict=False)  # some hold line breaks inside strings
        for entry in entries if isinstance(entries, list) else [entries]:
            entry["_folder"] = os.path.dirname(path)
            found.append(entry)
    return found


def licence_text(entry):
    files = (entry.get("LicenseFile") or "").split() + EXTRA_TEXTS.get(entry["Id"], [])
    texts = []
    for name in files:
        with open(os.path.join(entry["_folder"], name), encoding="utf-8", errors="replace") as f:
            texts.append(f.read().rstrip() + "\n")
    return "\n\n".join(texts)


def notice(entry, src):
    lines = [entry["Name"], "=" * len(entry["Name"]), ""]
    lines.append("Version: %s" % (entry.get("Version") or "not given"))
    lines.append("Licence: %s" % (entry.get("LicenseId") or entry.get("License")))
    lines.append("Used in: %s" % " ".join(entry.get("QtUsage", "").split()))
    lines.append("From: qt6-base's %s" % os.path.relpath(os.path.join(entry["_folder"], "qt_attribution.json"), src))
    lines += ["", "Copyright:", entry.get("Copyright", "").strip(), ""]
    text = licence_text(entry)
    if text:
        lines += ["Licence text:", "", text]
    else:
        lines += ["No licence text: %s." % entry.get("License")]
    return "\n".join(lines).rstrip() + "\n"


def bundled(entries, flags):
    """The attributions of what the shipped files hold; stops at an attribution it does not know."""
    unknown = [e["Id"] for e in entries if e["Id"] not in CONDITIONS]
    if unknown:
        sys.exit("make_licences: attributions with no condition in CONDITIONS: %s" % ", ".join(unknown))
    return [e for e in entries if callable(CONDITIONS[e["Id"]]) and CONDITIONS[e["Id"]](flags)]


def write_readme(chosen):
    with open(README, encoding="utf-8") as f:
        text = f.read()
    start, stop = text.index(BEGIN) + len(BEGIN), text.index(END)
    rows = ["  %s %s: Qt\\third-party\\%s.txt" % (e["Name"], e.get("Version") or "", e["Id"]) for e in chosen]
    rows = [re.sub(r" +:", ":", row) for row in rows]
    with open(README, "w", encoding="utf-8") as f:
        f.write(text[:start] + "\n" + "\n".join(rows) + "\n" + text[stop:])


def main():
    qt = sys.argv[1] if len(sys.argv) > 1 else find_qt()
    if not qt:
        sys.exit("make_licences: no Qt for Windows (scripts/windows/build-qt.sh builds one)")
    version = source_version(qt)
    src = fetch_source(version)
    chosen = sorted(bundled(attributions(src), feature_flags(qt)), key=lambda e: e["Name"].lower())
    os.makedirs(NOTICES, exist_ok=True)
    for old in glob.glob(os.path.join(NOTICES, "*.txt")):
        os.remove(old)
    for entry in chosen:
        with open(os.path.join(NOTICES, entry["Id"] + ".txt"), "w", encoding="utf-8") as f:
            f.write(notice(entry, src))
    write_readme(chosen)
    print("make_licences: %d notices from qt6-base %s into %s" % (len(chosen), version, os.path.relpath(NOTICES, ROOT)))
    for entry in chosen:
        print("  %-28s %-12s %s" % (entry["Id"], entry.get("Version") or "-", entry.get("LicenseId") or entry.get("License")))


if __name__ == "__main__":
    main()
