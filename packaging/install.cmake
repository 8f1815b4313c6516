# SPDX-License-Identifier: MIT
# Installation, as a desktop user expects it:
#   <prefix>/lib/taiju-check/         the programs, the template item file and
#                                     the marker "installed-files"
#   <prefix>/bin/                     relative links to the programs
#   <prefix>/share/applications/      launchers
#   <prefix>/share/icons/hicolor/     the icon in five sizes and as SVG
#   <prefix>/share/man/man1/          manual pages in English
#   <prefix>/share/man/ja/man1/       manual pages in Japanese
#   <prefix>/share/metainfo/          the description for software centres
#   <prefix>/share/taiju-check/screenshots/  both windows, as the description shows them
#   <prefix>/share/taiju-check/       screenshots of both windows
# The Debian package (debian/, dpkg-buildpackage) installs the same tree
# under /usr.
#
# An install either copies everything or nothing: it first checks that every
# built file is there. The programs are stripped, except in a staged install
# (DESTDIR), whose packaging tools strip them themselves. The marker lists
# what the install put in place, so that the target `uninstall` removes
# exactly that, and it tells the programs that they run installed.
#
# Included at the end of the top-level CMakeLists.txt, after both programs.

set(TAIJU_VERSION ${PROJECT_VERSION})
# A literal folder, not CMAKE_INSTALL_LIBDIR: the programs' folder must not
# move into a multiarch folder such as lib/x86_64-linux-gnu.
set(TAIJU_PROGRAM_DIR lib/taiju-check)
# No domain belongs to the project; ".local" names none.
set(TAIJU_APPSTREAM_ID local.taiju_check.taiju_check)

set(taiju_programs taiju-check taiju-view)

set(packaging_src ${CMAKE_CURRENT_LIST_DIR})
set(packaging_bin ${CMAKE_BINARY_DIR}/packaging)

foreach(program ${taiju_programs})
  target_compile_definitions(${program} PRIVATE TAIJU_VERSION="${TAIJU_VERSION}")
endforeach()

# Every built file the install copies, and every folder it installs into.
set(built_files $<TARGET_FILE:taiju-check> $<TARGET_FILE:taiju-view>)
set(install_dirs bin ${TAIJU_PROGRAM_DIR} share/applications share/man/man1 share/man/ja/man1
                 share/metainfo share/icons/hicolor/scalable/apps)

set(man_pages)
foreach(program ${taiju_programs})
  # The link is relative, so that the tree works under any prefix and in
  # the package; the programs find their folder through the resolved path.
  file(MAKE_DIRECTORY ${packaging_bin}/bin)
  file(CREATE_LINK ../${TAIJU_PROGRAM_DIR}/${program} ${packaging_bin}/bin/${program} SYMBOLIC)
  # Manual pages are installed compressed (gzip -9n: no name or time in the
  # header, so that two builds give the same bytes), as Debian keeps them.
  foreach(lang en ja)
    if(lang STREQUAL en)
      set(page_src ${packaging_src}/man/${program}.1)
      set(page_dir share/man/man1)
    else()
      set(page_src ${packaging_src}/man/${program}.${lang}.1)
      set(page_dir share/man/${lang}/man1)
    endif()
    set(page ${packaging_bin}/man/${lang}/${program}.1)
    configure_file(${page_src} ${page} @ONLY)
    add_custom_command(OUTPUT ${page}.gz COMMAND gzip -9nkf ${page} DEPENDS ${page} VERBATIM)
    list(APPEND man_pages ${page}.gz)
    list(APPEND built_files ${page}.gz)
    set(man_dest_${lang} ${page_dir})
  endforeach()
endforeach()
add_custom_target(taiju-man-pages ALL DEPENDS ${man_pages})

# The icon: drawn at build time by a small program of ours from the same
# shapes as the SVG; its 16 and 32 pixel sizes are the window's own icon.
add_executable(taiju-draw-icons ${packaging_src}/icons/draw_icons.cpp)
target_link_libraries(taiju-draw-icons PRIVATE Qt6::Gui)
set_target_properties(taiju-draw-icons PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${packaging_bin})
set(icon_pngs)
foreach(size 16 32 48 128 256)
  list(APPEND icon_pngs ${packaging_bin}/icons/${size}x${size}/taiju-check.png)
  list(APPEND install_dirs share/icons/hicolor/${size}x${size}/apps)
