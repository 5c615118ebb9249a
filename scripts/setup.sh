#!/usr/bin/env bash
# Installs, from Debian's packages, whatever Orvella needs to build, test and run.
# Safe to run again: it only installs packages that are missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools qt6-l10n-tools qt6-translations-l10n
  libicu-dev libsqlite3-dev libical-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 fonts-dejavu-core fonts-noto-color-emoji xvfb xauth
  librsvg2-bin desktop-file-utils appstream
  dbus dunst
  at-spi2-core python3-pyatspi
  python3 radicale
  qtkeychain-qt6-dev gnome-keyring
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}" >&2
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
