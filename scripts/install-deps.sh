#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build, test and run Oskivo.
# Packages already present are skipped; nothing is installed when all are.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools
    qt6-multimedia-dev libqt6multimediawidgets6
    qt6-svg-dev libqt6svg6
    qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
    qt6-image-formats-plugins qt6-translations-l10n qt6-qpa-plugins
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad gstreamer1.0-libav
    libavformat-dev libavcodec-dev libavutil-dev libswscale-dev ffmpeg
    libavfilter-dev
    fonts-wqy-microhei
    xvfb xauth binutils-mingw-w64-x86-64 desktop-file-utils dpkg-dev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
