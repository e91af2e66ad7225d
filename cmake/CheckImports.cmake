# Fails unless DLL exports nothing and imports exactly the eight bridge operations (decorated names) from BRIDGE, and
# otherwise only Windows system DLLs: a player must not need any runtime DLL beside the plug-in.
# Usage: cmake -DOBJDUMP=... -DDLL=... -DBRIDGE=ScriptBridge.dll -P CheckImports.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/PeTables.cmake)
pe_read(${OBJDUMP} ${DLL} lines)
pe_imports("${lines}" dlls ${BRIDGE} bridge_imports)
pe_exports("${lines}" exports)

set(expected
  "?scriptRegister@@YAXPEAUHINSTANCE__@@P6AXXZ@Z"
  "?scriptUnregister@@YAXPEAUHINSTANCE__@@@Z"
  "?scriptWait@@YAXK@Z"
  "?keyboardHandlerRegister@@YAXP6AXKGEHHHH@Z@Z"
  "?keyboardHandlerUnregister@@YAXP6AXKGEHHHH@Z@Z"
  "?nativeInit@@YAX_K@Z"
  "?nativePush64@@YAX_K@Z"
  "?nativeCall@@YAPEA_KXZ")
set(system_dll_pattern "^(KERNEL32|msvcrt|ucrtbase|api-ms-win-crt-[a-z0-9-]+)\\.dll$")

set(errors "")
foreach(dll IN LISTS dlls)
  if(NOT dll STREQUAL BRIDGE AND NOT dll MATCHES "${system_dll_pattern}")
    string(APPEND errors "  imports from a non-system DLL: ${dll}\n")
  endif()
endforeach()
if(NOT BRIDGE IN_LIST dlls)
  string(APPEND errors "  imports nothing from ${BRIDGE}\n")
endif()
foreach(name IN LISTS expected)
  if(NOT name IN_LIST bridge_imports)
    string(APPEND errors "  missing bridge import ${name}\n")
  endif()
endforeach()
foreach(name IN LISTS bridge_imports)
  if(NOT name IN_LIST expected)
    string(APPEND errors "  unexpected bridge import ${name}\n")
  endif()
endforeach()
# Nor does it export anything: the bridge reaches the script through scriptRegister alone.
if(exports)
  string(APPEND errors "  exports symbols: ${exports}\n")
endif()
if(errors)
  message(FATAL_ERROR "${DLL}:\n${errors}")
endif()
list(JOIN dlls ", " dll_list)
message(STATUS "${DLL}: imports from ${dll_list}; the eight bridge operations, nothing else; no exports")
