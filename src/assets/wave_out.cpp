#include "assets/wave_out.h"

#include <optional>

#include "common/system_library.h"

namespace vornik {

namespace {

std::optional<WaveOutFunctions> LoadWaveOut() {
  // Never freed: see the header.
  const HMODULE winmm = LoadSystemLibrary("winmm.dll").release();
  if (!winmm) return std::nullopt;
  using F = WaveOutFunctions;
  F functions;
  functions.open = ExportedFunction<decltype(F::open)>(winmm, "waveOutOpen");
  functions.close = ExportedFunction<decltype(F::close)>(winmm, "waveOutClose");
  functions.prepareHeader =
      ExportedFunction<decltype(F::prepareHeader)>(winmm, "waveOutPrepareHeader");
  functions.unprepareHeader =
      ExportedFunction<decltype(F::unprepareHeader)>(winmm, "waveOutUnprepareHeader");
  functions.write = ExportedFunction<decltype(F::write)>(winmm, "waveOutWrite");
  functions.pause = ExportedFunction<decltype(F::pause)>(winmm, "waveOutPause");
  functions.reset = ExportedFunction<decltype(F::reset)>(winmm, "waveOutReset");
  if (!functions.open || !functions.close || !functions.prepareHeader ||
      !functions.unprepareHeader || !functions.write || !functions.pause || !functions.reset) {
    return std::nullopt;
  }
  return functions;
}

}  // namespace

const WaveOutFunctions* SystemWaveOut() {
  static const std::optional<WaveOutFunctions> functions = LoadWaveOut();
  return functions ? &*functions : nullptr;
}

}  // namespace vornik
