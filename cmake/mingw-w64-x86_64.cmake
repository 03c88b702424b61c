# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the POSIX thread model, which
# std::thread and std::mutex need). The libraries built by scripts/third-party are found through
# KELVORA_THIRD_PARTY_PREFIX, given on the command line or in the environment.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)
set(CMAKE_STRIP ${triplet}-strip)
if(NOT KELVORA_THIRD_PARTY_PREFIX AND DEFINED ENV{KELVORA_THIRD_PARTY_PREFIX})
  set(KELVORA_THIRD_PARTY_PREFIX $ENV{KELVORA_THIRD_PARTY_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${triplet} ${KELVORA_THIRD_PARTY_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Files larger than 2 GiB, and offsets beyond, as on Linux: off_t and fseeko are 64 bits wide.
set(CMAKE_C_FLAGS_INIT "-D_FILE_OFFSET_BITS=64")
set(CMAKE_CXX_FLAGS_INIT "-D_FILE_OFFSET_BITS=64")
# pkg-config looks only at the libraries built for Windows.
set(ENV{PKG_CONFIG_LIBDIR} ${KELVORA_THIRD_PARTY_PREFIX}/lib/pkgconfig)
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
# The C and C++ run-times go into each program, so a program needs only the libraries' DLLs.
# The linker writes no time into a program or DLL's header (it would write the time of the link,
# or SOURCE_DATE_EPOCH where that is set, which a program relinked later would not have): two
# builds of one commit give the same files.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -Wl,-Bstatic,--whole-archive -lwinpthread -Wl,--no-whole-archive,-Bdynamic -Wl,--no-insert-timestamp")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-Wl,--no-insert-timestamp")
