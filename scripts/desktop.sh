# shellcheck shell=bash
# Shared by the scripts that run the program on a desktop of their own: a
# private Xvfb display at 96 DPI with openbox managing its windows, the
# environment the program meets there, and waits on its windows.
#
# A script sets `me` (its name, for messages), cds to the top of the project,
# sources this file, sets `dir` (the build folder it checks) and calls
# open_desktop. That makes $work, a scratch folder for logs, and uses the
# display of CTest's fixture or starts one; everything started here is stopped
# and $work removed when the script exits, on INT and TERM too. A script that
# starts more defines stop_more.
me=${me:?set me before sourcing desktop.sh}
source scripts/lib.sh

work=
xvfb_pid=
openbox_pid=
app_pid=

open_desktop() {
    work=$(mktemp -d)
    trap close_desktop EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    # Under CTest the display is its fixture's (scripts/fixture), shared by
    # the checks; the package's tests start one of their own.
    if [ -z "${LABLIST_FIXTURE_DISPLAY:-}" ]; then
        start_xvfb || fail "Xvfb did not start"
        start_openbox || fail "openbox did not start managing $DISPLAY"
    fi
    export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 LANG=C.UTF-8
    if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
        export XDG_RUNTIME_DIR=$work/runtime
        mkdir -m 700 "$XDG_RUNTIME_DIR"
    fi
}

close_desktop() {
    # Everything goes, whatever fails on the way.
    set +e
    stop_process "$app_pid"
    if declare -F stop_more >/dev/null; then stop_more; fi
    # The window manager before its server.
    stop_process "$openbox_pid"
    stop_process "$xvfb_pid"
    rm -rf "$work"
}

# Says what failed, with the logs of what runs here, and ends the script.
fail() {
    echo "$me: $*" >&2
    local log
    for log in "$work"/*.log; do
        [ -s "$log" ] && sed "s/^/    $(basename "$log" .log): /" "$log" >&2
    done
    exit 1
}

# A display of our own, at a number no other server holds (Xvfb picks it and
# writes it out once it listens). No reset when the last client leaves, so the
# server stays as it is between one program and the next.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp -noreset \
        3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    wait_for 10 grep -q . "$work/display" || return 1
    DISPLAY=:$(head -n 1 "$work/display")
    export DISPLAY
}

# Openbox with Debian's own settings (the user's are kept out), which give new
# windows the focus and close the active window on Alt+F4. Returns once it
# manages the display: it then names itself on the root window.
start_openbox() {
    mkdir -p "$work/config"
    XDG_CONFIG_HOME="$work/config" openbox --sm-disable >"$work/openbox.log" 2>&1 &
    openbox_pid=$!
    wait_for 10 openbox_manages
}

openbox_manages() {
    kill -0 "$openbox_pid" 2>/dev/null || return 1
    local check
    check=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | sed -n 's/.*window id # //p')
    [ -n "$check" ] && xprop -id "$check" _NET_WM_NAME 2>/dev/null | grep -q '"Openbox"'
}

# Starts the program (or what stands for it) with its output in $work/lablist.log.
start_app() {
    "$@" >"$work/lablist.log" 2>&1 &
    app_pid=$!
}

# Whether the program still runs; a script whose program is not its own child
# defines its own.
app_running() {
    [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null
}

# Waits up to 30 s for the program to end by itself; fails unless with status 0.
expect_app_exit() {
    wait_for 30 app_ended || fail "$1 did not end the program"
    local status=0
    wait "$app_pid" || status=$?
    app_pid=
    [ "$status" -eq 0 ] || fail "lablist ended with status $status"
}

app_ended() {
    ! app_running
}

# The ids of the visible windows with exactly this title.
windows_named() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true
}

# The id of the visible window with this title, once it is mapped; fails after
# 30 s, or at once when the program has ended.
window_named() {
    local id
    for _ in $(seq 300); do
        id=$(windows_named "$1" | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        app_running || return 1
        sleep 0.1
    done
    return 1
}

# True once no visible window has this title, within 10 s.
gone() {
    wait_for 10 no_window_named "$1"
}

no_window_named() {
    [ -z "$(windows_named "$1")" ]
}

# The window manager's active window, the one that gets the key presses, must
# become this one without help, within 5 s.
expect_active() {
    wait_for 5 is_active "$1" && return 0
    local active
    active=$(xdotool getactivewindow 2>/dev/null || true)
    fail "$2 does not have the keyboard (active window: ${active:-none}${active:+ \"$(xdotool getwindowname "$active" 2>/dev/null)\"})"
}

is_active() {
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]
}

# Fails unless the window's client area is WIDTHxHEIGHT.
check_size() {
    local size
    size=$(xwininfo -id "$1" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
    [ "$size" = "$2" ] || fail "$3 has a client area of $size, not $2"
    echo "$3: client area $size"
}

# Waits until the window shows more than a flat background, then saves it.
screenshot() {
    wait_for 10 painted "$1" "$2" ||
        fail "$2 still shows $(identify -format '%k' "$2" 2>/dev/null) colours: the window was not painted"
    echo "saved $2 ($(identify -format '%k' "$2") colours)"
}

painted() {
    import -window "$1" "$2" && [ "$(identify -format '%k' "$2")" -gt 16 ]
}

key() { xdotool key --clearmodifiers "$@"; }
