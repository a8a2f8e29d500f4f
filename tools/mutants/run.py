#!/usr/bin/env python3
"""Mutation check of the test suite: applies one small fault at a time to the sources and sees whether the
tests notice. A mutant whose fault the tests do not notice "survives"; the list in mutants.py is meant to
be caught in full, so a survivor is a gap in the tests (or a mutant that changes nothing and should go).

Usage: tools/mutants/run.py [--kind host|wine|e2e] [--only NAME_SUBSTRING ...] [--list]

Kinds, by the tests that are expected to catch the mutant:
  host  the unit tests on Linux (build/mut-host: Debug, no sanitizers, for speed)
  wine  the unit tests and the Win32 backend's tests under Wine (build/mut-win)
  e2e   the end-to-end tests named with the mutant, under Wine and Xvfb (build/mut-win)

A mutant's `old` text must occur exactly once in its file; the runner stops when it does not, so that the
list is kept in step with the code. Results go to build/mutants.txt as well as to the screen.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.dirname(__file__))
from mutants import MUTANTS  # noqa: E402

WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver64"


def sh(cmd, timeout=None, env=None, cwd=ROOT):
    try:
        done = subprocess.run(cmd, shell=True, cwd=cwd, env=env, timeout=timeout,
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, errors="replace")
        return done.returncode, done.stdout
    except subprocess.TimeoutExpired:
        return 124, "timeout"


def configure_host():
    build = os.path.join(ROOT, "build", "mut-host")
    if not os.path.exists(os.path.join(build, "build.ninja")):
        code, out = sh(f"cmake -S . -B {build} -G Ninja -DCMAKE_BUILD_TYPE=Debug "
                       f"-DCMAKE_CXX_FLAGS='-O0 -g0'")
        if code != 0:
            sys.exit(out)
    return build


class Wine:
    """A Wine prefix and an X display for the runs that need Windows."""

    def __init__(self):
        self.tmp = tempfile.mkdtemp(prefix="mutants-wine.")
        self.env = dict(os.environ, WINEPREFIX=os.path.join(self.tmp, "prefix"), WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=", LC_ALL="C")
        code, out = sh(f"bash -c '. scripts/common.sh; make_wine_prefix \"{self.env['WINEPREFIX']}\"'",
                       env=self.env, timeout=300)
        self.build = os.path.join(ROOT, "build", "mut-win")
        if not os.path.exists(os.path.join(self.build, "build.ninja")):
            code, out = sh(f"cmake -S . -B {self.build} -G Ninja -DCMAKE_BUILD_TYPE=Release "
                           f"-DCMAKE_TOOLCHAIN_FILE={ROOT}/cmake/mingw-w64.cmake")
            if code != 0:
                sys.exit(out)

    def close(self):
        sh(f"{WINESERVER} -k", env=self.env)
        shutil.rmtree(self.tmp, ignore_errors=True)


def FailedTests(output):
    """The names of the GoogleTest tests that failed, from its summary."""
    tokens = [line.split("]", 1)[1].split() for line in output.splitlines() if line.startswith("[  FAILED  ]")]
    names = sorted({t[0] for t in tokens if t and not t[0].isdigit()})
    return " ".join(names) if names else "(no test named: a crash or a timeout)"


def apply(mutant):
    path = os.path.join(ROOT, mutant["file"])
    with open(path, encoding="utf-8") as f:
        text = f.read()
    count = text.count(mutant["old"])
    if count != 1:
        sys.exit(f"{mutant['name']}: the text to change occurs {count} times in {mutant['file']}")
    with open(path, "w", encoding="utf-8") as f:
        f.write(text.replace(mutant["old"], mutant["new"]))
    return path, text


def caught(mutant, wine):
    """(caught, how): whether the tests of the mutant's kind failed."""
    kind = mutant["kind"]
    if kind == "host":
        build = configure_host()
        code, out = sh(f"ninja -C {build} unit_tests", timeout=900)
        if code != 0:
            return None, "does not build"
        code, out = sh(f"{build}/unit_tests --gtest_brief=1", timeout=300)
        return code != 0, FailedTests(out) if code != 0 else ""
    code, out = sh(f"ninja -C {wine.build} launcher unit_tests win32_tests win32_window_tests "
                   f"win32_started_program win32_file_locker demo_program", timeout=1800)
    if code != 0:
        return None, "does not build"
    if kind == "wine":
        for exe in ("unit_tests.exe", "win32_tests.exe"):
            code, out = sh(f"{WINE} {wine.build}/{exe} --gtest_brief=1", env=wine.env, timeout=600)
            if code != 0:
                return True, f"{exe}: {FailedTests(out)}"
        code, out = sh(f"tests/e2e/run.sh {wine.build} test_window_host", timeout=600)
        return code != 0, "win32_window_tests" if code != 0 else ""
    tests = " ".join(mutant["tests"])
    code, out = sh(f"tests/e2e/run.sh {wine.build} {tests}", timeout=1800)
    return code != 0, out.strip().splitlines()[-1] if out.strip() else ""


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--kind", choices=["host", "wine", "e2e"])
    parser.add_argument("--only", nargs="*", default=[])
    parser.add_argument("--list", action="store_true")
    args = parser.parse_args()
    chosen = [m for m in MUTANTS if (not args.kind or m["kind"] == args.kind)
              and (not args.only or any(o in m["name"] for o in args.only))]
    if args.list:
        for m in chosen:
            print(m["kind"], m["name"], m["file"])
        return
    for m in chosen:  # every mutant must still apply before any time is spent
        with open(os.path.join(ROOT, m["file"]), encoding="utf-8") as f:
            if f.read().count(m["old"]) != 1:
                sys.exit(f"{m['name']}: its text does not occur exactly once in {m['file']}")
    wine = Wine() if any(m["kind"] != "host" for m in chosen) else None
    results = []
    report = os.path.join(ROOT, "build", "mutants.txt")
    os.makedirs(os.path.dirname(report), exist_ok=True)
    try:
        for m in chosen:
            start = time.time()
            path, original = apply(m)
            try:
                result, how = caught(m, wine)
            finally:
                with open(path, "w", encoding="utf-8") as f:
                    f.write(original)
            verdict = {True: "caught", False: "SURVIVED", None: "stillborn"}[result]
            line = f"{verdict:9} {m['kind']:4} {m['name']}  ({time.time() - start:.0f} s) {how}"
            print(line, flush=True)
            results.append(line)
            with open(report, "a", encoding="utf-8") as f:
                f.write(line + "\n")
    finally:
        if wine:
            wine.close()
        # Leave the builds in step with the unmutated sources.
    survived = sum(1 for r in results if r.startswith("SURVIVED"))
    caught_count = sum(1 for r in results if r.startswith("caught"))
    print(f"{caught_count} caught, {survived} survived, {len(results) - caught_count - survived} stillborn "
          f"of {len(results)}")
    sys.exit(1 if survived else 0)


if __name__ == "__main__":
    main()
