#!/usr/bin/env bash
# Drives the completion function as bash does at a Tab press and checks
# what it offers at each place of a command line.
#
# Usage: completion_test.sh COMPLETION_SCRIPT
set -uo pipefail
source "$1"
work=$(mktemp -d "${TMPDIR:-/tmp}/vocor-completion-XXXXXX")
trap 'rm -rf "$work"' EXIT
touch "$work/words.dic" "$work/words.txt"

status=0
# complete LINE...: the words offered for the last word of LINE.
complete_line() {
  COMP_WORDS=("$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _vocor_cli
  ((${#COMPREPLY[@]})) || return 0
  printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | tr '\n' ' '
}
expect() {
  local want=$1; shift
  local got
  got=$(complete_line "$@")
  if [[ $got != "$want" ]]; then
    echo "FAIL: '$*' offered [$got], expected [$want]"
    status=1
  fi
}

expect 'anagram crossword cryptic define dictionaries equation hidden palindrome ' vocor-cli ''
expect 'spoonerism ' vocor-cli cryptic spo
expect '--database ' vocor-cli define --datab
expect '--no-system-databases ' vocor-cli define --database gcide --no
expect '--limit ' vocor-cli equation 'AB;A;B' --li
expect 'crossword ' vocor-cli cro
expect '--describe --dict --help --limit --min-score --show-scores --sort --version ' vocor-cli --
expect 'reflect-h reflect-v ' vocor-cli palindrome --transform ref
expect 'another same ' vocor-cli palindrome --result ''
expect '--result ' vocor-cli palindrome --transform rotate --res
expect '--min-length --min-score --must-use ' vocor-cli hidden triangle --m
expect '--max-words --min-score --min-word-length ' vocor-cli anagram dormitory --m
# A number is typed, not completed, and does not count as the clue.
expect '' vocor-cli anagram --max-words ''
expect '--min-word-length ' vocor-cli anagram --max-words 2 --min-w
expect '--min-score ' vocor-cli crossword --m
expect 'score ' vocor-cli crossword --sort s
expect '--with --without ' vocor-cli crossword --wi
# Letters are typed, and do not count as the clue.
expect '' vocor-cli crossword --without ''
expect '--with --without ' vocor-cli crossword --without e --wi
expect 'activate install list uninstall ' vocor-cli dictionaries ''
expect '' vocor-cli dictionaries list ''
expect "$work/words.dic $work/words.txt " vocor-cli --dict "$work/words"
expect "$work/words.dic " vocor-cli dictionaries install "$work/words.d"
# A value of --dict is not mistaken for the subcommand.
expect 'anagram ' vocor-cli --dict crossword an
exit $status
