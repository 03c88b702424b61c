# The browser build: the game as kelvora.js and kelvora.wasm, its Data folder and the fonts it
# draws with packed into kelvora.data (loaded into the page's file system under /kelvora), and
# the page around it with its icons, its manifest and its service worker (sw.js, which keeps the
# page for playing offline), all in the build folder's web/ folder, ready for any web server.
#
# The page's tests play a variant of it, web-test/ (the target kelvora-web-test, built only when
# asked for): the same page, manifest, icons and service worker script around a game that also
# exports what the tests read (web/app/TestHooks.cpp: the state dump, the last frame, the
# benchmark's heaviest scene). The page players get has none of it.

# The fonts the page ships (cmake/Shipped.cmake): those every language draws with are packed
# with the game, those only some languages' letters need stay beside the page, in Fonts/.
set(fonts ${CMAKE_BINARY_DIR}/Fonts)
set(packed_fonts ${KELVORA_FONT_FILES})
list(REMOVE_ITEM packed_fonts ${KELVORA_FONT_FILES_ON_DEMAND})
file(MAKE_DIRECTORY ${fonts})
file(COPY ${packed_fonts} DESTINATION ${fonts})
# The player's Data folder in the browser's storage (Durable.cpp and the platform use it).
set(storage_js ${PROJECT_SOURCE_DIR}/web/Storage.js)
# The page's own files, as they are.
file(GLOB page_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/web/page/*)

# The page's texts in each catalogue's language, texts.js (web/page-texts): Debian's
# xgettext finds the texts the page's scripts mark (N_), msgen and msgfmt make of them a
# catalogue of the page's texts alone, and msgfmt compiles each language's catalogue, which
# Python's gettext reads; a text a catalogue lacks stays out, and the page shows it in Czech.
find_program(KELVORA_XGETTEXT xgettext REQUIRED)
find_program(KELVORA_MSGEN msgen REQUIRED)
find_program(KELVORA_PYTHON python3 REQUIRED)
set(page_texts_dir ${CMAKE_BINARY_DIR}/page-texts)
set(page_scripts ${page_files})
list(FILTER page_scripts INCLUDE REGEX "\\.js$")
set(page_catalogues)
set(page_compiled)
foreach(code ${KELVORA_LANGUAGES})
  list(APPEND page_catalogues ${PROJECT_SOURCE_DIR}/po/${code}.po)
  list(APPEND page_compiled ${code}=${page_texts_dir}/${code}.mo)
endforeach()
set(compile_catalogues)
foreach(code ${KELVORA_LANGUAGES})
  list(APPEND compile_catalogues COMMAND ${KELVORA_MSGFMT} --check -o ${page_texts_dir}/${code}.mo
       ${PROJECT_SOURCE_DIR}/po/${code}.po)
endforeach()
# The manifest in each catalogue's language beside it, kelvora.CODE.webmanifest, its description
# translated (the page names the manifest of its language).
set(page_manifests)
foreach(code ${KELVORA_LANGUAGES})
  list(APPEND page_manifests kelvora.${code}.webmanifest)
endforeach()
list(TRANSFORM page_manifests PREPEND ${page_texts_dir}/ OUTPUT_VARIABLE page_manifest_paths)
add_custom_command(OUTPUT ${page_texts_dir}/texts.js ${page_manifest_paths}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${page_texts_dir}
  COMMAND ${KELVORA_XGETTEXT} --language=JavaScript --from-code=UTF-8 --keyword=N_
          --output=${page_texts_dir}/page.pot ${page_scripts}
  COMMAND ${KELVORA_MSGEN} --output-file=${page_texts_dir}/ids.po ${page_texts_dir}/page.pot
  COMMAND ${KELVORA_MSGFMT} --output-file=${page_texts_dir}/ids.mo ${page_texts_dir}/ids.po
  ${compile_catalogues}
  COMMAND ${KELVORA_PYTHON} ${PROJECT_SOURCE_DIR}/web/page-texts ${page_texts_dir}/texts.js
          ${page_texts_dir}/ids.mo ${PROJECT_SOURCE_DIR}/web/page/kelvora.webmanifest
          ${page_compiled}
  DEPENDS ${page_scripts} ${page_catalogues} ${PROJECT_SOURCE_DIR}/web/page-texts
          ${PROJECT_SOURCE_DIR}/web/page/kelvora.webmanifest
  COMMENT "Writing the page's texts in each language"
  VERBATIM)

# The game `target` as the page runs it, into `dir`. What the page calls of it are the functions
# marked EMSCRIPTEN_KEEPALIVE (web/app/PageHooks.cpp, and TestHooks.cpp in the tests' game),
# which the marks alone export, beside main, malloc and free.
function(kelvora_web_game target dir)
  file(MAKE_DIRECTORY ${dir})
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${dir} OUTPUT_NAME kelvora
                                             SUFFIX .js)
  target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/web/app/PageHooks.cpp)
  add_dependencies(${target} kelvora-data)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${KELVORA_DATA_PATHS} ${storage_js})
  target_link_options(${target} PRIVATE
    -sALLOW_MEMORY_GROWTH -sINITIAL_MEMORY=134217728
    -sENVIRONMENT=web -sFORCE_FILESYSTEM "SHELL:--pre-js ${storage_js}"
    "-sEXPORTED_RUNTIME_METHODS=[callMain,ccall,UTF8ToString,HEAPU8]"
    -sEXPORTED_FUNCTIONS=[_main,_malloc,_free]
    # The package of Data and the fonts is compressed (LZ4), each file unpacked when it is read.
    # The languages' pictures stay beside the page, fetched when a language is spoken
    # (platform::FetchInstalledFile): a visit loads only those of its own language. So do the
    # fonts only some languages' letters need, fetched when a text asks for them.
    -sLZ4
    "SHELL:--exclude-file */${KELVORA_LANGUAGE_GRAPHICS_PREFIX}*${KELVORA_LANGUAGE_GRAPHICS_SUFFIX}"
    "SHELL:--preload-file ${CMAKE_BINARY_DIR}/Data@/kelvora/Data"
    "SHELL:--preload-file ${fonts}@/kelvora/Fonts")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DDIR=${dir} -P ${PROJECT_SOURCE_DIR}/web/StablePackageId.cmake
    VERBATIM)
