# What the game's packages ship beside its programs, named once for all of them: the files of
# the Data folder (made by the data build), and the free faces of the Windows ones' metrics
# (Debian's fonts-liberation2 and fonts-comic-neue) where a system lacks them (Windows without a
# face, the browser). The faces' table of src/platform/FontFiles.cpp is written from the list
# below, into the build's generated/ShippedFonts.inc.

# The shipped data files' names, for the data build, the packages, the web page and the game
# alike: the game's header src/game/DataFiles.h takes them from the build's
# generated/DataFileNames.inc, written below. Each archive and the playlist, in the Data folder:
set(KELVORA_GAME_DATA_FILE Game.dat)   # the level and order tables
set(KELVORA_GRAPHICS_FILE Grafika.dat) # the bitmaps, in Czech
set(KELVORA_SOUNDS_FILE Hudba.dat)     # the effects, tunes and songs
set(KELVORA_PLAYLIST_FILE Hudba.ini)   # the songs' order
# A language's game data holds its catalogue compiled, as this member; its game data and its
# pictures are each named around the language's code (kelvora_language_file).
set(KELVORA_CATALOGUE_MEMBER Texty.mo)
set(KELVORA_LANGUAGE_DATA_PREFIX Game-)
set(KELVORA_LANGUAGE_DATA_SUFFIX .dat)
set(KELVORA_LANGUAGE_GRAPHICS_PREFIX Grafika-)
set(KELVORA_LANGUAGE_GRAPHICS_SUFFIX .dat)

# Sets `out` to the name of the file of the language `code` of the `kind` DATA or GRAPHICS
# ("Game-de.dat", "Grafika-de.dat").
function(kelvora_language_file out kind code)
  set(${out} ${KELVORA_LANGUAGE_${kind}_PREFIX}${code}${KELVORA_LANGUAGE_${kind}_SUFFIX} PARENT_SCOPE)
endfunction()

# The languages beside Czech, the game's own: one translators' catalogue each, po/<code>.po, and
# nothing else to add one. Each gives the Data folder its language's game data, Game-<code>.dat,
# which holds the catalogue compiled (Texty.mo), and its pictures, Grafika-<code>.dat: what its
# catalogue's words change in the bitmaps with words (data/pictures.cmake).
file(GLOB KELVORA_CATALOGUES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/po/*.po)
list(SORT KELVORA_CATALOGUES)
set(KELVORA_LANGUAGES)
set(KELVORA_LANGUAGE_DATA)
set(KELVORA_LANGUAGE_GRAPHICS)
foreach(catalogue ${KELVORA_CATALOGUES})
  get_filename_component(code ${catalogue} NAME_WE)
  list(APPEND KELVORA_LANGUAGES ${code})
  kelvora_language_file(language_data DATA ${code})
  kelvora_language_file(language_graphics GRAPHICS ${code})
  list(APPEND KELVORA_LANGUAGE_DATA ${language_data})
  list(APPEND KELVORA_LANGUAGE_GRAPHICS ${language_graphics})
endforeach()
unset(language_data)
unset(language_graphics)
set(KELVORA_DATA_FILES ${KELVORA_GAME_DATA_FILE} ${KELVORA_LANGUAGE_DATA}
  ${KELVORA_GRAPHICS_FILE} ${KELVORA_LANGUAGE_GRAPHICS} ${KELVORA_SOUNDS_FILE}
  ${KELVORA_PLAYLIST_FILE})
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/DataFileNames.inc CONTENT [[
// Written by cmake/Shipped.cmake: the names of the shipped data files, in the Data folder.
#define KELVORA_GAME_DATA_FILE "@KELVORA_GAME_DATA_FILE@"
#define KELVORA_GRAPHICS_FILE "@KELVORA_GRAPHICS_FILE@"
#define KELVORA_SOUNDS_FILE "@KELVORA_SOUNDS_FILE@"
#define KELVORA_PLAYLIST_FILE "@KELVORA_PLAYLIST_FILE@"
#define KELVORA_CATALOGUE_MEMBER "@KELVORA_CATALOGUE_MEMBER@"
#define KELVORA_LANGUAGE_DATA_PREFIX "@KELVORA_LANGUAGE_DATA_PREFIX@"
#define KELVORA_LANGUAGE_DATA_SUFFIX "@KELVORA_LANGUAGE_DATA_SUFFIX@"
#define KELVORA_LANGUAGE_GRAPHICS_PREFIX "@KELVORA_LANGUAGE_GRAPHICS_PREFIX@"
#define KELVORA_LANGUAGE_GRAPHICS_SUFFIX "@KELVORA_LANGUAGE_GRAPHICS_SUFFIX@"
]] @ONLY)
# Debian's msgfmt compiles the catalogues (and the tests' own).
find_program(KELVORA_MSGFMT msgfmt REQUIRED)
# The same, as the build's Data folder holds them.
set(KELVORA_DATA_PATHS ${KELVORA_DATA_FILES})
list(TRANSFORM KELVORA_DATA_PATHS PREPEND ${CMAKE_BINARY_DIR}/Data/)

# Each shipped family: its name, then its regular and its bold file under /usr/share/fonts. Andika
# writes the letters of the languages Comic Neue has not (platform::LettersFamily); the page
# fetches it only for a text that needs it (KELVORA_FONT_FILES_ON_DEMAND).
set(KELVORA_SHIPPED_FAMILIES
    "Liberation Sans|truetype/liberation2/LiberationSans-Regular.ttf|truetype/liberation2/LiberationSans-Bold.ttf"
    "Liberation Serif|truetype/liberation2/LiberationSerif-Regular.ttf|truetype/liberation2/LiberationSerif-Bold.ttf"
    "Comic Neue|opentype/comic-neue/ComicNeue-Regular.otf|opentype/comic-neue/ComicNeue-Bold.otf"
    "Andika|truetype/andika/Andika-Regular.ttf|truetype/andika/Andika-Bold.ttf")
set(KELVORA_ON_DEMAND_FAMILIES "Andika")

set(KELVORA_FONT_FILES)
set(KELVORA_FONT_FILES_ON_DEMAND)
set(table "")
foreach(family ${KELVORA_SHIPPED_FAMILIES})
  string(REPLACE "|" ";" fields "${family}")
  list(GET fields 0 name)
  list(GET fields 1 regular)
  list(GET fields 2 bold)
  list(APPEND KELVORA_FONT_FILES /usr/share/fonts/${regular} /usr/share/fonts/${bold})
  if(name IN_LIST KELVORA_ON_DEMAND_FAMILIES)
    list(APPEND KELVORA_FONT_FILES_ON_DEMAND /usr/share/fonts/${regular} /usr/share/fonts/${bold})
  endif()
  get_filename_component(regular ${regular} NAME)
  get_filename_component(bold ${bold} NAME)
  string(APPEND table "{\"${name}\", \"${regular}\", \"${bold}\"},\n")
endforeach()
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/ShippedFonts.inc
     CONTENT "// Written by cmake/Shipped.cmake: the shipped families and their files.\n${table}")
