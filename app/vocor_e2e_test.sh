#!/usr/bin/env bash
# End to end: starts the real window program on a private X server, types a
# clue as a person would, presses F3, moves to the results with F6, copies
# them with Ctrl+C and compares the clipboard with vocor-cli's answer to the
# same query over the same installed dictionary. Then installs a word list
# of its own in Configure Dictionaries, activates it, and searches it.
#
# Usage: vocor_e2e_test.sh VOCOR VOCOR_CLI
# Exit 77 (skipped) only when the X tools are missing.
set -euo pipefail
vocor=$1
cli=$2
clue=${VOCOR_E2E_CLUE:-c?t}

for tool in Xvfb xdotool xclip; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (scripts/setup installs it)"
    exit 77
  fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/vocor-e2e-XXXXXX")
export HOME=$work XDG_CONFIG_HOME=$work/.config XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

xvfb_pid=
vocor_pid=
cleanup() {
  if [[ -n $vocor_pid ]]; then kill "$vocor_pid" 2>/dev/null || true; fi
  if [[ -n $xvfb_pid ]]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# A display number nobody uses; Xvfb itself refuses one taken meanwhile.
start_xvfb() {
  local n
  for n in $(seq 90 190); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
      if [[ -e /tmp/.X11-unix/X$n ]]; then
        export DISPLAY=:$n
        return 0
      fi
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.05
    done
    kill "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
  done
  fail "no X server could be started"
}

# Gives the focus to the visible window named by the pattern. Ids are
# looked up afresh each time: a toolkit may replace a window's X window
# (a slow, sanitized build shows it), and focusing a gone id is an X error.
focus_window() {
  local w
  for _ in $(seq 25); do
    for w in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
      timeout 3 xdotool windowfocus --sync "$w" 2>/dev/null && return 0
    done
    sleep 0.2
  done
  fail "no visible window named $1 took the focus"
}

# Ctrl+C with the results list focused until the clipboard holds the
# expected text, $work/cli.txt unless named (the search may still be
# running at the first try).
copy_results() {
  local expected=${1:-$work/cli.txt}
  for _ in $(seq 50); do
    xdotool key --clearmodifiers ctrl+c
    sleep 0.1
    xclip -selection clipboard -o 2>/dev/null | LC_ALL=C sort >"$work/window.txt" || true
    cmp -s "$work/window.txt" "$expected" && return 0
    sleep 0.1
  done
  return 1
}

data=$(dirname "$vocor")/Data
dictionary=$(ls "$data"/*.dic | head -1)
[[ -n $dictionary ]] || fail "no dictionary in $data"
# Installed beforehand, so that the window starts without its first-run
# question and both programs search the same list.
"$cli" dictionaries install "$dictionary" >/dev/null
"$cli" crossword "$clue" | LC_ALL=C sort >"$work/cli.txt"
[[ -s $work/cli.txt ]] || fail "vocor-cli found nothing for $clue"

start_xvfb
"$vocor" >"$work/vocor.log" 2>&1 &
vocor_pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Vocor$' | head -1)
[[ -n $window ]] || fail "the window did not appear"
focus_window '^Vocor$'
sleep 0.2
xdotool type --delay 20 "$clue"
xdotool key F3
sleep 0.3
xdotool key F6
if ! copy_results; then
  diff "$work/cli.txt" "$work/window.txt" | head -20 >&2 || true
  cat "$work/vocor.log" >&2
  fail "the copied results differ from vocor-cli's"
fi
echo "PASS: $(wc -l <"$work/cli.txt") words for '$clue' match vocor-cli"

# Configure Dictionaries: Insert opens the Install file dialog, whose name
# box takes the path; Activate makes the new list active and closes with OK.
printf 'zyxwvut\nzyxwvuts\nzymurgy\n' >"$work/e2e words.txt"
printf 'zyxwvut\nzyxwvuts\n' >"$work/own.txt"
xdotool key --clearmodifiers alt+d
sleep 0.3
xdotool key c
dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^Configure Dictionaries$' | head -1)
[[ -n $dialog ]] || fail "Configure Dictionaries did not open"
sleep 0.3
xdotool key Insert
chooser=$(timeout 10 xdotool search --sync --onlyvisible --name '^Install Dictionary$' | head -1)
[[ -n $chooser ]] || fail "the Install file dialog did not open"
sleep 0.3
xdotool type --delay 10 "$work/e2e words.txt"
# The name box's completer may take the first Return to close its list.
for _ in $(seq 5); do
  xdotool key Return
  sleep 0.4
  xdotool search --onlyvisible --name '^Install Dictionary$' >/dev/null || break
done
xdotool search --onlyvisible --name '^Install Dictionary$' >/dev/null &&
  fail "the Install file dialog did not take the typed path"
# Without a window manager the closed file dialog hands the focus to
# nobody: give it back to Configure Dictionaries.
focus_window '^Configure Dictionaries$'
sleep 0.2
xdotool key --clearmodifiers alt+a
for _ in $(seq 50); do
  xdotool search --onlyvisible --name '^Configure Dictionaries$' >/dev/null || break
  sleep 0.1
done
if xdotool search --onlyvisible --name '^Configure Dictionaries$' >/dev/null; then
  for w in $(xdotool search --onlyvisible --name '.'); do xdotool getwindowname "$w"; done >&2
  fail "Configure Dictionaries did not close"
fi
# The store holds the list, active: vocor-cli searches it too.
"$cli" crossword 'zyx*' | LC_ALL=C sort | cmp -s - "$work/own.txt" ||
  fail "the installed list was not stored as the active dictionary"
# Back to the clue box (the focus was in the results), replace the clue,
# search the new list.
focus_window '^Vocor$'
sleep 0.2
xdotool key F6
sleep 0.2
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 20 'zyx*'
xdotool key F3
sleep 0.3
xdotool key F6
if ! copy_results "$work/own.txt"; then
  diff "$work/own.txt" "$work/window.txt" | head -20 >&2 || true
  cat "$work/vocor.log" >&2
  fail "the installed list's results differ"
fi
echo "PASS: a list installed in Configure Dictionaries is searched"
