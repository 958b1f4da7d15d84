#!/usr/bin/env bash
# Installs the Debian 12 or 13 packages needed to build, test and run Oskivo.
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
    libavfilter-dev libexiv2-dev libturbojpeg0-dev libwebp-dev
    fonts-wqy-microhei
    xvfb xauth binutils-mingw-w64-x86-64 desktop-file-utils appstream man-db dpkg-dev file
)
# Debian 13 moved Qt's SVG image and icon plug-ins out of libqt6svg6. Its Qt plays the
# preview through the FFmpeg plug-in in libqt6multimedia6; Debian 12's through GStreamer.
. /etc/os-release
if [ "${VERSION_ID:-}" != 12 ]; then
    packages+=(qt6-svg-plugins)
fi

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
