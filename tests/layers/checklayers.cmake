# Checks the include lines of src/core against the stack of its folders.
#
#   cmake -DCORE=<path of src/core> -P checklayers.cmake
#
# The folders of src/core form one stack, listed here from the bottom up: a
# file may include headers of its own folder and of the folders below it,
# never of one above it (so no two folders can depend on each other), and
# nothing of src/ui. A subfolder belongs to its top folder
# (objects/label is objects). A new folder is added to the stack where its
# includes put it; the README's folder map states the same order.
set(stack
  io
  common
  graphics
  richtext
  calendar
  recurring
  holidays
  print
  formats
  objects
  surface
  app
  export)

if(NOT CORE OR NOT IS_DIRECTORY "${CORE}")
  message(FATAL_ERROR "checklayers: pass -DCORE=<path of src/core>")
endif()
get_filename_component(CORE "${CORE}" ABSOLUTE)

file(GLOB_RECURSE sources RELATIVE "${CORE}" "${CORE}/*.h" "${CORE}/*.cpp")
list(SORT sources)
set(violations)
foreach(source IN LISTS sources)
  string(REGEX REPLACE "/.*" "" folder "${source}")
  list(FIND stack "${folder}" level)
  if(level LESS 0)
    list(APPEND violations "${source}: the folder ${folder} has no place in the stack")
    continue()
  endif()
  file(STRINGS "${CORE}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]*)[\">].*" "\\1" header "${line}")
    if(header MATCHES "^ui/")
      list(APPEND violations "${source} includes ${header}: the core includes nothing of ui")
    elseif(header MATCHES "^core/([^/]+)/")
      set(target "${CMAKE_MATCH_1}")
      list(FIND stack "${target}" target_level)
      if(target_level LESS 0)
        list(APPEND violations "${source} includes ${header}: ${target} has no place in the stack")
      elseif(target_level GREATER level)
        list(APPEND violations
             "${source} includes ${header}: ${folder} lies below ${target} in the stack")
      endif()
    endif()
  endforeach()
endforeach()

list(LENGTH sources count)
if(violations)
  list(JOIN violations "\n  " text)
  message(FATAL_ERROR "checklayers: includes against the stack of src/core:\n  ${text}")
endif()
list(JOIN stack " < " order)
message(STATUS "checklayers: ${count} files keep to ${order}")
