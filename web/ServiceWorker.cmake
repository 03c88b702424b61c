# Writes the page's service worker, WEB_DIR/sw.js: the list of the page's FILES (names in
# WEB_DIR, separated by ",") and of the files fetched only when the game asks for them
# (ON_DEMAND, a language's pictures), with each one's SHA-256 and size, the game's VERSION, and
# the name of the build: the version and a hash of all the files' contents, above
# web/ServiceWorker.js.
# Usage: cmake -DWEB_DIR=... -DVERSION=... -DFILES=... [-DON_DEMAND=...] -P ServiceWorker.cmake
cmake_policy(SET CMP0057 NEW)
set(list "")
set(all "")
string(REPLACE "," ";" FILES "${FILES}")
string(REPLACE "," ";" ON_DEMAND "${ON_DEMAND}")
foreach(name IN LISTS FILES ON_DEMAND)
  file(SHA256 ${WEB_DIR}/${name} sha256)
  file(SIZE ${WEB_DIR}/${name} size)
  set(how "")
  if(name IN_LIST ON_DEMAND)
    set(how ", onDemand: true")
  endif()
  string(APPEND list "  '${name}': { sha256: '${sha256}', size: ${size}${how} },\n")
  string(APPEND all "${name} ${sha256}\n")
endforeach()
string(SHA256 hash "${all}")
string(SUBSTRING ${hash} 0 16 hash)
file(READ ${CMAKE_CURRENT_LIST_DIR}/ServiceWorker.js body)
file(WRITE ${WEB_DIR}/sw.js.new
  "// Written by the build: this version's files.\n'use strict';\n"
  "const VERSION = '${VERSION}';\n"
  "const BUILD = '${VERSION}-${hash}';\n"
  "const FILES = {\n${list}};\n\n${body}")
file(RENAME ${WEB_DIR}/sw.js.new ${WEB_DIR}/sw.js)
