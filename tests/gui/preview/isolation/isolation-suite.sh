#!/bin/bash
# The preview as a sandbox on every channel, proven on the real program: qloom runs under Xvfb
# with the openbox window manager inside a private network namespace that holds only a
# loopback (with a stand-in "remote" address on it), a DNS responder and listeners that log
# every arrival, and strace records every connect/sendto/sendmsg of its whole process tree.
# Hostile pages (a template page, and menu HTML alone with the default page) read a file through
# a link whose name is not UTF-8 and try WebRTC over TCP, UDP, TURN, TURNS, STUN and mDNS,
# WebTransport, DNS, the clipboard, an unload question, storage shared with the next project and
# title commands after the next project is open. Templates that are a FIFO and a link to
# /dev/zero must neither hang nor swell the editor, and SIGTERM must still end it.
#
# usage: isolation-suite.sh QLOOM QLOOM_CLI     (as root; exits 77 = skipped otherwise)
set -u
QLOOM=$(readlink -f "$1")
QLOOM_CLI=$(readlink -f "$2")
HERE=$(cd "$(dirname "$0")" && pwd)

if [ -z "${QLOOM_ISOLATED:-}" ]; then
    if [ "$(id -u)" != 0 ]; then
        echo "SKIP: needs root for a private network namespace"
        exit 77
    fi
    for tool in unshare strace Xvfb openbox xdotool python3 ip; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 77; }
    done
    unshare -n -m true 2>/dev/null || { echo "SKIP: unshare -n -m is not available"; exit 77; }
    exec env QLOOM_ISOLATED=1 unshare -n -m --propagation private bash "$0" "$@"
fi

. "$HERE/../../../desktop/wm-lib.sh"
WM_WORK=$(mktemp -d /tmp/qloom-isolation.XXXXXX)
FAILS=0
fail() { echo "FAIL: $*"; FAILS=$((FAILS + 1)); }
# QLOOM_ISOLATION_CASES="pages fifo zero" (the default) picks the cases to run.
want() { case " ${QLOOM_ISOLATION_CASES:-pages fifo zero} " in *" $1 "*) return 0 ;; esac; return 1; }
pass() { echo "ok: $*"; }

# --- The private network: loopback, a stand-in remote address, everything routed onto lo.
ip link set lo up
ip addr add 198.51.100.7/32 dev lo
ip route add default dev lo 2>/dev/null || true
ip route add 224.0.0.0/4 dev lo 2>/dev/null || true
printf 'nameserver 127.0.0.1\noptions timeout:1 attempts:1\n' >"$WM_WORK/resolv.conf"
mount --bind "$WM_WORK/resolv.conf" /etc/resolv.conf
LISTEN_LOG=$WM_WORK/listeners.log
python3 "$HERE/listeners.py" "$LISTEN_LOG" 2>"$WM_WORK/listeners.err" &
LISTEN_PID=$!
for n in $(seq 50); do grep -q listening "$LISTEN_LOG" 2>/dev/null && break; sleep 0.1; done
grep -q listening "$LISTEN_LOG" || { echo "listeners did not start"; cat "$WM_WORK/listeners.err"; exit 1; }
# The listeners hear themselves: a lookup and a connection from here must be logged.
python3 - <<'PY'
import socket
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.settimeout(2)
s.sendto(b"\x12\x34\x01\x00\x00\x01\x00\x00\x00\x00\x00\x00\x05probe\x07example\x00\x00\x01\x00\x01", ("127.0.0.1", 53))
s.recvfrom(512)
c = socket.create_connection(("198.51.100.7", 3478), timeout=2); c.sendall(b"probe"); c.close()
PY
sleep 0.3
grep -q 'dns probe.example' "$LISTEN_LOG" && grep -q "tcp 3478 .*probe" "$LISTEN_LOG" ||
    { echo "the listeners do not log what reaches them"; cat "$LISTEN_LOG"; exit 1; }
: >"$LISTEN_LOG"

SECRET_DIR=$WM_WORK/outside
mkdir -p "$SECRET_DIR"
echo "TOPSECRET-4711" >"$SECRET_DIR/secret.txt"

# new_project FOLDER: a project with one menu, made with qloom-cli, and the link named 0xFF.
new_project() {
    "$QLOOM_CLI" new "$1" >/dev/null && "$QLOOM_CLI" add "$1" 1 >/dev/null || return 1
    ln -s "$SECRET_DIR" "$1/$(printf '\xff')"
}

