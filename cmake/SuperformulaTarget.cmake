# What every target of this project is compiled with. All of it is set on the
# target and PRIVATE, so none of it reaches a project that links the texture
# library, through find_package or add_subdirectory alike.

# The flags that define the texture library's results to the last bit: no
# fused multiply-add contraction, and on GCC no SLP vectorisation, which has
# been seen to drop float roundings. Tests and benchmarks carry them too, as
# they recompute library figures in their own code.
set(SUPERFORMULA_EXACT_OPTIONS -ffp-contract=off $<$<CXX_COMPILER_ID:GNU>:-fno-tree-slp-vectorize>)

# AddressSanitizer and UndefinedBehaviorSanitizer, float-cast-overflow
# included (-fsanitize=undefined leaves it out), every report fatal. GCC's
# mismatched-new-delete warning misfires under ASan on a replaced global
# operator new (the allocation-counting tests have one).
set(SUPERFORMULA_SANITIZE_OPTIONS
  -fsanitize=address,undefined -fsanitize=float-cast-overflow
  -fno-sanitize-recover=all -fno-omit-frame-pointer
  $<$<CXX_COMPILER_ID:GNU>:-Wno-mismatched-new-delete>)

# C++17 without GNU extensions, the exact-result flags, -Wall -Wextra, the
# source tree as include root, and the sanitizers when SUPERFORMULA_SANITIZE
# is on.
function(superformula_target target)
  set_target_properties(${target} PROPERTIES
    CXX_STANDARD 17 CXX_STANDARD_REQUIRED ON CXX_EXTENSIONS OFF)
  target_compile_options(${target} PRIVATE -Wall -Wextra ${SUPERFORMULA_EXACT_OPTIONS})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
  if(SUPERFORMULA_SANITIZE)
    target_compile_options(${target} PRIVATE ${SUPERFORMULA_SANITIZE_OPTIONS})
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# A target whose sources hold vector kernels: each kernel is compiled once per
# instruction set (AVX-512 with and without the Ice Lake additions, AVX2,
# SSE4 and plain scalar code, less those below the compiler's baseline) and
# the widest one the processor has is chosen at the first call. SSSE3 adds
# nothing that SSE4 lacks on any processor that has it, so it is not built.
#
# HWY_WANT_AVX3_DL builds the AVX3_DL level (AVX-512 VBMI, VNNI and the
# rest). It also keeps the build whole under a consumer's -march=native on a
# processor that has them: Highway then takes AVX3_DL as the compiler's
# baseline, and without this wish it does not build that level and stops
# with "best baseline should be included in dynamic targets".
function(superformula_simd target)
  target_link_libraries(${target} PRIVATE hwy::hwy)
  target_compile_definitions(${target} PRIVATE HWY_DISABLED_TARGETS=HWY_SSSE3 HWY_WANT_AVX3_DL)
endfunction()
