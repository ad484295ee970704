#!/usr/bin/env python3
"""Keeps the layers of the source tree as the folders show them.

Checks, over every source of the program:
- an include of the project's own reaches only its own folder or one below it
  (base, then platform, then document, then components, then the windows
  view, viewer and dialogs, each on its own, then shell). An include counts
  by the file it reaches, as the compiler finds it: a quoted name beside the
  including file first, then any name from the source root;
- the plain C++ core (base, platform, document, components and view without
  their qt/ subfolders) includes no Qt header, and only platform/ includes a
  header of one system;
and, given the built core:
- nothing the core's library links (its whole link closure, as CMake has it)
  is a Qt library, and no object in any of the core's archives calls into Qt.

  check_layers.py SOURCE_DIR [LINK_CLOSURE_FILE CORE_ARCHIVE...]
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


def resolved_include(source_dir, including_dir, kind, header):
    """The project file an include reaches, relative to the source root, or None for a header from outside."""
    candidates = [os.path.join(including_dir, header)] if kind == '"' else []
    candidates.append(os.path.join(source_dir, header))
    root = os.path.realpath(source_dir)
    for candidate in candidates:
        if os.path.isfile(candidate):
            real = os.path.realpath(candidate)
            if os.path.commonpath([root, real]) == root:
                return os.path.relpath(real, root).replace(os.sep, "/")
    return None


def include_fault(source_dir, relative, kind, header):
    """What is wrong with one include of the source `relative`, or None."""
    folder, is_qt = folder_of(relative)
    plain = not is_qt and folder not in QT_FOLDERS
    including_dir = os.path.dirname(os.path.join(source_dir, relative))
    reached = resolved_include(source_dir, including_dir, kind, header)
    if reached is None:
        if plain and QT_HEADER.match(header):
            return "a Qt header in the plain C++ core"
        if plain and SYSTEM_HEADERS.match(header) and folder != "platform":
            return "a system's own header outside platform/"
        return None
    target, target_is_qt = folder_of(reached)
    if target not in LAYERS:
        return f"reaches {reached}, outside the program's layers"
    if LAYERS[target] > LAYERS[folder]:
        return f"reaches {reached}: {target}/ is a layer above {folder}/"
    if LAYERS[target] == LAYERS[folder] and target != folder:
        return f"reaches {reached}: {target}/ and {folder}/ are windows side by side"
    if plain and target_is_qt:
        return f"reaches {reached}: the plain C++ of {folder}/ includes a Qt layer"
    return None


def include_faults(source_dir):
    faults = []
    for top in LAYERS:
        for root, _, files in os.walk(os.path.join(source_dir, top)):
            for name in sorted(files):
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(root, name)
                relative = os.path.relpath(path, source_dir).replace(os.sep, "/")
                with open(path, encoding="utf-8") as file:
                    for number, line in enumerate(file, 1):
                        match = INCLUDE.match(line)
                        if match:
                            fault = include_fault(source_dir, relative, *match.groups())
                            if fault:
                                faults.append(f"{relative}:{number}: {line.strip()}: {fault}")
    return faults


def link_faults(closure_file, archives):
    faults = []
    with open(closure_file, encoding="utf-8") as file:
        linked = [line.strip() for line in file if line.strip()]
    for library in linked:
        if re.search(r"(^|[/:])(Qt6?|lib[Qq]t6?)", library):
            faults.append(f"the core's library links {library}")
    for archive in archives:
        symbols = subprocess.run(["nm", "-u", "-C", archive], check=True, capture_output=True, text=True).stdout
        for symbol in sorted(set(re.findall(r"^\s*U (.*)$", symbols, re.M))):
            if re.search(r"\bQ[A-Z]\w*::|\bqt_|\bq(Fatal|Warning|Debug|Critical)\b", symbol):
                faults.append(f"{os.path.basename(archive)} calls {symbol}")
    return faults


def main():
    if len(sys.argv) == 3 or len(sys.argv) < 2:
        sys.exit(__doc__)
    faults = include_faults(sys.argv[1])
    if len(sys.argv) > 3:
        faults += link_faults(sys.argv[2], sys.argv[3:])
    for fault in faults:
        print(fault, flush=True)
    if faults:
        sys.exit(f"{len(faults)} include or link faults")
    print("every include goes down a layer; the core links no Qt")


if __name__ == "__main__":
    main()
