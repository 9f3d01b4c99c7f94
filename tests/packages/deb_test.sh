#!/usr/bin/env bash
# deb_test.sh <package.deb> <application id>
#
# Checks the Debian package the way a school's IT would meet it: lintian
# finds nothing to say even when pedantic, it holds exactly the expected files
# with the expected modes, its fields are right, its dependencies are the
# ones dpkg-shlibdeps computes (versioned) and the fonts the layout needs, its
# program carries no symbols, and its desktop entry, AppStream metainfo,
# icons and manual pages pass their own validators.
set -euo pipefail
deb=$1
id=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
[ -f "$deb" ] || fail "no package at $deb (cmake --build --preset linux --target package)"

tags=$(lintian --pedantic --display-info --display-experimental "$deb" 2>&1) || fail "lintian refused the package:
$tags"
tags=$(grep -v '^running with root privileges' <<<"$tags" || true)
[ -z "$tags" ] || fail "lintian has something to say:
$tags"

# mode, owner and path of every entry, in the order dpkg-deb lists them
expected="drwxr-xr-x root/root ./usr/
drwxr-xr-x root/root ./usr/bin/
-rwxr-xr-x root/root ./usr/bin/Tavrel_Oskund
drwxr-xr-x root/root ./usr/share/
drwxr-xr-x root/root ./usr/share/applications/
-rw-r--r-- root/root ./usr/share/applications/$id.desktop
drwxr-xr-x root/root ./usr/share/doc/
drwxr-xr-x root/root ./usr/share/doc/tavrel-oskund/
-rw-r--r-- root/root ./usr/share/doc/tavrel-oskund/changelog.gz
-rw-r--r-- root/root ./usr/share/doc/tavrel-oskund/copyright
drwxr-xr-x root/root ./usr/share/icons/
drwxr-xr-x root/root ./usr/share/icons/hicolor/
drwxr-xr-x root/root ./usr/share/icons/hicolor/128x128/
drwxr-xr-x root/root ./usr/share/icons/hicolor/128x128/apps/
-rw-r--r-- root/root ./usr/share/icons/hicolor/128x128/apps/$id.png
drwxr-xr-x root/root ./usr/share/icons/hicolor/16x16/
drwxr-xr-x root/root ./usr/share/icons/hicolor/16x16/apps/
-rw-r--r-- root/root ./usr/share/icons/hicolor/16x16/apps/$id.png
drwxr-xr-x root/root ./usr/share/icons/hicolor/22x22/
drwxr-xr-x root/root ./usr/share/icons/hicolor/22x22/apps/
-rw-r--r-- root/root ./usr/share/icons/hicolor/22x22/apps/$id.png
drwxr-xr-x root/root ./usr/share/icons/hicolor/24x24/
drwxr-xr-x root/root ./usr/share/icons/hicolor/24x24/apps/
-rw-r--r-- root/root ./usr/share/icons/hicolor/24x24/apps/$id.png
drwxr-xr-x root/root ./usr/share/icons/hicolor/256x256/
drwxr-xr-x root/root ./usr/share/icons/hicolor/256x256/apps/
-rw-r--r-- root/root ./usr/share/icons/hicolor/256x256/apps/$id.png
drwxr-xr-x root/root ./usr/share/icons/hicolor/32x32/
drwxr-xr-x root/root ./usr/share/icons/hicolor/32x32/apps/
-rw-r--r-- root/root ./usr/share/icons/hicolor/32x32/apps/$id.png
drwxr-xr-x root/root ./usr/share/icons/hicolor/48x48/
drwxr-xr-x root/root ./usr/share/icons/hicolor/48x48/apps/
-rw-r--r-- root/root ./usr/share/icons/hicolor/48x48/apps/$id.png
drwxr-xr-x root/root ./usr/share/icons/hicolor/64x64/
drwxr-xr-x root/root ./usr/share/icons/hicolor/64x64/apps/
-rw-r--r-- root/root ./usr/share/icons/hicolor/64x64/apps/$id.png
drwxr-xr-x root/root ./usr/share/man/
drwxr-xr-x root/root ./usr/share/man/bg/
drwxr-xr-x root/root ./usr/share/man/bg/man1/
-rw-r--r-- root/root ./usr/share/man/bg/man1/Tavrel_Oskund.1.gz
drwxr-xr-x root/root ./usr/share/man/man1/
-rw-r--r-- root/root ./usr/share/man/man1/Tavrel_Oskund.1.gz
drwxr-xr-x root/root ./usr/share/metainfo/
-rw-r--r-- root/root ./usr/share/metainfo/$id.metainfo.xml
drwxr-xr-x root/root ./usr/share/tavrel-oskund/
-rw-r--r-- root/root ./usr/share/tavrel-oskund/screenshot.png"
actual=$(dpkg-deb -c "$deb" | awk '{print $1, $2, $6}')
[ "$actual" = "$expected" ] || fail "the package's files differ:
$(diff <(echo "$expected") <(echo "$actual") || true)"

