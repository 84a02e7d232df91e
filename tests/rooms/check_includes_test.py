#!/usr/bin/env python3
"""The include check finds each kind of breach, and names file, line and rule.

Each case lays a small tree beside the real direction table of
docs/architecture.md: a few files and their includes, a made-up Qt header
folder, and what the check must say (nothing, when the tree follows the
table).

Usage: check_includes_test.py SOURCE_DIR
"""

import os
import subprocess
import sys
import tempfile
import unittest

SOURCE = None

# Qt headers of the made-up header folder, by module.
QT = {"QtCore": ["QString"], "QtGui": ["QPainter"], "QtWidgets": ["QWidget"]}

# Files of each case: path -> its lines. The first file of every case holds
# nothing wrong, so the check has a room that passes beside the one that fails.
BASE = {
    "src/texts/messages.h": ["#include <string>"],
    "src/model/project.h": ['#include "texts/messages.h"'],
    "src/engine/run.h": ['#include "model/project.h"'],
    "src/view/tools/tool.h": ['#include "model/project.h"'],
    "src/view/view.h": ['#include "view/tools/tool.h"', "#include <QWidget>"],
    "src/reports/page.h": ["#include <QPainter>", '#include "view/view.h"'],
    "src/ui/document/document.h": ['#include "model/project.h"'],
    "src/ui/models/table.h": ['#include "ui/document/document.h"'],
    "src/ui/widgets/grid.h": ['#include "ui/models/table.h"'],
    "src/ui/forms/form.h": ['#include "ui/widgets/grid.h"'],
    "src/ui/vegetation/window.h": ['#include "ui/widgets/grid.h"', '#include "view/view.h"'],
    "src/ui/shell/main.h": ['#include "ui/forms/form.h"', '#include "ui/vegetation/window.h"'],
    "app/gui/main.cpp": ['#include "ui/shell/main.h"'],
    "app/cli/main.cpp": ['#include "engine/run.h"'],
}

CASES = [
    # (why, files added or replaced, what the check must say, or None to pass)
    ("a tree that follows the table passes", {}, None),
    ("an upward include in the core",
     {"src/model/project.h": ["#include <vector>", '#include "engine/run.h"']},
     'src/model/project.h:2: includes "engine/run.h" of src/engine, but src/model may include only src/keys, src/texts'),
    ("one window room includes another",
     {"src/ui/vegetation/window.h": ['#include "ui/forms/form.h"']},
     'src/ui/vegetation/window.h:1: includes "ui/forms/form.h" of src/ui/forms, but src/ui/vegetation may include only'),
    ("the shared widgets reach up into a window",
     {"src/ui/widgets/grid.h": ['#include "ui/forms/form.h"']},
     'src/ui/widgets/grid.h:1: includes "ui/forms/form.h" of src/ui/forms'),
    ("the view's Qt-free tools include the view",
     {"src/view/tools/tool.h": ['#include "view/view.h"']},
     "src/view/view.h:1 and src/view/tools/tool.h:1: src/view and src/view/tools include each other"),
    ("a Qt header in the core",
     {"src/engine/run.h": ['#include "model/project.h"', "#include <QString>"]},
     "src/engine/run.h:2: includes <QString> (QtCore), but src/engine may use no Qt"),
    ("a widget in the reports, which may paint but hold no widget",
     {"src/reports/page.h": ["#include <QPainter>", "#include <QWidget>"]},
     "src/reports/page.h:2: includes <QWidget> (QtWidgets), but src/reports may use QtCore, QtGui, QtPrintSupport"),
    ("the command-line program includes the desktop program",
     {"app/cli/main.cpp": ['  #  include "ui/shell/main.h"']},
     'app/cli/main.cpp:1: includes "ui/shell/main.h" of src/ui/shell, but app/cli may include only'),
    ("a folder the table does not name",
     {"src/extra/thing.h": ['#include "model/project.h"']},
     "src/extra/thing.h: lies in no room of the table"),
    ("an include of no file",
     {"src/model/project.h": ['#include "model/missing.h"']},
     'src/model/project.h:1: includes "model/missing.h", which is no file of the tree'),
]


