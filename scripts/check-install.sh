#!/usr/bin/env bash
# Installs the optimised build (build/release, as scripts/test.sh leaves it) into a temporary
# folder, validates the desktop entries and the AppStream metainfo installed there, makes the Debian
# package with CPack and checks that the installation and the package both hold the programs, the
# desktop entry, the reminders' autostart entry, the metainfo and every icon. Prints the installed
# files. Fails, naming the file, when one is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/release
app_id=org.orvella.Orvella

fail() {
  printf 'check-install: %s\n' "$1" >&2
  exit 1
}

[ -f "$build/CMakeCache.txt" ] || fail "$build is not configured: run scripts/test.sh first"
for tool in desktop-file-validate appstreamcli cpack dpkg-deb; do
  command -v "$tool" >/dev/null || fail "$tool is missing: run scripts/setup.sh"
done

# Nothing to do after scripts/test.sh; otherwise brings the programs and icon renderings up to date.
cmake --build "$build" --target orvella orvella-cli orvella-background orvella_icons >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

expected=(
  bin/orvella
  bin/orvella-cli
  libexec/orvella/orvella-background
  "share/applications/$app_id.desktop"
  "share/metainfo/$app_id.metainfo.xml"
  "share/icons/hicolor/scalable/apps/$app_id.svg"
)
for language in de en fr; do
  expected+=("share/orvella/translations/orvella_$language.qm")
done
for size in 16 22 24 32 48 64 128 256 512; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/$app_id.png")
done
# Under the prefix /usr the system's configuration, and so the autostart folder, is /etc.
autostart="etc/xdg/autostart/$app_id.Background.desktop"

# The package installs under /usr; the installation is checked under the same prefix.
root="$work/root"
DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
missing=()
for file in "${expected[@]}"; do
  [ -f "$root/usr/$file" ] || missing+=("$file")
done
[ -f "$root/$autostart" ] || missing+=("/$autostart")
[ ${#missing[@]} -eq 0 ] || fail "the installation lacks: ${missing[*]}"
for program in bin/orvella bin/orvella-cli libexec/orvella/orvella-background; do
  [ -x "$root/usr/$program" ] || fail "$program is installed without execute permission"
done

echo "== installed files (prefix /usr)"
(cd "$root/usr" && find . -type f -printf '%P\n' | sort)
echo "/$autostart"

echo "== desktop-file-validate"
desktop-file-validate "$root/usr/share/applications/$app_id.desktop" || fail "the desktop entry is not valid"
echo "valid: share/applications/$app_id.desktop"
desktop-file-validate "$root/$autostart" || fail "the autostart entry is not valid"
echo "valid: /$autostart"

echo "== appstreamcli validate --no-net"
appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml" ||
  fail "the metainfo is not valid"

echo "== Debian package"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack could not make the Debian package"; }
debs=("$work"/package/orvella_*.deb)
[ -f "${debs[0]}" ] || fail "cpack made no orvella_*.deb"
deb=${debs[0]}
echo "$(basename "$deb"):"
dpkg-deb --field "$deb" Package Version Architecture Depends Recommends
dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./||' >"$work/deb-files"
missing=()
for file in "${expected[@]}"; do
  grep -qxF "usr/$file" "$work/deb-files" || missing+=("usr/$file")
done
grep -qxF "$autostart" "$work/deb-files" || missing+=("$autostart")
[ ${#missing[@]} -eq 0 ] || fail "the package lacks: ${missing[*]}"
echo "holds every expected file:"
grep -v '/$' "$work/deb-files"
