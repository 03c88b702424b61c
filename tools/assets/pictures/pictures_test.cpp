// Checks the generated pictures as the game loads them: through SDL_LoadBMP, against the
// game's own table of sprite rectangles.
#include "Pictures.h"

#include "Paint.h"
#include "PatchMaker.h"
#include "Words.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "gfx/BitmapPatch.h"
#include "gfx/SpriteRects.h"

namespace {

namespace fs = std::filesystem;

struct TImage {
  int Width = 0, Height = 0, Pitch = 0;
  std::vector<uint8_t> Rgb;  // 3 bytes a pixel, top row first, rows Pitch bytes apart
  const uint8_t* At(int x, int y) const { return &Rgb[static_cast<size_t>(y) * Pitch + x * 3]; }
  bool IsKey(int x, int y) const {
    const uint8_t* p = At(x, y);
    return p[0] == 255 && p[1] == 0 && p[2] == 255;
  }
};

// Loads a bitmap with SDL, as the game does, and converts it to plain RGB bytes.
TImage LoadWithSdl(const fs::path& path) {
  TImage image;
  SDL_Surface* loaded = SDL_LoadBMP(path.c_str());
  if (loaded == nullptr) return image;
  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB24, 0);
  SDL_FreeSurface(loaded);
  if (rgb == nullptr) return image;
  const auto* pixels = static_cast<const uint8_t*>(rgb->pixels);
  image = {rgb->w, rgb->h, rgb->pitch, {pixels, pixels + static_cast<size_t>(rgb->h) * rgb->pitch}};
  SDL_FreeSurface(rgb);
  return image;
}

// How many pixels of `r` `f(x, y)` holds for.
template <class F>
int CountIf(const TRect& r, F f) {
  int count = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) count += f(x, y) ? 1 : 0;
  return count;
}

std::vector<char> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class PicturesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Dir = fs::temp_directory_path() / ("kelvora-pictures-test-" + std::to_string(getpid()));
    fs::remove_all(Dir);
    std::string error;
    Written =
        pictures::WriteAll(Dir / "a", false, error) && pictures::WriteAll(Dir / "b", false, error);
    for (const auto& bitmap : sprites::Bitmaps)
      Images[bitmap.File] = LoadWithSdl(Dir / "a" / bitmap.File);
  }
  void SetUp() override { ASSERT_TRUE(Written); }
  static void TearDownTestSuite() {
    Images.clear();
    std::error_code ec;
    fs::remove_all(Dir, ec);
  }

  // Loads a PNG the generator wrote, expecting a square of `size` pixels.
  static pictures::TCairoSurface SquarePng(const std::string& file, int size) {
    pictures::TCairoSurface png(cairo_image_surface_create_from_png((Dir / "a" / file).c_str()));
    EXPECT_EQ(cairo_surface_status(png.get()), CAIRO_STATUS_SUCCESS) << file;
    EXPECT_EQ(cairo_image_surface_get_width(png.get()), size) << file;
    EXPECT_EQ(cairo_image_surface_get_height(png.get()), size) << file;
    return png;
  }

  static inline fs::path Dir;
  static inline bool Written = false;
  static inline std::map<std::string, TImage> Images;
};

// The cursor's hot spot is its top-left pixel, so that pixel must be part of the pointer.
TEST_F(PicturesTest, EveryBitmapLoadsAtItsSizeEverySpriteShowsSomethingAndNoColourIsNearMagenta) {
  for (const auto& bitmap : sprites::Bitmaps) {
    const TImage& image = Images[bitmap.File];
    EXPECT_EQ(image.Width, bitmap.Width) << bitmap.File;
    EXPECT_EQ(image.Height, bitmap.Height) << bitmap.File;
  }
  for (const auto& sprite : sprites::SpriteTable) {
    const TImage& image = Images[sprite.Bitmap];
    const TRect& r = sprite.Rect;
    std::ostringstream where;
    where << sprite.Bitmap << " " << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom;
    if (r.Left < 0 || r.Top < 0 || r.Left >= r.Right || r.Top >= r.Bottom ||
        r.Right > image.Width || r.Bottom > image.Height) {
      ADD_FAILURE() << "outside its bitmap: " << where.str();
      continue;
    }
    const int keyed = CountIf(r, [&](int x, int y) { return image.IsKey(x, y); });
    if (sprite.ColourKeyed)
      EXPECT_LT(keyed, r.Width() * r.Height()) << "entirely transparent: " << where.str();
    else
      EXPECT_EQ(keyed, 0) << "magenta in an opaque picture: " << where.str();
  }
  const TImage& cursor = Images[sprites::cursor::File];
  ASSERT_GT(cursor.Width, 0);
  EXPECT_FALSE(cursor.IsKey(0, 0));
  EXPECT_TRUE(cursor.IsKey(cursor.Width - 1, 0));
  // In the game's 16-bit display every colour whose top bits match magenta's is transparent too,
  // and a pinkish anti-aliased edge shows as a fringe: neither may appear outside the key itself.
  for (const auto& [file, image] : Images) {
    int firstX = -1, firstY = -1;
    const int nearMagenta = CountIf({0, 0, image.Width, image.Height}, [&](int x, int y) {
      const uint8_t* p = image.At(x, y);
      const bool near = !image.IsKey(x, y) && p[0] >= 190 && p[2] >= 190 && p[1] <= 90;
      if (near && firstX < 0) firstX = x, firstY = y;
      return near;
    });
    EXPECT_EQ(nearMagenta, 0) << file << ", first at " << firstX << "," << firstY;
  }
}

