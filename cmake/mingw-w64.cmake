# Cross build for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64-posix).
#   cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DFENWAKE_GUI=OFF
# With the window, name the Qt for Windows (scripts/build-qt-windows.sh) and
# the host's Qt whose tools the build runs:
#   ... -DCMAKE_PREFIX_PATH=<Qt for Windows> -DQT_HOST_PATH=/usr
# The posix threads variant is used so that std::thread and std::mutex exist.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(FENWAKE_MINGW_TRIPLE x86_64-w64-mingw32)
find_program(CMAKE_CXX_COMPILER NAMES ${FENWAKE_MINGW_TRIPLE}-g++-posix ${FENWAKE_MINGW_TRIPLE}-g++ REQUIRED)
find_program(CMAKE_C_COMPILER NAMES ${FENWAKE_MINGW_TRIPLE}-gcc-posix ${FENWAKE_MINGW_TRIPLE}-gcc REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${FENWAKE_MINGW_TRIPLE}-windres REQUIRED)

# Packages are searched in the mingw root only, and in the Qt for Windows.
set(CMAKE_FIND_ROOT_PATH /usr/${FENWAKE_MINGW_TRIPLE} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(FENWAKE_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(NOT FENWAKE_WINE)
  find_program(FENWAKE_WINE NAMES wine64 wine)
endif()
if(FENWAKE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${FENWAKE_WINE})
endif()
