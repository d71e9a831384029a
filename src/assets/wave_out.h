// The waveOut functions of the system's winmm.dll, looked up at run time so
// that winmm.dll is not imported (see common/system_library.h).
#pragma once

#include <windows.h>
#include <mmsystem.h>

namespace vornik {

struct WaveOutFunctions {
  decltype(&waveOutOpen) open = nullptr;
  decltype(&waveOutClose) close = nullptr;
  decltype(&waveOutPrepareHeader) prepareHeader = nullptr;
  decltype(&waveOutUnprepareHeader) unprepareHeader = nullptr;
  decltype(&waveOutWrite) write = nullptr;
  decltype(&waveOutPause) pause = nullptr;
  decltype(&waveOutReset) reset = nullptr;
};

// Loaded on first use and kept to the end of the process: a playback's worker
// may be inside them until StopAllClips has waited it out, and the program
// ends with ExitProcess. Null when winmm.dll or one of them is missing.
const WaveOutFunctions* SystemWaveOut();

}  // namespace vornik
