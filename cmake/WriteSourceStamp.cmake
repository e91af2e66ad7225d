# Names the source a build comes from: the commit, whether the tree holds uncommitted changes, and the
# release date (UTC, from the release time). Run at every build; STAMP is rewritten only when its text
# changes, so an unchanged source rebuilds nothing.
#   cmake -DSOURCE=<dir> -DGIT=<git, or empty> -DVERSION=<x.y.z> -DTIME=<seconds> [-DNO_DATE=1] -DSTAMP=<file> -P WriteSourceStamp.cmake
# With TEMPLATE and OUTPUT, configures a file with the stamp's variables instead (CRLF=1: Windows line ends).
#   cmake -DSTAMP=<file> -DTEMPLATE=<in> -DOUTPUT=<out> [-DCRLF=1] -P WriteSourceStamp.cmake
cmake_minimum_required(VERSION 3.25)

if(DEFINED TEMPLATE)
  include(${STAMP})
  set(style)
  if(CRLF)
    set(style NEWLINE_STYLE CRLF)
  endif()
  configure_file(${TEMPLATE} ${OUTPUT} @ONLY ${style})
  return()
endif()

set(commit "")
set(modified 0)
if(GIT)
  execute_process(COMMAND ${GIT} rev-parse --show-toplevel WORKING_DIRECTORY ${SOURCE}
    OUTPUT_VARIABLE top OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE rc)
  if(rc EQUAL 0)
    file(REAL_PATH ${top} top)
    file(REAL_PATH ${SOURCE} source)
  endif()
  # A source tarball unpacked inside some other repository must not take that one's commit.
  if(rc EQUAL 0 AND top STREQUAL source)
    execute_process(COMMAND ${GIT} rev-parse --verify -q HEAD^{commit} WORKING_DIRECTORY ${SOURCE}
      OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(NOT commit MATCHES "^[0-9a-f]+$")
      set(commit "")
    else()
      # Without the optional index lock: a build must not get in the way of a git command running beside it.
      execute_process(COMMAND ${GIT} --no-optional-locks status --porcelain --untracked-files=no
        WORKING_DIRECTORY ${SOURCE} OUTPUT_VARIABLE changes ERROR_QUIET RESULT_VARIABLE rc)
      if(NOT rc EQUAL 0 OR NOT changes STREQUAL "")
        set(modified 1)  # a tree whose state cannot be read is not taken for the commit either
      endif()
    endif()
  endif()
endif()

set(ENV{SOURCE_DATE_EPOCH} ${TIME})  # string(TIMESTAMP) then gives this time, not the clock's
string(TIMESTAMP date "%Y-%m-%d (UTC)" UTC)
if(NO_DATE)
  set(date "on an unknown date")  # the time written is only the zip format's earliest
endif()
string(REGEX MATCH "^([0-9]+)\\.([0-9]+)\\.([0-9]+)" _ ${VERSION})

if(commit STREQUAL "")
  set(short unknown)
  set(build "${VERSION}+unknown")
  set(commit unknown)
  set(commit_line "unknown (built from a source without git history)")
  set(comment "Built from a source without git history, released ${date}")
elseif(modified)
  string(SUBSTRING ${commit} 0 7 short)
  set(build "${VERSION}+${short}-modified")
  set(commit_line "${commit} with uncommitted changes: not the release of any commit")
  set(comment "Built from commit ${commit} with uncommitted changes, released ${date}")
else()
  string(SUBSTRING ${commit} 0 7 short)
  set(build "${VERSION}+${short}")
  set(commit_line ${commit})
  set(comment "Built from commit ${commit}, released ${date}")
endif()
set(flags 0)
set(private "")
if(modified)
  # The version resource's own mark for a build that is not a release.
  set(flags VS_FF_PRIVATEBUILD)
  set(private "VALUE \"PrivateBuild\", \"${build}\"")
endif()

set(text "")
foreach(pair
    "PROJECT_VERSION;${VERSION}" "PROJECT_VERSION_MAJOR;${CMAKE_MATCH_1}"
    "PROJECT_VERSION_MINOR;${CMAKE_MATCH_2}" "PROJECT_VERSION_PATCH;${CMAKE_MATCH_3}"
    "VARNHOLT_COMMIT;${commit}" "VARNHOLT_COMMIT_SHORT;${short}" "VARNHOLT_BUILD;${build}"
    "VARNHOLT_COMMIT_LINE;${commit_line}" "VARNHOLT_RELEASE_DATE;${date}" "VARNHOLT_COMMENT;${comment}"
    "VARNHOLT_FILEFLAGS;${flags}" "VARNHOLT_PRIVATE_BUILD;${private}")
  list(GET pair 0 name)
  list(GET pair 1 value)
  string(REPLACE "\\" "\\\\" value "${value}")
  string(REPLACE "\"" "\\\"" value "${value}")
  string(APPEND text "set(${name} \"${value}\")\n")
endforeach()
file(WRITE ${STAMP}.new "${text}")
file(COPY_FILE ${STAMP}.new ${STAMP} ONLY_IF_DIFFERENT)
file(REMOVE ${STAMP}.new)
