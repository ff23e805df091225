# GoogleTest for the Windows cross build, built from Debian's source package
# with the project's toolchain (there is no prebuilt mingw GoogleTest). The
# later find_package(GTest) is answered with these targets: GTest::gtest,
# GTest::gtest_main. On other builds this file does nothing.
if(NOT (WIN32 AND CMAKE_CROSSCOMPILING))
  return()
endif()

set(LETTERWIRE_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for the Windows build")
if(NOT EXISTS ${LETTERWIRE_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "No GoogleTest sources at ${LETTERWIRE_GTEST_SOURCE} (Debian package googletest)")
endif()

set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
# SYSTEM: its headers raise no warnings in our code.
add_subdirectory(${LETTERWIRE_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/_deps/googletest SYSTEM EXCLUDE_FROM_ALL)
# Our warning flags (and -Werror) are not meant for its code.
set_target_properties(gtest gtest_main PROPERTIES COMPILE_OPTIONS "")
# find_package(GTest) looks here first and takes the targets that now exist.
file(WRITE ${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/gtest-config.cmake
     "# GTest::gtest and GTest::gtest_main come from cmake/windows-gtest.cmake.\n")
