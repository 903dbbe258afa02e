#!/usr/bin/env python3
"""Fails on an #include that crosses layers in a direction the README's layer table does not allow.

The table under the README's "### Layers" heading is the one source: each row names a layer, the
folders (or files) it holds and the layers it may include. A file belongs to the row whose folder
is the longest prefix of its path; a file in no row is an error, so a new folder must be placed.
"""

import os
import re
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
SCANNED = ("src", "server")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
CODE = re.compile(r"`([^`]+)`")


def read_table(readme):
    """Answers {layer: (folders, allowed layers)} from the README's layer table."""
    rows = {}
    in_section = False
    with open(readme, encoding="utf-8") as text:
        for line in text:
            if line.startswith("#"):
                in_section = line.strip() == "### Layers"
                continue
            if not in_section or not line.startswith("|"):
                continue
            cells = [cell.strip() for cell in line.strip().strip("|").split("|")]
            if len(cells) != 3 or cells[0] in ("layer", "") or set(cells[0]) <= set("-: "):
                continue
            folders = CODE.findall(cells[1])
            allowed = {name.strip() for name in cells[2].split(",") if name.strip() not in ("", "—")}
            rows[cells[0]] = (folders, allowed)
    return rows


def layer_of(path, owners):
    """The layer whose folder or file is the longest prefix of `path`, else None."""
    best = None
    for prefix, layer in owners.items():
        if path == prefix or path.startswith(prefix + "/"):
            if best is None or len(prefix) > len(best[0]):
                best = (prefix, layer)
    return best[1] if best else None


def resolve(including_dir, target):
    """The repository path an include names: beside the including file, else from src/ or server/."""
    for base in (including_dir, os.path.join(ROOT, "src"), os.path.join(ROOT, "server")):
        candidate = os.path.normpath(os.path.join(base, target))
        if os.path.isfile(candidate):
            return os.path.relpath(candidate, ROOT)
    return None


def main():
    rows = read_table(os.path.join(ROOT, "README.md"))
    if not rows:
        print("check-layers: no layer table under '### Layers' in README.md")
        return 1
    owners = {folder: layer for layer, (folders, _) in rows.items() for folder in folders}
    unknown = sorted({name for _, allowed in rows.values() for name in allowed} - rows.keys())
    problems = ["README.md: the layer table names an unknown layer: " + n for n in unknown]
    for scanned in SCANNED:
        for folder, _, files in os.walk(os.path.join(ROOT, scanned)):
            for name in sorted(files):
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.relpath(os.path.join(folder, name), ROOT)
                source = layer_of(path, owners)
                if source is None:
                    problems.append(f"{path}: in no layer of the README's table")
                    continue
                with open(os.path.join(ROOT, path), encoding="utf-8", errors="replace") as text:
                    for number, line in enumerate(text, 1):
                        match = INCLUDE.match(line)
                        target = match and resolve(folder, match.group(1))
                        if not target:
                            continue
                        destination = layer_of(target, owners)
                        if destination not in (source, None) and destination not in rows[source][1]:
                            problems.append(f"{path}:{number}: {source} may not include "
                                            f"{destination} ({match.group(1)})")
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
