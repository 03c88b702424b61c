# Writes the page's service worker, WEB_DIR/sw.js: the list of the page's FILES (names in
# WEB_DIR, separated by ",") with each one's SHA-256 and size, the game's VERSION, and a cache
# name made of the version and a hash of all the files' contents, above tools/web/ServiceWorker.js.
# Usage: cmake -DWEB_DIR=... -DVERSION=... -DFILES=... -P ServiceWorker.cmake
set(list "")
set(all "")
string(REPLACE "," ";" FILES "${FILES}")
foreach(name IN LISTS FILES)
  file(SHA256 ${WEB_DIR}/${name} sha256)
  file(SIZE ${WEB_DIR}/${name} size)
  string(APPEND list "  '${name}': { sha256: '${sha256}', size: ${size} },\n")
  string(APPEND all "${name} ${sha256}\n")
endforeach()
string(SHA256 hash "${all}")
string(SUBSTRING ${hash} 0 16 hash)
file(READ ${CMAKE_CURRENT_LIST_DIR}/ServiceWorker.js body)
file(WRITE ${WEB_DIR}/sw.js.new
  "// Written by the build: this version's files.\n'use strict';\n"
  "const VERSION = '${VERSION}';\n"
  "const CACHE = 'kelvora-${VERSION}-${hash}';\n"
  "const FILES = {\n${list}};\n\n${body}")
file(RENAME ${WEB_DIR}/sw.js.new ${WEB_DIR}/sw.js)
