#!/usr/bin/env bash
# Builds the .deb with CPack, checks its control fields, extracts it with
# dpkg-deb and runs the extracted programs against the extracted
# dictionaries, as an installed package would run.
#
# Usage: deb_test.sh BUILD_DIR VERSION EXPECTED_VERSION_TEXT
set -euo pipefail
build=$(cd "$1" && pwd)
version=$2
expected_version=$3
source "$(dirname "$0")/test_lib.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/vocor-deb-XXXXXX")
trap 'rm -rf "$work"' EXIT
(cd "$work" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" \
  >"$work/cpack.log" 2>&1) || fail "cpack failed: $(cat "$work/cpack.log")"
deb=$(compgen -G "$work/out/vocor_${version}_*.deb" | head -1) ||
  fail "no vocor_${version}_*.deb: $(ls "$work/out")"

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == vocor ]] || fail "package name $(field Package)"
[[ $(field Version) == "$version" ]] || fail "version $(field Version)"
depends=$(field Depends)
# Worked out from the binaries, plus the plugins they load at run time.
for needed in libc6 libqt6widgets6 libsqlite3-0 libicu72 qt6-qpa-plugins \
  libqt6svg6; do
  grep -q "\b$needed\b" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
recommends=$(field Recommends)
for wanted in dict-gcide dict-wn dict-freedict-fra-eng dict-freedict-dan-eng; do
  grep -q "\b$wanted\b" <<<"$recommends" || fail "Recommends lacks $wanted: $recommends"
done
description=$(field Description)
[[ $(head -1 <<<"$description") == "word-puzzle solver" ]] ||
  fail "the description's summary is '$(head -1 <<<"$description")'"
grep -q "crossword" <<<"$description" || fail "no long description"

dpkg-deb -x "$deb" "$work/root"
prefix=$work/root/usr
[[ -x $prefix/bin/vocor && -x $prefix/bin/vocor-cli && -x $prefix/bin/vocor-mkdic ]] ||
  fail "the programs are not in usr/bin"
[[ -s $prefix/share/applications/org.vocor.Vocor.desktop ]] ||
  fail "no desktop entry in the package"
check_versions "$prefix" "$expected_version"
check_man_pages "$prefix" /usr/share/vocor
check_shipped_search "$prefix" "$work"
check_window_starts "$prefix" "$work"
echo "PASS: $(basename "$deb") extracted; its programs search and show the window"
