#!/usr/bin/env bash
# msi_wine_test.sh install|run|uninstall <prefix> <wine-loader> <package.msi> [arguments...]
#
# Installs the Windows Installer package silently in a fresh Wine prefix, as
# a school's deployment tool would, and checks the program, the Start menu
# shortcut and the Programs and Features entry there; then removes it again
# and checks that no file of the install is left. Between the two, `run`
# starts the installed program with the arguments, in the foreground, as
# tests/e2e/wine_run.sh starts the build's.
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
product_code=$(msiinfo export "$msi" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p')
arp_key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product_code"
files_of_prefix() { (cd "$prefix/drive_c" && find . -type f | LC_ALL=C sort); }
shortcuts() { find "$prefix/drive_c" -name "$name.lnk"; }

case "$step" in
install)
  # The end-to-end tests' prefix, so that the installed program can run as they run it.
  "$(dirname "$0")/../e2e/wine_prefix.sh" "$prefix" "$loader" >/dev/null
  files_of_prefix >"$prefix/files-before-install"
  "$loader" msiexec /i "$msi" /qn || fail "msiexec /i failed"
  wineserver -w

  program_dir=$(installed_dir)
  [ "$(ls -A "$program_dir")" = Tavrel_Oskund.exe ] || fail "$program_dir holds '$(ls -A "$program_dir" || true)'"
  [ "$(shortcuts | wc -l)" = 1 ] || fail "no single Start menu shortcut named '$name'"
  target="C:/${program_dir#"$prefix/drive_c/"}/Tavrel_Oskund.exe"
  strings "$(shortcuts)" | grep -qxF "${target//\//\\}" ||
    fail "the shortcut does not start the installed program"
  # Windows Installer keeps the icon for the shortcut and for Programs and Features.
  icon="C:\\windows\\Installer\\$product_code\\Tavrel_Oskund.ico"
  msiinfo extract "$msi" Icon.Tavrel_Oskund.ico | cmp - "$prefix/drive_c/windows/Installer/$product_code/Tavrel_Oskund.ico" ||
    fail "the installed icon is not the package's"
  strings -el "$(shortcuts)" | grep -qF "$icon" || fail "the shortcut does not show the program's icon"
  "$loader" reg query 'HKLM\Software\Classes\Installer\Products' /s | grep ProductIcon | grep -qF "$icon" ||
    fail "Programs and Features shows no icon"

  "$loader" reg export "$arp_key" "$prefix/arp.reg" /reg:32 /y >/dev/null || fail "no uninstall entry $arp_key"
  arp=$(iconv -f UTF-16 -t UTF-8 "$prefix/arp.reg" | tr -d '\r')
  publisher=$(msiinfo export "$msi" Property | tr -d '\r' | sed -n 's/^Manufacturer\t//p')
  while IFS='=' read -r value want; do
    grep -qxF "\"$value\"=\"$want\"" <<<"$arp" || fail "the uninstall entry's $value is not '$want'"
  done <<EOF
DisplayName=$name
Publisher=$publisher
DisplayVersion=$(msiinfo export "$msi" Property | tr -d '\r' | sed -n 's/^ProductVersion\t//p')
URLInfoAbout=https://$publisher
EOF
  echo "installed in $program_dir; shortcut $(shortcuts); uninstall entry $arp_key"
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
