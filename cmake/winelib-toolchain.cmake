# Builds Win32 code as a Winelib program: winegcc/wineg++ compile against Wine's
# headers and link a native .exe.so that runs on Wine (64-bit).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER winegcc)
set(CMAKE_CXX_COMPILER wineg++)
set(CMAKE_RC_COMPILER wrc)

# CMake's compiler probe links a program; winegcc's output is a launcher script,
# so let the probe compile only.
set(CMAKE_C_COMPILER_ID_TEST_FLAGS_FIRST "-c")
set(CMAKE_CXX_COMPILER_ID_TEST_FLAGS_FIRST "-c")

set(CMAKE_LIBRARY_ARCHITECTURE x86_64-linux-gnu)
set(CMAKE_USER_MAKE_RULES_OVERRIDE ${CMAKE_CURRENT_LIST_DIR}/winelib-rules.cmake)
