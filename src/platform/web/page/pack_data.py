#!/usr/bin/env python3
"""Copies what the game loads from a data folder into the web build's site
and writes one manifest per resolution level, so a page fetches only the
level its window uses (about a third of the pictures).

Sheets come in three files (name.png, name-hd.png, name-hd2.png for levels
1, 2 and 4); every other picture and the sound effects serve all levels. The
music sequencer's files are left out: the game never switches music on.
"""
import json
import pathlib
import shutil
import sys

LEVELS = {1: "", 2: "-hd", 4: "-hd2"}
SKIP = ("inst/", "music/")


def main() -> int:
    src, dst = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    files = sorted(p.relative_to(src).as_posix() for p in src.rglob("*")
                   if p.is_file() and not p.name.startswith("."))
    files = [f for f in files if not f.startswith(SKIP)]
    sheets = {f[:-len("-hd.png")] for f in files if f.endswith("-hd.png")}

    def level_of(name):
        for level, suffix in sorted(LEVELS.items(), reverse=True):
            stem = name[:-len(suffix + ".png")] if name.endswith(suffix + ".png") else None
            if stem in sheets:
                return level
        return 0  # shared by every level

    shutil.rmtree(dst, ignore_errors=True)
    for level in LEVELS:
        chosen = [f for f in files if level_of(f) in (0, level)]
        manifest = []
        for f in chosen:
            out = dst / f
            out.parent.mkdir(parents=True, exist_ok=True)
            if not out.exists():
                shutil.copyfile(src / f, out)
            manifest.append([f, out.stat().st_size])
        (dst / f"manifest-{level}.json").write_text(json.dumps(
            {"level": level, "bytes": sum(s for _, s in manifest), "files": manifest}))
    return 0


if __name__ == "__main__":
    sys.exit(main())
