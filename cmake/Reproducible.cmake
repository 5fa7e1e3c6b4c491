# Two builds of one commit give the same bytes, wherever and whenever they are made, so that
# anyone can rebuild a release from its source and compare it with the published files.

# The repository's root, also when the 64-bit host control is configured as a project of its own.
get_filename_component(KV90_REPOSITORY_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)

# No build folder in the binaries: __FILE__ in assertions and checks names a path below the
# repository. The build folder's map comes last: it may lie inside the repository, and the last
# matching map wins.
add_compile_options(
  $<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${KV90_REPOSITORY_ROOT}/=>
  $<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}/=build/>)

# The linker would stamp the link's time into every program's header.
add_link_options(-Wl,--no-insert-timestamp)

# The source's time, for what the build stamps with a time (the zip's entries, the host
# control's type library): the commit's, never the build's. The main build writes it into
# KV90_SOURCE_DATE_FILE at every build; the 64-bit host control's project is given that file.
if(NOT KV90_SOURCE_DATE_FILE)
  set(KV90_SOURCE_DATE_FILE "${CMAKE_BINARY_DIR}/source-date-epoch")
  add_custom_target(kv90_source_date ALL
    COMMAND ${CMAKE_COMMAND} -DROOT=${KV90_REPOSITORY_ROOT} -DOUTPUT=${KV90_SOURCE_DATE_FILE}
            -P ${CMAKE_CURRENT_LIST_DIR}/WriteSourceDate.cmake
    BYPRODUCTS ${KV90_SOURCE_DATE_FILE}
    VERBATIM)
endif()

# Runs the build's own steps that stamp their output (the type library's maker).
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(KV90_PYTHON ${Python3_EXECUTABLE})
