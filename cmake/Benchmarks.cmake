# Benchmarks are built when asked for (target "benchmarks", scripts/bench), not by every build:
# no test runs them, and a fresh machine's test run should not wait for them.
include(${CMAKE_CURRENT_LIST_DIR}/CollectTargets.cmake)

function(kv90_add_benchmarks directory)
  add_subdirectory(${directory} EXCLUDE_FROM_ALL)
  kv90_collect_targets(${CMAKE_CURRENT_SOURCE_DIR}/${directory} targets)
  add_custom_target(benchmarks)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      add_dependencies(benchmarks ${target})
    endif()
  endforeach()
endfunction()
