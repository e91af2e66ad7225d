# What a Windows build ships names its source: varnholt_stamped_file() makes a file from a template
# with @VARNHOLT_BUILD@ (1.0.0+3f97583, with -modified for uncommitted changes, +unknown without git),
# @VARNHOLT_COMMIT@, @VARNHOLT_RELEASE_DATE@ and the others of WriteSourceStamp.cmake filled in.
# The stamp is worked out at every build, not when configuring: editing a file changes it without a
# new configure. The release time comes from SourceDateEpoch.cmake, which configures again on a commit.
find_package(Git QUIET)
set(VARNHOLT_STAMP ${PROJECT_BINARY_DIR}/SourceStamp.cmake)
add_custom_target(source_stamp
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR} -DGIT=${GIT_EXECUTABLE} -DVERSION=${PROJECT_VERSION}
          -DTIME=${VARNHOLT_RELEASE_TIME} -DNO_DATE=${VARNHOLT_RELEASE_DATE_UNKNOWN} -DSTAMP=${VARNHOLT_STAMP} -P ${PROJECT_SOURCE_DIR}/cmake/WriteSourceStamp.cmake
  BYPRODUCTS ${VARNHOLT_STAMP}
  COMMENT "Naming the source of the build"
  VERBATIM)

# varnholt_stamped_file(<template> <output> [CRLF])
function(varnholt_stamped_file template output)
  set(crlf 0)
  if("CRLF" IN_LIST ARGN)
    set(crlf 1)
  endif()
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DSTAMP=${VARNHOLT_STAMP} -DTEMPLATE=${template} -DOUTPUT=${output} -DCRLF=${crlf}
            -P ${PROJECT_SOURCE_DIR}/cmake/WriteSourceStamp.cmake
    DEPENDS ${VARNHOLT_STAMP} source_stamp ${template} ${PROJECT_SOURCE_DIR}/cmake/WriteSourceStamp.cmake
    VERBATIM)
endfunction()
