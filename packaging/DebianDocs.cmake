# What Debian asks of every package beside the program: the copyright file in
# the machine-readable format (made from LICENSE), the changelog and the manual
# pages, English and Japanese, compressed as the package tools want them
# (gzip -9, no name or time stamp). Made when CMake configures; an edit of a
# source file configures again.
set(debian_docs ${CMAKE_BINARY_DIR}/debian-docs)
file(MAKE_DIRECTORY ${debian_docs}/ja)
set(license_file ${PROJECT_SOURCE_DIR}/LICENSE)
set(changelog_file ${CMAKE_CURRENT_LIST_DIR}/debian/changelog)
set(man_en ${CMAKE_CURRENT_LIST_DIR}/man/gridforge.1)
set(man_ja ${CMAKE_CURRENT_LIST_DIR}/man/gridforge.ja.1)
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${license_file} ${changelog_file} ${man_en} ${man_ja})

# LICENSE: "MIT License", the copyright line, then the licence's text.
file(STRINGS ${license_file} license_lines)
list(GET license_lines 2 copyright_line)
string(REGEX REPLACE "^Copyright \\(c\\) " "" copyright_holder "${copyright_line}")
list(SUBLIST license_lines 4 -1 license_text)
set(license_body "")
foreach(line IN LISTS license_text)
  if(line STREQUAL "")
    string(APPEND license_body " .\n")
  else()
    string(APPEND license_body " ${line}\n")
  endif()
endforeach()
file(WRITE ${debian_docs}/copyright
  "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
  "Upstream-Name: Gridforge\n"
  "Upstream-Contact: ${CPACK_PACKAGE_CONTACT}\n"
  "\n"
  "Files: *\n"
  "Copyright: ${copyright_holder}\n"
  "License: Expat\n"
  "${license_body}")

# The changelog's newest entry names the version being packaged.
file(STRINGS ${changelog_file} changelog_top LIMIT_COUNT 1)
if(NOT changelog_top MATCHES "^gridforge \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/debian/changelog: the newest entry is not version ${PROJECT_VERSION}: ${changelog_top}")
endif()

function(gridforge_gzip source output)
  execute_process(COMMAND gzip -9nc ${source} OUTPUT_FILE ${output} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip ${source}: ${failed}")
  endif()
endfunction()
gridforge_gzip(${changelog_file} ${debian_docs}/changelog.gz)
gridforge_gzip(${man_en} ${debian_docs}/gridforge.1.gz)
gridforge_gzip(${man_ja} ${debian_docs}/ja/gridforge.1.gz)

set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/gridforge)
install(FILES ${debian_docs}/copyright ${debian_docs}/changelog.gz DESTINATION ${doc_dir})
install(FILES ${debian_docs}/gridforge.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${debian_docs}/ja/gridforge.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man1)

# Tags lintian is told to accept, each with its reason; shipped only when
# there is one.
set(lintian_overrides ${CMAKE_CURRENT_LIST_DIR}/debian/lintian-overrides)
if(EXISTS ${lintian_overrides})
  file(STRINGS ${lintian_overrides} override_tags REGEX "^[^#]")
  if(override_tags)
    install(FILES ${lintian_overrides} DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME gridforge)
  endif()
endif()
