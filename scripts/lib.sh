# shellcheck shell=bash disable=SC2034 # the lists are read by the scripts that source this
# Shared by the project's scripts: the Debian packages each task needs, how to
# install the ones a fresh machine lacks, and small helpers.

# cupsd, lpadmin, ippeveprinter and cupsenable live in sbin, which is not on an
# ordinary user's PATH on Debian.
case ":$PATH:" in
*:/usr/sbin:*) ;;
*) export PATH=$PATH:/usr/local/sbin:/usr/sbin:/sbin ;;
esac

# The build dependencies are debian/control's Build-Depends, which
# ensure_build_deps installs; the lists below are what only the checks need.
# librsvg2-bin renders the icon as desktops do; ImageMagick alone reads no SVG
# without its recommended packages. x11-session-utils is the session manager
# xsm; it needs iceauth from x11-xserver-utils to let its clients in. appstream
# validates the metainfo. openbox is the window manager of the desktop checks;
# at-spi2-core, dbus-daemon (for dbus-run-session) and python3-pyatspi let them
# read the program as a screen reader does. qt6ct gives the program a larger
# desktop font the way a user sets one. shellcheck reads the project's shell.
# The end-to-end printing test runs a CUPS server of its own (cups-daemon,
# whose filters come from cups-filters) with CUPS's IPP Everywhere printer
# (cups-ipp-utils), and reads the job back with pdftotext, which
# Build-Depends brings for the unit tests. Its other queues are made from the
# drivers people print labels with: CUPS's sample LaserJet, compiled by ppdc
# (cups-ppdc), the DYMO LabelWriter (printer-driver-dymo) and the Brother
# QL-570 (printer-driver-ptouch). libbenchmark-dev builds the benchmarks.
TEST_PACKAGES=(cups-daemon cups-client cups-filters cups-ipp-utils cups-ppdc printer-driver-dymo
               printer-driver-ptouch xvfb xdotool x11-utils
               imagemagick librsvg2-bin desktop-file-utils appstream libbenchmark-dev
               x11-session-utils x11-xserver-utils openbox at-spi2-core dbus-daemon
               python3-pyatspi qt6ct shellcheck)
# scripts/package: sbuild builds in a root that mmdebstrap makes, mapped to
# subordinate IDs through newuidmap (uidmap); dpkg-dev makes the source
# package from a git archive and the repository piuparts upgrades from.
PACKAGE_PACKAGES=(sbuild mmdebstrap uidmap dpkg-dev git xz-utils autopkgtest piuparts)
# scripts/fresh-check: what it needs on this machine; an ordinary user's
# mmdebstrap maps the root's users through uidmap; pgrep (procps) sees what
# a stage still runs.
FRESH_CHECK_PACKAGES=(mmdebstrap uidmap iproute2 git procps)

# Runs one command as root: through sudo for an ordinary user, so that only
# the steps that need root take it.
as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs what debian/control's Build-Depends names and this machine lacks;
# quiet when nothing is missing. Run from the top of the project.
ensure_build_deps() {
    local unmet
    if command -v dpkg-checkbuilddeps >/dev/null; then
        unmet=$(dpkg-checkbuilddeps 2>&1) && return 0
        echo "$unmet"
    fi
    echo "Installing the build dependencies from debian/control"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get build-dep -y -qq --no-install-recommends ./
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

# start_bus SOCKET LOG: a D-Bus bus of our own, listening at SOCKET, its PID in
# bus_pid; fails unless it listens within 10 s.
start_bus() {
    dbus-daemon --session --nofork --address="unix:path=$1" >>"$2" 2>&1 &
    bus_pid=$!
    wait_for 10 test -S "$1"
}

# Stops a process this shell started, by its PID, and waits for it to end.
stop_process() {
    [ -n "${1:-}" ] || return 0
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

# Ends a check that cannot run on this machine: skipped (status 77, which CTest
# reports as such), or failed when LABLIST_EXPECT_ALL=1 says every check must
# run, as it must after scripts/test installed what they need.
cannot_run() {
    echo "${me:-$0}: $*" >&2
    [ "${LABLIST_EXPECT_ALL:-0}" = 1 ] && exit 1
    exit 77
}

need_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || cannot_run "$tool is not installed"
    done
}
