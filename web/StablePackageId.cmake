# Emscripten's file packager names the package of Data and the fonts (kelvora.data) with a random
# id, written into kelvora.js, which only its cache of packages (not used here) reads. The id is
# made the package's SHA-256, so that two builds of the same sources give the same kelvora.js and
# the service worker's list names the same file: a returning player downloads nothing new.
# Usage: cmake -DDIR=... -P StablePackageId.cmake (DIR holds kelvora.js and kelvora.data)
file(SHA256 ${DIR}/kelvora.data hash)
string(REGEX REPLACE "^(........)(....)(....)(....)(............).*$" "\\1-\\2-\\3-\\4-\\5" id
       "${hash}")
file(READ ${DIR}/kelvora.js script)
string(REGEX REPLACE "\"package_uuid\":\"[0-9a-f-]+\"" "\"package_uuid\":\"${id}\"" stable
       "${script}")
if(NOT stable STREQUAL script)
  file(WRITE ${DIR}/kelvora.js.new "${stable}")
  file(RENAME ${DIR}/kelvora.js.new ${DIR}/kelvora.js)
endif()
