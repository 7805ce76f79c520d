#!/usr/bin/env bash
# First start with empty configuration and data folders, in English and in Russian: the
# program settles the language, picks the first model of config.xml (type 101) and creates its
# database with the full schema. A later start keeps a model that is still listed and replaces
# one that is not.
set -euo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

check_start() {
    local locale=$1 expected=$2 home=$work/$1
    mkdir -p "$home/config" "$home/data"
    output=$(env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG="$locale" \
        XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" "$program")
    echo "$output"
    [ "$(cat "$home/config/Talvane/settings.ini")" = $'[Talvane]\nLCID='"$expected"$'\nDeviceType=101' ] ||
        fail "settings.ini for $locale: $(cat "$home/config/Talvane/settings.ini")"
    db=$home/data/Talvane/db/Veyra_data.db
    [ -s "$db" ] || fail "no database at $db"
    tables=$(sqlite3 "$db" "SELECT count(*) FROM sqlite_master WHERE type='table' AND name LIKE 't\_%' ESCAPE '\\'")
    indexes=$(sqlite3 "$db" "SELECT count(*) FROM sqlite_master WHERE type='index'")
    [ "$tables" = 8 ] || fail "$tables tables"
    [ "$indexes" = 7 ] || fail "$indexes indexes"
    case $output in *"opened $db"*) ;; *) fail "the program did not say what it opened" ;; esac
}

check_start en_US.UTF-8 1033
check_start ru_RU.UTF-8 1049

home=$work/en_US.UTF-8
restart() {
    sed -i "s/^DeviceType=.*/DeviceType=$1/" "$home/config/Talvane/settings.ini"
    XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" "$program" >/dev/null
    grep -q "^DeviceType=$2\$" "$home/config/Talvane/settings.ini" || fail "DeviceType $1 became $(grep DeviceType "$home/config/Talvane/settings.ini")"
    [ -s "$home/data/Talvane/db/$3_data.db" ] || fail "no $3 database"
}
restart 102 102 VeyraLite
restart 777 101 Veyra
# With a virtual mouse of its own, the program finds it and reads it into profile 1; the
# virtual mouse quits with the program and leaves no folder behind.
for mode in cable receiver; do
    out=$(XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$work" \
        "$program" --virtual-mouse=$mode)
    echo "$out"
    case $out in *"Read the mouse into profile 1"*) ;; *) fail "no read-back over $mode" ;; esac
done
# Over Bluetooth LE nothing is read back, but the battery comes through the virtual mouse's
# own BlueZ on a bus that goes with it.
out=$(XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$work" \
    "$program" --virtual-mouse=bluetooth)
echo "$out"
case $out in *"Battery: 85%"*) ;; *) fail "no Bluetooth battery" ;; esac
ls -d "$work"/talvane-virtual-mouse-* 2>/dev/null && fail "virtual mouse folder left behind"
# A second copy finds the first one's lock and leaves at once, creating nothing.
held=$(XDG_RUNTIME_DIR="$work" XDG_CONFIG_HOME="$work/second" XDG_DATA_HOME="$work/second" \
    flock -x "$work/Talvane.lock" "$program") || fail "a second copy did not exit 0"
case $held in *"already running"*) ;; *) fail "a second copy did not say so: $held" ;; esac
[ -e "$work/second" ] && fail "a second copy created its folders"
"$program" --virtual-mouse=usb 2>/dev/null && fail "a bad connection name was accepted"
"$program" --version | grep -q '^talvane [0-9]' || fail "--version"
"$program" --help | grep -q -- '-hide' || fail "--help"
echo "program_first_start: ok"
