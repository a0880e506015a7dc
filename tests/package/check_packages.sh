#!/usr/bin/env bash
# Builds the Debian packages of a build tree, unpacks each into a scratch
# root with dpkg-deb -x and compares its files with the table <package>.files.
#   check_packages.sh BUILD_DIR TABLE_DIR
set -euo pipefail
build="$1"
tables="$2"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >/dev/null
status=0
for package in velmora libvelmora-dev; do
  deb="$(ls "$scratch/out/${package}_"*.deb)"
  dpkg-deb -x "$deb" "$scratch/$package"
  # The CMake export names the build type; the table says <config>.
  if ! diff -u "$tables/$package.files" <(cd "$scratch/$package" && find . ! -type d | sort |
      sed 's/VelmoraTargets-[a-z]*\.cmake$/VelmoraTargets-<config>.cmake/'); then
    echo "$package: the files differ from $package.files" >&2
    status=1
  fi
  echo "$package: $(stat -c %s "$deb") bytes; Depends: $(dpkg-deb -f "$deb" Depends)"
done
# The programs are stripped, and shlibdeps found what they link.
for program in velmora velmora-tool; do
  if readelf -S "$scratch/velmora/usr/bin/$program" | grep -q '\.debug_info'; then
    echo "usr/bin/$program is not stripped" >&2
    status=1
  fi
done
dpkg-deb -f "$scratch/out/velmora_"*.deb Depends | grep -q 'libqt6widgets6' ||
  { echo "velmora does not depend on Qt Widgets" >&2; status=1; }
exit $status
