// Font files in the browser: a page has no fonts of its own to offer, so the game ships the free
// families of the Windows faces' metrics in its Fonts folder.
#include "platform/FontFiles.h"
#include "platform/web/Page.h"

std::optional<TFontFile> platform::FindSystemFontFile(const std::string& name,
                                                      const char* substitute, bool bold) {
  return FindShippedFontFile(std::string(kGameFolder) + "/Fonts",
                             substitute ? substitute : name.c_str(), bold);
}
