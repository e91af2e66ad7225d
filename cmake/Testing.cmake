# Test plumbing shared by the test folders.
if(CMAKE_CROSSCOMPILING AND WIN32)
  # Windows test programs run through Wine, in a prefix of this build's own.
  find_program(VARNHOLT_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_DEFAULT_PATH)
  find_program(VARNHOLT_WINE NAMES wine64 wine)
  if(NOT VARNHOLT_WINE)
    message(WARNING "Wine not found (install the Debian package wine64): the Windows tests will not run")
  else()
    # The server itself, beside the loader, not a wrapper script that may add options of its own.
    get_filename_component(_wine_dir ${VARNHOLT_WINE} DIRECTORY)
    find_program(VARNHOLT_WINESERVER NAMES wineserver64 wineserver PATHS ${_wine_dir} NO_DEFAULT_PATH)
    find_program(VARNHOLT_WINESERVER NAMES wineserver64 wineserver)
    set(VARNHOLT_WINEPREFIX ${PROJECT_BINARY_DIR}/wineprefix)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/wine-run.sh.in ${PROJECT_BINARY_DIR}/wine-run @ONLY
      FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_BINARY_DIR}/wine-run)

    # One prefix and one server for a whole ctest run: the first test sets the prefix up (~10 s), the
    # next starts its server to last the whole run, the last stops it. Without the lasting server, a
    # program started just as the one before it ended could find the server going away under it.
    add_test(NAME wine.prefix COMMAND ${PROJECT_BINARY_DIR}/wine-run --prefix)
    add_test(NAME wine.server-start COMMAND ${PROJECT_BINARY_DIR}/wine-run --server-start)
    add_test(NAME wine.server-stop COMMAND ${PROJECT_BINARY_DIR}/wine-run --server-stop)
    set_tests_properties(wine.prefix PROPERTIES FIXTURES_SETUP wine_prefix TIMEOUT 300)
    set_tests_properties(wine.server-start PROPERTIES FIXTURES_SETUP wine_server FIXTURES_REQUIRED wine_prefix
      TIMEOUT 60)
    set_tests_properties(wine.server-stop PROPERTIES FIXTURES_CLEANUP wine_server TIMEOUT 60)
  endif()
endif()

# varnholt_wine_tests(<test>...): the tests run Windows programs under Wine, in the prefix set up and
# with the server started for them.
function(varnholt_wine_tests)
  set_tests_properties(${ARGN} PROPERTIES FIXTURES_REQUIRED "wine_prefix;wine_server")
endfunction()
