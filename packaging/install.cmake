# Installation, as a desktop user expects it:
#   <prefix>/lib/taiju-check/         the programs and the template item file
#                                     (the programs' folder, as build/bin is)
#   <prefix>/bin/                     relative links to the programs
#   <prefix>/share/applications/      launchers
#   <prefix>/share/icons/hicolor/     the icon in five sizes and as SVG
#   <prefix>/share/man/man1/          manual pages
#   <prefix>/share/metainfo/          the description for software centres
# and the Debian package made from the same rules (cpack -G DEB).
#
# Included at the end of the top-level CMakeLists.txt, after both programs.

set(TAIJU_VERSION 1.0.0)
# A literal folder, not CMAKE_INSTALL_LIBDIR: the programs' folder must not
# move into a multiarch folder such as lib/x86_64-linux-gnu.
set(TAIJU_PROGRAM_DIR lib/taiju-check)
# No domain belongs to the project; ".local" names none.
set(TAIJU_APPSTREAM_ID local.taiju_check.taiju_check)

set(taiju_programs taiju-check taiju-view)

set(packaging_src ${CMAKE_CURRENT_LIST_DIR})
set(packaging_bin ${CMAKE_BINARY_DIR}/packaging)

install(TARGETS ${taiju_programs} RUNTIME DESTINATION ${TAIJU_PROGRAM_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/resources/k体重変化.___ DESTINATION ${TAIJU_PROGRAM_DIR})

set(man_pages)
foreach(program ${taiju_programs})
  # The link is relative, so that the tree works under any prefix and in
  # the package; the programs find their folder through the resolved path.
  file(MAKE_DIRECTORY ${packaging_bin}/bin)
  file(CREATE_LINK ../${TAIJU_PROGRAM_DIR}/${program} ${packaging_bin}/bin/${program} SYMBOLIC)
  install(FILES ${packaging_bin}/bin/${program} DESTINATION bin)
  # The launcher names the installed link by its full path.
  install(CODE "set(TAIJU_PROGRAM ${program})
    set(TAIJU_ENTRY_SOURCE \"${packaging_src}/${program}.desktop\")
    set(TAIJU_ENTRY_BUILT \"${packaging_bin}/applications/${program}.desktop\")
    include(\"${packaging_src}/desktop_entry.cmake\")")
  # Manual pages are installed compressed (gzip -9n: no name or time in the
  # header, so that two builds give the same bytes), as Debian keeps them.
  configure_file(${packaging_src}/man/${program}.1 ${packaging_bin}/man/${program}.1 @ONLY)
  add_custom_command(OUTPUT ${packaging_bin}/man/${program}.1.gz
    COMMAND gzip -9nkf ${packaging_bin}/man/${program}.1
    DEPENDS ${packaging_bin}/man/${program}.1 VERBATIM)
  list(APPEND man_pages ${packaging_bin}/man/${program}.1.gz)
  install(FILES ${packaging_bin}/man/${program}.1.gz DESTINATION share/man/man1)
endforeach()

# The icon: drawn at build time by a small program of ours from the same
# shapes as the SVG; its 16 and 32 pixel sizes are the window's own icon.
add_executable(taiju-draw-icons ${packaging_src}/icons/draw_icons.cpp)
target_link_libraries(taiju-draw-icons PRIVATE Qt6::Gui)
set_target_properties(taiju-draw-icons PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${packaging_bin})
set(icon_pngs)
foreach(size 16 32 48 128 256)
  set(png ${packaging_bin}/icons/${size}x${size}/taiju-check.png)
  list(APPEND icon_pngs ${png})
  install(FILES ${png} DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
set(window_icons ${CMAKE_SOURCE_DIR}/resources/icons/form1-16.xpm
                 ${CMAKE_SOURCE_DIR}/resources/icons/form1-32.xpm)
add_custom_command(OUTPUT ${icon_pngs}
  COMMAND taiju-draw-icons ${packaging_bin}/icons ${window_icons}
  DEPENDS taiju-draw-icons ${window_icons}
  COMMENT "Drawing the desktop icons"
  VERBATIM)
add_custom_target(taiju-icons ALL DEPENDS ${icon_pngs})
add_custom_target(taiju-man-pages ALL DEPENDS ${man_pages})
install(FILES ${packaging_src}/icons/taiju-check.svg DESTINATION share/icons/hicolor/scalable/apps)

# The software centres' description: the viewer is a second launcher of it.
configure_file(${packaging_src}/taiju-check.metainfo.xml.in
               ${packaging_bin}/${TAIJU_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${packaging_bin}/${TAIJU_APPSTREAM_ID}.metainfo.xml DESTINATION share/metainfo)

# The Debian package: taiju-check_<version>_<arch>.deb, installing under /usr.
# Beside the libraries that dpkg-shlibdeps finds, the programs need at run
# time the Japanese font the window asks for and Qt's Japanese translations.
# The X11 platform plugin comes with libqt6gui6, which shlibdeps finds.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME taiju-check)
set(CPACK_PACKAGE_VERSION ${TAIJU_VERSION})
set(CPACK_PACKAGE_CONTACT "taiju-check developers <taiju-check@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "body weight check: standard weight, obesity degree and BMI")
set(CPACK_PACKAGE_DESCRIPTION
    "A window tool in Japanese: from body weight and height it computes the standard weight, the obesity degree and the BMI, shows their bands in colour, and appends each check with a comment to a fixed-width Shift_JIS log file. Settings and log are kept in the user's data folder (~/.local/share/taiju-check).")
# Staged with DESTDIR under the prefix /usr, so that the launchers name
# /usr/bin and not the staging folder.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, qt6-translations-l10n")
include(CPack)