// Drawing them again draws no Czech word smaller than its place, so the Czech pictures stay as they
// were drawn before translations could shrink a word.
TEST_F(PicturesTest, TheBmpFilesHoldThePaintedPixelsNoCzechWordIsShrunkAndTheLogoHalvesJoin) {
  const int shrunk = pictures::TextsShrunk();
  for (const pictures::TSheet& sheet : pictures::DrawAllSheets()) {
    const TImage& image = Images[sheet.File()];
    ASSERT_EQ(image.Width, sheet.Width()) << sheet.File();
    ASSERT_EQ(image.Height, sheet.Height()) << sheet.File();
    const int differing = CountIf({0, 0, sheet.Width(), sheet.Height()}, [&](int x, int y) {
      const pictures::TRgb want = sheet.Pixel(x, y);
      const uint8_t* got = image.At(x, y);
      return got[0] != want.R || got[1] != want.G || got[2] != want.B;
    });
    EXPECT_EQ(differing, 0) << sheet.File();
  }
  EXPECT_EQ(pictures::TextsShrunk(), shrunk);
  // The intro lets the upper logo halves meet with a few source columns hidden under the
  // right half (2 while they slide in, 4 while they sink): the picture must not jump there.
  const TImage& logo = Images[sprites::logo::File];
  ASSERT_EQ(logo.Width, sprites::logo::Width);
  const int seam = sprites::logo::UpperRight.Left;
  for (int hidden : {2, 4}) {
    double step = 0;
    for (int y = 0; y < sprites::logo::UpperLeft.Bottom; ++y) {
      const uint8_t* left = logo.At(seam - hidden - 1, y);
      const uint8_t* right = logo.At(seam, y);
      for (int c = 0; c < 3; ++c) step += std::abs(left[c] - right[c]);
    }
    EXPECT_LT(step / (sprites::logo::UpperLeft.Bottom * 3), 4.0) << hidden << " columns hidden";
  }
}

