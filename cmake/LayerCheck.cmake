# The layer check: cmake/check_layers.cmake runs over the layers' sources before
# any layer library builds, and a forbidden include fails the build. It runs
# again whenever one of those files, the allow-list or the script changes.
set(RK_LAYER_CHECKER ${PROJECT_SOURCE_DIR}/cmake/check_layers.cmake)
file(GLOB_RECURSE rk_layer_sources CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/runtime/*.cpp ${PROJECT_SOURCE_DIR}/runtime/*.h
     ${PROJECT_SOURCE_DIR}/app/*.cpp ${PROJECT_SOURCE_DIR}/app/*.h)
set(rk_layer_stamp ${PROJECT_BINARY_DIR}/layer_check.stamp)
add_custom_command(
  OUTPUT ${rk_layer_stamp}
  COMMAND ${CMAKE_COMMAND} -DROOT=${PROJECT_SOURCE_DIR} -DSTAMP=${rk_layer_stamp}
          -P ${RK_LAYER_CHECKER}
  DEPENDS ${RK_LAYER_CHECKER} ${PROJECT_SOURCE_DIR}/cmake/layer_allow_list.txt
          ${rk_layer_sources}
  COMMENT "Checking the includes of every layer"
  VERBATIM)
add_custom_target(rk_layer_check DEPENDS ${rk_layer_stamp})
