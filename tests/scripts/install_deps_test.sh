#!/usr/bin/env bash
# scripts/install-deps.sh run against stub system commands, as root, as a user with sudo, as a
# user whose sudo refuses and as a user without sudo: what it says, what it runs, through what.
# The script sees a PATH of stubs and of the few real tools it needs, so no real sudo, apt-get or
# locale-gen is reachable, and a locale.gen fixture instead of /etc/locale.gen.
# Usage: install_deps_test.sh <path of install-deps.sh>
set -euo pipefail
script=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")  # as the script names itself
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir "$work/tools" "$work/stubs" "$work/sudo"
for tool in bash env grep sed tee true; do ln -s "$(type -P "$tool")" "$work/tools/$tool"; done

# One stub under every name: logs the calls that change the system and answers the others as
# the case sets them (STUB_UID, STUB_MISSING packages, STUB_LOCALES present or missing,
# STUB_SUDO allows or refuses).
cat >"$work/stub" <<'EOF'
#!/usr/bin/env bash
name=${0##*/}
case $name in
    id) echo "$STUB_UID" ;;
    dpkg-query) [[ " $STUB_MISSING " == *" ${!#} "* ]] || printf 'install ok installed' ;;
    locale)
        printf 'C\nC.utf8\nPOSIX\n'
        [ "$STUB_LOCALES" = missing ] || printf 'de_DE.utf8\nen_GB.utf8\n' ;;
    apt-get) echo "apt-get $* [DEBIAN_FRONTEND=${DEBIAN_FRONTEND:-}]" >>"$STUB_LOG" ;;
    locale-gen) echo "locale-gen $*" >>"$STUB_LOG" ;;
    sudo)
        echo "sudo $*" >>"$STUB_LOG"
        if [ "$STUB_SUDO" = refuses ]; then echo "sailor is not in the sudoers file." >&2; exit 1; fi
        exec "$@" ;;
esac
EOF
chmod +x "$work/stub"
for name in id dpkg-query locale apt-get locale-gen; do ln -s ../stub "$work/stubs/$name"; done
ln -s ../stub "$work/sudo/sudo"

gen_before='# de_DE.UTF-8 UTF-8
# en_US.UTF-8 UTF-8'
gen_edited='de_DE.UTF-8 UTF-8
# en_US.UTF-8 UTF-8
en_GB.UTF-8 UTF-8'

failures=0
# check NAME UID SUDO(none|allows|refuses) ARGS MISSING LOCALES(present|missing) STATUS STDOUT
#       STDERR LOG LOCALE_GEN_AFTER; SCRIPT and GEN in the expected texts stand for the paths.
check() {
    local name=$1 uid=$2 sudo=$3 args=$4 missing=$5 locales=$6 status=$7
    local dir="$work/$name" path="$work/stubs:$work/tools" got=0 what
    mkdir "$dir"
    printf '%s\n' "$gen_before" >"$dir/locale.gen"
    [ "$sudo" = none ] || path="$work/sudo:$path"
    local -a words
    read -ra words <<<"$args"
    env -i PATH="$path" HOME="$dir" STUB_LOG="$dir/log" STUB_UID="$uid" STUB_MISSING="$missing" \
        STUB_LOCALES="$locales" STUB_SUDO="$sudo" TIDEWYN_LOCALE_GEN="$dir/locale.gen" \
        "$script" "${words[@]}" >"$dir/stdout" 2>"$dir/stderr" || got=$?
    touch "$dir/log"
    if [ "$got" != "$status" ]; then
        echo "FAIL $name: exit status $got, expected $status"
        failures=$((failures + 1))
    fi
    for what in stdout:8 stderr:9 log:10 locale.gen:11; do
        local file=${what%:*} n=${what#*:}
        local expected=${!n}
        expected=${expected//SCRIPT/$script}
        expected=${expected//GEN/$dir/locale.gen}
        if ! diff -u --label "expected $file" --label "actual $file" \
            <([ -z "$expected" ] || printf '%s\n' "$expected") "$dir/$file"; then
            echo "FAIL $name: $file differs"
            failures=$((failures + 1))
        fi
    done
}

check root_installs_directly 0 none "xvfb x11vnc" "cmake x11vnc" present 0 \
    "Installing: cmake x11vnc" \
    "" \
    "apt-get update [DEBIAN_FRONTEND=noninteractive]
apt-get install -y --no-install-recommends cmake x11vnc [DEBIAN_FRONTEND=noninteractive]" \
    "$gen_before"

check user_installs_with_sudo 1000 allows "poppler-utils" "cmake poppler-utils" present 0 \
    "Installing with sudo: cmake poppler-utils" \
    "" \
    "sudo true
sudo env DEBIAN_FRONTEND=noninteractive apt-get update
apt-get update [DEBIAN_FRONTEND=noninteractive]
sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends cmake poppler-utils
apt-get install -y --no-install-recommends cmake poppler-utils [DEBIAN_FRONTEND=noninteractive]" \
    "$gen_before"

check user_without_sudo_installs_nothing 1000 none "xvfb x11vnc" "x11vnc" missing 1 \
    "" \
    "Not root and sudo is not installed: nothing was installed.
Missing packages: x11vnc
Missing locales: de_DE.UTF-8 en_GB.UTF-8
Run this script as root:
    SCRIPT xvfb x11vnc" \
    "" \
    "$gen_before"

check user_whose_sudo_refuses 1000 refuses "" "cmake" present 1 \
    "Installing with sudo: cmake" \
    "sailor is not in the sudoers file.
sudo did not let this user install: nothing was installed.
Missing packages: cmake
Run this script as root:
    SCRIPT
or install the packages as root with:
    apt-get update && apt-get install -y --no-install-recommends cmake" \
    "sudo true" \
    "$gen_before"

check root_generates_locales 0 none "" "" missing 0 \
    "Generating locales: de_DE.UTF-8 en_GB.UTF-8" \
    "" \
    "locale-gen " \
    "$gen_edited"

check user_generates_locales_with_sudo 1000 allows "" "" missing 0 \
    "Generating locales with sudo: de_DE.UTF-8 en_GB.UTF-8" \
    "" \
    "sudo true
sudo sed -i -E s/^# *(de_DE\.UTF-8 UTF-8)/\1/ GEN
sudo sed -i -E s/^# *(en_GB\.UTF-8 UTF-8)/\1/ GEN
sudo tee -a GEN
sudo locale-gen
locale-gen " \
    "$gen_edited"

# Nothing missing: nothing run, as any user, sudo or not.
for who in "0 none" "1000 allows" "1000 none"; do
    read -r uid sudo <<<"$who"
    check "nothing_missing_uid${uid}_sudo_$sudo" "$uid" "$sudo" "xvfb x11vnc" "" present 0 \
        "" "" "" "$gen_before"
done

if [ "$failures" -gt 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
echo "all cases passed"
