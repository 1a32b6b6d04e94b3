# Install-time part of the install rules (VornelInstall.cmake sets the variables): copies
# the picture bank, app0.bin, app1.bin, ..., however many files the build wrote, into the
# game folder, and links <bindir>/vornel to the executable there by a relative path.

function(vornel_full_path relative result)
  if(IS_ABSOLUTE "${relative}")
    set(${result} "${relative}" PARENT_SCOPE)
  else()
    set(${result} "${CMAKE_INSTALL_PREFIX}/${relative}" PARENT_SCOPE)
  endif()
endfunction()

vornel_full_path("${VORNEL_INSTALL_GAMEDIR}" vornel_game_folder)
vornel_full_path("${VORNEL_INSTALL_BINDIR}" vornel_bin_folder)

file(GLOB vornel_bank_files "${VORNEL_BUILT_DATA}/app*.bin")
if(NOT vornel_bank_files)
  message(FATAL_ERROR "vornel: no picture bank (app*.bin) in ${VORNEL_BUILT_DATA}: build the game first")
endif()
file(INSTALL DESTINATION "${vornel_game_folder}" TYPE FILE FILES ${vornel_bank_files})

# A relative link still points into the game folder when the tree is staged under DESTDIR
# or moved as a whole.
file(RELATIVE_PATH vornel_link_target "${vornel_bin_folder}" "${vornel_game_folder}/vornel")
set(vornel_link "$ENV{DESTDIR}${vornel_bin_folder}/vornel")
message(STATUS "Installing: ${vornel_link} -> ${vornel_link_target}")
file(MAKE_DIRECTORY "$ENV{DESTDIR}${vornel_bin_folder}")
file(REMOVE "${vornel_link}")
file(CREATE_LINK "${vornel_link_target}" "${vornel_link}" SYMBOLIC)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${vornel_bin_folder}/vornel")
