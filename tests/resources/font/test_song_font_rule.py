#!/usr/bin/python3
"""song.ttf's rule follows its inputs.

    test_song_font_rule.py SOURCE_DIR FACE FACE_INDEX CMAKE GENERATOR MAKE_PROGRAM

A copy of the tree is configured on a copy of the face, with python3 behind a
wrapper, and song.ttf and its copy beside the program are built. Touching the
face or song_font.py remakes them, a build with nothing changed does not; with
fontTools gone (python3 without its site packages) or the face gone the build
goes on without them, saying what CMake says at configure time, and they come
back with the input.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

SOURCE, FACE, INDEX, CMAKE, GENERATOR, MAKE_PROGRAM = sys.argv[1:7]
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAILED:", what)


def run(*args):
    p = subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    if p.returncode != 0:
        sys.exit(f"{' '.join(args)} failed:\n{p.stdout}")
    return p.stdout


def warning(output):
    """The first CMake warning's text, its lines joined."""
    m = re.search(r"CMake Warning[^\n]*:\n((?:  [^\n]*\n)+)", output)
    return " ".join(m.group(1).split()) if m else None


def no_builds(folder, names):  # the tree without its build folders
    return [n for n in names if n == ".git" or os.path.exists(os.path.join(folder, n, "CMakeCache.txt"))]


with tempfile.TemporaryDirectory(prefix="song-font-rule-") as tmp:
    src, build, face, python = (os.path.join(tmp, n) for n in ("src", "build", "face.ttc", "python3"))
    shutil.copytree(SOURCE, src, ignore=no_builds, symlinks=True)
    shutil.copyfile(FACE, face)

    def python_with(options):
        with open(python, "w") as f:
            f.write(f'#!/bin/sh\nexec /usr/bin/python3 {options} "$@"\n')
        os.chmod(python, 0o755)

    python_with("")
    configure = [CMAKE, "-S", src, "-B", build, "-G", GENERATOR, "-DTARVEL_TESTS=OFF", "-DTARVEL_BENCH=OFF",
                 f"-DTARVEL_SONG_FACE={face}", f"-DTARVEL_SONG_FACE_INDEX={INDEX}", f"-DTARVEL_SYSTEM_PYTHON={python}"]
    check(warning(run(*configure + ([f"-DCMAKE_MAKE_PROGRAM={MAKE_PROGRAM}"] if MAKE_PROGRAM else []))) is None,
          "configured with every input, without a warning")
    fonts = [os.path.join(build, "resources", "song.ttf"), os.path.join(build, "bin", "song.ttf")]

    def build_font():
        """The build's warning, and per font: 'made', 'kept' or 'gone'."""
        before = [os.stat(f).st_mtime_ns if os.path.exists(f) else None for f in fonts]
        said = warning(run(CMAKE, "--build", build, "--target", "tarvel_song_font"))
        after = [os.stat(f).st_mtime_ns if os.path.exists(f) else None for f in fonts]
        states = {"gone" if a is None else "kept" if a == b else "made" for a, b in zip(after, before)}
        return said, states.pop() if len(states) == 1 else "mixed"

    check(build_font() == (None, "made"), "the first build makes song.ttf and puts it beside the program")
    check(build_font() == (None, "kept"), "a build with nothing changed leaves song.ttf as it is")
    st = os.stat(face)
    os.utime(face, (st.st_atime, st.st_mtime + 10))  # an upgrade brings the file's own, later time
    check(build_font() == (None, "made"), "a changed face remakes song.ttf")
    os.utime(os.path.join(src, "resources", "song_font.py"))
    check(build_font() == (None, "made"), "a touched song_font.py remakes song.ttf")

    # fontTools gone, then a text changed: the build goes on without song.ttf.
    python_with("-S")
    os.utime(os.path.join(src, "program", "main.cpp"))
    missing, state = build_font()
    check(missing and "fontTools" in missing and state == "gone", f"without fontTools: {missing} / {state}")
    python_with("")
    check(build_font() == (None, "made"), "with fontTools back song.ttf is made again")

    os.rename(face, face + ".away")
    check(build_font() == (missing, "gone"), "without the face the build says the same and goes on without song.ttf")
    check(build_font() == (None, "gone"), "the next build says nothing more")
    configured = warning(run(CMAKE, build))
    check(configured == missing, f"the build's words are the configure's: {configured!r} / {missing!r}")

if failures:
    sys.exit(1)
print("song.ttf's rule follows its inputs")
