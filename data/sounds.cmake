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
set(sounds ${KELVORA_DATA_DIR}/${KELVORA_SOUNDS_FILE})
add_custom_command(OUTPUT ${sounds}
  COMMAND kelvora-pack create ${sounds} ${sound_files}
  DEPENDS kelvora-pack ${sound_stamp} ${sound_files}
  COMMENT "Packing Data/${KELVORA_SOUNDS_FILE}")
# The playlist holds only ASCII, so it ships as it is (this folder's copy has the shipped name).
set(playlist ${KELVORA_DATA_DIR}/${KELVORA_PLAYLIST_FILE})
add_custom_command(OUTPUT ${playlist}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/${KELVORA_PLAYLIST_FILE} ${playlist}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${KELVORA_PLAYLIST_FILE}
  COMMENT "Copying Data/${KELVORA_PLAYLIST_FILE}")
list(APPEND data_outputs ${sounds} ${playlist})
