#!/bin/sh
# symlink_output.sh TEXBAKE GRAPHS
#
# Outputs through symbolic links: "link.png" leads (relatively) to a file in
# another folder that does not exist yet, or that does. texbake must write
# the image at the link's target and keep the link; when interrupted, or
# when the target's disk fills, it must leave nothing: no temporary file
# beside the link or the target, no partial target, the link unchanged.
# The full disk is a 256 KiB tmpfs where mounting works (as root), else a
# file size limit (ulimit -f), which texbake meets as a failed write.
set -u
texbake=$1 graphs=$2
scratch=$(mktemp -d)
small=$scratch/small
cleanup() {
    mountpoint -q "$small" 2> /dev/null && umount "$small"
    rm -rf "$scratch"
}
trap cleanup EXIT
cd "$scratch" || exit 1
mkdir run images

fail() {
    echo "FAIL: $*"
    [ -f stderr ] && cat stderr
    [ -n "${bake:-}" ] && kill -KILL "$bake" 2> /dev/null
    exit 1
}

# Nothing but `expected` in folder $1.
holds() {
    folder=$1
    shift
    found=$(echo $(ls -A "$folder"))
    [ "$found" = "$*" ] || fail "$folder holds: $found; expected: $*"
}

is_png() {
    [ "$(head -c 8 "$1" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] \
        && [ "$(tail -c 8 "$1" | head -c 4)" = IEND ]
}

# A link to a file that does not exist yet, then to one that does.
ln -s ../images/new.png run/link.png
"$texbake" "$graphs/noise.json" -o run/link.png --width 64 --height 64 2> stderr || fail "bake through a dangling link"
[ -L run/link.png ] || fail "the link was replaced"
is_png images/new.png || fail "images/new.png is not a whole PNG"
holds run link.png
holds images new.png
cp images/new.png old.png
"$texbake" "$graphs/marble.json" -o run/link.png --width 64 --height 64 2> stderr || fail "bake through a link"
[ -L run/link.png ] && ! cmp -s images/new.png old.png || fail "the link's target was not replaced"
holds images new.png

# Interrupted while writing through a dangling link.
ln -s ../images/absent.png run/pending.png
"$texbake" "$graphs/costly.json" -o run/pending.png --width 16384 --height 16384 --extent 64 --threads 1 2> stderr &
bake=$!
tries=0
until ls images | grep -q '^absent\.png\.tmp-'; do
    tries=$((tries + 1))
    [ $tries -le 2000 ] || fail "no temporary file beside the link's target"
    sleep 0.01
done
kill -INT $bake
wait $bake
status=$?
bake=
[ $status -eq 130 ] || fail "interrupted: exit status $status, expected 130"
[ "$(cat stderr)" = "texbake: interrupted; run/pending.png was not written" ] || fail "interrupted: stderr"
[ -L run/pending.png ] || fail "interrupted: the link is gone"
holds run link.png pending.png
holds images new.png

# The target's disk fills.
mkdir "$small"
if mount -t tmpfs -o size=256k tmpfs "$small" 2> /dev/null; then
    limit=
    expected="No space left on device"
else
    echo "no tmpfs (mount refused): a file size limit of 256 KiB stands in for a full disk"
    limit=512
    expected="File too large"
fi
ln -s "$small/out.png" run/full.png
( [ -n "$limit" ] && ulimit -f $limit
  exec "$texbake" "$graphs/noise.json" -o run/full.png --width 2048 --height 2048 --extent 512 ) 2> stderr
status=$?
[ $status -eq 1 ] || fail "full disk: exit status $status, expected 1"
grep -q "^texbake: cannot write run/full.png: $expected" stderr || fail "full disk: stderr"
[ -L run/full.png ] || fail "full disk: the link is gone"
holds "$small"
holds run full.png link.png pending.png
echo "links kept; nothing left after an interruption or a full disk"
