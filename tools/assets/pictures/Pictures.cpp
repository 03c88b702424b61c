#include "Pictures.h"

#include <system_error>

#include "base/Files.h"

namespace pictures {

std::vector<TSheet> DrawAllSheets() {
  std::vector<TSheet> sheets;
  sheets.push_back(DrawLogo());
  sheets.push_back(DrawSplash());
  sheets.push_back(DrawPlants());
  sheets.push_back(DrawClouds());
  sheets.push_back(DrawMain());
  sheets.push_back(DrawMenu());
  sheets.push_back(DrawField());
  sheets.push_back(DrawCursor());
  sheets.push_back(DrawWater());
  sheets.push_back(DrawOrders());
  sheets.push_back(DrawSheds());
  sheets.push_back(DrawSymbols());
  sheets.push_back(DrawLevel());
  return sheets;
}

bool WriteAll(const std::filesystem::path& dir, bool previews, std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) {
    error = "cannot create " + dir.string() + ": " + ec.message();
    return false;
  }
  for (const TSheet& sheet : DrawAllSheets()) {
    const std::filesystem::path path = dir / sheet.File();
    if (!WriteFileAtomic(path, sheet.ToBmp())) {
      error = "cannot write " + path.string();
      return false;
    }
    if (previews) {
      const TCairoSurface surface = sheet.ToSurface();
      std::filesystem::path png = path;
      png.replace_extension(".png");
      const bool ok = WritePngAtomic(png, surface.get());
      if (!ok) {
        error = "cannot write " + png.string();
        return false;
      }
    }
  }
  for (const int size : IconSizes) {
    const std::filesystem::path png =
        dir / (size == IconSizes[0] ? "kelvora.png" : "kelvora-" + std::to_string(size) + ".png");
    if (!WritePngAtomic(png, DrawIcon(size).get())) {
      error = "cannot write " + png.string();
      return false;
    }
  }
  const std::string svg = DrawIconSvg();
  if (svg.empty() || !WriteFileWhole((dir / "kelvora.svg").string(), svg)) {
    error = "cannot write " + (dir / "kelvora.svg").string();
    return false;
  }
  return true;
}

}  // namespace pictures
