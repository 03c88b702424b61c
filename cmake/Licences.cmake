# The licence texts the Windows packages (the portable zip and the installer) and the browser's
# zip carry in their folder Licence: the game's own, and those of every work bundled with it.
# One entry a file, NAME|PACKAGES|SOURCE:
#   NAME      the file's name in Licence/
#   PACKAGES  windows, web or both
#   SOURCE    where its text comes from: the game's LICENSE, a Debian package's copyright file,
#             Debian's common licences, or the libraries' Debian source packages, which
#             scripts/third-party fetches (<sources>, its `scripts/third-party sources` folder)
# A Debian copyright file names every part of a work with its licence and holds their texts, but
# for the common licences, which it names by their path on Debian: those are shipped beside it.
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  cmake_minimum_required(VERSION 3.25)
endif()
set(KELVORA_LICENCES
  # The game, its code, pictures, sounds, music, levels and texts: GPL-3.0-or-later.
  "Kelvora.txt|both|${CMAKE_CURRENT_LIST_DIR}/../LICENSE"
  # The fonts (packaged from fonts-liberation2, fonts-comic-neue and fonts-sil-andika): SIL Open
  # Font Licence 1.1.
  "Liberation.txt|both|/usr/share/doc/fonts-liberation2/copyright"
  "ComicNeue.txt|both|/usr/share/doc/fonts-comic-neue/copyright"
  "Andika.txt|both|/usr/share/doc/fonts-sil-andika/copyright"
  # The libraries the game links: SDL2, SDL2_mixer and SDL2_ttf (zlib, and the licences of the
  # parts they hold); FreeType, under its own licence (the FTL, which it offers beside the GPL-2);
  # libxmp (LGPL-2.1-or-later); SDL2 holds Vulkan's headers (Apache-2.0).
  "SDL2.txt|both|<sources>/libsdl2/debian/copyright"
  "SDL2_mixer.txt|both|<sources>/libsdl2-mixer/debian/copyright"
  "SDL2_ttf.txt|both|<sources>/libsdl2-ttf/debian/copyright"
  "FreeType.txt|both|<sources>/freetype/docs/FTL.TXT"
  "libxmp.txt|both|<sources>/libxmp/debian/copyright"
  "LGPL-2.1.txt|both|/usr/share/common-licenses/LGPL-2.1"
  "Apache-2.0.txt|both|/usr/share/common-licenses/Apache-2.0"
  # Windows: zlib1.dll (libz-mingw-w64) and MinGW-w64's run-time, winpthreads among it, which
  # every program holds.
  "zlib.txt|windows|/usr/share/doc/libz-mingw-w64/copyright"
  "MinGW-w64.txt|windows|/usr/share/doc/mingw-w64-common/copyright"
  # The browser: Emscripten's run-time and system libraries, compiled into the game.
  "Emscripten.txt|web|/usr/share/doc/emscripten/copyright")

# kelvora_licences(PACKAGES SOURCES OUT): the list of NAME|PATH for the package kind PACKAGES
# (windows or web), with SOURCES the folder of the libraries' source packages. Stops with an
# error when a text is missing.
function(kelvora_licences packages sources out)
  set(result)
  foreach(entry ${KELVORA_LICENCES})
    string(REPLACE "|" ";" fields "${entry}")
    list(GET fields 0 name)
    list(GET fields 1 kinds)
    list(GET fields 2 path)
    if(NOT (kinds STREQUAL "both" OR kinds STREQUAL "${packages}"))
      continue()
    endif()
    string(REPLACE "<sources>" "${sources}" path "${path}")
    get_filename_component(path "${path}" ABSOLUTE)
    if(NOT EXISTS "${path}")
      message(FATAL_ERROR "the licence text ${name} is missing: no ${path}")
    endif()
    list(APPEND result "${name}|${path}")
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# As a script (cmake -DPACKAGES=web -DSOURCES=... -DDESTINATION=... -P Licences.cmake): copies
# the texts for PACKAGES into the folder DESTINATION.
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  kelvora_licences(${PACKAGES} "${SOURCES}" licences)
  file(MAKE_DIRECTORY "${DESTINATION}")
  foreach(licence ${licences})
    string(REPLACE "|" ";" fields "${licence}")
    list(GET fields 0 name)
    list(GET fields 1 path)
    configure_file("${path}" "${DESTINATION}/${name}" COPYONLY)
  endforeach()
endif()
