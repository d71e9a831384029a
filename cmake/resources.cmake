# The executable's resources (src/assets/vornik.rc): the version numbers come
# from project(), the manifest names the build's processor architecture. An
# object library, so that tests which need the resources can link them too.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  # The 64-bit test build must not claim x86: Windows refuses such an exe.
  set(VORNIK_MANIFEST_ARCH amd64)
else()
  set(VORNIK_MANIFEST_ARCH x86)
endif()
set(VORNIK_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(src/assets/version.h.in ${VORNIK_GENERATED_DIR}/version.h @ONLY)
configure_file(src/assets/vornik.manifest.in ${VORNIK_GENERATED_DIR}/vornik.manifest @ONLY)

add_library(vornik_resources OBJECT src/assets/vornik.rc)
# windres looks for the files a .rc names in its include directories.
target_include_directories(vornik_resources PRIVATE ${VORNIK_GENERATED_DIR} ${CMAKE_SOURCE_DIR}/src/assets)
# The files it names are not seen by the dependency scanner.
set_source_files_properties(src/assets/vornik.rc PROPERTIES OBJECT_DEPENDS
  "${VORNIK_GENERATED_DIR}/version.h;${VORNIK_GENERATED_DIR}/vornik.manifest;${CMAKE_SOURCE_DIR}/src/assets/default_icon.grp;${CMAKE_SOURCE_DIR}/src/assets/default_icon_16.dib;${CMAKE_SOURCE_DIR}/src/assets/default_icon_32.dib;${CMAKE_SOURCE_DIR}/src/assets/default_icon_48.dib")
