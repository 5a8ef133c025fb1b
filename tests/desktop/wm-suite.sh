#!/usr/bin/env bash
# How the windows behave under a real window manager: focus at start-up, dialogs stacked above
# the window they were opened from (also an always-on-top one), the start dialog's title bar,
# and the disabled main window refusing to close. Qt's offscreen platform, which every other
# GUI test uses, has no window manager and cannot show any of this.
#
# usage: wm-suite.sh QLOOM QLOOM_CLI
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
WM_PROGRAM=$(realpath "$1")
CLI=$(realpath "$2")
WM_WORK=$(mktemp -d "${TMPDIR:-/tmp}/qloom-wm.XXXX")
source "$here/wm-lib.sh"

START='^qLoom$'
MAIN='^qLoom 1\.02$'
PREVIEW='^Preview - qLoom'
CHOOSER_NEW='^Select Destination Folder$'
SETTINGS='^Active Project Settings$'
FINALIZED='^Finalized!$'

# The menu bar's shortcuts (the window's layout follows the desktop's font, so places of
# buttons are not fixed): "Finalize", "Keep on Top", "Project Settings..." and "New or Open...".
FINALIZE_KEY=ctrl+e
ON_TOP_KEY=ctrl+shift+t
SETTINGS_KEY=ctrl+comma
PROJECTS_KEY=ctrl+o

# The program is up once the start dialog and the preview are mapped and the window manager
# has had time to settle focus and stacking.
wait_started() {
    START_ID=$(wait_window "$START" 60) || { fail "no start dialog"; return 1; }
    wait_window "$PREVIEW" 30 >/dev/null || { fail "no preview window"; return 1; }
    settle 2
}

# A project on disk recorded as the last edited one, so the start dialog offers it.
seed_last_project() {
    PROJECT=$HOME/Documents/Shop
    "$CLI" new "$PROJECT" >/dev/null || return 1
    "$CLI" add "$PROJECT" 2 >/dev/null || return 1
    mkdir -p "$XDG_CONFIG_HOME/Norvex"
    printf '[General]\nLastEdited=%s\n' "$PROJECT" >"$XDG_CONFIG_HOME/Norvex/qLoom.conf"
}

# Opens the seeded project through "Open Last Edited Project", by keyboard.
open_last_project() {
    activate "$START_ID"
    xdotool key Tab Tab space
    MAIN_ID=$(wait_window "$MAIN" 30) || { fail "main window not shown"; return 1; }
    wait_gone "$START" 30 || { fail "start dialog still up after opening the project"; return 1; }
    settle 1
}

case_focus_at_startup() {
    app_start
    wait_started || return 1
    screenshot startup
    expect_active "$START_ID" "the start dialog is not the active window at start-up"
    # A user presses Enter straight away: "New Menu Project" must answer.
    xdotool key Return
    wait_window "$CHOOSER_NEW" 10 >/dev/null ||
        fail "Enter at start-up did not reach the start dialog's first button"
}

case_chooser_above_start_dialog() {
    app_start
    wait_started || return 1
    activate "$START_ID"
    xdotool key Return
    local chooser
    chooser=$(wait_window "$CHOOSER_NEW" 10) || { fail "\"New Menu Project\" opened no chooser"; return 1; }
    settle 1
    screenshot chooser
    expect_above "$chooser" "$START_ID" "the folder chooser opened below the start dialog"
    expect_active "$chooser" "the folder chooser is not the active window"
}

# Opens a dialog from the main window by its shortcut and checks it lands above the main window.
check_dialog_above_main() { # keys caption-regex what
    local dialog
    activate "$MAIN_ID"
    xdotool key "$1"
    dialog=$(wait_window "$2" 20) || { fail "$3 did not open"; return 1; }
    settle 1
    screenshot "$(tr -c 'a-zA-Z0-9' _ <<<"$3")"
    expect_above "$dialog" "$MAIN_ID" "$3 opened below the main window"
    # Leave it as a user would; a dialog hidden behind the main window is reached through the
    # window manager.
    activate "$dialog"
    xdotool key Escape
    wait_gone "$2" 10 || fail "$3 did not close on Escape"
    settle 0.5
}

# Ticks "on Top" in the main window and checks the window manager keeps it above others.
tick_on_top() {
    activate "$MAIN_ID"
    xdotool key "$ON_TOP_KEY"
    settle 1
    # Changing the stay-on-top flag may give the main window a new X window.
    MAIN_ID=$(wait_window "$MAIN" 10) || { fail "main window gone after ticking \"on Top\""; return 1; }
    net_wm_state "$MAIN_ID" | grep -q _NET_WM_STATE_ABOVE ||
        { fail "ticking \"on Top\" did not keep the main window above others"; return 1; }
}

