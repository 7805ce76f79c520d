#!/usr/bin/env bash
# The skin build stops with a message naming what is missing: the renderer or a source file.
set -u
generator_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

output=$(python3 "$generator_dir/make_skin.py" --rsvg "$work/no-such-rsvg-convert" \
    --out "$work/out" --work "$work/svg" 2>&1) && fail "built without a renderer"
grep -q "no-such-rsvg-convert not found" <<<"$output" || fail "renderer not named: $output"
[ ! -e "$work/out" ] || fail "wrote images without a renderer"

mkdir "$work/sources"
cp "$generator_dir"/*.py "$work/sources/"
rm "$work/sources/models.py"
output=$(python3 "$work/sources/make_skin.py" --list 2>&1) && fail "listed without models.py"
grep -q "models.py" <<<"$output" || fail "missing source not named: $output"
echo "ok"
