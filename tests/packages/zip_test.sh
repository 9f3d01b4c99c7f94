#!/usr/bin/env bash
# zip_test.sh <windows.zip> <Tavrel_Oskund.exe> <Tavrel_Oskund.map>
#
# The zip that Windows users unpack: one folder with the very program that
# was built, a read-me that Notepad on Windows XP shows in Bulgarian and
# English, and the notices of every run-time part the linker's map says the
# program contains.
set -euo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
zip=$1
exe=$2
map=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

[ "$(unzip -Z1 "$zip" | tr '\n' ' ')" = \
  'Tavrel_Oskund/ Tavrel_Oskund/Tavrel_Oskund.exe Tavrel_Oskund/README.txt Tavrel_Oskund/NOTICES.txt ' ] ||
  fail "the zip holds: $(unzip -Z1 "$zip" | tr '\n' ' ')"
unzip -q "$zip" -d "$work"
folder=$work/Tavrel_Oskund
cmp "$folder/Tavrel_Oskund.exe" "$exe" || fail "the zipped program is not the built one"

# Text for Notepad: CRLF lines, and UTF-8 announced by its byte order mark.
[ "$(head -c 3 "$folder/README.txt" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "README.txt has no UTF-8 byte order mark"
for text in README.txt NOTICES.txt; do
  ! grep -q $'[^\r]$' "$folder/$text" || fail "$text has lines without CRLF"
done
# What it is, how to start it, which Windows, in both languages.
while IFS= read -r want; do
  grep -qF "$want" "$folder/README.txt" || fail "README.txt does not say '$want'"
done <<'EOF'
Математика - правило за умножение
щракнете два пъти върху Tavrel_Oskund.exe
Windows XP (Service Pack 3) и всички по-нови версии на Windows
32- и 64-битови
double-click Tavrel_Oskund.exe
Windows XP (Service Pack 3) and every later Windows, 32-bit and
64-bit
NOTICES.txt
EOF

# Every library and object file of the system that the linker put into the
# program is named in the notices, with its licence.
parts=$(grep -oE '^LOAD /usr/[^ ]*\.o$|^/usr/[^ (]*\.a\(' "$map" | sed 's/^LOAD //; s/($//' | xargs -n1 basename |
  LC_ALL=C sort -u)
[ -n "$parts" ] || fail "the map names no run-time part"
for part in $parts; do
  grep -qF "$part" "$folder/NOTICES.txt" || fail "NOTICES.txt does not name $part, which the program contains"
done
for licence in 'Zope Public License (ZPL) Version 2.1' 'GCC RUNTIME LIBRARY EXCEPTION'; do
  grep -qF "$licence" "$folder/NOTICES.txt" || fail "NOTICES.txt lacks the $licence"
done
echo "zip: $(stat -c %s "$zip") bytes; notices for $(tr '\n' ' ' <<<"$parts")"