// Two runs write the same bytes. The icons have their sizes (the web page's those its manifest
// names); the maskable one is opaque to its corners (a system cuts it to its own shape) and the
// emblem keeps within the safe middle circle: on a ring just outside it is only the background.
// The installer's pictures are 24-bit bitmaps (what its pages take) at the sizes the pages show,
// painted to every pixel (no colour key) and not a flat fill.
TEST_F(PicturesTest, TwoRunsWriteTheSameBytesAndTheIconsAndInstallerPicturesTheirSizes) {
  std::vector<std::string> files{"kelvora.png", "installer-welcome.bmp", "installer-header.bmp"};
  for (const auto& bitmap : sprites::Bitmaps) files.emplace_back(bitmap.File);
  for (const std::string& file : files) {
    const std::vector<char> a = ReadBytes(Dir / "a" / file);
    EXPECT_FALSE(a.empty()) << file;
    EXPECT_TRUE(a == ReadBytes(Dir / "b" / file)) << file;
  }
  SquarePng("kelvora.png", 256);
  for (const int size : pictures::WebIconSizes)
    SquarePng("kelvora-" + std::to_string(size) + ".png", size);
  const int size = pictures::MaskableIconSize;
  const auto icon = SquarePng("kelvora-maskable-" + std::to_string(size) + ".png", size);
  ASSERT_EQ(cairo_image_surface_get_width(icon.get()), size);
  cairo_surface_flush(icon.get());
  const unsigned char* data = cairo_image_surface_get_data(icon.get());
  const int stride = cairo_image_surface_get_stride(icon.get());
  const auto pixel = [&](int x, int y) {
    uint32_t value;
    std::memcpy(&value, data + y * stride + x * 4, 4);
    return value;
  };
  for (const auto& [x, y] : {std::pair{0, 0}, {size - 1, 0}, {0, size - 1}, {size - 1, size - 1}})
    EXPECT_EQ(pixel(x, y) >> 24, 255u) << x << "," << y;
  // The background is a vertical gradient: each point of the ring has the colour of the middle
  // column's pixel of its row, well clear of the emblem.
  for (int degree = 0; degree < 360; degree += 5) {
    const double angle = degree * 3.14159265358979 / 180;
    const int x = int(size / 2 + 0.41 * size * std::cos(angle));
    const int y = int(size / 2 + 0.41 * size * std::sin(angle));
    EXPECT_EQ(pixel(x, y), pixel(2, y)) << degree;
  }
  const std::pair<const char*, const int*> pictures[] = {
      {"installer-welcome.bmp", pictures::InstallerWelcomeSize},
      {"installer-header.bmp", pictures::InstallerHeaderSize}};
  for (const auto& [file, size] : pictures) {
    const std::vector<char> bytes = ReadBytes(Dir / "a" / file);
    ASSERT_GT(bytes.size(), 54u) << file;
    EXPECT_EQ(bytes[28], 24) << file;
    const TImage image = LoadWithSdl(Dir / "a" / file);
    ASSERT_EQ(image.Width, size[0]) << file;
    ASSERT_EQ(image.Height, size[1]) << file;
    std::set<uint32_t> colours;
    const int keyed = CountIf({0, 0, image.Width, image.Height}, [&](int x, int y) {
      const uint8_t* p = image.At(x, y);
      colours.insert(p[0] << 16 | p[1] << 8 | p[2]);
      return image.IsKey(x, y);
    });
    EXPECT_EQ(keyed, 0) << file;
    EXPECT_GT(colours.size(), 200u) << file;
  }
}

// Anti-aliased edges become hard colour-key edges: faint coverage turns into the key, the
// rest is blended over the colour the sprite will be seen against, or keeps its own colour.
TEST(FlattenTest, EdgesAreBlendedOverTheBackdropOrKeyed) {
  using pictures::TFlatten;
  const pictures::TRgb grass{100, 160, 60};
  const struct {
    const char* Name;
    TFlatten How;
    double Alpha;
    pictures::TRgb Want;
  } cases[] = {
      {"half blends over the backdrop", TFlatten::Over(grass), 0.5, {150, 100, 40}},
      {"faint becomes the key", TFlatten::Over(grass), 0.3, pictures::Magenta},
      {"unmixed keeps its colour", TFlatten::Unmixed(), 0.6, {200, 40, 20}},
      {"unmixed faint becomes the key", TFlatten::Unmixed(), 0.4, pictures::Magenta},
      {"opaque picture never keys (dither 0)", TFlatten::Opaque(grass), 0.1, {110, 148, 56}},
  };
  for (const auto& c : cases) {
    pictures::TSheet sheet("test.bmp", 1, 1);
    sheet.Paint({0, 0, 1, 1}, c.How, [&](cairo_t* cr) {
      cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
      cairo_set_source_rgba(cr, 200 / 255.0, 40 / 255.0, 20 / 255.0, c.Alpha);
      cairo_paint(cr);
    });
    const pictures::TRgb got = sheet.Pixel(0, 0);
    EXPECT_NEAR(got.R, c.Want.R, 2) << c.Name;
    EXPECT_NEAR(got.G, c.Want.G, 2) << c.Name;
    EXPECT_NEAR(got.B, c.Want.B, 2) << c.Name;
  }
}

// A compiled catalogue (the .mo form msgfmt writes) holding one Czech text and its translation:
// the header, the tables of the text and of the translation (length, offset), then both texts.
std::string Mo(const std::string& czech, const std::string& translation) {
  const auto word = [](size_t value) {
    std::string bytes;
    for (int k = 0; k < 4; ++k) bytes += static_cast<char>(value >> (8 * k) & 0xFF);
    return bytes;
  };
  return word(0x950412de) + word(0) + word(1) + word(28) + word(36) + word(0) + word(0) +
         word(czech.size()) + word(44) + word(translation.size()) + word(45 + czech.size()) +
         czech + '\0' + translation + '\0';
}

