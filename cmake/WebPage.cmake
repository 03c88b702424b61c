# The browser build: the game as kelvora.js and kelvora.wasm, its Data folder and the fonts it
# draws with packed into kelvora.data (loaded into the page's file system under /kelvora), and
# the page around it, all in the build folder's web/ folder, ready for any web server.
set(KELVORA_WEB_DIR ${CMAKE_BINARY_DIR}/web)
file(MAKE_DIRECTORY ${KELVORA_WEB_DIR})
set_target_properties(kelvora PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${KELVORA_WEB_DIR} SUFFIX .js)

# The free faces of the Windows ones' metrics (Debian's fonts-liberation2 and fonts-comic-neue).
set(fonts ${CMAKE_BINARY_DIR}/Fonts)
file(MAKE_DIRECTORY ${fonts})
foreach(font
    truetype/liberation2/LiberationSans-Regular.ttf truetype/liberation2/LiberationSans-Bold.ttf
    truetype/liberation2/LiberationSerif-Regular.ttf truetype/liberation2/LiberationSerif-Bold.ttf
    opentype/comic-neue/ComicNeue-Regular.otf opentype/comic-neue/ComicNeue-Bold.otf)
  file(COPY /usr/share/fonts/${font} DESTINATION ${fonts})
endforeach()

target_sources(kelvora PRIVATE ${PROJECT_SOURCE_DIR}/tools/web/TestHooks.cpp
                               ${PROJECT_SOURCE_DIR}/bench/HeaviestScene.cpp)
target_include_directories(kelvora PRIVATE ${PROJECT_SOURCE_DIR}/bench)
add_dependencies(kelvora kelvora-data)
set(data_files Game.dat Grafika.dat Hudba.dat Hudba.ini)
list(TRANSFORM data_files PREPEND ${CMAKE_BINARY_DIR}/Data/)
set_property(TARGET kelvora APPEND PROPERTY LINK_DEPENDS ${data_files})
target_link_options(kelvora PRIVATE
  -sALLOW_MEMORY_GROWTH -sINITIAL_MEMORY=134217728
  -sENVIRONMENT=web -sFORCE_FILESYSTEM -lidbfs.js
  "-sEXPORTED_RUNTIME_METHODS=[callMain,UTF8ToString]"
  -sEXPORTED_FUNCTIONS=[_main,_kelvora_state,_kelvora_frame,_kelvora_fill_field,_kelvora_frame_work_ms]
  # The package of Data and the fonts is compressed (LZ4), each file unpacked when it is read.
  -sLZ4
  "SHELL:--preload-file ${CMAKE_BINARY_DIR}/Data@/kelvora/Data"
  "SHELL:--preload-file ${fonts}@/kelvora/Fonts")
# How the game's blocking loop hands control to the page.
include(${CMAKE_CURRENT_LIST_DIR}/WebAsyncify.cmake)

# The page's own files, as they are.
file(GLOB page_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/packaging/web/*)
foreach(page_file ${page_files})
  get_filename_component(page_name ${page_file} NAME)
  configure_file(${page_file} ${KELVORA_WEB_DIR}/${page_name} COPYONLY)
endforeach()
if(KELVORA_PREBUILT_ICON)
  configure_file(${KELVORA_PREBUILT_ICON} ${KELVORA_WEB_DIR}/kelvora.png COPYONLY)
endif()
