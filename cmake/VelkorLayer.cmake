# One static library per layer of the program. A layer compiles against an
# include root of its own that holds links to the headers of its own folders
# and of the layers it links, and nothing else: an include that points upward
# (srf/ including the window, say) names a header the compiler cannot find,
# and the build fails there.
#
#   velkor_layer(<target> [EXECUTABLE] FOLDERS <folder>... [LINKS <layer or library>...]
#                [EXCLUDE <file name>...])
#
# FOLDERS are source folders relative to the top (their .cpp files are the
# library, their .h files what it exports); a folder's commands/ subfolder is
# a folder of its own and never seen through its parent. An EXECUTABLE layer
# is a program on top of its layers (velkor-cli sees only the jobs and what
# they see). EXCLUDE leaves out source files by name (the browser build, for
# files only the desktop has).
function(velkor_layer target)
  cmake_parse_arguments(LAYER "EXECUTABLE" "" "FOLDERS;LINKS;EXCLUDE" ${ARGN})
  set(sources)
  foreach(folder ${LAYER_FOLDERS})
    file(GLOB folder_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
    foreach(excluded ${LAYER_EXCLUDE})
      list(FILTER folder_sources EXCLUDE REGEX "/${excluded}$")
    endforeach()
    list(APPEND sources ${folder_sources})
  endforeach()
  if(LAYER_EXECUTABLE)
    add_executable(${target} ${sources})
    target_link_libraries(${target} PRIVATE ${LAYER_LINKS})
  else()
    add_library(${target} STATIC ${sources})
    target_link_libraries(${target} PUBLIC ${LAYER_LINKS})
  endif()

  # What the layer sees: its own folders and everything its layers see.
  set(visible ${LAYER_FOLDERS})
  foreach(link ${LAYER_LINKS})
    if(TARGET ${link})
      get_target_property(link_visible ${link} VELKOR_VISIBLE_FOLDERS)
      if(link_visible)
        list(APPEND visible ${link_visible})
      endif()
    endif()
  endforeach()
  list(REMOVE_DUPLICATES visible)
  set_target_properties(${target} PROPERTIES VELKOR_VISIBLE_FOLDERS "${visible}")

  set(root ${CMAKE_BINARY_DIR}/layers/${target})
  file(REMOVE_RECURSE ${root})
  foreach(folder ${visible})
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.h)
    file(MAKE_DIRECTORY ${root}/${folder})
    foreach(header ${headers})
      get_filename_component(name ${header} NAME)
      file(CREATE_LINK ${header} ${root}/${folder}/${name} SYMBOLIC)
    endforeach()
  endforeach()
  target_include_directories(${target} PRIVATE ${root})
endfunction()
