#include "assets/playback.h"

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "assets/wave_image.h"
#include "common/owners.h"

namespace vornik {

namespace {

// An open output device.
struct WaveOutTraits {
  using Value = HWAVEOUT;
  static Value Invalid() { return nullptr; }
  static bool IsValid(Value v) { return v != nullptr; }
  static void Close(Value v) { waveOutClose(v); }
};
using UniqueWaveOut = Unique<WaveOutTraits>;

// One started clip, owned by the set of running playbacks until its worker
// removes it.
struct Playback {
  std::vector<unsigned char> format;   // WAVEFORMATEX record
  std::vector<unsigned char> samples;  // the clip's own copy
  bool loop = false;
  UniqueHandle stop;        // manual reset: set by StopAllClips
  UniqueHandle bufferDone;  // auto reset: the device's notices
  UniqueHandle thread;
};

// The running playbacks, shared by PlayClip (adds), each worker (removes
// itself) and StopAllClips (signals all). The lock is never held while waiting.
struct RunningPlaybacks {
  SRWLOCK lock = SRWLOCK_INIT;
  std::vector<std::unique_ptr<Playback>> playbacks;
};

RunningPlaybacks& Running() {
  static RunningPlaybacks running;
  return running;
}

class Locked {
 public:
  explicit Locked(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
  ~Locked() { ReleaseSRWLockExclusive(&lock_); }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;

 private:
  SRWLOCK& lock_;
};

bool StopRequested(const Playback& playback) {
  return WaitForSingleObject(playback.stop.get(), 0) == WAIT_OBJECT_0;
}

// Silence of the clip's own format, played after the samples so that the
// device never runs dry before it is closed: a device that runs dry fills in
// silence of its own, which some drivers get wrong for 8-bit samples.
std::vector<unsigned char> TrailingSilence(const Playback& playback) {
  const auto* format = reinterpret_cast<const WAVEFORMATEX*>(playback.format.data());
  const DWORD align = std::max<DWORD>(format->nBlockAlign, 1);
  const DWORD bytes = std::max<DWORD>(format->nAvgBytesPerSec / 10 / align * align, align);
  return std::vector<unsigned char>(bytes, format->wBitsPerSample == 8 ? 0x80 : 0);
}

// Feeds the samples to the device until they have played (for ever when
// looping) or a stop is requested. When looping, a second header over the same
// samples is queued while the first plays, so the loop has no gap.
void FeedDevice(Playback& playback, HWAVEOUT device) {
  std::vector<unsigned char> silence;
  if (!playback.loop) silence = TrailingSilence(playback);
  std::vector<unsigned char>& second = playback.loop ? playback.samples : silence;

  WAVEHDR headers[2] = {};
  headers[0].lpData = reinterpret_cast<LPSTR>(playback.samples.data());
  headers[0].dwBufferLength = static_cast<DWORD>(playback.samples.size());
  headers[1].lpData = reinterpret_cast<LPSTR>(second.data());
  headers[1].dwBufferLength = static_cast<DWORD>(second.size());
  int queued = 0;
  for (; queued < 2; ++queued) {
    WAVEHDR& header = headers[queued];
    if (waveOutPrepareHeader(device, &header, sizeof header) != MMSYSERR_NOERROR) break;
    if (waveOutWrite(device, &header, sizeof header) != MMSYSERR_NOERROR) {
      waveOutUnprepareHeader(device, &header, sizeof header);
      break;
    }
  }

  const HANDLE events[2] = {playback.stop.get(), playback.bufferDone.get()};
  while (queued > 0) {
    if (playback.loop) {
      for (int i = 0; i < queued; ++i) {
        if ((headers[i].dwFlags & WHDR_DONE) && !StopRequested(playback)) {
          headers[i].dwFlags &= ~WHDR_DONE;
          if (waveOutWrite(device, &headers[i], sizeof headers[i]) != MMSYSERR_NOERROR) {
            headers[i].dwFlags |= WHDR_DONE;  // not queued again: the loop ends
          }
        }
      }
      if ((headers[0].dwFlags & WHDR_DONE) && (headers[queued - 1].dwFlags & WHDR_DONE)) break;
    } else if (headers[0].dwFlags & WHDR_DONE) {
      break;  // the samples have played; the silence after them may go
    }
    if (WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0) {
      waveOutPause(device);  // cut off at once
      break;
    }
  }
  // Every buffer still queued comes back done, so all can be released.
  waveOutReset(device);
  for (int i = 0; i < queued; ++i) waveOutUnprepareHeader(device, &headers[i], sizeof headers[i]);
}

void Play(Playback& playback) {
  HWAVEOUT device = nullptr;
  const auto* format = reinterpret_cast<const WAVEFORMATEX*>(playback.format.data());
  const auto notices = reinterpret_cast<DWORD_PTR>(playback.bufferDone.get());
  if (waveOutOpen(&device, WAVE_MAPPER, format, notices, 0, CALLBACK_EVENT) != MMSYSERR_NOERROR) {
    return;  // no device, or none for this format: nothing is heard
  }
  UniqueWaveOut owner(device);
  if (!StopRequested(playback)) FeedDevice(playback, device);
}

// Takes a playback out of the set, which destroys it.
void Forget(Playback* playback) {
  auto& running = Running();
  Locked locked(running.lock);
  auto& list = running.playbacks;
  list.erase(std::remove_if(list.begin(), list.end(),
                            [&](const std::unique_ptr<Playback>& p) { return p.get() == playback; }),
             list.end());
}

DWORD WINAPI PlaybackWorker(void* parameter) {
  auto* playback = static_cast<Playback*>(parameter);
  Play(*playback);  // the device is closed when this returns
  Forget(playback);
  return 0;
}

}  // namespace

int PlayClip(const unsigned char* bytes, std::size_t length, bool loop) {
  const auto image = ParseWaveImage(bytes, length);
  if (!image) return 0;

  auto playback = std::make_unique<Playback>();
  playback->format = WaveFormatRecord(*image);
  playback->samples.assign(image->samples, image->samples + image->sampleBytes);
  playback->loop = loop;
  playback->stop.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  playback->bufferDone.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  if (!playback->stop || !playback->bufferDone) return 0;
  // Created suspended: it joins the set before it runs, so StopAllClips
  // always finds it.
  playback->thread.reset(
      CreateThread(nullptr, 0, PlaybackWorker, playback.get(), CREATE_SUSPENDED, nullptr));
  if (!playback->thread) return 0;

  const HANDLE thread = playback->thread.get();
  {
    auto& running = Running();
    Locked locked(running.lock);
    running.playbacks.push_back(std::move(playback));
  }
  ResumeThread(thread);
  return 1;
}

void StopAllClips() {
  auto& running = Running();
  for (;;) {
    // Own handles of the threads: a worker may destroy its playback, and the
    // handle it held, as soon as the lock is released.
    std::vector<UniqueHandle> threads;
    {
      Locked locked(running.lock);
      if (running.playbacks.empty()) return;
      const HANDLE self = GetCurrentProcess();
      for (const auto& playback : running.playbacks) {
        SetEvent(playback->stop.get());
        HANDLE duplicate = nullptr;
        if (DuplicateHandle(self, playback->thread.get(), self, &duplicate, SYNCHRONIZE, FALSE,
                            0)) {
          threads.emplace_back(duplicate);
        }
      }
    }
    for (const auto& thread : threads) WaitForSingleObject(thread.get(), INFINITE);
    // A playback whose handle could not be duplicated is still in the set;
    // look again (after a moment, so as not to spin) until the set is empty.
    if (threads.empty()) Sleep(1);
  }
}

}  // namespace vornik
