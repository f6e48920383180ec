# shellcheck shell=bash
# Sourced by scripts/test: a CUPS server of the test run's own. Its default
# queue is an IPP Everywhere printer (CUPS's ippeveprinter) that keeps every job
# it receives as a file. Beside it stand queues made from the drivers people
# print labels with, so the tests can read back each job's pages as CUPS
# received it (PreserveJobFiles keeps every job's document in the spool):
#
#   lablist-letter      a US Letter laser, CUPS's sample LaserJet driver
#   lablist-a4          the same laser set to A4
#   lablist-dymo        a DYMO LabelWriter 450, on its 30256 shipping label
#   lablist-dymo-30252  the same on the narrow 30252 address label
#   lablist-dymo-99018  the same on the long 99018 label, 1-1/2 x 7-1/2 in
#   lablist-dymo-30347  the same on the small 30347 label, 1 x 1-1/2 in
#   lablist-ql570       a Brother QL-570 on its default 62 mm continuous tape
#   lablist-ql570-62x29 the same on 62 x 29 mm die-cut labels
#   lablist-pt24        a Brother PT-2430PC on its default 24 mm tape
#   lablist-pt9         the same on 9 mm tape
#   lablist-ipp-label   a driverless label printer: ippeveprinter with the
#                       LabelWriter's PPD, made with -m everywhere
#   lablist-rejecting   a LaserJet that is started but accepts no jobs
#   lablist-refusing    a LaserJet that accepts jobs, but whose quota the
#                       user has used up: CUPS answers each job with "Quota
#                       limit reached."
#
# The server logs at debug level, so that its error_log (LABLIST_TEST_CUPS_LOG)
# holds each job's filter command lines and environment: a test can run the
# queue's filters on the job again.
#
# The programs the tests start reach this server through CUPS_SERVER. The
# system's CUPS, its queues and its default printer are never touched, and
# nothing needs root: the server listens on a socket of its own and lets
# anyone manage its queues.
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
printer_pids=()

# Starts the server, its printers and queues, with the IPP Everywhere printer
# as the default queue; exports what the tests need to find them. Fails, leaving
# nothing running, when any of them does not come up.
start_test_cups() {
    cups_dir=$(mktemp -d /tmp/lablist-cups.XXXXXX) || return 1
    # A server started as root runs its filters as the user lp, who must reach
    # the spool inside.
    chmod 755 "$cups_dir"
    mkdir -p "$cups_dir"/{etc,spool/tmp,cache,state,log,jobs,ppd}
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
    # ippeveprinter will not start without a D-Bus system bus for its DNS-SD
    # library, even with advertising off, so it gets a bus of its own rather
    # than the machine's.
    start_bus "$cups_dir/bus" "$cups_dir/log/dbus.log" ||
        { report_cups_failure "dbus-daemon did not start"; return 1; }
    write_ppds || { report_cups_failure "the drivers wrote no PPD files"; return 1; }
    # -m everywhere asks the printer what it takes, as for any driverless one.
    # lablist-refusing has a quota of 1 KB a week, which a job sent here uses
    # up, so that CUPS answers every later job with an error at once. cupsd
    # lets every request from this machine through whatever a policy denies; a
    # policy that requires a user answers 401 first, which Qt's print support
    # may meet with a password dialog; and a user a queue does not allow does
    # not see it, but for root.
    if ! start_ipp_printer "$LABLIST_TEST_QUEUE" "$cups_dir/jobs" -f application/pdf ||
        ! lpadmin -p "$LABLIST_TEST_QUEUE" -E -v "ipp://localhost:$printer_port/ipp/print" \
            -m everywhere || ! lpadmin -d "$LABLIST_TEST_QUEUE" ||
        ! start_ipp_printer lablist-ipp-label "$cups_dir/label-jobs" -P "$cups_dir/ppd/lw450.ppd" ||
        ! lpadmin -p lablist-ipp-label -E -v "ipp://localhost:$printer_port/ipp/print" \
            -m everywhere -o printer-error-policy=abort-job ||
        ! add_driver_queue lablist-letter laserjet.ppd ||
        ! add_driver_queue lablist-a4 laserjet.ppd -o PageSize=A4 ||
        ! add_driver_queue lablist-dymo lw450.ppd ||
        ! add_driver_queue lablist-dymo-30252 lw450.ppd -o PageSize=w79h252 ||
        ! add_driver_queue lablist-dymo-99018 lw450.ppd -o PageSize=w108h539 ||
        ! add_driver_queue lablist-dymo-30347 lw450.ppd -o PageSize=w72h108 ||
        ! add_driver_queue lablist-ql570 ql570.ppd ||
        ! add_driver_queue lablist-ql570-62x29 ql570.ppd -o PageSize=62x29mm -o MediaType=Labels ||
        ! add_driver_queue lablist-pt24 pt2430.ppd ||
        ! add_driver_queue lablist-pt9 pt2430.ppd -o PageSize=tz-9 ||
        ! add_driver_queue lablist-rejecting laserjet.ppd ||
        ! cupsreject lablist-rejecting 2>>"$cups_dir/log/lpadmin.log" ||
        ! add_driver_queue lablist-refusing laserjet.ppd -o job-quota-period=604800 \
            -o job-k-limit=1 ||
        ! echo quota | lp -d lablist-refusing >>"$cups_dir/log/lpadmin.log"; then
        report_cups_failure "the queues could not be made"
        return 1
    fi
    export LABLIST_TEST_JOBS=$cups_dir/jobs LABLIST_TEST_SPOOL=$cups_dir/spool \
        LABLIST_TEST_CUPS_LOG=$cups_dir/log/error_log
    echo "cups.sh: CUPS server on $CUPS_SERVER, default queue $LABLIST_TEST_QUEUE"
}

