# Windows programs: linked statically so each .exe runs alone.
set(CMAKE_RC_COMPILER_INIT x86_64-w64-mingw32-windres)
enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_SOURCE_DIR} -I${CMAKE_SOURCE_DIR}/resources")
add_link_options(-static -static-libgcc -static-libstdc++)
# The core calls the host services (SystemClock, HostFileSystem...) that
# the platform library defines: a cycle, which CMake resolves for static
# libraries by repeating them on the link line.
target_link_libraries(velkin_core PUBLIC velkin_platform)

if(EXISTS ${CMAKE_SOURCE_DIR}/app/win32/winmain.cpp)
  file(GLOB VELKIN_RC CONFIGURE_DEPENDS resources/velkin.rc)
  add_executable(velkin WIN32 app/win32/winmain.cpp ${VELKIN_RC})
  target_link_libraries(velkin PRIVATE velkin_platform)
  if(OPENSSL_MINGW_ROOT)
    target_include_directories(velkin PRIVATE ${OPENSSL_MINGW_ROOT}/include)
    target_link_libraries(velkin PRIVATE ${OPENSSL_MINGW_ROOT}/lib/libssl.a ${OPENSSL_MINGW_ROOT}/lib/libcrypto.a crypt32 ws2_32)
  endif()
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/skinedit/win32/main.cpp)
  file(GLOB SKINEDIT_SOURCES CONFIGURE_DEPENDS skinedit/*.cpp skinedit/win32/*.cpp)
  add_executable(skinedit WIN32 ${SKINEDIT_SOURCES} resources/skinedit.rc)
  target_link_libraries(skinedit PRIVATE velkin_core comctl32 comdlg32 gdi32 user32)
endif()
