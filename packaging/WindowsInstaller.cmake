# Windows: the installer `cpack -G NSIS` makes next to the zip,
# gridforge-<version>-win64-setup.exe, from windows/NSIS.template.in (CPack's
# own template cannot choose NSIS's 64-bit target, and a 32-bit installer does
# nothing on a 64-bit-only system).
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/windows)
set(CPACK_MODULE_PATH ${CMAKE_MODULE_PATH})
set(CPACK_NSIS_DISPLAY_NAME Gridforge)
set(GRIDFORGE_ICO ${CMAKE_BINARY_DIR}/gridforge.ico)
set(GRIDFORGE_LICENSE_TXT ${PROJECT_SOURCE_DIR}/LICENSE)
# The generator's own file name, read when CPack runs.
configure_file(${CMAKE_CURRENT_LIST_DIR}/windows/CPackOptions.cmake.in
               ${CMAKE_BINARY_DIR}/CPackOptions.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackOptions.cmake)
