#!/usr/bin/env bash
# Makes the suite's Windows installer from a build whose programs are built: installs them into
# a staging program folder, lists its files for the uninstaller and packs it with makensis.
#   installer/make-installer.sh <build folder> <work folder>
# The installer is <work folder>/V212-Setup.exe.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 <build folder> <work folder>" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
build=$1
work=$2
stage=$work/stage
list=$work/uninstall-files.nsh

command -v makensis >/dev/null || { echo "makensis is missing: run scripts/setup" >&2; exit 1; }
rm -rf "$stage"
mkdir -p "$work"
cmake --install "$build" --prefix "$stage" >/dev/null
for program in config.exe tolvane.exe pennrack.exe; do
    [ -f "$stage/$program" ] || { echo "$build installs no $program" >&2; exit 1; }
done

# Every file, then every folder deepest first, as the uninstaller removes them. "$" is NSIS's
# variable sign; a name with a quote or a line break could not be written here at all.
if [ -n "$(cd "$stage" && find . \( -name '*"*' -o -name "*"$'\n'"*" \) -print -quit)" ]; then
    echo "A file name in $stage cannot be packed" >&2
    exit 1
fi
{
    (cd "$stage" && find . -type f | LC_ALL=C sort) | while IFS= read -r file; do
        file=${file#./}
        printf 'Delete "$INSTDIR\\%s"\n' "$(printf '%s' "${file//\//\\}" | sed 's/\$/$$/g')"
    done
    (cd "$stage" && find . -mindepth 1 -type d | LC_ALL=C sort -r) | while IFS= read -r folder; do
        folder=${folder#./}
        printf 'RMDir "$INSTDIR\\%s"\n' "$(printf '%s' "${folder//\//\\}" | sed 's/\$/$$/g')"
    done
} >"$list"

makensis -V2 -NOCD -DSTAGE="$stage" -DUNINSTALL_LIST="$list" \
    -DICON="$here/../tray/pennrack.ico" -DOUTFILE="$work/V212-Setup.exe" "$here/Setup.nsi"