// Draws the pictures with one word translated while it lives.
struct TWords {
  TWords(const std::string& czech, const std::string& translation) {
    TCatalogue catalogue;
    EXPECT_TRUE(catalogue.Read(Mo(czech, translation)));
    pictures::UseWords(std::move(catalogue));
  }
  ~TWords() { pictures::UseWords(TCatalogue()); }
};

int Differing(const pictures::TSheet& a, const pictures::TSheet& b, TRect r) {
  return CountIf(r, [&](int x, int y) { return !(a.Pixel(x, y) == b.Pixel(x, y)); });
}

// A word wider than its place is drawn smaller, with its outline and shadow in proportion, just
// small enough to fit; one that fits keeps its size; one that would have to go below the smallest
// size allowed stops the picture.
TEST(WordsTest, AWordTooWideShrinksToFitAndOneThatCannotFitFails) {
  const pictures::TCairoSurface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 8));
  const pictures::TCairo cr(cairo_create(surface.get()));
  pictures::TTextStyle style{.Size = 30, .StrokeWidth = 4, .ShadowOffset = 2};
  const std::string word = "Gartengeräte";
  const double wide = pictures::InkWidth(cr.get(), word, style);
  ASSERT_GT(wide, 100);
  const pictures::TTextStyle same = pictures::FitWidth(cr.get(), word, style, wide);
  EXPECT_EQ(same.Size, 30);
  EXPECT_EQ(same.StrokeWidth, 4);
  const pictures::TTextStyle fitted = pictures::FitWidth(cr.get(), word, style, wide * 0.8);
  EXPECT_LT(fitted.Size, 30);
  EXPECT_GE(fitted.Size, 30 * 0.8 - 1.5);
  EXPECT_LE(pictures::InkWidth(cr.get(), word, fitted), wide * 0.8);
  // A quarter pixel larger would not have fitted.
  const double up = fitted.Size + 0.25;
  const pictures::TTextStyle larger{
      .Size = up, .StrokeWidth = 4 * up / 30, .ShadowOffset = 2 * up / 30};
  EXPECT_GT(pictures::InkWidth(cr.get(), word, larger), wide * 0.8);
  EXPECT_DOUBLE_EQ(fitted.StrokeWidth, 4 * fitted.Size / 30);
  EXPECT_DOUBLE_EQ(fitted.ShadowOffset, 2 * fitted.Size / 30);
  // Not below six tenths of its size, nor below nine pixels.
  EXPECT_THROW(pictures::FitWidth(cr.get(), word, style, wide * 0.5), pictures::TTextDoesNotFit);
  style.Size = 12;
  EXPECT_THROW(
      pictures::FitWidth(cr.get(), word, style, pictures::InkWidth(cr.get(), word, style) * 0.7),
      pictures::TTextDoesNotFit);
  EXPECT_THROW(pictures::Text(cr.get(), word, 0, 0, style, pictures::TAlign::Centre, 10),
               pictures::TTextDoesNotFit);
}

// The pictures are drawn with the words of the catalogue in use: a translated word changes its
// picture where it is drawn and nowhere else; a translation too long for the tiny close button
// stops the drawing rather than spill over the button's edge.
TEST(WordsTest, APictureIsDrawnInTheCataloguesLanguageAndAWordThatCannotFitStopsIt) {
  const pictures::TSheet czech = pictures::DrawLevel();
  {
    TWords words("Zavřít", "Zamknij");
    EXPECT_EQ(pictures::Words("Zavřít"), "Zamknij");
    EXPECT_EQ(pictures::Words("Sklad"), "Sklad");
    const pictures::TSheet polish = pictures::DrawLevel();
    EXPECT_GT(Differing(czech, polish, sprites::level::CloseNormal), 20);
    EXPECT_GT(Differing(czech, polish, sprites::level::CloseHovered), 20);
    EXPECT_EQ(Differing(czech, polish, sprites::level::Panel), 0);
  }
  {
    TWords words("Zavřít", "Schließen bitte");
    EXPECT_THROW(pictures::DrawLevel(), pictures::TTextDoesNotFit);
  }
  EXPECT_EQ(Differing(czech, pictures::DrawLevel(), {0, 0, czech.Width(), czech.Height()}), 0);
}

