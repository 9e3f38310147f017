#!/bin/sh
# readme_catalogue.sh TEXBAKE README [--update]
#
# The README's tables of node types are `texbake --list --markdown`, between
# the lines <!-- catalogue --> and <!-- /catalogue -->. Passes when they
# are; with --update, writes them there instead.
set -u
texbake=$1 readme=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

"$texbake" --list --markdown > "$scratch/tables" || exit 1
awk -v tables="$scratch/tables" '
    /^<!-- \/catalogue -->$/ { inside = 0 }
    !inside { print }
    /^<!-- catalogue -->$/ { inside = 1; found = 1; while ((getline line < tables) > 0) print line }
    END { if (!found) exit 1 }
' "$readme" > "$scratch/readme" || { echo "FAIL: $readme has no <!-- catalogue --> block"; exit 1; }

if [ "${3:-}" = --update ]; then
    cp "$scratch/readme" "$readme" && echo "updated $readme"
elif ! cmp -s "$scratch/readme" "$readme"; then
    echo "FAIL: the README's node tables differ from texbake --list --markdown:"
    diff "$readme" "$scratch/readme"
    echo "(tests/texbake/readme_catalogue.sh build/bin/texbake README.md --update rewrites them)"
    exit 1
fi
echo "the README's node tables are the catalogue's"