case_dialogs_above_main_window() {
    seed_last_project || { fail "could not seed a project with qloom-cli"; return 1; }
    app_start
    wait_started || return 1
    open_last_project || return 1

    check_dialog_above_main "$SETTINGS_KEY" "$SETTINGS" '"Active Project Settings"'
    check_dialog_above_main "$FINALIZE_KEY" "$FINALIZED" '"Finalized!"'

    tick_on_top || return 1

    check_dialog_above_main "$SETTINGS_KEY" "$SETTINGS" '"Active Project Settings" with "on Top"'
    check_dialog_above_main "$FINALIZE_KEY" "$FINALIZED" '"Finalized!" with "on Top"'
}

# `qloom FOLDER` skips the start dialog; "Projects..." brings it back in front, with the focus,
# also over a main window kept on top.
case_folder_argument_and_projects_button() {
    seed_last_project || { fail "could not seed a project with qloom-cli"; return 1; }
    app_start "$PROJECT"
    MAIN_ID=$(wait_window "$MAIN" 60) || { fail "qloom FOLDER showed no main window"; return 1; }
    wait_window "$PREVIEW" 30 >/dev/null || { fail "no preview window"; return 1; }
    settle 2
    [ -z "$(find_window "$START")" ] || fail "qloom FOLDER showed the start dialog"

    tick_on_top || return 1
    activate "$MAIN_ID"
    xdotool key "$PROJECTS_KEY"
    local start
    start=$(wait_window "$START" 10) || { fail "\"Projects...\" did not bring the start dialog back"; return 1; }
    settle 1
    screenshot projects
    expect_above "$start" "$MAIN_ID" "the start dialog came back below the main window kept on top"
    expect_active "$start" "the start dialog came back without the focus"
}

# Motif decoration bits: all, border, resize handles, title, window menu, minimise, maximise.
MWM_HINTS_DECORATIONS=2
MWM_DECOR_ALL=1 MWM_DECOR_MENU=16 MWM_DECOR_MINIMIZE=32 MWM_DECOR_MAXIMIZE=64

case_start_dialog_has_no_buttons() {
    app_start
    wait_started || return 1
    local hints flags decorations
    hints=($(motif_hints "$START_ID"))
    flags=${hints[0]:-0} decorations=${hints[2]:-0}
    if [ $((flags & MWM_HINTS_DECORATIONS)) -eq 0 ]; then
        fail "the start dialog hints no decorations (_MOTIF_WM_HINTS: ${hints[*]:-none}), so the" \
            "window manager gives it minimise, maximise and close buttons"
    elif [ $((decorations & (MWM_DECOR_ALL | MWM_DECOR_MENU | MWM_DECOR_MINIMIZE | MWM_DECOR_MAXIMIZE))) -ne 0 ]; then
        fail "the start dialog asks for title-bar buttons (_MOTIF_WM_HINTS: ${hints[*]})"
    fi
    echo "  start dialog: _MOTIF_WM_HINTS ${hints[*]:-none};" \
        "allowed actions $(net_allowed_actions "$START_ID")"
}

# Checks that the program, its main window and the start dialog are all still there.
expect_still_choosing() { # how
    app_running || { fail "$1 ended the program"; return 1; }
    [ -n "$(find_window "$MAIN")" ] || fail "$1 hid the main window"
    [ -n "$(find_window "$START")" ] || fail "$1 took the start dialog away"
}

case_disabled_main_window_ignores_close() {
    app_start
    wait_started || return 1
    local main
    main=$(find_window "$MAIN") || true
    [ -n "$main" ] || { fail "main window not shown at start-up"; return 1; }
    close_request "$main"
    settle 2
    expect_still_choosing "a close request to the disabled main window" || return 1
    # Alt+F4 reaches the window through the window manager only while it is the active one.
    activate "$main"
    if [ "$(active_window)" = "$main" ]; then
        xdotool key alt+F4
        settle 2
        expect_still_choosing "Alt+F4 on the disabled main window"
    fi
}

