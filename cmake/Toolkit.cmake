# The toolkit for programs built outside this project: the layers from platform/ to widgets/ as
# one archive with their headers, staged as a toolkit root in <build>/toolkit/ by every build
# (Install.cmake puts the same root below the install prefix):
#   include/qxworks/<folder>/<header>.h   compiled with -I <root>/include/qxworks
#   lib/libqxtoolkit.a                    the libraries qx_platform, qx_core, qx_graphics,
#                                         qx_controls and qx_widgets in one
#   lib/qxworks/cxxflags.txt              what a program's compile needs, one argument a line
#   lib/qxworks/link.txt                  what its link needs after the archive, one a line
#   lib/cmake/Qxworks/                    the CMake package: find_package(Qxworks) gives
#                                         the imported target Qxworks::toolkit
set(QX_TOOLKIT_ROOT ${PROJECT_BINARY_DIR}/toolkit)
set(qx_toolkit_layers qx_platform qx_core qx_graphics qx_controls qx_widgets)
set(qx_toolkit_folders platform platform/draw core storage model graphics controls widgets)

set(objects)
foreach(layer IN LISTS qx_toolkit_layers)
  list(APPEND objects $<TARGET_OBJECTS:${layer}>)
endforeach()
add_library(qxtoolkit STATIC ${objects})
set_target_properties(qxtoolkit PROPERTIES ARCHIVE_OUTPUT_DIRECTORY ${QX_TOOLKIT_ROOT}/lib)

# The headers are copied at build time, a folder at a time, so an edited header reaches the root
# with the next build and not only with the next configure.
set(staged_headers)
foreach(folder IN LISTS qx_toolkit_folders)
  file(GLOB headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.h)
  set(into ${QX_TOOLKIT_ROOT}/include/qxworks/${folder})
  set(outputs)
  foreach(header IN LISTS headers)
    get_filename_component(name ${header} NAME)
    list(APPEND outputs ${into}/${name})
  endforeach()
  add_custom_command(OUTPUT ${outputs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${into}
    COMMAND ${CMAKE_COMMAND} -E copy ${headers} ${into}
    DEPENDS ${headers}
    COMMENT "Staging the toolkit's headers of ${folder}/")
  list(APPEND staged_headers ${outputs})
endforeach()
add_custom_target(qxtoolkit_headers ALL DEPENDS ${staged_headers})
add_dependencies(qxtoolkit qxtoolkit_headers)

# What a program needs besides the root's own paths. The headers include no header of SDL or
# fontconfig, so compiling takes only the language level; the link takes their libraries. An
# instrumented toolkit needs the same instrumentation in the program's link.
set(cxxflags -std=c++20)
set(linkflags ${SDL2TTF_LDFLAGS} ${SDL2_LDFLAGS} ${FONTCONFIG_LDFLAGS})
list(REMOVE_DUPLICATES linkflags)
if(QX_SANITIZE)
  list(APPEND cxxflags -fsanitize=address,undefined)
  list(APPEND linkflags -fsanitize=address,undefined)
endif()
list(JOIN cxxflags "\n" text)
file(GENERATE OUTPUT ${QX_TOOLKIT_ROOT}/lib/qxworks/cxxflags.txt CONTENT "${text}\n")
list(JOIN linkflags "\n" text)
file(GENERATE OUTPUT ${QX_TOOLKIT_ROOT}/lib/qxworks/link.txt CONTENT "${text}\n")

include(CMakePackageConfigHelpers)
configure_file(${PROJECT_SOURCE_DIR}/cmake/QxworksConfig.cmake
               ${QX_TOOLKIT_ROOT}/lib/cmake/Qxworks/QxworksConfig.cmake COPYONLY)
write_basic_package_version_file(
  ${QX_TOOLKIT_ROOT}/lib/cmake/Qxworks/QxworksConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMinorVersion)