field() { dpkg-deb -f "$deb" "$1"; }
while IFS='|' read -r name want; do
  [ "$(field "$name")" = "$want" ] || fail "$name is '$(field "$name")', not '$want'"
done <<'EOF'
Package|tavrel-oskund
Section|education
Priority|optional
Architecture|amd64
EOF
# Computed dependencies carry the lowest versions the binary's symbols need;
# a guessed list would not. FLTK and the C++ run-time come from Debian, with
# its security fixes.
depends=$(field Depends)
for lib in libc6 libfltk1.3 libfontconfig1 libstdc++6; do
  [[ ", $depends" == *", $lib (>"* ]] || fail "Depends lacks a versioned $lib: $depends"
done
[[ ", $depends," == *", fonts-liberation,"* ]] || fail "Depends lacks the fonts the layout is measured with: $depends"
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
! readelf -S "$unpacked/usr/bin/Tavrel_Oskund" | grep -Eq '\.(symtab|debug_info)' || fail "the program is not stripped"
share=$unpacked/usr/share
desktop-file-validate "$share/applications/$id.desktop" || fail "the desktop entry is invalid"
grep -qx "Icon=$id" "$share/applications/$id.desktop" || fail "the desktop entry's icon is not $id"
# Pedantic too: software centres show what the validator only hints at.
appstream=$(appstreamcli validate --no-net --pedantic "$share/metainfo/$id.metainfo.xml" 2>&1) || true
[ "$appstream" = "✔ Validation was successful." ] || fail "appstreamcli: $appstream"
# One name wherever a person meets the program: the window's.
name='Математика - правило за умножение'
grep -qx "Name=$name" "$share/applications/$id.desktop" || fail "the desktop entry is not named '$name'"
grep -q "<name xml:lang=\"bg\">$name</name>" "$share/metainfo/$id.metainfo.xml" || fail "the metainfo is not named '$name'"

# Every picture the size its place says; the window's as the window measures.
while read -r file size; do
  got=$(identify -format '%wx%h' "$share/$file") || fail "$file does not decode"
  [ "$got" = "$size" ] || fail "$file is $got, not $size"
done < <(for s in 16 22 24 32 48 64 128 256; do echo "icons/hicolor/${s}x${s}/apps/$id.png ${s}x${s}"; done
  echo "tavrel-oskund/screenshot.png 470x409")

# The manual pages: English by default, Bulgarian under bg, and troff silent
# in both a UTF-8 and a plain C locale.
cyrillic=$'[\xd0\xd1]'
while read -r page language; do
  if zcat "$share/man/$page" | LC_ALL=C grep -q "$cyrillic"; then found=bg; else found=en; fi
  [ "$found" = "$language" ] || fail "$page is not in $language"
  for locale in C C.UTF-8; do
    warnings=$(LANG=$locale LC_ALL=$locale man --warnings -E UTF-8 -l "$share/man/$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man warns on $page under $locale: $warnings"
  done
done <<'EOF'
man1/Tavrel_Oskund.1.gz en
bg/man1/Tavrel_Oskund.1.gz bg
EOF
echo "package: lintian clean, $(stat -c %s "$deb") bytes, $(dpkg-deb -c "$deb" | wc -l) entries, Depends: $depends"
