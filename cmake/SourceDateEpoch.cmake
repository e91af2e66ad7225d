# The one time a release carries (the DLL's PE time stamps, the zip entries' times), so that two builds
# of the same commit are the same bytes: -DVARNHOLT_SOURCE_DATE_EPOCH=<seconds>, else the environment's
# SOURCE_DATE_EPOCH, else the last commit's time. A new commit configures again, so the default follows it.
set(VARNHOLT_SOURCE_DATE_EPOCH "" CACHE STRING
  "Seconds since 1970 for the times written into the release (default: $SOURCE_DATE_EPOCH, else the last commit's)")
if(NOT VARNHOLT_SOURCE_DATE_EPOCH STREQUAL "")
  set(_epoch ${VARNHOLT_SOURCE_DATE_EPOCH})
elseif(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(_epoch $ENV{SOURCE_DATE_EPOCH})
else()
  set(VARNHOLT_RELEASE_DATE_UNKNOWN 0)
  find_package(Git QUIET)
  set(_epoch "")
  set(_top "")
  set(_source none)
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --show-toplevel WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
      OUTPUT_VARIABLE _top OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
  if(NOT _top STREQUAL "")
    file(REAL_PATH ${_top} _top)
    file(REAL_PATH ${PROJECT_SOURCE_DIR} _source)
  endif()
  # Only this source's own history: a source tarball unpacked inside another repository has none.
  if(GIT_FOUND AND _top STREQUAL _source)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
      OUTPUT_VARIABLE _epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --absolute-git-dir WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
      OUTPUT_VARIABLE _git_dir OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(EXISTS ${_git_dir}/logs/HEAD)
      set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_git_dir}/logs/HEAD)
    endif()
  endif()
  if(_epoch STREQUAL "")
    set(_epoch 315532800)  # no history to ask: 1 January 1980, the earliest time a zip entry can hold
    set(VARNHOLT_RELEASE_DATE_UNKNOWN 1)
  endif()
endif()
if(NOT _epoch MATCHES "^[0-9]+$")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH must be whole seconds since 1970, not '${_epoch}'")
endif()
set(VARNHOLT_RELEASE_TIME ${_epoch})
