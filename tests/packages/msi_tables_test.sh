#!/usr/bin/env bash
# msi_tables_test.sh <package.msi> <Tavrel_Oskund.exe> <window icon.ico>
#
# Reads the Windows Installer package back with msitools and checks what
# Windows will do with it: a per-machine install of the very program that
# was built into Program Files (32-bit), its Start menu shortcut, the
# Programs and Features entry with the publisher and version of the program's
# own version information, and the fixed upgrade code.
set -euo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
[ -f "$1" ] || fail "no package at $1 (cmake --build --preset windows --target msi)"
msi=$(realpath "$1")
exe=$(realpath "$2")
ico=$(realpath "$3")
# Exporting a table with binary data writes its streams to the current folder.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# What the program's version information says, read from the .exe itself.
resources=$(i686-w64-mingw32-windres -i "$exe" -O rc)
version=$(sed -nE 's/^ *FILEVERSION ([0-9]+), ([0-9]+), ([0-9]+), [0-9]+.*/\1.\2.\3/p' <<<"$resources")
publisher=$(sed -nE 's/^ *VALUE "CompanyName", "([^"]+)".*/\1/p' <<<"$resources")
[ -n "$version" ] || fail "no version information in $exe"
[ -n "$publisher" ] || fail "no company name in $exe"
name='Математика - правило за умножение'
upgrade_code='{8630A457-FD18-4BDD-B21A-F85A54D8AC25}'

has_row() { # table, then the row's leading columns
  local table=$1 row
  shift
  row=$(IFS=$'\t'; echo "$*")
  msiinfo export "$msi" "$table" | tr -d '\r' | awk -v row="$row" 'index($0 "\t", row "\t") == 1 { found = 1 }
    END { exit !found }' || fail "$table has no row '$row'"
}
while IFS='|' read -r table columns; do
  IFS='|' read -ra fields <<<"$columns"
  has_row "$table" "${fields[@]}"
done <<EOF
_ForceCodepage|1251|_ForceCodepage
Property|ProductName|$name
Property|ProductVersion|$version
Property|Manufacturer|$publisher
Property|ARPURLINFOABOUT|https://$publisher
Property|ARPPRODUCTICON|Tavrel_Oskund.ico
Property|ALLUSERS|1
Property|UpgradeCode|$upgrade_code
Directory|INSTALLDIR|ProgramFilesFolder|Tavrel_Oskund
Directory|ProgramMenuFolder|TARGETDIR|.
Component|Program
File|Tavrel_Oskund.exe|Program|Tavrel_Oskund.exe|$(stat -c %s "$exe")
Shortcut|StartMenuShortcut|ProgramMenuFolder|$name|Program|[INSTALLDIR]Tavrel_Oskund.exe
Icon|Tavrel_Oskund.ico|Icon.Tavrel_Oskund.ico
Upgrade|$upgrade_code||$version||1||WIX_UPGRADE_DETECTED
Upgrade|$upgrade_code|$version|||2||WIX_DOWNGRADE_DETECTED
InstallExecuteSequence|RemoveExistingProducts
EOF
# One file, no registry of its own: Windows Installer writes the uninstall
# entry from the properties above.
[ "$(msiinfo export "$msi" File | tail -n +4 | wc -l)" = 1 ] || fail "the package installs more than one file"
[ "$(msiinfo export "$msi" Registry | tail -n +4 | wc -l)" = 0 ] || fail "the package writes registry values"
msiinfo suminfo "$msi" | grep -qx 'Template: Intel;[0-9]*' || fail "not a 32-bit (Intel) package"

# The cabinet holds the very program, the icon the very window icon.
msiextract -C "$work/unpacked" "$msi" >/dev/null
cmp "$work/unpacked/Program Files/Tavrel_Oskund/Tavrel_Oskund.exe" "$exe" || fail "the packed program is not the built one"
msiinfo extract "$msi" Icon.Tavrel_Oskund.ico | cmp - "$ico" || fail "the package's icon is not the window icon"
echo "msi: $(stat -c %s "$msi") bytes, version $version, publisher $publisher"
