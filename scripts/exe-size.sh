#!/usr/bin/env bash
# exe-size.sh [build/windows]
#
# Prints how big the Windows program is and what takes the room: the window
# description it carries, everything else beside it, the share of each part
# of the file (its sections) and, from the linker's map, of each library.
# Run it after `cmake --build --preset windows`; it changes nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/windows}
exe=$build/Tavrel_Oskund.exe
map=$build/Tavrel_Oskund.map
objdump=i686-w64-mingw32-objdump
[ -f "$exe" ] || { echo "no $exe: build the windows preset first" >&2; exit 1; }
[ -f "$map" ] || { echo "no linker map $map: build the windows preset first" >&2; exit 1; }

# mawk has no strtonum.
hex='function hex(s,   i, n) {
  s = tolower(s); sub(/^0x/, "", s); n = 0
  for (i = 1; i <= length(s); i++) n = n * 16 + index("0123456789abcdef", substr(s, i, 1)) - 1
  return n
}'

total=$(stat -c %s "$exe")
# The description is the array the pack tool writes, in a section of its own;
# the map gives its size, on the section's line or on the next.
description=$(awk "$hex"'
  $1 == ".rdata$tavrel_form_stream" { if (NF >= 3) { print hex($3); exit } pending = 1; next }
  pending { print hex($2); exit }' "$map")
[ -n "$description" ] || { echo "$map places no window description" >&2; exit 1; }
rest=$((total - description))

row() { # label bytes
  awk -v label="$1" -v bytes="$2" -v total="$total" \
    'BEGIN { printf "  %-46s %9d %6.1f%%\n", label, bytes, 100 * bytes / total }'
}

echo "$exe: $total bytes (goal: at most 900000)"
row "window description" "$description"
row "everything else (goal: under 150 KB = 153600)" "$rest"

echo "Sections of the file:"
"$objdump" -h -w "$exe" | awk -v description="$description" "$hex"'
  $1 ~ /^[0-9]+$/ && / CONTENTS/ {
    name = $2; size = hex($3)
    if (name == ".rdata") { name = ".rdata without the description"; size -= description }
    printf "%s\t%d\n", name, size
    sum += size
  }
  END { printf "SUM\t%d\n", sum }' >"${TMPDIR:-/tmp}/exe-size.$$"
in_sections=0
while IFS=$'\t' read -r name size; do
  if [ "$name" = SUM ]; then in_sections=$size; continue; fi
  case $name in
  .text) what="code" ;;
  .rdata*) what="constants" ;;
  .data) what="initialised data" ;;
  .eh_fram*) what="unwind tables (exceptions)" ;;
  .idata) what="imports" ;;
  .rsrc) what="resources (version, icon)" ;;
  .reloc) what="base relocations (ASLR)" ;;
  *) what="run-time tables" ;;
  esac
  row "$name: $what" "$size"
done <"${TMPDIR:-/tmp}/exe-size.$$"
rm -f "${TMPDIR:-/tmp}/exe-size.$$"
row "headers and section padding" $((rest - in_sections))

echo "Code and data by where they come from (linker map, before padding):"
awk "$hex"'
  function part(file) {
    if (file ~ /form_stream\.cpp/) return "window description"
    if (file ~ /\.res\)?$/) return "resources"
    if (file ~ /libtavrel_|objects\.a/) return "the program (app, route, platform, back end)"
    if (file ~ /libstdc\+\+/) return "C++ run-time (exceptions, new, delete)"
    if (file ~ /libgcc/) return "unwinder and compiler helpers (libgcc)"
    if (file ~ /lib(kernel32|user32|gdi32)\.a|dll stuff/) return "import tables and relocations"
    return "C run-time start-up (mingw, msvcrt)"
  }
  /^Linker script and memory map/ { inmap = 1; next }
  !inmap { next }
  /^[.\/]/ { split($1, s, " "); out = s[1]; pending = ""; next }
  out !~ /^\.(text|data|rdata|eh_frame|idata|CRT|tls|rsrc|reloc)$/ { next }
  /^ [^ ]+ +0x[0-9a-f]+ +0x[0-9a-f]+ / { bytes[part($4)] += hex($3); next }
  /^ [^ ]+$/ { pending = $1; next }
  pending != "" && /^ +0x[0-9a-f]+ +0x[0-9a-f]+ / { bytes[part($3)] += hex($2); pending = ""; next }
  END { for (p in bytes) if (bytes[p] > 0) printf "%d\t%s\n", bytes[p], p }' "$map" | sort -rn |
  while IFS=$'\t' read -r size name; do row "$name" "$size"; done
