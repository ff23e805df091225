# The Debian package of the Linux build (scripts/package-linux runs cpack):
# the installed files under /usr, the libraries' packages found by
# dpkg-shlibdeps, and what Debian's policy asks of every package beside
# them (copyright, changelog, compressed manual pages).

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME letterwire)
set(CPACK_PACKAGE_VERSION ${LETTERWIRE_VERSION})
set(CPACK_PACKAGE_VENDOR Letterwire)
set(CPACK_PACKAGE_CONTACT "Letterwire maintainers <maintainers@letterwire.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "text outlines for CAD programs, cutters and plotters")
set(CPACK_PACKAGE_DESCRIPTION
    "Letterwire turns one line of text, set in an outline font at a chosen\n"
    "size and angle, into closed outlines: a window with a live preview that a\n"
    "host CAD program starts for each piece of text, DXF and SVG drawings true\n"
    "to size and ready for a laser, plotter or router, and letterwire-cli for\n"
    "scripts and lists of labels.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
# The package installs the programs as built; the tests and benchmarks are
# not built for it (scripts/package-linux builds the programs first).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(_lw_doc ${CMAKE_BINARY_DIR}/generated/package)
file(MAKE_DIRECTORY ${_lw_doc})
# Debian's copyright file: the licence and the notices of what is built in.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE _lw_license)
file(READ ${PROJECT_SOURCE_DIR}/THIRD-PARTY-NOTICES.txt _lw_notices)
file(WRITE ${_lw_doc}/copyright
     "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
     "Upstream-Name: Letterwire\n\n"
     "Files: *\nCopyright: Letterwire contributors\nLicense: Expat\n\n"
     "License: Expat\n")
string(REGEX REPLACE "\n\n" "\n.\n" _lw_license_body "${_lw_license}")
string(REGEX REPLACE "\n([^\n])" "\n \\1" _lw_license_body "\n${_lw_license_body}")
file(APPEND ${_lw_doc}/copyright "${_lw_license_body}\n")
configure_file(${PROJECT_SOURCE_DIR}/THIRD-PARTY-NOTICES.txt ${_lw_doc}/THIRD-PARTY-NOTICES.txt COPYONLY)
# A native package's changelog: one entry that points to CHANGELOG.md.
string(TIMESTAMP _lw_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE ${_lw_doc}/changelog
     "letterwire (${LETTERWIRE_VERSION}) unstable; urgency=medium\n\n"
     "  * Letterwire ${LETTERWIRE_VERSION}; what each version changed is in\n"
     "    /usr/share/doc/letterwire/CHANGELOG.md.\n\n"
     " -- ${CPACK_PACKAGE_CONTACT}  ${_lw_date}\n")
execute_process(COMMAND gzip -9nf ${_lw_doc}/changelog COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${_lw_doc}/copyright ${_lw_doc}/changelog.gz ${PROJECT_SOURCE_DIR}/CHANGELOG.md
              ${_lw_doc}/THIRD-PARTY-NOTICES.txt
        DESTINATION share/doc/letterwire)
# The launcher is linked statically on purpose (see launcher/CMakeLists.txt).
file(WRITE ${_lw_doc}/lintian-overrides "letterwire: statically-linked-binary [usr/bin/launcher]\n")
install(FILES ${_lw_doc}/lintian-overrides DESTINATION share/lintian/overrides RENAME letterwire)

include(CPack)
