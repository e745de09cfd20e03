# SPDX-License-Identifier: GPL-2.0-or-later
# cmake -P: zips the two plug-in builds with the install note, the licence
# (LICENCE, the GPL's text) and their SHA-256 sums into BUNDLE, staged in the
# current folder. PLUGIN_DIR holds x64/kelvra.vdf and x86/kelvra.vdf.
get_filename_component(stage ${BUNDLE} NAME_WLE)
set(stage ${CMAKE_CURRENT_BINARY_DIR}/${stage})
file(REMOVE_RECURSE ${stage})
foreach(arch x64 x86)
  if(NOT EXISTS ${PLUGIN_DIR}/${arch}/kelvra.vdf)
    message(FATAL_ERROR "${PLUGIN_DIR}/${arch}/kelvra.vdf is missing: run scripts/build-plugin.sh")
  endif()
  file(COPY ${PLUGIN_DIR}/${arch}/kelvra.vdf DESTINATION ${stage}/${arch})
endforeach()
# Windows line ends: the note and the licence are read on the editor's machine.
configure_file(${NOTE} ${stage}/INSTALL.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${LICENCE} ${stage}/COPYING.txt @ONLY NEWLINE_STYLE CRLF)
set(files x64/kelvra.vdf x86/kelvra.vdf INSTALL.txt COPYING.txt)
execute_process(COMMAND sha256sum ${files} WORKING_DIRECTORY ${stage} OUTPUT_FILE ${stage}/SHA256SUMS
  COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE ${BUNDLE})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${BUNDLE} --format=zip ${files} SHA256SUMS
  WORKING_DIRECTORY ${stage} COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "Wrote ${BUNDLE}")
