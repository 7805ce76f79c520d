#!/usr/bin/env bash
# Installs the Debian packages listed in tools/debian-packages.txt that are missing.
# As root it runs apt-get itself; otherwise it prints the one command to run.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
missing=()
while read -r pkg; do
    pkg=${pkg%%#*}
    pkg=$(echo "$pkg" | xargs)
    [ -n "$pkg" ] || continue
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$pkg")
done < "$here/debian-packages.txt"
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -eq 0 ]; then
    echo "install-deps: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
    echo "install-deps: missing packages; run:"
    echo "  sudo apt-get install -y ${missing[*]}"
    exit 1
fi
