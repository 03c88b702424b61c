# Grafika.dat: the thirteen bitmaps drawn by kelvora-pictures, packed by kelvora-pack.
# kelvora.png, the desktop icon, is copied to the top of the build tree for installation; its
# path is kept in the global property KELVORA_ICON.
set(KELVORA_PICTURES_DIR ${CMAKE_CURRENT_BINARY_DIR}/pictures)
set(KELVORA_PICTURE_FILES
  Loga.bmp Splash.bmp Rostliny.bmp Mraky.bmp Main.bmp Menu.bmp Pole.bmp Mys.bmp Voda.bmp
  Objednav.bmp Kulny.bmp Symboly.bmp Level.bmp)
list(TRANSFORM KELVORA_PICTURE_FILES PREPEND ${KELVORA_PICTURES_DIR}/ OUTPUT_VARIABLE picture_paths)
set(KELVORA_ICON ${KELVORA_PICTURES_DIR}/kelvora.png)

add_custom_command(OUTPUT ${picture_paths} ${KELVORA_ICON}
  COMMAND kelvora-pictures ${KELVORA_PICTURES_DIR}
  DEPENDS kelvora-pictures
  COMMENT "Drawing the game's pictures")
add_custom_command(OUTPUT ${KELVORA_DATA_DIR}/Grafika.dat
  COMMAND kelvora-pack create ${KELVORA_DATA_DIR}/Grafika.dat ${picture_paths}
  DEPENDS kelvora-pack ${picture_paths}
  COMMENT "Packing Data/Grafika.dat")
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/kelvora.png
  COMMAND ${CMAKE_COMMAND} -E copy ${KELVORA_ICON} ${CMAKE_BINARY_DIR}/kelvora.png
  DEPENDS ${KELVORA_ICON}
  COMMENT "Copying the desktop icon")
set_property(GLOBAL PROPERTY KELVORA_ICON ${CMAKE_BINARY_DIR}/kelvora.png)
list(APPEND KELVORA_DATA_FILES ${KELVORA_DATA_DIR}/Grafika.dat ${CMAKE_BINARY_DIR}/kelvora.png)
