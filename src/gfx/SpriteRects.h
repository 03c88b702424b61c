// Every source rectangle the game draws, grouped by the bitmap it is cut from.
//
// The drawing code takes its rectangles from here, and the picture generator
// (tools/assets/pictures) paints each sprite into exactly these rectangles, so the pictures
// and the code that cuts them cannot drift apart. Rectangles are TRect: left and top
// inclusive, right and bottom exclusive. Positions named "at" are the screen pixels
// (1024 x 768) where the sprite's top-left corner is drawn.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "gfx/Rect.h"

namespace sprites {

// A screen position where a sprite's top-left corner lands.
struct TSpot {
  int32_t X = 0;
  int32_t Y = 0;
};

// One rectangle the game draws: for the picture tests and the generator.
struct TSpriteInfo {
  const char* Bitmap;  // member name in Data/Grafika.dat
  TRect Rect;
  bool ColourKeyed;  // drawn with the magenta colour key (false: copied opaque)
};

// The full 1024 x 768 screen; every full-screen picture is cut with it.
inline constexpr TRect FullScreen{0, 0, 1024, 768};

// "Loga.bmp" (LogoSurface): the intro's logo pieces, all drawn opaque over a black screen.
namespace logo {
inline constexpr const char* File = "Loga.bmp";
inline constexpr int32_t Width = 583;
inline constexpr int32_t Height = 550;
// Upper logo halves: slide in at y 234 from x 0 and x 873 until they stand at 363 and 510,
// then sink joined at 364 and 509 (so source columns 145..148 hide under the right half).
inline constexpr TRect UpperLeft{0, 0, 149, 300};
inline constexpr TRect UpperRight{149, 0, 297, 300};
// Lower logo halves: slide in at y 316, then rise joined at 321 and 512 (a seamless join).
inline constexpr TRect LowerLeft{0, 300, 191, 436};
inline constexpr TRect LowerRight{191, 300, 382, 436};
// The title, shown alone between fades at (220, 316).
inline constexpr TRect Title{0, 436, 583, 550};
// The small line shown last, at (730, 720).
inline constexpr TRect SmallLine{308, 0, 583, 42};
inline constexpr TSpot SmallLineAt{730, 720};
}  // namespace logo

// "Splash.bmp" (SplashSurface): the exit picture, drawn opaque over the whole screen.
namespace splash {
inline constexpr const char* File = "Splash.bmp";
inline constexpr int32_t Width = 1024;
inline constexpr int32_t Height = 768;
inline constexpr TRect Picture = FullScreen;
}  // namespace splash

// "Mys.bmp" (CursorSurface): the mouse pointer, colour-keyed; hot spot at its top-left pixel.
namespace cursor {
inline constexpr const char* File = "Mys.bmp";
inline constexpr int32_t Width = 32;
inline constexpr int32_t Height = 32;
inline constexpr TRect Pointer{0, 0, 32, 32};
}  // namespace cursor

// "Rostliny.bmp" (PlantsSurface): the plants, one 40 x 35 cell per crop, stage and frame,
// drawn colour-keyed on the plot's cell over its bed.
namespace plants {
inline constexpr const char* File = "Rostliny.bmp";
inline constexpr int32_t Width = 603;
inline constexpr int32_t Height = 245;
inline constexpr int32_t CellWidth = 40;
inline constexpr int32_t CellHeight = 35;

// Where one crop's sprites lie: Frames columns from SheetX, one row per stage from SheetY,
// Rows = every stage up to the withered-when-ripe row.
struct TPlantSheet {
  int32_t SheetX;
  int32_t SheetY;
  int32_t Frames;
  int32_t Rows;
  int32_t RipeStage;  // the rows after it hold the two withered pictures
};

// By crop index: 0 cauliflower, 1 kohlrabi, 2 carrot, 3 garlic.
inline constexpr std::array<TPlantSheet, 4> Sheets{{
    {0, 0, 4, 7, 4},
    {322, 0, 3, 6, 3},
    {161, 0, 4, 6, 3},
    {443, 0, 4, 6, 3},
}};

// The sprite of crop `crop` in growth stage `stage` (a row) and animation frame `frame`.
// A crop index outside 0..3 (a damaged saved game) gives an empty rectangle, which draws
// nothing; a stage or frame beyond the sheet gives a rectangle the blitter refuses.
constexpr TRect Plant(int32_t crop, int32_t stage, int32_t frame) {
  if (crop < 0 || crop >= static_cast<int32_t>(Sheets.size())) return {};
  const TPlantSheet& s = Sheets[static_cast<std::size_t>(crop)];
  const int32_t left = s.SheetX + CellWidth * frame;
  const int32_t top = s.SheetY + CellHeight * stage;
  return {left, top, left + CellWidth, top + CellHeight};
}
}  // namespace plants

// "Mraky.bmp" (CloudsSurface): two cloud strips; DrawClouds cuts a moving window out of the
// strip of CloudRow and draws it colour-keyed in the band x 13..1012, y 15..54.
namespace clouds {
inline constexpr const char* File = "Mraky.bmp";
inline constexpr int32_t Width = 2998;
inline constexpr int32_t Height = 80;
inline constexpr int32_t StripHeight = 40;
constexpr TRect Strip(int32_t row) {
  return {0, StripHeight * row, Width, StripHeight * (row + 1)};
}
}  // namespace clouds

// "Main.bmp" (MainSurface): the in-game background, the main panel and the plot actions menu.
namespace main_sheet {
inline constexpr const char* File = "Main.bmp";
inline constexpr int32_t Width = 1402;
inline constexpr int32_t Height = 768;
// The in-game background, opaque at (0, 0); its field area x 33..992, y 280..734 shows the
// unbought ground with the 40 x 35 plot grid.
inline constexpr TRect Background = FullScreen;
// The main panel, opaque at (808, 20); money and date are written on it at (830, 80) and
// (830, 100), the progress and order icons at (980, 90) and (977, 116).
inline constexpr TRect Panel{1024, 0, 1224, 120};
inline constexpr TSpot PanelAt{808, 20};

// The four main panel buttons, colour-keyed at (left, 35) of their hit rectangles.
enum class TPanelButton { Options, Save, Load, MainMenu };
inline constexpr std::array<TRect, 4> PanelButtonHit{
    {{823, 35, 858, 65}, {865, 35, 900, 65}, {907, 35, 942, 65}, {949, 35, 984, 65}}};
constexpr TRect PanelButton(TPanelButton button, bool hovered) {
  const int32_t left = 1024 + 35 * static_cast<int32_t>(button);
  const int32_t top = hovered ? 150 : 120;
  return {left, top, left + 35, top + 30};
}

// The plot actions menu background, colour-keyed at (16, 16).
inline constexpr TRect PlotMenu{1024, 180, 1402, 378};
inline constexpr TSpot PlotMenuAt{16, 16};
inline constexpr int32_t PlotMenuButtonCount = 10;

// Plot menu buttons by id 1..10: 1 buy a plot, 2 water, 3 harvest, 4 carrot, 5 cauliflower,
// 6 kohlrabi, 7 garlic, 8 fertilise, 9 well, 10 pipe. Each is drawn colour-keyed at the
// left and top of its 48 x 48 hit rectangle.
inline constexpr std::array<TRect, 10> PlotMenuButtonHit{{
    {40, 40, 88, 88},
    {88, 40, 136, 88},
    {136, 40, 184, 88},
    {40, 90, 88, 138},
    {136, 90, 184, 138},
    {88, 90, 136, 138},
    {184, 90, 232, 138},
    {184, 40, 232, 88},
    {232, 40, 280, 88},
    {280, 40, 328, 88},
}};
// The normal and hover pictures. The well and pipe pictures are 47 rows tall, their hover
// pictures 48; the hover pictures of the lowest row lie 193 rows below their normal ones.
inline constexpr std::array<TRect, 10> PlotMenuButtonNormal{{
    {1024, 427, 1072, 475},
    {1120, 427, 1168, 475},
    {1072, 427, 1120, 475},
    {1024, 379, 1072, 427},
    {1120, 379, 1168, 427},
    {1072, 379, 1120, 427},
    {1072, 522, 1120, 570},
    {1024, 522, 1072, 570},
    {1072, 475, 1120, 522},
    {1120, 475, 1168, 522},
}};
inline constexpr std::array<TRect, 10> PlotMenuButtonHover{{
    {1024, 619, 1072, 667},
    {1120, 619, 1168, 667},
    {1072, 619, 1120, 667},
    {1024, 571, 1072, 619},
    {1120, 571, 1168, 619},
    {1072, 571, 1120, 619},
    {1072, 715, 1120, 763},
    {1024, 715, 1072, 763},
    {1072, 667, 1120, 715},
    {1120, 667, 1168, 715},
}};
constexpr TRect PlotMenuButton(int32_t id, bool hovered) {
  if (id < 1 || id > PlotMenuButtonCount) return {};
  const auto index = static_cast<std::size_t>(id - 1);
  return hovered ? PlotMenuButtonHover[index] : PlotMenuButtonNormal[index];
}
}  // namespace main_sheet

// "Menu.bmp" (MenuSurface): the full-screen menu background and the menu screens' art.
namespace menu {
inline constexpr const char* File = "Menu.bmp";
inline constexpr int32_t Width = 1415;
inline constexpr int32_t Height = 800;
// Opaque at (0, 0) under every menu screen, the game-over picture and the congratulation;
// calm where the screens write text (x 40..980, y 200..640).
inline constexpr TRect Background = FullScreen;
inline constexpr TRect TextArea{40, 200, 980, 640};

// Main menu buttons 1..4 (new game, load game, options, exit), colour-keyed at the top-left
// of their hit rectangles.
inline constexpr std::array<TRect, 4> MainButtonHit{
    {{341, 220, 688, 291}, {320, 340, 710, 411}, {339, 460, 697, 530}, {370, 580, 655, 643}}};
inline constexpr std::array<TRect, 4> MainButtonHovered{
    {{1024, 0, 1366, 71}, {1024, 71, 1415, 139}, {1024, 140, 1382, 211}, {1024, 212, 1309, 275}}};
inline constexpr std::array<TRect, 4> MainButtonNormal{{{1024, 278, 1366, 347},
                                                        {1024, 349, 1415, 416},
                                                        {1024, 418, 1382, 489},
                                                        {1024, 490, 1309, 553}}};
constexpr TRect MainButton(int32_t number, bool hovered) {
  if (number < 1 || number > 4) return {};
  const std::size_t i = static_cast<std::size_t>(number - 1);
  return hovered ? MainButtonHovered[i] : MainButtonNormal[i];
}

// Options screen, everything colour-keyed.
inline constexpr TRect BackHovered{1024, 555, 1160, 630};  // back button, at (444, 580)
inline constexpr TRect BackNormal{1024, 632, 1160, 707};
inline constexpr TSpot BackAt{444, 580};
inline constexpr TRect EffectsCaption{1024, 768, 1380, 800};  // "Hlasitost efektů" at (142, 250)
inline constexpr TSpot EffectsCaptionAt{142, 250};
inline constexpr TRect MusicCaption{1024, 737, 1380, 767};  // "Hlasitost hudby" at (142, 450)
inline constexpr TSpot MusicCaptionAt{142, 450};
inline constexpr TRect Track{0, 768, 740, 775};  // slider track at (142, 290) and (142, 490)
inline constexpr TSpot EffectsTrackAt{142, 290};
inline constexpr TSpot MusicTrackAt{142, 490};
inline constexpr TRect Knob{0, 777, 12, 800};  // slider knob at (k, 283) and (k, 483)

// The level intro and statistics screens' button ("Pokračovat"), colour-keyed at (431, 650).
inline constexpr TRect LevelButtonNormal{1191, 567, 1353, 627};
inline constexpr TRect LevelButtonHovered{1191, 629, 1353, 687};
inline constexpr TSpot LevelButtonAt{431, 650};
}  // namespace menu

// "Pole.bmp" (FieldSurface): bed pieces and the plot highlight, colour-keyed on a plot's cell.
namespace field {
inline constexpr const char* File = "Pole.bmp";
inline constexpr int32_t Width = 160;
inline constexpr int32_t Height = 35;
inline constexpr TRect BedLeft{0, 0, 40, 35};
inline constexpr TRect BedMiddle{40, 0, 80, 35};
inline constexpr TRect BedRight{80, 0, 120, 35};
inline constexpr TRect Highlight{120, 0, 160, 35};  // over the plot under the mouse
}  // namespace field

// "Voda.bmp" (WaterSurface): pipes, sprinklers and the well, all colour-keyed.
namespace water {
inline constexpr const char* File = "Voda.bmp";
inline constexpr int32_t Width = 200;
inline constexpr int32_t Height = 105;
inline constexpr int32_t SprinklerFrames = 5;
// Sprinkler frame f (0..4) on a plot's cell; frame 0 is also the idle pipe.
constexpr TRect Sprinkler(int32_t frame) { return {40 * frame, 0, 40 * frame + 40, 35}; }
inline constexpr TRect IdlePipe = Sprinkler(0);
inline constexpr TRect Well{0, 35, 79, 105};  // at (35, 190)
inline constexpr TSpot WellAt{35, 190};
}  // namespace water

// "Objednav.bmp" (OrdersSurface): the orders panel and its buttons, colour-keyed.
namespace orders {
inline constexpr const char* File = "Objednav.bmp";
inline constexpr int32_t Width = 300;
inline constexpr int32_t Height = 420;
inline constexpr TRect Panel{0, 0, 300, 400};  // at (362, 186); text from (375, 240)
inline constexpr TSpot PanelAt{362, 186};
inline constexpr TRect OkNormal{0, 400, 70, 420};  // at (472, 546)
inline constexpr TRect OkHovered{114, 400, 184, 420};
inline constexpr TSpot OkAt{472, 546};
inline constexpr TRect CloseNormal{97, 400, 113, 420};  // at (556, 546)
inline constexpr TRect CloseHovered{211, 400, 227, 420};
inline constexpr TSpot CloseAt{556, 546};
}  // namespace orders

// "Kulny.bmp" (ShedsSurface): one 1000 x 210 farmyard scene per shed row (Levl.Kulna), opaque
// at (13, 15). In every row the shed stands at source x 107..276, y 75..164, the screen area
// x 120..289, y 90..179 whose click opens the plot actions menu.
namespace sheds {
inline constexpr const char* File = "Kulny.bmp";
inline constexpr int32_t RowWidth = 1000;
inline constexpr int32_t RowHeight = 210;
inline constexpr int32_t Rows = 5;
inline constexpr int32_t Width = RowWidth;
inline constexpr int32_t Height = RowHeight * Rows;
inline constexpr TSpot At{13, 15};
inline constexpr TRect ShedInRow{107, 75, 277, 165};
constexpr TRect Row(int32_t kulna) {
  return {0, RowHeight * kulna, RowWidth, RowHeight * (kulna + 1)};
}
}  // namespace sheds

// "Symboly.bmp" (SymbolsSurface): side icons, the shed block, the end-of-level pictures.
namespace symbols {
inline constexpr const char* File = "Symboly.bmp";
inline constexpr int32_t Width = 452;
inline constexpr int32_t Height = 313;
inline constexpr TRect OrderIcon{0, 0, 24, 17};  // colour-keyed at (977, 116)
inline constexpr TSpot OrderIconAt{977, 116};
inline constexpr TRect ProgressIcon{0, 18, 17, 41};  // colour-keyed at (980, 90)
inline constexpr TSpot ProgressIconAt{980, 90};
inline constexpr TRect ShedBlock{0, 41, 70, 161};  // opaque at (738, 20)
inline constexpr TSpot ShedBlockAt{738, 20};
// The shed block's 19 x 19 vegetable icons by crop index, colour-keyed over the block.
inline constexpr std::array<TRect, 4> CropIcon{{
    {108, 41, 127, 60},  // cauliflower, at (748, 82)
    {89, 41, 108, 60},   // kohlrabi, at (748, 57)
    {70, 41, 89, 60},    // carrot, at (748, 32)
    {70, 60, 89, 79},    // garlic, at (748, 107)
}};
inline constexpr std::array<TSpot, 4> CropIconAt{{{748, 82}, {748, 57}, {748, 32}, {748, 107}}};
inline constexpr TRect LevelBanner{0, 161, 452, 250};  // level complete, at (286, 339)
inline constexpr TRect GameOver{0, 251, 429, 313};     // out of money, at (286, 339)
inline constexpr TSpot BannerAt{286, 339};
}  // namespace symbols

// "Level.bmp" (LevelSurface): the level progress panel and its close button, colour-keyed.
namespace level {
inline constexpr const char* File = "Level.bmp";
inline constexpr int32_t Width = 150;
inline constexpr int32_t Height = 318;
inline constexpr TRect Panel{0, 0, 150, 300};  // at (437, 234); text from (448, 245)
inline constexpr TSpot PanelAt{437, 234};
inline constexpr TRect CloseNormal{0, 300, 39, 318};  // at (492, 506)
inline constexpr TRect CloseHovered{41, 300, 80, 318};
inline constexpr TSpot CloseAt{492, 506};
}  // namespace level

// Every rectangle the game draws, for the picture tests.
namespace detail {
inline constexpr std::size_t PlantCount = 4 * 7 + 3 * 6 + 4 * 6 + 4 * 6;
inline constexpr std::size_t SpriteCount = 6 + 1 + 1 + PlantCount + 2 + (2 + 8 + 1 + 20) +
                                           (1 + 8 + 8) + 4 + 6 + 5 + sheds::Rows + (2 + 1 + 4 + 2) +
                                           3;
}  // namespace detail

constexpr std::array<TSpriteInfo, detail::SpriteCount> AllSprites() {
  std::array<TSpriteInfo, detail::SpriteCount> all{};
  std::size_t n = 0;
  auto add = [&](const char* bitmap, TRect rect, bool keyed) { all[n++] = {bitmap, rect, keyed}; };

  for (TRect r : {logo::UpperLeft, logo::UpperRight, logo::LowerLeft, logo::LowerRight, logo::Title,
                  logo::SmallLine})
    add(logo::File, r, false);
  add(splash::File, splash::Picture, false);
  add(cursor::File, cursor::Pointer, true);

  for (int32_t crop = 0; crop < 4; ++crop) {
    const plants::TPlantSheet& s = plants::Sheets[static_cast<std::size_t>(crop)];
    for (int32_t stage = 0; stage < s.Rows; ++stage)
      for (int32_t frame = 0; frame < s.Frames; ++frame)
        add(plants::File, plants::Plant(crop, stage, frame), true);
  }
  add(clouds::File, clouds::Strip(0), true);
  add(clouds::File, clouds::Strip(1), true);

  add(main_sheet::File, main_sheet::Background, false);
  add(main_sheet::File, main_sheet::Panel, false);
  for (int32_t b = 0; b < 4; ++b) {
    add(main_sheet::File, main_sheet::PanelButton(static_cast<main_sheet::TPanelButton>(b), false),
        true);
    add(main_sheet::File, main_sheet::PanelButton(static_cast<main_sheet::TPanelButton>(b), true),
        true);
  }
  add(main_sheet::File, main_sheet::PlotMenu, true);
  for (int32_t id = 1; id <= main_sheet::PlotMenuButtonCount; ++id) {
    add(main_sheet::File, main_sheet::PlotMenuButton(id, false), true);
    add(main_sheet::File, main_sheet::PlotMenuButton(id, true), true);
  }

  add(menu::File, menu::Background, false);
  for (int32_t b = 1; b <= 4; ++b) {
    add(menu::File, menu::MainButton(b, false), true);
    add(menu::File, menu::MainButton(b, true), true);
  }
  for (TRect r : {menu::BackNormal, menu::BackHovered, menu::EffectsCaption, menu::MusicCaption,
                  menu::Track, menu::Knob, menu::LevelButtonNormal, menu::LevelButtonHovered})
    add(menu::File, r, true);

  for (TRect r : {field::BedLeft, field::BedMiddle, field::BedRight, field::Highlight})
    add(field::File, r, true);
  for (int32_t f = 0; f < water::SprinklerFrames; ++f) add(water::File, water::Sprinkler(f), true);
  add(water::File, water::Well, true);

  for (TRect r : {orders::Panel, orders::OkNormal, orders::OkHovered, orders::CloseNormal,
                  orders::CloseHovered})
    add(orders::File, r, true);
  for (int32_t k = 0; k < sheds::Rows; ++k) add(sheds::File, sheds::Row(k), false);

  add(symbols::File, symbols::OrderIcon, true);
  add(symbols::File, symbols::ProgressIcon, true);
  add(symbols::File, symbols::ShedBlock, false);
  for (TRect r : symbols::CropIcon) add(symbols::File, r, true);
  add(symbols::File, symbols::LevelBanner, true);
  add(symbols::File, symbols::GameOver, true);

  for (TRect r : {level::Panel, level::CloseNormal, level::CloseHovered}) add(level::File, r, true);
  if (n != all.size()) throw "sprite count out of date";  // refused at compile time
  return all;
}
inline constexpr auto SpriteTable = AllSprites();

// The thirteen bitmaps with the size the generator gives them.
struct TBitmapInfo {
  const char* File;
  int32_t Width;
  int32_t Height;
};
inline constexpr std::array<TBitmapInfo, 13> Bitmaps{{
    {logo::File, logo::Width, logo::Height},
    {splash::File, splash::Width, splash::Height},
    {plants::File, plants::Width, plants::Height},
    {clouds::File, clouds::Width, clouds::Height},
    {main_sheet::File, main_sheet::Width, main_sheet::Height},
    {menu::File, menu::Width, menu::Height},
    {field::File, field::Width, field::Height},
    {cursor::File, cursor::Width, cursor::Height},
    {water::File, water::Width, water::Height},
    {orders::File, orders::Width, orders::Height},
    {sheds::File, sheds::Width, sheds::Height},
    {symbols::File, symbols::Width, symbols::Height},
    {level::File, level::Width, level::Height},
}};

}  // namespace sprites
