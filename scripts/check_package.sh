#!/usr/bin/env bash
# Checks a built package the way a distribution would, then unpacks it for the tests.
# Usage: scripts/check_package.sh PACKAGE.deb ROOT
#   ROOT receives the unpacked files; the program is then ROOT/usr/bin/pictavo.
set -euo pipefail
deb=${1:?usage: $0 PACKAGE.deb ROOT}
root=${2:?usage: $0 PACKAGE.deb ROOT}
failed=0
check() { # name pattern command...: fails on its exit code or an output line matching pattern
    local name=$1 pattern=$2 out
    shift 2
    if ! out=$("$@" 2>&1); then
        echo "FAIL: $name" >&2
        failed=1
    elif grep -vE "${tolerated:-^$}" <<<"$out" | grep -qE "$pattern"; then
        echo "FAIL: $name reports:" >&2
        failed=1
    fi
    [ -z "$out" ] || printf '%s\n' "$out"
}

# lintian: errors fail, warnings are shown; the others: any remark fails.
check lintian '^E: ' lintian --fail-on error --tag-display-limit 0 "$deb"

rm -rf "$root"
mkdir -p "$root"
dpkg-deb -x "$deb" "$root"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || { echo "FAIL: Depends lacks Qt: $(dpkg-deb -f "$deb" Depends)" >&2; failed=1; }
dpkg-deb -f "$deb" Depends | grep -q 'qt6-translations-l10n' || { echo "FAIL: Depends lacks Qt's translations" >&2; failed=1; }

shopt -s nullglob
desktop=("$root"/usr/share/applications/*.desktop)
metainfo=("$root"/usr/share/metainfo/*.metainfo.xml)
[ ${#desktop[@]} -eq 1 ] && [ ${#metainfo[@]} -eq 1 ] || { echo "FAIL: desktop entry or metainfo missing" >&2; exit 1; }
check desktop-file-validate . desktop-file-validate "${desktop[0]}"
# The screenshot is on the web; the machines that run this may not be.
# AppStream 1.0 (Debian 13 on) calls developer_name deprecated; the <developer> that replaces it
# is an unknown tag to Debian 12's 0.16. The metadata keeps what both read; that remark stays.
tolerated=': (developer-name-tag-deprecated|developer-info-missing)$' \
    check appstreamcli '^[EWIP]: ' appstreamcli validate --pedantic --no-net --no-color "${metainfo[0]}"

# The icon the desktop entry names, in every size, and the private folder's contents.
icon=$(sed -n 's/^Icon=//p' "${desktop[0]}")
for size in 16x16 22x22 24x24 32x32 48x48 64x64 128x128 256x256; do
    png=$root/usr/share/icons/hicolor/$size/apps/$icon.png
    [ "$(identify -format '%wx%h' "$png" 2>/dev/null)" = "$size" ] || { echo "FAIL: icon $png" >&2; failed=1; }
done
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || { echo "FAIL: no scalable icon" >&2; failed=1; }
for file in usr/bin/pictavo usr/libexec/pictavo/libpictavo_jpeg.so usr/libexec/pictavo/pictavo-metafile \
    usr/share/man/man1/pictavo.1.gz usr/share/pictavo/translations/pictavo_{de,fr,es,it,pt_BR,ru,zh_CN,ja}.qm; do
    [ -f "$root/$file" ] || { echo "FAIL: $file is not in the package" >&2; failed=1; }
done
exit $failed
