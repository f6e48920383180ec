# shellcheck shell=bash
# Sourced by the tests that drive the installed program on an X server, from
# the top of the unpacked source: a D-Bus session of the test's own, then the
# project's desktop (scripts/desktop.sh: Xvfb at 96 DPI, openbox, and waits on
# windows that time out), with the program's settings in the test's folder.
me=${me:?set me before sourcing session.sh}
if [ -z "${LABLIST_TEST_BUS:-}" ]; then
    LABLIST_TEST_BUS=1 exec dbus-run-session -- "$0" "$@"
fi
source scripts/desktop.sh
scratch=${AUTOPKGTEST_TMP:?autopkgtest names a scratch folder}
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/.config XDG_CACHE_HOME=$scratch/home/.cache \
    XDG_DATA_HOME=$scratch/home/.local/share
mkdir -p "$HOME"
# What a booted machine's systemd-tmpfiles makes; without it Xvfb, started by
# an ordinary user, would listen on no socket in the file system.
[ -d /tmp/.X11-unix ] || mkdir -m 1777 /tmp/.X11-unix

# Starts the installed program and waits for its main window.
start_lablist() {
    start_app lablist
    main=$(window_named 'Customer Information') || fail "the main window did not appear ($(app_state))"
    expect_active "$main" "the main window at start"
}

app_state() {
    local status=0
    if app_running; then
        echo "lablist still runs"
    else
        wait "$app_pid" || status=$?
        echo "lablist ended with status $status"
    fi
}

# Adds one customer through the customer form, as a person types it.
add_customer() {
    local form field
    key alt+a
    form=$(window_named 'Generate Mailing Labels') || fail "Alt+A did not open the customer form"
    expect_active "$form" "the customer form"
    for field in Smith John '12 Elm St' Springfield IL 01234 12/31/04; do
        xdotool type --delay 20 "$field"
        key Tab
    done
    key Return
    gone 'Generate Mailing Labels' || fail "Enter did not add the customer"
    expect_active "$main" "the main window after the form"
}

# The rows of text in a PDF file, spaces folded; fails unless it holds the
# label add_customer made.
expect_label_in() {
    local text
    text=$(tests/support/pdf-rows "$1") || fail "pdftotext could not read $1"
    echo "$1 reads:"
    echo "$text"
    if ! grep -q 'John Smith' <<<"$text" || ! grep -q '12 Elm St' <<<"$text" ||
        ! grep -q 'Springfield, IL 01234' <<<"$text"; then
        fail "$1 does not hold the label"
    fi
}
