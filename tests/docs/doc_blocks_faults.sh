#!/usr/bin/env bash
# doc_blocks.py fails a page for each kind of fault, naming it, and passes a
# sound one: a command that fails, output that differs, a made file unlike
# its reference, an unmarked block, a shell block called an illustration, a
# file block that would write into the source tree, an unknown covered-by, a
# link or an anchor that leads nowhere.
#
#   doc_blocks_faults.sh DOC_BLOCKS_PY BUILD_DIR
set -euo pipefail
runner=$1 build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/source/docs"
echo same > "$work/source/docs/reference.txt"

status=0
# page NAME: the page docs/NAME.md from standard input.
page() { cat > "$work/source/docs/$1.md"; }
run() {
  python3 "$runner" --source "$work/source" --build "$build" --work "$work/scratch" "$work/source/docs/$1.md" \
    > "$work/output" 2>&1
}
# fails NAME TEXT: the page fails, and its output says TEXT.
fails() {
  if run "$1"; then
    echo "FAIL: page $1 passed"; cat "$work/output"; status=1
  elif ! grep -qF -- "$2" "$work/output"; then
    echo "FAIL: page $1 does not say \"$2\":"; cat "$work/output"; status=1
  fi
}

page sound <<'PAGE'
# Sound

A [reference](reference.txt) and [a heading](#sound).

<!-- doc-test: file made.txt -->
```text
same
```

<!-- doc-test: run compare=made.txt:docs/reference.txt -->
```sh
test -f docs/reference.txt
```

<!-- doc-test: console status=3 -->
```console
$ echo one; echo two >&2; exit 3
one
two
```

<!-- doc-test: illustration -->
```cpp
int x;
```
PAGE
run sound || { echo "FAIL: a sound page failed:"; cat "$work/output"; status=1; }

printf '<!-- doc-test: run -->\n```sh\nfalse\n```\n' | page failing
fails failing "exit status 1, not 0"
printf '<!-- doc-test: console -->\n```console\n$ echo now\nthen\n```\n' | page differing
fails differing "the output differs from the page's"
printf '<!-- doc-test: file made.txt -->\n```text\nother\n```\n<!-- doc-test: run compare=made.txt:docs/reference.txt -->\n```sh\ntrue\n```\n' |
  page unlike
fails unlike "made.txt differs from docs/reference.txt"
printf 'Text.\n\n```sh\ntrue\n```\n' | page unmarked
fails unmarked "without a <!-- doc-test: ... --> marker"
printf '<!-- doc-test: illustration -->\n```sh\nrm -rf /\n```\n' | page hidden
fails hidden "a shell block holds commands"
printf '<!-- doc-test: file docs/evil.txt -->\n```text\nx\n```\n' | page escaping
fails escaping "must lie inside the scratch folder"
[ ! -e "$work/source/docs/evil.txt" ] || { echo "FAIL: a file block wrote into the source tree"; status=1; }
printf '<!-- doc-test: covered-by no_such_test -->\n```sh\ntrue\n```\n' | page uncovered
fails uncovered "covered-by no_such_test: no such test"
printf 'See [nothing](nothing.md).\n' | page dangling
fails dangling "the link nothing.md leads nowhere"
printf '# Top\n\nSee [below](#bottom).\n' | page anchorless
fails anchorless 'has no heading "bottom"'

[ $status -ne 0 ] || echo "doc_blocks.py fails each kind of fault and passes a sound page"
exit $status
