# The layering of the libraries, enforced by the compiler: each library's include root holds
# only its own folder, so "media/Picture.h" is found by vornel_media itself and by whatever
# links it, and by nothing else. A library sees another's headers only through a link:
# PUBLIC when its own headers include them, PRIVATE when only its .cpp files do.
#
# The include root is a folder of the build tree, include/TARGET/, holding one symbolic link
# FOLDER-NAME -> the source folder, so the headers keep their spelling ("core/Fixed.h") and
# are edited where they are; nothing is copied.

# vornel_expose_headers(TARGET [FOLDER [PARENT]]): TARGET exposes FOLDER (default: the current
# source folder) as <folder name>/, or <PARENT>/<folder name>/ (the backends: "backends/sdl/"),
# to itself and to the targets that link it.
function(vornel_expose_headers target)
  if(ARGC GREATER 1)
    set(folder ${ARGV1})
  else()
    set(folder ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  get_filename_component(name ${folder} NAME)
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  set(parent ${root})
  if(ARGC GREATER 2)
    set(parent ${root}/${ARGV2})
  endif()
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${folder} ${parent}/${name} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
endfunction()

# vornel_expose_single_header(TARGET FOLDER-NAME FILE): an INTERFACE TARGET that exposes one
# header FILE as <FOLDER-NAME>/<file name>, for a layer that may use one interface of another
# library and nothing else of it.
function(vornel_expose_single_header target name file)
  get_filename_component(fileName ${file} NAME)
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  file(MAKE_DIRECTORY ${root}/${name})
  file(CREATE_LINK ${file} ${root}/${name}/${fileName} SYMBOLIC)
  target_include_directories(${target} INTERFACE ${root})
endfunction()
