#!/bin/sh
# docs_catalogue.sh TEXBAKE PAGE [--update]
#
# The tables of node types in docs/texbake.md are `texbake --list
# --markdown`, between the lines <!-- catalogue --> and <!-- /catalogue -->.
# Passes when they are; with --update, writes them there instead.
set -u
texbake=$1 page=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

"$texbake" --list --markdown > "$scratch/tables" || exit 1
awk -v tables="$scratch/tables" '
    /^<!-- \/catalogue -->$/ { inside = 0 }
    !inside { print }
    /^<!-- catalogue -->$/ { inside = 1; found = 1; while ((getline line < tables) > 0) print line }
    END { if (!found) exit 1 }
' "$page" > "$scratch/page" || { echo "FAIL: $page has no <!-- catalogue --> block"; exit 1; }

if [ "${3:-}" = --update ]; then
    cp "$scratch/page" "$page" && echo "updated $page"
elif ! cmp -s "$scratch/page" "$page"; then
    echo "FAIL: the node tables of $page differ from texbake --list --markdown:"
    diff "$page" "$scratch/page"
    echo "(tests/texbake/docs_catalogue.sh build/bin/texbake docs/texbake.md --update rewrites them)"
    exit 1
fi
echo "the node tables of $page are the catalogue's"