// The sheets drawn for each language are exactly those that ask for words, and the build packs
// exactly those into each language's archive of pictures.
TEST(WordsTest, TheWordedSheetsAreThoseWithWordsAndThoseTheBuildPacks) {
  std::set<std::string> asking;
  for (pictures::TSheet (*draw)() :
       {pictures::DrawLogo, pictures::DrawSplash, pictures::DrawCursor, pictures::DrawPlants,
        pictures::DrawClouds, pictures::DrawMain, pictures::DrawMenu, pictures::DrawField,
        pictures::DrawWater, pictures::DrawOrders, pictures::DrawSheds, pictures::DrawSymbols,
        pictures::DrawLevel}) {
    const int before = pictures::WordsAsked();
    const pictures::TSheet sheet = draw();
    if (pictures::WordsAsked() > before) asking.insert(sheet.File());
  }
  std::set<std::string> worded;
  for (const pictures::TSheet& sheet : pictures::DrawWordedSheets()) worded.insert(sheet.File());
  EXPECT_EQ(worded, asking);
  std::set<std::string> packed;
  std::istringstream files(KELVORA_WORDED_PICTURE_FILES);
  for (std::string file; files >> file;) packed.insert(file);
  EXPECT_EQ(packed, asking);
}

// A sheet of `width` × 20 pixels, magenta but where `marks` (x, y) are red, as a bitmap file.
std::string MarkedSheet(const std::vector<std::pair<int, int>>& marks, int width = 300) {
  pictures::TSheet sheet("marks.bmp", width, 20);
  for (const auto& [x, y] : marks) {
    sheet.Paint({x, y, x + 1, y + 1}, pictures::TFlatten::Opaque(), [](cairo_t* cr) {
      cairo_set_source_rgb(cr, 1, 0, 0);
      cairo_paint(cr);
    });
  }
  const std::vector<uint8_t> bmp = sheet.ToBmp();
  return {bmp.begin(), bmp.end()};
}

// The rectangles a patch lists (gfx/BitmapPatch.h): each one's left and top, and the width and
// height of its bitmap.
std::vector<TRect> PatchRectangles(const std::string& patch) {
  const auto le32 = [&patch](size_t at) -> int32_t {
    if (patch.size() < at + 4) return 0;
    uint32_t value = 0;
    std::memcpy(&value, patch.data() + at, 4);
    return static_cast<int32_t>(value);
  };
  std::vector<TRect> rectangles;
  size_t at = 20;
  for (int32_t i = 0; i < le32(16) && at < patch.size(); ++i) {
    const int32_t left = le32(at), top = le32(at + 4);
    rectangles.push_back({left, top, left + le32(at + 12 + 18), top + le32(at + 12 + 22)});
    at += 12 + static_cast<size_t>(le32(at + 8));
  }
  return rectangles;
}

// A language's patch of a sheet holds the rectangles around its changes: marks in touching cells
// make one, joined with one 30 pixels away that costs little more; a far one makes another. The
// game's reader gets the language's sheet back from it.
TEST(PatchTest, APatchHoldsTheRectanglesAroundTheChangesOnly) {
  const std::string czech = MarkedSheet({{3, 4}});
  const std::string language = MarkedSheet({{3, 4}, {5, 5}, {9, 11}, {40, 6}, {290, 18}});
  std::string patch, patched, error;
  ASSERT_TRUE(MakeBitmapPatch(czech, language, patch, error)) << error;
  EXPECT_EQ(PatchRectangles(patch), (std::vector<TRect>{{5, 5, 41, 12}, {290, 18, 291, 19}}));
  ASSERT_EQ(ApplyBitmapPatch(czech, patch, patched), TPatchResult::Applied);
  EXPECT_TRUE(patched == language);
  ASSERT_TRUE(MakeBitmapPatch(czech, czech, patch, error)) << error;
  EXPECT_TRUE(PatchRectangles(patch).empty());
  EXPECT_FALSE(MakeBitmapPatch(czech, MarkedSheet({}, 299), patch, error));
}

// Indices come from saved games and level files: out of range they must give an empty
// rectangle (which draws nothing), never a read outside the tables.
TEST(SpriteRectsTest, IndicesOutOfRangeGiveEmptyRectangles) {
  for (const TRect& r :
       {sprites::plants::Plant(4, 0, 0), sprites::plants::Plant(-1, 0, 0),
        sprites::main_sheet::PlotMenuButton(0, false),
        sprites::main_sheet::PlotMenuButton(11, true), sprites::menu::MainButton(5, false)})
    EXPECT_EQ(r, TRect{});
  // In range they are the cells of the sheet: crop 2 ("Mrkev"), stage 3, frame 1.
  EXPECT_EQ(sprites::plants::Plant(2, 3, 1), (TRect{201, 105, 241, 140}));
}

}  // namespace
