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

# ON lets the packages leave out skinedit.exe and the skins (make-dist.sh
# --partial); both are built now, so a package without them fails.
set(VELKIN_DIST_PARTIAL OFF)
set(VELKIN_DIST_DIR ${CMAKE_SOURCE_DIR}/dist)
add_custom_target(dist
                  COMMAND ${BASH} ${CMAKE_SOURCE_DIR}/scripts/make-dist.sh ${PROJECT_VERSION} ${CMAKE_BINARY_DIR}
                          ${VELKIN_DIST_DIR} $<$<BOOL:${VELKIN_DIST_PARTIAL}>:--partial>
                  COMMENT "Packaging Velkin ${PROJECT_VERSION} into ${VELKIN_DIST_DIR}"
                  # OFF gives no argument at all, not an empty one.
                  COMMAND_EXPAND_LISTS VERBATIM)
foreach(program velkin skinedit velkin_help)
  if(TARGET ${program})
    add_dependencies(dist ${program})
  endif()
endforeach()

if(VELKIN_TESTS)
  add_test(NAME help_check COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/tests/help/build_help_test.py)
endif()

# The packages under Wine, in the black-box runner's private prefix copies:
# the installer, the program it installed and the uninstaller; the zip.
if(VELKIN_TESTS AND TARGET velkin)
  foreach(scenario install portable)
    add_test(NAME blackbox_${scenario}
             COMMAND ${BASH} ${CMAKE_SOURCE_DIR}/tests/blackbox/run.sh ${CMAKE_BINARY_DIR} ${scenario})
    set_tests_properties(blackbox_${scenario} PROPERTIES TIMEOUT 300 LABELS blackbox ENVIRONMENT
                         "VELKIN_DIST=${VELKIN_DIST_DIR};VELKIN_VERSION=${PROJECT_VERSION}")
  endforeach()
endif()
