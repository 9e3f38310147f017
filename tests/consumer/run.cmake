# Builds and runs the consumer project beside this file against the texture
# library in one of the forms another project uses it:
#   FORM=package       the library configured on its own (library only) with
#                      texbake and with Qt out of reach, installed under
#                      WORK/prefix, found with find_package(texture CONFIG);
#                      then the same sources compiled by hand with the flags
#                      of the .pc files; and the installed texbake bakes a
#                      gallery image byte for byte
#   FORM=subdirectory  the source tree added with add_subdirectory()
#
#   cmake -DFORM=package -DSOURCE=<tree> -DWORK=<dir> [-DGENERATOR=..] [-DCXX=..] -P run.cmake
cmake_minimum_required(VERSION 3.16)

set(consumer ${SOURCE}/tests/consumer)
set(generator_args)
if(GENERATOR)
  set(generator_args -G ${GENERATOR})
endif()
set(compiler_args)
if(CXX)
  set(compiler_args -DCMAKE_CXX_COMPILER=${CXX})
endif()

function(step)
  string(REPLACE ";" " " shown "${ARGN}")
  message(STATUS "${shown}")
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed (${result}): ${shown}")
  endif()
endfunction()

if(FORM STREQUAL "package")
  # texbake needs no Qt: a configure that may not find it still builds it.
  step(${CMAKE_COMMAND} -S ${SOURCE} -B ${WORK}/library ${generator_args} ${compiler_args}
    -DCMAKE_BUILD_TYPE=Release -DSUPERFORMULA_LIBRARY_ONLY=ON -DCMAKE_INSTALL_PREFIX=${WORK}/prefix
    -DSUPERFORMULA_TEXBAKE=ON -DCMAKE_DISABLE_FIND_PACKAGE_Qt5=ON -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON)
  step(${CMAKE_COMMAND} --build ${WORK}/library --parallel 2)
  file(REMOVE_RECURSE ${WORK}/prefix)
  step(${CMAKE_COMMAND} --install ${WORK}/library)
  step(${CMAKE_COMMAND} -S ${consumer} -B ${WORK}/consumer ${generator_args} ${compiler_args}
    -DCMAKE_PREFIX_PATH=${WORK}/prefix)
elseif(FORM STREQUAL "subdirectory")
  step(${CMAKE_COMMAND} -S ${consumer} -B ${WORK}/consumer ${generator_args} ${compiler_args}
    -DTEXTURE_SOURCE_DIR=${SOURCE})
else()
  message(FATAL_ERROR "FORM must be package or subdirectory, not '${FORM}'")
endif()
step(${CMAKE_COMMAND} --build ${WORK}/consumer --parallel 2)
step(${WORK}/consumer/texture_consumer)
step(${WORK}/consumer/texture_gl_consumer)
step(${WORK}/consumer/texture_graph_consumer ${SOURCE}/docs/gallery/world_background.json)

if(FORM STREQUAL "package")
  # pkg-config: the flags of texture.pc alone must build main.cpp, and those
  # of texture_gl.pc the GL check.
  find_program(pkg_config NAMES pkg-config pkgconf REQUIRED)
  set(ENV{PKG_CONFIG_PATH} ${WORK}/prefix/lib/pkgconfig)
  if(NOT CXX)
    set(CXX c++)
  endif()
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
endif()
