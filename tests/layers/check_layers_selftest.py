#!/usr/bin/env python3
"""Runs check_layers.py on small trees, one fault in each, and on the same tree
without it: the check must fail on every fault and pass on the clean tree."""
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
CHECK = os.path.join(HERE, "check_layers.py")

# Every tree has these files; a row adds one line to one of them.
TREE = {
    "base/Twips.h": "#pragma once\n",
    "document/MapFile.cpp": '#include "base/Twips.h"\n#include <string>\n',
    "document/LevelText.h": "#pragma once\n",
    "view/CellGrid.h": '#pragma once\n#include "document/LevelText.h"\n',
    "view/qt/frmMain.h": "#pragma once\n#include <QWidget>\n",
    "viewer/frmOwnData.h": "#pragma once\n",
    "tests/support/Fake.h": "#pragma once\n",
    "shell/frmMDI.cpp": '#include "view/CellGrid.h"\n#include "viewer/frmOwnData.h"\n',
}

# (row name, file, added line, words the check's report must hold)
FAULTS = [
    ("quoted, from the root", "document/MapFile.cpp", '#include "view/CellGrid.h"', "view/CellGrid.h"),
    ("angled, from the root", "document/MapFile.cpp", "#include <view/CellGrid.h>", "view/CellGrid.h"),
    ("quoted, up a folder", "document/MapFile.cpp", '#include "../view/CellGrid.h"', "view/CellGrid.h"),
    ("angled, up a folder from the root", "document/MapFile.cpp", "#include <document/../view/CellGrid.h>",
     "view/CellGrid.h"),
    ("quoted, beside the file, of a Qt layer", "view/CellGrid.h", '#include "qt/frmMain.h"', "Qt layer"),
    ("windows side by side", "view/CellGrid.h", '#include "../viewer/frmOwnData.h"', "side by side"),
    ("out of the program", "document/MapFile.cpp", '#include "../tests/support/Fake.h"', "outside"),
    ("a Qt header, angled", "document/MapFile.cpp", "#include <QString>", "Qt header"),
    ("a Qt header, quoted", "document/MapFile.cpp", '#include "QtCore/qglobal.h"', "Qt header"),
    ("a system header", "base/Twips.h", "#include <unistd.h>", "system"),
]

# A core archive that calls into Qt: the second of two, so that every archive counts.
QT_CALL = "struct QString { static int number(int); };\nint Count() { return QString::number(1); }\n"
PLAIN = "int Plain() { return 1; }\n"


def write_tree(root, extra_file=None, extra_line=None):
    for relative, text in TREE.items():
        path = os.path.join(root, relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8") as file:
            file.write(text + (extra_line + "\n" if relative == extra_file else ""))


def check(*arguments):
    return subprocess.run([sys.executable, CHECK, *arguments], capture_output=True, text=True)


def archive(folder, name, source):
    cpp = os.path.join(folder, name + ".cpp")
    with open(cpp, "w", encoding="utf-8") as file:
        file.write(source)
    subprocess.run(["c++", "-c", cpp, "-o", cpp + ".o"], check=True)
    path = os.path.join(folder, "lib" + name + ".a")
    subprocess.run(["ar", "rcs", path, cpp + ".o"], check=True)
    return path


def main():
    failures = []
    work = tempfile.mkdtemp(prefix="layers-selftest-")
    try:
        clean = os.path.join(work, "clean")
        write_tree(clean)
        result = check(clean)
        if result.returncode != 0:
            failures.append("clean tree refused:\n" + result.stdout + result.stderr)
        for number, (name, relative, line, words) in enumerate(FAULTS):
            root = os.path.join(work, f"fault{number}")
            write_tree(root, relative, line)
            result = check(root)
            if result.returncode == 0 or words not in result.stdout or relative not in result.stdout:
                failures.append(f"{name}: {relative} with {line!r} not reported as {words!r}:\n"
                                f"{result.stdout}{result.stderr}")
        closure = os.path.join(work, "closure.txt")
        with open(closure, "w", encoding="utf-8") as file:
            file.write("gridforge_core\ngridforge_platform\n")
        plain = archive(work, "plain", PLAIN)
        calls = archive(work, "calls", QT_CALL)
        for name, archives, fails in (("plain archives", [plain, plain], False),
                                      ("second archive calls Qt", [plain, calls], True)):
            result = check(clean, closure, *archives)
            if (result.returncode != 0) != fails or (fails and "libcalls.a calls QString::number" not in result.stdout):
                failures.append(f"{name}: exit {result.returncode}:\n{result.stdout}{result.stderr}")
        with open(closure, "a", encoding="utf-8") as file:
            file.write("Qt6::Core\n")
        result = check(clean, closure, plain)
        if result.returncode == 0 or "links Qt6::Core" not in result.stdout:
            failures.append("a closure with Qt6::Core passed:\n" + result.stdout)
    finally:
        shutil.rmtree(work)
    for failure in failures:
        print(failure)
    rows = len(FAULTS) + 4
    print(f"{rows - len(failures)} passed, {len(failures)} failed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
