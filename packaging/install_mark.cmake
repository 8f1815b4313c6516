# SPDX-License-Identifier: MIT
# Run last at install time: writes the marker TAIJU_MARKER (relative to the
# prefix) beside the installed programs. Its presence tells the programs
# that they run installed (their files then go to the user's data folder);
# its lines list what this install put in place, for `uninstall`:
#   origin cmake-install | origin staged     how the tree was made
#   dir <path>                               a folder the install created
#   file <path>                              an installed file or link
# Paths are relative to the prefix. A staged install (DESTDIR) is a package
# in the making: `uninstall` leaves it to the package manager.
# Set before including: TAIJU_MARKER, TAIJU_VERSION; TAIJU_CREATED_DIRS
# comes from install_check.cmake.

set(taiju_root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
if("$ENV{DESTDIR}" STREQUAL "")
  set(origin cmake-install)
else()
  set(origin staged)
endif()
set(text "# taiju-check ${TAIJU_VERSION}: the programs in this folder are installed.\n")
string(APPEND text "origin ${origin}\n")
foreach(dir ${TAIJU_CREATED_DIRS})
  string(APPEND text "dir ${dir}\n")
endforeach()
# The manifest names files under the prefix, with or without DESTDIR.
set(files ${CMAKE_INSTALL_MANIFEST_FILES} "${CMAKE_INSTALL_PREFIX}/${TAIJU_MARKER}")
list(TRANSFORM files REPLACE "^${taiju_root}/" "")
list(TRANSFORM files REPLACE "^${CMAKE_INSTALL_PREFIX}/" "")
list(REMOVE_DUPLICATES files)
list(SORT files)
foreach(file ${files})
  string(APPEND text "file ${file}\n")
endforeach()
file(WRITE "${taiju_root}/${TAIJU_MARKER}" "${text}")
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${taiju_root}/${TAIJU_MARKER}")
message(STATUS "Installing: ${taiju_root}/${TAIJU_MARKER}")