def lay(root, files, table):
    os.makedirs(os.path.join(root, "docs"))
    with open(os.path.join(root, "docs", "architecture.md"), "w", encoding="utf-8") as f:
        f.write(table)
    for path, lines in files.items():
        full = os.path.join(root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w", encoding="utf-8") as f:
            f.write("\n".join(lines) + "\n")
    qt = os.path.join(root, "qt")
    for module, headers in QT.items():
        os.makedirs(os.path.join(qt, module))
        for h in headers:
            open(os.path.join(qt, module, h), "w").close()
    return qt


def run_check(root, qt):
    return subprocess.run(
        [sys.executable, os.path.join(SOURCE, "scripts", "check_includes.py"), "--root", root, "--qt-headers", qt],
        capture_output=True, text=True)


def real_table():
    with open(os.path.join(SOURCE, "docs", "architecture.md"), encoding="utf-8") as f:
        return f.read()


class CheckIncludes(unittest.TestCase):
    def test_each_kind_of_breach_is_named(self):
        for why, changes, expected in CASES:
            with self.subTest(why), tempfile.TemporaryDirectory() as root:
                qt = lay(root, {**BASE, **changes}, real_table())
                result = run_check(root, qt)
                if expected is None:
                    self.assertEqual(result.returncode, 0, result.stderr)
                    self.assertEqual(result.stderr, "")
                else:
                    self.assertEqual(result.returncode, 1, result.stdout)
                    self.assertIn(expected, result.stderr)
                    self.assertIn("docs/architecture.md", result.stderr)

    def test_without_qt_headers_any_qt_in_the_core_fails(self):
        with tempfile.TemporaryDirectory() as root:
            lay(root, {**BASE, "src/model/project.h": ["#include <QString>"]}, real_table())
            result = subprocess.run(
                [sys.executable, os.path.join(SOURCE, "scripts", "check_includes.py"), "--root", root],
                capture_output=True, text=True)
            self.assertEqual(result.returncode, 1)
            self.assertIn("src/model/project.h:1: includes <QString> (Qt), but src/model may use no Qt", result.stderr)

    def test_a_table_the_check_cannot_read_fails(self):
        table = real_table()
        cases = [
            # (why, replacements of the table's text, what the check must say)
            ("an unknown word", [("| `src/engine` | `model`, `texts`, `keys` |", "| `src/engine` | `model`, the texts room |")],
             "'the texts room' in the may-include column"),
            ("a row that allows what it forbids",
             [("| `src/engine` | `model`, `texts`, `keys` |", "| `src/engine` | `model`, `texts`, `keys`, `persistence` |")],
             "allows src/persistence and forbids src/persistence"),
            ("two rooms allowed each other",
             [("| `src/persistence` | `model`, `texts`, `keys` |", "| `src/persistence` | `model`, `texts`, `keys`, `vegetation` |"),
              ("| `src/vegetation` | `model`, `texts`, `keys` |", "| `src/vegetation` | `model`, `texts`, `keys`, `persistence` |")],
             "src/persistence and src/vegetation may include each other"),
        ]
        for why, replacements, expected in cases:
            with self.subTest(why), tempfile.TemporaryDirectory() as root:
                changed = table
                for old, new in replacements:
                    self.assertIn(old, changed)
                    changed = changed.replace(old, new, 1)
                qt = lay(root, BASE, changed)
                result = run_check(root, qt)
                self.assertEqual(result.returncode, 1)
                self.assertIn("The direction table cannot be read", result.stderr)
                self.assertIn(expected, result.stderr)


if __name__ == "__main__":
    SOURCE = os.path.abspath(sys.argv.pop(1))
    unittest.main()
