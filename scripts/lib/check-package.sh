#!/usr/bin/env bash
# Checks the Debian package in a build folder: its name, its dependencies, its files,
# and that both programs run from a scratch root it is unpacked into.
# Usage: scripts/lib/check-package.sh BUILD_DIR VERSION
set -uo pipefail
build=$1
version=$2
deb=$build/torvanik_${version}_amd64.deb

passed=0
failed=0
check() {  # check DESCRIPTION COMMAND...
    local description=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        echo "FAILED: $description"
        failed=$((failed + 1))
    fi
}

check "$deb exists" test -f "$deb"

depends=$(dpkg-deb -f "$deb" Depends 2>/dev/null)
for library in libc6 libstdc++6 libqt6widgets6 libfreetype6 libfontconfig1; do
    check "Depends names $library (from dpkg-shlibdeps): $depends" \
        grep -q "\b$library (>= " <<<"$depends"
done

contents=$(dpkg-deb -c "$deb" 2>/dev/null | awk '{print $6}')
for file in \
    usr/bin/torvanik \
    usr/bin/torvanik-cli \
    usr/share/applications/io.github.torvanik.Torvanik.desktop \
    usr/share/metainfo/io.github.torvanik.Torvanik.metainfo.xml \
    usr/share/icons/hicolor/16x16/apps/torvanik.png \
    usr/share/icons/hicolor/32x32/apps/torvanik.png \
    usr/share/icons/hicolor/48x48/apps/torvanik.png \
    usr/share/icons/hicolor/64x64/apps/torvanik.png \
    usr/share/icons/hicolor/128x128/apps/torvanik.png \
    usr/share/icons/hicolor/scalable/apps/torvanik.svg \
    usr/share/man/man1/torvanik.1.gz \
    usr/share/man/man1/torvanik-cli.1.gz \
    usr/share/bash-completion/completions/torvanik-cli \
    usr/share/doc/torvanik/copyright \
    usr/share/doc/torvanik/CHANGELOG.md; do
    check "the package holds /$file" grep -qx "\./$file" <<<"$contents"
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
check "dpkg -x unpacks the package" dpkg -x "$deb" "$root"
check "torvanik --version from the unpacked package" \
    grep -q "$version" <(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/torvanik" --version)
check "torvanik-cli --version from the unpacked package" \
    grep -q "$version" <("$root/usr/bin/torvanik-cli" --version)
check "man formats the unpacked torvanik(1)" \
    grep -q torvanik-cli <(MANWIDTH=80 man -l "$root/usr/share/man/man1/torvanik.1.gz" 2>/dev/null)

echo "package: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
