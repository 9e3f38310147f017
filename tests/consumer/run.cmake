# Builds and runs the consumer project beside this file against the texture
# library in one of the forms another project uses it:
#   FORM=package       the library configured on its own (library only) with
#                      texbake and with Qt out of reach, installed under
#                      WORK/prefix, found with find_package(texture CONFIG);
#                      then the same sources compiled by hand with the flags
#                      of the .pc files; and the installed texbake bakes a
#                      gallery image byte for byte
#   FORM=subdirectory  the source tree added with add_subdirectory(), and so
#                      compiled with the consumer's flags: once per flag set
#                      below that the compiler takes. Each build that this
#                      processor can run is run, and all of them must print
#                      the same bytes.
#
#   cmake -DFORM=package -DSOURCE=<tree> -DWORK=<dir> [-DGENERATOR=..] [-DCXX=..] [-DLAUNCHER=ccache] -P run.cmake
cmake_minimum_required(VERSION 3.16)

set(consumer ${SOURCE}/tests/consumer)
set(generator_args)
if(GENERATOR)
  set(generator_args -G ${GENERATOR})
endif()
set(compiler_args)
if(CXX)
  set(compiler_args -DCMAKE_CXX_COMPILER=${CXX})
else()
  set(CXX c++)
endif()
if(LAUNCHER)
  list(APPEND compiler_args -DCMAKE_CXX_COMPILER_LAUNCHER=${LAUNCHER})
endif()

function(step)
  string(REPLACE ";" " " shown "${ARGN}")
  message(STATUS "${shown}")
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed (${result}): ${shown}")
  endif()
endfunction()

# The consumer's own flags: name, compiler flags, GNU extensions. The first
# builds every consumer program; the others build the library and main.cpp
# alone, which is what their flags can change. -march=sapphirerapids makes
# AVX-512 with VBMI, VNNI, BF16 and FP16 the baseline on any machine, as
# -march=native does on such a processor.
set(flag_sets
  "native;-O3 -march=native;ON"
  "baseline-O0;-O0;OFF"
  "x86-64-v2-O1;-O1 -march=x86-64-v2;ON"
  "x86-64-v3-O2;-O2 -march=x86-64-v3;OFF"
  "x86-64-v4-O3;-O3 -march=x86-64-v4;ON"
  "sapphirerapids-O2;-O2 -march=sapphirerapids;OFF")

# Builds the consumer with one flag set under WORK/<name> and, where this
# processor can run it, runs it into WORK/<name>.out; `ran` says whether it
# did.
function(consumer_with_flags name flags extensions targets ran)
  set(${ran} OFF PARENT_SCOPE)
  set(dir ${WORK}/${name})
  file(MAKE_DIRECTORY ${dir})
  separate_arguments(flag_list UNIX_COMMAND "${flags}")
  execute_process(COMMAND ${CXX} ${flag_list} ${consumer}/cpu_probe.cpp -o ${dir}/cpu_probe
    RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
  if(NOT result EQUAL 0)
    message(STATUS "${name}: not built, ${CXX} does not take ${flags}")
    return()
  endif()
  step(${CMAKE_COMMAND} -S ${consumer} -B ${dir} ${generator_args} ${compiler_args}
    -DTEXTURE_SOURCE_DIR=${SOURCE} -DCMAKE_BUILD_TYPE=None "-DCONSUMER_CXX_FLAGS=${flags}"
    -DCONSUMER_CXX_EXTENSIONS=${extensions})
  set(target_args)
  foreach(target ${targets})
    list(APPEND target_args --target ${target})
  endforeach()
  step(${CMAKE_COMMAND} --build ${dir} --parallel 2 ${target_args})
  execute_process(COMMAND ${dir}/cpu_probe RESULT_VARIABLE runnable OUTPUT_VARIABLE lacking)
  if(NOT runnable EQUAL 0)
    string(REPLACE "\n" " " lacking "${lacking}")
    message(STATUS "${name}: built, not run: this processor ${lacking}")
    return()
  endif()
  execute_process(COMMAND ${dir}/texture_consumer RESULT_VARIABLE result OUTPUT_FILE ${WORK}/${name}.out)
  file(READ ${WORK}/${name}.out printed)
  message(STATUS "${name} (${flags}):\n${printed}")
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${name}: texture_consumer failed (${result})")
  endif()
  set(${ran} ON PARENT_SCOPE)
endfunction()

if(FORM STREQUAL "subdirectory")
  set(first)
  set(runs 0)
  list(LENGTH flag_sets count)
  math(EXPR last "${count} / 3 - 1")
  foreach(i RANGE ${last})
    math(EXPR at "${i} * 3")
    list(SUBLIST flag_sets ${at} 3 flag_set)
    list(GET flag_set 0 name)
    list(GET flag_set 1 flags)
    list(GET flag_set 2 extensions)
    if(i EQUAL 0)
      set(targets texture_consumer texture_gl_consumer texture_graph_consumer)
    else()
      set(targets texture_consumer)
    endif()
    consumer_with_flags(${name} "${flags}" ${extensions} "${targets}" ran)
    if(i EQUAL 0 AND ran)
      step(${WORK}/${name}/texture_gl_consumer)
      step(${WORK}/${name}/texture_graph_consumer ${SOURCE}/docs/gallery/world_background.json)
    endif()
    if(NOT ran)
      continue()
    endif()
    math(EXPR runs "${runs} + 1")
    if(NOT first)
      set(first ${name})
    else()
      execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/${first}.out ${WORK}/${name}.out
        RESULT_VARIABLE different)
      if(different)
        message(FATAL_ERROR "${name} printed other bytes than ${first}: see ${WORK}/${first}.out, ${WORK}/${name}.out")
      endif()
    endif()
  endforeach()
  if(runs LESS 2)
    message(FATAL_ERROR "only ${runs} of the flag sets ran here: nothing to compare")
  endif()
  message(STATUS "${runs} builds ran, every one printed the same bytes")
  return()
