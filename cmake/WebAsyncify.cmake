# The game's loop blocks; Asyncify lets it hand control back to the page at each sleep and frame
# and resume where it stopped. It slows every function it instruments, so only the functions
# that can reach a wait are instrumented (ASYNCIFY_ONLY), and the build finds them itself, so
# that a new way to a wait is not missed: the game is linked once more as a probe, with the same
# options, its function names kept and nothing instrumented, and AsyncifyList.py follows its
# calls up from the imports that wait (direct calls, virtual calls by their vtable slots, the
# game's callbacks by signature). It fails, naming the function, where the list would not reach
# one. asyncify/waiting-functions-library lists the libraries' functions called by pointer that
# could wait, which the page never calls so.
#
# The probe is made at the end of this folder's configuration, when the game's sources, libraries
# and link options are complete.
find_program(KELVORA_PYTHON python3 REQUIRED)
find_program(KELVORA_WASM_DIS wasm-dis REQUIRED)

function(kelvora_asyncify_only)
  set(dir ${CMAKE_BINARY_DIR}/asyncify)
  # Read by Binaryen itself, by a path relative to the link's folder without a dot in it (emcc
  # would turn a dot into a space).
  set(list ${dir}/waiting-functions)
  set(all ${dir}/all.txt)
  file(MAKE_DIRECTORY ${dir})
  file(WRITE ${all} "*\n")

  get_target_property(sources kelvora SOURCES)
  add_executable(kelvora-asyncify-probe ${sources})
  set_target_properties(kelvora-asyncify-probe PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${dir} OUTPUT_NAME probe SUFFIX .js)
  foreach(property INCLUDE_DIRECTORIES COMPILE_DEFINITIONS COMPILE_OPTIONS LINK_LIBRARIES
                   LINK_OPTIONS LINK_DEPENDS)
    get_target_property(value kelvora ${property})
    if(property STREQUAL LINK_OPTIONS)
      # The page's files are packed apart from the program and change nothing in it.
      list(FILTER value EXCLUDE REGEX "--preload-file|--embed-file")
    endif()
    if(value)
      set_property(TARGET kelvora-asyncify-probe PROPERTY ${property} "${value}")
    endif()
  endforeach()
  # Names kept, imports and exports not renamed (which declaring the exports one by one in the
  # JavaScript would allow), and no function instrumented.
  target_link_options(kelvora-asyncify-probe PRIVATE
    -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536 -sASYNCIFY_REMOVE=@${all} --profiling-funcs -sDECLARE_ASM_MODULE_EXPORTS=0)

  add_custom_command(OUTPUT ${list}
    COMMAND ${KELVORA_PYTHON} ${PROJECT_SOURCE_DIR}/cmake/AsyncifyList.py
            ${dir}/probe.wasm ${EMSCRIPTEN_ROOT_PATH}/emcc.py ${KELVORA_WASM_DIS} ${list}
            # SDL's spin lock waits only while another thread holds it; the page has one.
            SDL_AtomicLock
    DEPENDS kelvora-asyncify-probe ${PROJECT_SOURCE_DIR}/cmake/AsyncifyList.py
    COMMENT "Finding the functions that can wait"
    VERBATIM)
  add_custom_target(kelvora-asyncify-list DEPENDS ${list})
  # The tests' variant of the game adds only functions that never wait.
  foreach(game kelvora kelvora-test-game)
    add_dependencies(${game} kelvora-asyncify-list)
    set_property(TARGET ${game} APPEND PROPERTY LINK_DEPENDS ${list})
    target_link_options(${game} PRIVATE
      -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536 -sASYNCIFY_ONLY=[@asyncify/waiting-functions])
  endforeach()
endfunction()

cmake_language(DEFER CALL kelvora_asyncify_only)
