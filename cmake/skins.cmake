# The bundled skins: each folder of skins/ with a skin.txt becomes a skin
# file of the same name in the build's skins/ folder, beside the programs,
# assembled by tools/skinpack with the project's own writer. A cross build
# makes the packer for the host first, with the host's compiler.
if(CMAKE_CROSSCOMPILING)
  include(ExternalProject)
  set(SKINPACK ${CMAKE_BINARY_DIR}/host/skinpack/skinpack)
  ExternalProject_Add(skinpack_host
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/tools/skinpack
    BINARY_DIR ${CMAKE_BINARY_DIR}/host/skinpack
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${SKINPACK})
  set(SKINPACK_DEPENDS skinpack_host ${SKINPACK})
else()
  add_executable(skinpack tools/skinpack/skinpack.cpp)
  target_include_directories(skinpack PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(skinpack PRIVATE velkin_skin)
  set(SKINPACK $<TARGET_FILE:skinpack>)
  set(SKINPACK_DEPENDS skinpack)
endif()

file(GLOB SKIN_MANIFESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/skins/*/skin.txt)
set(BUNDLED_SKINS)
foreach(manifest ${SKIN_MANIFESTS})
  get_filename_component(folder ${manifest} DIRECTORY)
  get_filename_component(name ${folder} NAME)
  file(GLOB pictures CONFIGURE_DEPENDS ${folder}/*.bmp)
  set(skin ${CMAKE_BINARY_DIR}/skins/${name})
  add_custom_command(OUTPUT ${skin}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/skins
    COMMAND ${SKINPACK} ${folder} ${skin}
    DEPENDS ${manifest} ${pictures} ${SKINPACK_DEPENDS}
    COMMENT "Assembling the ${name} skin")
  list(APPEND BUNDLED_SKINS ${skin})
endforeach()
add_custom_target(skins ALL DEPENDS ${BUNDLED_SKINS})
