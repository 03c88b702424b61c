# Emscripten runs its JavaScript passes with the machine's node; one that is not Debian's own
# finds Debian's node modules (acorn) only through NODE_PATH. Included, this puts Debian's module
# folder in front of the environment's NODE_PATH (where it is not there yet); run as a script
# (cmake -P), it prints the value, for the shell scripts that run Emscripten.
set(KELVORA_NODE_MODULES /usr/share/nodejs)
if(IS_DIRECTORY ${KELVORA_NODE_MODULES}
   AND NOT "$ENV{NODE_PATH}" MATCHES "(^|:)${KELVORA_NODE_MODULES}(:|$)")
  if("$ENV{NODE_PATH}" STREQUAL "")
    set(ENV{NODE_PATH} ${KELVORA_NODE_MODULES})
  else()
    set(ENV{NODE_PATH} "${KELVORA_NODE_MODULES}:$ENV{NODE_PATH}")
  endif()
endif()
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  execute_process(COMMAND ${CMAKE_COMMAND} -E echo "$ENV{NODE_PATH}")
endif()
