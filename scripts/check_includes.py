#!/usr/bin/env python3
"""Checks every include of src/ and app/ against the direction table.

The table is the one of docs/architecture.md, section "Who may include whom":
the rules live there and only there. Each row names its rooms (folders) in
its first column and what they may include in its second; the third, what
they never include, must agree with the second. A room may always include
its own headers. Besides the table, no two rooms may include each other.

Usage: check_includes.py [--root DIR] [--qt-headers DIR]

--root is the source tree (default: the one this script lies in).
--qt-headers is Qt's header folder (the one holding QtCore, QtGui, ...): with
it, an include such as <QPainter> is placed in its Qt module, so a room
allowed Qt Gui but not Qt Widgets is held to that; without it, every Qt
include counts as Qt of no known module, allowed where any Qt is.

Exits 1 and names file, line and rule for every include that breaks the
table, 0 when all follow it.
"""

import argparse
import os
import re
import sys

DOC = os.path.join("docs", "architecture.md")
SECTION = "## Who may include whom"
SCANNED = ("src", "app")
SOURCE_ENDINGS = (".h", ".hpp", ".cpp", ".cc", ".inl")

# The core: plain C++ without Qt.
CORE = ("src/keys", "src/texts", "src/model", "src/engine", "src/persistence", "src/batch", "src/vegetation")

# Qt modules by the words the table uses: the module, and the modules that
# using it brings along (a widget paints with Qt Gui and holds Qt Core types).
QT_WORDS = {
    "Qt Core": ("QtCore", {"QtCore"}),
    "Qt Gui": ("QtGui", {"QtCore", "QtGui"}),
    "Qt Widgets": ("QtWidgets", {"QtCore", "QtGui", "QtWidgets"}),
    "PrintSupport": ("QtPrintSupport", {"QtCore", "QtGui", "QtPrintSupport"}),
    "Svg": ("QtSvg", {"QtCore", "QtGui", "QtSvg"}),
    "Charts": ("QtCharts", {"QtCore", "QtGui", "QtWidgets", "QtCharts"}),
}
ANY_QT = "Qt"

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
BACKTICKED = re.compile(r"^`([^`]+)`$")


class TableError(Exception):
    pass


class Row:
    def __init__(self, line_no, rooms, allowed_paths, allowed_qt, never_paths, never_qt, others):
        self.line_no = line_no
        self.rooms = rooms  # folders, e.g. "src/ui/run"
        self.allowed_paths = allowed_paths  # folders whose headers the rooms may include
        self.allowed_qt = allowed_qt  # Qt modules
        self.never_paths = never_paths
        self.never_qt = never_qt  # Qt modules, or {ANY_QT}
        self.others = others  # "one another": the row's rooms may not include each other


def room_path(name, prefix):
    """`src/ui/run` as it is; `results` after `src/ui/run` is src/ui/results;
    `model` or `ui/forms` in an include column is under src/."""
    if name.startswith(("src/", "app/")):
        return name
    if prefix:
        return prefix + "/" + name
    return "src/" + name


def split_cell(cell):
    # Commas separate the items; "x and y" is two items as well.
    items = []
    for part in cell.split(","):
        for item in re.split(r"\s+and\s+", part.strip()):
            if item.strip():
                items.append(item.strip())
    return items


