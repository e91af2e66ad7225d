# The plug-in: the Windows DLL, or natively a static library that tests and the native host link with a
# bridge of their own (in the mingw build too, for the unit tests).
set(VARNHOLT_SOURCES
  src/host/DllMain.cpp
  src/host/Keyboard.cpp
  src/host/ScriptMain.cpp
  src/core/Log.cpp
  src/core/RuntimeMemory.cpp
  src/core/Settings.cpp
  src/features/Prompt.cpp
  src/features/ReticleSuppression.cpp
  src/features/ScopeToggle.cpp
)
if(WIN32)
  list(APPEND VARNHOLT_SOURCES src/core/PlatformWindows.cpp)
else()
  list(APPEND VARNHOLT_SOURCES src/core/PlatformPosix.cpp)
endif()
list(TRANSFORM VARNHOLT_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/)

if(NOT WIN32)
  add_library(varnholt STATIC ${VARNHOLT_SOURCES})
  target_include_directories(varnholt PUBLIC ${PROJECT_SOURCE_DIR}/src)
  return()
endif()
if(VARNHOLT_TESTS AND NOT MSVC)
  # The same sources for the Windows unit tests, which link them with the fake bridge; built only for them.
  add_library(varnholt STATIC EXCLUDE_FROM_ALL ${VARNHOLT_SOURCES})
  target_include_directories(varnholt PUBLIC ${PROJECT_SOURCE_DIR}/src)
endif()

# The bridge's import library. MSVC may be given the bridge's own; otherwise one is made from an import
# description that names the eight operations under their Microsoft-decorated names. For mingw the
# description maps its own (Itanium) symbol names onto those decorated names with dlltool's "==".
if(MSVC)
  set(_def_template ${PROJECT_SOURCE_DIR}/cmake/ScriptBridge.msvc.def.in)
else()
  set(_def_template ${PROJECT_SOURCE_DIR}/cmake/ScriptBridge.mingw.def.in)
endif()
set(BRIDGE_DEF ${PROJECT_BINARY_DIR}/ScriptBridge.def)
# Not a plain configure_file: the decorated names are full of @...@ runs that it would take for variables.
file(READ ${_def_template} _def)
string(REPLACE "@VARNHOLT_BRIDGE_DLL@" "${VARNHOLT_BRIDGE_DLL}" _def "${_def}")
file(WRITE ${BRIDGE_DEF}.new "${_def}")
configure_file(${BRIDGE_DEF}.new ${BRIDGE_DEF} COPYONLY)

if(VARNHOLT_BRIDGE_LIB)
  set(BRIDGE_IMPORT_LIB ${VARNHOLT_BRIDGE_LIB})
  add_custom_target(bridge_import_lib)
elseif(MSVC)
  set(BRIDGE_IMPORT_LIB ${PROJECT_BINARY_DIR}/ScriptBridge.lib)
  add_custom_command(OUTPUT ${BRIDGE_IMPORT_LIB}
    COMMAND ${CMAKE_AR} /nologo /machine:x64 /def:${BRIDGE_DEF} /out:${BRIDGE_IMPORT_LIB}
    DEPENDS ${BRIDGE_DEF} VERBATIM)
  add_custom_target(bridge_import_lib DEPENDS ${BRIDGE_IMPORT_LIB})
else()
  set(BRIDGE_IMPORT_LIB ${PROJECT_BINARY_DIR}/libScriptBridge.dll.a)
  add_custom_command(OUTPUT ${BRIDGE_IMPORT_LIB}
    COMMAND ${CMAKE_DLLTOOL} --input-def ${BRIDGE_DEF} --output-lib ${BRIDGE_IMPORT_LIB}
    DEPENDS ${BRIDGE_DEF} VERBATIM)
  add_custom_target(bridge_import_lib DEPENDS ${BRIDGE_IMPORT_LIB})
endif()

add_library(Varnholt SHARED ${VARNHOLT_SOURCES} ${PROJECT_BINARY_DIR}/Varnholt.rc)
varnholt_stamped_file(${PROJECT_SOURCE_DIR}/cmake/Varnholt.rc.in ${PROJECT_BINARY_DIR}/Varnholt.rc)
target_include_directories(Varnholt PRIVATE ${PROJECT_SOURCE_DIR}/src)
add_dependencies(Varnholt bridge_import_lib)
target_link_libraries(Varnholt PRIVATE ${BRIDGE_IMPORT_LIB})
set_target_properties(Varnholt PROPERTIES PREFIX "" OUTPUT_NAME Varnholt)
if(MSVC)
  set_property(TARGET Varnholt PROPERTY MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
else()
  # libstdc++, libgcc and winpthread go inside the DLL: players get one file and no runtime DLLs.
  # Nothing is exported: the bridge reaches the script through scriptRegister alone.
  target_link_options(Varnholt PRIVATE -static -s -Wl,--exclude-all-symbols)
  # Reproducible: the linker stamps the PE header and the export directory with SOURCE_DATE_EPOCH, and
  # no folder of this machine's is left in the code (there is no debug information either).
  set_property(TARGET Varnholt PROPERTY CXX_LINKER_LAUNCHER
    ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${VARNHOLT_RELEASE_TIME})
  target_compile_options(Varnholt PRIVATE -ffile-prefix-map=${PROJECT_SOURCE_DIR}/= -ffile-prefix-map=${PROJECT_BINARY_DIR}/=)
endif()

if(VARNHOLT_TESTS AND NOT MSVC)
  enable_testing()
  add_test(NAME dll_imports
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DDLL=$<TARGET_FILE:Varnholt>
            -DBRIDGE=${VARNHOLT_BRIDGE_DLL} -P ${PROJECT_SOURCE_DIR}/cmake/CheckImports.cmake)
endif()
