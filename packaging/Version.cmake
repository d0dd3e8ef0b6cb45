# The project version, for the programs' --version: a generated header
# Qx410Version.h that any target gets by linking qx410version.
configure_file(${CMAKE_CURRENT_LIST_DIR}/Qx410Version.h.in ${CMAKE_BINARY_DIR}/generated/Qx410Version.h @ONLY)
add_library(qx410version INTERFACE)
target_include_directories(qx410version INTERFACE ${CMAKE_BINARY_DIR}/generated)
