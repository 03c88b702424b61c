# Building for the browser with Debian's Emscripten. Emscripten's own toolchain file (found beside
# emcc, or under EMSCRIPTEN_ROOT_PATH) does the work; this one adds the libraries that
# scripts/third-party web built, found through KELVORA_THIRD_PARTY_PREFIX, given on the command
# line or in the environment.
if(NOT EMSCRIPTEN_ROOT_PATH)
  find_program(KELVORA_EMCC emcc)
  if(KELVORA_EMCC)
    # Debian's emcc is a link to a wrapper in Emscripten's folder.
    file(REAL_PATH "${KELVORA_EMCC}" emcc_file)
    get_filename_component(EMSCRIPTEN_ROOT_PATH "${emcc_file}" DIRECTORY)
  elseif(DEFINED ENV{EMSCRIPTEN})
    set(EMSCRIPTEN_ROOT_PATH "$ENV{EMSCRIPTEN}")
  endif()
endif()
if(NOT EXISTS "${EMSCRIPTEN_ROOT_PATH}/cmake/Modules/Platform/Emscripten.cmake")
  message(FATAL_ERROR "Emscripten was not found (scripts/bootstrap web installs it)")
endif()

# Debian's node modules for Emscripten's passes: configuring sees them from here, and each link of
# the build through the linker launcher.
include(${CMAKE_CURRENT_LIST_DIR}/NodePath.cmake)
if(NOT "$ENV{NODE_PATH}" STREQUAL "")
  set(CMAKE_C_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env "NODE_PATH=$ENV{NODE_PATH}")
  set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env "NODE_PATH=$ENV{NODE_PATH}")
endif()

include("${EMSCRIPTEN_ROOT_PATH}/cmake/Modules/Platform/Emscripten.cmake")

if(NOT KELVORA_THIRD_PARTY_PREFIX AND DEFINED ENV{KELVORA_THIRD_PARTY_PREFIX})
  set(KELVORA_THIRD_PARTY_PREFIX $ENV{KELVORA_THIRD_PARTY_PREFIX})
endif()
if(KELVORA_THIRD_PARTY_PREFIX)
  # The prefix is a root before Emscripten's system root (whose SDL2 package is the port that
  # would download SDL): find_package, find_library and the library paths pkg-config names are
  # looked up in both, in that order.
  list(PREPEND CMAKE_FIND_ROOT_PATH ${KELVORA_THIRD_PARTY_PREFIX})
  # pkg-config looks only at the libraries built for the browser. They are static, so each one's
  # private dependencies (libxmp under SDL2_mixer, FreeType under SDL2_ttf) are linked too.
  set(ENV{PKG_CONFIG_LIBDIR} ${KELVORA_THIRD_PARTY_PREFIX}/lib/pkgconfig)
  set(ENV{PKG_CONFIG_PATH} "")
  set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
  set(PKG_CONFIG_ARGN --static CACHE STRING "Arguments to supply to pkg-config")
endif()

# SDL2's JavaScript calls two of Emscripten's library functions (autoResumeAudioContext, which
# starts the audio on the first key or click, and dynCall, which calls back into the program)
# that Emscripten adds by itself only to programs using its own build of SDL2. Every program
# linked with this toolchain asks for them. The link runs through the shell, whose dollar is kept
# from it by a backslash (quotes around the whole flag would be taken off by CMake's cache).
set(CMAKE_EXE_LINKER_FLAGS_INIT
  "-sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=\\$autoResumeAudioContext,\\$dynCall")
