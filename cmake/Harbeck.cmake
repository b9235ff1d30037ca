# Helpers shared by every folder's CMakeLists.txt.

# The Win32 libraries a program links; winegcc links only a few by default.
set(HARBECK_WIN32_LIBS
    -lgdi32 -lcomctl32 -lcomdlg32 -lshell32 -lshlwapi -lole32 -loleaut32
    -luuid -lwininet -lwinspool -ladvapi32 -luser32 -lkernel32)

# harbeck_library(<name> [SOURCES <files>...] [DEPENDS <libs>...] [NATIVE <native libs>...])
# One static library made of the .cpp/.c files of the calling folder (not its
# subfolders), or of the files SOURCES names. Headers are included by their
# path from the top folder, e.g. "codecs/ximage.h".
function(harbeck_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS;NATIVE" ${ARGN})
  if(ARG_SOURCES)
    set(sources)
    foreach(source ${ARG_SOURCES})
      get_filename_component(source ${source} ABSOLUTE)
      list(APPEND sources ${source})
    endforeach()
  else()
    file(GLOB sources CONFIGURE_DEPENDS
         ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  endif()
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

# harbeck_sanitized_library(<name> <kind> <flags>...): the same library built
# with a sanitizer's compile flags, as <name>_<kind> (asan, ubsan), with its
# Harbeck dependencies also taken in that form.
function(harbeck_sanitized_library name kind)
  if(TARGET ${name}_${kind})
    return()
  endif()
  get_property(sources TARGET ${name} PROPERTY HARBECK_SOURCES)
  get_property(depends TARGET ${name} PROPERTY HARBECK_DEPENDS)
  get_property(native TARGET ${name} PROPERTY HARBECK_NATIVE)
  set(sanitized_depends)
  foreach(dep ${depends})
    if(TARGET ${dep})
      get_property(is_harbeck TARGET ${dep} PROPERTY HARBECK_SOURCES SET)
      if(is_harbeck)
        harbeck_sanitized_library(${dep} ${kind} ${ARGN})
        list(APPEND sanitized_depends ${dep}_${kind})
        continue()
      endif()
    endif()
    list(APPEND sanitized_depends ${dep})
  endforeach()
  add_library(${name}_${kind} STATIC ${sources})
  target_include_directories(${name}_${kind} PUBLIC ${HARBECK_TOP})
  target_compile_options(${name}_${kind} PRIVATE ${ARGN})
  target_link_libraries(${name}_${kind} PUBLIC ${sanitized_depends} ${native})
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
