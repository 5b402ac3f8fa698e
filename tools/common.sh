# Shared by run.sh, test.sh and the tools: installing what is missing, running a
# step quietly (showing its log only when it fails) and giving a run a home of
# its own.

# ensure_packages PKG...: installs the Debian packages that are not installed yet.
ensure_packages() {
    local missing=()
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' \
            || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || { echo "error: need root or sudo to install: ${missing[*]}" >&2; return 1; }
        sudo=(sudo)
    fi
    echo "Installing missing Debian packages: ${missing[*]}"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq \
        && "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

BUILD_PACKAGES=(cmake ninja-build g++ qt6-base-dev libgl-dev libgtest-dev googletest libbenchmark-dev
                qt6-qpa-plugins fonts-dejavu-core nlohmann-json3-dev)
# What the tests, the Windows cross build, the package checks and the benchmark
# scripts use besides. The window tests' pictures are held with the fonts of
# fonts-dejavu-core and fonts-liberation (wine draws with the latter).
TEST_PACKAGES=(clang libclang-rt-14-dev clang-format python3 desktop-file-utils appstream
               g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth openbox xdotool dpkg-dev lintian
               unzip openssl emscripten chromium fonts-liberation x11-utils libstb-dev)
# What tools/release.sh packs and signs with besides the build.
RELEASE_PACKAGES=(g++-mingw-w64-x86-64-posix dpkg-dev zip wixl msitools osslsigncode emscripten)

# private_home DIR: from here on, this script and all it starts have a home of
# their own in DIR (an absolute path in a temporary folder that the caller
# removes): HOME and the XDG folders. A run then writes nothing into the user's
# home: not wine's menu entries, icons and file types, not openbox's log, not
# the caches of fontconfig, Qt or a browser. Git and X still read the user's own
# settings and credentials.
private_home() {
    case $1 in
    /*) ;;
    *) echo "error: private_home needs an absolute path, not '$1'" >&2; return 1 ;;
    esac
    if [ -z "${GIT_CONFIG_GLOBAL:-}" ]; then
        local git_config
        for git_config in "$HOME/.gitconfig" "${XDG_CONFIG_HOME:-$HOME/.config}/git/config"; do
            [ ! -f "$git_config" ] || { export GIT_CONFIG_GLOBAL=$git_config; break; }
        done
    fi
    [ -n "${XAUTHORITY:-}" ] || [ ! -f "$HOME/.Xauthority" ] || export XAUTHORITY=$HOME/.Xauthority
    mkdir -p "$1/.config" "$1/.cache" "$1/.local/share" "$1/.local/state" || return 1
    mkdir -p -m 0700 "$1/.runtime" || return 1 # a runtime folder must be the user's alone
    export HOME=$1 XDG_CONFIG_HOME=$1/.config XDG_CACHE_HOME=$1/.cache XDG_DATA_HOME=$1/.local/share \
        XDG_STATE_HOME=$1/.local/state XDG_RUNTIME_DIR=$1/.runtime
}

# wine_desktop: makes the prefix $WINEPREFIX and has wine show every window in a
# desktop window of its own (1024x768) rather than hand each one to an X window
# manager. Wine then activates and focuses windows at once, by Windows' rules; a
# window manager maps and focuses them in its own time, so a test's first keys
# could reach a window before it had the focus. Call it inside the X server.
wine_desktop() {
    { [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1; } &&
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 &&
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f \
            >/dev/null 2>&1 &&
        wineserver -w
}

# quietly LOG CMD...: runs CMD with its output in LOG; prints the log on failure.
quietly() {
    local log=$1
    shift
    if ! "$@" >"$log" 2>&1; then
        cat "$log" >&2
        echo "error: failed: $*" >&2
        return 1
    fi
}

# configure_and_build PRESET [TARGET...]: configures once (ninja re-runs CMake by
# itself when a list file changes), then builds.
configure_and_build() {
    local preset=$1
    shift
    local dir="build/$preset"
    mkdir -p "$dir"
    if [ ! -f "$dir/build.ninja" ]; then
        quietly "$dir/configure.log" cmake --preset "$preset" || return 1
    fi
    local targets=()
    for t in "$@"; do targets+=(--target "$t"); done
    quietly "$dir/build.log" cmake --build --preset "$preset" "${targets[@]}"
}
