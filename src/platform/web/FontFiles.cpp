// Font files in the browser: a page has no fonts of its own to offer, so the game ships the free
// families of the Windows faces' metrics in its Fonts folder. A family only some languages need
// (the one with their letters) is kept on the server until a text asks for it.
#include "platform/FontFiles.h"

#include "platform/Folders.h"
#include "platform/web/Page.h"

std::optional<TFontFile> platform::FindSystemFontFile(const std::string& name,
                                                      const char* substitute, bool bold) {
  const char* family = substitute ? substitute : name.c_str();
  // The bold file where bold is asked for; the regular one only where it is not, or there is no
  // bold file to be had (every bold font of the game's table takes only the bold file).
  if (const TFaceFiles* files = ShippedFamily(family)) {
    if (!bold || !FetchInstalledFile(std::string("Fonts\\") + files->bold)) {
      FetchInstalledFile(std::string("Fonts\\") + files->regular);
    }
  }
  return FindShippedFontFile(std::string(kGameFolder) + "/Fonts", family, bold);
}
