# SPDX-License-Identifier: MIT
# `make package`: a Debian binary package of everything `make install` puts
# in place, installed below /usr.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tobextractor)
set(CPACK_PACKAGE_VENDOR "The TobExtractor developers")
set(CPACK_PACKAGE_CONTACT "${TOBX_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "extract and build Tobrava and Rollcage game archives")
set(CPACK_PACKAGE_DESCRIPTION
"TobExtractor is a desktop tool for people who mod the games Tobrava
(I and II) and Rollcage (I and Stage II, PC and PSX). It recognises a game
file by its first bytes and its extension, extracts a Tobrava II archive or
a Rollcage index and image pair into a folder with a list file that names
every entry, builds a new archive or index from an edited list file, converts
Tobrava I pictures into JPEG files and applies predefined Rollcage Stage II
tweaks. The command line tobx runs the same operations.
.
Game data is not included.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Directories as Debian has them, whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TOBX_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TOBX_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads the plugin that draws on the screen at run time, so dpkg-shlibdeps
# cannot see it; without it the window does not open.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)

include(CPack)
