# shellcheck shell=bash
# Sourced by scripts/test: a CUPS server of the test run's own, whose default
# queue is an IPP Everywhere printer (CUPS's ippeveprinter) that keeps every job
# it receives as a file, so the end-to-end printing test can read it back.
#
# The programs the tests start reach this server through CUPS_SERVER. The
# system's CUPS, its queues and its default printer are never touched, and
# nothing needs root: the server listens on a socket of its own and lets
# anyone manage its queue.
#
#   source scripts/lib.sh scripts/cups.sh; start_test_cups   # by hand
#   stop_test_cups
#
# Its files live in the system's temporary folder rather than the build tree:
# a UNIX socket's path must stay under 108 bytes, and where AppArmor confines
# /usr/sbin/cupsd (as Debian's profile does), that server may read and write
# the user's own files in /tmp but nothing in their home.

export LABLIST_TEST_QUEUE=lablist-test
cups_dir=
cupsd_pid=
bus_pid=
printer_pid=

# Starts the server and the printer and makes the printer the server's
# default queue; exports what the tests need to find them. Fails, leaving
# nothing running, when any of them does not come up.
start_test_cups() {
    local tool
    for tool in cupsd lpadmin ippeveprinter dbus-daemon lpstat; do
        command -v "$tool" >/dev/null || { echo "cups.sh: $tool is not installed" >&2; return 1; }
    done
    cups_dir=$(mktemp -d /tmp/lablist-cups.XXXXXX) || return 1
    # A server started as root runs its filters as the user lp, who must reach
    # the spool inside.
    chmod 755 "$cups_dir"
    mkdir -p "$cups_dir"/{etc,spool/tmp,cache,state,log,jobs}
    write_cups_config
    cupsd -f -c "$cups_dir/etc/cupsd.conf" -s "$cups_dir/etc/cups-files.conf" \
        >>"$cups_dir/log/cupsd.log" 2>&1 &
    cupsd_pid=$!
    export CUPS_SERVER=$cups_dir/cups.sock
    # The clients read no lpoptions or client.conf of the machine's or the
    # user's, where another default printer may be named.
    export CUPS_SERVERROOT=$cups_dir/etc
    unset LPDEST PRINTER
    if ! wait_for 10 cups_answers; then
        report_cups_failure "cupsd did not start"
        return 1
    fi
    start_test_printer || { report_cups_failure "ippeveprinter did not start"; return 1; }
    # -m everywhere asks the printer what it takes, as for any driverless one.
    if ! lpadmin -p "$LABLIST_TEST_QUEUE" -E -v "ipp://localhost:$printer_port/ipp/print" \
        -m everywhere || ! lpadmin -d "$LABLIST_TEST_QUEUE"; then
        report_cups_failure "the queue could not be made"
        return 1
    fi
    export LABLIST_TEST_JOBS=$cups_dir/jobs
    echo "cups.sh: CUPS server on $CUPS_SERVER, queue $LABLIST_TEST_QUEUE on port $printer_port"
}

write_cups_config() {
    cat >"$cups_dir/etc/cups-files.conf" <<EOF
ServerRoot $cups_dir/etc
RequestRoot $cups_dir/spool
TempDir $cups_dir/spool/tmp
CacheDir $cups_dir/cache
StateDir $cups_dir/state
ErrorLog $cups_dir/log/error_log
AccessLog $cups_dir/log/access_log
PageLog $cups_dir/log/page_log
FileDevice No
EOF
    cat >"$cups_dir/etc/cupsd.conf" <<EOF
Listen $cups_dir/cups.sock
Browsing No
BrowseLocalProtocols none
WebInterface No
DefaultAuthType None
LogLevel warn
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
}

cups_answers() {
    kill -0 "$cupsd_pid" 2>/dev/null && lpstat -r 2>/dev/null | grep -q 'is running'
}

# ippeveprinter on a free loopback port, advertising nothing, keeping each job
# in the jobs folder; it "prints" a job by running true on it. It will not
# start without a D-Bus system bus for its DNS-SD library, even with
# advertising off, so it gets a bus of its own rather than the machine's.
start_test_printer() {
    dbus-daemon --session --nofork --address="unix:path=$cups_dir/bus" \
        >>"$cups_dir/log/dbus.log" 2>&1 &
    bus_pid=$!
    wait_for 10 test -S "$cups_dir/bus" || return 1
    for printer_port in $(shuf -i 20000-59999 -n 10); do
        DBUS_SYSTEM_BUS_ADDRESS="unix:path=$cups_dir/bus" ippeveprinter -r off -n localhost \
            -p "$printer_port" -d "$cups_dir/jobs" -k -c /bin/true -f application/pdf \
            "$LABLIST_TEST_QUEUE" >>"$cups_dir/log/ippeveprinter.log" 2>&1 &
        printer_pid=$!
        wait_for 5 printer_answers && return 0
        stop_process "$printer_pid"
        printer_pid=
    done
    return 1
}

printer_answers() {
    kill -0 "$printer_pid" 2>/dev/null && (: <>"/dev/tcp/127.0.0.1/$printer_port") 2>/dev/null
}

report_cups_failure() {
    echo "cups.sh: $*" >&2
    tail -n 20 "$cups_dir"/log/*.log "$cups_dir/log/error_log" 2>/dev/null | sed 's/^/    /' >&2
    stop_test_cups
}

# Stops what start_test_cups started and removes its folder.
stop_test_cups() {
    stop_process "$printer_pid"
    stop_process "$bus_pid"
    stop_process "$cupsd_pid"
    printer_pid=''
    bus_pid=''
    cupsd_pid=''
    [ -n "$cups_dir" ] && rm -rf "$cups_dir"
    cups_dir=
}
