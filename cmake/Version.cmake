# The product's name and version for the sources: build/generated/tarvex_version.h, through the
# INTERFACE target tarvex_version.

string(LENGTH "${PROJECT_VERSION_MINOR}" minor_digits)
if(minor_digits LESS 2)
  set(TARVEX_VERSION_MINOR_TWO_DIGITS "0${PROJECT_VERSION_MINOR}")
else()
  set(TARVEX_VERSION_MINOR_TWO_DIGITS "${PROJECT_VERSION_MINOR}")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${CMAKE_BINARY_DIR}/generated/tarvex_version.h @ONLY)

add_library(tarvex_version INTERFACE)
target_include_directories(tarvex_version INTERFACE ${CMAKE_BINARY_DIR}/generated)
