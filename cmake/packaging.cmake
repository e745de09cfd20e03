# The Debian package of the tool (`cpack` in the native build) and the
# plug-in's release bundle (target plugin-bundle), both named with the
# project's version.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Kelvra developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "automatic white balance and levels for video")
set(CPACK_PACKAGE_DESCRIPTION "Kelvra corrects the colour cast and the levels of every frame of a video
file, an image or a raw frame pipe, with the correction of its VirtualDub
plug-in. Decoding and encoding go through FFmpeg.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
# dpkg-shlibdeps names the FFmpeg libraries the binary links by their Debian
# packages; the ffmpeg and ffprobe programs it starts are no link of it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS ffmpeg)
# gnuplot draws --plot; bash-completion loads the completion.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gnuplot-nox, bash-completion")
include(CPack)

set(KELVRA_PLUGIN_DIR ${PROJECT_SOURCE_DIR}/dist CACHE PATH
  "Where scripts/build-plugin.sh leaves x64/kelvra.vdf and x86/kelvra.vdf")
add_custom_target(plugin-bundle
  COMMAND ${CMAKE_COMMAND} -DPLUGIN_DIR=${KELVRA_PLUGIN_DIR} -DVERSION=${PROJECT_VERSION}
          -DNOTE=${PROJECT_SOURCE_DIR}/packaging/plugin-install.txt
          -DBUNDLE=${KELVRA_PLUGIN_DIR}/kelvra-vdf-${PROJECT_VERSION}.zip
          -P ${PROJECT_SOURCE_DIR}/cmake/plugin_bundle.cmake
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR} VERBATIM)
