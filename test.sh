#!/usr/bin/env bash
# Builds and runs every test: formatting, the Debug and sanitizer suites, a bounded
# fuzz run, and the Windows code cross-compiled and run under wine.
set -euo pipefail
cd "$(dirname "$0")"
. tools/common.sh

ensure_packages "${BUILD_PACKAGES[@]}" clang libclang-rt-14-dev clang-format python3 \
    desktop-file-utils appstream g++-mingw-w64-x86-64-posix wine wine64

stage() { printf '\n== %s\n' "$*"; }

stage "formatting"
mapfile -t sources < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h' | grep -v '^build/')
clang-format --dry-run --Werror "${sources[@]}"
echo "${#sources[@]} files formatted"

export QT_QPA_PLATFORM=offscreen
for preset in dev asan; do
    stage "$preset build and tests"
    configure_and_build "$preset"
    ctest --preset "$preset" --progress
done

stage "fuzzing the decoders (bounded)"
configure_and_build fuzz fuzz_decoding
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp tests/fuzz_corpus/* "$corpus"/
build/fuzz/tests/fuzz_decoding -max_total_time="${VELBRIN_FUZZ_SECONDS:-30}" -print_final_stats=1 \
    "$corpus" >build/fuzz/fuzz.log 2>&1 || { tail -40 build/fuzz/fuzz.log; exit 1; }
grep -E '^stat::number_of_executed_units' build/fuzz/fuzz.log

stage "Windows code under wine"
tools/mingw_tests.sh

stage "all stages passed"
