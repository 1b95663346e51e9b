#pragma once

#include "SoundOutput.h"
#include "Synthesis.h"

#include <memory>

// The voice and the sound server's client, with the libraries they bring,
// come from a module loaded the first time either is wanted: loading them
// with the program would keep the pupil waiting for the first box. Any
// thread may ask. Without the module, both are missing and the teacher is
// told why once.
namespace SpeakingModule {
std::unique_ptr<Synthesis> synthesis();
std::unique_ptr<SoundOutput> sound();
}
