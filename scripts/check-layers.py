#!/usr/bin/env python3
"""Checks the one-way layers of the source tree.

Each folder may include only the folders below it:
    base <- data, skin <- tree <- alerts <- app;   base, skin <- skinedit
and only files in a win32/ folder may include <windows.h> (or any other
Windows header). Prints each offending include and exits 1 if there is one.

Given a build folder as well (one configured with compile_commands.json),
it also compiles a probe in each layer's place, with that layer's own
compile command: one include of every other layer's header, which must
compile where the layer may include it and fail, the header not found,
where it may not.
"""
import json
import os
import re
import shlex
import subprocess
import sys
import tempfile

ALLOWED = {
    "base": {"base"},
    "data": {"base", "data"},
    "skin": {"base", "skin"},
    "tree": {"base", "data", "skin", "tree"},
    "alerts": {"base", "data", "tree", "alerts"},
    "app": {"base", "data", "skin", "tree", "alerts", "app"},
    "skinedit": {"base", "skin", "skinedit"},
}
# A portable header of each layer that compiles on its own: what the probes
# include.
PROBE_HEADER = {
    "base": "base/platform.h",
    "data": "data/datetext.h",
    "skin": "skin/skinfile.h",
    "tree": "tree/tasktree.h",
    "alerts": "alerts/mailsettings.h",
    "app": "app/geometry.h",
    "skinedit": "skinedit/sheetmap.h",
}
WINDOWS_HEADERS = re.compile(
    r"#\s*include\s*<(windows|windowsx|commctrl|commdlg|shellapi|shlobj|winsock2|ws2tcpip|psapi|prsht)\.h>",
    re.IGNORECASE)
# "x/...", <x/...> and the same behind any ./ and ../ steps.
PROJECT_INCLUDE = re.compile(r'#\s*include\s*["<]((?:\.\.?/)*)([a-z0-9_]+)/([^">]*)[">]')


def included_layers(root, path, line):
    """The layer folders an include line names: the first folder of its
    path, and for a relative path also the folder it really reaches."""
    match = PROJECT_INCLUDE.match(line.strip())
    if not match:
        return []
    steps, first, rest = match.groups()
    layers = [first]
    if steps:
        target = os.path.normpath(os.path.join(os.path.dirname(path), steps + first + "/" + rest))
        relative = os.path.relpath(target, root).split(os.sep)
        if relative[0] != "..":
            layers.append(relative[0])
    return [layer for layer in layers if layer in ALLOWED]


def check_sources(root):
    faults = []
    for layer, allowed in ALLOWED.items():
        top = os.path.join(root, layer)
        for folder, _, names in os.walk(top):
            in_win32 = "win32" in os.path.relpath(folder, top).split(os.sep)
            for name in names:
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(folder, name)
                with open(path, encoding="latin-1") as source:
                    for number, line in enumerate(source, 1):
                        where = f"{os.path.relpath(path, root)}:{number}"
                        for reached in sorted(set(included_layers(root, path, line)) - allowed):
                            faults.append(f"{where}: {layer}/ must not include {reached}/")
                        if not in_win32 and WINDOWS_HEADERS.match(line.strip()):
                            faults.append(f"{where}: a Windows header outside a win32/ folder")
    return faults


def layer_command(root, commands, layer):
    """A compile command of one of the layer's own portable sources."""
    for entry in commands:
        source = os.path.normpath(os.path.join(entry["directory"], entry["file"]))
        if os.path.dirname(source) == os.path.join(root, layer) and source.endswith(".cpp"):
            arguments = entry.get("arguments") or shlex.split(entry["command"])
            return entry["directory"], arguments, source
    return None


def probe_command(arguments, source, probe):
    """The command with the probe for the source, checked only: no object,
    no dependency file."""
    out = []
    skip = False
    for argument in arguments:
        if skip:
            skip = False
        elif argument in ("-o", "-MF", "-MT", "-MQ"):
            skip = True
        elif argument in ("-c", "-MD", "-MMD"):
            pass
        elif os.path.normpath(argument) == source or argument.endswith(os.sep + os.path.basename(source)):
            out.append(probe)
        else:
            out.append(argument)
    return out + ["-fsyntax-only"]


def check_include_roots(root, build):
    with open(os.path.join(build, "compile_commands.json")) as listing:
        commands = json.load(listing)
    faults = []
    probes = 0
    with tempfile.TemporaryDirectory() as scratch:
        for layer, allowed in ALLOWED.items():
            found = layer_command(root, commands, layer)
            if not found:
                faults.append(f"{layer}: no compile command of its own in {build}")
                continue
            directory, arguments, source = found
            for other, header in PROBE_HEADER.items():
                probe = os.path.join(scratch, f"{layer}_includes_{other}.cpp")
                with open(probe, "w") as text:
                    text.write(f'#include "{header}"\n')
                run = subprocess.run(probe_command(arguments, source, probe), cwd=directory,
                                     capture_output=True, text=True)
                probes += 1
                if other in allowed and run.returncode != 0:
                    faults.append(f"{layer}/ cannot include {header}:\n{run.stderr}")
                elif other not in allowed and run.returncode == 0:
                    faults.append(f"{layer}/ can include {header}, which it must not")
                elif other not in allowed and f"{header}: No such file" not in run.stderr:
                    faults.append(f"{layer}/ including {header} failed for another reason:\n{run.stderr}")
    print(f"include roots: {probes} probe(s) compiled")
    return faults


def main(arguments):
    root = arguments[0] if arguments else os.path.join(os.path.dirname(__file__), "..")
    root = os.path.abspath(root)
    faults = check_sources(root)
    if len(arguments) > 1:
        faults += check_include_roots(root, os.path.abspath(arguments[1]))
    for fault in faults:
        print(fault)
    print(f"layers: {len(faults)} fault(s)")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