# set_menu_html FOLDER HTML: the first menu's body HTML.
set_menu_html() {
    "$QLOOM_CLI" dump "$1" | MENU_HTML=$2 python3 -c '
import json, os, sys
project = json.load(sys.stdin)
menu = project["menus"][0]
key = "MTM" if "MTM" in menu else "bodyHtml"
menu[key] = os.environ["MENU_HTML"]
json.dump(project, sys.stdout)' | "$QLOOM_CLI" write "$1" >/dev/null
}

# menu_top FOLDER: the first menu's top as saved.
menu_top() {
    "$QLOOM_CLI" dump "$1" | python3 -c '
import json, sys
menu = json.load(sys.stdin)["menus"][0]
print(menu.get("MY", menu.get("top")))'
}

# run_traced ENV...: the program under strace, on the X server of the current session.
run_traced() {
    env "$@" QT_QPA_PLATFORM=${PLATFORM:-xcb} QTWEBENGINE_DISABLE_SANDBOX=1 \
        QT_LOGGING_RULES=qt.webenginecontext.info=false \
        strace -f -qq -yy --seccomp-bpf -e trace=connect,sendto,sendmsg,sendmmsg \
        -o "$CASE_DIR/strace.log" "$QLOOM" >"$CASE_DIR/app.log" 2>&1 &
    STRACE_PID=$!
    APP_PID=
    for n in $(seq 100); do
        APP_PID=$(pgrep -P "$STRACE_PID" | head -n1)
        [ -n "$APP_PID" ] && break
        sleep 0.1
    done
}

wait_for_line() { # TEXT SECONDS
    local n
    for n in $(seq $(($2 * 10))); do
        grep -q "$1" "$CASE_DIR/app.log" && return 0
        sleep 0.1
    done
    return 1
}

# end_app: SIGTERM, as a session's end sends it; the editor must be gone within 15 s.
end_app() {
    local n
    [ -n "$APP_PID" ] && kill -TERM "$APP_PID" 2>/dev/null
    for n in $(seq 150); do
        kill -0 "$STRACE_PID" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$STRACE_PID" 2>/dev/null; then
        fail "$CASE_NAME: SIGTERM did not end the editor"
        kill -KILL "$APP_PID" 2>/dev/null
        sleep 1
        kill -KILL "$STRACE_PID" 2>/dev/null
    else
        pass "$CASE_NAME: SIGTERM ended the editor"
    fi
    wait "$STRACE_PID" 2>/dev/null
    APP_PID=
}

check_network() {
    if grep -v '^listening' "$LISTEN_LOG" | grep -q .; then
        fail "$CASE_NAME: something reached the listeners:"
        grep -v "^listening" "$LISTEN_LOG" | head -n 15 | cut -c1-200
    else
        pass "$CASE_NAME: nothing reached a listener or a name server"
    fi
    if python3 "$HERE/check-trace.py" "$CASE_DIR/strace.log" >"$CASE_DIR/trace-check.txt"; then
        pass "$CASE_NAME: no call sent anything off the machine ($(grep -c . "$CASE_DIR/strace.log") calls traced)"
    else
        fail "$CASE_NAME: the trace shows traffic leaving:"
        head -n 15 "$CASE_DIR/trace-check.txt"
    fi
    if grep -qa 'TOPSECRET\|544f50534543524554' "$LISTEN_LOG" "$CASE_DIR/strace.log"; then
        fail "$CASE_NAME: the secret went out"
    fi
    : >"$LISTEN_LOG"
}

# tree_rss PID: resident KiB of the process and all its descendants.
tree_rss() {
    local total=0 pid kids rss
    local queue=$1
    while [ -n "$queue" ]; do
        set -- $queue
        pid=$1; shift; queue="$*"
        rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status" 2>/dev/null)
        total=$((total + ${rss:-0}))
        kids=$(pgrep -P "$pid" | tr '\n' ' ')
        queue="$queue $kids"
        queue=$(echo $queue)
    done
    echo "$total"
}

clipboard_text() {
    python3 -c '
try:
    import tkinter
    root = tkinter.Tk(); root.withdraw()
except Exception:
    print("NO-TK")
    raise SystemExit
try:
    print(root.clipboard_get())
except tkinter.TclError:
    print("")' 2>/dev/null
}

