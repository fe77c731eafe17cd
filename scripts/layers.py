#!/usr/bin/env python3
"""The include graph of src/, held to the program's layers.

Top to bottom: app/ (each program's start, About), the two faces ui/ (the window) and
console/ (eudclink), then model/ and, beside it, drawing/ (what both faces show drawn: the
character chart), then platform/. A file includes its own layer and those below it; layers
side by side never include each other; only app/ and the faces include the resource ids
(resource.h). Portable code, which the native build compiles (model/, console/ and the
ports in platform/ itself), reaches no file of platform/win32/ and no Windows header,
directly or through what it includes. A header and the .cpp of its name are one unit, and
no units include each other in a loop.

    scripts/layers.py [REPOSITORY]     exit status 1 when anything is wrong
"""
import os
import re
import sys

LEVELS = {"app": 0, "ui": 1, "console": 1, "model": 2, "drawing": 2, "platform": 3}
PORTABLE_LAYERS = ("model", "console", "platform")
WINDOWS_HEADERS = re.compile(r"^(windows|win[a-z0-9]*|commctrl|commdlg|shellapi|shlwapi|ole[a-z0-9]*|objbase|bcrypt)\.h$",
                             re.IGNORECASE)
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')


def read_includes(src):
    """Each file of src/, by its path from there, with its includes: (quoted, name)."""
    files = {}
    for folder, _, names in os.walk(src):
        for name in names:
            if name.endswith((".h", ".cpp")):
                path = os.path.join(folder, name)
                with open(path, encoding="utf-8", errors="replace") as text:
                    includes = [(m.group(1) == '"', m.group(2)) for m in map(INCLUDE.match, text) if m]
                files[os.path.relpath(path, src).replace(os.sep, "/")] = includes
    return files


def layer(path):
    return path.split("/")[0] if "/" in path else None


def is_portable(path):
    parts = path.split("/")
    return parts[0] in PORTABLE_LAYERS and not (parts[0] == "platform" and len(parts) > 2)


def unit(path):
    return os.path.splitext(path)[0]


def layer_problems(files):
    for path, includes in sorted(files.items()):
        own = layer(path)
        for quoted, target in includes:
            if os.path.basename(target) == "resource.h":
                if own not in ("app", "ui", "console"):
                    yield f"{path}: {own}/ includes the resource ids; only app/ and the faces may"
                continue
            if not quoted or target not in files or own not in LEVELS or layer(target) not in LEVELS:
                continue
            other = layer(target)
            if LEVELS[other] < LEVELS[own]:
                yield f"{path}: {own}/ includes {target}, of a layer above it"
            elif LEVELS[other] == LEVELS[own] and other != own:
                yield f"{path}: {own}/ includes {target}, of the layer beside it"


def windows_reached(files, path):
    """The first Windows file or header that the file reaches through its includes, and
    the file that includes it; None when there is none."""
    seen, waiting = {path}, [path]
    while waiting:
        current = waiting.pop(0)
        for quoted, target in files[current]:
            if (not quoted and WINDOWS_HEADERS.match(os.path.basename(target))) or target.startswith("platform/win32/"):
                return target, current
            if quoted and target in files and target not in seen:
                seen.add(target)
                waiting.append(target)
    return None


def portability_problems(files):
    for path in sorted(p for p in files if is_portable(p)):
        if reached := windows_reached(files, path):
            yield f"{path}: portable, but reaches {reached[0]} through {reached[1]}"


def loop_problems(files):
    graph = {}
    for path, includes in files.items():
        for quoted, target in includes:
            if quoted and target in files and unit(target) != unit(path):
                graph.setdefault(unit(path), set()).add(unit(target))
    # A depth-first walk: a unit met again while it is still on the walk closes a loop.
    state, reported = {}, set()

    def walk(node, trail):
        state[node] = "on the walk"
        for after in sorted(graph.get(node, ())):
            if state.get(after) == "on the walk":
                loop = tuple(sorted(trail[trail.index(after):]))
                if loop not in reported:
                    reported.add(loop)
                    yield "units that include each other in a loop: " + ", ".join(loop)
            elif after not in state:
                yield from walk(after, trail + [after])
        state[node] = "done"

    for node in sorted(graph):
        if node not in state:
            yield from walk(node, [node])


def main():
    repository = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
    files = read_includes(os.path.join(repository, "src"))
    problems = [*layer_problems(files), *portability_problems(files), *loop_problems(files)]
    for problem in problems:
        print(problem)
    print(f"layers: {len(files)} files, {len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
