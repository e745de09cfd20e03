# SPDX-License-Identifier: GPL-2.0-or-later
# The 64-bit plug-in: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/x86_64-w64-mingw32.cmake
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KELVRA_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# The 64-bit loader itself: `wine` starts the 32-bit one first, which a
# kernel without 32-bit support cannot run.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
