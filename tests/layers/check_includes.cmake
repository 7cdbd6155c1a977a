# Fails when a source file of FOLDER includes a header of a folder other than
# those in ALLOWED (names split by commas): a lower layer must not reach up
# into the ones built on it.
#   cmake -DFOLDER=<dir> -DALLOWED=<a,b> -P check_includes.cmake
cmake_minimum_required(VERSION 3.25)
string(REPLACE "," ";" ALLOWED "${ALLOWED}")
file(GLOB_RECURSE sources "${FOLDER}/*.h" "${FOLDER}/*.cpp")
set(found "")
foreach(source IN LISTS sources)
  file(STRINGS "${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[^\"]*\"([^\"/]*)/?.*$" "\\1" top "${line}")
    if(NOT top IN_LIST ALLOWED)
      string(APPEND found "\n  ${source}: ${line}")
    endif()
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "Includes from outside ${ALLOWED}:${found}")
endif()
