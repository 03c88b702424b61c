#include "Pictures.h"

#include "PatchMaker.h"

#include <system_error>
#include <utility>

#include "base/Files.h"
#include "gfx/BitmapPatch.h"

namespace pictures {

namespace {
std::string Le16(size_t value) {
  return {static_cast<char>(value & 0xff), static_cast<char>((value >> 8) & 0xff)};
}
std::string Le32(size_t value) { return Le16(value & 0xffff) + Le16((value >> 16) & 0xffff); }

// Each sheet's painter, and whether words are drawn in it.
struct TPicture {
  TSheet (*Draw)();
  bool Worded;
};
constexpr TPicture Sheets[] = {
    {DrawLogo, true},   {DrawSplash, true}, {DrawPlants, false}, {DrawClouds, false},
    {DrawMain, true},   {DrawMenu, true},   {DrawField, false},  {DrawCursor, false},
    {DrawWater, false}, {DrawOrders, true}, {DrawSheds, true},   {DrawSymbols, true},
    {DrawLevel, true},
};

std::vector<TSheet> Draw(bool wordedOnly) {
  std::vector<TSheet> sheets;
  for (const TPicture& picture : Sheets) {
    if (picture.Worded || !wordedOnly) sheets.push_back(picture.Draw());
  }
  return sheets;
}

bool CreateFolder(const std::filesystem::path& dir, std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) error = "cannot create " + dir.string() + ": " + ec.message();
  return !ec;
}

bool WriteSheets(const std::filesystem::path& dir, const std::vector<TSheet>& sheets, bool previews,
                 std::string& error) {
  for (const TSheet& sheet : sheets) {
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
  return true;
}

}  // namespace

std::vector<TSheet> DrawAllSheets() { return Draw(false); }

std::vector<TSheet> DrawWordedSheets() { return Draw(true); }

bool WriteWorded(const std::filesystem::path& dir, bool previews, std::string& error,
                 const std::filesystem::path& czechDir) {
  const std::vector<TSheet> sheets = DrawWordedSheets();
  if (!CreateFolder(dir, error) || !WriteSheets(dir, sheets, previews, error)) return false;
  if (czechDir.empty()) return true;
  for (const TSheet& sheet : sheets) {
    const std::filesystem::path czechFile = czechDir / sheet.File();
    std::string czech, patch;
    if (ReadFileWhole(czechFile.string(), czech) != TReadResult::Read) {
      error = "cannot read " + czechFile.string();
      return false;
    }
    const std::vector<uint8_t> bmp = sheet.ToBmp();
    const std::string_view own(reinterpret_cast<const char*>(bmp.data()), bmp.size());
    if (!MakeBitmapPatch(czech, own, patch, error)) {
      error = sheet.File() + " cannot be patched from " + czechFile.string() + ": " + error;
      return false;
    }
    const std::filesystem::path file = dir / PatchName(sheet.File());
    if (!WriteFileWhole(file.string(), patch)) {
      error = "cannot write " + file.string();
      return false;
    }
  }
  return true;
}

bool WriteAll(const std::filesystem::path& dir, bool previews, std::string& error) {
  if (!CreateFolder(dir, error)) return false;
  std::vector<TSheet> sheets = DrawAllSheets();
  sheets.push_back(DrawInstallerWelcome());
  sheets.push_back(DrawInstallerHeader());
  if (!WriteSheets(dir, sheets, previews, error)) return false;
  // The Windows icon holds the same pictures: an ICO file may carry each size as a PNG.
  std::string ico("\0\0\1\0", 4);
  ico += Le16(std::size(IconSizes));
  std::string images;
  size_t offset = 6 + 16 * std::size(IconSizes);
  for (const int size : IconSizes) {
    const std::string png = EncodePng(DrawIcon(size).get());
    const std::filesystem::path file =
        dir / (size == IconSizes[0] ? "kelvora.png" : "kelvora-" + std::to_string(size) + ".png");
    if (png.empty() || !WriteFileWhole(file.string(), png)) {
      error = "cannot write " + file.string();
      return false;
    }
    // Width and height 0 stand for 256; 1 plane, 32 bits; the size and place of the PNG.
    ico += std::string{static_cast<char>(size % 256), static_cast<char>(size % 256), 0, 0};
    ico += Le16(1) + Le16(32) + Le32(png.size()) + Le32(offset);
    offset += png.size();
    images += png;
  }
  if (!WriteFileWhole((dir / "kelvora.ico").string(), ico + images)) {
    error = "cannot write " + (dir / "kelvora.ico").string();
    return false;
  }
  // The web page's icons.
  std::vector<std::pair<std::string, TCairoSurface>> web;
  for (const int size : WebIconSizes) {
    web.emplace_back("kelvora-" + std::to_string(size) + ".png", DrawIcon(size));
  }
  web.emplace_back("kelvora-maskable-" + std::to_string(MaskableIconSize) + ".png",
                   DrawMaskableIcon(MaskableIconSize));
  for (const auto& [name, surface] : web) {
    const std::string png = EncodePng(surface.get());
    if (png.empty() || !WriteFileWhole((dir / name).string(), png)) {
      error = "cannot write " + (dir / name).string();
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
