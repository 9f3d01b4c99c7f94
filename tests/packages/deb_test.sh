#!/usr/bin/env bash
# deb_test.sh <package.deb>
#
# Checks the Debian package the way a school's IT would meet it: lintian
# accepts it, it holds exactly the expected files with the expected modes,
# its fields are right, its dependencies are the ones dpkg-shlibdeps computes
# (versioned), and its program carries no symbols.
set -euo pipefail
deb=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
[ -f "$deb" ] || fail "no package at $deb (cmake --build --preset linux --target package)"

lintian --fail-on error --display-level '>=pedantic' "$deb" || fail "lintian refused the package"

# mode, owner and path of every entry, in the order dpkg-deb lists them
expected='drwxr-xr-x root/root ./usr/
drwxr-xr-x root/root ./usr/bin/
-rwxr-xr-x root/root ./usr/bin/Tavrel_Oskund
drwxr-xr-x root/root ./usr/share/
drwxr-xr-x root/root ./usr/share/applications/
-rw-r--r-- root/root ./usr/share/applications/Tavrel_Oskund.desktop
drwxr-xr-x root/root ./usr/share/doc/
drwxr-xr-x root/root ./usr/share/doc/tavrel-oskund/
-rw-r--r-- root/root ./usr/share/doc/tavrel-oskund/changelog.gz
-rw-r--r-- root/root ./usr/share/doc/tavrel-oskund/copyright
drwxr-xr-x root/root ./usr/share/icons/
drwxr-xr-x root/root ./usr/share/icons/hicolor/
drwxr-xr-x root/root ./usr/share/icons/hicolor/32x32/
drwxr-xr-x root/root ./usr/share/icons/hicolor/32x32/apps/
-rw-r--r-- root/root ./usr/share/icons/hicolor/32x32/apps/tavrel_oskund.png
drwxr-xr-x root/root ./usr/share/man/
drwxr-xr-x root/root ./usr/share/man/man1/
-rw-r--r-- root/root ./usr/share/man/man1/Tavrel_Oskund.1.gz'
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
# a guessed list would not.
depends=$(field Depends)
for lib in libc6 libfontconfig1 libxft2; do
  [[ ", $depends" == *", $lib (>"* ]] || fail "Depends lacks a versioned $lib: $depends"
done
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
! readelf -S "$unpacked/usr/bin/Tavrel_Oskund" | grep -Eq '\.(symtab|debug_info)' || fail "the program is not stripped"
desktop-file-validate "$unpacked/usr/share/applications/Tavrel_Oskund.desktop" || fail "the desktop entry is invalid"
echo "package: lintian clean, $(stat -c %s "$deb") bytes, $(dpkg-deb -c "$deb" | wc -l) entries, Depends: $depends"
