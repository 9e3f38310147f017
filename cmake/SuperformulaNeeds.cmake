# superformula_missing(<var> <need>...): sets <var> to the needs whose
# have_<need> is false, each with the Debian package that brings it
# (<need>_package), joined by commas; empty when nothing is missing.
function(superformula_missing var)
  set(missing)
  foreach(need ${ARGN})
    if(NOT have_${need})
      list(APPEND missing "${need} (Debian: ${${need}_package})")
    endif()
  endforeach()
  string(REPLACE ";" ", " missing "${missing}")
  set(${var} "${missing}" PARENT_SCOPE)
endfunction()
