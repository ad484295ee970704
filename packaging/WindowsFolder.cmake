# Windows: the folder a user unzips and runs (`cpack -G ZIP`), and the same
# run-time files for the programs in the build folder.
#   gridforge.exe, qt.conf, Qt6Core/Gui/Widgets.dll, platforms/qwindows.dll,
#   styles/*.dll, the mingw-w64 run-time DLLs and translations/qtbase_ja.qm.

# Qt's own Japanese texts: Debian's translation of this very Qt version.
find_file(GRIDFORGE_QTBASE_JA qtbase_ja.qm
  PATHS /usr/share/qt6/translations NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT GRIDFORGE_QTBASE_JA)
  message(FATAL_ERROR "qtbase_ja.qm not found (Debian: qt6-translations-l10n)")
endif()
file(COPY ${GRIDFORGE_QTBASE_JA} DESTINATION ${CMAKE_BINARY_DIR}/translations)

# The DLLs the compiler's output needs, from the compiler's own folders.
set(GRIDFORGE_MINGW_DLLS)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${found}" OR NOT EXISTS "${found}")
    message(FATAL_ERROR "${dll} not found by ${CMAKE_CXX_COMPILER}")
  endif()
  list(APPEND GRIDFORGE_MINGW_DLLS ${found})
endforeach()
set(GRIDFORGE_MINGW_DLLS ${GRIDFORGE_MINGW_DLLS} CACHE INTERNAL "mingw-w64 run-time DLLs")

# The programs in the build folder take Qt from where it was built, and its
# Japanese texts from the build folder.
# (Under wine, drive Z: is the host's root.)
get_target_property(qt_core Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(qt_prefix "${qt_core}/../.." ABSOLUTE)
set(drive "")
if(CMAKE_HOST_UNIX)
  set(drive "Z:")
endif()
foreach(folder ${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/tests)
  file(WRITE ${folder}/qt.conf
       "[Paths]\nPrefix=${drive}${qt_prefix}\nTranslations=${drive}${CMAKE_BINARY_DIR}/translations\n")
endforeach()

# The unzipped folder is its own prefix; plugins sit beside the program.
file(WRITE ${CMAKE_BINARY_DIR}/zip/qt.conf "[Paths]\nPrefix=.\nPlugins=.\nTranslations=translations\n")
install(FILES ${CMAKE_BINARY_DIR}/zip/qt.conf DESTINATION .)
foreach(module Core Gui Widgets)
  install(FILES ${qt_prefix}/bin/Qt6${module}.dll DESTINATION .)
endforeach()
install(FILES ${qt_prefix}/plugins/platforms/qwindows.dll DESTINATION platforms)
file(GLOB styles ${qt_prefix}/plugins/styles/*.dll)
if(styles)
  install(FILES ${styles} DESTINATION styles)
endif()
install(FILES ${GRIDFORGE_MINGW_DLLS} DESTINATION .)
install(FILES ${GRIDFORGE_QTBASE_JA} DESTINATION translations)

# Licences: Gridforge's own beside the program, and in licenses/ the texts and
# notices of what the folder redistributes (Qt and the code compiled into it,
# the mingw-w64 run-time DLLs).
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/windows/licenses-README.txt DESTINATION licenses RENAME README.txt)
foreach(text LGPL-3.0-only GPL-3.0-only)
  if(NOT EXISTS ${qt_prefix}/LICENSES/${text}.txt)
    message(FATAL_ERROR "${qt_prefix}/LICENSES/${text}.txt missing: Qt for Windows without its licence texts")
  endif()
  install(FILES ${qt_prefix}/LICENSES/${text}.txt DESTINATION licenses/Qt)
endforeach()
# The third-party code compiled into Qt's DLLs, one notice each
# (scripts/windows/make_licences.py writes them from Qt's attribution files).
file(GLOB qt_third_party ${CMAKE_CURRENT_LIST_DIR}/windows/licenses/Qt-third-party/*.txt)
if(NOT qt_third_party)
  message(FATAL_ERROR "no notices in packaging/windows/licenses/Qt-third-party (scripts/windows/make_licences.py)")
endif()
install(FILES ${qt_third_party} DESTINATION licenses/Qt/third-party)
foreach(pair "gcc-mingw-w64-x86-64-posix-runtime:gcc-runtime" "mingw-w64-x86-64-dev:mingw-w64")
  string(REPLACE ":" ";" pair "${pair}")
  list(GET pair 0 package)
  list(GET pair 1 name)
  if(NOT EXISTS /usr/share/doc/${package}/copyright)
    message(FATAL_ERROR "/usr/share/doc/${package}/copyright missing (Debian: ${package})")
  endif()
  install(FILES /usr/share/doc/${package}/copyright DESTINATION licenses/mingw-w64 RENAME ${name}.txt)
endforeach()
