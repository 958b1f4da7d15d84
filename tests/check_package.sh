#!/usr/bin/env bash
# Builds the Debian package from a build tree, unpacks it into a scratch root and checks
# what a user would get: the files, the menu entry and the software centres' metadata,
# the declared dependencies, that the installed program starts, and that the
# command-line tool and its manual page work.
set -euo pipefail
build=$1
app_id=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work/out" > "$work/cpack.log") || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/out/oskivo_*.deb)
dpkg-deb -x "$deb" "$work/root"
root=$work/root

desktop=usr/share/applications/$app_id.desktop
metainfo=usr/share/metainfo/$app_id.metainfo.xml
expected=(usr/bin/oskivo usr/bin/oskivo-cli usr/share/man/man1/oskivo-cli.1.gz
          usr/share/man/man1/oskivo.1.gz
          "$desktop" "$metainfo" usr/share/icons/hicolor/scalable/apps/oskivo.svg)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("usr/share/icons/hicolor/${size}x${size}/apps/oskivo.png")
done
for f in "${expected[@]}"; do
    [ -f "$root/$f" ] || { echo "missing from the package: $f"; exit 1; }
done
for program in oskivo oskivo-cli; do
    [ -x "$root/usr/bin/$program" ] || { echo "usr/bin/$program is not executable"; exit 1; }
done
unexpected=$(cd "$root" && find . -type f | sed 's|^\./||' | sort | grep -vxF -f <(printf '%s\n' "${expected[@]}") || true)
[ -z "$unexpected" ] || { echo "unexpected files: $unexpected"; exit 1; }

desktop-file-validate --no-hints "$root/$desktop"
grep -qx 'Exec=oskivo %F' "$root/$desktop" || { echo "$desktop does not pass the chosen files"; exit 1; }
appstreamcli validate --no-net "$root/$metainfo"
# The tree as a whole: the metadata's launchable must name the entry that is installed.
appstreamcli validate-tree --no-net "$root"

depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6multimedia6 libqt6multimediawidgets6 libavformat libavcodec \
         libswscale qt6-qpa-plugins qt6-image-formats-plugins gstreamer1.0-libav \
         gstreamer1.0-plugins-good gstreamer1.0-plugins-bad; do
    grep -q "$d" <<<"$depends" || { echo "Depends lacks $d: $depends"; exit 1; }
done
# Debian 13 and later ship the SVG image and icon plug-ins in a package of their own.
if [ "$(. /etc/os-release && echo "${VERSION_ID:-}")" != 12 ]; then
    grep -q qt6-svg-plugins <<<"$depends" || { echo "Depends lacks qt6-svg-plugins: $depends"; exit 1; }
fi
[ "$(dpkg-deb -f "$deb" Architecture)" = "$(dpkg --print-architecture)" ]

for program in oskivo oskivo-cli; do
    if ldd "$root/usr/bin/$program" | grep -q 'not found'; then
        ldd "$root/usr/bin/$program"
        exit 1
    fi
done
# The command-line tool runs where there is no window system.
if ldd "$root/usr/bin/oskivo-cli" | grep -q libQt6Widgets; then
    echo "oskivo-cli links Qt Widgets"
    exit 1
fi
cli() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LC_ALL=C HOME="$work/home" \
        "$root/usr/bin/oskivo-cli" "$@"; }
cli --help > "$work/help.txt" || { cat "$work/help.txt"; echo "oskivo-cli --help failed"; exit 1; }
for option in --output --format --quality --depth --rate --every --keyframes --scenes --start \
              --end --pattern --time-names --subfolder --no-subfolder --writers --json --quiet \
              --help --version; do
    grep -q -- "$option" "$work/help.txt" || { cat "$work/help.txt"; echo "--help lacks $option"; exit 1; }
done
[ "$(cli --version)" = "oskivo-cli $(dpkg-deb -f "$deb" Version)" ] || { cli --version; exit 1; }
if command -v man > /dev/null; then
    warnings=$(MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/oskivo-cli.1.gz" 2>&1 > "$work/man.txt")
    [ -z "$warnings" ] || { echo "the manual page has warnings: $warnings"; exit 1; }
    grep -q 'EXIT STATUS' "$work/man.txt" || { echo "the manual page did not render"; exit 1; }
    warnings=$(MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/oskivo.1.gz" 2>&1 > "$work/man-window.txt")
    [ -z "$warnings" ] || { echo "the window's manual page has warnings: $warnings"; exit 1; }
    grep -q 'KEYS' "$work/man-window.txt" || { echo "the window's manual page did not render"; exit 1; }
fi
# Each page's SEE ALSO names pages the package installs.
for page in "$root"/usr/share/man/man1/*.1.gz; do
    for seen in $(zcat "$page" | sed -n '/^\.SH SEE ALSO/,/^\.SH/p' | sed -n 's/^\.BR \([^ ]*\) (\([0-9]\)).*/\1.\2/p' | sed 's/\\-/-/g'); do
        [ -f "$root/usr/share/man/man${seen##*.}/$seen.gz" ] || { echo "$(basename "$page") refers to $seen, which is not installed"; exit 1; }
    done
done
# Started from the installed path it runs its event loop until stopped; a start-up
# failure ends it early with another status.
set +e
HOME=$work/home QT_QPA_PLATFORM=offscreen timeout 10 "$root/usr/bin/oskivo" > "$work/run.log" 2>&1
status=$?
set -e
[ "$status" -eq 124 ] || { cat "$work/run.log"; echo "oskivo ended with status $status"; exit 1; }
echo "package ok: $(basename "$deb")"
