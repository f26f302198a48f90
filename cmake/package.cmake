# Installed layout (cmake --install) and the Debian package (cpack -G DEB).
# The program goes under games/, its data under share/games/brindlewick/, where
# the desktop platform looks for it relative to the executable.
set(BW_VERSION ${PROJECT_VERSION})
set(BW_PACKAGE_MAINTAINER "Brindlewick developers <developers@brindlewick.example>"
    CACHE STRING "Maintainer field of the Debian package")

# Installing and packaging take what is built; scripts/package builds only the
# game, its data and package_files instead of the tools and tests.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

# Debian wants 0755 folders whatever the builder's umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The manual page and the changelog are shipped compressed, without a time stamp
# so that two builds of the same tree give the same package.
set(BW_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)
set(BW_PACKAGING_FILES)
foreach(doc brindlewick.6 changelog)
  add_custom_command(
    OUTPUT ${BW_PACKAGING_OUT}/${doc}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${BW_PACKAGING_OUT}
    COMMAND sh -c "gzip -9nc \"$0\" > \"$1\"" ${CMAKE_SOURCE_DIR}/packaging/${doc}
            ${BW_PACKAGING_OUT}/${doc}.gz
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/${doc}
    VERBATIM)
  list(APPEND BW_PACKAGING_FILES ${BW_PACKAGING_OUT}/${doc}.gz)
endforeach()
# Everything the install needs besides the game and its data.
add_custom_target(package_files ALL DEPENDS ${BW_PACKAGING_FILES} game_icons)

install(TARGETS brindlewick RUNTIME DESTINATION games)
install(DIRECTORY ${CMAKE_BINARY_DIR}/data/ DESTINATION share/games/brindlewick/data
        PATTERN .generated EXCLUDE)
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/ DESTINATION share/icons/hicolor
        PATTERN .generated EXCLUDE)
install(FILES packaging/brindlewick.desktop DESTINATION share/applications)
install(FILES packaging/brindlewick.metainfo.xml DESTINATION share/metainfo)
install(FILES ${BW_PACKAGING_OUT}/brindlewick.6.gz DESTINATION share/man/man6)
install(FILES packaging/copyright ${BW_PACKAGING_OUT}/changelog.gz
        DESTINATION share/doc/brindlewick)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brindlewick)
set(CPACK_PACKAGE_VERSION ${BW_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT ${BW_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${BW_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade game of toothpicks against spiders")
# CPack indents these lines and turns the empty one into the " ." separator.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Sixty seconds, a slingshot in the middle of the table and spiders creeping
in from every edge. Pick up a toothpick, pull it back into the ring at the
centre and let go: every spider it touches is skewered, and each kill by the
same toothpick is worth twice the one before.

Three difficulties, each with its own table of the ten best and the ten most
recent scores.")
# Library dependencies (GLFW, OpenAL, GL, the C++ runtime) come from the
# binary itself through dpkg-shlibdeps, so they always match what it links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
