#include "app/Main.h"
#include "game/DataFiles.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <string>

#include "archive/Archive.h"
#include "base/Translation.h"
#include "game/Language.h"
#include "game/WordedBitmaps.h"
#include "gfx/SpriteRects.h"
#include "gfx/Text.h"
#include "platform/Application.h"

using platform::Application;

bool Running = false;
bool QuitRequested = false;
bool DisplayReady = false;
bool IntroPending = false;
bool FrameShown = false;
bool IntroNoSkip = false;
bool WindowCloseRequested = false;
TForm1* Form1 = nullptr;
int32_t MouseX = 0;
int32_t MouseY = 0;

namespace {
// The display could not be set up: the run ends at once, and the program's status says so.
bool DisplayFailed = false;
// The window's settings could not be written at the end of the run: the player is told with the
// volumes, at the program's end.
bool WindowSettingsFailed = false;
}  // namespace

// Unit initialisation: the game object, which touches no file. The font table and the settings
// come at the program entry.
TGame Game;

TSurface* MainSurface = nullptr;
TSurface* MenuSurface = nullptr;
TSurface* FieldSurface = nullptr;
TSurface* PlantsSurface = nullptr;
TSurface* CloudsSurface = nullptr;
TSurface* WaterSurface = nullptr;
TSurface* OrdersSurface = nullptr;
TSurface* ShedsSurface = nullptr;
TSurface* SymbolsSurface = nullptr;
TSurface* LogoSurface = nullptr;
TSurface* LevelSurface = nullptr;
TSurface* SplashSurface = nullptr;

namespace {
constexpr uint32_t kMagenta = 0xFF00FF;
constexpr uint32_t kSplashMs = 3000;
}  // namespace

namespace {
// The files a run keeps while it lasts: the level and order tables and the exit splash.
void DeleteRunFiles() {
  DeleteGameFile(sprites::splash::File);
  DeleteGameFile(data_files::Levels);
  DeleteGameFile(data_files::Orders);
}
}  // namespace

TForm1::TForm1(void*) {
  platform::Current().CreateMainWindow(this);
  Running = true;
  IntroPending = true;
  FormCreate();
  if (!DisplayFailed) Game.LoadSounds();  // without a display nothing will play them
}

TForm1::~TForm1() = default;

void TForm1::FormCreate() {
  DisplayReady = true;
  LoadWindowSettings();
  if (!Game.InitDisplay(this, 1024, 768, 16)) {
    // Without a display there is nothing to run: say so and end in order.
    Application.MessageBox(Tr("Nelze spustit zobrazení 1024 × 768 bodů v 16 bitech."),
                           Application.Title());
    Running = false;
    DisplayFailed = true;
    Close();
    return;
  }
  LoadBitmap(&LogoSurface);
  platform::Current().PostUserMessage();
}

void TForm1::RunLoop() {
  runLoopActive_ = true;
  Archive.ExtractMember("Level.dat", data_files::Levels, data_files::GameData);
  Archive.ExtractMember("Objednav.dat", data_files::Orders, data_files::GameData);
  do {
    Frame();
    Application.ProcessMessages();
    if (QuitRequested || WindowCloseRequested) Running = false;
  } while (Running);
  if (!WindowCloseRequested) ShowExitSplash();
  WindowSettingsFailed = !SaveWindowSettings();
  if (QuitRequested || WindowCloseRequested) Close();
  DeleteRunFiles();
  runLoopActive_ = false;
}

void TForm1::ShowExitSplash() {
  // Its file stays until the run's files are deleted, after the window has closed.
  ExtractBitmap(sprites::splash::File);
  Game.LoadSurface(sprites::splash::File, &SplashSurface, kMagenta);
  Game.Draw(&SplashSurface, 0, 0, TRect{0, 0, 1024, 768}, 0);
  Game.Flip(nullptr);
  platform::Current().Sleep(kSplashMs);
}

void TForm1::Close() { platform::Current().CloseMainWindow(); }

void TForm1::OnCloseRequest() {
  WindowCloseRequested = true;
  IntroPending = false;  // an intro still in its first phases ends at once
  if (!runLoopActive_) Close();
}

namespace {
// An error that no part of the game handled ends the run: the run's files go, the player is told,
// and the status says so.
int EndWithError(const std::string& text) {
  DeleteRunFiles();
  Application.MessageBox(text, Application.Title());
  return 1;
}

// What keeps the game from starting at all, found before its window opens: an archive cut short
// (a broken copy or download) and a system without any font to write with. Each is a line of the
// player's message; none, an empty text. (A missing archive is told by the archive reader as the
// game reads from it.)
std::string StartupProblems() {
  std::string problems;
  for (const char* archive : {data_files::Graphics, data_files::Sounds, data_files::GameData}) {
    const std::string path = ReadPath(archive);
    if (CheckArchive(path) == TArchiveState::Damaged) {
      problems += FillForm(Tr("Soubor „{file}“ je poškozený."), {{"{file}", path}}) + "\n";
    }
  }
  if (!AnyFontUsable()) problems += Tr("Hra nenašla žádné písmo, kterým by psala.") + "\n";
  return problems;
}
}  // namespace

bool TakeLanguageOption(std::vector<std::string>& args, std::string& language) {
  language.clear();
  const auto option = std::find(args.begin(), args.end(), "--language");
  if (option == args.end()) return true;
  if (option + 1 == args.end()) return false;
  language = *(option + 1);
  args.erase(option, option + 2);
  return true;
}

// The run, in this order: the language, the font table, what keeps the game from starting, the
// volumes from the settings file, the application and its form with the run loop; at the end
// the volumes are written back and the sounds released, before the platform under the program
// goes.
int KelvoraMain(const std::string& language, const std::vector<std::string>& system) {
  if (!SpeakStartLanguage(language, system)) {
    platform::Current().ShowMessageBox("Hra nemá jazyk „" + language + "“, mluví česky.",
                                       "Kelvora");
  }
  CreateFonts();
  if (const std::string problems = StartupProblems(); !problems.empty()) {
    Application.MessageBox(
        // TRANSLATORS: the message box's last line, below "Hru nelze spustit." and the problems:
        // "ji" is the game, named in that first line.
        Tr("Hru nelze spustit.") + "\n" + problems + Tr("Nainstalujte ji prosím znovu."),
        "Kelvora");
    return 1;
  }
  Game.ReadVolumes();
  int status = 0;
  try {
    Application.Initialize();
    Application.SetTitle("Kelvora");
    Application.CreateForm(Form1);
    Application.Run();
    Form1 = nullptr;
    status = DisplayFailed ? 1 : 0;
  } catch (const std::exception& e) {
    status = EndWithError(e.what());
  } catch (...) {
    status = EndWithError(Tr("Nastala neočekávaná chyba."));
  }
  // Settings that could not be kept are told, as the player's last message of the run.
  const bool volumesWritten = Game.WriteVolumes();
  if (!volumesWritten || WindowSettingsFailed) {
    Application.MessageBox(Tr(SettingsNotSavedMessage), Application.Title());
  }
  Game.ReleaseSounds();
  return status;
}
