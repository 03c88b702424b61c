// Where the game lives in the page's virtual file system: the files it ships (the archives in
// Data, the fonts in Fonts), loaded with the page, and the player's own folder, whose Data is
// kept in the browser's storage (IndexedDB) across visits.
#pragma once

namespace platform {

inline constexpr const char* kGameFolder = "/kelvora";
inline constexpr const char* kPlayerFolder = "/player";

// Calls `work` once, on the game's own stack right after the next frame it shows. The page's own
// calls into the game may not wait for the browser while the game's stack is set aside; `work`
// may, as anything in the game's loop (the page's hooks, web/app/PageHooks.cpp, speak a
// language chosen on the page so).
void AfterNextFrame(void (*work)());

}  // namespace platform
