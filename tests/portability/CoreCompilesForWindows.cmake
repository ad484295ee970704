# Compiles every source of the plain C++ core, and the Windows file access,
# for Windows with mingw-w64 (syntax and warnings only, nothing is linked):
#   cmake -DSOURCE_DIR=<project> -P CoreCompilesForWindows.cmake
# Prints "SKIPPED" when the compiler is not installed.
set(compiler_name x86_64-w64-mingw32-g++-posix)
find_program(compiler ${compiler_name})
if(NOT compiler)
  message(STATUS "SKIPPED: ${compiler_name} is not installed (Debian: g++-mingw-w64-x86-64-posix)")
  return()
endif()

file(GLOB sources RELATIVE ${SOURCE_DIR}
  ${SOURCE_DIR}/base/*.cpp ${SOURCE_DIR}/document/*.cpp ${SOURCE_DIR}/components/*.cpp ${SOURCE_DIR}/view/*.cpp)
list(APPEND sources platform/FileBytes.cpp platform/TemporaryName.cpp platform/FileBytesWindows.cpp
     platform/InputFileWindows.cpp platform/SaveTemporaryWindows.cpp platform/WindowsPaths.cpp)
list(LENGTH sources count)
execute_process(
  COMMAND ${compiler} -std=c++20 -fsyntax-only -I.
          -Wall -Wextra -Wshadow -Wconversion -Wsign-conversion -Werror ${sources}
  WORKING_DIRECTORY ${SOURCE_DIR}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the core does not compile for Windows (${compiler_name}, ${count} sources)")
endif()
message(STATUS "${count} core sources compile for Windows with ${compiler_name}")
