# Where `cmake --install` (and `make install`) puts the game:
#
#   <prefix>/lib/vornel/                       the executable with every data file beside it,
#                                              the folder the game reads its data from
#   <prefix>/bin/vornel                        a relative link to ../lib/vornel/vornel
#   <prefix>/share/applications/org.vornel.vornel.desktop
#   <prefix>/share/metainfo/org.vornel.vornel.metainfo.xml   what software centres show
#   <prefix>/share/icons/hicolor/SIZExSIZE/apps/vornel.png
#   <prefix>/share/man/man6/vornel.6
#   <prefix>/share/doc/vornel/README.md
#
# The game finds its data through /proc/self/exe, which resolves the link, so the launcher
# on the PATH works from anywhere, under DESTDIR and at any --prefix. The game folder is not
# GNUInstallDirs' LIBDIR: that may be a multiarch folder of libraries, and the game folder
# holds a program and its data.
include(GNUInstallDirs)

set(VORNEL_INSTALL_GAMEDIR "lib/vornel" CACHE STRING
    "The game's own folder (executable and data), relative to the install prefix")

set(VORNEL_BUILT_DATA ${CMAKE_BINARY_DIR}/bin)

install(TARGETS vornel RUNTIME DESTINATION ${VORNEL_INSTALL_GAMEDIR})
install(FILES
    ${VORNEL_BUILT_DATA}/f15.bin
    ${VORNEL_BUILT_DATA}/bounce.wav
    ${VORNEL_BUILT_DATA}/hit.wav
    ${VORNEL_BUILT_DATA}/gong.wav
    ${VORNEL_BUILT_DATA}/bad.wav
    ${VORNEL_BUILT_DATA}/music5.wav
    ${VORNEL_BUILT_DATA}/help.txt
    ${VORNEL_BUILT_DATA}/cookies.txt
  DESTINATION ${VORNEL_INSTALL_GAMEDIR})

# The picture bank takes as many files as its pictures need, known only once the art
# generator has run; and the launcher link is worked out against the prefix given at install
# time. Both are left to the script, which gets the folders here.
install(CODE "
  set(VORNEL_BUILT_DATA [[${VORNEL_BUILT_DATA}]])
  set(VORNEL_INSTALL_GAMEDIR [[${VORNEL_INSTALL_GAMEDIR}]])
  set(VORNEL_INSTALL_BINDIR [[${CMAKE_INSTALL_BINDIR}]])
")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/VornelInstallGame.cmake)

install(FILES ${PROJECT_SOURCE_DIR}/content/org.vornel.vornel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# The metadata and the manual page carry the version and release date (cmake/VornelVersion.cmake).
set(VORNEL_BUILT_SHARE ${CMAKE_BINARY_DIR}/share)
configure_file(${PROJECT_SOURCE_DIR}/content/org.vornel.vornel.metainfo.xml.in
               ${VORNEL_BUILT_SHARE}/org.vornel.vornel.metainfo.xml @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/doc/vornel.6.in ${VORNEL_BUILT_SHARE}/vornel.6 @ONLY)
install(FILES ${VORNEL_BUILT_SHARE}/org.vornel.vornel.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${VORNEL_BUILT_SHARE}/vornel.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
# The installed game sets its window icon from the icon theme: the build tells it the way
# there from its own folder, which holds at any prefix while both folders are relative.
if(NOT IS_ABSOLUTE "${VORNEL_INSTALL_GAMEDIR}" AND NOT IS_ABSOLUTE "${CMAKE_INSTALL_DATADIR}")
  file(RELATIVE_PATH vornel_icon_from_game "/prefix/${VORNEL_INSTALL_GAMEDIR}"
       "/prefix/${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps/vornel.png")
  target_compile_definitions(vornel_sdl PRIVATE VORNEL_INSTALLED_ICON="${vornel_icon_from_game}")
endif()
foreach(size IN LISTS VORNEL_ICON_SIZES)
  install(FILES ${VORNEL_ICON_FOLDER}/vornel-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME vornel.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/vornel)
