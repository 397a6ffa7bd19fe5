# Cross build for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64).
#   cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DFENWAKE_GUI=OFF
# The posix threads variant is used so that std::thread and std::mutex exist.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(FENWAKE_MINGW_TRIPLE x86_64-w64-mingw32)
find_program(CMAKE_CXX_COMPILER NAMES ${FENWAKE_MINGW_TRIPLE}-g++-posix ${FENWAKE_MINGW_TRIPLE}-g++ REQUIRED)
find_program(CMAKE_C_COMPILER NAMES ${FENWAKE_MINGW_TRIPLE}-gcc-posix ${FENWAKE_MINGW_TRIPLE}-gcc REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${FENWAKE_MINGW_TRIPLE}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${FENWAKE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The test programs run on the build machine through Wine; a self-contained
# executable needs no mingw DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
find_program(FENWAKE_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(NOT FENWAKE_WINE)
  find_program(FENWAKE_WINE NAMES wine64 wine)
endif()
if(FENWAKE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${FENWAKE_WINE})
endif()
