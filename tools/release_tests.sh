#!/usr/bin/env bash
# Makes the release files and checks them as their users will meet them: the
# checksums; one velbrin.exe in the zip, in the MSI and from the install step,
# importing only Windows' own DLLs; the Debian package and its program's windows;
# the same files again from a copy of the sources at another path; the MSI
# installed, started, upgraded and uninstalled under wine, a downgrade refused,
# nothing written into the home; and signing with a throw-away certificate.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/common.sh
if [ -z "${VELBRIN_IN_XVFB:-}" ]; then # wine shows the installed program's window
    exec env VELBRIN_IN_XVFB=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

version=$(sed -n 's/^project(Velbrin VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
zip=velbrin-$version-windows.zip msi=velbrin-$version.msi deb=velbrin_${version}_amd64.deb
tmp=$(mktemp -d)
# No Mono or Gecko installer prompts, no menu entries from wine's menu builder.
export WINEPREFIX="$tmp/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wm=""
trap 'kill $wm 2>/dev/null; wineserver -k >/dev/null 2>&1 || true; rm -rf "$tmp"' EXIT
private_home "$tmp/home" # looked through for menu entries after the MSI's checks
openbox >/dev/null 2>&1 &
wm=$!
fail() { echo "error: $*" >&2; exit 1; }
timed() { # timed WHAT COMMAND...: runs it and says how long it took
    local start=$SECONDS what=$1
    shift
    "$@"
    echo "   ($what: $((SECONDS - start)) s)" >&2
}

out=build/release-files
timed "release files" tools/release.sh "$out"
(cd "$out" && sha256sum --check --quiet SHA256SUMS) || fail "SHA256SUMS does not match"

installed=build/mingw-release/release-files/dist/bin/velbrin.exe
unzip -q "$out/$zip" -d "$tmp/zip"
(cd "$tmp" && msiextract -C msi "$OLDPWD/$out/$msi" >/dev/null)
cmp "$tmp/zip/velbrin.exe" "$installed" || fail "the zip's velbrin.exe is not the installed one"
cmp "$(find "$tmp/msi" -name velbrin.exe)" "$installed" || fail "the MSI's velbrin.exe is not the installed one"
# Installed by hand as the README says, outside the release's environment.
env -u SOURCE_DATE_EPOCH cmake --install build/mingw-release --prefix "$tmp/by hand" --strip >/dev/null
cmp "$tmp/by hand/bin/velbrin.exe" "$installed" || fail "velbrin.exe installed by hand is not the released one"
tools/check_imports.sh "$installed" | tr '\n' ' '
size=$(stat -c %s "$installed")
awk -v s="$size" 'BEGIN { printf "\nvelbrin.exe: %d bytes stripped (%.0f KiB; the limit is 1024 KiB)\n", s, s / 1024 }'
[ "$size" -le 1048576 ] || fail "velbrin.exe is larger than 1 MiB"
# Its version resource and manifest, as Windows reads them from the file.
resources=$(x86_64-w64-mingw32-windres -i "$installed" -O rc | grep -v '^  0x')
diff <(sed -n '/^1 VERSIONINFO/,/^END/p' <<<"$resources") - <<'RESOURCE' || fail "version resource"
1 VERSIONINFO
 FILEVERSION 1, 2004, 429, 0
 PRODUCTVERSION 1, 2004, 429, 0
 FILEFLAGSMASK 0x3f
 FILEOS 0x40004
 FILETYPE 0x1
BEGIN
  BLOCK "StringFileInfo"
  BEGIN
    BLOCK "040904B0"
    BEGIN
      VALUE "FileDescription", "Decoder for Motorola handset IMEI and MSN"
      VALUE "FileVersion", "1.2004.429"
      VALUE "InternalName", "velbrin"
      VALUE "LegalCopyright", "Copyright (C) 2026 Velbrin developers"
      VALUE "OriginalFilename", "velbrin.exe"
      VALUE "ProductName", "Corvanel"
      VALUE "ProductVersion", "1.2004.429"
    END
  END
  BLOCK "VarFileInfo"
  BEGIN
    VALUE "Translation", 0x409, 1200
  END
END
RESOURCE
for line in 'requestedExecutionLevel level=""asInvoker""' '>PerMonitorV2, PerMonitor<' \
            'name=""Microsoft.Windows.Common-Controls"" version=""6.0.0.0""'; do
    grep -qF "$line" <<<"$resources" || fail "the manifest lacks $line"
done
echo "velbrin.exe: version resource and manifest as published"
tools/package_tests.sh "$out/$deb"

# The packaged Linux program: its main window is a normal one, of the class the
# desktop entry names (by which a dock groups it with its launcher); About is a
# dialog.
dpkg-deb -x "$out/$deb" "$tmp/deb"
wm_class=$(sed -n 's/^StartupWMClass=//p' "$tmp/deb/usr/share/applications/org.example.Velbrin.desktop")
[ -n "$wm_class" ] || fail "the desktop entry names no StartupWMClass"
QT_QPA_PLATFORM=xcb timeout 60 "$tmp/deb/usr/bin/velbrin" &
window=$(timeout 60 xdotool search --sync --onlyvisible --name "^Corvanel Version $version" | head -n 1)
[ -n "$window" ] || fail "the packaged program shows no window"
properties=$(xprop -id "$window" WM_CLASS _NET_WM_WINDOW_TYPE)
grep -qx "WM_CLASS(STRING) = \"[^\"]*\", \"$wm_class\"" <<<"$properties" \
    || fail "the window's class is not the desktop entry's StartupWMClass=$wm_class: $properties"
grep -qx '_NET_WM_WINDOW_TYPE(ATOM) = _NET_WM_WINDOW_TYPE_NORMAL' <<<"$properties" \
    || fail "the main window is not a normal window: $properties"
xdotool windowactivate --sync "$window" key alt+b
about=$(timeout 30 xdotool search --sync --onlyvisible --name "^About Corvanel$" | head -n 1)
[ -n "$about" ] || fail "Alt+B shows no About dialog"
xprop -id "$about" _NET_WM_WINDOW_TYPE | grep -q '= _NET_WM_WINDOW_TYPE_DIALOG' || fail "About is not a dialog"
xdotool windowactivate --sync "$about" key Escape
xdotool windowactivate --sync "$window" key Escape
wait $! || fail "the packaged program did not end cleanly"
echo "Linux program: window class $wm_class as its desktop entry says, a normal main window, About a dialog"

# The same sources elsewhere (a path with a space), built anew later, give the
# same files; only the MSI's package code and dates are its own (see README).
other="$tmp/another tree"
mkdir -p "$other"
if [ "$(git rev-parse --show-toplevel 2>/dev/null)" = "$PWD" ]; then
    git ls-files -co --exclude-standard | grep -v '^build/' | tar -cf - -T - | tar -xf - -C "$other"
else
    tar --exclude=./build -cf - . | tar -xf - -C "$other"
fi
timed "the same from another tree" "$other/tools/release.sh" "$tmp/other release" >/dev/null
for file in "$zip" "$deb" "velbrin-$version.html"; do
    cmp "$out/$file" "$tmp/other release/$file" || fail "$file differs between two builds"
done
cmp "$installed" "$other/$installed" || fail "velbrin.exe differs between two builds"
echo "reproducible: $zip, $deb, the page and velbrin.exe are byte for byte the same from two trees"

# The MSI as a user without administrator rights installs it, in a fresh prefix.
wineboot -i </dev/null >/dev/null 2>&1
home="$WINEPREFIX/drive_c/users/$(whoami)"
program="$home/AppData/Local/Programs/Velbrin/velbrin.exe"
shortcut="$home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Corvanel.lnk"
wine msiexec /i "$out/$msi" /qn || fail "msiexec /i failed"
[ -f "$program" ] || fail "velbrin.exe is not in the user's programs folder"
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
wine uninstaller --list | tr -d '\r' | grep -q '|||Corvanel$' || fail "no Add/Remove Programs entry"
entry=$( (wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s
          wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s || true) 2>/dev/null | tr -d '\r')
for field in "DisplayName +REG_SZ +Corvanel" "DisplayVersion +REG_SZ +$version" \
             "Publisher +REG_SZ +Velbrin developers"; do
    grep -Eq "$field\s*$" <<<"$entry" || fail "the Add/Remove Programs entry lacks $field"
done
icon=$(wine reg query 'HKCU\Software\Microsoft\Installer\Products' /s | sed -n 's/^ *ProductIcon *REG_SZ *//p' | tr -d '\r')
[ -f "$(winepath -u "$icon")" ] || fail "the entry's icon $icon is not installed"
wine "$program" &
window=$(timeout 60 xdotool search --sync --onlyvisible --name "^Corvanel Version $version" | head -n 1)
[ -n "$window" ] || fail "the installed program shows no window"
xdotool windowactivate --sync "$window" key Escape # Esc ends the program
wait $! || fail "the installed program did not end cleanly"

# Versions: against an MSI of the same files that differs only in its version
# (and so in its product code, which CMake derives from the version), this one
# installs again over itself, is replaced by the newer, and refuses to replace it.
newer=${version%.*}.$((${version##*.} + 1))
mkdir "$tmp/newer"
cp build/mingw-release/release-files/stage/{velbrin.wxs,velbrin.exe,velbrin.ico} "$tmp/newer/"
wxs="$tmp/newer/velbrin.wxs"
code=$(sed -n 's/.*<Product Id="\([^"]*\)".*/\1/p' "$wxs")
newer_code=$(python3 -c 'import sys, uuid; print(str(uuid.uuid5(uuid.UUID(sys.argv[1]), sys.argv[2])).upper())' \
    "$(sed -n 's/.* UpgradeCode="\([^"]*\)".*/\1/p' "$wxs")" "$newer")
sed -i -e "s/$code/$newer_code/" -e "s/\"${version//./\\.}\"/\"$newer\"/g" "$wxs"
(cd "$tmp/newer" && quietly wixl.log wixl --arch x64 --output "$tmp/newer.msi" velbrin.wxs)
products() { wine uninstaller --list | tr -d '\r' | sed -n 's/^{\(.*\)}|||Corvanel$/\1/p'; }
installation() { # the installed files with their sizes and times, the entries, the registry values
    find "$home/AppData/Local/Programs" "$shortcut" -printf '%p %s %T@\n'
    products
    wine reg query 'HKCU\Software\Velbrin' | tr -d '\r'
}
wine msiexec /i "$out/$msi" /qn || fail "installing $version again failed"
[ -f "$program" ] && [ "$(products)" = "$code" ] || fail "installing $version again left: $(products)"
wine msiexec /i "$tmp/newer.msi" /qn || fail "$newer did not install over $version"
[ -f "$program" ] && [ "$(products)" = "$newer_code" ] || fail "$newer over $version left: $(products)"
before=$(installation)
status=0
wine msiexec /i "$out/$msi" /qn || status=$?
[ "$status" -ne 0 ] || fail "$version was installed over the newer $newer"
[ "$(installation)" = "$before" ] || fail "the refused $version changed the installed $newer"
echo "MSI: $version installed again, replaced by $newer, refused over it (msiexec status $status)"
wine msiexec /x "$tmp/newer.msi" /qn || fail "msiexec /x failed"
left=$(find "$home" \( -iname '*velbrin*' -o -iname 'corvanel*' \) -print)
[ -z "$left" ] || fail "left after uninstalling: $left"
[ ! -e "$home/AppData/Local/Programs" ] || fail "the emptied programs folder is left"
! wine uninstaller --list | grep -q Corvanel || fail "the Add/Remove Programs entry is left"
! wine reg query 'HKCU\Software\Velbrin' >/dev/null 2>&1 || fail "the registry key is left"
# Nor did wine's menu builder write a launcher, menu, icon or file type.
menus=$(find "$HOME" -type f \( -name '*.desktop' -o -name '*.menu' -o -name '*.directory' \
        -o -path '*/icons/*' -o -path '*/mime/*' \))
[ -z "$menus" ] || fail "wine wrote desktop menu entries into the home: $menus"
echo "MSI: installed for the user, started, uninstalled without a trace, the desktop menu untouched"

# Signed with a throw-away certificate, the exe in the zip and the MSI verify.
openssl req -x509 -newkey rsa:2048 -nodes -subj "/CN=Velbrin test signer" -days 1 \
    -addext extendedKeyUsage=codeSigning -keyout "$tmp/key.pem" -out "$tmp/cert.pem" 2>/dev/null
VELBRIN_SIGN_CERT="$tmp/cert.pem" VELBRIN_SIGN_KEY="$tmp/key.pem" \
    tools/release.sh "$tmp/signed" >/dev/null
unzip -q "$tmp/signed/$zip" velbrin.exe -d "$tmp/signed"
for file in "$tmp/signed/velbrin.exe" "$tmp/signed/$msi"; do
    osslsigncode verify -CAfile "$tmp/cert.pem" -in "$file" 2>&1 | grep -q '^Signature verification: ok' \
        || fail "the signature of $(basename "$file") does not verify"
done
echo "signed: the exe and the MSI verify against the certificate"
