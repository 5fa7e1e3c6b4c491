# The unit tests' programs compile their sources in batches (unity builds): each test file
# includes GoogleTest, Windows' and the project's headers, which a batch then parses once. A
# program whose test files repeat names in their anonymous namespaces is named in the exceptions
# and compiled file by file.
include(${CMAKE_CURRENT_LIST_DIR}/CollectTargets.cmake)

function(kv90_unity_builds directory)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "EXCEPT")
  kv90_collect_targets(${directory} targets)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE" AND NOT target IN_LIST arg_EXCEPT)
      set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
      # GCC takes each batched file for a header, and warns that a test derives from a fixture in
      # its anonymous namespace, which is a fault in a header only.
      target_compile_options(${target} PRIVATE -Wno-subobject-linkage)
    endif()
  endforeach()
endfunction()
