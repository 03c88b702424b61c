# Hudba.dat: every sound effect, tune and song of the game, synthesised by kelvora-sounds and
# packed; and the playlist Hudba.ini beside it. The generator runs again only when it changed.
set(KELVORA_SOUNDS_OUT ${CMAKE_CURRENT_BINARY_DIR}/sounds)
# The members, in the order the generator makes them (its tests check that the lists agree).
set(sound_members
  click.mp3 click2.mp3 Zalej.mp3 Kup.mp3 uvod.mp3 Menu.mp3
  Jaro.xm Louka.mp3 Potok.xm Sad.xm Zahrada.mp3)
list(TRANSFORM sound_members PREPEND ${KELVORA_SOUNDS_OUT}/ OUTPUT_VARIABLE sound_files)
set(sound_stamp ${KELVORA_SOUNDS_OUT}/generated.stamp)
add_custom_command(OUTPUT ${sound_stamp} ${sound_files}
  COMMAND kelvora-sounds ${KELVORA_SOUNDS_OUT}
  COMMAND ${CMAKE_COMMAND} -E touch ${sound_stamp}
  DEPENDS kelvora-sounds
  COMMENT "Synthesising the sounds and music")
add_custom_command(OUTPUT ${KELVORA_DATA_DIR}/Hudba.dat
  COMMAND kelvora-pack create ${KELVORA_DATA_DIR}/Hudba.dat ${sound_files}
  DEPENDS kelvora-pack ${sound_stamp} ${sound_files}
  COMMENT "Packing Data/Hudba.dat")
# The playlist holds only ASCII, so it ships as it is.
add_custom_command(OUTPUT ${KELVORA_DATA_DIR}/Hudba.ini
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/Hudba.ini ${KELVORA_DATA_DIR}/Hudba.ini
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/Hudba.ini
  COMMENT "Copying Data/Hudba.ini")
list(APPEND data_outputs ${KELVORA_DATA_DIR}/Hudba.dat ${KELVORA_DATA_DIR}/Hudba.ini)
