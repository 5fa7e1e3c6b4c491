include_guard(GLOBAL)
# The targets defined in a source folder and the folders below it, for settings given to many
# targets from one place.
function(kv90_collect_targets directory out)
  get_property(found DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirectories)
    kv90_collect_targets(${sub} more)
    list(APPEND found ${more})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()
