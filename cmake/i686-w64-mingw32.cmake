# SPDX-License-Identifier: GPL-2.0-or-later
# The 32-bit plug-in: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KELVRA_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# The 32-bit loader, run by the kernel or through qemu-i386; scripts/test-wine.sh
# asks which (scripts/i386-probe.sh) and runs these tests one by one only where
# the kernel runs them itself.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine)
