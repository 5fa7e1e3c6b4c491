# Windows' headers are parsed once per target instead of once per source file: on a fresh machine
# (no compiler cache) they were a large share of the build's time. Only targets with a few C++
# sources gain; C sources are left as they are. The standard library's and GoogleTest's headers
# stay out: precompiled, GCC 12 reports false array bounds in std::wstring's inline copies.
include(${CMAKE_CURRENT_LIST_DIR}/CollectTargets.cmake)
set(KV90_PRECOMPILED_HEADERS
  <windows.h>)

function(kv90_precompile_headers directory)
  kv90_collect_targets(${directory} targets)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$")
      continue()
    endif()
    get_target_property(sources ${target} SOURCES)
    list(FILTER sources INCLUDE REGEX "\\.cpp$")
    list(LENGTH sources count)
    if(count LESS 3)
      continue()
    endif()
    set(headers ${KV90_PRECOMPILED_HEADERS})
    list(TRANSFORM headers PREPEND "$<$<COMPILE_LANGUAGE:CXX>:")
    list(TRANSFORM headers APPEND ">")
    target_precompile_headers(${target} PRIVATE ${headers})
  endforeach()
endfunction()
