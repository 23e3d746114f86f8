# qx_library(NAME DIRS dir... DEPS target...)
# One static library from the .cpp files directly in the given folders. A folder that has no
# sources yet gives an interface library, so later layers can already name it.
function(qx_library name)
  cmake_parse_arguments(ARG "" "" "DIRS;DEPS" ${ARGN})
  set(sources)
  foreach(dir IN LISTS ARG_DIRS)
    file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# qx_sources(VAR dir) lists the .cpp files directly in a folder.
function(qx_sources var dir)
  file(GLOB found CONFIGURE_DEPENDS ${dir}/*.cpp)
  set(${var} ${found} PARENT_SCOPE)
endfunction()

# qx_static_runtime(target): the program carries the C++ runtime, so a start neither loads nor
# binds it (about 1,700 symbol lookups before the first frame). Only for programs that load no
# shared library of their own built against the shared runtime (the benchmark library is one),
# and not under the sanitizers, whose runtimes expect the shared one.
function(qx_static_runtime target)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND NOT QX_SANITIZE AND NOT QX_FUZZ)
    target_link_options(${target} PRIVATE -static-libstdc++ -static-libgcc)
  endif()
endfunction()