endforeach()
list(APPEND built_files ${icon_pngs})
set(window_icons ${CMAKE_SOURCE_DIR}/resources/icons/form1-16.xpm
                 ${CMAKE_SOURCE_DIR}/resources/icons/form1-32.xpm)
add_custom_command(OUTPUT ${icon_pngs}
  COMMAND taiju-draw-icons ${packaging_bin}/icons ${window_icons}
  DEPENDS taiju-draw-icons ${window_icons}
  COMMENT "Drawing the desktop icons"
  VERBATIM)
add_custom_target(taiju-icons ALL DEPENDS ${icon_pngs})

# Screenshots of both windows for the software centres, taken from the real
# windows under the offscreen platform by a small program of ours.
add_executable(taiju-screenshots ${packaging_src}/screenshots.cpp)
target_link_libraries(taiju-screenshots PRIVATE taiju_form taiju_view)
set_target_properties(taiju-screenshots PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${packaging_bin})
set(screenshots ${packaging_bin}/screenshots/taiju-check.png ${packaging_bin}/screenshots/taiju-view.png)
add_custom_command(OUTPUT ${screenshots}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:taiju-screenshots> ${packaging_bin}/screenshots ${CMAKE_SOURCE_DIR}/resources/k体重変化.___
  DEPENDS taiju-screenshots ${CMAKE_SOURCE_DIR}/resources/k体重変化.___
  COMMENT "Taking the screenshots of both windows"
  VERBATIM)
add_custom_target(taiju-screenshot-pngs ALL DEPENDS ${screenshots})
list(APPEND built_files ${screenshots})
list(APPEND install_dirs share/taiju-check/screenshots)

# The software centres' description: the viewer is a second launcher of it.
configure_file(${packaging_src}/taiju-check.metainfo.xml.in
               ${packaging_bin}/${TAIJU_APPSTREAM_ID}.metainfo.xml @ONLY)

# --- The install, in order: check, copy, mark. ---
install(CODE "set(TAIJU_BUILT_FILES \"${built_files}\")
  set(TAIJU_INSTALL_DIRS \"${install_dirs}\")
  set(TAIJU_BUILD_DIR \"${CMAKE_BINARY_DIR}\")
  include(\"${packaging_src}/install_check.cmake\")")

install(TARGETS ${taiju_programs} RUNTIME DESTINATION ${TAIJU_PROGRAM_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/resources/k体重変化.___ DESTINATION ${TAIJU_PROGRAM_DIR})
foreach(program ${taiju_programs})
  install(FILES ${packaging_bin}/bin/${program} DESTINATION bin)
  # The launcher names the installed link by its full path.
  install(CODE "set(TAIJU_PROGRAM ${program})
    set(TAIJU_ENTRY_SOURCE \"${packaging_src}/${program}.desktop\")
    set(TAIJU_ENTRY_BUILT \"${packaging_bin}/applications/${program}.desktop\")
    include(\"${packaging_src}/desktop_entry.cmake\")")
  install(FILES ${packaging_bin}/man/en/${program}.1.gz DESTINATION ${man_dest_en})
  install(FILES ${packaging_bin}/man/ja/${program}.1.gz DESTINATION ${man_dest_ja})
endforeach()
foreach(size 16 32 48 128 256)
  install(FILES ${packaging_bin}/icons/${size}x${size}/taiju-check.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${packaging_src}/icons/taiju-check.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${packaging_bin}/${TAIJU_APPSTREAM_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${screenshots} DESTINATION share/taiju-check/screenshots)

install(CODE "set(TAIJU_MARKER \"${TAIJU_PROGRAM_DIR}/installed-files\")
  set(TAIJU_VERSION ${TAIJU_VERSION})
  include(\"${packaging_src}/install_mark.cmake\")")

# Removes what the last `cmake --install` put under the prefix PREFIX (from
# the environment; the configured install prefix when unset).
add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -DTAIJU_MARKER=${TAIJU_PROGRAM_DIR}/installed-files
          -DTAIJU_DEFAULT_PREFIX=${CMAKE_INSTALL_PREFIX} -P ${packaging_src}/uninstall.cmake
  VERBATIM)
