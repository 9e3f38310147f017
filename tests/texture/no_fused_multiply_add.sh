#!/bin/sh
# The texture library holds no fused multiply-add, in its vector kernels for
# AVX2 and AVX-512 (whose instruction sets have it) as anywhere else: every
# product is rounded before the sum, as in the scalar code on any processor.
#
#   no_fused_multiply_add.sh LIBRARY
set -eu
library=$1
listing=$(objdump -d --no-show-raw-insn "$library")

# The check means something only where the wide kernels were compiled.
for register in ymm zmm; do
  if ! printf '%s\n' "$listing" | grep -q "%$register"; then
    echo "no code using $register in $library: the kernels for it are missing" >&2
    exit 1
  fi
done

fused=$(printf '%s\n' "$listing" | grep -E '[[:space:]]vfn?m(add|sub|addsub|subadd)[0-9]*[ps][sd][[:space:]]' || true)
if [ -n "$fused" ]; then
  echo "fused multiply-add in $library:" >&2
  printf '%s\n' "$fused" | head -20 >&2
  exit 1
fi
echo "no fused multiply-add among $(printf '%s\n' "$listing" | grep -c '%[yz]mm') instructions on ymm and zmm registers"
