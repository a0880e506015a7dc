#!/usr/bin/env bash
# Builds the Debian packages of a build tree, unpacks each into a scratch
# root with dpkg-deb -x, compares its files with the table <package>.files
# (one table per package) and, when LINTIAN is given, runs lintian on them.
#   check_packages.sh BUILD_DIR TABLE_DIR TRIPLET VERSION [LINTIAN]
set -euo pipefail
build="$1"
tables="$2"
triplet="$3"
version="$4"
lintian="${5:-}"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >/dev/null
status=0
for table in "$tables"/*.files; do
  package="$(basename "$table" .files)"
  deb="$(ls "$scratch/out/${package}_"*.deb)"
  dpkg-deb -x "$deb" "$scratch/$package"
  # The tables say <triplet>, <version> and, for the CMake export's build
  # type, <config>.
  if ! diff -u "$table" <(cd "$scratch/$package" && find . ! -type d | sort |
      sed -e "s|/$triplet/|/<triplet>/|; s|\.so\.$version\$|.so.<version>|" \
          -e 's/VelmoraTargets-[a-z]*\.cmake$/VelmoraTargets-<config>.cmake/'); then
    echo "$package: the files differ from $package.files" >&2
    status=1
  fi
  echo "$package: $(stat -c %s "$deb") bytes; Depends: $(dpkg-deb -f "$deb" Depends)"
done
if [[ $(ls "$scratch/out/"*.deb | wc -l) -ne $(ls "$tables"/*.files | wc -l) ]]; then
  echo "CPack made a package without a table:" "$scratch/out/"*.deb >&2
  status=1
fi
# The programs are stripped, and shlibdeps found what they link.
for program in velmora velmora-tool; do
  if readelf -S "$scratch/velmora/usr/bin/$program" | grep -q '\.debug_info'; then
    echo "usr/bin/$program is not stripped" >&2
    status=1
  fi
done
dpkg-deb -f "$scratch/out/velmora_"*.deb Depends | grep -q 'libqt6widgets6' ||
  { echo "velmora does not depend on Qt Widgets" >&2; status=1; }
if [[ -n "$lintian" ]]; then
  "$lintian" --fail-on error,warning "$scratch/out/"*.deb || status=1
fi
exit $status
