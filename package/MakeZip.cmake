# Makes the release zip so that it depends on nothing but its files' bytes: entries in a fixed order,
# each with the release time (in UTC), fixed permissions, and no extra fields (no owner, no
# access times). Copies the DLL beside it, for SHA256SUMS.
# Usage: cmake -DZIP=zip -DTOUCH=touch -DTIME=<seconds> -DOUT=<dir> -DNAME=<zip name> -DSTAGE=<dir>
#        -DDLL=<Varnholt.dll> -DFILES=<other files> -DLOG_FILES=<files for Quillfen/> -P MakeZip.cmake
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE}/Quillfen ${OUT})
set(entries Varnholt.dll)
file(COPY_FILE ${DLL} ${STAGE}/Varnholt.dll)
# stage(<folder in the zip, or empty> <files>...): copies the files there and adds them to the entries.
function(stage folder)
  foreach(file IN LISTS ARGN)
    get_filename_component(name ${file} NAME)
    # Unpacked into the game folder among other mods' files: a plain README.txt would overwrite theirs.
    if(NOT name MATCHES "^Varnholt[.-]")
      message(FATAL_ERROR "${name}: every file in the zip must carry the plug-in's name (Varnholt-${name})")
    endif()
    file(COPY_FILE ${file} ${STAGE}/${folder}${name})
    list(APPEND entries ${folder}${name})
  endforeach()
  set(entries ${entries} PARENT_SCOPE)
endfunction()
stage("" ${FILES})
# The log's folder last, with the files it holds after it.
list(APPEND entries Quillfen/)
stage(Quillfen/ ${LOG_FILES})

# Installers and mod managers drop a folder with nothing in it; the plug-in never makes the log's folder,
# so an empty one would silently cost the player the log.
foreach(entry IN LISTS entries)
  if(entry MATCHES "/$")
    set(held 0)
    foreach(other IN LISTS entries)
      string(FIND "${other}" "${entry}" at)
      if(at EQUAL 0 AND NOT other STREQUAL entry)
        set(held 1)
      endif()
    endforeach()
    if(NOT held)
      message(FATAL_ERROR "${entry} would be an empty folder in the zip, which installers drop: put a file "
        "in it (such as Varnholt-log-folder.txt in Quillfen/, given by -DLOG_FILES)")
    endif()
  endif()
endforeach()

foreach(entry IN LISTS entries)
  if(entry MATCHES "/$")
    file(CHMOD ${STAGE}/${entry} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
      WORLD_READ WORLD_EXECUTE)
  else()
    file(CHMOD ${STAGE}/${entry} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  endif()
endforeach()
execute_process(COMMAND ${TOUCH} -d @${TIME} ${entries} WORKING_DIRECTORY ${STAGE} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cannot set the release time on the staged files")
endif()

file(REMOVE ${OUT}/${NAME})  # zip would add to an archive that is there
# zip writes times as local time: in UTC, every machine writes the same.
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${ZIP} -X -9 -q ${OUT}/${NAME} ${entries}
  WORKING_DIRECTORY ${STAGE} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${ZIP} failed to make ${OUT}/${NAME}")
endif()
file(COPY_FILE ${DLL} ${OUT}/Varnholt.dll)
