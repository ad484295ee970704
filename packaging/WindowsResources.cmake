# Windows: the program's icon (16 to 256 pixels, from the desktop icon's
# pictures in resources/hicolor/), version information and manifest (long
# paths), linked into gridforge.exe as resources.
find_program(GRIDFORGE_ICOTOOL icotool)
if(NOT GRIDFORGE_ICOTOOL)
  message(FATAL_ERROR "icotool not found (Debian: icoutils)")
endif()
set(icon_pngs)
foreach(size 16 32 48 64 128)
  list(APPEND icon_pngs ${PROJECT_SOURCE_DIR}/resources/hicolor/${size}x${size}/apps/org.gridforge.Gridforge.png)
endforeach()
# The 256-pixel picture is stored as PNG, as Windows expects at that size.
set(icon_256 ${PROJECT_SOURCE_DIR}/resources/hicolor/256x256/apps/org.gridforge.Gridforge.png)
set(GRIDFORGE_ICO ${CMAKE_BINARY_DIR}/gridforge.ico)
add_custom_command(OUTPUT ${GRIDFORGE_ICO}
  COMMAND ${GRIDFORGE_ICOTOOL} -c -o ${GRIDFORGE_ICO} ${icon_pngs} -r ${icon_256}
  DEPENDS ${icon_pngs} ${icon_256} VERBATIM)

# The first line of LICENSE after its title: "Copyright (c) <year> <holder>".
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE GRIDFORGE_COPYRIGHT REGEX "^Copyright ")
string(REPLACE "(c)" "©" GRIDFORGE_COPYRIGHT "${GRIDFORGE_COPYRIGHT}")
set(GRIDFORGE_RC_VERSION "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},0,0")
set(GRIDFORGE_MANIFEST ${CMAKE_CURRENT_LIST_DIR}/windows/gridforge.manifest)
configure_file(${CMAKE_CURRENT_LIST_DIR}/windows/gridforge.rc.in ${CMAKE_BINARY_DIR}/gridforge.rc @ONLY)
set_source_files_properties(${CMAKE_BINARY_DIR}/gridforge.rc PROPERTIES OBJECT_DEPENDS "${GRIDFORGE_ICO};${GRIDFORGE_MANIFEST}")
target_sources(gridforge PRIVATE ${CMAKE_BINARY_DIR}/gridforge.rc)
