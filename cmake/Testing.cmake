# Test plumbing shared by the test folders.
if(CMAKE_CROSSCOMPILING AND WIN32)
  # Windows test programs run through Wine, in a prefix of this build's own.
  find_program(VARNHOLT_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_DEFAULT_PATH)
  find_program(VARNHOLT_WINE NAMES wine64 wine)
  if(NOT VARNHOLT_WINE)
    message(WARNING "Wine not found (install the Debian package wine64): the Windows tests will not run")
  else()
    set(VARNHOLT_WINEPREFIX ${PROJECT_BINARY_DIR}/wineprefix)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/wine-run.sh.in ${PROJECT_BINARY_DIR}/wine-run @ONLY
      FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_BINARY_DIR}/wine-run)
  endif()
endif()
