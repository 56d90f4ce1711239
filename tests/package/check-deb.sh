#!/usr/bin/env bash
# Takes the Debian package apart and checks what a user installs: the files
# and their modes, the dependencies, the programs' --version, the manual
# pages, the desktop entry and metadata, the completion, and lintian.
# usage: tests/package/check-deb.sh radioinfo_<version>_amd64.deb
set -uo pipefail
deb=$1
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
-rw-r--r-- root/root ./usr/share/icons/hicolor/48x48/apps/radioinfo.png
-rw-r--r-- root/root ./usr/share/man/man1/radio-sim.1.gz
-rw-r--r-- root/root ./usr/share/man/man1/radioinfo-cli.1.gz
-rw-r--r-- root/root ./usr/share/man/man1/radioinfo.1.gz
-rw-r--r-- root/root ./usr/share/metainfo/radioinfo.metainfo.xml"
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

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

for program in radioinfo radioinfo-cli radio-sim; do
    shown=$(env -u DISPLAY "$root/usr/bin/$program" --version 2>&1)
    [ "$shown" = "$program $version" ] || fail "$program --version: $shown"
done
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/radioinfo.metainfo.xml" ||
    fail "the metadata's releases lack $version"
zcat "$root/usr/share/doc/radioinfo/changelog.gz" | head -1 | grep -qF "radioinfo ($version)" ||
    fail "the changelog's latest entry is not $version"

for page in "$root"/usr/share/man/man1/*.1.gz; do
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
        man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done

desktop-file-validate "$root/usr/share/applications/radioinfo.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$root/usr/share/metainfo/radioinfo.metainfo.xml" >/dev/null ||
    fail "metadata: $(appstreamcli validate --no-net "$root/usr/share/metainfo/radioinfo.metainfo.xml")"
grep -q '<launchable type="desktop-id">radioinfo.desktop</launchable>' \
    "$root/usr/share/metainfo/radioinfo.metainfo.xml" || fail "metadata names no desktop entry"

completion=$root/usr/share/bash-completion/completions/radioinfo-cli
offered=$(bash -c '. "$1"; COMP_WORDS=(radioinfo-cli --port /dev/null write --s)
    COMP_CWORD=4; _radioinfo_cli; echo "${COMPREPLY[*]}"' - "$completion")
[ "$offered" = "--stock-date --sell-date --seller --stun" ] || fail "completion offers: $offered"

# lintian fails on errors; its warnings are shown, and the ones left are
# explained where the package is described (README).
lintian --fail-on error "$deb" || fail "lintian"

[ "$failures" -eq 0 ] && echo "package checked: $deb"
exit $((failures > 0))
