#!/usr/bin/env python3
"""Loudness of a recording of the game's sound output.

Reads raw signed 16-bit little-endian stereo at 44,100 Hz, as SDL's disk
audio driver writes it (SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=FILE), and
prints the RMS level in dBFS of each 250 ms window, so that the stretches
where only music plays and the moments an effect sounds can be told apart.

    tools/loudness.py FILE                 the timeline
    tools/loudness.py FILE FROM TO         one stretch (seconds): its RMS,
                                           its loudest 250 ms and its peak
"""
import array
import math
import sys

RATE = 44100
WINDOW = RATE // 4


def db(value):
    return 20 * math.log10(value) if value > 0 else -200.0


def main():
    samples = array.array("h")
    with open(sys.argv[1], "rb") as f:
        samples.frombytes(f.read())
    if sys.byteorder != "little":
        samples.byteswap()
    frames = len(samples) // 2
    first, last = 0, frames
    if len(sys.argv) == 4:
        first = int(float(sys.argv[2]) * RATE)
        last = min(frames, int(float(sys.argv[3]) * RATE))
    windows = []
    total = 0.0
    peak = 0
    for start in range(first, last, WINDOW):
        end = min(last, start + WINDOW)
        part = samples[2 * start:2 * end]
        power = sum(s * s for s in part)
        total += power
        peak = max(peak, max(abs(s) for s in part))
        windows.append((start / RATE, db(math.sqrt(power / len(part)) / 32768)))
    if len(sys.argv) == 4:
        rms = db(math.sqrt(total / (2 * (last - first))) / 32768)
        print(f"rms {rms:.1f} dBFS  loudest 250 ms {max(w[1] for w in windows):.1f} dBFS"
              f"  peak {db(peak / 32768):.1f} dBFS")
    else:
        for at, level in windows:
            print(f"{at:7.2f} s {level:7.1f} dBFS " + "#" * max(0, int((level + 60) / 2)))


main()
