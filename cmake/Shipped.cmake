# What the game's packages ship beside its programs, named once for all of them: the files of
# the Data folder (made by the data build), and the free faces of the Windows ones' metrics
# (Debian's fonts-liberation2 and fonts-comic-neue) where a system lacks them (Windows without a
# face, the browser). The faces' table of src/platform/FontFiles.cpp is written from the list
# below, into the build's generated/ShippedFonts.inc.
# The languages beside Czech, the game's own: one translators' catalogue each, po/<code>.po, and
# nothing else to add one. Each gives the Data folder its language's game data, Game-<code>.dat,
# which holds the catalogue compiled (Texty.mo).
file(GLOB KELVORA_CATALOGUES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/po/*.po)
list(SORT KELVORA_CATALOGUES)
set(KELVORA_LANGUAGES)
foreach(catalogue ${KELVORA_CATALOGUES})
  get_filename_component(code ${catalogue} NAME_WE)
  list(APPEND KELVORA_LANGUAGES ${code})
endforeach()
set(KELVORA_LANGUAGE_DATA ${KELVORA_LANGUAGES})
list(TRANSFORM KELVORA_LANGUAGE_DATA REPLACE "(.+)" "Game-\\1.dat")
# Each also gives its pictures, Grafika-<code>.dat: what its catalogue's words change in the
# bitmaps with words (data/pictures.cmake).
set(KELVORA_LANGUAGE_GRAPHICS ${KELVORA_LANGUAGES})
list(TRANSFORM KELVORA_LANGUAGE_GRAPHICS REPLACE "(.+)" "Grafika-\\1.dat")
set(KELVORA_DATA_FILES Game.dat ${KELVORA_LANGUAGE_DATA} Grafika.dat ${KELVORA_LANGUAGE_GRAPHICS}
  Hudba.dat Hudba.ini)
# Debian's msgfmt compiles the catalogues (and the tests' own).
find_program(KELVORA_MSGFMT msgfmt REQUIRED)
# The same, as the build's Data folder holds them.
set(KELVORA_DATA_PATHS ${KELVORA_DATA_FILES})
list(TRANSFORM KELVORA_DATA_PATHS PREPEND ${CMAKE_BINARY_DIR}/Data/)

# Each shipped family: its name, then its regular and its bold file under /usr/share/fonts.
set(KELVORA_SHIPPED_FAMILIES
    "Liberation Sans|truetype/liberation2/LiberationSans-Regular.ttf|truetype/liberation2/LiberationSans-Bold.ttf"
    "Liberation Serif|truetype/liberation2/LiberationSerif-Regular.ttf|truetype/liberation2/LiberationSerif-Bold.ttf"
    "Comic Neue|opentype/comic-neue/ComicNeue-Regular.otf|opentype/comic-neue/ComicNeue-Bold.otf")

set(KELVORA_FONT_FILES)
set(table "")
foreach(family ${KELVORA_SHIPPED_FAMILIES})
  string(REPLACE "|" ";" fields "${family}")
  list(GET fields 0 name)
  list(GET fields 1 regular)
  list(GET fields 2 bold)
  list(APPEND KELVORA_FONT_FILES /usr/share/fonts/${regular} /usr/share/fonts/${bold})
  get_filename_component(regular ${regular} NAME)
  get_filename_component(bold ${bold} NAME)
  string(APPEND table "{\"${name}\", \"${regular}\", \"${bold}\"},\n")
endforeach()
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/ShippedFonts.inc
     CONTENT "// Written by cmake/Shipped.cmake: the shipped families and their files.\n${table}")
