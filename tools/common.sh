# Shared by run.sh and test.sh: installing what is missing and running a step
# quietly, showing its log only when it fails.

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
                qt6-qpa-plugins fonts-dejavu-core)
# What the tests, the Windows cross build, the package checks and the screenshot
# and benchmark scripts use besides.
TEST_PACKAGES=(clang libclang-rt-14-dev clang-format python3 desktop-file-utils appstream
               g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth openbox xdotool dpkg-dev lintian
               unzip openssl)
DESKTOP_PACKAGES=(xvfb xauth openbox xdotool imagemagick)
# What tools/release.sh packs and signs with besides the build.
RELEASE_PACKAGES=(g++-mingw-w64-x86-64-posix dpkg-dev zip wixl msitools osslsigncode)

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
