# Debian packages the program needs to be built and to run.
TORVANIK_PROGRAM_PACKAGES=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-translations-l10n qt6-l10n-tools qt6-wayland libxkbcommon-dev libx11-dev
    fonts-liberation fontconfig libfreetype-dev libfontconfig-dev
    libxxhash-dev nettle-dev zlib1g-dev
    librsvg2-bin scdoc
    mtools
    python3
)

# What the tests, the benchmarks and the package's checks need on top of those.
TORVANIK_TEST_PACKAGES=(
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth libxtst-dev
    desktop-file-utils appstream man-db dpkg-dev lintian locales
    xxhash par2
    at-spi2-core python3-pyatspi dbus
)

# ensure_packages PACKAGE...: installs those that are missing.
ensure_packages() {
    local missing=()
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}
