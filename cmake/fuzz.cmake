# libFuzzer targets under address and undefined-behaviour sanitizers.
file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS fuzz/*.cpp)
foreach(src ${FUZZ_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE velkin_app velkin_fakes)
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endforeach()
