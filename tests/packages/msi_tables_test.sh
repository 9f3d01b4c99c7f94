#!/usr/bin/env bash
# msi_tables_test.sh <package.msi> <Tavrel_Oskund.exe> <window icon.ico> <windows.zip>
#
# Reads the Windows Installer package back with msitools and checks what
# Windows will do with it: a per-machine install of the zip's folder, with
# the very program that was built, into Program Files (32-bit), its Start
# menu shortcut, the Programs and Features entry with the publisher and
# version of the program's own version information, the program's file
# version for upgrades, 8.3 names, and the fixed upgrade code.
set -euo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
[ -f "$1" ] || fail "no package at $1 (cmake --build --preset windows --target msi)"
msi=$(realpath "$1")
exe=$(realpath "$2")
ico=$(realpath "$3")
zip=$(realpath "$4")
# Exporting a table with binary data writes its streams to the current folder.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# What the program's version information says, read from the .exe itself.
resources=$(i686-w64-mingw32-windres -i "$exe" -O rc)
version=$(sed -nE 's/^ *FILEVERSION ([0-9]+), ([0-9]+), ([0-9]+), [0-9]+.*/\1.\2.\3/p' <<<"$resources")
file_version=$(sed -nE 's/^ *FILEVERSION ([0-9]+), ([0-9]+), ([0-9]+), ([0-9]+).*/\1.\2.\3.\4/p' <<<"$resources")
file_language=$(($(sed -nE 's/^ *VALUE "Translation", (0x[0-9a-fA-F]+),.*/\1/p' <<<"$resources")))
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
while IFS=';' read -r table columns; do
  IFS=';' read -ra fields <<<"$columns"
  has_row "$table" "${fields[@]}"
done <<EOF
_ForceCodepage;1251;_ForceCodepage
Property;ProductName;$name
Property;ProductVersion;$version
Property;Manufacturer;$publisher
Property;ARPURLINFOABOUT;https://$publisher
Property;ARPPRODUCTICON;Tavrel_Oskund.ico
Property;ALLUSERS;1
Property;UpgradeCode;$upgrade_code
Property;ProductLanguage;1026
Directory;INSTALLDIR;ProgramFilesFolder;TAVRELOS|Tavrel_Oskund
Directory;ProgramMenuFolder;TARGETDIR;.
Component;Program
File;Tavrel_Oskund.exe;Program;TAVRELOS.EXE|Tavrel_Oskund.exe;$(stat -c %s "$exe");$file_version;$file_language
Shortcut;StartMenuShortcut;ProgramMenuFolder;MATHRULE|$name;Program;[INSTALLDIR]Tavrel_Oskund.exe
Feature;Program;;$name
Icon;Tavrel_Oskund.ico;Icon.Tavrel_Oskund.ico
Upgrade;$upgrade_code;;$version;;1;;WIX_UPGRADE_DETECTED
Upgrade;$upgrade_code;$version;;;2;;WIX_DOWNGRADE_DETECTED
InstallExecuteSequence;RemoveExistingProducts
EOF
# No registry of its own: Windows Installer writes the uninstall entry from
# the properties above.
[ "$(msiinfo export "$msi" Registry | tail -n +4 | wc -l)" = 0 ] || fail "the package writes registry values"
msiinfo suminfo "$msi" | grep -qx 'Template: Intel;1026' || fail "not a 32-bit (Intel) package in the product's language"

# Every name a file, folder or shortcut takes has an 8.3 form: the name
# itself, or the short half of short|long.
valid_83='^[A-Za-z0-9_~!#$%&()@^{}-]{1,8}(\.[A-Za-z0-9_~!#$%&()@^{}-]{1,3})?$'
while IFS=$'\t' read -r table name; do
  [ "$name" = . ] || [ "$name" = SourceDir ] || grep -qE "$valid_83" <<<"${name%%|*}" ||
    fail "$table name '$name' has no 8.3 form"
done < <(for table_column in File:3 Directory:3 Shortcut:3; do
  msiinfo export "$msi" "${table_column%:*}" | tr -d '\r' | tail -n +4 | cut -f "${table_column#*:}" | sed "s/^/${table_column%:*}\t/"
done)

# It installs the zip's folder, with the very program that was built.
msiextract -C "$work/unpacked" "$msi" >/dev/null
unzip -q "$zip" -d "$work/zip"
diff -r "$work/unpacked/Program Files/Tavrel_Oskund" "$work/zip/Tavrel_Oskund" || fail "the package's files are not the zip's"
cmp "$work/unpacked/Program Files/Tavrel_Oskund/Tavrel_Oskund.exe" "$exe" || fail "the packed program is not the built one"
msiinfo extract "$msi" Icon.Tavrel_Oskund.ico | cmp - "$ico" || fail "the package's icon is not the window icon"
echo "msi: $(stat -c %s "$msi") bytes, version $version, publisher $publisher"
