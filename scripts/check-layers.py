#!/usr/bin/env python3
"""Fails on an #include in src/ that points up the layers.

Each area may include itself and the areas its library links, directly or through another; the table below
is that closure, kept in step with the areas' CMakeLists.txt. The fake desktop is for tests only and the
Linux side sits behind the ports, so nothing outside platform/ includes either, except that the program's
main() picks its real parts.

Usage: check-layers.py <source folder>
"""
import re
import sys
from pathlib import Path

BELOW_FOUNDATION = {"support", "platform"}
FOUNDATION = BELOW_FOUNDATION | {"foundation"}

# The areas each area may include besides itself.
ALLOWED = {
    "support": set(),
    "platform": {"support", "platform/linux"},
    "platform/linux": {"support", "platform"},
    "platform/fake": {"support", "platform"},
    "foundation": BELOW_FOUNDATION,
    "ui": BELOW_FOUNDATION,
    "voice": FOUNDATION,
    "screen": FOUNDATION,
    "memory": FOUNDATION | {"screen"},
    "memory/ui": FOUNDATION | {"screen", "memory", "ui"},
    "drafting": FOUNDATION | {"screen", "memory", "ui"},
    "account": FOUNDATION | {"screen", "memory", "ui", "drafting"},
    "overlay": FOUNDATION | {"screen", "memory", "ui"},
    "details": FOUNDATION | {"screen", "memory", "ui"},
    "app": FOUNDATION | {"ui", "voice", "screen", "memory", "drafting", "account", "overlay", "details"},
    "updates": FOUNDATION,
    "shell": FOUNDATION | {"ui", "voice", "screen", "memory", "memory/ui", "drafting", "account", "overlay",
                           "details", "app", "updates"},
}
# The build's own tools for the installed program (the icons drawn into PNG files).
ALLOWED["install"] = ALLOWED["shell"] | {"shell"}
# The composition root builds the real platform, the application model and the shell, and wires them.
ALLOWED["main.cpp"] = ALLOWED["shell"] | {"shell", "platform/linux"}

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.MULTILINE)


def area_of(path: str) -> str | None:
    """The most specific area a path under src/ belongs to."""
    for area in sorted(ALLOWED, key=len, reverse=True):
        if path == area or path.startswith(area + "/"):
            return area
    return None


def violations(source: Path):
    for file in sorted(source.rglob("*")):
        if file.suffix not in {".h", ".cpp"}:
            continue
        name = file.relative_to(source).as_posix()
        area = area_of(name)
        if area is None:
            yield f"{name} lies in no known area; add it to the table in {Path(__file__).name}"
            continue
        for included in INCLUDE.findall(file.read_text(encoding="utf-8")):
            target = area_of(included)
            if target is None or target == area or target in ALLOWED[area]:
                continue
            yield f'{name} includes "{included}": {area} may not include {target}'


def main() -> int:
    if len(sys.argv) != 2:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    found = list(violations(Path(sys.argv[1])))
    for message in found:
        print(message)
    if found:
        return 1
    print("Layers hold.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
