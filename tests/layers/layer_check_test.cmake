# The layer check, run on small trees made here and on the real source tree.
#
#   cmake -DCHECKER=<check_layers.cmake> -DSOURCE_DIR=<source tree>
#         -DWORK_DIR=<scratch folder> -P layer_check_test.cmake
#
# Each case writes a tree with one kind of include, runs the checker on it and
# expects it to pass, or to fail naming the file and the header.
cmake_minimum_required(VERSION 3.25)

# write_tree(NAME path1 text1 path2 text2 ...): a fresh tree under WORK_DIR.
function(write_tree name)
  set(root "${WORK_DIR}/${name}")
  file(REMOVE_RECURSE "${root}")
  set(args ${ARGN})
  while(args)
    list(POP_FRONT args path text)
    file(WRITE "${root}/${path}" "${text}\n")
  endwhile()
endfunction()

function(run_checker name result_var output_var)
  execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${WORK_DIR}/${name} -P ${CHECKER}
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(${result_var} "${result}" PARENT_SCOPE)
  set(${output_var} "${out}${err}" PARENT_SCOPE)
endfunction()

function(expect_pass name)
  run_checker(${name} result output)
  if(NOT result EQUAL 0)
    message(SEND_ERROR "${name}: expected the check to pass, it failed:\n${output}")
  endif()
endfunction()

# expect_fail(NAME text...): fails, and says every text given.
function(expect_fail name)
  run_checker(${name} result output)
  if(result EQUAL 0)
    message(SEND_ERROR "${name}: expected the check to fail, it passed")
  endif()
  foreach(text IN LISTS ARGN)
    string(FIND "${output}" "${text}" at)
    if(at EQUAL -1)
      message(SEND_ERROR "${name}: the failure does not say \"${text}\":\n${output}")
    endif()
  endforeach()
endfunction()

# A tree of one file with one include line, which the check must refuse,
# naming the file and what it includes.
function(expect_refused name file line shown)
  write_tree(${name} ${file} "${line}")
  expect_fail(${name} "${file}" "${shown}")
endfunction()

# Every layer including only what is below it, and Qt where the display lives.
write_tree(clean
  runtime/core/value.h "#include <string>\n#include \"runtime/platform/clock.h\""
  runtime/files/table.cpp "#include \"runtime/core/value.h\"\n#include \"runtime/files/table.h\""
  runtime/windows/control.cpp "#include \"runtime/platform/qt/entry_widget.h\"\n#include \"resources/resource_table.h\""
  runtime/platform/qt/entry_widget.h "#include <QWidget>"
  runtime/reports/report.cpp "#include \"runtime/windows/window.h\""
  app/form.cpp "#include \"runtime/windows/window.h\"\n#include \"app/dictionary/tapes.h\""
  app/main/main.cpp "#include \"app/form.h\"\n#include \"runtime/windows/window_system.h\"")
expect_pass(clean)

expect_refused(qt_in_windows runtime/windows/control_spin.cpp
  "#include <vector>\n#include <QSpinBox>"
  "<QSpinBox>")

expect_refused(qt_module_path_in_core runtime/core/strings.cpp
  "  #  include <QtCore/QString>"
  "<QtCore/QString>")

expect_refused(display_from_app app/main/main.cpp
  "#include \"runtime/platform/qt/fonts.h\""
  "runtime/platform/qt/fonts.h")

expect_refused(os_layer_from_app app/form.cpp
  "#include \"runtime/platform/clock.h\""
  "runtime/platform/clock.h")

expect_refused(files_reaching_up runtime/files/view.cpp
  "#include \"runtime/windows/window.h\""
  "runtime/windows/window.h")

expect_refused(core_reaching_the_display runtime/core/picture.cpp
  "#include \"runtime/platform/qt/ansi_text.h\""
  "runtime/platform/qt/ansi_text.h")

expect_refused(product_including_a_tool runtime/reports/report.cpp
  "#include \"tools/drive/program_driver.h\""
  "tools/drive/program_driver.h")

# A file on the allow-list may include Qt; the others in its folder may not.
write_tree(allowed
  cmake/layer_allow_list.txt "# why: see the docs\nruntime/windows/window.h  # the font"
  runtime/windows/window.h "#include <QFont>"
  runtime/windows/control.h "#include <QWidget>")
expect_fail(allowed "runtime/windows/control.h" "<QWidget>")
run_checker(allowed result output)
string(FIND "${output}" "runtime/windows/window.h" at)
if(NOT at EQUAL -1)
  message(SEND_ERROR "allowed: the allow-listed file is reported:\n${output}")
endif()

# An entry whose file no longer includes Qt must leave the list.
write_tree(stale_entry
  cmake/layer_allow_list.txt "runtime/windows/window.h"
  runtime/windows/window.h "#include <string>")
expect_fail(stale_entry "runtime/windows/window.h" "allow-list")

# The source tree itself keeps its layers.
execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${SOURCE_DIR} -P ${CHECKER}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0)
  message(SEND_ERROR "the source tree breaks its layers:\n${out}${err}")
endif()
