#!/usr/bin/env python3
"""Builds the help file Velkin.chm and refuses one with holes in it.

    build-help.py HELP_DIR OUTPUT.chm

HELP_DIR holds the HTML Help project (one .hhp), its pages, the table of
contents and the index. Before compiling: every file the project names
exists and every page of the folder is named; every link and anchor between
the pages resolves; every page has a title and is reached from the table of
contents and from the index. Compiling with chmcmd must print no warning
and no error. The compiled file must then hold every file of the project,
and the table of contents and index read back from it must be those of the
sources. Every fault is printed; the exit code is 1 if there was one, and
OUTPUT.chm is written only when there was none.
"""
import glob
import html.parser
import os
import posixpath
import re
import shutil
import subprocess
import sys
import tempfile


def read_project(path):
    """The [OPTIONS] of an .hhp as a dict, and its [FILES] in order."""
    options, files, section = {}, [], None
    with open(path, encoding="latin-1") as project:
        for line in project:
            line = line.strip()
            if not line or line.startswith(";"):
                continue
            if line.startswith("[") and line.endswith("]"):
                section = line[1:-1].upper()
            elif section == "OPTIONS" and "=" in line:
                key, value = line.split("=", 1)
                options[key.strip()] = value.strip()
            elif section == "FILES":
                files.append(line.replace("\\", "/"))
    return options, files


class PageParser(html.parser.HTMLParser):
    """The title, the anchors and the local references of one page."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.title, self.anchors, self.references = "", set(), []
        self._in_title = False

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if attrs.get("id"):
            self.anchors.add(attrs["id"])
        if tag == "a" and attrs.get("name"):
            self.anchors.add(attrs["name"])
        for name in ("href", "src"):
            if attrs.get(name):
                self.references.append(attrs[name])
        self._in_title = tag == "title"

    def handle_endtag(self, tag):
        if tag == "title":
            self._in_title = False

    def handle_data(self, data):
        if self._in_title:
            self.title += data


class SitemapParser(html.parser.HTMLParser):
    """The (Name, Local) pairs of a table of contents or an index, in order."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.entries, self._entry = [], None

    def handle_starttag(self, tag, attrs):
        attrs = {key: value or "" for key, value in attrs}
        if tag == "object" and attrs.get("type", "").lower() == "text/sitemap":
            self._entry = {}
        elif tag == "param" and self._entry is not None:
            self._entry.setdefault(attrs.get("name", "").lower(), attrs.get("value", ""))

    def handle_endtag(self, tag):
        if tag == "object" and self._entry is not None:
            self.entries.append((self._entry.get("name", ""), self._entry.get("local", "")))
            self._entry = None


def parse(parser, text):
    parser.feed(text)
    parser.close()
    return parser


def read_text(path):
    with open(path, encoding="latin-1") as source:
        return source.read()


def split_reference(reference, base):
    """The project path and anchor a reference names, or None for an outside
    one (http:, mailto:, ms-its: ...)."""
    if re.match(r"^[A-Za-z][A-Za-z0-9+.-]*:", reference):
        return None
    path, _, anchor = reference.partition("#")
    path = posixpath.normpath(posixpath.join(posixpath.dirname(base), path)) if path else base
    return path, anchor


