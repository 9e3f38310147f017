#!/bin/sh
# interrupt.sh TEXBAKE GRAPH        a bake, interrupted twice over
# interrupt.sh TEXBAKE --stdin      a wait for the graph on standard input
#
# Signals texbake once it has installed its handlers: during a bake of GRAPH
# (whose every sample is costly) once its temporary output exists, SIGINT
# and at once SIGTERM; or SIGINT while it waits for a graph on standard
# input that never comes. texbake must stop promptly, exit 130 (the first
# signal), say so in one line and leave no file behind. It is given 20 s.
set -u
texbake=$1 graph=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1

fail() {
    echo "FAIL: $*"
    [ -f stderr ] && cat stderr
    kill -KILL "$bake" 2> /dev/null
    exit 1
}

# True once texbake has ended (a zombie until it is waited for).
ended() {
    ! [ -e "/proc/$bake" ] || grep -q '^[0-9]* (texbake) Z' "/proc/$bake/stat" 2> /dev/null
}

# Waits, for 20 s at the most, until the command succeeds.
await() {
    tries=0
    until "$@"; do
        tries=$((tries + 1))
        [ $tries -le 2000 ] || return 1
        sleep 0.01
    done
}

# texbake catches SIGINT (bit 2) and SIGTERM (bit 15) once SigCgt says so.
catches() {
    mask=$(sed -n 's/^SigCgt:[[:space:]]*//p' "/proc/$bake/status" 2> /dev/null)
    [ -n "$mask" ] && [ $((0x$mask & 0x4002)) -eq $((0x4002)) ]
}
writing() {
    ls | grep -q '^out\.png\.tmp-'
}

if [ "$graph" = --stdin ]; then
    mkfifo input
    "$texbake" - -o out.png < input 2> stderr &
    bake=$!
    # Held open and silent: the read can only end by the signal.
    exec 3> input
    await catches || fail "texbake did not start"
    kill -INT $bake
else
    "$texbake" "$graph" -o out.png --width 16384 --height 16384 --extent 64 --threads 1 2> stderr &
    bake=$!
    await writing || fail "no temporary output appeared"
    await catches || fail "texbake does not catch the signals"
    kill -INT $bake
    kill -TERM $bake
fi
start=$(date +%s%N)
await ended || fail "still running 20 s after the signal"
wait $bake
status=$?
stopped=$((($(date +%s%N) - start) / 1000000))
exec 3>&-

[ $status -eq 130 ] || fail "exit status $status, expected 130"
[ "$(cat stderr)" = "texbake: interrupted; out.png was not written" ] || fail "stderr"
[ "$(ls | grep -v -e '^stderr$' -e '^input$')" = "" ] || fail "files left: $(ls | tr '\n' ' ')"
echo "interrupted, stopped within $stopped ms, exit 130, nothing left"
