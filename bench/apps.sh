#!/usr/bin/env bash
# Checks Lumeno against a Qt 5 window on a private X server with the accessibility bus (and how often Qt 5
# joins the bus). Installs PyQt 5 when missing (large: not part of `make test`), builds the check and prints
# what works. The desktop's editors are checked by `make test-apps`.
#   bench/apps.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"

packages=(python3-pyqt5)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

cmake --build "$build" --target lumeno_apps_check
LUMENO_RUNNING_TESTS=1 "$build/bench/lumeno_apps_check" 2>&1 |
  grep -E '^\[(check|  FAILED|       OK|  PASSED)|Failure|never showed|not installed' || true
