#!/usr/bin/env bash
# Checks the two Debian packages in a build folder: their names, their dependencies, the
# files each holds, that both programs run from a scratch root they are unpacked into, and
# that lintian finds neither an error nor a warning in them.
# Usage: scripts/lib/check-package.sh BUILD_DIR VERSION-REVISION
set -uo pipefail
build=$1
version=$2
window=$build/torvanik_${version}_amd64.deb
cli=$build/torvanik-cli_${version}_amd64.deb

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
names() {  # names PATTERN TEXT: whether TEXT names PATTERN (an extended regex)
    grep -qE -- "$1" <<<"$2"
}
lacks() {  # lacks PATTERN TEXT
    ! names "$1" "$2"
}
depends_on() {  # depends_on LIBRARY DEPENDS: as dpkg-shlibdeps writes it, with a version
    # where the library's shlibs give one (libnettle8's give none)
    grep -qF -- "$1 (>= " <<<"$2" || names "(^|, )$(sed 's/[+.]/\\&/g' <<<"$1")(,|$)" "$2"
}

check "$window exists" test -f "$window"
check "$cli exists" test -f "$cli"

# The window program's libraries, as dpkg-shlibdeps finds them.
depends=$(dpkg-deb -f "$window" Depends 2>/dev/null)
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libxxhash0 libnettle8 zlib1g; do
    check "torvanik's Depends names $library: $depends" depends_on "$library" "$depends"
done
recommends=$(dpkg-deb -f "$window" Recommends 2>/dev/null)
for package in torvanik-cli qt6-wayland; do
    check "torvanik recommends $package: $recommends" names "(^|, )$package(,|$)" "$recommends"
done

# The terminal program needs no toolkit, no graphics and no fonts.
depends=$(dpkg-deb -f "$cli" Depends 2>/dev/null)
for library in libc6 libstdc++6 libxxhash0 libnettle8 zlib1g; do
    check "torvanik-cli's Depends names $library: $depends" depends_on "$library" "$depends"
done
for library in libqt6 qt6- libgl libegl libx11 libxcb mesa libfreetype libfontconfig fonts-; do
    check "torvanik-cli's Depends names no $library: $depends" lacks "$library" "$depends"
done

files_of() {  # files_of DEB: its paths, one a line, without the leading "."
    dpkg-deb -c "$1" 2>/dev/null | awk '{print substr($6, 2)}'
}
window_files=$(files_of "$window")
for file in \
    /usr/bin/torvanik \
    /usr/share/applications/io.github.torvanik.Torvanik.desktop \
    /usr/share/metainfo/io.github.torvanik.Torvanik.metainfo.xml \
    /usr/share/icons/hicolor/16x16/apps/torvanik.png \
    /usr/share/icons/hicolor/32x32/apps/torvanik.png \
    /usr/share/icons/hicolor/48x48/apps/torvanik.png \
    /usr/share/icons/hicolor/64x64/apps/torvanik.png \
    /usr/share/icons/hicolor/128x128/apps/torvanik.png \
    /usr/share/icons/hicolor/scalable/apps/torvanik.svg \
    /usr/share/man/man1/torvanik.1.gz \
    /usr/share/doc/torvanik/copyright \
    /usr/share/doc/torvanik/changelog.gz \
    /usr/share/doc/torvanik/changelog.Debian.gz \
    /usr/share/doc/torvanik/README.md.gz; do
    check "torvanik holds $file" grep -qx -- "$file" <<<"$window_files"
done
cli_files=$(files_of "$cli")
for file in \
    /usr/bin/torvanik-cli \
    /usr/share/man/man1/torvanik-cli.1.gz \
    /usr/share/bash-completion/completions/torvanik-cli \
    /usr/share/doc/torvanik-cli/copyright \
    /usr/share/doc/torvanik-cli/changelog.gz \
    /usr/share/doc/torvanik-cli/changelog.Debian.gz; do
    check "torvanik-cli holds $file" grep -qx -- "$file" <<<"$cli_files"
done
check "torvanik holds nothing of torvanik-cli" lacks "torvanik-cli" "$window_files"
check "torvanik-cli holds nothing of the window" \
    lacks "/usr/bin/torvanik$|applications|metainfo|icons|man1/torvanik\.1" "$cli_files"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
unpack() {
    dpkg -x "$window" "$root" && dpkg -x "$cli" "$root"
}
check "dpkg -x unpacks both packages" unpack
check "torvanik --version from the unpacked packages" \
    grep -q "${version%-*}" <(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/torvanik" --version)
check "torvanik-cli --version from the unpacked packages" \
    grep -q "${version%-*}" <("$root/usr/bin/torvanik-cli" --version)
check "man formats the unpacked torvanik(1)" \
    grep -q torvanik-cli <(MANWIDTH=80 man -l "$root/usr/share/man/man1/torvanik.1.gz" 2>/dev/null)

# Every tag, the pedantic and experimental ones too, is shown; an error or a warning fails.
lintian_says=$(lintian -EvIL +pedantic --fail-on error,warning "$window" "$cli" 2>&1)
check "lintian finds no error or warning:
$lintian_says" test $? -eq 0
echo "$lintian_says" | grep -E '^[A-Z]: ' || true

echo "packages: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
