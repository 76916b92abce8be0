#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the editor need, when any is missing.
# Quiet on success; uses apt-get as root or through sudo.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config
          qt6-base-dev libgl-dev libgtest-dev libgmock-dev libbenchmark-dev
          fonts-liberation ccache qt6-translations-l10n python3-ezdxf poppler-utils
          clang libfuzzer-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}" >&2
$sudo apt-get update -qq >/dev/null
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
