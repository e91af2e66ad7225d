# Cross-compiles for 64-bit Windows with mingw-w64 (the posix thread model, for std::thread).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(_triple x86_64-w64-mingw32)

function(_varnholt_require var names package)
  find_program(${var} NAMES ${names})
  if(NOT ${var})
    message(FATAL_ERROR "${names} not found: install the Debian package ${package}")
  endif()
endfunction()

_varnholt_require(CMAKE_CXX_COMPILER "${_triple}-g++-posix" g++-mingw-w64-x86-64-posix)
_varnholt_require(CMAKE_C_COMPILER "${_triple}-gcc-posix" gcc-mingw-w64-x86-64-posix)
_varnholt_require(CMAKE_RC_COMPILER "${_triple}-windres" binutils-mingw-w64-x86-64)
_varnholt_require(CMAKE_DLLTOOL "${_triple}-dlltool" binutils-mingw-w64-x86-64)
_varnholt_require(CMAKE_OBJDUMP "${_triple}-objdump" binutils-mingw-w64-x86-64)

set(CMAKE_FIND_ROOT_PATH /usr/${_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
