#!/usr/bin/env python3
"""Prepares clang-tidy's reading of a unity build (CMAKE_UNITY_BUILD: CMake's
unity_N_cxx.cxx, which only includes the sources of one target) in BUILD_DIR.

The tool's own sources are read one by one, as a build without unity compiles
them, so that a source missing an include its neighbours happen to give it still
fails and an unused using-declaration is still found (clang-tidy looks for those
in the file it reads). A test target is read as its unity sources: every check
still runs over every line of it, while GoogleTest's headers, which cost most of
the reading and which the checks also walk, are read once per group of tests
instead of once per test.

Writes to OUT_DIR:
  compile_commands.json  BUILD_DIR's commands, each tool unity source replaced
                         by the sources it includes, each with its target's command;
  read                   the files for clang-tidy, one per line, the test groups first
                         (the longest reads start first);
  sources                every project source those files cover;
  line-filter.json       a --line-filter for clang-tidy naming every project file,
                         so that nothing is reported on a unity source's own lines
                         (its includes of .cpp files).
With --except OTHER_OUT_DIR, leaves out of `read` what OTHER_OUT_DIR's `sources`
already covers (the Windows build's files that the Linux build also compiles).

    unity-sources.py BUILD_DIR OUT_DIR [--except OTHER_OUT_DIR]
"""
import argparse
import json
import pathlib
import re
import subprocess

INCLUDE = re.compile(r'^#include "(.+)"$', re.M)


def unity_sources(entry):
    """The sources a unity source includes, or None for any other entry."""
    unity = pathlib.Path(entry["file"])
    if not re.fullmatch(r"unity_\d+_cxx\.cxx", unity.name):
        return None
    return INCLUDE.findall(unity.read_text(encoding="utf-8"))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build_dir", type=pathlib.Path)
    parser.add_argument("out_dir", type=pathlib.Path)
    parser.add_argument("--except", dest="other", type=pathlib.Path)
    args = parser.parse_args()

    root = pathlib.Path.cwd().resolve()
    tests = str(root / "tests") + "/"
    tracked = subprocess.run(["git", "ls-files", "*.cpp", "*.h"], check=True,
                             capture_output=True, text=True).stdout.split()
    project = {str(root / name) for name in tracked}
    covered_before = set()
    if args.other:
        covered_before = set((args.other / "sources").read_text(encoding="utf-8").split())

    entries = json.loads((args.build_dir / "compile_commands.json").read_text(encoding="utf-8"))
    commands, groups, alone = [], [], []
    for entry in entries:
        sources = unity_sources(entry)
        if sources is None:
            commands.append(entry)
            if entry["file"] in project:
                alone.append(entry["file"])
        elif all(source.startswith(tests) for source in sources):
            commands.append(entry)
            if not covered_before.issuperset(sources):
                groups.append((entry["file"], sources))
        else:
            for source in sources:
                commands.append(dict(entry, file=source,
                                     command=entry["command"].replace(entry["file"], source)))
                alone.append(source)

    alone = [source for source in alone if source not in covered_before]
    read = [unity for unity, _ in groups] + alone
    covered = [source for _, sources in groups for source in sources] + alone
    line_filter = [{"name": name} for name in sorted(project)]
    args.out_dir.mkdir(parents=True, exist_ok=True)
    (args.out_dir / "compile_commands.json").write_text(json.dumps(commands, indent=1), encoding="utf-8")
    (args.out_dir / "read").write_text("".join(f"{name}\n" for name in read), encoding="utf-8")
    (args.out_dir / "sources").write_text(
        "".join(f"{name}\n" for name in covered if name in project), encoding="utf-8")
    (args.out_dir / "line-filter.json").write_text(json.dumps(line_filter), encoding="utf-8")


if __name__ == "__main__":
    main()
