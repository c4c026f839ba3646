#!/usr/bin/env python3
"""Runs every GoogleTest program of a build whole, as one process, instead of
one process per test as ctest does: state that one test leaves behind for the
next shows only so.

The programs and their tests are those ctest knows (ctest --show-only): the
tests ctest runs one by one from a program are run together, in the
environment ctest gives them (ENVIRONMENT, then ENVIRONMENT_MODIFICATION) and
their working folder (WORKING_DIRECTORY); tests of one program that differ in
these run apart. With --all the tests ctest already runs as one command (the
walks on Xvfb, through their wrapper) are run too, judged as ctest judges
them (SKIP_RETURN_CODE, PASS_REGULAR_EXPRESSION). --seeds runs
each program once more per seed with the tests shuffled (GTEST_SHUFFLE and
GTEST_RANDOM_SEED, so that wrapped commands get them as well). Every run
runs its tests twice in the one process (GTEST_REPEAT; --repeat sets how
often), so that a test that leaves state behind meets it again.

Runs of one program follow each other; different programs run side by side
(-j). The last line is "N passed, N failed"; the exit status is 1 when a run
failed. A failed run's failures are printed and its whole output is kept in
<build>/whole-runs/.
"""
import argparse
import json
import os
import re
import subprocess
import sys
import threading
import time
from concurrent.futures import ThreadPoolExecutor

FILTER = "--gtest_filter="


def load_tests(build):
    out = subprocess.run(["ctest", "--show-only=json-v1"], cwd=build, check=True, capture_output=True, text=True).stdout
    return json.loads(out)["tests"]


def props(test):
    """The test's environment (its ENVIRONMENT and ENVIRONMENT_MODIFICATION
    entries), its working folder and how its end is judged."""
    env, mods, cwd, judge = [], [], None, {}
    for p in test.get("properties", []):
        name, value = p["name"], p["value"]
        if name == "ENVIRONMENT":
            env = list(value)
        elif name == "ENVIRONMENT_MODIFICATION":
            mods = list(value)
        elif name == "WORKING_DIRECTORY":
            cwd = value
        elif name in ("SKIP_RETURN_CODE", "PASS_REGULAR_EXPRESSION"):
            judge[name] = value
    return env, mods, cwd, judge


def environment(env, mods):
    """os.environ with a test's ENVIRONMENT (VAR=VALUE) set, then its
    ENVIRONMENT_MODIFICATION (VAR=OP:VALUE) made as ctest makes it."""
    e = dict(os.environ)
    for kv in env:
        k, _, v = kv.partition("=")
        e[k] = v
    unmodified = dict(e)
    for kv in mods:
        k, _, opv = kv.partition("=")
        op, _, v = opv.partition(":")
        cur = e.get(k, "")
        sep = {"path_list_append": os.pathsep, "path_list_prepend": os.pathsep,
               "cmake_list_append": ";", "cmake_list_prepend": ";"}.get(op, "")
        if op == "reset":
            if k in unmodified:
                e[k] = unmodified[k]
            else:
                e.pop(k, None)
        elif op == "set":
            e[k] = v
        elif op == "unset":
            e.pop(k, None)
        elif op in ("string_append", "path_list_append", "cmake_list_append"):
            e[k] = cur + sep + v if cur else v
        elif op in ("string_prepend", "path_list_prepend", "cmake_list_prepend"):
            e[k] = v + sep + cur if cur else v
        else:
            raise SystemExit("unknown ENVIRONMENT_MODIFICATION operation: " + kv)
    return e


def collect(tests, include_single, build_dir):
    """Runs keyed by program: a list of (label, command, env, mods, cwd, judge)."""
    groups = {}  # (command without filter, env, mods, cwd) -> [test names]
    singles = []
    for t in tests:
        cmd = t.get("command")
        if not cmd:
            continue
        env, mods, cwd, judge = props(t)
        filters = [a for a in cmd if a.startswith(FILTER)]
        rest = [a for a in cmd if not a.startswith(FILTER)]
        # A test that gtest_discover_tests made names itself in its filter.
        # (A parameterised test's name goes on with its parameter.)
        if len(filters) == 1 and t["name"].startswith(filters[0][len(FILTER):]):
            groups.setdefault((tuple(rest), tuple(env), tuple(mods), cwd), []).append(filters[0][len(FILTER):])
        elif include_single and any(os.path.isfile(a) and os.access(a, os.X_OK) and a.startswith(build_dir) for a in cmd):
            # Only commands that run a program of the build (not the build
            # itself, nor scripts).
            singles.append((t["name"], cmd, env, mods, cwd, judge))
    runs = {}
    for (rest, env, mods, cwd), names in groups.items():
        prog = rest[0]
        cmd = [rest[0], FILTER + ":".join(names)] + list(rest[1:])
        runs.setdefault(prog, []).append((os.path.basename(prog), cmd, list(env), list(mods), cwd, {}))
    for name, cmd, env, mods, cwd, judge in singles:
        # Key by the program the wrapped command runs, so that its runs do not
        # overlap with the same program's other runs (shared output files).
        prog = next((a for a in reversed(cmd) if os.path.isfile(a) and os.access(a, os.X_OK)), cmd[0])
        runs.setdefault(prog, []).append((name, cmd, list(env), list(mods), cwd, judge))
    # A program whose tests run in different environments runs once per
    # environment: label those runs apart.
    for prog, rs in runs.items():
        labels = [r[0] for r in rs]
        for i, r in enumerate(rs):
            if labels.count(r[0]) > 1:
                rs[i] = ("%s (%d)" % (r[0], labels[:i].count(r[0]) + 1),) + r[1:]
    return runs


