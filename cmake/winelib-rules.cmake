# Rules CMake cannot guess for winegcc: programs end in .exe, resources are
# compiled by wrc into .res files that winegcc links directly.
set(CMAKE_EXECUTABLE_SUFFIX ".exe")
set(CMAKE_RC_COMPILE_OBJECT "<CMAKE_RC_COMPILER> <DEFINES> <INCLUDES> <FLAGS> -o <OBJECT> <SOURCE>")
set(CMAKE_RC_OUTPUT_EXTENSION ".res")
set(CMAKE_SIZEOF_VOID_P 8)
