# The Debian package: `cpack -G DEB` in the build folder. Its runtime dependencies are
# computed from the binaries by dpkg-shlibdeps, so they follow whatever the build linked.
set(CPACK_PACKAGE_NAME pictavo)
set(CPACK_PACKAGE_VENDOR "The Pictavo authors")
set(CPACK_PACKAGE_CONTACT "${PICTAVO_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "collects every picture copied to the clipboard into a gallery")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://pictavo.codeberg.page/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own texts (dialog buttons, key names) in the user's language; the program's are in
# the package.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-translations-l10n)
# The extended description; CPack puts the summary before it and indents it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Pictavo collects screen captures into a gallery of thumbnails. Press
PrintScreen, or copy a picture in any program: every bitmap that lands on the
clipboard is taken into the gallery at once and the clipboard is emptied.

From the gallery a picture can be viewed in zoom windows or full screen,
saved as JPEG or BMP, printed, copied back, deleted; files and whole folders
can be loaded. Pictures live in memory only; nothing is written unless saved.")
include(CPack)
