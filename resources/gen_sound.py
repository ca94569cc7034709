#!/usr/bin/python3
"""Writes the hover sound: a short two-tone chime as a RIFF/WAVE file.

The file layout is fixed, byte for byte:
  "RIFF" <11866> "WAVE"
  "fmt " <16>    PCM, mono, 44100 Hz, 88200 bytes/s, block align 2, 16 bits
  "PAD " <4044>  zeros
  "data" <7778>  3889 samples
  two zero bytes after the RIFF chunk, 11876 bytes in all.

    gen_sound.py <out.wav>
"""
import math
import struct
import sys

RATE = 44100
SAMPLES = 3889
PAD_BYTES = 4044
TRAILING_BYTES = 2
FILE_BYTES = 11876

# Partials of the chime (frequency in Hz, relative amplitude): a fifth, E6 and
# B6, with a quiet octave on top for a bit of shine.
PARTIALS = ((1318.51, 1.0), (1975.53, 0.55), (2637.02, 0.18))
PEAK = 0.42          # of full scale
ATTACK_S = 0.0015    # soft onset, no click at the start
DECAY_S = 0.028      # exponential ring-out
FADE_S = 0.025       # raised-cosine fade to silence at the end


def envelope(n):
    t = n / RATE
    attack = min(1.0, t / ATTACK_S)
    attack = 0.5 - 0.5 * math.cos(math.pi * attack)
    decay = math.exp(-t / DECAY_S)
    remaining = (SAMPLES - 1 - n) / RATE
    fade = min(1.0, remaining / FADE_S)
    fade = 0.5 - 0.5 * math.cos(math.pi * fade)
    return attack * decay * fade


def samples():
    norm = sum(a for _, a in PARTIALS)
    for n in range(SAMPLES):
        t = n / RATE
        tone = sum(a * math.sin(2 * math.pi * f * t) for f, a in PARTIALS) / norm
        yield round(32767 * PEAK * envelope(n) * tone)


def wave_bytes():
    data = struct.pack(f"<{SAMPLES}h", *samples())
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE * 2, 2, 16)
    body = (b"WAVE"
            + b"fmt " + struct.pack("<I", len(fmt)) + fmt
            + b"PAD " + struct.pack("<I", PAD_BYTES) + bytes(PAD_BYTES)
            + b"data" + struct.pack("<I", len(data)) + data)
    out = b"RIFF" + struct.pack("<I", len(body)) + body + bytes(TRAILING_BYTES)
    if len(out) != FILE_BYTES:
        sys.exit(f"sound is {len(out)} bytes, expected {FILE_BYTES}")
    return out


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    with open(sys.argv[1], "wb") as f:
        f.write(wave_bytes())


if __name__ == "__main__":
    main()
