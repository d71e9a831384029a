// The three sounds, compiled in from the committed files in clips/ (see
// tools/make_clips.py for how they were made).
#pragma once

#include <cstddef>

namespace vornik::assets {

extern const unsigned char StartupClip[];  // clips/startup.wav
extern const std::size_t StartupClipSize;
extern const unsigned char SuccessClip[];  // clips/success.wav
extern const std::size_t SuccessClipSize;
extern const unsigned char ExitClip[];  // clips/exit.wav
extern const std::size_t ExitClipSize;

}  // namespace vornik::assets
