# Fails unless the front's export names, as the Microsoft-ABI compiler made them, are exactly the names
# the plug-in imports from the bridge, byte for byte, eight of them. No list is written down here: a
# decoration that the plug-in's build gets wrong shows as a difference between the two binaries.
# Usage: cmake -DOBJDUMP=... -DFRONT=... -DPLUGIN=... -DBRIDGE=ScriptBridge.dll -P CheckFrontExports.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../../../cmake/PeTables.cmake)
pe_read(${OBJDUMP} ${FRONT} front_lines)
pe_exports("${front_lines}" exported)
pe_read(${OBJDUMP} ${PLUGIN} plugin_lines)
pe_imports("${plugin_lines}" dlls ${BRIDGE} imported)

list(SORT exported)
list(SORT imported)
list(LENGTH exported count)
if(NOT exported STREQUAL imported OR NOT count EQUAL 8)
  list(JOIN exported "\n    " e)
  list(JOIN imported "\n    " i)
  message(FATAL_ERROR "the front exports (${count}):\n    ${e}\nbut the plug-in imports from ${BRIDGE}:\n    ${i}")
endif()
message(STATUS "the front's ${count} exports are the plug-in's imports from ${BRIDGE}")
