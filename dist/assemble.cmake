# Assembles the program folder from the shipped data:
#
#   cmake -DSRC=<dist/data> -DDEST=<program folder> -P assemble.cmake
#
# Creates every folder of SRC under DEST and copies each file of SRC that DEST
# does not have yet. A file already present in DEST is never replaced, so the
# editor's tables, projects and settings survive any number of assemblies.
# ".keep" files only hold empty folders in git and are not copied.
# Prints one line per file it adds and nothing when the folder is complete.
cmake_minimum_required(VERSION 3.25)

foreach(var IN ITEMS SRC DEST)
  if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
    message(FATAL_ERROR "assemble.cmake: pass -D${var}=<folder>")
  endif()
endforeach()
if(NOT IS_DIRECTORY "${SRC}")
  message(FATAL_ERROR "assemble.cmake: no data folder ${SRC}")
endif()

file(MAKE_DIRECTORY "${DEST}")
file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE "${SRC}" "${SRC}/*")
list(SORT entries)
foreach(rel IN LISTS entries)
  set(from "${SRC}/${rel}")
  set(to "${DEST}/${rel}")
  if(IS_DIRECTORY "${from}")
    file(MAKE_DIRECTORY "${to}")
    continue()
  endif()
  get_filename_component(name "${rel}" NAME)
  if(name STREQUAL ".keep" OR EXISTS "${to}" OR IS_SYMLINK "${to}")
    continue()
  endif()
  get_filename_component(dir "${to}" DIRECTORY)
  file(MAKE_DIRECTORY "${dir}")
  # Copy beside the target, then rename without replacing: a file never
  # appears half-written, and one that appeared meanwhile is kept. (CMake
  # renames without replacing through a hard link, so the copy is removed after.)
  set(part "${to}.assembling")
  file(COPY_FILE "${from}" "${part}")
  file(RENAME "${part}" "${to}" NO_REPLACE RESULT renamed)
  file(REMOVE "${part}")
  if(renamed STREQUAL "0")
    message(STATUS "program folder: added ${rel}")
  endif()
endforeach()
