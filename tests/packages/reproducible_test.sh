#!/usr/bin/env bash
# reproducible_test.sh <source-dir> <work-dir> <linux-build> <windows-build> <web-build>
#
# Builds every deliverable a second time, from the same sources, in other
# folders, later and in another time zone, with the presets' settings, and
# compares it byte for byte with the first build's. On a difference it says
# which file and where: diffoscope's report where Debian's diffoscope is
# installed, else the first differing offsets. Exits 77 (skipped) when a first
# build is missing, since then there is nothing to compare.
set -euo pipefail
source_dir=$(realpath "$1")
work=$(realpath -m "$2")
declare -A first=([linux]=$3 [windows]=$4 [web]=$5)
version=$(sed -nE 's/^project\(Tavrel_Oskund VERSION ([0-9.]+).*/\1/p' "$source_dir/CMakeLists.txt")
deb=$(find "${first[linux]}" -maxdepth 1 -name "tavrel-oskund_${version}_*.deb" -printf '%f\n' 2>/dev/null | head -n 1 || true)
# preset, the targets that make its deliverables, then the deliverables.
deliverables=(
  "windows|Tavrel_Oskund package msi|Tavrel_Oskund.exe Tavrel_Oskund-$version-windows.zip Tavrel_Oskund-$version.msi"
  "linux|package|${deb:-tavrel-oskund_${version}_ARCH.deb}"
  "web|Tavrel_Oskund scorm|Tavrel_Oskund.html Tavrel_Oskund-scorm12.zip"
)
for entry in "${deliverables[@]}"; do
  IFS='|' read -r preset _ files <<<"$entry"
  for file in $files; do
    if [ ! -f "${first[$preset]}/$file" ]; then
      echo "SKIP: no first build of $file in ${first[$preset]} (scripts/test.sh builds every preset)"
      exit 77
    fi
  done
done

# A first build configured before the last commit stamps another time.
epoch=$(git -C "$source_dir" log -1 --format=%ct)
for preset in windows linux; do
  stamped=$(cat "${first[$preset]}/source-date-epoch" 2>/dev/null || true)
  [ "${SOURCE_DATE_EPOCH:-$epoch}" = "$stamped" ] ||
    { echo "FAIL: ${first[$preset]} was built for another commit: build it again first"; exit 1; }
done

# The other time zone moves every clock-dependent byte by hours, if the
# later time has not moved it already.
export TZ=Pacific/Kiritimati NODE_PATH=/usr/share/nodejs
rm -rf "$work"
different=0
for entry in "${deliverables[@]}"; do
  IFS='|' read -r preset targets files <<<"$entry"
  dir=$work/$preset
  log=$work/$preset.log
  mkdir -p "$dir"
  echo "building the $preset deliverables again in $dir"
  read -ra target_list <<<"$targets"
  # The .deb carries a screenshot that the test tools take of the real
  # window, so its build needs them; the others are built without tests.
  testing=OFF
  [ "$preset" = linux ] && testing=ON
  if ! { cmake -S "$source_dir" --preset "$preset" -B "$dir" -DBUILD_TESTING=$testing &&
    cmake --build "$dir" -j "$(nproc)" --target "${target_list[@]}"; } >"$log" 2>&1; then
    tail -n 30 "$log"
    echo "FAIL: the second $preset build failed (log: $log)"
    exit 1
  fi
  for file in $files; do
    a=${first[$preset]}/$file
    b=$dir/$file
    if cmp -s "$a" "$b"; then
      echo "same: $file ($(stat -c %s "$a") bytes)"
      continue
    fi
    different=$((different + 1))
    echo "DIFFERENT: $file: $a and $b"
    if command -v diffoscope >/dev/null; then
      diffoscope --text - "$a" "$b" | head -n 80 || true
    else
      echo "  $(cmp -l "$a" "$b" | wc -l || true) bytes differ; the first, at hex offsets (octal values):"
      { cmp -l "$a" "$b" || true; } | awk 'NR <= 8 { printf "    0x%08x: %s -> %s\n", $1 - 1, $2, $3 }'
    fi
  done
done
[ "$different" = 0 ] || { echo "FAIL: $different deliverables differ between two builds"; exit 1; }
rm -rf "$work"
echo "every deliverable is the same from both builds"
