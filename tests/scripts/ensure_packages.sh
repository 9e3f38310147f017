#!/usr/bin/env bash
# scripts/common.sh's ensure_packages for a user who is not root, with
# stand-ins for id, dpkg-query, sudo and apt-get that log what they are
# asked: on a terminal sudo -v decides; a user sudo refuses gets the
# apt-get line to run as root and exit status 1, and nothing is installed;
# without a terminal sudo is not asked at all.
#
#   ensure_packages.sh SOURCE_DIR
set -euo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
log="$work/log"

stand_in() {
  printf '#!/bin/sh\n%s\n' "$2" > "$work/bin/$1"
  chmod +x "$work/bin/$1"
}
stand_in id 'echo 1000'
stand_in dpkg-query 'exit 1'
stand_in apt-get "echo \"apt-get \$*\" >> $log"
# SUDO_LETS_IN: whether sudo -v succeeds; sudo -n always wants a password.
stand_in sudo "echo \"sudo \$*\" >> $log
case \$1 in
  -n) exit 1 ;;
  -v) [ \"\$SUDO_LETS_IN\" = yes ] && exit 0; echo 'Sorry, user may not run sudo.' >&2; exit 1 ;;
esac
\"\$@\""

# ensure STDIN_KIND SUDO_LETS_IN: runs ensure_packages foo-dev bar-dev,
# its output in $work/output, its status in $result.
ensure() {
  : > "$log"
  local command="PATH='$work/bin':\$PATH SUDO_LETS_IN=$2 bash -c 'source \"$source_dir/scripts/common.sh\"; ensure_packages foo-dev bar-dev'"
  set +e
  if [ "$1" = terminal ]; then
    # script gives the command a terminal and exits with its status.
    script -qec "$command" /dev/null > "$work/output" 2>&1 < /dev/null
  else
    bash -c "$command" > "$work/output" 2>&1 < /dev/null
  fi
  result=$?
  set -e
}

status=0
fail() { echo "FAIL: $1"; echo "--- output:"; cat "$work/output"; echo "--- log:"; cat "$log"; status=1; }
line="apt-get update && apt-get install --no-install-recommends foo-dev bar-dev"

ensure terminal no
[ $result -eq 1 ] || fail "a terminal user sudo refuses: status $result, not 1"
grep -qF "$line" "$work/output" || fail "a terminal user sudo refuses is not told the apt-get line"
grep -q '^sudo -v' "$log" || fail "on a terminal sudo -v was not tried"
! grep -q '^apt-get' "$log" || fail "apt-get ran for a user sudo refuses"

ensure terminal yes
[ $result -eq 0 ] || fail "a terminal user sudo lets in: status $result, not 0"
grep -q '^sudo env DEBIAN_FRONTEND=noninteractive apt-get install .*foo-dev bar-dev' "$log" ||
  fail "a terminal user sudo lets in: the packages were not installed through sudo"

ensure none yes
[ $result -eq 1 ] || fail "no terminal, sudo wants a password: status $result, not 1"
grep -qF "$line" "$work/output" || fail "no terminal: the apt-get line is not told"
! grep -q '^sudo -v' "$log" || fail "without a terminal sudo -v was asked"

[ $status -ne 0 ] || echo "ensure_packages installs through sudo where it may and otherwise tells what to run"
exit $status
