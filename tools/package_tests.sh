#!/usr/bin/env bash
# Checks the Debian package that tools/release.sh made: its files, its control
# fields, that the desktop entry names an installed icon, the manual page's
# author, and that lintian finds no error and no missing hardening in it.
#   tools/package_tests.sh velbrin_VERSION_amd64.deb
set -euo pipefail
deb=$1
fail() { echo "error: $*" >&2; exit 1; }

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in ./usr/bin/velbrin ./usr/share/applications/org.example.Velbrin.desktop \
            ./usr/share/metainfo/org.example.Velbrin.metainfo.xml \
            ./usr/share/icons/hicolor/32x32/apps/org.example.Velbrin.png \
            ./usr/share/icons/hicolor/scalable/apps/org.example.Velbrin.svg \
            ./usr/share/doc/velbrin/copyright ./usr/share/doc/velbrin/changelog.gz \
            ./usr/share/man/man1/velbrin.1.gz ./usr/share/lintian/overrides/velbrin; do
    grep -qx "$file" <<<"$contents" || fail "$file is not in the package"
done

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = velbrin ] || fail "Package is $(field Package)"
[ "$(field Architecture)" = amd64 ] || fail "Architecture is $(field Architecture)"
[[ "$deb" == *"_$(field Version)_amd64.deb" ]] || fail "Version $(field Version) is not in $deb"
grep -q 'libqt6widgets6' <<<"$(field Depends)" || fail "Depends lacks Qt: $(field Depends)"
grep -q '<me@example.org>' <<<"$(field Maintainer)" || fail "Maintainer is $(field Maintainer)"
echo "Depends: $(field Depends)"

# The validators do not check that the desktop entry's icon is installed.
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
icon=$(sed -n 's/^Icon=//p' "$unpacked/usr/share/applications/org.example.Velbrin.desktop")
for kind in 32x32/apps/$icon.png scalable/apps/$icon.svg; do
    [ -f "$unpacked/usr/share/icons/hicolor/$kind" ] || fail "the desktop entry's icon $kind is not installed"
done

# The manual page names its authors once, as the package's Maintainer field does.
author=$(gzip -dc "$unpacked/usr/share/man/man1/velbrin.1.gz" | sed -n '/^\.SH AUTHOR$/{n;p}')
[ "$author" = "$(field Maintainer)." ] || fail "the manual page's AUTHOR line is \"$author\""

# Errors fail, and so does any sign of a build without Debian's hardening; the
# rest, pedantic tags included, is shown.
tags=$(lintian -I --pedantic --fail-on error "$deb") || { echo "$tags"; fail "lintian"; }
[ -z "$tags" ] || echo "$tags"
! grep -q ': hardening-' <<<"$tags" || fail "lintian finds the program built without Debian's hardening"
echo "package checked: $(dpkg-deb -c "$deb" | wc -l) entries, lintian clean of errors and hardening tags"
