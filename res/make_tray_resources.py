#!/usr/bin/env python3
"""Makes the tray program's sound: the shutter click played when a capture is saved.

The click is synthesised: a short burst of decaying noise (the curtain) followed by a softer
second burst (the mirror settling), written as 16-bit mono PCM. Run it after changing the sound.
"""
import math
import os
import random
import struct

from make_resources import HERE

RATE = 22050


def burst(length, decay, loudness, rng):
    """Noise whose loudness falls off exponentially, with a little low body mixed in."""
    samples = []
    for i in range(length):
        t = i / RATE
        envelope = loudness * math.exp(-t / decay)
        body = math.sin(2 * math.pi * 180 * t)
        samples.append(envelope * (0.75 * rng.uniform(-1, 1) + 0.25 * body))
    return samples


def shutter():
    rng = random.Random(131)  # fixed seed: the same bytes on every run
    first = burst(int(0.035 * RATE), 0.008, 0.9, rng)
    gap = [0.0] * int(0.045 * RATE)
    second = burst(int(0.05 * RATE), 0.012, 0.55, rng)
    return first + gap + second


def write_wav(path, samples):
    frames = b''.join(struct.pack('<h', max(-32767, min(32767, int(s * 32767)))) for s in samples)
    header = struct.pack('<4sI4s', b'RIFF', 36 + len(frames), b'WAVE')
    fmt = struct.pack('<4sIHHIIHH', b'fmt ', 16, 1, 1, RATE, RATE * 2, 2, 16)
    data = struct.pack('<4sI', b'data', len(frames))
    with open(path, 'wb') as f:
        f.write(header + fmt + data + frames)


def main():
    write_wav(os.path.join(HERE, 'shutter.wav'), shutter())


if __name__ == '__main__':
    main()
