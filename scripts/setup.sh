#!/usr/bin/env bash
# Installs what building and testing Furrow needs on Debian 12 and fetches the bundled fonts,
# icons and word list through npm; skips what is present.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    build-essential cmake ninja-build pkg-config git
    qt6-base-dev qt6-svg-dev libgl-dev
    libsqlite3-dev nlohmann-json3-dev libssl-dev libcpp-httplib-dev libboost-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    libxcb1-dev libxcb-xfixes0-dev
    python3 python3-cryptography xvfb xauth xdotool dbus trayer openbox dunst clang-format
    clang libclang-rt-14-dev
    scdoc groff-base dpkg-dev file lintian appstream desktop-file-utils
)
# node and npm fetch the fonts, icons and word list; any recent installation will do.
command -v npm >/dev/null || packages+=(nodejs npm)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]})); then
    sudo=""
    if [[ $(id -u) -ne 0 ]]; then
        command -v sudo >/dev/null || { echo "setup: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
        sudo="sudo"
    fi
    echo "setup: installing ${missing[*]}"
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Fonts (SIL OFL), icons (MIT) and the EFF word list at the exact versions of
# third_party/package-lock.json.
assets=third_party
if [[ ! "$assets/node_modules/.package-lock.json" -nt "$assets/package-lock.json" ]]; then
    echo "setup: fetching fonts, icons and word list"
    npm ci --prefix "$assets" --ignore-scripts --no-audit --no-fund --loglevel=error
fi
