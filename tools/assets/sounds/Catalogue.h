// Every file the game's sound archive holds, and how each one is made.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Composer.h"
#include "Render.h"

namespace sounds {

enum class TFileKind { Effect, Mp3Music, Module };

// A piece of music: its style for the composer and its band.
struct TPieceDefinition {
  std::string FileName;
  TFileKind Kind = TFileKind::Mp3Music;
  TStyle Style;
  TOrchestra Orchestra;
  int EchoSteps = 0;  // modules only
};

std::vector<TPieceDefinition> MusicDefinitions();

// The length of the file made from a piece, in seconds: the score, and for songs the ending's
// tail after it.
double IntendedSeconds(const TPieceDefinition& piece);

struct TGeneratedFile {
  std::string Name;
  TFileKind Kind;
  std::function<std::vector<uint8_t>()> Make;
};

// All files in a fixed order: the four effects, the intro and menu tunes, the songs.
std::vector<TGeneratedFile> AllFiles();

}  // namespace sounds
