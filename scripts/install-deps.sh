#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, when missing.
# Runs as root on Debian 12 without a terminal.
set -euo pipefail

packages=(g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev qt6-pdf-dev fonts-dejavu-core locales tzdata clang-format "$@")

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update
    apt-get install -y --no-install-recommends "${missing[@]}"
fi

# A German and a British locale: the program is tried in both, and one test entry runs in the
# German one (decimal comma).
wanted=()
for loc in de_DE en_GB; do
    locale -a 2>/dev/null | grep -qix "$loc.utf-\?8" || wanted+=("$loc")
done
if [ ${#wanted[@]} -gt 0 ]; then
    for loc in "${wanted[@]}"; do
        sed -i -E "s/^# *($loc\.UTF-8 UTF-8)/\1/" /etc/locale.gen
        grep -q "^$loc\.UTF-8 UTF-8" /etc/locale.gen || echo "$loc.UTF-8 UTF-8" >>/etc/locale.gen
    done
    locale-gen
fi
