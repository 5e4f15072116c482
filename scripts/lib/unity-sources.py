#!/usr/bin/env python3
"""Writes BUILD_DIR's compile commands to OUT_DIR/compile_commands.json with
every unity source of a unity build (CMAKE_UNITY_BUILD: CMake's unity_N_cxx.cxx,
which only includes the sources of one target) replaced by the sources it
includes, each with its target's command. clang-tidy then reads each source on
its own, as a build without unity compiles it, so that a source missing an
include the unity source happens to give it still fails.

    unity-sources.py BUILD_DIR OUT_DIR
"""
import json
import pathlib
import re
import sys

INCLUDE = re.compile(r'^#include "(.+)"$', re.M)


def expand(entry):
    unity = pathlib.Path(entry["file"])
    if not re.fullmatch(r"unity_\d+_cxx\.cxx", unity.name):
        return [entry]
    sources = INCLUDE.findall(unity.read_text(encoding="utf-8"))
    return [dict(entry, file=source, command=entry["command"].replace(str(unity), source))
            for source in sources]


def main():
    build_dir, out_dir = (pathlib.Path(arg) for arg in sys.argv[1:3])
    entries = json.loads((build_dir / "compile_commands.json").read_text(encoding="utf-8"))
    expanded = [each for entry in entries for each in expand(entry)]
    out_dir.mkdir(parents=True, exist_ok=True)
    (out_dir / "compile_commands.json").write_text(json.dumps(expanded, indent=1), encoding="utf-8")


if __name__ == "__main__":
    main()
