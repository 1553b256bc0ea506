# Black-box tests: the real velkin.exe under Wine, driven from outside by a
# small console program (tests/blackbox/win32/driver.cpp) through
# tests/blackbox/run.sh, each scenario in a private copy of the Wine prefix.
# It stores a mail password as the Settings dialog does, with the scrambler,
# and reads skin files with the organiser's own reader, to find their buttons.
add_executable(blackbox_driver tests/blackbox/win32/driver.cpp alerts/scrambler.cpp)
target_include_directories(blackbox_driver PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(blackbox_driver PRIVATE velkin_skin comctl32 shell32 user32 advapi32 version crypt32)

if(TARGET velkin)
  find_program(BASH bash REQUIRED)
  foreach(scenario dpi first-start save-and-load seeded-lists second-instance start-hidden close-hides backup
                   manage-backups malformed-list late-data-folder about-and-help edit-and-save unicode-names
                   drag-and-save mail-alert mail-test skins crash-saves)
    add_test(NAME blackbox_${scenario}
             COMMAND ${BASH} ${CMAKE_SOURCE_DIR}/tests/blackbox/run.sh ${CMAKE_BINARY_DIR} ${scenario})
    set_tests_properties(blackbox_${scenario} PROPERTIES TIMEOUT 300 LABELS blackbox)
  endforeach()
  # Eight kills, each with two or three starts of the program on a large set.
  set_tests_properties(blackbox_crash-saves PROPERTIES TIMEOUT 900)
endif()

# The skin editor, skinedit.exe, driven the same way (tests/blackbox/
# scenarios/skinedit.sh).
if(TARGET velkin AND TARGET skinedit)
  add_test(NAME blackbox_skinedit COMMAND ${BASH} ${CMAKE_SOURCE_DIR}/tests/blackbox/run.sh ${CMAKE_BINARY_DIR} skinedit)
  set_tests_properties(blackbox_skinedit PROPERTIES TIMEOUT 300 LABELS blackbox)
endif()
