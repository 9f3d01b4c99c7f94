#!/usr/bin/env bash
# Installs the Linux build into a temporary prefix and checks that the program,
# its desktop entry and its icon land in the freedesktop places and are valid.
set -euo pipefail
build_dir=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build_dir" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
program="$prefix/bin/Tavrel_Oskund"
desktop=$(echo "$prefix"/share/applications/*.desktop)
id=$(basename "$desktop" .desktop)
icon="$prefix/share/icons/hicolor/32x32/apps/$id.png"

[ -x "$program" ] || fail "no executable program at $program"
[ -f "$desktop" ] || fail "no desktop entry at $desktop"
[ -f "$icon" ] || fail "no icon at $icon"
! readelf -S "$program" | grep -Eq '\.(symtab|debug_info)' || fail "the installed program is not stripped"

desktop-file-validate "$desktop" || fail "desktop-file-validate refused the entry"
grep -qx 'Categories=Education;Math;' "$desktop" || fail "the entry is not filed under Education;Math"
grep -qx 'Exec=Tavrel_Oskund' "$desktop" || fail "the entry does not start the program"
grep -qx "Icon=$id" "$desktop" || fail "the entry's icon is not named $id, as the entry is"
# Cyrillic letters start with the UTF-8 lead byte 0xD0 or 0xD1, whatever the locale.
cyrillic=$'[\xd0\xd1]'
LC_ALL=C grep -q "^Name=.*$cyrillic" "$desktop" || fail "the entry's name is not Bulgarian"
LC_ALL=C grep -q "^Comment=.*$cyrillic" "$desktop" || fail "the entry's comment is not Bulgarian"

size=$(identify -format '%w x %h %[channels]' "$icon") || fail "the icon PNG does not decode"
case "$size" in
  "32 x 32 srgba"* | "32 x 32 rgba"*) ;;
  *) fail "the icon is $size, not 32 x 32 with alpha" ;;
esac
echo "installed: stripped program, desktop entry, 32x32 icon"
