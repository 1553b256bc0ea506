#!/usr/bin/env python3
"""scripts/build-help.py on the real help and on copies of it with one hole
each: every hole fails the build, names itself, and leaves no help file."""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
HELP = os.path.join(SOURCE, "help")
BUILD_HELP = os.path.join(SOURCE, "scripts", "build-help.py")


def without_sitemap_entries(page):
    """Removes the table-of-contents or index entries that lead to `page`."""
    pattern = (r'<li><object type="text/sitemap">\s*<param name="Name" value="[^"]*">\s*'
               r'<param name="Local" value="' + re.escape(page) + r'(#[^"]*)?">\s*</object>\s*')
    return lambda text: re.sub(pattern, "", text)


# name, file to change (None: remove it, or add it when new), change, what the faults must say
CASES = [
    ("a named page is missing", "tasks.html", None,
     ["velkin.hhp: tasks.html is named but does not exist"]),
    ("a page is not named", "extra.html", lambda _: "<html><head><title>X</title></head></html>",
     ["extra.html: a page that velkin.hhp does not name"]),
    ("a link leads nowhere", "tasks.html", lambda text: text.replace('href="keyboard.html"', 'href="keys.html"'),
     ["tasks.html: keys.html leads to no file of the project",
      "chmcmd: Warning: Found file keys.html while scanning tasks.html"]),
    ("an anchor is missing", "tasks.html", lambda text: text.replace('id="move"', 'id="moving"'),
     ["index.hhk: tasks.html#move leads to no anchor of tasks.html", "chmcmd: Error: Anchor tasks.html#move"]),
    ("a page has no title", "mouse.html", lambda text: text.replace("<title>Mouse</title>", "<title></title>"),
     ["mouse.html: no title"]),
    ("the contents miss a page", "toc.hhc", without_sitemap_entries("backups.html"),
     ["toc.hhc: backups.html is not reached from it"]),
    ("the index misses a page", "index.hhk", without_sitemap_entries("skinedit.html"),
     ["index.hhk: skinedit.html is not reached from it"]),
    ("the contents lead to no page", "toc.hhc", lambda text: text.replace('"menus.html"', '"menu.html"'),
     ["toc.hhc: menu.html leads to no file of the project", "toc.hhc: menus.html is not reached from it"]),
]


def build(folder, output):
    run = subprocess.run([sys.executable, BUILD_HELP, folder, output], capture_output=True, text=True)
    return run.returncode, run.stderr


class BuildHelpTest(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.work)
        self.output = os.path.join(self.work, "Velkin.chm")

    def test_the_real_help_compiles(self):
        code, faults = build(HELP, self.output)
        self.assertEqual((code, faults), (0, ""))
        with open(self.output, "rb") as chm:
            self.assertEqual(chm.read(4), b"ITSF")

    def test_each_hole_fails_and_names_itself(self):
        for name, file, change, expected in CASES:
            with self.subTest(name):
                folder = os.path.join(self.work, "help")
                shutil.rmtree(folder, ignore_errors=True)
                shutil.copytree(HELP, folder)
                path = os.path.join(folder, file)
                if change is None:
                    os.remove(path)
                else:
                    text = ""
                    if os.path.exists(path):
                        with open(path, encoding="latin-1") as source:
                            text = source.read()
                    changed = change(text)
                    self.assertNotEqual(changed, text, "the change changed nothing")
                    with open(path, "w", encoding="latin-1") as out:
                        out.write(changed)
                code, faults = build(folder, self.output)
                self.assertEqual(code, 1)
                for fragment in expected:
                    self.assertIn(fragment, faults)
                self.assertFalse(os.path.exists(self.output), "a help file was written")


if __name__ == "__main__":
    unittest.main()
