# Debian packages the build, the tests and the program need.
TORVANIK_PACKAGES=(
    cmake g++ make pkg-config
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-translations-l10n qt6-l10n-tools qt6-wayland libxkbcommon-dev libx11-dev
    xvfb xauth libxtst-dev
    fonts-liberation fontconfig libfreetype-dev libfontconfig-dev
    libxxhash-dev xxhash
    librsvg2-bin desktop-file-utils appstream scdoc man-db dpkg-dev
    mtools python3
)

ensure_packages() {
    local missing=()
    local p
    for p in "${TORVANIK_PACKAGES[@]}"; do
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
