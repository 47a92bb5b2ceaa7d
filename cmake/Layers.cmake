# Helpers shared by every layer, tool, test and benchmark target.

# Our own code builds with every warning on and treated as an error.
# g++ 12 reports false overlaps (-Wrestrict) inside the inlined std::string
# concatenation at -O3, so that one check is left to other compilers.
function(rk_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror
                                           $<$<CXX_COMPILER_ID:GNU>:-Wno-restrict>)
endfunction()

# rk_layer(NAME DIR DEPENDS deps...)
# A layer is one library made of every .cpp file directly in DIR. Its headers are
# included as "runtime/<layer>/<file>.h", so every target sees the project root.
# No layer builds before the layer check (LayerCheck.cmake) has passed.
function(rk_layer name dir)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
    rk_warnings(${name})
    add_dependencies(${name} rk_layer_check)
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPENDS})
  endif()
endfunction()

# Adds every subfolder of the current folder that has a CMakeLists.txt, so that a
# new tool or benchmark needs no edit of its parent.
function(rk_add_subfolders)
  file(GLOB children LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child ${children})
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
