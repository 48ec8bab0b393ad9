#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, when missing, and the
# two locales. Extra packages are given as arguments. Runs on Debian 12: as root directly and
# without a terminal; as another user through sudo, which asks for the password at a terminal
# unless it needs none; without sudo, or when sudo refuses, it names what is missing and fails.
set -euo pipefail

packages=(g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev qt6-pdf-dev fonts-dejavu-core locales tzdata clang-format "$@")

missing=()
for p in "${packages[@]}"; do
    # Read whole before matching: under pipefail an early `grep -q` can fail the writer.
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ $status == *"install ok installed"* ]] || missing+=("$p")
done

# A German and a British locale: the program is tried in both, and one test entry runs in the
# German one (decimal comma).
wanted=()
present=$(locale -a 2>/dev/null || true)
for loc in de_DE en_GB; do
    grep -qix "$loc.utf-\?8" <<<"$present" || wanted+=("$loc")
done

if [ ${#missing[@]} -eq 0 ] && [ ${#wanted[@]} -eq 0 ]; then exit 0; fi

# Why nothing can be installed, what is missing and what to run as root instead, on stderr.
script_args=("$@")
tell_root_command() {
    local folder=${0%/*}
    [ "$folder" != "$0" ] || folder=.
    local again
    again=$(cd "$folder" && pwd)/${0##*/}
    [ ${#script_args[@]} -eq 0 ] || again+=$(printf ' %q' "${script_args[@]}")
    {
        echo "$1"
        [ ${#missing[@]} -eq 0 ] || echo "Missing packages: ${missing[*]}"
        [ ${#wanted[@]} -eq 0 ] || echo "Missing locales: ${wanted[*]/%/.UTF-8}"
        echo "Run this script as root:"
        echo "    $again"
        if [ ${#missing[@]} -gt 0 ] && [ ${#wanted[@]} -eq 0 ]; then
            echo "or install the packages as root with:"
            echo "    apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
        fi
    } >&2
}

if [ "$(id -u)" = 0 ]; then
    use_sudo=0
    note=""
elif command -v sudo >/dev/null; then
    use_sudo=1
    note=" with sudo"
else
    tell_root_command "Not root and sudo is not installed: nothing was installed."
    exit 1
fi

# Runs a command as root. The first time through sudo, sudo is tried on its own, so that a
# sudo that refuses (no rights, no password without a terminal) says what to run instead; a
# command that fails after that stops the script with its own message, as it does for root.
sudo_tried=0
as_root() {
    if [ "$use_sudo" = 0 ]; then
        "$@"
        return
    fi
    if [ "$sudo_tried" = 0 ]; then
        if ! sudo true; then
            tell_root_command "sudo did not let this user install: nothing was installed."
            exit 1
        fi
        sudo_tried=1
    fi
    sudo "$@"
}

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing$note: ${missing[*]}"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The file is overridable for tests.
locale_gen=${TIDEWYN_LOCALE_GEN:-/etc/locale.gen}
if [ ${#wanted[@]} -gt 0 ]; then
    echo "Generating locales$note: ${wanted[*]/%/.UTF-8}"
    for loc in "${wanted[@]}"; do
        as_root sed -i -E "s/^# *($loc\.UTF-8 UTF-8)/\1/" "$locale_gen"
        grep -q "^$loc\.UTF-8 UTF-8" "$locale_gen" 2>/dev/null ||
            echo "$loc.UTF-8 UTF-8" | as_root tee -a "$locale_gen" >/dev/null
    done
    as_root locale-gen
fi
