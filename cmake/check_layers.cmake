# Checks that every layer includes only what sits below it.
#
#   cmake -DROOT=<source tree> [-DSTAMP=<file>] -P check_layers.cmake
#
# Reads the #include lines of every source and header in the layers below and
# fails, naming each offending line, when a file
#   - includes a Qt header (<Q...>) outside runtime/platform/qt, unless the file
#     is on the allow-list ROOT/cmake/layer_allow_list.txt;
#   - includes a project header from a folder its layer may not reach: upward
#     (runtime/files reaching runtime/windows), the display (runtime/platform/qt)
#     from the app, or a tool or test from the product.
# An allow-list entry for a file that no longer includes Qt fails too, so that
# the list only ever shrinks. On success, touches STAMP when given.

cmake_minimum_required(VERSION 3.25)

if(NOT ROOT)
  message(FATAL_ERROR "check_layers: ROOT (the source tree) is not set")
endif()

# Each layer: its folder (relative to ROOT; the files directly in it, as each
# layer library is built) and the project folders its files may include.
set(layers
    "runtime/platform|runtime/platform"
    "runtime/core|runtime/core runtime/platform"
    "runtime/files|runtime/files runtime/core runtime/platform"
    "runtime/windows|runtime/windows runtime/files runtime/core runtime/platform runtime/platform/qt resources"
    "runtime/reports|runtime/reports runtime/windows runtime/files runtime/core runtime/platform runtime/platform/qt resources"
    "app/dictionary|app/dictionary runtime/files runtime/core"
    "app|app app/dictionary app/main runtime/reports runtime/windows runtime/files runtime/core resources"
    "app/main|app app/dictionary app/main runtime/reports runtime/windows runtime/files runtime/core resources")

# The project's top folders: a quoted include under one of them is a project
# header and is checked; anything else (a generated or system header) is not.
set(project_roots app runtime resources tools tests bench)

set(allowed_qt "")
set(allow_list_file "${ROOT}/cmake/layer_allow_list.txt")
if(EXISTS "${allow_list_file}")
  file(STRINGS "${allow_list_file}" allow_lines)
  foreach(line IN LISTS allow_lines)
    string(REGEX REPLACE "#.*$" "" line "${line}")
    string(STRIP "${line}" line)
    if(line)
      list(APPEND allowed_qt "${line}")
    endif()
  endforeach()
endif()

set(failures "")
set(qt_users "")

foreach(layer IN LISTS layers)
  string(REPLACE "|" ";" parts "${layer}")
  list(GET parts 0 folder)
  list(GET parts 1 reach)
  string(REPLACE " " ";" reach "${reach}")
  file(GLOB files LIST_DIRECTORIES false "${ROOT}/${folder}/*.cpp" "${ROOT}/${folder}/*.h")
  list(SORT files)
  foreach(path IN LISTS files)
    file(RELATIVE_PATH relative "${ROOT}" "${path}")
    file(STRINGS "${path}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS includes)
      if(NOT line MATCHES "#[ \t]*include[ \t]*([<\"])([^>\"]+)[>\"]")
        continue()
      endif()
      set(bracket "${CMAKE_MATCH_1}")
      set(header "${CMAKE_MATCH_2}")
      if(bracket STREQUAL "<")
        if(header MATCHES "^Q[A-Za-z0-9_]*(/|$)")
          if(relative IN_LIST allowed_qt)
            list(APPEND qt_users "${relative}")
          else()
            list(APPEND failures "${relative}: includes the Qt header <${header}>, which only runtime/platform/qt may")
          endif()
        endif()
        continue()
      endif()
      string(REGEX MATCH "^[^/]+" top "${header}")
      if(NOT top IN_LIST project_roots)
        continue()
      endif()
      get_filename_component(header_folder "${header}" DIRECTORY)
      if(NOT header_folder IN_LIST reach)
        list(APPEND failures "${relative}: includes \"${header}\" from ${header_folder}, which ${folder} may not reach")
      endif()
    endforeach()
  endforeach()
endforeach()

foreach(entry IN LISTS allowed_qt)
  if(NOT entry IN_LIST qt_users)
    list(APPEND failures "${entry}: is on the allow-list but includes no Qt header, take it off")
  endif()
endforeach()

if(failures)
  list(LENGTH failures count)
  string(REPLACE ";" "\n  " shown "${failures}")
  message(FATAL_ERROR "check_layers: ${count} include(s) break the layers:\n  ${shown}")
endif()

if(STAMP)
  file(TOUCH "${STAMP}")
endif()
