#!/usr/bin/env bash
# Takes the Debian package apart and checks what a user installs: the files
# and their modes, the dependencies, the licence, the addresses it names, the
# programs' --version and hardening, the manual pages, the desktop entry and
# metadata, the completion, and lintian.
# usage: tests/package/check-deb.sh radioinfo_<version>_amd64.deb
set -uo pipefail
deb=$1
source_root=$(cd "$(dirname "$0")/../.." && pwd)
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

version=$(dpkg-deb -f "$deb" Version)
[ "$(dpkg-deb -f "$deb" Package)" = radioinfo ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Architecture)" = amd64 ] || fail "architecture"
[ "$(basename "$deb")" = "radioinfo_${version}_amd64.deb" ] || fail "file name $(basename "$deb")"

# Files, modes and owners, exactly.
expected="-rwxr-xr-x root/root ./usr/bin/radio-sim
-rwxr-xr-x root/root ./usr/bin/radioinfo
-rwxr-xr-x root/root ./usr/bin/radioinfo-cli
-rw-r--r-- root/root ./usr/share/applications/radioinfo.desktop
-rw-r--r-- root/root ./usr/share/bash-completion/completions/radioinfo-cli
-rw-r--r-- root/root ./usr/share/doc/radioinfo/changelog.gz
-rw-r--r-- root/root ./usr/share/doc/radioinfo/copyright
-rw-r--r-- root/root ./usr/share/icons/hicolor/128x128/apps/radioinfo.png
-rw-r--r-- root/root ./usr/share/icons/hicolor/48x48/apps/radioinfo.png
-rw-r--r-- root/root ./usr/share/icons/hicolor/64x64/apps/radioinfo.png
-rw-r--r-- root/root ./usr/share/icons/hicolor/scalable/apps/radioinfo.svg
-rw-r--r-- root/root ./usr/share/man/man1/radio-sim.1.gz
-rw-r--r-- root/root ./usr/share/man/man1/radioinfo-cli.1.gz
-rw-r--r-- root/root ./usr/share/man/man1/radioinfo.1.gz
-rw-r--r-- root/root ./usr/share/metainfo/org.example.radioinfo.metainfo.xml"
actual=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $1, $2, $6}' | sort -k3)
[ "$actual" = "$expected" ] || fail "contents:"$'\n'"$(diff <(echo "$expected") <(echo "$actual"))"
dpkg-deb -c "$deb" | awk '$1 ~ /^d/ && $1 != "drwxr-xr-x" {print}' | grep . &&
    fail "directories not 0755"

# Libraries as dpkg-shlibdeps found them, and the platform plugin no binary names.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 \
    qt6-qpa-plugins; do
    [[ ", $depends," == *", $package "* || ", $depends," == *", $package,"* ]] ||
        fail "Depends lacks $package: $depends"
done
recommends=$(dpkg-deb -f "$deb" Recommends)
for package in fonts-liberation2 fonts-noto-cjk qt6-translations-l10n qt6-wayland; do
    [[ ", $recommends," == *", $package,"* ]] || fail "Recommends lacks $package: $recommends"
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
metainfo=$root/usr/share/metainfo/org.example.radioinfo.metainfo.xml

for program in radioinfo radioinfo-cli radio-sim; do
    shown=$(env -u DISPLAY "$root/usr/bin/$program" --version 2>&1)
    [ "$shown" = "$program $version" ] || fail "$program --version: $shown"
