#!/usr/bin/env python3
"""Keeps the layers of the source tree as the folders show them.

Checks, over every source of the program:
- an include of the project's own reaches only its own folder or one below it
  (base, then platform, then document, then components, then the windows
  view, viewer and dialogs, each on its own, then shell);
- the plain C++ core (base, platform, document, components and view without
  their qt/ subfolders) includes no Qt header, and only platform/ includes a
  header of one system;
and, given the built core:
- nothing the core's library links (its whole link closure, as CMake has it)
  is a Qt library, and no object in the library calls into Qt.

  check_layers.py SOURCE_DIR [LINK_CLOSURE_FILE CORE_ARCHIVE]
"""
import os
import re
import subprocess
import sys

# Lower numbers are lower layers. Windows share a rank but not each other.
LAYERS = {
    "base": 0,
    "platform": 1,
    "document": 2,
    "components": 3,
    "view": 4,
    "viewer": 4,
    "dialogs": 4,
    "shell": 5,
}
QT_SUBFOLDER = "qt"
# Folders that are Qt windows through and through, without a plain half.
QT_FOLDERS = ("viewer", "dialogs", "shell")
QT_HEADER = re.compile(r"^Q[A-Za-z]*$|^Qt[A-Za-z]+/")
SYSTEM_HEADERS = re.compile(r"^(windows|winbase|winnt|shlobj|shobjidl|aclapi|io|direct|unistd|fcntl|dirent|"
                            r"pwd|grp|iconv|dlfcn|pthread)\.h$|^sys/|^linux/")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def folder_of(relative):
    parts = relative.split("/")
    return parts[0], len(parts) > 2 and parts[1] == QT_SUBFOLDER


def include_faults(source_dir):
    faults = []
    for top in LAYERS:
        for root, _, files in os.walk(os.path.join(source_dir, top)):
            for name in sorted(files):
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(root, name)
                relative = os.path.relpath(path, source_dir).replace(os.sep, "/")
                folder, is_qt = folder_of(relative)
                plain = not is_qt and folder not in QT_FOLDERS
                with open(path, encoding="utf-8") as file:
                    for number, line in enumerate(file, 1):
                        match = INCLUDE.match(line)
                        if not match:
                            continue
                        kind, header = match.groups()
                        where = f"{relative}:{number}: {line.strip()}"
                        if kind == '"':
                            target = header.split("/")[0]
                            if target not in LAYERS:
                                continue
                            if LAYERS[target] > LAYERS[folder]:
                                faults.append(f"{where}: {target}/ is a layer above {folder}/")
                            elif LAYERS[target] == LAYERS[folder] and target != folder:
                                faults.append(f"{where}: {target}/ and {folder}/ are windows side by side")
                            elif plain and folder_of(header)[1]:
                                faults.append(f"{where}: the plain C++ of {folder}/ includes a Qt layer")
                        elif plain:
                            if QT_HEADER.match(header):
                                faults.append(f"{where}: a Qt header in the plain C++ core")
                            elif SYSTEM_HEADERS.match(header) and folder != "platform":
                                faults.append(f"{where}: a system's own header outside platform/")
    return faults


def link_faults(closure_file, archive):
    faults = []
    with open(closure_file, encoding="utf-8") as file:
        linked = [line.strip() for line in file if line.strip()]
    for library in linked:
        if re.search(r"(^|[/:])(Qt6?|lib[Qq]t6?)", library):
            faults.append(f"the core's library links {library}")
    symbols = subprocess.run(["nm", "-u", "-C", archive], check=True, capture_output=True, text=True).stdout
    for symbol in sorted(set(re.findall(r"^\s*U (.*)$", symbols, re.M))):
        if re.search(r"\bQ[A-Z]\w*::|\bqt_|\bq(Fatal|Warning|Debug|Critical)\b", symbol):
            faults.append(f"the core's library calls {symbol}")
    return faults


def main():
    if len(sys.argv) not in (2, 4):
        sys.exit(__doc__)
    faults = include_faults(sys.argv[1])
    if len(sys.argv) == 4:
        faults += link_faults(sys.argv[2], sys.argv[3])
    for fault in faults:
        print(fault, flush=True)
    if faults:
        sys.exit(f"{len(faults)} include or link faults")
    print("every include goes down a layer; the core links no Qt")


if __name__ == "__main__":
    main()
