// Playing the clips on the default output device. Every started clip plays on
// a worker thread of its own, so clips overlap and the GUI thread never waits
// for audio, except once, at the end of the process.
#pragma once

#include <cstddef>

namespace vornik {

// Starts playing a RIFF/WAVE image and returns at once: 1 when the bytes are a
// usable clip and its worker was started, 0 otherwise. The samples are copied,
// so the caller's bytes may go away. A device that cannot be opened ends the
// playback silently.
int PlayClip(const unsigned char* bytes, std::size_t length, bool loop);

// Cuts off every playback still running and waits, without a time-out, until
// each has closed its device and its thread has ended.
void StopAllClips();

}  // namespace vornik