endif()

if(NOT FORM STREQUAL "package")
  message(FATAL_ERROR "FORM must be package or subdirectory, not '${FORM}'")
endif()

# texbake needs no Qt: a configure that may not find it still builds it.
step(${CMAKE_COMMAND} -S ${SOURCE} -B ${WORK}/library ${generator_args} ${compiler_args}
  -DCMAKE_BUILD_TYPE=Release -DSUPERFORMULA_LIBRARY_ONLY=ON -DCMAKE_INSTALL_PREFIX=${WORK}/prefix
  -DSUPERFORMULA_TEXBAKE=ON -DCMAKE_DISABLE_FIND_PACKAGE_Qt5=ON -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON)
step(${CMAKE_COMMAND} --build ${WORK}/library --parallel 2)
file(REMOVE_RECURSE ${WORK}/prefix)
step(${CMAKE_COMMAND} --install ${WORK}/library)
step(${CMAKE_COMMAND} -S ${consumer} -B ${WORK}/consumer ${generator_args} ${compiler_args}
  -DCMAKE_PREFIX_PATH=${WORK}/prefix)
step(${CMAKE_COMMAND} --build ${WORK}/consumer --parallel 2)
step(${WORK}/consumer/texture_consumer)
step(${WORK}/consumer/texture_gl_consumer)
step(${WORK}/consumer/texture_graph_consumer ${SOURCE}/docs/gallery/world_background.json)

# pkg-config: the flags of texture.pc alone must build main.cpp, and those of
# texture_gl.pc the GL check.
find_program(pkg_config NAMES pkg-config pkgconf REQUIRED)
set(ENV{PKG_CONFIG_PATH} ${WORK}/prefix/lib/pkgconfig)
foreach(check "texture main.cpp" "texture_gl gl_link.cpp" "texture_graph graph_load.cpp")
  separate_arguments(check)
  list(GET check 0 module)
  list(GET check 1 source)
  execute_process(COMMAND ${pkg_config} --cflags --libs ${module}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "pkg-config does not know ${module}")
  endif()
  separate_arguments(flags UNIX_COMMAND "${flags}")
  step(${CXX} -std=gnu++17 -O3 -march=native ${consumer}/${source} ${flags} -o ${WORK}/pkg-config-${module})
  step(${WORK}/pkg-config-${module} ${SOURCE}/docs/gallery/world_background.json)
endforeach()

# The installed texbake, built without Qt, links none and bakes the gallery.
set(texbake ${WORK}/prefix/bin/texbake)
execute_process(COMMAND ldd ${texbake} OUTPUT_VARIABLE libraries RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR libraries MATCHES "[Qq]t[56]")
  message(FATAL_ERROR "texbake is missing or links Qt:\n${libraries}")
endif()
step(${texbake} ${SOURCE}/docs/gallery/world_background.json --width 512 --height 512 --extent 16 --no-alpha
  --quiet -o ${WORK}/world_background.png)
step(${CMAKE_COMMAND} -E compare_files ${WORK}/world_background.png ${SOURCE}/docs/gallery/world_background.png)
