# Header-only libraries from the distribution, each reached through a folder of its own.
#
#   tarvex_header_only(TARGET name FOLDER dir HEADER file)
#
# Finds FOLDER/HEADER among the build machine's headers and makes the INTERFACE target TARGET,
# whose include folder, in the build tree, holds only a link to FOLDER. A cross build can then
# use the library without putting the build machine's /usr/include, whose headers would stand
# in front of the target's, on its include path.

function(tarvex_header_only)
  cmake_parse_arguments(H "" "TARGET;FOLDER;HEADER" "" ${ARGN})
  find_path(TARVEX_${H_TARGET}_ROOT NAMES ${H_FOLDER}/${H_HEADER}
            HINTS /usr/include /usr/local/include NO_CMAKE_FIND_ROOT_PATH)
  if(NOT TARVEX_${H_TARGET}_ROOT)
    message(FATAL_ERROR "${H_FOLDER}/${H_HEADER} not found: run tools/install-deps.sh core")
  endif()
  set(include ${CMAKE_BINARY_DIR}/third_party/${H_TARGET}/include)
  file(MAKE_DIRECTORY ${include})
  file(CREATE_LINK ${TARVEX_${H_TARGET}_ROOT}/${H_FOLDER} ${include}/${H_FOLDER} SYMBOLIC COPY_ON_ERROR)
  add_library(${H_TARGET} INTERFACE IMPORTED GLOBAL)
  # An imported target's folders are system folders: the library's own warnings stay out.
  set_target_properties(${H_TARGET} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${include})
endfunction()

tarvex_header_only(TARGET tarvex_cli11 FOLDER CLI HEADER CLI.hpp)
tarvex_header_only(TARGET tarvex_json FOLDER nlohmann HEADER json.hpp)