def parse_includes_cell(cell, rooms, every_room, line_no, column):
    paths, qt, others = set(), set(), False
    for item in split_cell(cell):
        m = BACKTICKED.match(item)
        if m:
            paths.add(room_path(m.group(1), None))
        elif item in ("the standard library", "-", "nothing"):
            pass
        elif item == "the core":
            paths.update(CORE)
        elif item in ("every ui room", "every other ui room"):
            paths.update(r for r in every_room if r.startswith("src/ui/") and r not in rooms)
        elif item == "every room":
            paths.add("src")
        elif item == "anything of Pelodyn":
            paths.update(("src", "app"))
        elif item == "one another":
            others = True
        elif item in QT_WORDS and column == "never":
            qt.add(QT_WORDS[item][0])
        elif item in QT_WORDS:
            qt.update(QT_WORDS[item][1])
        elif item == "Qt" and column == "never":
            qt.add(ANY_QT)
        else:
            raise TableError(
                f"{DOC}:{line_no}: '{item}' in the {column} column is neither a room in backticks "
                f"nor one of the words the check knows (the core, every ui room, every other ui room, "
                f"every room, anything of Pelodyn, one another, the standard library, Qt, "
                f"{', '.join(QT_WORDS)})")
    return paths, qt, others


def read_table(root):
    path = os.path.join(root, DOC)
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    try:
        start = lines.index(SECTION)
    except ValueError:
        raise TableError(f"{DOC}: no section '{SECTION}'")
    raw = []
    for i in range(start + 1, len(lines)):
        line = lines[i].strip()
        if line.startswith("## "):
            break
        if not line.startswith("|"):
            if raw and line == "":
                break
            continue
        cells = [c.strip() for c in line.strip("|").split("|")]
        if len(cells) != 3:
            raise TableError(f"{DOC}:{i + 1}: a row of the table has {len(cells)} columns, not 3")
        if cells[0] == "Room" or set(cells[0]) <= set("-: "):
            continue
        raw.append((i + 1, cells))
    if not raw:
        raise TableError(f"{DOC}: the section '{SECTION}' holds no table")

    # First the rooms of every row, so "every other ui room" knows them all.
    named = []
    for line_no, cells in raw:
        rooms, prefix = [], None
        for item in split_cell(cells[0]):
            m = BACKTICKED.match(item)
            if not m:
                raise TableError(f"{DOC}:{line_no}: '{item}' in the room column is not a room in backticks")
            name = m.group(1)
            if name.startswith(("src/", "app/")):
                rooms.append(name)
                prefix = name.rsplit("/", 1)[0]
            elif prefix:
                rooms.append(prefix + "/" + name)
            else:
                raise TableError(f"{DOC}:{line_no}: '{name}' needs a full path such as src/{name}")
        named.append(rooms)
    every_room = [r for rooms in named for r in rooms]
    if len(set(every_room)) != len(every_room):
        raise TableError(f"{DOC}: a room is named in two rows")

    rows = []
    for (line_no, cells), rooms in zip(raw, named):
        allowed, allowed_qt, _ = parse_includes_cell(cells[1], rooms, every_room, line_no, "may-include")
        never, never_qt, others = parse_includes_cell(cells[2], rooms, every_room, line_no, "never")
        row = Row(line_no, rooms, allowed, allowed_qt, never, never_qt, others)
        for a in allowed:
            for n in never:
                if under(a, n) or under(n, a):
                    raise TableError(f"{DOC}:{line_no}: the row allows {a} and forbids {n}")
        if allowed_qt and (ANY_QT in never_qt or allowed_qt & never_qt):
            raise TableError(f"{DOC}:{line_no}: the row allows and forbids Qt")
        for room in rooms:
            for a in allowed:
                if under(room, a):
                    raise TableError(f"{DOC}:{line_no}: {room} is allowed {a}, which holds it")
            if others and any(under(other, a) for other in rooms if other != room for a in allowed):
                raise TableError(f"{DOC}:{line_no}: the row's rooms may not include one another, yet it allows them")
        rows.append(row)

    # The table itself: no two rooms may be allowed each other.
    for a in rows:
        for b in rows:
            for ra in a.rooms:
                for rb in b.rooms:
                    if ra != rb and allows(a, rb) and allows(b, ra):
                        raise TableError(f"{DOC}:{a.line_no} and {b.line_no}: {ra} and {rb} may include each other")
    return rows


def under(path, folder):
    return path == folder or path.startswith(folder + "/")


def allows(row, room):
    return any(under(room, a) for a in row.allowed_paths)


