# Helpers shared by every folder's CMakeLists.txt.

# The Win32 libraries a program links; winegcc links only a few by default.
set(HARBECK_WIN32_LIBS
    -lgdi32 -lcomctl32 -lcomdlg32 -lshell32 -lshlwapi -lole32 -loleaut32
    -luuid -lwininet -lwinspool -ladvapi32 -luser32 -lkernel32)

# harbeck_library(<name> [DEPENDS <libs>...] [NATIVE <native libs>...])
# One static library made of the .cpp/.c files of the calling folder
# (not its subfolders). Headers are included by their path from the top
# folder, e.g. "codecs/ximage.h".
function(harbeck_library name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;NATIVE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  if(NOT sources)
    set(sources ${HARBECK_EMPTY_SOURCE})
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${HARBECK_TOP})
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS} ${ARG_NATIVE})
  set_property(TARGET ${name} PROPERTY HARBECK_SOURCES "${sources}")
  set_property(TARGET ${name} PROPERTY HARBECK_DEPENDS "${ARG_DEPENDS}")
  set_property(TARGET ${name} PROPERTY HARBECK_NATIVE "${ARG_NATIVE}")
endfunction()

# harbeck_asan_library(<name>): the same library built with AddressSanitizer,
# as <name>_asan, with its Harbeck dependencies also taken in their _asan form.
function(harbeck_asan_library name)
  if(TARGET ${name}_asan)
    return()
  endif()
  get_property(sources TARGET ${name} PROPERTY HARBECK_SOURCES)
  get_property(depends TARGET ${name} PROPERTY HARBECK_DEPENDS)
  get_property(native TARGET ${name} PROPERTY HARBECK_NATIVE)
  set(asan_depends)
  foreach(dep ${depends})
    if(TARGET ${dep})
      get_property(is_harbeck TARGET ${dep} PROPERTY HARBECK_SOURCES SET)
      if(is_harbeck)
        harbeck_asan_library(${dep})
        list(APPEND asan_depends ${dep}_asan)
        continue()
      endif()
    endif()
    list(APPEND asan_depends ${dep})
  endforeach()
  add_library(${name}_asan STATIC ${sources})
  target_include_directories(${name}_asan PUBLIC ${HARBECK_TOP})
  target_compile_options(${name}_asan PRIVATE ${HARBECK_ASAN_FLAGS})
  target_link_libraries(${name}_asan PUBLIC ${asan_depends} ${native})
endfunction()

# harbeck_program(<name> SOURCES <files>... [LIBS <libs>...] [WINDOWS])
# A Wine program; WINDOWS makes it a GUI program (no console).
function(harbeck_program name)
  cmake_parse_arguments(ARG "WINDOWS" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${HARBECK_TOP})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} ${HARBECK_WIN32_LIBS})
  if(ARG_WINDOWS)
    target_link_options(${name} PRIVATE -mwindows)
  endif()
endfunction()

# harbeck_layer(<name>): a layer made of sub-folders (toolkit, views,
# browser). Each sub-folder with a CMakeLists.txt is one library named
# <name>_<sub-folder>, which names the libraries it uses; <name> itself is an
# interface library over all of them, for the layers above.
function(harbeck_layer name)
  add_library(${name} INTERFACE)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
       ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child ${children})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
      target_link_libraries(${name} INTERFACE ${name}_${child})
    endif()
  endforeach()
endfunction()
