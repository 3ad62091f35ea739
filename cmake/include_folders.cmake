# Headers are included by their path from the source root ("job/job.h",
# "tools/batch/batch.h"), yet a library lends its users only its own folder:
# for each target the build tree holds a folder with a link named after each
# source folder the target owns, and that folder goes on the include path.
# A layer that includes the header of a layer it does not link to fails to
# compile, however the include is spelt.
#   kelvane_include_folders(<target> <PUBLIC|PRIVATE|INTERFACE> <folder>...)
function(kelvane_include_folders target scope)
  set(root ${PROJECT_BINARY_DIR}/include/${target})
  foreach(folder IN LISTS ARGN)
    if(NOT IS_DIRECTORY ${PROJECT_SOURCE_DIR}/${folder})
      message(FATAL_ERROR "kelvane_include_folders: no folder ${folder} in the source tree")
    endif()
    get_filename_component(parent ${root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  endforeach()
  target_include_directories(${target} ${scope} ${root})
endfunction()
