#!/usr/bin/env bash
# msi_wine_test.sh install|run|upgrade|uninstall <prefix> <wine-loader> <package.msi> [arguments...]
#
# Installs the Windows Installer package silently in a fresh Wine prefix, as
# a school's deployment tool would, and checks the program, the all-users
# Start menu shortcut and the Programs and Features entry there; then removes
# it again and checks that no file of the install is left. Between the two,
# `run` starts the installed program with the arguments, in the foreground, as
# tests/e2e/wine_run.sh starts the build's, and `upgrade <msi-config.cmake>
# <MakeMsi.cmake>` makes the next version's package from the same files with
# the program's version raised, installs it over this one and checks that it
# replaced the program and the entry.
set -euo pipefail
step=$1
prefix=$(realpath -m "$2")
loader=$3
msi=$(realpath "$4")
shift 4
fail() { echo "FAIL: $*" >&2; exit 1; }

# A 32-bit program goes to "Program Files (x86)" where Windows is 64-bit.
installed_dir() {
  local program_files='Program Files'
  [ -d "$prefix/drive_c/Program Files (x86)" ] && program_files='Program Files (x86)'
  echo "$prefix/drive_c/$program_files/Tavrel_Oskund"
}
if [ "$step" = run ]; then
  exec "$(dirname "$0")/../e2e/wine_run.sh" "$prefix" "$loader" "$(installed_dir)/Tavrel_Oskund.exe" "$@"
fi

# winemenubuilder would copy the shortcut into this machine's own menus.
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY
name='Математика - правило за умножение'
# The next version's package, once `upgrade` has installed it.
next_msi=$prefix/Tavrel_Oskund-next.msi
if [ "$step" = uninstall ] && [ -f "$next_msi" ]; then msi=$next_msi; fi
property() { msiinfo export "$1" Property | tr -d '\r' | sed -n "s/^$2\t//p"; }
arp_key() { echo "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$1"; }
product_code=$(property "$msi" ProductCode)
arp_key=$(arp_key "$product_code")
files_of_prefix() { (cd "$prefix/drive_c" && find . -type f | LC_ALL=C sort); }
shortcuts() { find "$prefix/drive_c" -name "$name.lnk"; }
all_users_menu="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"

# The installed folder against the one in <package>, and the entry against its properties.
check_installed() {
  local package=$1 program_dir target arp publisher
  rm -rf "$prefix/unpacked"
  msiextract -C "$prefix/unpacked" "$package" >/dev/null
  program_dir=$(installed_dir)
  diff -r "$prefix/unpacked/Program Files/Tavrel_Oskund" "$program_dir" || fail "$program_dir is not the package's folder"
  [ "$(shortcuts)" = "$all_users_menu/$name.lnk" ] ||
    fail "no single shortcut '$name' in the all-users Start menu: '$(shortcuts)'"
  target="C:/${program_dir#"$prefix/drive_c/"}/Tavrel_Oskund.exe"
  strings "$(shortcuts)" | grep -qxF "${target//\//\\}" || fail "the shortcut does not start the installed program"

  "$loader" reg export "$arp_key" "$prefix/arp.reg" /reg:32 /y >/dev/null || fail "no uninstall entry $arp_key"
  arp=$(iconv -f UTF-16 -t UTF-8 "$prefix/arp.reg" | tr -d '\r')
  publisher=$(property "$package" Manufacturer)
  while IFS='=' read -r value want; do
    grep -qxF "\"$value\"=\"$want\"" <<<"$arp" || fail "the uninstall entry's $value is not '$want'"
  done <<EOF
DisplayName=$name
Publisher=$publisher
DisplayVersion=$(property "$package" ProductVersion)
URLInfoAbout=https://$publisher
EOF
}
exe_file_version() { msiinfo export "$1" File | tr -d '\r' | awk -F'\t' '$1 == "Tavrel_Oskund.exe" { print $5 }'; }