# --- Case 1: menu HTML alone (default template page), then a hostile template page as the
# next project.
if want pages; then
session_start pages
MENU_ONLY=$CASE_DIR/menu-only
TEMPLATE=$CASE_DIR/template
new_project "$MENU_ONLY" && new_project "$TEMPLATE" || { echo "qloom-cli failed"; exit 1; }
cp "$HERE/attack.js" "$MENU_ONLY/attack.js"
cp "$HERE/attack.js" "$TEMPLATE/attack.js"
set_menu_html "$MENU_ONLY" '<img src="none.png" onerror="var s=document.createElement('"'"'script'"'"');s.src='"'"'attack.js'"'"';document.body.appendChild(s)">'
cat >"$TEMPLATE/Temp.html" <<'HTML'
<HTML><HEAD><TITLE>hostile template</TITLE>
<SCRIPT LANGUAGE="JavaScript" SRC="Qloomscript.js"></SCRIPT>
</HEAD><BODY leftmargin=0 topmargin=0>
<SCRIPT LANGUAGE="JavaScript">makeQloom()</SCRIPT>
<SCRIPT>
var shared = null;
try { shared = localStorage.getItem('qloom-shared'); } catch (e) {}
document.title = '!qLoomIDE:ERROR storage=' + shared;
</SCRIPT>
<SCRIPT SRC="attack.js"></SCRIPT>
</BODY></HTML>
HTML
run_traced QLOOM_TEST_OPEN="$MENU_ONLY" QLOOM_TEST_THEN_OPEN="$TEMPLATE" QLOOM_TEST_THEN_AFTER_MS=9000
if wait_for_line 'qloom-test: ready' 60; then
    pass "pages: the first project is open"
    sleep 4
    preview=$(wait_window '^Preview - qLoom' 10)
    if [ -n "$preview" ]; then
        xdotool windowactivate --sync "$preview" >/dev/null 2>&1
        sleep 0.5
        xdotool mousemove --window "$preview" 120 120 click 1
        sleep 1
        clip=$(clipboard_text)
        if [ "$clip" = NO-TK ]; then
            fail "pages: the clipboard cannot be read here (python3-tk missing or no display)"
        elif echo "$clip" | grep -q QLOOMCLIP; then
            fail "pages: the page wrote to the clipboard"
        else
            pass "pages: the clipboard stayed the page's own business"
        fi
    else
        fail "pages: no preview window"
    fi
    if wait_for_line 'qloom-test: next ready' 30; then
        pass "pages: the next project is open"
        sleep 6
    else
        fail "pages: the next project did not open"
    fi
else
    fail "pages: the program did not open the project"
    tail -n 20 "$CASE_DIR/app.log"
fi
end_app
session_end
check_network
top=$(menu_top "$TEMPLATE")
if [ "$top" = 777 ]; then
    fail "pages: the first project's page moved the next project's menu (top $top)"
else
    pass "pages: the next project's menu stayed where it was (top $top)"
fi
log=$(find "$HOME" -name js.log 2>/dev/null | head -n1)
if [ -z "$log" ] || ! grep -q 'storage=' "$log"; then
    fail "pages: the next project's page sent no title command (js.log: ${log:-none})"
elif grep -q 'storage=PINNED' "$log"; then
    fail "pages: the next project's page saw the first project's storage"
else
    pass "pages: the title channel works and the next page's storage is its own"
fi
fi

# --- Case 2: files that are no files: a FIFO as the template page, a link to /dev/zero as
# the script.
for kind in fifo zero; do
    want "$kind" || continue
    session_start "$kind"
    PROJECT=$CASE_DIR/project
    new_project "$PROJECT" || { echo "qloom-cli failed"; exit 1; }
    if [ "$kind" = fifo ]; then
        # The template page: the program opens the project, the page stays away from the FIFO.
        rm -f "$PROJECT/Temp.html"
        mkfifo "$PROJECT/Temp.html"
        run_traced QLOOM_TEST_OPEN="$PROJECT"
        wait_for_line 'qloom-test: ready' 60 || fail "$kind: the program did not open the project"
    else
        # The script itself is a link to a device that never ends: refused with a message.
        rm -f "$PROJECT/Qloomscript.js"
        ln -s /dev/zero "$PROJECT/Qloomscript.js"
        run_traced QLOOM_TEST_OPEN="$PROJECT"
        sleep 5
    fi
    sleep 3
    rss=$(tree_rss "$APP_PID")
    sleep 4
    grown=$(($(tree_rss "$APP_PID") - rss))
    if [ "$grown" -gt $((48 * 1024)) ]; then
        fail "$kind: the editor and its web engine grew by $((grown / 1024)) MiB in 4 s"
    else
        pass "$kind: the editor and its web engine stayed at $((rss / 1024)) MiB"
    fi
    end_app
    session_end
    check_network
done

kill "$LISTEN_PID" 2>/dev/null
wait "$LISTEN_PID" 2>/dev/null
if [ "$FAILS" -gt 0 ]; then
    echo "$FAILS check(s) failed; logs in $WM_WORK"
    exit 1
fi
[ -n "${QLOOM_ISOLATION_KEEP:-}" ] && echo "logs kept in $WM_WORK" || rm -rf "$WM_WORK"
echo "all isolation checks passed"
