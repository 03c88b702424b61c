cmake_minimum_required(VERSION 3.25)
# The real game's options that move saved games, run without a display: a game saved by the
# runner (SAVE_SCRIPT) in one folder is exported (--export-saves) and imported
# (--import-saves) in a fresh one, where the load screen then lists it; a damaged file is
# refused with status 1 and changes nothing; a slot holding a game is kept without --replace
# and replaced with it; options not understood get the usage, in the language asked for.
#   -DGAME=kelvora -DRUNNER=kelvora-headless -DSAVE_SCRIPT=... -DDATA=built Data -DWORK=folder
set(failures "")
function(fail text)
  set(failures "${failures}\n  ${text}" PARENT_SCOPE)
endfunction()
# The run's status must be WANT.
macro(expect_status want what)
  if(NOT RUN_STATUS EQUAL ${want})
    fail("${what}: status ${RUN_STATUS}, expected ${want}: ${RUN_OUT}${RUN_ERR}")
  endif()
endmacro()
# TEXT must hold NEEDLE.
macro(expect_text text needle what)
  string(FIND "${text}" "${needle}" at)
  if(at EQUAL -1)
    fail("${what}: \"${needle}\" missing from: ${text}")
  endif()
endmacro()
macro(expect_same first second what)
  if(NOT "${first}" STREQUAL "${second}")
    fail("${what}")
  endif()
endmacro()

# Runs the game with ARGN in FOLDER; status, standard output and error in RUN_STATUS, RUN_OUT,
# RUN_ERR.
function(game folder)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
    ${GAME} ${ARGN} WORKING_DIRECTORY ${folder} RESULT_VARIABLE status OUTPUT_VARIABLE out
    ERROR_VARIABLE err TIMEOUT 60)
  set(RUN_STATUS ${status} PARENT_SCOPE)
  set(RUN_OUT "${out}" PARENT_SCOPE)
  set(RUN_ERR "${err}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK})
foreach(folder from to)
  file(MAKE_DIRECTORY ${WORK}/${folder})
  file(COPY ${DATA} DESTINATION ${WORK}/${folder})
endforeach()
execute_process(COMMAND ${RUNNER} ${SAVE_SCRIPT} WORKING_DIRECTORY ${WORK}/from
  RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
if(NOT EXISTS ${WORK}/from/Data/Save2.dat)
  message(FATAL_ERROR "the runner saved no game (status ${status})")
endif()
file(SHA256 ${WORK}/from/Data/Save2.dat saved)

game(${WORK}/from --export-saves ../saves.dat)
expect_status(0 "export")
expect_text("${RUN_OUT}" "Pozice 3 (Save2.dat): level 1, " "export")
if(NOT EXISTS ${WORK}/saves.dat)
  fail("export: no file written")
endif()

game(${WORK}/to --import-saves ${WORK}/saves.dat)
expect_status(0 "import")
expect_text("${RUN_OUT}" "nahrána hra level 1" "import")
file(SHA256 ${WORK}/to/Data/Save2.dat imported)
expect_same("${imported}" "${saved}" "import: Save2.dat differs from the exported game")
file(READ ${WORK}/to/Data/Nastaveni.dat settings)
string(REPLACE "\r" "" settings "${settings}")
expect_text("${settings}" "[Save2]\nCisloLevelu=1\n" "import: the summary")

# A damaged file, and a slot that holds a game (what each leaves unchanged: the unit tests).
file(WRITE ${WORK}/damaged.dat "not a file of saved games")
file(WRITE ${WORK}/to/Data/Save2.dat "an old game")
game(${WORK}/to --import-saves ${WORK}/damaged.dat)
expect_status(1 "damaged")
expect_text("${RUN_ERR}" "„damaged.dat“" "damaged")
expect_text("${RUN_ERR}" "Nic nebylo změněno." "damaged")
game(${WORK}/to --import-saves ${WORK}/saves.dat)
expect_status(1 "kept")
expect_text("${RUN_ERR}" "--replace" "kept")
game(${WORK}/to --import-saves --replace ${WORK}/saves.dat)
expect_status(0 "replace")
file(SHA256 ${WORK}/to/Data/Save2.dat replaced)
expect_same("${replaced}" "${saved}" "replace: Save2.dat is not the exported game")
game(${WORK}/to --import-saves)
expect_status(2 "no file")
expect_text("${RUN_ERR}" "Použití: kelvora [--language KÓD] --export-saves SOUBOR" "no file: the usage")
# The usage in the language asked for, where the option itself was understood.
game(${WORK}/to --language en --export-saves)
expect_status(2 "no file, in English")
expect_text("${RUN_ERR}" "Usage: kelvora [--language CODE] --export-saves FILE" "no file, in English: the usage")

if(failures)
  message(FATAL_ERROR "save transfer failed:${failures}")
endif()
