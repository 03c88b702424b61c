# Grafika.dat: the thirteen bitmaps drawn by kelvora-pictures, packed by kelvora-pack, in Czech.
# The desktop icon is drawn beside them (kelvora.png at 256 pixels, kelvora-N.png at the smaller
# sizes, kelvora.svg, kelvora.ico for Windows, and the web page's kelvora-192.png, kelvora-512.png and
# kelvora-maskable-512.png), and so are the Windows installer's pictures (installer-welcome.bmp,
# installer-header.bmp); the global property KELVORA_ICON_DIR names their folder for installation.
set(KELVORA_PICTURES_DIR ${CMAKE_CURRENT_BINARY_DIR}/pictures)
set(KELVORA_PICTURE_FILES
  Loga.bmp Splash.bmp Rostliny.bmp Mraky.bmp Main.bmp Menu.bmp Pole.bmp Mys.bmp Voda.bmp
  Objednav.bmp Kulny.bmp Symboly.bmp Level.bmp)
list(TRANSFORM KELVORA_PICTURE_FILES PREPEND ${KELVORA_PICTURES_DIR}/ OUTPUT_VARIABLE picture_paths)
set(KELVORA_ICONS kelvora.png kelvora-128.png kelvora-64.png kelvora-48.png kelvora.svg
  kelvora.ico kelvora-192.png kelvora-512.png kelvora-maskable-512.png
  installer-welcome.bmp installer-header.bmp)
list(TRANSFORM KELVORA_ICONS PREPEND ${KELVORA_PICTURES_DIR}/)

add_custom_command(OUTPUT ${picture_paths} ${KELVORA_ICONS}
  COMMAND kelvora-pictures ${KELVORA_PICTURES_DIR}
  DEPENDS kelvora-pictures
  COMMENT "Drawing the game's pictures")
set(graphics ${KELVORA_DATA_DIR}/${KELVORA_GRAPHICS_FILE})
add_custom_command(OUTPUT ${graphics}
  COMMAND kelvora-pack create ${graphics} ${picture_paths}
  DEPENDS kelvora-pack ${picture_paths}
  COMMENT "Packing Data/${KELVORA_GRAPHICS_FILE}")
# Each language's pictures, Grafika-<code>.dat: for each bitmap with words in it (named by
# tools/assets/pictures), drawn again with the words of the language's catalogue as this folder
# compiles it, only what differs from Czech's: its patch (Menu.bmp.patch, src/gfx/BitmapPatch.h).
# The game draws the patches over Czech's bitmaps of Grafika.dat. The language's whole bitmaps
# stay in pictures/<code>, where the tests compare the game's results with them.
get_property(KELVORA_WORDED_PICTURE_FILES GLOBAL PROPERTY KELVORA_WORDED_PICTURE_FILES)
foreach(code ${KELVORA_LANGUAGES})
  set(language_dir ${KELVORA_PICTURES_DIR}/${code})
  set(catalogue ${CMAKE_CURRENT_BINARY_DIR}/languages/${code}/${KELVORA_CATALOGUE_MEMBER})
  list(TRANSFORM KELVORA_WORDED_PICTURE_FILES PREPEND ${language_dir}/ OUTPUT_VARIABLE worded_paths)
  list(TRANSFORM worded_paths APPEND .patch OUTPUT_VARIABLE patch_paths)
  add_custom_command(OUTPUT ${worded_paths} ${patch_paths}
    COMMAND kelvora-pictures ${language_dir} --catalogue ${catalogue}
            --patches ${KELVORA_PICTURES_DIR}
    DEPENDS kelvora-pictures ${catalogue} ${picture_paths}
    COMMENT "Drawing the pictures of ${code}")
  kelvora_language_file(language_graphics GRAPHICS ${code})
  add_custom_command(OUTPUT ${KELVORA_DATA_DIR}/${language_graphics}
    COMMAND kelvora-pack create ${KELVORA_DATA_DIR}/${language_graphics} ${patch_paths}
    DEPENDS kelvora-pack ${patch_paths}
    COMMENT "Packing Data/${language_graphics}")
  list(APPEND data_outputs ${KELVORA_DATA_DIR}/${language_graphics})
endforeach()
set_property(GLOBAL PROPERTY KELVORA_ICON_DIR ${KELVORA_PICTURES_DIR})
list(APPEND data_outputs ${graphics} ${KELVORA_ICONS})