def room_of(path, rows):
    """The row and room (the longest folder of the table holding `path`)."""
    best = None
    for row in rows:
        for room in row.rooms:
            if under(path, room) and (best is None or len(room) > len(best[1])):
                best = (row, room)
    return best


def qt_module(header, qt_headers):
    """The Qt module of an angle-bracket include, None when it is not Qt."""
    first = header.split("/", 1)[0]
    if "/" in header and re.fullmatch(r"Qt[A-Z]\w*", first):
        return first
    if not re.fullmatch(r"Qt?[A-Z]\w*", header):
        return None
    if qt_headers:
        for module in sorted(os.listdir(qt_headers)):
            if os.path.isfile(os.path.join(qt_headers, module, header)):
                return module
        return None  # not a Qt header after all
    return ANY_QT


def describe(row):
    words = sorted(row.allowed_paths) + sorted(row.allowed_qt)
    return ", ".join(words) if words else "nothing of Pelodyn"


def check(root, qt_headers):
    rows = read_table(root)
    breaches = []
    edges = {}  # (room, room) -> first file:line
    count = 0
    for top in SCANNED:
        for folder, dirs, files in os.walk(os.path.join(root, top)):
            dirs.sort()
            for name in sorted(files):
                if not name.endswith(SOURCE_ENDINGS):
                    continue
                full = os.path.join(folder, name)
                rel = os.path.relpath(full, root).replace(os.sep, "/")
                home = room_of(rel, rows)
                if home is None:
                    breaches.append(f"{rel}: lies in no room of the table in {DOC}")
                    continue
                row, room = home
                with open(full, encoding="utf-8", errors="replace") as f:
                    for line_no, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if not m:
                            continue
                        count += 1
                        where = f"{rel}:{line_no}"
                        kind, header = m.groups()
                        if kind == "<":
                            module = qt_module(header, qt_headers)
                            if module is None:
                                continue
                            if module == ANY_QT and row.allowed_qt:
                                continue
                            if module in row.allowed_qt:
                                continue
                            allowed_qt = ", ".join(sorted(row.allowed_qt)) or "no Qt"
                            breaches.append(f"{where}: includes <{header}> ({module}), but {room} may use "
                                            f"{allowed_qt} ({DOC}, line {row.line_no})")
                            continue
                        target = None
                        for base in (os.path.dirname(rel), "src"):
                            candidate = os.path.normpath(os.path.join(base, header)).replace(os.sep, "/")
                            if os.path.isfile(os.path.join(root, candidate)):
                                target = candidate
                                break
                        if target is None:
                            breaches.append(f'{where}: includes "{header}", which is no file of the tree')
                            continue
                        there = room_of(target, rows)
                        if there is None:
                            breaches.append(f'{where}: includes "{header}", which lies in no room of the table')
                            continue
                        other = there[1]
                        if other == room:
                            continue
                        edges.setdefault((room, other), where)
                        if not allows(row, other):
                            breaches.append(f'{where}: includes "{header}" of {other}, but {room} may include only '
                                            f"{describe(row)} ({DOC}, line {row.line_no})")
    for (a, b), where in sorted(edges.items()):
        if a < b and (b, a) in edges:
            breaches.append(f"{where} and {edges[(b, a)]}: {a} and {b} include each other")
    return breaches, count


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--root", default=os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    parser.add_argument("--qt-headers", default=None)
    args = parser.parse_args()
    try:
        breaches, count = check(args.root, args.qt_headers)
    except TableError as e:
        print(f"The direction table cannot be read: {e}", file=sys.stderr)
        return 1
    for b in breaches:
        print(b, file=sys.stderr)
    if breaches:
        print(f"{len(breaches)} include(s) break the direction table of {DOC}.", file=sys.stderr)
        return 1
    print(f"All {count} includes of {' and '.join(SCANNED)} follow the direction table of {DOC}.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
