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
# A package's changelog.Debian.gz in `dir`, for `package` holding `contents`.
function(kelvra_changelog dir package contents)
  set(KELVRA_CHANGELOG_PACKAGE ${package})
  set(KELVRA_CHANGELOG_CONTENTS ${contents})
  configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.Debian.in ${dir}/changelog.Debian @ONLY)
  execute_process(COMMAND gzip -9nf changelog.Debian WORKING_DIRECTORY ${dir} COMMAND_ERROR_IS_FATAL ANY)
endfunction()
kelvra_changelog(${PROJECT_BINARY_DIR} kelvra
  "the command-line tool kelvra, its manual page and its bash completion.")
install(FILES ${PROJECT_BINARY_DIR}/changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES packaging/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME kelvra)

# The OBS module is a package of its own, so the tool's does not depend on
# libobs: the same copyright, its own changelog and lintian's overrides.
if(TARGET kelvra_obs)
  kelvra_changelog(${PROJECT_BINARY_DIR}/obs kelvra-obs "the OBS Studio module kelvra-obs.")
  install(FILES ${PROJECT_BINARY_DIR}/obs/changelog.Debian.gz packaging/copyright
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kelvra-obs COMPONENT obs)
  install(FILES packaging/lintian-overrides-obs DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
    RENAME kelvra-obs COMPONENT obs)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvra)
# One package for each component: the tool's (every install without a
# component) and, where it is built, the OBS module's.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL Unspecified)
set(CPACK_DEBIAN_UNSPECIFIED_PACKAGE_NAME kelvra)
set(CPACK_DEBIAN_UNSPECIFIED_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${KELVRA_DEBIAN_REVISION})
set(CPACK_PACKAGE_CONTACT ${KELVRA_MAINTAINER})
# Each package's synopsis is the first line of its own description: CPack
# would put CPACK_PACKAGE_DESCRIPTION_SUMMARY before both, so it stays unset.
set(CPACK_DEBIAN_UNSPECIFIED_DESCRIPTION "automatic white balance and levels for video
Kelvra corrects the colour cast and the levels of every frame of a video
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
set(CPACK_DEBIAN_UNSPECIFIED_PACKAGE_DEPENDS ffmpeg)
# gnuplot draws --plot; bash-completion loads the completion.
set(CPACK_DEBIAN_UNSPECIFIED_PACKAGE_RECOMMENDS "gnuplot-nox, bash-completion")
if(TARGET kelvra_obs)
  list(APPEND CPACK_COMPONENTS_ALL obs)
  set(CPACK_DEBIAN_OBS_PACKAGE_NAME kelvra-obs)
  set(CPACK_DEBIAN_OBS_FILE_NAME DEB-DEFAULT)
  # dpkg-shlibdeps gives libobs0 and the C++ runtime.
  set(CPACK_DEBIAN_OBS_PACKAGE_ENHANCES obs-studio)
  set(CPACK_DEBIAN_OBS_DESCRIPTION "automatic white balance and levels filter for OBS Studio
Kelvra's live correction as a video filter for OBS Studio, for any video
source: cameras, media, screen and window captures, images. The picture is
measured on a small copy read back from the GPU and corrected by a pixel
shader.")
endif()
include(CPack)

set(KELVRA_PLUGIN_DIR ${PROJECT_SOURCE_DIR}/dist CACHE PATH
  "Where scripts/build-plugin.sh leaves x64/kelvra.vdf and x86/kelvra.vdf")
add_custom_target(plugin-bundle
  COMMAND ${CMAKE_COMMAND} -DPLUGIN_DIR=${KELVRA_PLUGIN_DIR} -DVERSION=${PROJECT_VERSION}
          -DNOTE=${PROJECT_SOURCE_DIR}/packaging/plugin-install.txt -DLICENCE=${PROJECT_SOURCE_DIR}/COPYING
          -DBUNDLE=${KELVRA_PLUGIN_DIR}/kelvra-vdf-${PROJECT_VERSION}.zip
          -P ${PROJECT_SOURCE_DIR}/cmake/plugin_bundle.cmake
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR} VERBATIM)
