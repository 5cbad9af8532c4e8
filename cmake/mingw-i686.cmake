# Cross-compiling for 32-bit Windows with mingw-w64. ZEBL_MINGW_THREADS picks
# the compiler: "win32" (the default thread model, used for the shipped
# binaries: its runtime imports nothing Windows 2000 lacks) or "posix" (has
# std::mutex, needed by GoogleTest; used for the test programs).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
if(NOT DEFINED ZEBL_MINGW_THREADS)
    set(ZEBL_MINGW_THREADS win32)
endif()
set(triple i686-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-${ZEBL_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${triple}-g++-${ZEBL_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_OBJDUMP ${triple}-objdump CACHE FILEPATH "objdump for PE files")
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
