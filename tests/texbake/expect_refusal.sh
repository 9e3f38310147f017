#!/bin/sh
# expect_refusal.sh TEXBAKE STATUS PATTERN ARGUMENT...
#
# Runs TEXBAKE ARGUMENT... in a fresh directory that holds an old out.png.
# Passes when texbake exits with STATUS, prints exactly one line on stderr,
# matching the extended regular expression PATTERN, and leaves the
# directory as it was: no new file, no temporary file, the old out.png
# unchanged.
set -u
texbake=$1 status=$2 pattern=$3
shift 3

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/run"
cd "$scratch/run" || exit 1
printf 'old image' > out.png
ls -A > "$scratch/before"

"$texbake" "$@" 2> "$scratch/stderr"
actual=$?
ls -A > "$scratch/after"

fail() {
    echo "FAIL: $*"
    echo "stderr:"
    cat "$scratch/stderr"
    exit 1
}
[ "$actual" -eq "$status" ] || fail "exit status $actual, expected $status"
[ "$(wc -l < "$scratch/stderr")" -eq 1 ] || fail "expected one line on stderr"
grep -Eq -- "$pattern" "$scratch/stderr" || fail "stderr does not match: $pattern"
cmp -s "$scratch/before" "$scratch/after" || fail "files changed: $(diff "$scratch/before" "$scratch/after" | tr '\n' ' ')"
[ "$(cat out.png)" = 'old image' ] || fail "the old out.png was changed"
echo "refused as expected: $(cat "$scratch/stderr")"
