# Shared by the installation and package tests: checks of an installed
# tree under PREFIX (bin/, share/). Sourced; expects `set -euo pipefail`.

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# new_home DIR: a fresh private home, so that no run sees the user's
# settings or one of an earlier check.
new_home() {
  export HOME=$1 XDG_CONFIG_HOME=$1/.config XDG_RUNTIME_DIR=$1/run
  mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
}

# check_versions PREFIX EXPECTED: every program's --version names itself
# and the version block's version, without needing a display.
check_versions() {
  local prefix=$1 expected=$2 program first
  for program in vocor vocor-cli vocor-mkdic; do
    first=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/$program" --version |
      head -1) || fail "$program --version failed"
    [[ $first == "$program $expected" ]] ||
      fail "$program --version printed '$first', expected '$program $expected'"
  done
}

# check_man_pages PREFIX SHARE: the installed pages name SHARE (an
# absolute path) as the folder of the shipped dictionaries, and no other
# absolute folder of Vocor's (relative ones, ../share/vocor, are fine).
check_man_pages() {
  local prefix=$1 share=$2 page text
  for page in vocor vocor-cli vocor-mkdic; do
    text=$(zcat -f "$prefix/share/man/man1/$page.1"*) ||
      fail "$page.1 is not installed"
    grep -qF "$share/Data/" <<<"$text" ||
      fail "$page.1 does not name $share/Data/"
    if grep -E '[^.]/share/vocor/' <<<"${text//"$share/"/}"; then
      fail "$page.1 names another folder than $share"
    fi
  done
}

# check_shipped_search PREFIX: with nothing installed, vocor-cli searches
# the shipped dictionaries it finds relative to itself.
check_shipped_search() {
  local prefix=$1 out=$2
  new_home "$out/home-search"
  "$prefix/bin/vocor-cli" crossword 'c?t' >"$out/found.txt" 2>"$out/said.txt" ||
    fail "vocor-cli crossword failed: $(cat "$out/said.txt")"
  grep -qx cat "$out/found.txt" || fail "vocor-cli did not find 'cat'"
  grep -qF "$prefix/share/vocor/Data" "$out/said.txt" ||
    fail "vocor-cli did not search $prefix/share/vocor/Data: $(cat "$out/said.txt")"
}

# check_window_starts PREFIX OUT: the window program starts on the
# offscreen platform with the shipped dictionaries installed and keeps
# running; on an X server (Xvfb, when present) its window is seen mapped.
check_window_starts() {
  local prefix=$1 out=$2 pid
  new_home "$out/home-window"
  "$prefix/bin/vocor-cli" dictionaries install "$prefix"/share/vocor/Data/*.dic \
    >/dev/null || fail "the shipped dictionaries could not be installed"
  QT_QPA_PLATFORM=offscreen "$prefix/bin/vocor" >"$out/window.log" 2>&1 &
  pid=$!
  sleep 3
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid" || true
    fail "vocor ended at start: $(cat "$out/window.log")"
  fi
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  if grep -qi "could not\|cannot\|failed" "$out/window.log"; then
    fail "vocor complained at start: $(cat "$out/window.log")"
  fi
  if command -v Xvfb >/dev/null && command -v xdotool >/dev/null; then
    check_window_mapped "$prefix" "$out"
  fi
}

check_window_mapped() {
  local prefix=$1 out=$2 n xvfb= vocor= window=
  for n in $(seq 90 190); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do
      [[ -e /tmp/.X11-unix/X$n ]] && break
      sleep 0.05
    done
    [[ -e /tmp/.X11-unix/X$n ]] && break
    kill "$xvfb" 2>/dev/null || true
    xvfb=
  done
  [[ -n $xvfb ]] || fail "no X server could be started"
  DISPLAY=:$n QT_QPA_PLATFORM=xcb "$prefix/bin/vocor" >>"$out/window.log" 2>&1 &
  vocor=$!
  window=$(DISPLAY=:$n timeout 30 xdotool search --sync --onlyvisible \
    --name '^Vocor$' 2>/dev/null | head -1) || true
  kill "$vocor" "$xvfb" 2>/dev/null || true
  wait "$vocor" "$xvfb" 2>/dev/null || true
  [[ -n $window ]] || fail "the window was not shown: $(cat "$out/window.log")"
}
