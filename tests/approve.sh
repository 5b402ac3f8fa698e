#!/usr/bin/env bash
# Approves what the tests now show: builds the committed sources afresh in a
# temporary folder (so no binary left by an experiment or a seeded fault is
# recorded as the truth), runs the suites that record dumps, pictures and
# transcripts, and puts everything they recorded in place of tests/approved/ for
# these environments. Review the result before committing it: text with
# `git diff`, pictures by eye; never approve a difference you cannot explain.
#   tests/approve.sh
set -euo pipefail
cd "$(dirname "$0")/.."
[ -z "$(git status --porcelain -- . ':!tests/approved')" ] ||
    { echo "error: approve from committed sources only; commit or stash first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
git archive HEAD | tar -x -C "$work"
(
    cd "$work"
    . tools/common.sh
    export VELBRIN_RECEIVE_ALL=1
    configure_and_build web
    configure_and_build dev
    ctest --preset dev >/dev/null || true
    tools/mingw_tests.sh >/dev/null || true
)
for received in "$work"/build/{dev,mingw}/received/*; do
    environment=tests/approved/$(basename "$received")
    rm -rf "$environment"
    cp -r "$received"/shared/. tests/approved/
    rm -rf "$received"/shared
    [ -z "$(ls "$received")" ] || cp -r "$received" "$environment"
done
git status --short tests/approved
