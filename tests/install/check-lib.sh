# Shared by the install checks, which are sourced after setting work (a fresh temporary folder):
# every broken expectation is counted and reported, and the run ends with the count, keeping
# what was built for inspection when anything failed.
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# run_logged WHAT COMMAND...: runs a step the later checks need; stops the run with its log
# when it fails.
run_logged() {
    local what=$1 log=$work/${1//[^a-zA-Z0-9]/_}.log
    shift
    if ! "$@" >"$log" 2>&1; then
        cat "$log"
        echo "FAIL: $what"
        exit 1
    fi
}

# finish KEPT OK-TEXT: exits 1 naming what is kept after failures, else cleans up.
finish() {
    if [ "$failures" -gt 0 ]; then
        echo "$failures failure(s); $1"
        exit 1
    fi
    rm -rf "$work"
    echo "$2"
}
