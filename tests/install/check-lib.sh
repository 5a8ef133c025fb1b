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

# check_hardening FILE...: each program is built as Debian's hardening flags make it: PIE, a
# stack protector, fortified libc calls, read-only relocations bound at start (relro + bindnow).
# hardening-check (devscripts) reads the binary; a program that happens to call no fortifiable
# function is reported as unknown there, which is not a failure. Its further checks (stack
# clash, control flow) go beyond what dpkg-buildflags gives on Debian 12 and are not asked.
check_hardening() {
    local f out
    for f in "$@"; do
        out=$(hardening-check "$f" 2>&1 | grep -E 'Position Independent|Stack protected|Fortify Source|Read-only relocations|Immediate binding')
        [ "$(wc -l <<<"$out")" -eq 5 ] || fail "hardening-check gave no verdict on $(basename "$f")"
        if grep -q ': no' <<<"$out"; then
            fail "$(basename "$f") is not hardened:"
            grep ': no' <<<"$out" | sed 's/^/    /'
        fi
    done
}