endfunction()

# The page around the game of `target` in `dir`: the page's files, the icons and the service
# worker, written by the target `folder_target` (built with all targets where `ALL` is given).
function(kelvora_web_folder target dir folder_target)
  set(web_names)
  set(icons)
  foreach(page_file ${page_files})
    get_filename_component(page_name ${page_file} NAME)
    configure_file(${page_file} ${dir}/${page_name} COPYONLY)
    list(APPEND web_names ${page_name})
  endforeach()
  foreach(written texts.js ${page_manifests})
    add_custom_command(OUTPUT ${dir}/${written}
      COMMAND ${CMAKE_COMMAND} -E copy ${page_texts_dir}/${written} ${dir}/${written}
      DEPENDS ${page_texts_dir}/${written})
    list(APPEND web_names ${written})
  endforeach()
  # The icons, drawn by the native build's picture generator beside the one named.
  if(KELVORA_PREBUILT_ICON)
    configure_file(${KELVORA_PREBUILT_ICON} ${dir}/kelvora.png COPYONLY)
    get_filename_component(pictures ${KELVORA_PREBUILT_ICON} DIRECTORY)
    foreach(icon kelvora-192.png kelvora-512.png kelvora-maskable-512.png)
      add_custom_command(OUTPUT ${dir}/${icon}
        COMMAND ${CMAKE_COMMAND} -E copy ${pictures}/${icon} ${dir}/${icon}
        DEPENDS ${pictures}/${icon})
      list(APPEND icons ${icon})
    endforeach()
  endif()
  # The languages' pictures, beside the page in Data/, fetched by the game when it speaks one.
  set(language_pictures)
  set(on_demand_fonts)
  foreach(file ${KELVORA_LANGUAGE_GRAPHICS})
    set(archive ${dir}/Data/${file})
    add_custom_command(OUTPUT ${archive}
      COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/Data/${file} ${archive}
      DEPENDS kelvora-data ${CMAKE_BINARY_DIR}/Data/${file})
    list(APPEND language_pictures ${archive})
  endforeach()
  # The fonts of some languages' letters, beside the page in Fonts/, fetched when a text needs them.
  foreach(font ${KELVORA_FONT_FILES_ON_DEMAND})
    get_filename_component(name ${font} NAME)
    configure_file(${font} ${dir}/Fonts/${name} COPYONLY)
    list(APPEND on_demand_fonts Fonts/${name})
  endforeach()
  # The service worker, written when any of the page's files changed: it names them all.
  # (kelvora.wasm and kelvora.data are written with kelvora.js, the target's file.)
  list(APPEND web_names kelvora.png ${icons})
  list(TRANSFORM web_names PREPEND ${dir}/ OUTPUT_VARIABLE web_paths)
  list(APPEND web_names kelvora.js kelvora.wasm kelvora.data)
  list(JOIN web_names "," web_list)
  list(TRANSFORM KELVORA_LANGUAGE_GRAPHICS PREPEND Data/ OUTPUT_VARIABLE on_demand)
  list(APPEND on_demand ${on_demand_fonts})
  list(JOIN on_demand "," on_demand_list)
  get_filename_component(folder ${dir} NAME)
  add_custom_command(OUTPUT ${dir}/sw.js
    COMMAND ${CMAKE_COMMAND} -DWEB_DIR=${dir} -DVERSION=${PROJECT_VERSION}
            -DFILES=${web_list} -DON_DEMAND=${on_demand_list}
            -P ${PROJECT_SOURCE_DIR}/web/ServiceWorker.cmake
    DEPENDS ${target} ${web_paths} ${language_pictures}
            ${PROJECT_SOURCE_DIR}/web/ServiceWorker.cmake
            ${PROJECT_SOURCE_DIR}/web/ServiceWorker.js
    COMMENT "Writing the service worker of ${folder}/"
    VERBATIM)
  add_custom_target(${folder_target} ${ARGN} DEPENDS ${dir}/sw.js ${language_pictures})
endfunction()

set(KELVORA_WEB_DIR ${CMAKE_BINARY_DIR}/web)
kelvora_web_game(kelvora ${KELVORA_WEB_DIR})
kelvora_web_folder(kelvora ${KELVORA_WEB_DIR} kelvora-web-worker ALL)

add_executable(kelvora-test-game EXCLUDE_FROM_ALL src/app/main_sdl.cpp
  ${PROJECT_SOURCE_DIR}/web/app/TestHooks.cpp ${PROJECT_SOURCE_DIR}/bench/HeaviestScene.cpp)
target_link_libraries(kelvora-test-game PRIVATE kelvora_app kelvora_sdl)
target_compile_definitions(kelvora-test-game PRIVATE KELVORA_VERSION="${PROJECT_VERSION}")
target_include_directories(kelvora-test-game PRIVATE ${PROJECT_SOURCE_DIR}/bench)
kelvora_web_game(kelvora-test-game ${CMAKE_BINARY_DIR}/web-test)
kelvora_web_folder(kelvora-test-game ${CMAKE_BINARY_DIR}/web-test kelvora-web-test)

# How the game's blocking loop hands control to the page.
include(${CMAKE_CURRENT_LIST_DIR}/WebAsyncify.cmake)
