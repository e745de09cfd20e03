# SPDX-License-Identifier: GPL-2.0-or-later
# Shared part of the two mingw-w64 cross toolchains; the including file sets
# KELVRA_MINGW_TRIPLE and CMAKE_SYSTEM_PROCESSOR.
set(CMAKE_SYSTEM_NAME Windows)

# The win32 thread model: no winpthread DLL, and the plug-in starts no threads.
set(CMAKE_CXX_COMPILER ${KELVRA_MINGW_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER ${KELVRA_MINGW_TRIPLE}-windres)
set(CMAKE_OBJDUMP ${KELVRA_MINGW_TRIPLE}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${KELVRA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
