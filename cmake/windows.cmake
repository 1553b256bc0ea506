# Windows programs: linked statically so each .exe runs alone.
set(CMAKE_RC_COMPILER_INIT x86_64-w64-mingw32-windres)
enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_SOURCE_DIR} -I${CMAKE_SOURCE_DIR}/resources")
include(cmake/version.cmake)
add_link_options(-static -static-libgcc -static-libstdc++)

if(EXISTS ${CMAKE_SOURCE_DIR}/app/win32/winmain.cpp)
  file(GLOB VELKIN_RC CONFIGURE_DEPENDS resources/velkin.rc)
  add_executable(velkin WIN32 app/win32/winmain.cpp ${VELKIN_RC})
  # windres leaves no list of the files it read: the program's resources
  # are built again when a dialog, menu, bitmap or icon they include changes.
  file(GLOB VELKIN_RC_PARTS CONFIGURE_DEPENDS resources/*.rc resources/*.bmp resources/*.ico
       resources/*.manifest)
  list(REMOVE_ITEM VELKIN_RC_PARTS ${CMAKE_SOURCE_DIR}/resources/velkin.rc ${CMAKE_SOURCE_DIR}/resources/skinedit.rc)
  set_property(SOURCE ${CMAKE_SOURCE_DIR}/resources/velkin.rc APPEND PROPERTY OBJECT_DEPENDS ${VELKIN_RC_PARTS})
  target_link_libraries(velkin PRIVATE velkin_app)
  # The bundled skins go beside it: it starts in the "Default" one.
  add_dependencies(velkin skins)
  if(OPENSSL_MINGW_ROOT)
    target_include_directories(velkin PRIVATE ${OPENSSL_MINGW_ROOT}/include)
    target_link_libraries(velkin PRIVATE ${OPENSSL_MINGW_ROOT}/lib/libssl.a ${OPENSSL_MINGW_ROOT}/lib/libcrypto.a crypt32 ws2_32)
  endif()
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/skinedit/win32/main.cpp)
  add_executable(skinedit WIN32 skinedit/win32/main.cpp resources/skinedit.rc)
  target_link_libraries(skinedit PRIVATE velkin_skinedit)
endif()
include(cmake/dist.cmake)

# Benchmarks that need the real controls: plain programs run under Wine.
file(GLOB WIN32_BENCH_SOURCES CONFIGURE_DEPENDS bench/win32/*.cpp)
foreach(src ${WIN32_BENCH_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src} ${CMAKE_SOURCE_DIR}/resources/bitmaps.rc)
  target_link_libraries(${name} PRIVATE velkin_app velkin_fakes)
endforeach()
