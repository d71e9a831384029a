#!/usr/bin/env python3
"""Writes the three sound clips of the program as complete RIFF/WAVE files.

    tools/make_clips.py [output folder]     (default: src/assets/clips)

The files are committed; run this only to change a sound. Each file must keep
its format, its file size and its data size exactly: the program and its tests
rely on them. After the data chunk, SuccessClip and ExitClip carry a LIST/INFO
chunk and a JUNK chunk that fills the file to its size.
"""
import math
import os
import struct
import sys


# Every clip opens with a moment of true silence: some output paths lose the
# first few milliseconds of a stream, and a clip cut into mid-sound clicks.
LEAD = 0.012


def envelope(t, length, attack, release):
    """Raised-cosine attack and release, so the clip starts and ends at zero."""
    gain = 1.0
    if t < attack:
        gain *= 0.5 - 0.5 * math.cos(math.pi * t / attack)
    if t > length - release:
        rest = max(0.0, length - t)
        gain *= 0.5 - 0.5 * math.cos(math.pi * rest / release)
    return gain


def sound_times(rate, frames):
    """The time of each frame from the end of the leading silence (negative
    within it), and the length of the sound after it."""
    return [i / rate - LEAD for i in range(frames)], frames / rate - LEAD


def startup_chime(rate, frames):
    """A rising three-note chime (G5, C6, E6), each note a softly decaying bell."""
    times, length = sound_times(rate, frames)
    notes = [(0.000, 783.99), (0.085, 1046.50), (0.170, 1318.51)]
    out = []
    for t in times:
        x = 0.0
        for start, freq in notes:
            u = t - start
            if u < 0:
                continue
            bell = math.exp(-u / 0.16) * envelope(u, 10.0, 0.004, 0.001)
            x += bell * (math.sin(2 * math.pi * freq * u)
                         + 0.25 * math.sin(2 * math.pi * 2 * freq * u))
        out.append(0.30 * x * envelope(t, length, 0.008, 0.060) if t > 0 else 0.0)
    return out


def success_ping(rate, frames):
    """A quick bright upward sweep: even loudness for most of its length, so that
    two overlapping copies are plainly louder than one."""
    times, length = sound_times(rate, frames)
    f0, f1 = 1400.0, 2100.0
    sweep = (f1 - f0) / length
    out = []
    for t in times:
        phase = 2 * math.pi * (f0 * t + 0.5 * sweep * t * t)
        x = math.sin(phase) + 0.2 * math.sin(2 * phase)
        decay = 1.0 - 0.25 * t / length
        out.append(0.30 * x * decay * envelope(t, length, 0.006, 0.020) if t > 0 else 0.0)
    return out


def exit_fall(rate, frames):
    """A soft tone gliding down an octave, from A5 to A4."""
    times, length = sound_times(rate, frames)
    f0, f1 = 880.0, 440.0
    k = math.log(f1 / f0) / length
    out = []
    for t in times:
        # Phase of an exponential glide f0 * exp(k t).
        phase = 2 * math.pi * f0 * (math.exp(k * t) - 1.0) / k
        x = math.sin(phase) + 0.2 * math.sin(2 * phase) + 0.08 * math.sin(3 * phase)
        decay = 1.0 - 0.35 * t / length
        out.append(0.32 * x * decay * envelope(t, length, 0.010, 0.090) if t > 0 else 0.0)
    return out


def pcm_bytes(samples, channels, bits):
    data = bytearray()
    for x in samples:
        x = max(-1.0, min(1.0, x))
        if bits == 8:
            frame = struct.pack('<B', 128 + int(round(127 * x)))
        else:
            frame = struct.pack('<h', int(round(32767 * x)))
        data += frame * channels
    return bytes(data)


def chunk(identifier, body):
    pad = b'\0' if len(body) % 2 else b''
    return identifier + struct.pack('<I', len(body)) + body + pad


def info_list(name):
    def text(identifier, value):
        return chunk(identifier, value.encode('ascii') + b'\0')
    return chunk(b'LIST', b'INFO' + text(b'INAM', name) + text(b'ISFT', 'Vornik'))


def wave_file(clip):
    data = pcm_bytes(clip['sound'](clip['rate'], clip['frames']), clip['channels'], clip['bits'])
    assert len(data) == clip['data_bytes'], (clip['name'], len(data))
    block_align = clip['channels'] * clip['bits'] // 8
    fmt = struct.pack('<HHIIHH', 1, clip['channels'], clip['rate'], clip['rate'] * block_align,
                      block_align, clip['bits'])
    body = b'WAVE' + chunk(b'fmt ', fmt) + chunk(b'data', data)
    if clip['extra_chunks']:
        body += info_list(clip['name'])
        rest = clip['file_bytes'] - 8 - len(body) - 8
        assert rest >= 0 and rest % 2 == 0, (clip['name'], rest)
        body += chunk(b'JUNK', b'\0' * rest)
    image = b'RIFF' + struct.pack('<I', len(body)) + body
    assert len(image) == clip['file_bytes'], (clip['name'], len(image))
    return image


CLIPS = [
    dict(name='StartupClip', file='startup.wav', sound=startup_chime, channels=1, bits=8,
         rate=11025, frames=5182, data_bytes=5182, file_bytes=5226, extra_chunks=False),
    dict(name='SuccessClip', file='success.wav', sound=success_ping, channels=2, bits=16,
         rate=48000, frames=9839, data_bytes=39356, file_bytes=39724, extra_chunks=True),
    dict(name='ExitClip', file='exit.wav', sound=exit_fall, channels=2, bits=16,
         rate=44100, frames=24576, data_bytes=98304, file_bytes=98480, extra_chunks=True),
]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', 'src', 'assets', 'clips')
    os.makedirs(folder, exist_ok=True)
    for clip in CLIPS:
        with open(os.path.join(folder, clip['file']), 'wb') as out:
            out.write(wave_file(clip))


if __name__ == '__main__':
    main()
