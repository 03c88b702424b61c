# The Windows build puts every program into bin/, beside the DLLs of the libraries and the Fonts
# folder the game falls back to where Windows lacks a face, so that each program finds them as
# the installed game does.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
file(GLOB KELVORA_WINDOWS_DLLS ${KELVORA_THIRD_PARTY_PREFIX}/bin/*.dll)
find_file(KELVORA_ZLIB_DLL zlib1.dll PATHS /usr/x86_64-w64-mingw32/lib /usr/x86_64-w64-mingw32/bin
          NO_DEFAULT_PATH REQUIRED)
list(APPEND KELVORA_WINDOWS_DLLS ${KELVORA_ZLIB_DLL})
# The fonts the game falls back to where Windows lacks a face (cmake/Shipped.cmake).
set(KELVORA_WINDOWS_FONTS ${KELVORA_FONT_FILES})
file(COPY ${KELVORA_WINDOWS_DLLS} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
# The libraries are built with their debugging sections; the copies the game ships are stripped.
set(dlls ${KELVORA_WINDOWS_DLLS})
set(KELVORA_WINDOWS_DLLS)
foreach(dll ${dlls})
  get_filename_component(name ${dll} NAME)
  set(copy ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${name})
  execute_process(COMMAND ${CMAKE_STRIP} --strip-unneeded ${copy} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot strip ${copy}")
  endif()
  list(APPEND KELVORA_WINDOWS_DLLS ${copy})
endforeach()
file(COPY ${KELVORA_WINDOWS_FONTS} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Fonts)
