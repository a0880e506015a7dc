#!/usr/bin/env bash
# The C# binding as the Unity package carries it, compiled as C# 7 with
# Mono's mcs (warnings are errors) and run under mono. It answers cases.txt
# as the C library does, with the package's own native libraries (found as
# Unity finds them, libNAME.so) and with the runtime packages' sonames
# (through Velmora.dll.config); without any, the first call throws a
# DllNotFoundException that names the library. Every file and folder of the
# package has a .meta.
#
#   csharp.sh ANSWERS BUILD SOURCE
set -euo pipefail
answers="$1" build="$2" source="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cases="$source/tests/bindings/cases.txt"
corpus="$source/tests/data/corpus"

"$source/scripts/package-unity" "$build" --out "$work/dist" >/dev/null
package="$work/dist/com.velmora.splines"
missing="$(cd "$package" && find . -mindepth 1 ! -name '*.meta' | while read -r f; do
  [ -f "$f.meta" ] || echo "$f"; done)"
if [ -n "$missing" ]; then
  echo "no .meta for: $missing" >&2
  exit 1
fi

mkdir "$work/app" "$work/sonames" "$work/bare"
mcs -langversion:7 -warn:4 -warnaserror+ -nologo -target:library -out:"$work/app/Velmora.dll" \
  "$package"/Runtime/*.cs
mcs -langversion:7 -warn:4 -warnaserror+ -nologo -r:"$work/app/Velmora.dll" \
  -out:"$work/app/Answers.exe" "$source/tests/bindings/Answers.cs"
cp "$work/app/"* "$work/bare/"
cp "$source/csharp/Velmora.dll.config" "$work/app/"
cp -L "$build/library/libvelmora-curve.so.1" "$build/library/portable/libvelmora-splinefile.so.1" \
  "$work/sonames/"

"$answers" "$cases" "$corpus" >"$work/expected.txt"
compare() { # LABEL LIBRARY-FOLDER PROGRAM-FOLDER
  LD_LIBRARY_PATH="$2" mono "$3/Answers.exe" "$cases" "$corpus" >"$work/actual.txt"
  if ! cmp -s "$work/expected.txt" "$work/actual.txt"; then
    echo "the C# binding's answers ($1) differ from the C library's:" >&2
    diff "$work/expected.txt" "$work/actual.txt" | cut -c1-300 | head -20 >&2
    exit 1
  fi
  echo "$1: $(wc -l <"$work/expected.txt") answers equal"
}
compare "the package's libraries" "$package/Runtime/Plugins/Linux/x86_64" "$work/bare"
compare "sonames through Velmora.dll.config" "$work/sonames" "$work/app"

message="$(env -u LD_LIBRARY_PATH mono "$work/bare/Answers.exe" --missing-library)"
echo "without the libraries: $message"
case "$message" in
  *"native library velmora-curve"*) ;;
  *) echo "the DllNotFoundException does not name velmora-curve" >&2; exit 1 ;;
esac
