# SPDX-License-Identifier: MIT
# Run first at install time: stops before anything is copied when a built
# file is missing, and notes which folders of the prefix the install is about
# to create (the marker lists them, so that `uninstall` removes them again).
# Set before including: TAIJU_BUILT_FILES, TAIJU_INSTALL_DIRS (relative to
# the prefix), TAIJU_BUILD_DIR.

set(missing)
foreach(file ${TAIJU_BUILT_FILES})
  if(NOT EXISTS "${file}")
    string(APPEND missing "\n  ${file}")
  endif()
endforeach()
if(missing)
  # NOTICE prints the lines as they are; FATAL_ERROR would rewrap them.
  message(NOTICE "体重チェック: ビルドされていないファイルがあります:${missing}\n"
    "先にすべてをビルドしてください: cmake --build ${TAIJU_BUILD_DIR}\n"
    "(Not built yet; build everything first: cmake --build ${TAIJU_BUILD_DIR})")
  message(FATAL_ERROR "何もインストールしていません (nothing installed).")
endif()

set(taiju_root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(TAIJU_CREATED_DIRS)
foreach(dir ${TAIJU_INSTALL_DIRS})
  while(NOT dir STREQUAL "." AND NOT dir STREQUAL "" AND NOT IS_DIRECTORY "${taiju_root}/${dir}")
    list(APPEND TAIJU_CREATED_DIRS "${dir}")
    get_filename_component(dir "${dir}" DIRECTORY)
  endwhile()
endforeach()
list(REMOVE_DUPLICATES TAIJU_CREATED_DIRS)

# An install of one's own gets stripped programs; a staged install (DESTDIR,
# a package build) leaves that to the packaging tools, which keep the
# symbols apart.
if("$ENV{DESTDIR}" STREQUAL "")
  set(CMAKE_INSTALL_DO_STRIP 1)
endif()
