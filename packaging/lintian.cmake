# Run by cpack after it has built the package (CPACK_POST_BUILD_SCRIPTS):
# lintian's findings are printed, and an error fails the packaging. Without
# lintian the package is left unchecked, and says so.
find_program(LINTIAN lintian)
if(NOT LINTIAN)
  message(STATUS "lintian is not installed: the package is not checked")
  return()
endif()
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  get_filename_component(name ${package} NAME)
  execute_process(COMMAND ${LINTIAN} --fail-on error --tag-display-limit 0 ${package}
                  RESULT_VARIABLE status OUTPUT_VARIABLE findings ERROR_VARIABLE complaints)
  if(findings)
    message(STATUS "lintian ${name}:\n${findings}")
  else()
    message(STATUS "lintian ${name}: no errors or warnings")
  endif()
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "lintian failed on ${name} (${status}):\n${complaints}")
  endif()
endforeach()
