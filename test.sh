#!/usr/bin/env bash
# Builds and runs every test: formatting, the Debug suite (with the browser program
# in a headless Chromium) and the sanitizer suite, a bounded fuzz run, the Windows
# program cross-compiled and tested under wine, and the release files made twice
# and checked (zip, MSI under wine, Debian package, page, signing), all with a
# home of their own. Each stage prints how long it took.
set -euo pipefail
cd "$(dirname "$0")"
. tools/common.sh
# Every stage runs with a home of its own: nothing is written into the user's.
run_tmp=$(mktemp -d)
trap 'rm -rf "$run_tmp"' EXIT
private_home "$run_tmp/home"

ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${RELEASE_PACKAGES[@]}"

started=$SECONDS
stage_name=""
stage() {
    [ -z "$stage_name" ] || printf -- '-- %s took %ds\n' "$stage_name" $((SECONDS - stage_start))
    stage_name=$1
    stage_start=$SECONDS
    printf '\n== %s\n' "$1"
}

stage "formatting"
# From a checkout, the files git knows; from a source tarball, every source file.
if [ "$(git rev-parse --show-toplevel 2>/dev/null)" = "$PWD" ]; then
    mapfile -t sources < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h' | grep -v '^build/')
else
    mapfile -t sources < <(find decoding main_window about app ui tests bench -name '*.cpp' -o -name '*.h')
fi
[ "${#sources[@]}" -gt 0 ] || { echo "error: no source files found to check" >&2; exit 1; }
clang-format --dry-run --Werror "${sources[@]}"
echo "${#sources[@]} files formatted"

export QT_QPA_PLATFORM=offscreen
for preset in dev asan; do
    stage "$preset build and tests"
    configure_and_build "$preset"
    ctest --preset "$preset" --progress --parallel 2 --exclude-regex '^windows_web_test\.'
done

stage "browser program (emscripten, headless Chromium)"
configure_and_build web
ctest --preset dev --progress --tests-regex '^windows_web_test\.'

stage "fuzzing the decoders (bounded)"
configure_and_build fuzz fuzz_decoding
corpus=$run_tmp/corpus
mkdir "$corpus"
cp tests/fuzz_corpus/* "$corpus"/
build/fuzz/tests/fuzz_decoding -max_total_time="${VELBRIN_FUZZ_SECONDS:-30}" -print_final_stats=1 \
    "$corpus" >build/fuzz/fuzz.log 2>&1 || { tail -40 build/fuzz/fuzz.log; exit 1; }
grep -E '^stat::number_of_executed_units' build/fuzz/fuzz.log

stage "Windows program under wine"
tools/mingw_tests.sh

stage "release files"
tools/release_tests.sh

stage "all stages passed"
printf '   (total: %dm %02ds)\n' $(((SECONDS - started) / 60)) $(((SECONDS - started) % 60))
