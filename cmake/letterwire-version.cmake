# The version lives once, in project() of the top-level CMakeLists.txt. This
# gives it to the code as letterwire_version.hpp (target letterwire_version),
# usable from C++ and from resource scripts; scripts/package-windows reads the
# same value from the build's cache.
#
#   include(cmake/letterwire-version.cmake)     after project()
#   target_link_libraries(T PRIVATE letterwire_version)

# project(VERSION 0.1) leaves patch and tweak empty; Windows version
# resources want four numbers.
foreach(_lw_part MAJOR MINOR PATCH TWEAK)
  if("${PROJECT_VERSION_${_lw_part}}" STREQUAL "")
    set(LETTERWIRE_VERSION_${_lw_part} 0)
  else()
    set(LETTERWIRE_VERSION_${_lw_part} ${PROJECT_VERSION_${_lw_part}})
  endif()
endforeach()
set(LETTERWIRE_VERSION ${PROJECT_VERSION})

set(_lw_version_dir ${CMAKE_BINARY_DIR}/generated/version)
configure_file(${CMAKE_CURRENT_LIST_DIR}/letterwire_version.hpp.in
               ${_lw_version_dir}/letterwire_version.hpp @ONLY)

add_library(letterwire_version INTERFACE)
target_include_directories(letterwire_version INTERFACE ${_lw_version_dir})
