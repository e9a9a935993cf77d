#!/usr/bin/env bash
# Installs the Debian packages the program, its build and its tests need (only the missing).
set -euo pipefail
source "$(dirname "$0")/common.sh"

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libpq-dev postgresql-15 postgresql-client-15 libicu-dev
  fonts-arphic-uming xauth poppler-utils acl
  libxlsxwriter-dev python3-openpyxl libreoffice-calc-nogui
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  say "installing ${missing[*]}"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
