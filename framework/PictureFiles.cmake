# The toolkit's portable picture-file code (no windowing, no Win32 file API):
# the program gets it through kv90_framework; the native fuzz and tool builds
# include this file from the skin archive's folder.
if(NOT TARGET kv90_picture_files)
  add_library(kv90_picture_files STATIC
    ${CMAKE_CURRENT_LIST_DIR}/AreaScale.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BmpFile.cpp)
  target_include_directories(kv90_picture_files PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
endif()
