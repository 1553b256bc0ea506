#!/usr/bin/env python3
"""Checks the one-way layers of the source tree.

Each folder may include only the folders below it:
    base <- data, skin <- tree <- alerts <- app;   base, skin <- skinedit
and only files in a win32/ folder may include <windows.h> (or any other
Windows header). Prints each offending include and exits 1 if there is one.
"""
import os
import re
import sys

ALLOWED = {
    "base": {"base"},
    "data": {"base", "data"},
    "skin": {"base", "skin"},
    "tree": {"base", "data", "skin", "tree"},
    "alerts": {"base", "data", "tree", "alerts"},
    "app": {"base", "data", "skin", "tree", "alerts", "app"},
    "skinedit": {"base", "skin", "skinedit"},
}
WINDOWS_HEADERS = re.compile(
    r"#\s*include\s*<(windows|windowsx|commctrl|commdlg|shellapi|shlobj|winsock2|ws2tcpip|psapi|prsht)\.h>",
    re.IGNORECASE)
PROJECT_INCLUDE = re.compile(r'#\s*include\s*"([a-z0-9_]+)/')


def main(root):
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
                        match = PROJECT_INCLUDE.match(line.strip())
                        if match and match.group(1) in ALLOWED and match.group(1) not in allowed:
                            faults.append(f"{where}: {layer}/ must not include {match.group(1)}/")
                        if not in_win32 and WINDOWS_HEADERS.match(line.strip()):
                            faults.append(f"{where}: a Windows header outside a win32/ folder")
    for fault in faults:
        print(fault)
    print(f"layers: {len(faults)} fault(s)")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")))
