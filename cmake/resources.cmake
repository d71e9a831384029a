# The executable's resources (src/assets/vornik.rc): the version numbers come
# from project(), the manifest names the build's processor architecture. An
# object library, so that tests which need the resources can link them too.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  # The 64-bit test build must not claim x86: Windows refuses such an exe.
  set(VORNIK_MANIFEST_ARCH amd64)
else()
  set(VORNIK_MANIFEST_ARCH x86)
endif()
set(generated ${CMAKE_BINARY_DIR}/generated)
configure_file(src/assets/version.h.in ${generated}/version.h @ONLY)
configure_file(src/assets/vornik.manifest.in ${generated}/vornik.manifest @ONLY)

add_library(vornik_resources OBJECT src/assets/vornik.rc)
# windres looks for the files a .rc names in its include directories.
target_include_directories(vornik_resources PRIVATE ${generated} ${CMAKE_SOURCE_DIR}/src/assets)
set(assets ${CMAKE_SOURCE_DIR}/src/assets)
set_source_files_properties(src/assets/vornik.rc PROPERTIES OBJECT_DEPENDS
  "${generated}/version.h;${generated}/vornik.manifest;${assets}/default_icon.grp;${assets}/default_icon_16.dib;${assets}/default_icon_32.dib;${assets}/default_icon_48.dib")
