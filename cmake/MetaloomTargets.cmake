# Automoc records the files it scanned and reruns only when one of those
# changes, so a header added later (picked up by the glob) would never be
# moc'ed in an existing build folder. Making every globbed file a dependency
# of the autogen step brings new files in.
function(metaloom_autogen_follows_sources target)
  set_property(TARGET ${target} APPEND PROPERTY AUTOGEN_TARGET_DEPENDS ${ARGN})
endfunction()

# One static library per source folder. Sources are collected from the folder
# and all of its subfolders (a wing such as Engine/Process), so adding a file
# or a subfolder needs no edit here.
function(metaloom_add_library target)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  file(GLOB_RECURSE _sources CONFIGURE_DEPENDS
       "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h"
       "${CMAKE_CURRENT_SOURCE_DIR}/*.qrc")
  add_library(${target} STATIC ${_sources})
  metaloom_autogen_follows_sources(${target} ${_sources})
  target_include_directories(${target} PUBLIC "${PROJECT_SOURCE_DIR}")
  target_link_libraries(${target} PUBLIC ${ARG_LINKS} PRIVATE metaloom_warnings)
endfunction()
