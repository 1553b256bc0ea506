# The native suite runs on the host; the Windows suite runs under Wine
# through CMAKE_CROSSCOMPILING_EMULATOR (scripts/wine-run).
if(WIN32)
  # GoogleTest from Debian's sources, built with the cross compiler.
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  file(GLOB WIN32_TEST_SOURCES CONFIGURE_DEPENDS tests/win32/*.cpp)
  file(GLOB TEST_RC CONFIGURE_DEPENDS resources/about.rc resources/bitmaps.rc resources/capture.rc resources/menus.rc
       resources/properties.rc resources/settings.rc resources/selectskin.rc resources/skinpages.rc
       tests/win32/*.rc)
  add_executable(velkin_win32_tests ${WIN32_TEST_SOURCES} ${TEST_RC})
  target_include_directories(velkin_win32_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(velkin_win32_tests PRIVATE velkin_app velkin_skinedit velkin_fakes gtest)
  # The bundled skins lie beside the suite, as beside the program.
  add_dependencies(velkin_win32_tests skins)
  # Wine shows the host's root as drive Z:.
  target_compile_definitions(velkin_win32_tests PRIVATE VELKIN_TEST_DATA="Z:${CMAKE_SOURCE_DIR}/tests/data")
  # One test for the whole executable: Wine starts once, not once per case.
  add_test(NAME win32_suite COMMAND velkin_win32_tests --gtest_color=no)
  set_tests_properties(win32_suite PROPERTIES TIMEOUT 900)
else()
  find_package(GTest REQUIRED)
  include(GoogleTest)
  file(GLOB NATIVE_TEST_SOURCES CONFIGURE_DEPENDS tests/native/*.cpp)
  add_executable(velkin_tests ${NATIVE_TEST_SOURCES})
  target_include_directories(velkin_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(velkin_tests PRIVATE velkin_app velkin_skinedit velkin_fakes GTest::gtest GTest::gtest_main)
  add_dependencies(velkin_tests skins)
  target_compile_definitions(velkin_tests PRIVATE VELKIN_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
                                                 VELKIN_BUNDLED_SKINS="${CMAKE_BINARY_DIR}/skins")
  gtest_discover_tests(velkin_tests DISCOVERY_MODE PRE_TEST)
endif()

# The one-way layers and the place of Windows headers, checked on the
# sources themselves.
if(NOT WIN32)
  find_program(PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
  add_test(NAME layers COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/scripts/check-layers.py ${CMAKE_SOURCE_DIR})
endif()

# Differential runs of random command sequences: natively on the in-memory
# forest, on Windows on the real tree-view beside it. A bounded run here;
# scripts/differential.sh (make differential) compares the files of both
# builds.
file(GLOB DIFFERENTIAL_SOURCES CONFIGURE_DEPENDS tests/differential/*.cpp)
if(WIN32)
  list(APPEND DIFFERENTIAL_SOURCES tests/differential/win32/control_world.cpp tests/win32/tree_window.cpp
       tests/win32/manifest.rc)
endif()
add_executable(differential ${DIFFERENTIAL_SOURCES})
target_include_directories(differential PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(differential PRIVATE velkin_app velkin_fakes)
if(WIN32)
  find_program(BASH bash REQUIRED)
  # Needs the native build beside this one (make test builds it first).
  add_test(NAME differential
           COMMAND ${BASH} ${CMAKE_SOURCE_DIR}/scripts/differential.sh ${CMAKE_SOURCE_DIR}/build/native
                   ${CMAKE_BINARY_DIR} 1 200)
  set_tests_properties(differential PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77)
else()
  add_test(NAME differential COMMAND differential 1 300)
endif()
