// Font files in the browser: a page has no fonts of its own to offer, so the game ships the free
// families of the Windows faces' metrics in its Fonts folder. A family only some languages need
// (the one with their letters) is kept on the server until a text asks for it.
#include "platform/FontFiles.h"

#include "platform/Folders.h"
#include "platform/web/Page.h"

std::optional<TFontFile> platform::FindSystemFontFile(const std::string& name,
                                                      const char* substitute, bool bold) {
  const char* family = substitute ? substitute : name.c_str();
  if (const TFaceFiles* files = ShippedFamily(family)) {
    FetchInstalledFile(std::string("Fonts\\") + files->regular);
    if (bold) FetchInstalledFile(std::string("Fonts\\") + files->bold);
  }
  return FindShippedFontFile(std::string(kGameFolder) + "/Fonts", family, bold);
}
