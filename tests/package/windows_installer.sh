#!/usr/bin/env bash
# The zip names in README.txt only programs and DLLs it holds. The Windows
# installer under Wine, silent: it installs the zip's files and
# nothing else, the Start-menu entry and the uninstall record; it puts the
# folder on the user's PATH only when asked; the installed editor starts; and
# the uninstaller removes everything it installed, keeping the user's PATH
# entries, a Splines.xml saved into the folder and its backup.
#
#   windows_installer.sh WINE_RUN PREFIX DIST VERSION
set -euo pipefail
[ $# -eq 4 ] || { echo "usage: $0 WINE_RUN PREFIX DIST VERSION" >&2; exit 2; }
wine_run=$1 prefix=$(realpath -m "$2") dist=$3 version=$4
name=velmora-$version-windows-x64
setup=$dist/$name-setup.exe zip=$dist/$name.zip
win() { "$wine_run" "$prefix" "$@"; }
fail() { echo "FAIL: $*" >&2; exit 1; }
[ -f "$setup" ] && [ -f "$zip" ] || fail "$setup or $zip is missing (scripts/package-windows)"

drive_c=$prefix/drive_c
profile=$(ls -d "$drive_c"/users/*/AppData | grep -v /Public/ | head -n 1)
shortcut="$profile/Roaming/Microsoft/Windows/Start Menu/Programs/Velmora.lnk"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora'
# What the user's PATH holds, as the registry gives it (empty: no value).
user_path() {
  win reg query 'HKCU\Environment' /v Path 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *Path *REG_[A-Z_]* *//p'
}
# The files under a folder, relative to it, one a line.
listing() { (cd "$1" && find . -type f | sed 's|^\./||' | LC_ALL=C sort); }
zip_listing() {
  /usr/bin/python3 -c 'import sys, zipfile
for n in zipfile.ZipFile(sys.argv[1]).namelist(): print(n.split("/", 1)[1])' "$zip" |
    LC_ALL=C sort
}
# Runs the installer as a command prompt does: "/D=" must come last and
# unquoted, which a Windows program's own argument quoting would not keep.
install() { win cmd /c "Z:${setup//\//\\} $*"; }
# Runs the uninstaller, which copies itself away and returns at once; done
# when it has removed itself.
uninstall() {
  win "$1\\uninstall.exe" /S
  for _ in $(seq 600); do
    [ -e "$2/uninstall.exe" ] || return 0
    sleep 0.1
  done
  fail "the uninstaller did not finish"
}

# README.txt names only programs and DLLs the zip holds.
readme=$(/usr/bin/python3 -c 'import sys, zipfile
z = zipfile.ZipFile(sys.argv[1])
print(z.read(next(n for n in z.namelist() if n.endswith("/README.txt"))).decode())' "$zip")
for named in $(grep -o 'velmora[a-z-]*\.\(exe\|dll\)' <<<"$readme" | sort -u); do
  zip_listing | grep -qx "$named" || fail "README.txt names $named, which the zip lacks"
done

# 1. A folder of the user's choice, a name with a space, PATH asked for.
target='C:\Velmora Test'
installed="$drive_c/Velmora Test"
rm -rf "$installed"
win reg add 'HKCU\Environment' /v Path /t REG_EXPAND_SZ /d 'C:\Other;;C:\Tools' /f >/dev/null
install /S /ADDTOPATH "/D=$target"
expected=$( (zip_listing; echo uninstall.exe) | LC_ALL=C sort)
[ "$(listing "$installed")" = "$expected" ] ||
  fail "installed files differ from the zip's: $(diff <(listing "$installed") <(echo "$expected"))"
[ "$(user_path)" = 'C:\Other;;C:\Tools;C:\Velmora Test' ] || fail "PATH after install: $(user_path)"
win reg query "$uninstall_key" /v QuietUninstallString >/dev/null || fail "no uninstall record"
if [ -f "$installed/velmora.exe" ]; then
  [ -f "$shortcut" ] || fail "no Start-menu entry"
  win "$target\\velmora.exe" --version | grep -q "$version" || fail "the installed editor does not start"
fi

# The user's work in the folder: a saved Splines.xml, a backup, an example edited.
echo '<Splines/>' >"$installed/Splines.xml"
echo '<Splines/>' >"$installed/Splines.xml.bak"
sleep 1
echo '<Splines/>' >"$installed/examples/Splines.xml"
uninstall "$target" "$installed"
[ "$(listing "$installed")" = $'Splines.xml\nSplines.xml.bak\nexamples/Splines.xml' ] ||
  fail "after uninstalling, the folder holds: $(listing "$installed")"
[ "$(user_path)" = 'C:\Other;;C:\Tools' ] || fail "PATH after uninstall: $(user_path)"
! win reg query "$uninstall_key" >/dev/null 2>&1 || fail "the uninstall record stays"
[ ! -e "$shortcut" ] || fail "the Start-menu entry stays"
rm -rf "$installed"

# 2. The default folder, no PATH: the uninstaller leaves nothing at all.
default="$profile/Local/Programs/Velmora"
rm -rf "$default"
install /S
[ -f "$default/uninstall.exe" ] || fail "nothing installed in %LOCALAPPDATA%\\Programs\\Velmora"
[ "$(user_path)" = 'C:\Other;;C:\Tools' ] || fail "PATH changed unasked: $(user_path)"
uninstall 'C:\users\'"$(basename "$(dirname "$profile")")"'\AppData\Local\Programs\Velmora' "$default"
# The uninstaller removes its folder a moment after its own program.
for _ in $(seq 50); do
  [ -e "$default" ] || break
  sleep 0.1
done
[ ! -e "$default" ] || fail "left behind: $(listing "$default")"
win reg delete 'HKCU\Environment' /v Path /f >/dev/null
echo "installed, started and uninstalled cleanly"
