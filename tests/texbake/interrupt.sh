#!/bin/sh
# interrupt.sh TEXBAKE GRAPH
#
# Interrupts a long bake with SIGINT once its temporary output exists:
# texbake must stop, exit 130, say so in one line and leave no file behind.
set -u
texbake=$1 graph=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1

"$texbake" "$graph" -o out.png --width 16384 --height 16384 --extent 64 --threads 1 2> stderr &
bake=$!
# Waits for the bake to have started writing, for 60 s at the most.
tries=0
until ls | grep -q '^out\.png\.tmp-'; do
    tries=$((tries + 1))
    if [ $tries -gt 600 ] || ! kill -0 $bake 2> /dev/null; then
        echo "FAIL: no temporary output appeared"
        exit 1
    fi
    sleep 0.1
done
kill -INT $bake
wait $bake
status=$?

[ $status -eq 130 ] || { echo "FAIL: exit status $status, expected 130"; cat stderr; exit 1; }
[ "$(cat stderr)" = "texbake: interrupted; out.png was not written" ] || { echo "FAIL: stderr"; cat stderr; exit 1; }
[ "$(ls)" = "stderr" ] || { echo "FAIL: files left: $(ls | tr '\n' ' ')"; exit 1; }
echo "interrupted, exit 130, nothing left"
