# Helpers for driving the real program on a real X desktop: Xvfb (24-bit) with the openbox window
# manager, read through the EWMH properties the window manager publishes. Sourced by the suites.
#
# Window ids are decimal, as xdotool prints them; xprop's hexadecimal ids are converted.

WM_SCREEN=${WM_SCREEN:-1600x1000x24}
WM_LOG_LINES=${WM_LOG_LINES:-40}

# session_start NAME: a fresh X server, window manager and HOME/XDG folders for one case, so
# settings and window state never leak from one case into the next.
session_start() {
    CASE_NAME=$1
    CASE_DIR=$(mktemp -d "$WM_WORK/$CASE_NAME.XXXX")
    export HOME=$CASE_DIR/home
    export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share
    export XDG_CACHE_HOME=$HOME/.cache XDG_RUNTIME_DIR=$CASE_DIR/run
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$HOME/Documents"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    unset WAYLAND_DISPLAY SESSION_MANAGER

    # Xvfb picks a free display itself and reports it once it accepts connections.
    : >"$CASE_DIR/display"
    Xvfb -displayfd 9 -screen 0 "$WM_SCREEN" -nolisten tcp -noreset \
        9>"$CASE_DIR/display" >"$CASE_DIR/xvfb.log" 2>&1 &
    XVFB_PID=$!
    local n
    for n in $(seq 100); do
        [ -s "$CASE_DIR/display" ] && break
        sleep 0.1
    done
    [ -s "$CASE_DIR/display" ] || { echo "Xvfb did not start" >&2; return 1; }
    export DISPLAY=:$(head -n1 "$CASE_DIR/display")

    openbox --sm-disable >"$CASE_DIR/openbox.log" 2>&1 &
    WM_PID=$!
    for n in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
    xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' ||
        { echo "openbox did not start" >&2; return 1; }
    APP_PID=
}

# app_start ARGS...: the program under test, on the X server rather than Qt's offscreen
# platform that the other tests use.
app_start() {
    QT_QPA_PLATFORM=xcb QTWEBENGINE_DISABLE_SANDBOX=1 QT_LOGGING_RULES=qt.webenginecontext.info=false \
        "$WM_PROGRAM" "$@" >"$CASE_DIR/app.log" 2>&1 &
    APP_PID=$!
}

app_running() {
    [ -n "$APP_PID" ] && kill -0 "$APP_PID" 2>/dev/null
}

session_end() {
    local pid
    for pid in $APP_PID $WM_PID $XVFB_PID; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in $APP_PID $WM_PID $XVFB_PID; do
        wait "$pid" 2>/dev/null || true
    done
    APP_PID= WM_PID= XVFB_PID=
}

# find_window REGEX: id of the visible window whose caption matches, or nothing. Hidden Qt
# helper windows carry the same captions, hence --onlyvisible.
find_window() {
    xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1
}

# wait_window REGEX [SECONDS]: waits until such a window is visible and prints its id.
wait_window() {
    local regex=$1 limit=${2:-30} id n
    for n in $(seq $((limit * 5))); do
        id=$(find_window "$regex")
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.2
    done
    return 1
}

# wait_gone REGEX [SECONDS]: waits until no visible window matches.
wait_gone() {
    local regex=$1 limit=${2:-10} n
    for n in $(seq $((limit * 5))); do
        [ -z "$(find_window "$regex")" ] && return 0
        sleep 0.2
    done
    return 1
}

# Prints the ids of a root property holding a window list, in its order, one per line.
root_windows() {
    xprop -root "$1" 2>/dev/null | sed -n 's/^[^#]*# *//p' | tr ',' '\n' |
        while read -r hex; do [ -n "$hex" ] && printf '%d\n' "$hex"; done
}

# Managed windows, bottom to top.
stacking() {
    root_windows _NET_CLIENT_LIST_STACKING
}

active_window() {
    root_windows _NET_ACTIVE_WINDOW | head -n1
}

window_name() {
    xdotool getwindowname "$1" 2>/dev/null
}

# is_above A B: window A is stacked above window B.
is_above() {
    local list ia ib
    list=$(stacking)
    ia=$(grep -nx "$1" <<<"$list" | cut -d: -f1)
    ib=$(grep -nx "$2" <<<"$list" | cut -d: -f1)
    [ -n "$ia" ] && [ -n "$ib" ] && [ "$ia" -gt "$ib" ]
}

