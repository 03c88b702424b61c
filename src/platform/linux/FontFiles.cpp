// Font files on Linux: fontconfig, asked for the face's free family first.
#include <fontconfig/fontconfig.h>

#include "platform/FontFiles.h"

std::optional<TFontFile> platform::FindSystemFontFile(const std::string& name,
                                                      const char* substitute, bool bold) {
  if (!FcInit()) return std::nullopt;
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return std::nullopt;
  if (substitute) {
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(substitute));
  }
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return std::nullopt;

  std::optional<TFontFile> found;
  FcChar8* path = nullptr;
  if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path && *path) {
    TFontFile file;
    file.Path = reinterpret_cast<const char*>(path);
    FcChar8* family = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch && family) {
      file.Family = reinterpret_cast<const char*>(family);
    }
    FcPatternGetInteger(match, FC_INDEX, 0, &file.Index);
    int weight = FC_WEIGHT_REGULAR;
    FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
    file.Bold = weight >= FC_WEIGHT_DEMIBOLD;
    found = std::move(file);
  }
  FcPatternDestroy(match);
  return found;
}
