# shellcheck shell=bash disable=SC2034 # the lists are read by the scripts that source this
# Shared by the project's scripts: the Debian packages each task needs, how to
# install the ones a fresh machine lacks, and small helpers.

# cupsd, lpadmin, ippeveprinter and cupsenable live in sbin, which is not on an
# ordinary user's PATH on Debian.
case ":$PATH:" in
*:/usr/sbin:*) ;;
*) export PATH=$PATH:/usr/local/sbin:/usr/sbin:/sbin ;;
esac

# fonts-freefont-ttf draws the pictures that stand for control characters on a
# label; without it they all print as the same empty box. fonts-dejavu-extra has
# the condensed face that narrow captions fall back to.
BUILD_PACKAGES=(cmake ninja-build g++ qt6-base-dev libgl-dev qt6-qpa-plugins fonts-dejavu-core
                fonts-dejavu-extra fonts-freefont-ttf)
# librsvg2-bin renders the icon as desktops do; ImageMagick alone reads no SVG
# without its recommended packages. x11-session-utils is the session manager
# xsm; it needs iceauth from x11-xserver-utils to let its clients in. appstream
# validates the metainfo. openbox is the window manager of the desktop checks;
# at-spi2-core, dbus-daemon (for dbus-run-session) and python3-pyatspi let them
# read the program as a screen reader does. qt6ct gives the program a larger
# desktop font the way a user sets one. shellcheck reads the project's shell.
# The end-to-end printing test runs a CUPS server of its own (cups-daemon,
# whose filters come from cups-filters) with CUPS's IPP Everywhere printer
# (cups-ipp-utils), and reads the job back with pdftotext (poppler-utils).
TEST_PACKAGES=(cups-daemon cups-client cups-filters cups-ipp-utils poppler-utils xvfb xdotool x11-utils
               imagemagick librsvg2-bin desktop-file-utils appstream libbenchmark-dev
               x11-session-utils x11-xserver-utils openbox at-spi2-core dbus-daemon
               python3-pyatspi qt6ct shellcheck)
# Building the Debian package: dpkg-shlibdeps computes its Depends from the
# binary, and CPack finds the binaries with file.
PACKAGE_PACKAGES=(dpkg-dev file lintian)
# scripts/fresh-check: what it needs on this machine, and the tools it adds to
# the root where the package is tried (they are not the package's needs).
FRESH_CHECK_PACKAGES=(mmdebstrap iproute2 git)
FRESH_CHECK_TOOLS=(xvfb xauth xdotool appstream desktop-file-utils)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs whichever of the named packages are missing; quiet when none are.
ensure_packages() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

# Configures and builds one build directory; extra arguments go to CMake.
build_in() {
    local dir=$1; shift
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" --parallel "$(nproc)"
}

# Configures and builds through one of CMakePresets.json's presets; extra
# arguments go to the configure step.
build_preset() {
    local preset=$1; shift
    cmake --preset "$preset" "$@" >/dev/null
    cmake --build --preset "$preset" --parallel "$(nproc)"
}

# wait_for SECONDS COMMAND...: runs COMMAND every tenth of a second until it
# succeeds; fails once SECONDS have passed without that.
wait_for() {
    local tenths=$(($1 * 10))
    shift
    while [ "$tenths" -gt 0 ]; do
        "$@" && return 0
        sleep 0.1
        tenths=$((tenths - 1))
    done
    return 1
}

# Stops a process this shell started, by its PID, and waits for it to end.
stop_process() {
    [ -n "${1:-}" ] || return 0
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}
