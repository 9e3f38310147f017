#!/bin/sh
# tile_stitch.sh TEXBAKE STITCH GRAPHS
#
# Bakes images whole and as tiles with --region, four processes at a time
# as the README shows, stitches the tiles and compares the result with the
# whole bake byte for byte; then checks that the stitch refuses a gap and
# an overlap.
set -eu
texbake=$1 stitch=$2 graphs=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"

# split GRAPH TILE GRID-OPTION...: bakes GRAPH whole and in TILE x TILE
# tiles (smaller at the right and bottom edges) of a 300 x 200 grid.
split() {
    graph=$1 tile=$2
    shift 2
    rm -rf tiles && mkdir tiles
    "$texbake" "$graph" --width 300 --height 200 "$@" -q -o whole.ppm
    cat > bake-tile <<SCRIPT
x=\$1 y=\$2
w=\$(( 300 - x < $tile ? 300 - x : $tile ))
h=\$(( 200 - y < $tile ? 200 - y : $tile ))
exec "$texbake" "$graph" --width 300 --height 200 $* -q --region \$x \$y \$w \$h -o tiles/tile-\$x-\$y.ppm
SCRIPT
    for y in $(seq 0 "$tile" 199); do
        for x in $(seq 0 "$tile" 299); do echo "$x $y"; done
    done | xargs -P 4 -n 2 sh bake-tile
    "$stitch" stitched.ppm tiles/*.ppm
    cmp whole.ppm stitched.ppm
    echo "stitched $(ls tiles | wc -l) tiles of $graph $*: identical to the whole bake"
}

split "$graphs/marble.json" 128 --extent 3 --origin -1 0.5 --threads 2
split "$graphs/noise.json" 64 --grid sphere --radius 2 --depth 16 --threads 2

# A missing tile leaves a gap; a tile twice over, an overlap. Neither
# leaves an output behind.
mv tiles/tile-64-64.ppm spare.ppm
if "$stitch" gap.ppm tiles/*.ppm 2> message; then exit 1; fi
grep -q "leaves a gap before column 64 of row 64" message
cp spare.ppm tiles/tile-64-64.ppm
cp spare.ppm tiles/tile-60-64.ppm
if "$stitch" overlap.ppm tiles/*.ppm 2> message; then exit 1; fi
grep -q "overlaps column 64 of row 64" message
[ ! -e gap.ppm ] && [ ! -e overlap.ppm ] && [ -z "$(ls | grep tmp)" ]
echo "gap and overlap refused"
