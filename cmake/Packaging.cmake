# `cpack` in a build folder makes a Debian package of what `cmake --install` installs;
# scripts/package.sh builds and checks it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME glyphox)
set(CPACK_PACKAGE_VENDOR "The Glyphox team")
set(CPACK_PACKAGE_CONTACT "The Glyphox team <glyphox@example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://glyphox.example.org/)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor of the character sprites of the SNES game Morrow")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Glyphox opens a Morrow ROM image, shows its actors' tiles and poses in the game's\n"
    "palettes, edits tiles pixel by pixel and palette colours in HLS or RGB, and saves\n"
    "the image back in place through a journal. glyphox-cli does the same data work\n"
    "from scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# The libraries come from dpkg-shlibdeps; Qt's window system plugins are only
# recommended by its libraries, and the editor cannot show a window without them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS hicolor-icon-theme)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS bash-completion)

include(CPack)