# The focus stays where the user works: opening a project, Add Menu, Update Preview and the
# settings' OK refresh the preview, which must come up without taking the keyboard from the main
# window.
case_focus_stays_in_main_window() {
    seed_last_project || { fail "could not seed a project with qloom-cli"; return 1; }
    app_start
    wait_started || return 1
    open_last_project || return 1
    # Leaving the start dialog with a project puts the keyboard in the main window, where the
    # next step (Add Menu) is, not in the preview that came up beside it.
    expect_active "$MAIN_ID" "opening a project left the focus outside the main window"
    activate "$MAIN_ID"
    settle 1
    expect_active "$MAIN_ID" "the main window could not be activated" || return 1
    local preview
    preview=$(find_window "$PREVIEW")

    xdotool key Insert
    settle 2
    expect_active "$MAIN_ID" "Add Menu (Insert) took the focus from the main window"
    [ -n "$(find_window "$PREVIEW")" ] || fail "the preview is not shown after Add Menu"

    xdotool key F5
    settle 2
    expect_active "$MAIN_ID" "Update Preview (F5) took the focus from the main window"
    [ -n "$preview" ] && expect_above "$preview" "$MAIN_ID" "Update Preview did not raise the preview"

    activate "$MAIN_ID"
    xdotool key "$SETTINGS_KEY"
    local settings
    settings=$(wait_window "$SETTINGS" 20) || { fail "the settings did not open"; return 1; }
    settle 1
    activate "$settings"
    xdotool key Return
    wait_gone "$SETTINGS" 10 || { fail "the settings did not close on Enter (OK)"; return 1; }
    settle 2
    expect_active "$MAIN_ID" "the settings' OK left the focus somewhere other than the main window"
}

# On first start the preview stands beside the main window, not over it.
case_preview_beside_main_window() {
    app_start
    wait_started || return 1
    local main preview
    main=$(find_window "$MAIN") && [ -n "$main" ] || { fail "no main window"; return 1; }
    preview=$(find_window "$PREVIEW")
    local gm gp
    gm=$(geometry "$main") gp=$(geometry "$preview")
    screenshot first_start
    echo "  main window at $gm, preview at $gp"
    if overlap "$gm" "$gp"; then
        fail "the preview ($gp) covers the main window ($gm) on first start"
    fi
}

# Places and sizes come back after a restart, and the main window can be resized.
case_geometry_restored_after_restart() {
    seed_last_project || { fail "could not seed a project with qloom-cli"; return 1; }
    app_start
    wait_started || return 1
    open_last_project || return 1
    local preview before after
    preview=$(find_window "$PREVIEW")
    before=$(geometry "$MAIN_ID")
    xdotool windowsize "$MAIN_ID" 700 640
    xdotool windowmove "$MAIN_ID" 40 60
    xdotool windowsize "$preview" 500 400
    xdotool windowmove "$preview" 800 120
    settle 2
    local main_set preview_set
    main_set=$(geometry "$MAIN_ID") preview_set=$(geometry "$preview")
    [ "$main_set" != "$before" ] || fail "the main window cannot be resized or moved ($before)"
    read -r _ _ w h <<<"$main_set"
    [ "$w" -ge 650 ] && [ "$h" -ge 600 ] || fail "the main window refused a larger size ($main_set)"
    screenshot resized

    activate "$MAIN_ID"
    xdotool key alt+F4
    for _ in $(seq 50); do app_running || break; sleep 0.2; done
    app_running && { fail "the program did not end after closing the main window"; return 1; }

    app_start
    wait_started || return 1
    open_last_project || return 1
    preview=$(find_window "$PREVIEW")
    local main_again preview_again
    main_again=$(geometry "$MAIN_ID") preview_again=$(geometry "$preview")
    echo "  main $main_set -> $main_again, preview $preview_set -> $preview_again"
    [ "$main_again" = "$main_set" ] || fail "main window came back at $main_again, not $main_set"
    [ "$preview_again" = "$preview_set" ] || fail "preview came back at $preview_again, not $preview_set"
}

run_case focus_at_startup case_focus_at_startup
run_case chooser_above_start_dialog case_chooser_above_start_dialog
run_case dialogs_above_main_window case_dialogs_above_main_window
run_case start_dialog_has_no_buttons case_start_dialog_has_no_buttons
run_case disabled_main_window_ignores_close case_disabled_main_window_ignores_close
run_case folder_argument_and_projects_button case_folder_argument_and_projects_button
run_case focus_stays_in_main_window case_focus_stays_in_main_window
run_case preview_beside_main_window case_preview_beside_main_window
run_case geometry_restored_after_restart case_geometry_restored_after_restart

if [ ${#SUITE_FAILED[@]} -gt 0 ]; then
    echo "failed: ${SUITE_FAILED[*]}"
    exit 1
fi
rm -rf "$WM_WORK"
echo "all window-manager cases passed"
