# What `cmake --install` puts below the prefix (the README's set-up uses ~/.local):
#   bin/                         qxworks, qxtree and the other tools
#   share/qxworks/Pics/          the pictures, which a first start copies to drive C:
#   share/applications/          the desktop entry
#   share/icons/hicolor/N/apps/  the icon
#   include/qxworks/, lib/       the toolkit (Toolkit.cmake), its own component `toolkit`: the
#                                root is the prefix itself, so an installed qxworks finds it at
#                                <bin>/.. (platform::ToolkitRoot); lib, not the multiarch
#                                library folder, for the same reason
include(GNUInstallDirs)

foreach(program IN ITEMS qxworks qxtree qxpics qxgallery qxscene qxdesigner)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT environment)
  endif()
endforeach()

if(TARGET pictures)
  install(DIRECTORY ${PROJECT_BINARY_DIR}/pics/ DESTINATION ${CMAKE_INSTALL_DATADIR}/qxworks/Pics
          COMPONENT environment PATTERN .stamp EXCLUDE)
endif()
if(TARGET icons)
  install(DIRECTORY ${PROJECT_BINARY_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor
          COMPONENT environment)
endif()

# The entry names the program by its full path, taken when the install runs: `--prefix` may
# differ from the prefix configured, and ~/.local/bin is not always on the menu's PATH.
install(CODE "
  set(QX_BINDIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  configure_file(\"${PROJECT_SOURCE_DIR}/assets/qxworks.desktop.in\"
                 \"${PROJECT_BINARY_DIR}/install/qxworks.desktop\" @ONLY)
  file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\"
       TYPE FILE FILES \"${PROJECT_BINARY_DIR}/install/qxworks.desktop\")
" COMPONENT environment)

install(DIRECTORY ${QX_TOOLKIT_ROOT}/include/ DESTINATION include COMPONENT toolkit)
install(TARGETS qxtoolkit ARCHIVE DESTINATION lib COMPONENT toolkit)
install(DIRECTORY ${QX_TOOLKIT_ROOT}/lib/qxworks ${QX_TOOLKIT_ROOT}/lib/cmake DESTINATION lib
        COMPONENT toolkit)

# `cpack -G DEB` in the build folder makes a package of the same install, below /usr.
set(CPACK_PACKAGE_NAME qxworks)
set(CPACK_PACKAGE_VENDOR "Qxworks")
set(CPACK_PACKAGE_CONTACT "Qxworks developers <qxworks@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Visual C++ development environment")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES TRUE)  # the package carries no debugging information
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libsdl2-2.0-0 (>= 2.26), libsdl2-ttf-2.0-0, libfontconfig1, fonts-dejavu-core")
# What a program built on the installed toolkit compiles and links with.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "g++ (>= 12), libsdl2-dev, libsdl2-ttf-dev, libfontconfig-dev")
include(CPack)
