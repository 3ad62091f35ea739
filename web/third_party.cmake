# nlohmann/json for the browser build. Debian's package is header-only, but
# its CMake package would put /usr/include (the host's C library) on the
# include path of WebAssembly code: copy only its own headers instead, and
# point find_package at a package file that names the copy.
find_path(KELVANE_NLOHMANN_INCLUDE nlohmann/json.hpp PATHS /usr/include NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(copy ${CMAKE_BINARY_DIR}/third_party)
file(COPY ${KELVANE_NLOHMANN_INCLUDE}/nlohmann DESTINATION ${copy}/include)
file(WRITE ${copy}/nlohmann_jsonConfig.cmake "
if(NOT TARGET nlohmann_json::nlohmann_json)
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
                        INTERFACE_INCLUDE_DIRECTORIES ${copy}/include)
endif()
")
set(nlohmann_json_DIR ${copy} CACHE PATH "nlohmann/json for the browser build" FORCE)
