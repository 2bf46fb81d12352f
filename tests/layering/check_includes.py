#!/usr/bin/env python3
"""Fails when an include runs against the floors of the build.

Every quoted include names its file from the project root
("core/draft/quillabydoc.h"). A folder may include the folders listed for it
below and nothing else; folders not listed (tests, bench) may include anything.
A file's folder is the longest listed prefix of its path."""
import os
import re
import sys

CORE_BASE = ["core/draft"]
FLOOR1 = CORE_BASE + ["core/wif", "core/picture", "core/graphic"]
TRANSFORM = FLOOR1 + ["core/transform"]
CORE = TRANSFORM + ["core/imagedraft", "core/yarn", "core/print", "core/dobby"]
UI_FEATURES = ["ui/browser", "ui/colors", "ui/combine", "ui/drawing", "ui/filecommands", "ui/floats",
               "ui/heddles", "ui/loom", "ui/pictures", "ui/print", "ui/profile", "ui/wholedraft", "ui/yarn"]

# folder: the folders its files may include (besides itself)
ALLOWED = {
    # The draft model is the ground floor.
    "core/draft": [],
    # Files, pictures and drawdown images stand on the model, apart from each
    # other but for the picture sink that drawdown images are written through.
    "core/wif": CORE_BASE,
    "core/picture": [],
    "core/graphic": CORE_BASE + ["core/picture"],
    # Whole-draft commands may read files and pictures.
    "core/transform": FLOOR1,
    # The subsystems built on the commands, each on its own.
    "core/imagedraft": TRANSFORM,
    "core/yarn": TRANSFORM,
    "core/print": TRANSFORM,
    "core/dobby": TRANSFORM,
    # Pages on paper and the cell glyphs: QtGui over the core.
    "printing": CORE,
    # The command line: the core, and the print helper the page painter.
    "cli": CORE,
    "cli/print": CORE + ["cli", "printing"],
    "tools/loom-emulator": CORE,
    "tools/viewdemo": CORE + ["printing", "ui/base", "ui/views"],
    # The ui kit every feature uses, then the views, then the features; the
    # shell assembles them all.
    "ui/base": CORE,
    # A pane and its tool objects know each other.
    "ui/views": CORE + ["printing", "ui/base", "ui/views/tools"],
    "ui/views/tools": CORE + ["printing", "ui/base", "ui/views"],
    "ui/app": CORE + ["printing", "ui/base", "ui/views", "ui/views/tools"] + UI_FEATURES,
}
for feature in UI_FEATURES:
    ALLOWED[feature] = CORE + ["printing", "ui/base", "ui/views", "ui/views/tools"]

SOURCES = (".h", ".cpp")
INCLUDE = re.compile(r'^\s*#\s*include\s+(["<])([^">]+)[">]', re.M)


def folder_of(path):
    best = None
    for f in ALLOWED:
        if path.startswith(f + "/"):
            if best is None or len(f) > len(best):
                best = f
    return best


def check(root):
    faults = []
    for top in ["core", "ui", "printing", "cli", "tools"]:
        for d, _, files in os.walk(os.path.join(root, top)):
            for name in files:
                if not name.endswith(SOURCES):
                    continue
                path = os.path.relpath(os.path.join(d, name), root)
                floor = folder_of(path)
                if floor is None:
                    faults.append(f"{path}: its folder has no floor in {os.path.basename(__file__)}")
                    continue
                text = open(os.path.join(root, path), encoding="utf-8").read()
                for m in INCLUDE.finditer(text):
                    kind, inc = m.groups()
                    line = text.count("\n", 0, m.start()) + 1
                    if kind == "<":
                        # The core builds without Qt.
                        if path.startswith("core/") and re.match(r"Q[A-Za-z]+(/|$)|qt", inc):
                            faults.append(f"{path}:{line}: the core includes Qt <{inc}>")
                        continue
                    if inc.endswith(".moc"):
                        continue
                    if not os.path.isfile(os.path.join(root, inc)):
                        faults.append(f'{path}:{line}: "{inc}" does not name a file from the project root')
                        continue
                    target = folder_of(inc)
                    if target == floor or target in ALLOWED[floor]:
                        continue
                    faults.append(f'{path}:{line}: {floor} may not include "{inc}" ({target})')
    return faults


if __name__ == "__main__":
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..")
    faults = check(os.path.abspath(root))
    for f in faults:
        print(f)
    print(f"{len(faults)} include(s) against the floors")
    sys.exit(1 if faults else 0)
