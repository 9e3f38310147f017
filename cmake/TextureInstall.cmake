# Installs the texture library for find_package(texture CONFIG) and for
# pkg-config:
#   <prefix>/include/texture/texture/...   the library's headers, in their tree
#   <prefix>/include/texture/support/...   (headers under detail/ and the vector
#                                          kernels' -inl.h stay private)
#   <libdir>/libtexture.a, libtexture_gl.a, libtexture_graph.a
#   <libdir>/cmake/texture/                textureConfig.cmake and its targets
#   <libdir>/pkgconfig/texture.pc, texture_gl.pc, texture_graph.pc
# texture_gl and texture_graph only where they were built (OpenGL,
# nlohmann-json found).
include(CMakePackageConfigHelpers)

set(texture_include_root ${CMAKE_INSTALL_INCLUDEDIR}/texture)
set(texture_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/texture)
set(texture_pkgconfig_dir ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/support ${PROJECT_SOURCE_DIR}/texture
  DESTINATION ${texture_include_root}
  FILES_MATCHING PATTERN "*.h"
  PATTERN "detail" EXCLUDE
  PATTERN "*-inl.h" EXCLUDE
  PATTERN "gl" EXCLUDE
  PATTERN "texture_gl.h" EXCLUDE
  PATTERN "graph" EXCLUDE
  PATTERN "texture_graph.h" EXCLUDE)

install(TARGETS texture EXPORT textureTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(EXPORT textureTargets NAMESPACE texture:: DESTINATION ${texture_cmake_dir})

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/textureConfig.cmake.in
  ${PROJECT_BINARY_DIR}/textureConfig.cmake
  INSTALL_DESTINATION ${texture_cmake_dir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/textureConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/textureConfig.cmake ${PROJECT_BINARY_DIR}/textureConfigVersion.cmake
  DESTINATION ${texture_cmake_dir})

# The .pc files name their prefix relative to where they lie, so that
# `cmake --install --prefix` anywhere gives files that point at themselves.
file(RELATIVE_PATH texture_pc_prefix /prefix/${texture_pkgconfig_dir} /prefix)
if(IS_ABSOLUTE ${CMAKE_INSTALL_LIBDIR})
  set(texture_pc_prefix ${CMAKE_INSTALL_PREFIX})
else()
  set(texture_pc_prefix "\${pcfiledir}/${texture_pc_prefix}")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/texture.pc.in ${PROJECT_BINARY_DIR}/texture.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/texture.pc DESTINATION ${texture_pkgconfig_dir})

# The optional parts, each where it was built: texture_<part>, its headers
# (texture/<part>/ and texture/texture_<part>.h), its CMake targets, which
# textureConfig.cmake includes where they are, and its .pc file.
foreach(part gl graph)
  if(TARGET texture_${part})
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/texture/${part}
      DESTINATION ${texture_include_root}/texture
      FILES_MATCHING PATTERN "*.h" PATTERN "detail" EXCLUDE)
    install(FILES ${PROJECT_SOURCE_DIR}/texture/texture_${part}.h DESTINATION ${texture_include_root}/texture)
    install(TARGETS texture_${part} EXPORT texture_${part}Targets
      ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
    install(EXPORT texture_${part}Targets NAMESPACE texture:: DESTINATION ${texture_cmake_dir})
    configure_file(${CMAKE_CURRENT_LIST_DIR}/texture_${part}.pc.in ${PROJECT_BINARY_DIR}/texture_${part}.pc @ONLY)
    install(FILES ${PROJECT_BINARY_DIR}/texture_${part}.pc DESTINATION ${texture_pkgconfig_dir})
  endif()
endforeach()

# The licence travels with the library.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/texture)