case "$step" in
install)
  # The end-to-end tests' prefix, so that the installed program can run as they run it.
  "$(dirname "$0")/../e2e/wine_prefix.sh" "$prefix" "$loader" >/dev/null
  files_of_prefix >"$prefix/files-before-install"
  "$loader" msiexec /i "$msi" /qn || fail "msiexec /i failed"
  wineserver -w
  check_installed "$msi"
  # Windows Installer keeps the icon for the shortcut and for Programs and Features.
  icon="C:\\windows\\Installer\\$product_code\\Tavrel_Oskund.ico"
  msiinfo extract "$msi" Icon.Tavrel_Oskund.ico | cmp - "$prefix/drive_c/windows/Installer/$product_code/Tavrel_Oskund.ico" ||
    fail "the installed icon is not the package's"
  strings -el "$(shortcuts)" | grep -qF "$icon" || fail "the shortcut does not show the program's icon"
  "$loader" reg query 'HKLM\Software\Classes\Installer\Products' /s | grep ProductIcon | grep -qF "$icon" ||
    fail "Programs and Features shows no icon"
  echo "installed in $(installed_dir); shortcut $(shortcuts); uninstall entry $arp_key"
  ;;
upgrade)
  # The next release: the same files, the program's file version a.b.c.d
  # raised to a.b.c+1.d as a release raises it, and the product's version.
  version=$(property "$msi" ProductVersion)
  next_version=${version%.*}.$((${version##*.} + 1))
  rm -rf "$prefix/next"
  msiextract -C "$prefix/next" "$msi" >/dev/null
  stage="$prefix/next/Program Files/Tavrel_Oskund"
  exe=$stage/Tavrel_Oskund.exe
  fixed_info=$(LC_ALL=C grep -obUaP '\xbd\x04\xef\xfe' "$exe" | head -n 1 | cut -d: -f1)
  [ -n "$fixed_info" ] || fail "the program has no version information"
  for field in 12 20; do # the low halves of the file and product versions
    offset=$((fixed_info + field + 2))
    build=$(($(od -An -tu2 -j "$offset" -N2 "$exe") + 1))
    printf '%b' "\\x$(printf %02x $((build & 255)))\\x$(printf %02x $((build >> 8)))" |
      dd of="$exe" bs=1 seek="$offset" conv=notrunc status=none
  done
  cmake -DCONFIG="$1" -DVERSION="$next_version" -DSTAGE="$stage" -DOUT="$next_msi" -P "$2" ||
    fail "cannot make the package of $next_version"
  [ "$(exe_file_version "$next_msi")" != "$(exe_file_version "$msi")" ] || fail "the next package's program has the same version"

  "$loader" msiexec /i "$next_msi" /qn || fail "msiexec /i of $next_version failed"
  wineserver -w
  ! "$loader" reg query "$arp_key" /reg:32 >/dev/null 2>&1 || fail "the uninstall entry of $version is still there"
  arp_key=$(arp_key "$(property "$next_msi" ProductCode)")
  check_installed "$next_msi"
  echo "upgraded $version to $next_version: program $(exe_file_version "$msi") replaced by $(exe_file_version "$next_msi")"
  ;;
uninstall)
  "$loader" msiexec /x "$msi" /qn || fail "msiexec /x failed"
  wineserver -w
  [ ! -e "$(installed_dir)" ] || fail "$(installed_dir) is still there"
  [ -z "$(shortcuts)" ] || fail "the shortcut is still there"
  ! "$loader" reg query "$arp_key" /reg:32 >/dev/null 2>&1 || fail "the uninstall entry is still there"
  left=$(LC_ALL=C comm -13 "$prefix/files-before-install" <(files_of_prefix))
  [ -z "$left" ] || fail "files left behind: $left"
  echo "removed: program, shortcut, uninstall entry; no file left"
  wineserver -k 2>/dev/null || true
  rm -rf "$prefix"
  ;;
*) fail "unknown step $step" ;;
esac
