# Sourced by scripts/test: a real CUPS server and a PDF queue as the default
# printer, so that the end-to-end printing test has something to print on.
#
#   source scripts/cups.sh; start_test_cups   # by hand, before running that test
#   stop_test_cups                            # stops the server only if we started it

LABLIST_TEST_QUEUE=${LABLIST_TEST_QUEUE:-lablist-test-pdf}
export LABLIST_TEST_QUEUE
# PID of the cupsd that start_test_cups started; empty when it found one running.
LABLIST_CUPSD_PID=

cups_running() {
    lpstat -r 2>/dev/null | grep -q 'is running'
}

# Starts cupsd unless one is already running, then makes the test queue the
# default. Fails when the server does not come up or the queue cannot be made.
start_test_cups() {
    if ! command -v cupsd >/dev/null || ! command -v lpadmin >/dev/null; then
        echo "cups.sh: cupsd or lpadmin is not installed" >&2
        return 1
    fi
    if cups_running; then
        echo "cups.sh: using the CUPS server that is already running"
    else
        # Normally made by the init system, which containers may not run.
        as_root mkdir -p /run/cups
        # Started directly rather than through as_root, whose subshell would
        # hide the server's PID.
        if [ "$(id -u)" -eq 0 ]; then cupsd -f & else sudo cupsd -f & fi
        LABLIST_CUPSD_PID=$!
        local tries
        for tries in $(seq 100); do
            cups_running && break
            if ! kill -0 "$LABLIST_CUPSD_PID" 2>/dev/null; then
                echo "cups.sh: cupsd exited at start" >&2
                LABLIST_CUPSD_PID=
                return 1
            fi
            sleep 0.1
        done
        if ! cups_running; then
            echo "cups.sh: cupsd did not answer within 10 s" >&2
            stop_test_cups
            return 1
        fi
        echo "cups.sh: started cupsd (pid $LABLIST_CUPSD_PID)"
    fi
    ensure_test_queue
}

# Creates or refreshes the cups-pdf queue and makes it the default. Running it
# again changes nothing else; other queues are left as they are. The pdftocairo
# renderer keeps the text of the PDF readable by pdftotext.
ensure_test_queue() {
    as_root lpadmin -p "$LABLIST_TEST_QUEUE" -v cups-pdf:/ -E \
        -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd -o pdftops-renderer-default=pdftocairo || return 1
    as_root lpadmin -d "$LABLIST_TEST_QUEUE" || return 1
    lpstat -d | grep -q ": $LABLIST_TEST_QUEUE\$"
}

# Stops the cupsd that start_test_cups started, by its PID; a server that was
# already running is left alone.
stop_test_cups() {
    [ -n "$LABLIST_CUPSD_PID" ] || return 0
    # as_root runs cupsd directly when we are root; through sudo the PID is
    # sudo's, which passes the signal on to cupsd.
    as_root kill "$LABLIST_CUPSD_PID" 2>/dev/null || true
    wait "$LABLIST_CUPSD_PID" 2>/dev/null || true
    echo "cups.sh: stopped cupsd (pid $LABLIST_CUPSD_PID)"
    LABLIST_CUPSD_PID=
}
