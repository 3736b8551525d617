# Cross-compiles for 64-bit Windows with the distribution's MinGW-w64 compiler (POSIX thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ORVIK_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ORVIK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORVIK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ORVIK_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ORVIK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained .exe: the C++ runtime, libgcc and winpthread linked in, no DLLs to ship.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# GCC's interprocedural register allocation lets a caller keep values in registers that the copy of
# an inline or template function compiled beside it leaves alone; the linker may keep another copy
# of that function, which clobbers them (seen: Qt's random generator writing past its buffer once a
# program also used std::mt19937). Without it every call follows the calling convention.
set(CMAKE_C_FLAGS_INIT -fno-ipa-ra)
set(CMAKE_CXX_FLAGS_INIT -fno-ipa-ra)
