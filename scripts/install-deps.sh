#!/usr/bin/env bash
# Installs the Debian packages Lumeno builds and tests with, only those that are missing. Idempotent.
#   scripts/install-deps.sh        what `make run` and `make test` need
#   scripts/install-deps.sh apps   that, and LibreOffice Writer, which `make test-apps` checks too (about
#                                  90 MB to fetch)
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config fonts-dejavu-core tzdata
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qcoro-qt6-dev
  libicu-dev libgtest-dev libgmock-dev libbenchmark-dev libcpp-httplib-dev libcld2-dev libx11-dev libxext-dev
  libpulse-dev libpocketsphinx-dev libsphinxbase-dev pocketsphinx pocketsphinx-en-us pocketsphinx-testdata
  dbus at-spi2-core espeak-ng python3-gi gir1.2-gtk-3.0 chromium firefox-esr thunderbird
  # Desktop editors the accessibility tests read and paste into: KWrite (Qt 5) and gedit (GTK 3).
  kwrite gedit
  libxcb1-dev libxcb-xinput-dev libxcb-xtest0-dev libxcb-xkb-dev libxcb-res0-dev libxcb-xfixes0-dev libxcb-damage0-dev xvfb openbox xcompmgr xdotool x11-utils
  trayer pulseaudio pulseaudio-utils xterm x11-xkb-utils
  # A status-notifier tray for the end-to-end tests (about 17 MB to fetch): a watcher and a stand-alone host.
  haskell-status-notifier-item-utils haskell-gtk-sni-tray-utils
  clang libclang-rt-14-dev
  openssl desktop-file-utils libssl-dev libarchive-dev
  # An XFCE desktop for the end-to-end tests: its window manager and panel (both tray kinds at once), mousepad.
  xfwm4 xfce4-panel xfconf mousepad
)
if [ "${1:-}" = apps ]; then
  # LibreOffice is on the accessibility bus only with its GTK 3 front end.
  packages+=(libreoffice-writer libreoffice-gtk3)
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  sudo=(sudo)
fi

echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