# A private server has no cups-driverd (that comes with the cups package), so
# lpadmin -m finds no driver: the drivers' own generators write the PPDs.
write_ppds() {
    ppdc -d "$cups_dir/ppd" /usr/share/cups/drv/sample.drv &&
        /usr/lib/cups/driver/dymo cat dymo:0/cups/model/lw450.ppd >"$cups_dir/ppd/lw450.ppd" &&
        /usr/lib/cups/driver/ptouch cat ptouch:0/ppd/ptouch-driver/Brother-QL-570-ptouch-ql.ppd \
            >"$cups_dir/ppd/ql570.ppd" &&
        /usr/lib/cups/driver/ptouch cat ptouch:0/ppd/ptouch-driver/Brother-PT-2430PC-ptouch-pt.ppd \
            >"$cups_dir/ppd/pt2430.ppd"
} >>"$cups_dir/log/ppd.log" 2>&1

# add_driver_queue NAME PPD [OPTION]...: a queue whose jobs go through its
# driver to /dev/null. A job the driver's filters fail on is dropped, not the
# queue stopped, so one job cannot hold the next.
add_driver_queue() {
    local name=$1 ppd=$2
    shift 2
    lpadmin -p "$name" -E -v file:/dev/null -P "$cups_dir/ppd/$ppd" \
        -o printer-error-policy=abort-job "$@" 2>>"$cups_dir/log/lpadmin.log"
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
FileDevice Yes
EOF
    cat >"$cups_dir/etc/cupsd.conf" <<EOF
Listen $cups_dir/cups.sock
Browsing No
BrowseLocalProtocols none
WebInterface No
DefaultAuthType None
# debug logs every filter's argv and envp; the log must not rotate away the
# lines of the jobs a test has yet to read.
LogLevel debug
MaxLogSize 0
PreserveJobFiles Yes
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

# start_ipp_printer NAME JOBS [OPTION]...: ippeveprinter on a free loopback
# port, which it leaves in printer_port, advertising nothing and keeping each
# job in the folder JOBS; it "prints" a job by running true on it.
start_ipp_printer() {
    local name=$1 jobs=$2
    shift 2
    mkdir -p "$jobs"
    for printer_port in $(shuf -i 20000-59999 -n 10); do
        DBUS_SYSTEM_BUS_ADDRESS="unix:path=$cups_dir/bus" ippeveprinter -r off -n localhost \
            -p "$printer_port" -d "$jobs" -k -c /bin/true "$@" "$name" \
            >>"$cups_dir/log/ippeveprinter.log" 2>&1 &
        printer_pids+=($!)
        wait_for 5 printer_answers && return 0
        stop_process "${printer_pids[-1]}"
        unset 'printer_pids[-1]'
    done
    return 1
}

printer_answers() {
    kill -0 "${printer_pids[-1]}" 2>/dev/null && (: <>"/dev/tcp/127.0.0.1/$printer_port") 2>/dev/null
}

report_cups_failure() {
    echo "cups.sh: $*" >&2
    tail -n 20 "$cups_dir"/log/*.log "$cups_dir/log/error_log" 2>/dev/null | sed 's/^/    /' >&2
    stop_test_cups
}

# Stops what start_test_cups started and removes its folder.
stop_test_cups() {
    local pid
    for pid in "${printer_pids[@]}"; do
        stop_process "$pid"
    done
    stop_process "$bus_pid"
    stop_process "$cupsd_pid"
    printer_pids=()
    bus_pid=''
    cupsd_pid=''
    [ -n "$cups_dir" ] && rm -rf "$cups_dir"
    cups_dir=
}
