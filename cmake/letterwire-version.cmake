# The version, once for everything: project() takes it, every program's
# --version and the Windows version resources read it from
# letterwire_version.hpp (target letterwire_version, usable from C++ and
# from resource scripts), and both packages take it from the build's cache.
#
#   include(cmake/letterwire-version.cmake)     before project()
#   project(Letterwire VERSION ${LETTERWIRE_VERSION} ...)
#   target_link_libraries(T PRIVATE letterwire_version)
set(LETTERWIRE_VERSION 1.0.0)

# Windows version resources want four numbers; missing parts are 0.
string(REPLACE "." ";" _lw_parts "${LETTERWIRE_VERSION}.0.0.0")
foreach(_lw_part MAJOR MINOR PATCH TWEAK)
  list(POP_FRONT _lw_parts LETTERWIRE_VERSION_${_lw_part})
endforeach()

set(_lw_version_dir ${CMAKE_BINARY_DIR}/generated/version)
configure_file(${CMAKE_CURRENT_LIST_DIR}/letterwire_version.hpp.in
               ${_lw_version_dir}/letterwire_version.hpp @ONLY)

add_library(letterwire_version INTERFACE)
target_include_directories(letterwire_version INTERFACE ${_lw_version_dir})

# On Windows, a program's file version (Explorer's Details tab):
#   letterwire_version_resource(TARGET "description")
function(letterwire_version_resource target description)
  if(NOT WIN32)
    return()
  endif()
  set(LW_RC_FILE ${target}.exe)
  set(LW_RC_DESCRIPTION "${description}")
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/program_version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
