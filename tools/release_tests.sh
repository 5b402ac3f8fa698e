#!/usr/bin/env bash
# Makes the release files and checks them as their users will meet them: the
# checksums; one velbrin.exe in the zip, in the MSI and from the install step,
# importing only Windows' own DLLs; the Debian package; the same files again
# from a copy of the sources at another path; the MSI installed, started and
# uninstalled under wine; and signing with a throw-away certificate.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/common.sh
if [ -z "${VELBRIN_IN_XVFB:-}" ]; then # wine shows the installed program's window
    exec env VELBRIN_IN_XVFB=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
openbox >/dev/null 2>&1 &

version=$(sed -n 's/^project(Velbrin VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
zip=velbrin-$version-windows.zip msi=velbrin-$version.msi deb=velbrin_${version}_amd64.deb
tmp=$(mktemp -d)
export WINEPREFIX="$tmp/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" # no installer prompts
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$tmp"' EXIT
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
for file in "$zip" "$deb"; do
    cmp "$out/$file" "$tmp/other release/$file" || fail "$file differs between two builds"
done
cmp "$installed" "$other/$installed" || fail "velbrin.exe differs between two builds"
echo "reproducible: $zip, $deb and velbrin.exe are byte for byte the same from two trees"

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
wine msiexec /x "$out/$msi" /qn || fail "msiexec /x failed"
left=$(find "$home" \( -iname '*velbrin*' -o -iname 'corvanel*' \) -print)
[ -z "$left" ] || fail "left after uninstalling: $left"
[ ! -e "$home/AppData/Local/Programs" ] || fail "the emptied programs folder is left"
! wine uninstaller --list | grep -q Corvanel || fail "the Add/Remove Programs entry is left"
! wine reg query 'HKCU\Software\Velbrin' >/dev/null 2>&1 || fail "the registry key is left"
echo "MSI: installed for the user, started, uninstalled without a trace"

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
