# Unpacks the release zip into a fresh folder as a player would, and plays the default
# scenario from there with the unpacked DLL and settings: the plug-in must run and log out of the box.
# The folder is kept when the check fails.
cmake_minimum_required(VERSION 3.25)
foreach(var ZIP WORK EMULATOR HOST OBJDUMP)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "CheckPackage.cmake needs -D${var}=...")
  endif()
endforeach()

function(fail what)
  message(FATAL_ERROR "${what}\n(the folder ${WORK} is kept)")
endfunction()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/game)
get_filename_component(ZIP_NAME ${ZIP} NAME)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${ZIP} WORKING_DIRECTORY ${WORK}/game RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  fail("cannot unpack ${ZIP}")
endif()

file(GLOB_RECURSE unpacked LIST_DIRECTORIES true RELATIVE ${WORK}/game ${WORK}/game/*)
list(SORT unpacked)
# Every file carries the plug-in's name, so that none overwrites another mod's in the game folder; the
# log's folder holds a file, since installers drop empty folders.
if(NOT unpacked STREQUAL
     "Quillfen;Quillfen/Varnholt-log-folder.txt;Varnholt-CHANGELOG.txt;Varnholt-README.txt;Varnholt.dll;Varnholt.ini"
   OR NOT IS_DIRECTORY ${WORK}/game/Quillfen)
  fail("the zip should hold Varnholt.dll, Varnholt.ini, Varnholt-README.txt, Varnholt-CHANGELOG.txt and the "
       "Quillfen folder with Varnholt-log-folder.txt in it, not: ${unpacked}")
endif()

# The texts are for Notepad, the settings too: every line ends in CR LF, the last one as well.
foreach(text Varnholt.ini Varnholt-README.txt Varnholt-CHANGELOG.txt Quillfen/Varnholt-log-folder.txt)
  file(READ ${WORK}/game/${text} bytes HEX)
  string(REGEX REPLACE "(..)" " \\1" bytes "${bytes}")  # one blank before each byte: no match across two
  string(REGEX MATCHALL " 0a" lf "${bytes}")
  string(REGEX MATCHALL " 0d 0a" crlf "${bytes}")
  list(LENGTH lf lf)
  list(LENGTH crlf crlf)
  if(lf EQUAL 0 OR NOT lf EQUAL crlf OR NOT bytes MATCHES " 0d 0a$")
    fail("${text} should end every line in CR LF: ${crlf} of its ${lf} line ends are, and it should end in one")
  endif()
endforeach()

execute_process(COMMAND ${OBJDUMP} -p ${WORK}/game/Varnholt.dll OUTPUT_VARIABLE dump)
if(NOT dump MATCHES "Type Table[^\n]*\n[^\n]*Entry: ID: 0x0*10,")  # type 16, RT_VERSION
  fail("Varnholt.dll carries no version resource")
endif()

# The readme and the version resource must name the same build and commit.
file(STRINGS ${WORK}/game/Varnholt-README.txt named REGEX "^(Version|Commit): ")
if(NOT named MATCHES "^Version: +([0-9.]+\\+[0-9a-z-]+), released [^;]+;Commit: +([0-9a-f]+|unknown)")
  fail("Varnholt-README.txt does not name the version and the commit: ${named}")
endif()
file(READ ${WORK}/game/Varnholt.dll dll HEX)
foreach(value ${CMAKE_MATCH_1} ${CMAKE_MATCH_2})
  string(HEX "${value}" wide)
  string(REGEX REPLACE "(..)" "\\100" wide "${wide}")  # the resource's strings are UTF-16LE
  string(FIND "${dll}" "${wide}0000" at)
  if(at EQUAL -1)
    fail("Varnholt.dll's version resource does not say \"${value}\", which Varnholt-README.txt names")
  endif()
endforeach()

execute_process(COMMAND ${EMULATOR} ${HOST} --as-is --dir ${WORK}/game --plugin ${WORK}/game/Varnholt.dll default
  RESULT_VARIABLE rc OUTPUT_VARIABLE report ERROR_VARIABLE errors)
if(NOT rc EQUAL 0)
  fail("the host failed (${rc}):\n${report}\n${errors}")
endif()
foreach(expected
    "COMPONENT_RIFLE_SCOPE04 removed from WEAPON_RIFLE_HUNTING"
    "COMPONENT_RIFLE_SCOPE04 fitted to WEAPON_RIFLE_HUNTING"
    "reticle hidden"
    "[time] loading settings file: Varnholt.ini"
    "[time] settings file loaded")
  string(FIND "${report}" "${expected}" at)
  if(at EQUAL -1)
    fail("the report lacks \"${expected}\":\n${report}")
  endif()
endforeach()
# The sample settings must load without a rejected line, and nothing may go wrong.
if(report MATCHES "cannot parse line|Something wrong happened|\n *[0-9-]+ +! ")
  fail("the sample settings or the run went wrong:\n${report}")
endif()
file(READ ${WORK}/game/Quillfen/Log.log log)
file(READ ${WORK}/game/Quillfen/Log.log log_hex HEX)  # a plain read drops the CRs
if(NOT log MATCHES "settings file loaded\n$" OR NOT log_hex MATCHES "6c6f616465640d0a$")
  fail("Quillfen/Log.log in the unpacked folder should end with the loading lines, in CR LF:\n${log}")
endif()
message(STATUS "${ZIP_NAME}: unpacked, played the default scenario, logged to Quillfen/Log.log")
file(REMOVE_RECURSE ${WORK})
