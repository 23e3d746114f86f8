# find_package(Qxworks): the Qxworks toolkit, as the imported target Qxworks::toolkit.
#
#   find_package(Qxworks REQUIRED)
#   add_executable(hello Main.cpp)
#   target_link_libraries(hello PRIVATE Qxworks::toolkit)
#
# The package sits at <root>/lib/cmake/Qxworks in a toolkit root (an install prefix, or the
# build tree's toolkit/), so the root is found from here and the package may be moved with it.
get_filename_component(_qx_root "${CMAKE_CURRENT_LIST_DIR}/../../.." ABSOLUTE)

# The compile and link arguments are kept in the root's flag files, which programs built without
# CMake read as well.
file(STRINGS "${_qx_root}/lib/qxworks/cxxflags.txt" _qx_cxxflags)
file(STRINGS "${_qx_root}/lib/qxworks/link.txt" _qx_link)
# The language level is a compile feature, so it does not fight the program's own.
list(FILTER _qx_cxxflags EXCLUDE REGEX "^-std=")

if(NOT TARGET Qxworks::toolkit)
  add_library(Qxworks::toolkit STATIC IMPORTED)
  set_target_properties(Qxworks::toolkit PROPERTIES
    IMPORTED_LOCATION "${_qx_root}/lib/libqxtoolkit.a"
    IMPORTED_LINK_INTERFACE_LANGUAGES CXX
    INTERFACE_INCLUDE_DIRECTORIES "${_qx_root}/include/qxworks"
    INTERFACE_COMPILE_FEATURES cxx_std_20
    INTERFACE_COMPILE_OPTIONS "${_qx_cxxflags}"
    INTERFACE_LINK_LIBRARIES "${_qx_link}")
endif()

set(Qxworks_TOOLKIT_ROOT "${_qx_root}")  # for programs that want the flag files themselves
unset(_qx_root)
unset(_qx_cxxflags)
unset(_qx_link)