def judged(rc, out, judge):
    """passed, failed or skipped, as ctest judges the test's end."""
    if "SKIP_RETURN_CODE" in judge and rc == int(judge["SKIP_RETURN_CODE"]):
        return "skipped"
    if "PASS_REGULAR_EXPRESSION" in judge:
        return "passed" if any(re.search(r, out) for r in judge["PASS_REGULAR_EXPRESSION"]) else "failed"
    return "passed" if rc == 0 else "failed"


def run_one(label, cmd, env, mods, cwd, seed, repeat, timeout):
    e = environment(env, mods)
    if repeat > 1:
        e["GTEST_REPEAT"] = str(repeat)
    if seed is not None:
        e["GTEST_SHUFFLE"] = "1"
        e["GTEST_RANDOM_SEED"] = str(seed)
    start = time.monotonic()
    try:
        p = subprocess.run(cmd, env=e, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=timeout)
        out, rc = p.stdout.decode("utf-8", "replace"), p.returncode
    except subprocess.TimeoutExpired as ex:
        out, rc = (ex.stdout or b"").decode("utf-8", "replace") + "\n(timed out after %ds)\n" % timeout, -1
    return rc, out, time.monotonic() - start


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("build", help="the build folder (where ctest runs)")
    ap.add_argument("-j", type=int, default=os.cpu_count() or 1, help="programs run side by side")
    ap.add_argument("--seeds", default="", help="comma-separated shuffle seeds, each a run more per program")
    ap.add_argument("--no-plain", action="store_true", help="only the shuffled runs")
    ap.add_argument("--all", action="store_true", help="also the tests ctest already runs as one command")
    ap.add_argument("--only", default="", help="comma-separated program names (basenames) to run")
    ap.add_argument("--skip", default="", help="comma-separated program names (basenames) to leave out")
    ap.add_argument("--repeat", type=int, default=2, help="times each run runs its tests, in one process (2)")
    ap.add_argument("--timeout", type=int, default=900, help="seconds per run")
    args = ap.parse_args()

    seeds = [int(s) for s in args.seeds.split(",") if s]
    variants = ([] if args.no_plain else [None]) + seeds
    runs = collect(load_tests(args.build), args.all, os.path.abspath(args.build) + os.sep)
    if args.only:
        wanted = set(args.only.split(","))
        runs = {k: v for k, v in runs.items() if os.path.basename(k) in wanted}
    if args.skip:
        unwanted = set(args.skip.split(","))
        runs = {k: v for k, v in runs.items() if os.path.basename(k) not in unwanted}

    logs = os.path.join(os.path.abspath(args.build), "whole-runs")
    os.makedirs(logs, exist_ok=True)
    lock = threading.Lock()
    passed, failed = [], []

    def program(prog):
        for label, cmd, env, mods, cwd, judge in runs[prog]:
            for seed in variants:
                rc, out, secs = run_one(label, cmd, env, mods, cwd, seed, args.repeat, args.timeout)
                what = label + ("" if seed is None else " (shuffled, seed %d)" % seed)
                verdict = judged(rc, out, judge)
                with lock:
                    if verdict == "skipped":
                        print("skip   %6.1fs  %s (exit %d)" % (secs, what, rc), flush=True)
                    elif verdict == "passed":
                        passed.append(what)
                        print("ok     %6.1fs  %s" % (secs, what), flush=True)
                    else:
                        failed.append(what)
                        log = os.path.join(logs, "%s%s.log" % (label.replace("/", "_"), "" if seed is None else "-seed%d" % seed))
                        with open(log, "w") as f:
                            f.write(out)
                        print("FAILED %6.1fs  %s (exit %d), output in %s" % (secs, what, rc, log), flush=True)
                        lines = [l for l in out.splitlines() if l.startswith("[  FAILED  ]") or "Failure" in l]
                        print("\n".join(lines[-40:]) if lines else "\n".join(out.splitlines()[-40:]), flush=True)

    # The longest programs first, so that the side-by-side runs end together.
    order = sorted(runs, key=lambda k: -sum(len(c[1][1]) if len(c[1]) > 1 else 0 for c in runs[k]))
    with ThreadPoolExecutor(max_workers=max(1, args.j)) as pool:
        list(pool.map(program, order))

    if failed:
        print("Failed runs:")
        for f in failed:
            print("  " + f)
    print("%d passed, %d failed" % (len(passed), len(failed)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
