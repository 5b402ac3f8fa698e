#!/usr/bin/env bash
# Makes every release file in DIR from this source tree: the Windows zip
# (velbrin.exe and a short text), the Windows installer (MSI), the Debian package,
# the browser program's page and SHA256SUMS over them. The same sources give the same zip, exe and package
# byte for byte, wherever the tree lies and whenever it is built.
#
#     tools/release.sh DIR
#
# Signing: with VELBRIN_SIGN_CERT and VELBRIN_SIGN_KEY naming a code-signing
# certificate and its private key (PEM files), velbrin.exe (before it is packed)
# and the MSI are signed with osslsigncode; VELBRIN_SIGN_TIMESTAMP_URL, if set,
# names the timestamp server. Without them nothing is signed.
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 DIR" >&2; exit 2; }
mkdir -p "$1"
out=$(cd "$1" && pwd)
cd "$(dirname "$0")/.."
. tools/common.sh

ensure_packages "${BUILD_PACKAGES[@]}" "${RELEASE_PACKAGES[@]}"

# Every date in the release files is the release's own, kept in CMakeLists.txt.
SOURCE_DATE_EPOCH=$(sed -n 's/^set(VELBRIN_SOURCE_DATE_EPOCH \([0-9]*\))$/\1/p' CMakeLists.txt)
version=$(sed -n 's/^project(Velbrin VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
[ -n "$SOURCE_DATE_EPOCH" ] && [ -n "$version" ] || { echo "error: no version or date in CMakeLists.txt" >&2; exit 1; }
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C.UTF-8

sign() { # sign FILE: in place, when a key is given
    [ -n "${VELBRIN_SIGN_CERT:-}" ] || return 0
    local stamp=()
    [ -z "${VELBRIN_SIGN_TIMESTAMP_URL:-}" ] || stamp=(-ts "$VELBRIN_SIGN_TIMESTAMP_URL")
    quietly "$1.sign.log" osslsigncode sign -certs "$VELBRIN_SIGN_CERT" -key "$VELBRIN_SIGN_KEY" \
        -n "Corvanel $version" "${stamp[@]}" -in "$1" -out "$1.signed"
    mv "$1.signed" "$1"
    rm -f "$1.sign.log"
}

# Windows: the shipping exe, as `cmake --install build/mingw-release --strip` gives it.
configure_and_build mingw-release velbrin
work=build/mingw-release/release-files
rm -rf "$work"
quietly build/mingw-release/install.log cmake --install build/mingw-release --prefix "$work/dist" --strip
stage="$work/stage"
mkdir -p "$stage"
cp "$work/dist/bin/velbrin.exe" build/mingw-release/app/README.txt "$stage/"
sign "$stage/velbrin.exe"

# The zip: fixed member order, times and modes, no extra fields.
zip="$out/velbrin-$version-windows.zip"
rm -f "$zip"
chmod 0644 "$stage/velbrin.exe" "$stage/README.txt"
touch -d "@$SOURCE_DATE_EPOCH" "$stage/velbrin.exe" "$stage/README.txt"
(cd "$stage" && zip -q -X -D "$zip" velbrin.exe README.txt)

# The MSI: wixl reads the files it packs from the folder it runs in.
cp build/mingw-release/app/velbrin.wxs app/icon/velbrin.ico "$stage/"
msi="$out/velbrin-$version.msi"
(cd "$stage" && quietly wixl.log wixl --arch x64 --output "$msi" velbrin.wxs)
sign "$msi"

# Linux: the Debian package, hardened as Debian builds its own: the flags
# dpkg-buildflags gives (fortified functions, stack protector, read-only
# relocations bound at start-up). Configured anew every time, so that a release
# tree configured earlier without them gets them too.
buildflags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
mkdir -p build/release
quietly build/release/configure.log cmake --preset release \
    -DCMAKE_CXX_FLAGS="$(buildflags CPPFLAGS) $(buildflags CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(buildflags LDFLAGS)"
configure_and_build release velbrin velbrin_debian_docs
rm -f build/release/velbrin_*.deb
(cd build/release && quietly cpack.log cpack -G DEB)
cp build/release/velbrin_"$version"_amd64.deb "$out/"

# The browser program: one page that works offline, opened from disk.
configure_and_build web velbrin_page
cp build/web/app/velbrin.html "$out/velbrin-$version.html"

(cd "$out" && sha256sum "velbrin-$version-windows.zip" "velbrin-$version.msi" \
    "velbrin_${version}_amd64.deb" "velbrin-$version.html" >SHA256SUMS)
echo "release files in $out:"
(cd "$out" && ls -l --time-style=+ velbrin* SHA256SUMS | awk '{print "  " $NF " (" $5 " bytes)"}')