done
# Debian's hardening: PIE, stack protector, fortified libc calls, RELRO and
# BIND_NOW. Control-flow protection is not among Debian 12's build flags.
hardening-check --nocfprotection "$root"/usr/bin/* || fail "hardening"

# The licence: the machine-readable copyright carries LICENSE's terms word
# for word, and the metadata names it.
copyright=$root/usr/share/doc/radioinfo/copyright
format=https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
head -1 "$copyright" | grep -qxF "Format: $format" || fail "copyright is not in the machine-readable format"
grep -qxF 'License: Expat' "$copyright" || fail "copyright names no Expat licence"
terms=$(awk -v RS= '$0 ~ /^License: Expat\n/' "$copyright" | tail -n +2 | sed 's/^ //; s/^\.$//')
[ "$terms" = "$(sed -n '/^Permission/,$p' "$source_root/LICENSE")" ] ||
    fail "copyright's Expat text differs from LICENSE"
grep -qF '<project_license>MIT</project_license>' "$metainfo" ||
    fail "the metadata's project licence is not MIT"

# No made-up home page, screenshot or mail host: every address the package
# names is its maintainer's, or the copyright format's.
maintainer=$(dpkg-deb -f "$deb" Maintainer)
maintainer_address=$(sed -n 's/.*<\(.*\)>$/\1/p' <<<"$maintainer")
zcat "$root/usr/share/doc/radioinfo/changelog.gz" | sed -n 's/^ -- \(.*\)  .*$/\1/p' | sort -u |
    grep -vxF "$maintainer" && fail "changelog entries not signed by the maintainer $maintainer"
named=$({ dpkg-deb -f "$deb"; find "$root/usr/share" -type f ! -name '*.png' -exec zcat -f {} +; } |
    grep -oE 'https?://[^][:space:]"<>]+|[[:alnum:]._%+-]+@[[:alnum:].-]+' | sort -u)
svg_namespace=http://www.w3.org/2000/svg
for address in $named; do
    [ "$address" = "$maintainer_address" ] || [ "$address" = "$format" ] ||
        [ "$address" = "$svg_namespace" ] || fail "the package names $address"
done

# Each icon is as large as its folder says, and the scalable one is SVG.
for size in 48 64 128; do
    png=$root/usr/share/icons/hicolor/${size}x${size}/apps/radioinfo.png
    shape=$(identify -format '%m %wx%h' "$png" 2>&1)
    [ "$shape" = "PNG ${size}x${size}" ] || fail "icon $png: $shape"
done
grep -q '<svg ' "$root/usr/share/icons/hicolor/scalable/apps/radioinfo.svg" ||
    fail "the scalable icon is no SVG"

grep -q "<release version=\"$version\"" "$metainfo" ||
    fail "the metadata's releases lack $version"
zcat "$root/usr/share/doc/radioinfo/changelog.gz" | head -1 | grep -qF "radioinfo ($version)" ||
    fail "the changelog's latest entry is not $version"

for page in "$root"/usr/share/man/man1/*.1.gz; do
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
        man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done

# Not even a hint.
hints=$(desktop-file-validate "$root/usr/share/applications/radioinfo.desktop" 2>&1) ||
    fail "desktop entry: $hints"
[ -z "$hints" ] || fail "desktop entry: $hints"
# Clean down to the pedantic hints, which --strict lets pass; and the tree as
# a software centre reads it: the metadata's file name, the desktop entry and
# the icons it names.
if ! validation=$(appstreamcli validate --pedantic --strict --no-net "$metainfo" 2>&1) ||
    grep -q '^[EWIP]: ' <<<"$validation"; then
    fail "metadata: $validation"
fi
if ! validation=$(appstreamcli validate-tree --pedantic --strict --no-net "$root" 2>&1) ||
    grep -q '^ *[EWIP]: ' <<<"$validation"; then
    fail "installed tree: $validation"
fi
grep -q '<launchable type="desktop-id">radioinfo.desktop</launchable>' \
    "$metainfo" || fail "metadata names no desktop entry"
grep -q '<icon type="stock">radioinfo</icon>' "$metainfo" ||
    fail "metadata names no icon"

completion=$root/usr/share/bash-completion/completions/radioinfo-cli
offered=$(bash -c '. "$1"; COMP_WORDS=(radioinfo-cli --port /dev/null write --s)
    COMP_CWORD=4; _radioinfo_cli; echo "${COMPREPLY[*]}"' - "$completion")
[ "$offered" = "--stock-date --sell-date --seller --stun" ] || fail "completion offers: $offered"

# lintian, down to its info and pedantic tags, has nothing to say: any tag
# it prints is new, a hardening one included.
report=$(lintian -I --pedantic --fail-on none "$deb" 2>&1) || fail "lintian did not run: $report"
grep -E '^[EWIPX]: ' <<<"$report" && fail "lintian tags the package"

[ "$failures" -eq 0 ] && echo "package checked: $deb"
exit $((failures > 0))
