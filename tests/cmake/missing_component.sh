#!/usr/bin/env bash
# find_package(texture ... COMPONENTS ...) against an installation without
# texture_gl: asking for gl fails naming the component and the Debian
# package its build needed; an unknown component is named as such; graph,
# which is there, is found.
#
#   missing_component.sh PREFIX WORK
set -euo pipefail
prefix=$1 work=$2
rm -rf "$work"
mkdir -p "$work"
cp -r "$prefix" "$work/prefix"
rm "$work/prefix"/lib/cmake/texture/texture_glTargets*.cmake

# configure COMPONENT...: configures a project asking for those components;
# its output is in $output.
configure() {
  local project="$work/project-$*"
  project=${project// /-}
  output="$project/output"
  mkdir -p "$project"
  cat > "$project/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.16)
project(needs LANGUAGES CXX)
find_package(texture 1.0 CONFIG REQUIRED COMPONENTS $*)
CMAKE
  cmake -S "$project" -B "$project/build" -DCMAKE_PREFIX_PATH="$work/prefix" > "$output" 2>&1
}

status=0
expect_refusal() {
  local pattern=$1
  shift
  if configure "$@"; then
    echo "FAIL: COMPONENTS $* was found in an installation without it"
    status=1
  elif ! tr '\n' ' ' < "$output" | tr -s ' ' | grep -q "$pattern"; then
    echo "FAIL: COMPONENTS $*: the message does not say \"$pattern\":"
    cat "$output"
    status=1
  fi
}

expect_refusal "The component gl (texture::texture_gl) is not installed in $work/prefix: the library was built without the OpenGL headers (Debian: libgl-dev)" graph gl
expect_refusal "texture has no component audio: its components are gl and graph" audio
configure graph || { echo "FAIL: COMPONENTS graph, which is installed, was not found"; cat "$output"; status=1; }
[ $status -ne 0 ] || echo "a missing component is named with its package"
exit $status
