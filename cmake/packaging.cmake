# Everything installed besides the programs (documentation, manual pages, shell completion) and
# the Debian package CPack makes of the whole installation. scripts/package drives the build.
include(GNUInstallDirs)

set(VESSORY_HOMEPAGE "https://vessory.example.com/")
set(VESSORY_MAINTAINER "Vessory maintainers <maintainers@example.com>")
# A Debian revision ("1" makes 1.0-1) marks the package as made apart from the sources; without
# one the package is native, which decides the name of its changelog.
set(VESSORY_DEBIAN_REVISION "" CACHE STRING "Debian revision of the package; empty: native")

install(FILES README.md LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Manual pages, completion and the Debian documents belong to Unix-like systems only.
if(WIN32)
  return()
endif()

install(FILES completion/vessory-export
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# Debian keeps manual pages and changelogs compressed; -n leaves out the name and time stamp,
# so that the same sources give the same package bytes.
find_program(VESSORY_GZIP gzip REQUIRED)
set(vessory_packaging_dir ${CMAKE_BINARY_DIR}/packaging)
set(vessory_compressed)
function(vessory_gzip source name)
  set(plain ${vessory_packaging_dir}/${name})
  add_custom_command(OUTPUT ${plain}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${plain}
    COMMAND ${VESSORY_GZIP} -9nf ${plain}
    DEPENDS ${source}
    VERBATIM)
  set(vessory_compressed ${vessory_compressed} ${plain}.gz PARENT_SCOPE)
endfunction()

foreach(page vessory.1 vessory-export.1)
  vessory_gzip(${PROJECT_SOURCE_DIR}/docs/man/${page} ${page})
  install(FILES ${vessory_packaging_dir}/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

# The changelog's newest entry has to name the version being packaged.
set(vessory_package_version ${PROJECT_VERSION})
set(vessory_changelog_name changelog)
if(VESSORY_DEBIAN_REVISION)
  string(APPEND vessory_package_version "-${VESSORY_DEBIAN_REVISION}")
  set(vessory_changelog_name changelog.Debian)
endif()
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog vessory_changelog_head LIMIT_COUNT 1)
if(NOT vessory_changelog_head MATCHES "^vessory \\(${vessory_package_version}\\) ")
  message(FATAL_ERROR "packaging/changelog begins with \"${vessory_changelog_head}\"; "
    "its newest entry must be for version ${vessory_package_version}")
endif()
vessory_gzip(${PROJECT_SOURCE_DIR}/packaging/changelog ${vessory_changelog_name})
install(FILES ${vessory_packaging_dir}/${vessory_changelog_name}.gz
  DESTINATION ${CMAKE_INSTALL_DOCDIR})
add_custom_target(vessory_compressed_docs ALL DEPENDS ${vessory_compressed})

# The copyright file quotes LICENSE, so the two cannot disagree.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE vessory_license)
string(FIND "${vessory_license}" "Permission is hereby granted" vessory_license_start)
if(vessory_license_start LESS 0)
  message(FATAL_ERROR "LICENSE no longer holds the MIT permission text")
endif()
string(SUBSTRING "${vessory_license}" ${vessory_license_start} -1 vessory_license)
string(STRIP "${vessory_license}" vessory_license)
string(REPLACE "\n\n" "\n.\n" vessory_license "${vessory_license}")
string(REPLACE "\n" "\n " VESSORY_LICENSE_PARAGRAPHS " ${vessory_license}")
configure_file(${PROJECT_SOURCE_DIR}/packaging/copyright.in ${vessory_packaging_dir}/copyright
  @ONLY)
install(FILES ${vessory_packaging_dir}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# A stripped package (CPACK_STRIP_FILES) is stripped as Debian strips its own: the compiler's
# name and version (.comment) and the .note section go too.
install(CODE "set(vessory_objcopy \"${CMAKE_OBJCOPY}\")")
install(CODE [[
  if(CMAKE_INSTALL_DO_STRIP AND vessory_objcopy)
    foreach(program vessory vessory-export)
      set(file "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/bin/${program}")
      if(EXISTS "${file}")
        execute_process(COMMAND "${vessory_objcopy}" --remove-section=.comment
          --remove-section=.note "${file}" COMMAND_ERROR_IS_FATAL ANY)
      endif()
    endforeach()
  endif()
]])

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vessory)
set(CPACK_PACKAGE_VENDOR "The Vessory authors")
set(CPACK_PACKAGE_CONTACT ${VESSORY_MAINTAINER})
set(CPACK_PACKAGE_HOMEPAGE_URL ${VESSORY_HOMEPAGE})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "export the journal and calendar of a desktop date-book archive")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [[
Vessory reads a desktop date-book archive (Datebook.dat). It splits the
journal kept in the date book into its time-stamped entries and writes them
as rows of a CSV file, ready for a spreadsheet, and it writes the whole date
book as an iCalendar (RFC 5545) file that calendar programs import.

The package holds the window, vessory, which has a menu entry, and the
console tool, vessory-export, for scripts and batch work.]])
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${VESSORY_DEBIAN_REVISION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libical is loaded when a calendar is first written, not linked, so the library scan cannot see
# it: named here (the package of libical.so.3).
set(CPACK_DEBIAN_PACKAGE_DEPENDS libical3)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
