# Black-box tests: the real velkin.exe under Wine, driven from outside by a
# small console program (tests/blackbox/win32/driver.cpp) through
# tests/blackbox/run.sh, each scenario in a private copy of the Wine prefix.
add_executable(blackbox_driver tests/blackbox/win32/driver.cpp)
target_link_libraries(blackbox_driver PRIVATE comctl32 shell32 user32 advapi32)

if(TARGET velkin)
  find_program(BASH bash REQUIRED)
  foreach(scenario first-start save-and-load seeded-lists second-instance start-hidden close-hides backup
                   manage-backups malformed-list about-and-help edit-and-save crash-saves)
    add_test(NAME blackbox_${scenario}
             COMMAND ${BASH} ${CMAKE_SOURCE_DIR}/tests/blackbox/run.sh ${CMAKE_BINARY_DIR} ${scenario})
    set_tests_properties(blackbox_${scenario} PROPERTIES TIMEOUT 300 LABELS blackbox)
  endforeach()
  # Eight kills, each with two or three starts of the program on a large set.
  set_tests_properties(blackbox_crash-saves PROPERTIES TIMEOUT 900)
endif()