# The stacking list with captions, for failure reports.
describe_stacking() {
    local id active
    active=$(active_window)
    echo "    stacking, bottom to top:"
    for id in $(stacking); do
        printf '      %s "%s"%s\n' "$id" "$(window_name "$id")" \
            "$([ "$id" = "$active" ] && echo '  <- active')"
    done
}

# motif_hints ID: the five numbers of _MOTIF_WM_HINTS (flags functions decorations input
# status) in decimal, or nothing when the window sets none.
motif_hints() {
    xprop -id "$1" _MOTIF_WM_HINTS 2>/dev/null | sed -n 's/^.*= *//p' | tr ',' ' ' |
        { read -r -a v || true; for x in "${v[@]}"; do printf '%d ' "$x"; done; }
}

net_wm_state() {
    xprop -id "$1" _NET_WM_STATE 2>/dev/null
}

net_allowed_actions() {
    xprop -id "$1" _NET_WM_ALLOWED_ACTIONS 2>/dev/null | sed 's/^.*= *//'
}

screenshot() {
    import -window root "$CASE_DIR/$1.png" 2>/dev/null || true
}

# click ID X Y: a left click at client coordinates of the window, as a user would.
click() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
}

# activate ID: asks the window manager to activate the window and waits (a while) until it
# has; a window that refuses focus must not hang the suite.
activate() {
    timeout 5 xdotool windowactivate --sync "$1" >/dev/null 2>&1 || true
}

# close_request ID: the window manager's close request (_NET_CLOSE_WINDOW), as a task bar or
# the title bar's close button sends it.
close_request() {
    wmctrl -i -c "$(printf '0x%x' "$1")"
}

# settle: the web engine and the window manager work asynchronously; give pending map,
# stacking and focus changes time to land before reading them.
settle() {
    sleep "${1:-1}"
}

# Result bookkeeping. A case calls fail for every broken expectation; run_case reports it.
CASE_FAILURES=0
fail() {
    echo "  FAIL: $*"
    CASE_FAILURES=$((CASE_FAILURES + 1))
}

expect_above() { # upper lower what
    if ! is_above "$1" "$2"; then
        fail "$3"
        describe_stacking
    fi
}

expect_active() { # id what
    local active
    active=$(active_window)
    if [ "$active" != "$1" ]; then
        fail "$2 (active: \"$(window_name "$active")\")"
        describe_stacking
    fi
}

SUITE_FAILED=()
# run_case NAME FUNCTION: one case in its own desktop session.
run_case() {
    local name=$1 fn=$2 started=$SECONDS
    CASE_FAILURES=0
    echo "== $name"
    if session_start "$name"; then
        "$fn" || [ "$CASE_FAILURES" -gt 0 ] || fail "case stopped early"
        screenshot final
    else
        fail "no desktop session"
    fi
    if [ "$CASE_FAILURES" -gt 0 ]; then
        SUITE_FAILED+=("$name")
        echo "  program output (last $WM_LOG_LINES lines):"
        tail -n "$WM_LOG_LINES" "$CASE_DIR/app.log" 2>/dev/null | sed 's/^/    /'
        echo "  screenshots and logs kept in $CASE_DIR"
    fi
    session_end
    echo "  $([ "$CASE_FAILURES" -eq 0 ] && echo ok || echo failed) ($((SECONDS - started)) s)"
}

# geometry ID: "X Y W H" of the window's client area on the screen.
geometry() {
    xwininfo -id "$1" 2>/dev/null | awk '
        /Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
        /^ *Width:/ {w=$NF} /^ *Height:/ {h=$NF}
        END {print x, y, w, h}'
}

# overlap "X Y W H" "X Y W H": true when the two rectangles share any pixel.
overlap() {
    local a=($1) b=($2)
    [ "${a[0]}" -lt $((b[0] + b[2])) ] && [ "${b[0]}" -lt $((a[0] + a[2])) ] &&
        [ "${a[1]}" -lt $((b[1] + b[3])) ] && [ "${b[1]}" -lt $((a[1] + a[3])) ]
}
