# Shared by the scripts that run the program on a desktop of their own: a
# private Xvfb display at 96 DPI with openbox managing its windows.
# The caller sets $work (a scratch directory) and calls stop_desktop from its
# EXIT trap. Sets DISPLAY; xvfb_pid and openbox_pid name what it started.

xvfb_pid=
openbox_pid=

# A display of our own: Xvfb takes its lock file and refuses a number in use.
# No reset when the last client leaves, so the server stays as it is between
# one program and the next.
start_xvfb() {
    local display
    for display in $(seq $((100 + $$ % 100)) 299); do
        [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ] && continue
        Xvfb ":$display" -screen 0 1024x768x24 -dpi 96 -nolisten tcp -noreset \
            >"$work/xvfb.log" 2>&1 &
        xvfb_pid=$!
        for _ in $(seq 100); do
            kill -0 "$xvfb_pid" 2>/dev/null || break
            if DISPLAY=":$display" xdpyinfo >/dev/null 2>&1; then
                export DISPLAY=":$display"
                return 0
            fi
            sleep 0.1
        done
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=
    done
    return 1
}

# Openbox with Debian's own settings (the user's are kept out), which give new
# windows the focus and close the active window on Alt+F4. Returns once it
# manages the display: it then names itself on the root window.
start_openbox() {
    mkdir -p "$work/config"
    XDG_CONFIG_HOME="$work/config" openbox --sm-disable >"$work/openbox.log" 2>&1 &
    openbox_pid=$!
    local check
    for _ in $(seq 100); do
        kill -0 "$openbox_pid" 2>/dev/null || break
        check=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | sed -n 's/.*window id # //p')
        if [ -n "$check" ] &&
            xprop -id "$check" _NET_WM_NAME 2>/dev/null | grep -q '"Openbox"'; then
            return 0
        fi
        sleep 0.1
    done
    return 1
}

start_desktop() {
    start_xvfb || { echo "Xvfb did not start" >&2; return 1; }
    start_openbox || { echo "openbox did not start managing $DISPLAY" >&2; return 1; }
}

# Stops what start_desktop started, the window manager before its server.
stop_desktop() {
    local pid
    for pid in "$openbox_pid" "$xvfb_pid"; do
        [ -n "$pid" ] || continue
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    openbox_pid=
    xvfb_pid=
}
