# How every Windows program and library of the project is compiled and linked, for
# the 32-bit build and the 64-bit host control alike.
set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)

# Sources are UTF-8; the program's texts are GBK bytes at run time.
add_compile_options(-Wall -Wextra $<$<COMPILE_LANGUAGE:C,CXX>:-finput-charset=UTF-8> $<$<COMPILE_LANGUAGE:C,CXX>:-fexec-charset=GBK>)
add_compile_definitions(STRICT NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
# No compiler DLLs beside the program: everything is linked in.
add_link_options(-static -static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s>)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} --codepage=65001")
include(${CMAKE_CURRENT_LIST_DIR}/Reproducible.cmake)
