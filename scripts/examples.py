#!/usr/bin/env python3
"""The examples of the documents, compared with what one eudclink session printed, or
written back from it.

    examples.py check|write FOLDER DOCUMENT...

FOLDER holds NAME.txt for each example of the session (tests/e2e/examples-session.sh).
A document marks an example with a comment on the line before its fenced block:

    <!-- example: NAME -->
    ```
    > eudclink list
    ...
    ```

`check` shows a diff of every block that differs from the session's NAME.txt and exits
with 1; `write` puts the session's text into every marked block.
"""
import difflib
import re
import sys
from pathlib import Path

MARKED = re.compile(r"^<!-- example: ([\w-]+) -->\n(```[^\n]*\n)(.*?)^```$", re.M | re.S)


def main(mode, folder, documents):
    folder = Path(folder)
    made = {path.stem: path.read_text(encoding="utf-8") for path in folder.glob("*.txt")}
    differences = unknown = checked = 0
    used = set()
    for document in map(Path, documents):
        text = document.read_text(encoding="utf-8")

        def compare(match):
            nonlocal differences, unknown, checked
            name, fence, shown = match.groups()
            used.add(name)
            if name not in made:
                print(f"{document}: no example named {name} in the session ({', '.join(sorted(made))})")
                unknown += 1
                return match.group(0)
            checked += 1
            if shown != made[name]:
                differences += 1
                if mode == "check":
                    sys.stdout.writelines(difflib.unified_diff(
                        shown.splitlines(keepends=True), made[name].splitlines(keepends=True),
                        f"{document}: example {name}, as the document shows it",
                        f"{document}: example {name}, as eudclink printed it"))
            return f"<!-- example: {name} -->\n{fence}{made[name]}```"

        written = MARKED.sub(compare, text)
        if mode == "write" and written != text:
            document.write_text(written, encoding="utf-8")
            print(f"wrote the examples of {document}")
    for name in sorted(set(made) - used):
        print(f"note: the session's example {name} is in no document")
    if unknown:
        return 1
    if mode == "check":
        if differences:
            print(f"{differences} examples differ from what eudclink printed; "
                  "scripts/examples.sh --write writes them back")
            return 1
        print(f"all {checked} examples in {len(documents)} documents are what eudclink printed")
    return 0


if __name__ == "__main__":
    if len(sys.argv) < 3 or sys.argv[1] not in ("check", "write"):
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2], sys.argv[3:]))
