# SPDX-License-Identifier: GPL-2.0-or-later
# The Debian package of the tool (`cpack` in the native build) and the
# plug-in's release bundle (target plugin-bundle), both named with the
# project's version.

include(GNUInstallDirs)

# Whoever builds the package names themselves here.
set(KELVRA_MAINTAINER "Kelvra developers <kelvra@example.org>" CACHE STRING
  "The package's Maintainer: a name and an address")
# The package is a Debian revision of the project's version, as Debian's
# own packages of other projects are: kelvra --version says 3.7.0, the
# package 3.7.0-1, and its changelog is changelog.Debian.gz.
set(KELVRA_DEBIAN_REVISION 1)
# The changelog's date follows SOURCE_DATE_EPOCH where it is set, so a
# package can be built again byte for byte.
string(TIMESTAMP KELVRA_PACKAGE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(packaging/changelog.Debian.in changelog.Debian @ONLY)
execute_process(COMMAND gzip -9nf changelog.Debian WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
  COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${PROJECT_BINARY_DIR}/changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES packaging/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME kelvra)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${KELVRA_DEBIAN_REVISION})
set(CPACK_PACKAGE_CONTACT ${KELVRA_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "automatic white balance and levels for video")
set(CPACK_PACKAGE_DESCRIPTION "Kelvra corrects the colour cast and the levels of every frame of a video
file, an image or a raw frame pipe, with the correction of its VirtualDub
plug-in. Decoding and encoding go through FFmpeg. The package also carries
the same correction as a frei0r filter plug-in for ffmpeg, MLT (Kdenlive)
and GStreamer, with Kdenlive's description of the effect.")
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
          -DNOTE=${PROJECT_SOURCE_DIR}/packaging/plugin-install.txt -DLICENCE=${PROJECT_SOURCE_DIR}/COPYING
          -DBUNDLE=${KELVRA_PLUGIN_DIR}/kelvra-vdf-${PROJECT_VERSION}.zip
          -P ${PROJECT_SOURCE_DIR}/cmake/plugin_bundle.cmake
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR} VERBATIM)
