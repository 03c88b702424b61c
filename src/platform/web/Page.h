// Where the game lives in the page's virtual file system: the files it ships (the archives in
// Data, the fonts in Fonts), loaded with the page, and the player's own folder, whose Data is
// kept in the browser's storage (IndexedDB) across visits.
#pragma once

namespace platform {

inline constexpr const char* kGameFolder = "/kelvora";
inline constexpr const char* kPlayerFolder = "/player";

}  // namespace platform
