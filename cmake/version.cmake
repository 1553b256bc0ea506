# The programs' version information comes from project(... VERSION ...):
# resources/version.rc includes the header made here.
configure_file(${CMAKE_SOURCE_DIR}/cmake/version.h.in ${CMAKE_BINARY_DIR}/generated/velkin_version.h @ONLY)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_BINARY_DIR}/generated")
# windres leaves no list of the files it read: name them, so that a new
# version rebuilds the resources.
foreach(rc velkin.rc skinedit.rc)
  set_property(SOURCE ${CMAKE_SOURCE_DIR}/resources/${rc} APPEND PROPERTY OBJECT_DEPENDS
               ${CMAKE_SOURCE_DIR}/resources/version.rc ${CMAKE_BINARY_DIR}/generated/velkin_version.h)
endforeach()
