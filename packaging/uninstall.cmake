# SPDX-License-Identifier: MIT
# The target `uninstall`: removes what the last `cmake --install` put under
# the prefix $PREFIX (TAIJU_DEFAULT_PREFIX when unset), as listed in its
# marker TAIJU_MARKER, and the folders that install created when they are
# empty again. A tree made for a package (origin staged) is left alone: the
# package manager owns it. Files the programs wrote are not listed, so the
# user's own files stay.

cmake_minimum_required(VERSION 3.25)

if(DEFINED ENV{PREFIX} AND NOT "$ENV{PREFIX}" STREQUAL "")
  set(prefix "$ENV{PREFIX}")
else()
  set(prefix "${TAIJU_DEFAULT_PREFIX}")
endif()
set(marker "${prefix}/${TAIJU_MARKER}")
if(NOT EXISTS "${marker}")
  message(FATAL_ERROR "体重チェック: ${prefix} にインストールされていません (${marker} がありません)。"
    "別の場所なら PREFIX=<prefix> を付けて実行してください。")
endif()
file(STRINGS "${marker}" lines ENCODING UTF-8)
if(NOT "origin cmake-install" IN_LIST lines)
  message(FATAL_ERROR "体重チェック: ${prefix} の体重チェックはパッケージのものです。"
    "パッケージマネージャーで削除してください (sudo apt remove taiju-check)。")
endif()
set(dirs)
foreach(line ${lines})
  if(line MATCHES "^file (.+)$")
    set(path "${prefix}/${CMAKE_MATCH_1}")
    if(EXISTS "${path}" OR IS_SYMLINK "${path}")
      message(STATUS "Removing: ${path}")
      file(REMOVE "${path}")
    endif()
  elseif(line MATCHES "^dir (.+)$")
    list(PREPEND dirs "${CMAKE_MATCH_1}")
  endif()
endforeach()
# Deepest first; a folder that still holds something (a user's file) stays.
list(SORT dirs ORDER DESCENDING)
foreach(dir ${dirs})
  file(GLOB left "${prefix}/${dir}/*" "${prefix}/${dir}/.*")
  if(IS_DIRECTORY "${prefix}/${dir}" AND NOT left)
    file(REMOVE_RECURSE "${prefix}/${dir}")
  elseif(IS_DIRECTORY "${prefix}/${dir}")
    message(STATUS "Kept (not empty): ${prefix}/${dir}")
  endif()
endforeach()
