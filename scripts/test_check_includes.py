"""The include check: the rule on a table of includes, and the whole check
failing on a tree with one forbidden include."""

import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

import check_includes

HERE = Path(__file__).resolve().parent


class Rule(unittest.TestCase):
    def test_includes(self):
        cases = (
            # (file, include, allowed)
            ("src/engine/win/run_install.cpp", "run/win/install_log.h", True),
            ("src/engine/win/run_install.cpp", "engine/install_batch_text.h", True),
            ("src/app/win/main.cpp", "uninstall/win/run_uninstall.h", True),
            ("src/package/settings_reader.cpp", "foundation/text.h", True),
            ("src/startup/installer_state.h", "engine/install_lists.h", False),  # upwards
            ("src/engine/win/run_install.cpp", "uninstall/win/undo_steps.h", False),  # beside it
            ("src/uninstall/win/run_uninstall.cpp", "engine/win/run_install.h", False),
            ("src/foundation/win/file_times.h", "startup/file_stamp.h", False),
            ("src/run/deletion_condition.cpp", "run/win/conditional_deletes.h", False),  # portable reaches the edge
            ("src/newroom/thing.cpp", "foundation/text.h", False),  # a room the rule does not know
            ("src/engine/thing.cpp", "thing.h", False),  # no room named
            ("builder/encode/match_finder.cpp", "package/package_layout.h", True),
            ("builder/project/project.cpp", "builder/package/settings_writer.h", True),
            ("builder/pe/pe_section.cpp", "builder/encode/packed_ops.h", False),  # beside it
            ("builder/encode/packed_ops.cpp", "builder/project/project.h", False),  # upwards
            ("builder/main.cpp", "startup/installer_state.h", False),  # the program's own rooms
            ("builder/main.cpp", "foundation/win/file.h", False),
        )
        for relative, include, allowed in cases:
            with self.subTest(file=relative, include=include):
                self.assertEqual(check_includes.problems_of(relative, include) == [], allowed)


class WholeCheck(unittest.TestCase):
    def run_check(self, root: Path) -> subprocess.CompletedProcess:
        return subprocess.run([sys.executable, str(HERE / "check_includes.py"), str(root)],
                              capture_output=True, text=True)

    def test_the_tree_keeps_the_rule_and_one_forbidden_include_breaks_it(self):
        self.assertEqual(self.run_check(HERE.parent).returncode, 0)
        with tempfile.TemporaryDirectory() as scratch:
            root = Path(scratch)
            for folder in ("src", "builder"):
                shutil.copytree(HERE.parent / folder, root / folder)
            state = root / "src/startup/installer_state.h"
            state.write_text('#include "engine/win/run_install.h"\n' + state.read_text())
            done = self.run_check(root)
        self.assertEqual(done.returncode, 1)
        self.assertIn('src/startup/installer_state.h:1: #include "engine/win/run_install.h": startup/ may not '
                      'include engine/', done.stdout)


if __name__ == "__main__":
    unittest.main()
