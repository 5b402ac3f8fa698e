#!/usr/bin/env python3
"""Seeds the faults listed in tools/mutants.txt one at a time and runs the suite
that should catch each: the Debug suite (ctest, preset dev, with the browser
program rebuilt for its tests) for Linux and browser faults, the Windows tests
under wine for Windows faults. Prints which faults were caught
("killed") and which got through, and the kill ratio. The source tree is put
back after every fault, also when the script is interrupted.

    tools/mutate.py [NUMBER ...]     (default: every fault; numbers from 1)

Needs the dev, web and mingw presets configured (./test.sh does that).
"""
import os
import subprocess
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
QUIET = dict(stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, cwd=ROOT)
ENV = dict(os.environ)  # main() gives the suites a home of their own


def mutants():
    text = (ROOT / "tools" / "mutants.txt").read_text()
    blocks = [b for b in text.split("\n\n") if b.strip() and not b.lstrip().startswith("#")]
    for block in blocks:
        lines = block.strip("\n").split("\n")
        body = lines[1:-1]
        half = len(body) // 2
        if len(body) % 2 or lines[-1] not in ("linux", "windows"):
            raise SystemExit(f"malformed block:\n{block}")
        yield lines[0], "\n".join(body[:half]), "\n".join(body[half:]), lines[-1]


def private_environment(home):
    """The environment of tools/common.sh's private_home: nothing the suites
    start (openbox, wine, Qt) writes into the user's home."""
    shell = subprocess.run(["bash", "-c", '. tools/common.sh && private_home "$1" && env -0', "bash", home],
                           cwd=ROOT, check=True, capture_output=True).stdout
    return dict(entry.split("=", 1) for entry in shell.decode().split("\0") if entry)


def run(*command, env=None):
    return subprocess.run(command, env=env or ENV, timeout=900, **QUIET).returncode == 0


def linux_suite():
    if not run("cmake", "--build", "--preset", "web") or not run("cmake", "--build", "--preset", "dev"):
        return "killed (does not build)"
    env = dict(ENV, QT_QPA_PLATFORM="offscreen")
    ok = run("ctest", "--preset", "dev", "--parallel", "2", "--timeout", "120", env=env)
    return "survived" if ok else "killed"


def windows_suite():
    if not run("cmake", "--build", "--preset", "mingw"):
        return "killed (does not build)"
    # A prefix of this run's own, made with the fonts the tests pin, its windows in
    # wine's own desktop.
    env = dict(ENV, WINEPREFIX=os.path.join(ENV["HOME"], "wine"), WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d",
               FONTCONFIG_FILE=str(ROOT / "build/mingw/tests/fonts.conf"))
    tests = ". tools/common.sh && wine_desktop && " + " && ".join(
        f"wine build/mingw/tests/{name}.exe" for name in ("windows_win32_test", "sysinfo_win32_test"))
    ok = run("xvfb-run", "-a", "-s", "-screen 0 1024x768x24", "bash", "-c", tests, env=env)
    run("wineserver", "-k", env=env)
    return "survived" if ok else "killed"


def main():
    global ENV
    with tempfile.TemporaryDirectory(prefix="velbrin-mutate.") as tmp:
        ENV = private_environment(os.path.join(tmp, "home"))
        seed_all({int(a) for a in sys.argv[1:]})


def seed_all(chosen):
    results = []
    for number, (name, find, replace, suite) in enumerate(mutants(), 1):
        if chosen and number not in chosen:
            continue
        path = ROOT / name
        original = path.read_text()
        if original.count(find) != 1:
            results.append((number, name, "not found", find))
            print(f"{number:3} {name}: the text to change is not found once", flush=True)
            continue
        try:
            path.write_text(original.replace(find, replace))
            verdict = (linux_suite if suite == "linux" else windows_suite)()
        finally:
            path.write_text(original)
        results.append((number, name, verdict, replace.strip()))
        print(f"{number:3} {verdict:24} {name}: {replace.strip()[:70]}", flush=True)
    # Leave the builds as the tree is.
    run("cmake", "--build", "--preset", "web")
    run("cmake", "--build", "--preset", "dev")
    run("cmake", "--build", "--preset", "mingw")
    seeded = [r for r in results if r[2] != "not found"]
    killed = [r for r in seeded if r[2].startswith("killed")]
    print(f"\n{len(killed)} of {len(seeded)} faults killed"
          + (f" ({100 * len(killed) / len(seeded):.0f}%)" if seeded else ""))
    for number, name, verdict, change in results:
        if not verdict.startswith("killed"):
            print(f"  {verdict}: #{number} {name}: {change[:80]}")


if __name__ == "__main__":
    main()
