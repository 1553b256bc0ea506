# The help file beside velkin.exe, and `make dist`: the portable zip and the
# installer in dist/ (scripts/make-dist.sh).
find_program(PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
find_program(BASH bash REQUIRED)

# Compiled and checked from help/: a missing page, a broken link or a page
# that the contents or the index do not reach fails the build.
file(GLOB HELP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/help/*)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/Velkin.chm
                   COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/scripts/build-help.py ${CMAKE_SOURCE_DIR}/help
                           ${CMAKE_BINARY_DIR}/Velkin.chm
                   DEPENDS ${HELP_SOURCES} ${CMAKE_SOURCE_DIR}/scripts/build-help.py
                   COMMENT "Compiling and checking the help file Velkin.chm")
add_custom_target(velkin_help ALL DEPENDS ${CMAKE_BINARY_DIR}/Velkin.chm)

# While skinedit.exe and the skins are being built elsewhere, the packages
# may leave them out. Set to OFF once both are in the build: a package
# without them then fails.
set(VELKIN_DIST_PARTIAL ON)
set(VELKIN_DIST_DIR ${CMAKE_SOURCE_DIR}/dist)
add_custom_target(dist
                  COMMAND ${BASH} ${CMAKE_SOURCE_DIR}/scripts/make-dist.sh ${PROJECT_VERSION} ${CMAKE_BINARY_DIR}
                          ${VELKIN_DIST_DIR} $<$<BOOL:${VELKIN_DIST_PARTIAL}>:--partial>
                  COMMENT "Packaging Velkin ${PROJECT_VERSION} into ${VELKIN_DIST_DIR}"
                  VERBATIM)
foreach(program velkin skinedit velkin_help)
  if(TARGET ${program})
    add_dependencies(dist ${program})
  endif()
endforeach()
