#!/usr/bin/env bash
# `cmake --install` into a temporary prefix: the usual layout, files that
# pass the desktop's validators, and programs that still find their
# dictionaries after the whole tree is moved to another prefix.
#
# Usage: install_test.sh BUILD_DIR EXPECTED_VERSION
set -euo pipefail
build=$(cd "$1" && pwd)
expected_version=$2
source "$(dirname "$0")/test_lib.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/vocor-install-XXXXXX")
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/first" >"$work/install.log" ||
  fail "cmake --install failed: $(cat "$work/install.log")"
prefix=$work/first

for file in bin/vocor bin/vocor-cli bin/vocor-mkdic \
  share/applications/org.vocor.Vocor.desktop \
  share/icons/hicolor/scalable/apps/vocor.svg \
  share/metainfo/org.vocor.Vocor.metainfo.xml \
  share/man/man1/vocor.1 share/man/man1/vocor-cli.1 \
  share/man/man1/vocor-mkdic.1 \
  share/bash-completion/completions/vocor-cli \
  share/doc/vocor/README.md share/doc/vocor/LICENSE; do
  [[ -s $prefix/$file ]] || fail "$file is not installed"
done
compgen -G "$prefix/share/vocor/Data/*.dic" >/dev/null ||
  fail "no dictionary in share/vocor/Data"
compgen -G "$prefix/share/doc/vocor/copyright.*" >/dev/null ||
  fail "no word list's copyright notice in share/doc/vocor"
# The further languages travel only when they were built, each a valid
# dictionary that says which language it holds, unless the language has
# no locale id (tools/data/hunspell_languages.txt gives it 0).
languages_list=$(dirname "$0")/../tools/data/hunspell_languages.txt
without_lcid=$(awk -F' *[|] *' '!/^#/ && $3 == "0" { print $1 }' "$languages_list")
for built in "$build"/bin/Languages/*.dic; do
  [[ -e $built ]] || continue
  installed=$prefix/share/vocor/Languages/$(basename "$built")
  [[ -s $installed ]] ||
    fail "$(basename "$built") is not installed in share/vocor/Languages"
  header=$("$prefix/bin/vocor-mkdic" --check "$installed") ||
    fail "$(basename "$built") is not a valid dictionary"
  grep -qx "$(basename "$built")" <<<"$without_lcid" && continue
  grep -q '^language: [1-9]' <<<"$header" ||
    fail "$(basename "$built") has no language: $header"
done

desktop-file-validate "$prefix/share/applications/org.vocor.Vocor.desktop" ||
  fail "desktop-file-validate refused the desktop entry"
appstreamcli validate --no-net \
  "$prefix/share/metainfo/org.vocor.Vocor.metainfo.xml" >"$work/appstream.log" ||
  fail "appstreamcli refused the metainfo: $(cat "$work/appstream.log")"

check_versions "$prefix" "$expected_version"
check_man_pages "$prefix" "$prefix/share/vocor"

# No absolute path is compiled in: the moved tree finds its own data.
mv "$prefix" "$work/moved"
check_shipped_search "$work/moved" "$work"
echo "PASS: installed, validated, and found its dictionaries after a move"
