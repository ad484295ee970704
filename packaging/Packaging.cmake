# What `cmake --install` puts where, and the packages CPack makes from it.
# The CPack settings here hold for every generator; a generator's own
# settings (CPACK_DEBIAN_*, ...) are read by that generator only.
include(GNUInstallDirs)

if(WIN32)
  install(TARGETS gridforge RUNTIME DESTINATION .)
  include(${CMAKE_CURRENT_LIST_DIR}/WindowsFolder.cmake)
else()
  install(TARGETS gridforge RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# The desktop's view of the program: the menu entry, the map file type, the
# icon in every size of the hicolor theme and the software-centre data.
if(UNIX AND NOT APPLE)
  set(app_id org.gridforge.Gridforge)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/${app_id}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/gridforge-map.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ${app_id}.xml)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/${app_id}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  foreach(size 16 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/hicolor/${size}x${size}/apps/${app_id}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
endif()

set(CPACK_PACKAGE_NAME gridforge)
set(CPACK_PACKAGE_VENDOR "Gridforge developers")
set(CPACK_PACKAGE_CONTACT "Gridforge developers <maintainers@gridforge.invalid>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor for the owner map of a game level")
# Lines of at most 80 characters: the package tools show them as they are.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Gridforge paints the owner map of a game level: 10 to 50 x 10 to 50 sectors,"
  "each owned by one of seven owners. It has a brush 1 to 5 sectors wide, a lock"
  "of the invisible outer ring, owner replacement, .kxgf map files, and a viewer"
  "of the level-data text (typ_map, own_map, hgt_map, blg_map) to copy into a"
  "level file; gridforge --level-text writes that text for build scripts."
  "The interface is Japanese.")
set(CPACK_STRIP_FILES ON)
if(NOT DEFINED CPACK_GENERATOR AND CMAKE_SYSTEM_NAME STREQUAL "Linux")
  set(CPACK_GENERATOR DEB)
elseif(NOT DEFINED CPACK_GENERATOR AND WIN32)
  set(CPACK_GENERATOR ZIP)
endif()

# Debian: the libraries' packages come from the binary (dpkg-shlibdeps); what
# Qt loads at run time and the Japanese texts and font are named here.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-ipafont-gothic, fonts-dejavu-core")
# An editor of data files, not a game.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)

if(UNIX AND NOT APPLE)
  include(${CMAKE_CURRENT_LIST_DIR}/DebianDocs.cmake)
endif()

# Windows: the exe's icon and version resources, and the installer
# (`cpack -G NSIS`, a template of our own for the 64-bit target).
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/WindowsResources.cmake)
  include(${CMAKE_CURRENT_LIST_DIR}/WindowsInstaller.cmake)
endif()

include(CPack)