class Checker:
    def __init__(self, folder):
        self.folder = folder
        self.faults = []
        projects = glob.glob(os.path.join(folder, "*.hhp"))
        if len(projects) != 1:
            raise SystemExit(f"{folder}: expected one .hhp project, found {len(projects)}")
        self.project = os.path.basename(projects[0])
        self.options, self.files = read_project(projects[0])
        self.pages = {}

    def fault(self, text):
        self.faults.append(text)

    def check_sources(self):
        listed = set(self.files)
        for name in self.files:
            if not os.path.isfile(os.path.join(self.folder, name)):
                self.fault(f"{self.project}: {name} is named but does not exist")
        for path in glob.glob(os.path.join(self.folder, "**", "*.htm*"), recursive=True):
            name = os.path.relpath(path, self.folder).replace(os.sep, "/")
            if name not in listed:
                self.fault(f"{name}: a page that {self.project} does not name")
        for name in self.files:
            if name.endswith((".html", ".htm")) and os.path.isfile(os.path.join(self.folder, name)):
                self.pages[name] = parse(PageParser(), read_text(os.path.join(self.folder, name)))
        for option in ("Title", "Default topic", "Contents file", "Index file", "Compiled file"):
            if not self.options.get(option):
                self.fault(f"{self.project}: no {option}")
        default = self.options.get("Default topic")
        if default and default not in self.pages:
            self.fault(f"{self.project}: the default topic {default} is not a page of the project")
        for name, page in self.pages.items():
            if not page.title.strip():
                self.fault(f"{name}: no title")
            for reference in page.references:
                self.check_reference(name, reference)
        self.contents = self.check_sitemap("Contents file")
        self.index = self.check_sitemap("Index file")

    def check_reference(self, where, reference):
        target = split_reference(reference, where if where in self.pages else "")
        if target is None:
            return
        path, anchor = target
        if path not in self.files:
            self.fault(f"{where}: {reference} leads to no file of the project")
        elif anchor and (path not in self.pages or anchor not in self.pages[path].anchors):
            self.fault(f"{where}: {reference} leads to no anchor of {path}")

    def check_sitemap(self, option):
        name = self.options.get(option)
        if not name or not os.path.isfile(os.path.join(self.folder, name)):
            self.fault(f"{self.project}: the {option.lower()} {name} does not exist")
            return []
        entries = parse(SitemapParser(), read_text(os.path.join(self.folder, name))).entries
        reached = set()
        for title, local in entries:
            if not title.strip() or not local:
                self.fault(f"{name}: an entry without a name or a page ({title!r}, {local!r})")
                continue
            self.check_reference(name, local)
            reached.add(local.partition("#")[0])
        for page in self.pages:
            if page not in reached:
                self.fault(f"{name}: {page} is not reached from it")
        return entries

    def compile(self, output):
        if not shutil.which("chmcmd") or not shutil.which("chmls"):
            self.fault("chmcmd and chmls are not installed (Debian's fp-utils; scripts/install-deps.sh)")
            return
        with tempfile.TemporaryDirectory() as work:
            sitemaps = [self.options.get("Contents file", ""), self.options.get("Index file", "")]
            for name in [self.project] + self.files + sitemaps:
                if name and os.path.isfile(os.path.join(self.folder, name)):
                    os.makedirs(os.path.dirname(os.path.join(work, name)), exist_ok=True)
                    shutil.copyfile(os.path.join(self.folder, name), os.path.join(work, name))
            run = subprocess.run(["chmcmd", self.project], cwd=work, capture_output=True, text=True,
                                 encoding="latin-1")
            for line in (run.stdout + run.stderr).splitlines():
                if re.match(r"\s*(warning|error)\b", line, re.IGNORECASE):
                    self.fault(f"chmcmd: {line.strip()}")
            compiled = os.path.join(work, self.options.get("Compiled file", ""))
            if run.returncode != 0 or not os.path.isfile(compiled):
                self.fault(f"chmcmd: no help file made (exit code {run.returncode})")
                return
            self.check_compiled(compiled, work)
            if not self.faults:
                partial = output + ".partial"
                shutil.copyfile(compiled, partial)
                os.replace(partial, output)

    def check_compiled(self, compiled, work):
        listing = subprocess.run(["chmls", "-n", "list", compiled], capture_output=True, text=True,
                                 encoding="latin-1").stdout
        held = {line.strip() for line in listing.splitlines() if line.strip().startswith("/")}
        for name in self.files + [self.options.get("Contents file"), self.options.get("Index file")]:
            if name and "/" + name not in held:
                self.fault(f"{os.path.basename(compiled)}: does not hold {name}")
        for command, entries in (("extracttoc", self.contents), ("extractindex", self.index)):
            extracted = os.path.join(work, command + ".out")
            subprocess.run(["chmls", command, compiled, extracted], capture_output=True)
            read = parse(SitemapParser(), read_text(extracted)).entries if os.path.isfile(extracted) else []
            if read != entries:
                self.fault(f"{os.path.basename(compiled)}: its {command[7:]} differs from the sources "
                           f"({len(read)} entries read back, {len(entries)} written)")


def main(folder, output):
    checker = Checker(folder)
    checker.check_sources()
    # Compiled even after a fault in the sources: chmcmd's own complaints
    # are then reported as well.
    checker.compile(output)
    for fault in checker.faults:
        print(fault, file=sys.stderr)
    return 1 if checker.faults else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2]))
