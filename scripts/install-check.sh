#!/usr/bin/env bash
# Installs Dualvex into a temporary prefix and checks every installed file the
# way a desktop checks it: the desktop entry, the AppStream metainfo, the MIME
# type, the manual page (rendered, and listing every switch of --help) and the
# icons. Then builds the Debian package and looks inside it.
#   scripts/install-check.sh [BUILD_DIR]     (default: build, configured when missing)
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-${DUALVEX_BUILD_DIR:-build}}"

fail() { echo "install check: $*" >&2; exit 1; }
note() { echo "install check: $*"; }

[ -f "$dir/CMakeCache.txt" ] || DUALVEX_BUILD_DIR="$dir" scripts/build.sh -DDUALVEX_BUILD_TESTS=OFF -DDUALVEX_BUILD_BENCH=OFF
cmake --build "$dir" --target dualvex dualvex_dist > /dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
cmake --install "$dir" --prefix "$prefix" > /dev/null
share="$prefix/share"

# --- the program ----------------------------------------------------------------
[ -x "$prefix/bin/dualvex" ] || fail "bin/dualvex missing or not executable"
version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/dualvex" --version)
[[ "$version" =~ ^dualvex\ [0-9.]+\ \(Commit\ [^\)]+\)$ ]] || fail "unexpected --version: $version"
note "$version"

# --- desktop entry --------------------------------------------------------------
shopt -s nullglob
desktops=("$share"/applications/*.desktop)
[ ${#desktops[@]} -eq 1 ] || fail "expected one desktop entry, found ${#desktops[@]}"
desktop="${desktops[0]}"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
app_id=$(basename "$desktop" .desktop)
field() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(field Exec | cut -d' ' -f1)" = dualvex ] || fail "Exec does not start dualvex"
field Exec | grep -q '%F' || fail "Exec does not take the files"
field Categories | grep -q 'Development;' || fail "Categories lacks Development"
field MimeType | grep -q 'text/x-ihex;' || fail "MimeType lacks Intel-HEX"
field MimeType | grep -q 'application/octet-stream;' || fail "MimeType lacks raw binaries"
for key in 'Name' 'Name\[en\]' 'Comment' 'Comment\[en\]'; do
  [ -n "$(field "$key")" ] || fail "desktop entry lacks $key"
done
icon=$(field Icon)

# --- icons ----------------------------------------------------------------------
png_size() { # width and height from the PNG header, "WxH"
  local b; b=($(od -An -tu1 -j16 -N8 "$1"))
  echo "$(( (b[0]<<24) + (b[1]<<16) + (b[2]<<8) + b[3] ))x$(( (b[4]<<24) + (b[5]<<16) + (b[6]<<8) + b[7] ))"
}
svg="$share/icons/hicolor/scalable/apps/$icon.svg"
[ -s "$svg" ] || fail "scalable icon $svg missing"
grep -q '<svg' "$svg" || fail "$svg is no SVG"
for size in 16 22 24 32 48 64 128 256; do
  png="$share/icons/hicolor/${size}x${size}/apps/$icon.png"
  [ -s "$png" ] || fail "icon $png missing"
  [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "$png is no PNG"
  [ "$(png_size "$png")" = "${size}x${size}" ] || fail "$png is $(png_size "$png"), not ${size}x${size}"
done

# --- AppStream metainfo ---------------------------------------------------------
metainfo="$share/metainfo/$app_id.metainfo.xml"
[ -f "$metainfo" ] || fail "metainfo $metainfo missing"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $metainfo"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
  fail "metainfo does not launch $app_id.desktop"

# --- MIME type ------------------------------------------------------------------
mime="$share/mime/packages/dualvex.xml"
[ -f "$mime" ] || fail "MIME package $mime missing"
XDG_DATA_DIRS="$share" update-mime-database "$share/mime" || fail "update-mime-database rejects $mime"
for glob in hex h86 ihx; do
  grep -q "^[0-9]*:text/x-ihex:\*\.$glob$" "$share/mime/globs2" || fail "*.$glob is not Intel-HEX"
done

# --- manual page ----------------------------------------------------------------
man1="$share/man/man1/dualvex.1"
[ -f "$man1" ] || fail "manual page $man1 missing"
LC_ALL=C.UTF-8 MANWIDTH=80 man -l --warnings "$man1" > "$work/man.txt" 2> "$work/man.err" ||
  fail "man cannot render $man1"
[ ! -s "$work/man.err" ] || { cat "$work/man.err" >&2; fail "man warns about $man1"; }
lexgrog "$man1" > /dev/null || fail "whatis cannot read the name section of $man1"
# Every switch that --help lists is in the rendered page.
env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/dualvex" --help | sed -n 's/^  \([^ ]*\).*/\1/p' > "$work/switches"
[ -s "$work/switches" ] || fail "--help lists no switch"
while read -r switch; do
  grep -qF -- "$switch" "$work/man.txt" || fail "the manual page lacks $switch"
done < "$work/switches"

note "installed files are fine"

# --- Debian package -------------------------------------------------------------
(cd "$dir" && cpack -G DEB > "$work/cpack.log" 2>&1) || { cat "$work/cpack.log" >&2; fail "cpack failed"; }
debs=("$dir"/dualvex_*.deb)
[ ${#debs[@]} -ge 1 ] || fail "cpack made no .deb"
deb=$(ls -t "${debs[@]}" | head -n 1)
depends=$(dpkg-deb --field "$deb" Depends)
[[ "$depends" == *libqt6widgets6* ]] || fail "computed dependencies lack Qt: $depends"
dpkg-deb --contents "$deb" > "$work/contents"
for f in ./usr/bin/dualvex "./usr/share/applications/$app_id.desktop" "./usr/share/metainfo/$app_id.metainfo.xml" \
         ./usr/share/man/man1/dualvex.1 ./usr/share/mime/packages/dualvex.xml \
         ./usr/share/icons/hicolor/scalable/apps/dualvex.svg ./usr/share/icons/hicolor/16x16/apps/dualvex.png; do
  grep -q " $f\$" "$work/contents" || fail "$deb lacks $f"
done
note "$deb: Depends: $depends"
