# The browser build: the game as kelvora.js and kelvora.wasm, its Data folder and the fonts it
# draws with packed into kelvora.data (loaded into the page's file system under /kelvora), and
# the page around it with its icons, its manifest and its service worker (sw.js, which keeps the
# page for playing offline), all in the build folder's web/ folder, ready for any web server.
set(KELVORA_WEB_DIR ${CMAKE_BINARY_DIR}/web)
file(MAKE_DIRECTORY ${KELVORA_WEB_DIR})
set_target_properties(kelvora PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${KELVORA_WEB_DIR} SUFFIX .js)

# The fonts the page ships (cmake/Shipped.cmake).
set(fonts ${CMAKE_BINARY_DIR}/Fonts)
file(MAKE_DIRECTORY ${fonts})
file(COPY ${KELVORA_FONT_FILES} DESTINATION ${fonts})

target_sources(kelvora PRIVATE ${PROJECT_SOURCE_DIR}/tools/web/TestHooks.cpp
                               ${PROJECT_SOURCE_DIR}/tools/web/PageHooks.cpp
                               ${PROJECT_SOURCE_DIR}/bench/HeaviestScene.cpp)
target_include_directories(kelvora PRIVATE ${PROJECT_SOURCE_DIR}/bench)
add_dependencies(kelvora kelvora-data)
set(data_files ${KELVORA_DATA_FILES})
list(TRANSFORM data_files PREPEND ${CMAKE_BINARY_DIR}/Data/)
# The player's Data folder in the browser's storage (Durable.cpp and the platform use it).
set(storage_js ${PROJECT_SOURCE_DIR}/src/base/web/Storage.js)
set_property(TARGET kelvora APPEND PROPERTY LINK_DEPENDS ${data_files} ${storage_js})
target_link_options(kelvora PRIVATE
  -sALLOW_MEMORY_GROWTH -sINITIAL_MEMORY=134217728
  -sENVIRONMENT=web -sFORCE_FILESYSTEM "SHELL:--pre-js ${storage_js}"
  "-sEXPORTED_RUNTIME_METHODS=[callMain,ccall,UTF8ToString]"
  -sEXPORTED_FUNCTIONS=[_main,_malloc,_free,_kelvora_state,_kelvora_frame,_kelvora_fill_field,_kelvora_frame_work_ms,_kelvora_level_running,_kelvora_enter_player_folder,_kelvora_export_saves,_kelvora_exported_file,_kelvora_exported_size,_kelvora_import_saves]
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
# The icons, drawn by the native build's picture generator beside the one named.
set(icons kelvora.png)
if(KELVORA_PREBUILT_ICON)
  configure_file(${KELVORA_PREBUILT_ICON} ${KELVORA_WEB_DIR}/kelvora.png COPYONLY)
  get_filename_component(pictures ${KELVORA_PREBUILT_ICON} DIRECTORY)
  foreach(icon kelvora-192.png kelvora-512.png kelvora-maskable-512.png)
    add_custom_command(OUTPUT ${KELVORA_WEB_DIR}/${icon}
      COMMAND ${CMAKE_COMMAND} -E copy ${pictures}/${icon} ${KELVORA_WEB_DIR}/${icon}
      DEPENDS ${pictures}/${icon})
    list(APPEND icons ${icon})
  endforeach()
endif()

# The service worker, written when any of the page's files changed: it names them all.
# (kelvora.wasm and kelvora.data are written with kelvora.js, the target's file.)
set(web_names ${icons})
foreach(page_file ${page_files})
  get_filename_component(page_name ${page_file} NAME)
  list(APPEND web_names ${page_name})
endforeach()
list(TRANSFORM web_names PREPEND ${KELVORA_WEB_DIR}/ OUTPUT_VARIABLE web_paths)
list(APPEND web_names kelvora.js kelvora.wasm kelvora.data)
list(JOIN web_names "," web_list)
add_custom_command(OUTPUT ${KELVORA_WEB_DIR}/sw.js
  COMMAND ${CMAKE_COMMAND} -DWEB_DIR=${KELVORA_WEB_DIR} -DVERSION=${PROJECT_VERSION}
          -DFILES=${web_list} -P ${PROJECT_SOURCE_DIR}/tools/web/ServiceWorker.cmake
  DEPENDS kelvora ${web_paths} ${PROJECT_SOURCE_DIR}/tools/web/ServiceWorker.cmake
          ${PROJECT_SOURCE_DIR}/tools/web/ServiceWorker.js
  COMMENT "Writing the page's service worker"
  VERBATIM)
add_custom_target(kelvora-web-worker ALL DEPENDS ${KELVORA_WEB_DIR}/sw.js)
