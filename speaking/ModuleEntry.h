#pragma once

#include "SoundOutput.h"

#include <memory>

using SoundMaker = std::unique_ptr<SoundOutput> (*)();

// What the module and the program agree on: its file and what it exports.
namespace ModuleEntry {
inline constexpr char fileName[] = "decalumo-speaking.so";
inline constexpr char synthesis[] = "decalumoMakeSynthesis";
inline constexpr char sound[] = "decalumoMakeSound";
}
