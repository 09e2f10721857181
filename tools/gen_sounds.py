#!/usr/bin/python3
"""Generates every sound of the installation (assets/WAV) from espeak-ng,
sox and fluidsynth with the FluidR3 GM sound font.

All files are written as PCM WAV, 22050 Hz, mono, 16 bit, with matched
loudness, so that speech and effects sound equally loud one after another.

Usage: tools/gen_sounds.py [output folder]   (default: assets/WAV)
"""
import math
import os
import struct
import subprocess
import sys
import tempfile
import wave

import numpy as np

RATE = 22050
SOUNDFONT = "/usr/share/sounds/sf2/FluidR3_GM.sf2"
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "assets", "WAV")
TMP = tempfile.mkdtemp(prefix="gf_snd_")

# Target loudness (RMS over the audible part) in dBFS; peaks are limited to
# PEAK_DB so that louder targets never clip.
SPEECH_DB = -17.0
EFFECT_DB = -18.0
PEAK_DB = -1.0


def run(*args):
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def tmp(name):
    return os.path.join(TMP, name)


# ---------------------------------------------------------------- wav i/o

def read_wav(path):
    with wave.open(path, "rb") as w:
        assert w.getsampwidth() == 2 and w.getnchannels() == 1 and w.getframerate() == RATE
        data = np.frombuffer(w.readframes(w.getnframes()), dtype="<i2")
    return data.astype(np.float64) / 32768.0


def write_wav(path, samples):
    samples = np.clip(samples, -1.0, 32767 / 32768)
    pcm = (samples * 32768.0).round().astype("<i2")
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(pcm.tobytes())


def to_mono_rate(src, dst, *effects):
    """Converts any sound file to the common format, optionally with sox effects."""
    run("sox", src, "-r", str(RATE), "-c", "1", "-b", "16", dst, *effects)


def trim(src, dst, threshold="0.6%", pad=0.03):
    """Cuts leading and trailing silence and leaves a short, even margin."""
    to_mono_rate(src, dst, "silence", "1", "0.01", threshold, "reverse",
                 "silence", "1", "0.01", threshold, "reverse", "pad", str(pad), str(pad))


def match_loudness(x, target_db):
    """Scales to the target RMS of the audible part; limits the peak."""
    frame = 512
    n = len(x) // frame
    if n == 0:
        return x
    rms = np.sqrt((x[: n * frame].reshape(n, frame) ** 2).mean(axis=1))
    loud = rms[rms > rms.max() * 0.1]
    level = math.sqrt((loud ** 2).mean())
    gain = 10 ** (target_db / 20) / level
    peak = np.abs(x).max() * gain
    limit = 10 ** (PEAK_DB / 20)
    if peak > limit:
        gain *= limit / peak
    return x * gain


def fade(x, fin=0.005, fout=0.02):
    a = int(fin * RATE)
    b = int(fout * RATE)
    y = x.copy()
    if a:
        y[:a] *= np.linspace(0, 1, a)
    if b:
        y[-b:] *= np.linspace(1, 0, b)
    return y


def finish(name, x, target_db):
    x = fade(match_loudness(x, target_db))
    write_wav(os.path.join(OUT, name), x)


# ---------------------------------------------------------------- speech

def speak(text, voice="de", speed=135, pitch=42, amp=120, gap=None):
    """Renders German speech with espeak-ng; returns trimmed samples."""
    raw = tmp("speak_raw.wav")
    args = ["espeak-ng", "-v", voice, "-s", str(speed), "-p", str(pitch), "-a", str(amp)]
    if gap is not None:
        args += ["-g", str(gap)]
    run(*args, "-w", raw, text)
    out = tmp("speak.wav")
    # A gentle high-pass takes the rumble off; the low-pass softens espeak's
    # buzzy top end, which tires the ear over a long exercise.
    trim(raw, out)
    cooked = tmp("speak_eq.wav")
    run("sox", out, cooked, "highpass", "90", "lowpass", "6500", "reverb", "8", "50", "30")
    return read_wav_any(cooked)


def read_wav_any(path):
    conv = path + ".conv.wav"
    to_mono_rate(path, conv)
    return read_wav(conv)


# ---------------------------------------------------------------- midi

def midi_file(path, tracks, tempo_bpm=100, ticks=480):
    """Writes a type-1 standard MIDI file. A track is a list of
    (tick, channel, program, note, velocity, length_ticks); program None
    means the drum channel as given."""

    def vlq(n):
        out = [n & 0x7F]
        n >>= 7
        while n:
            out.append((n & 0x7F) | 0x80)
            n >>= 7
        return bytes(reversed(out))

    chunks = []
    tempo = int(60_000_000 / tempo_bpm)
    meta = b"\x00\xff\x51\x03" + tempo.to_bytes(3, "big") + b"\x00\xff\x2f\x00"
    chunks.append(b"MTrk" + struct.pack(">I", len(meta)) + meta)
    for track in tracks:
        events = []
        programs = {}
        for tick, ch, prog, note, vel, length in track:
            if prog is not None and programs.get(ch) != prog:
                programs[ch] = prog
                events.append((0, 0, bytes([0xC0 | ch, prog])))
            events.append((tick, 2, bytes([0x90 | ch, note, vel])))
            events.append((tick + length, 1, bytes([0x80 | ch, note, 0])))
        events.sort(key=lambda e: (e[0], e[1]))
        data = b""
        last = 0
        for tick, _, msg in events:
            data += vlq(tick - last) + msg
            last = tick
        data += b"\x00\xff\x2f\x00"
        chunks.append(b"MTrk" + struct.pack(">I", len(data)) + data)
    with open(path, "wb") as f:
        f.write(b"MThd" + struct.pack(">IHHH", 6, 1, len(chunks), ticks))
        for c in chunks:
            f.write(c)


def render_midi(tracks, tempo=100, gain=0.7, max_len=None, tail_fade=0.3):
    mid = tmp("m.mid")
    midi_file(mid, tracks, tempo)
    raw = tmp("m_raw.wav")
    run("fluidsynth", "-ni", "-q", "-g", str(gain), "-r", "44100", "-F", raw, SOUNDFONT, mid)
    out = tmp("m.wav")
    trim(raw, out, threshold="0.2%", pad=0.01)
    x = read_wav(out)
    if max_len and len(x) > max_len * RATE:
        x = x[: int(max_len * RATE)]
        n = int(tail_fade * RATE)
        x[-n:] *= np.linspace(1, 0, n) ** 2
    return x


# ---------------------------------------------------------------- synthesis

def t_axis(seconds):
    return np.arange(int(seconds * RATE)) / RATE


def envelope(n, attack, release):
    e = np.ones(n)
    a = max(1, int(attack * RATE))
    r = max(1, int(release * RATE))
    e[:a] = np.linspace(0, 1, a)
    e[-r:] *= np.linspace(1, 0, r)
    return e


def lowpass(x, cutoff):
    """One-pole low-pass, applied twice for a softer slope."""
    a = math.exp(-2 * math.pi * cutoff / RATE)
    for _ in range(2):
        y = np.empty_like(x)
        acc = 0.0
        for i, v in enumerate(x):
            acc = (1 - a) * v + a * acc
            y[i] = acc
        x = y
    return x


def sox_filter(x, *effects):
    src = tmp("f_in.wav")
    dst = tmp("f_out.wav")
    write_wav(src, x * 0.5)
    run("sox", src, dst, *effects)
    return read_wav_any(dst) * 2


def car_horn():
    # Two detuned horn tones (a major third) through a saturating, boxy filter,
    # sounded twice: "honk-honk".
    def blast(sec):
        t = t_axis(sec)
        x = np.zeros_like(t)
        for f in (415.0, 523.0):
            ph = 2 * np.pi * f * t
            x += np.sign(np.sin(ph)) * 0.5 + 0.3 * np.sin(2 * ph)
        x = np.tanh(1.5 * x)
        return x * envelope(len(t), 0.01, 0.04)

    gap = np.zeros(int(0.12 * RATE))
    x = np.concatenate([blast(0.28), gap, blast(0.55)])
    return sox_filter(x, "bandpass", "900", "1.2q", "overdrive", "6", "lowpass", "4000")


def cow_moo():
    # A vocal-like saw with a slowly falling pitch, shaped by two formants of
    # an "uuu" vowel: the listener hears a low "muuuh".
    sec = 1.7
    t = t_axis(sec)
    f0 = 118 + 28 * np.sin(np.pi * np.minimum(t / 0.5, 1.0) * 0.5) - 22 * (t / sec) ** 2
    vib = 1 + 0.012 * np.sin(2 * np.pi * 5.5 * t)
    phase = 2 * np.pi * np.cumsum(f0 * vib) / RATE
    x = sum(np.sin(k * phase) / k for k in range(1, 30))
    x += 0.02 * np.random.default_rng(3).standard_normal(len(t))
    x *= envelope(len(t), 0.18, 0.35)
    # "m" onset: muffled for the first fifth of a second
    onset = np.clip(t / 0.22, 0, 1)
    muffled = sox_filter(x, "lowpass", "350")
    x = muffled[: len(x)] * (1 - onset) + x * onset
    return sox_filter(x, "equalizer", "300", "1.5q", "10", "equalizer", "700", "2q", "4",
                      "lowpass", "1300", "reverb", "15")


def dog_bark():
    # Two barks: a short noisy attack with a pitched, quickly falling vowel.
    rng = np.random.default_rng(7)

    def bark(f_start, sec):
        t = t_axis(sec)
        f0 = f_start * (1 - 0.45 * (t / sec))
        phase = 2 * np.pi * np.cumsum(f0) / RATE
        voice = sum(np.sin(k * phase) / (k ** 0.9) for k in range(1, 25))
        noise = rng.standard_normal(len(t))
        env = np.exp(-t / (sec * 0.35)) * np.clip(t / 0.008, 0, 1)
        x = (voice * 0.8 + noise * 0.45) * env
        return sox_filter(x, "equalizer", "700", "1q", "9", "equalizer", "1400", "1.5q", "6",
                          "highpass", "200", "lowpass", "3500")

    gap = np.zeros(int(0.16 * RATE))
    return np.concatenate([bark(520, 0.2), gap, bark(560, 0.22), np.zeros(int(0.3 * RATE)),
                           bark(500, 0.24)])


def rooster():
    # "Kikeriki": four pitched syllables, the last long and falling, with a
    # rough, reedy timbre.
    rng = np.random.default_rng(11)
    parts = []
    plan = [(650, 700, 0.11), (760, 820, 0.12), (880, 900, 0.16), (1000, 720, 0.75)]
    for f_a, f_b, sec in plan:
        t = t_axis(sec)
        f0 = np.linspace(f_a, f_b, len(t))
        f0 = f0 * (1 + 0.03 * np.sin(2 * np.pi * 28 * t))
        phase = 2 * np.pi * np.cumsum(f0) / RATE
        x = sum(np.sin(k * phase) / k for k in range(1, 10))
        x += 0.25 * rng.standard_normal(len(t)) * np.abs(np.sin(phase / 2))
        x *= envelope(len(t), 0.012, min(0.06, sec / 3))
        parts.append(x)
        parts.append(np.zeros(int(0.035 * RATE)))
    x = np.concatenate(parts)
    return sox_filter(x, "equalizer", "1800", "1q", "8", "equalizer", "3200", "1q", "5",
                      "highpass", "400", "lowpass", "5000", "reverb", "20")


def bird_song():
    # Chirps and a trill: rapid sine sweeps, the sound every listener knows.
    parts = []
    rng = np.random.default_rng(5)

    def chirp(f_a, f_b, sec):
        t = t_axis(sec)
        f = np.geomspace(f_a, f_b, len(t))
        phase = 2 * np.pi * np.cumsum(f) / RATE
        return np.sin(phase) * np.sin(np.pi * t / sec) ** 2

    for _ in range(3):
        parts += [chirp(2600, 4200, 0.07), np.zeros(int(0.04 * RATE)),
                  chirp(4300, 2900, 0.06), np.zeros(int(0.09 * RATE))]
    for i in range(9):
        parts += [chirp(3400 + rng.integers(0, 300), 5000, 0.035), np.zeros(int(0.018 * RATE))]
    parts += [np.zeros(int(0.08 * RATE)), chirp(5200, 2600, 0.22)]
    x = np.concatenate(parts)
    return sox_filter(x, "reverb", "25", "50", "60")


def dial_tone(sec=1.2):
    t = t_axis(sec)
    return np.sin(2 * np.pi * 425 * t) * envelope(len(t), 0.005, 0.01)


def pulse_dial():
    # Rotary dialling of three digits: 10 pulses per second (60 ms break,
    # 40 ms make), each break heard as a sharp relay click.
    rng = np.random.default_rng(2)
    out = []

    def click():
        n = int(0.012 * RATE)
        c = rng.standard_normal(n) * np.exp(-np.arange(n) / (0.0025 * RATE))
        return c

    for digit in (4, 2, 6):
        for _ in range(digit):
            seg = np.zeros(int(0.1 * RATE))
            c = click()
            seg[: len(c)] += c
            c2 = click() * 0.4
            seg[int(0.06 * RATE): int(0.06 * RATE) + len(c2)] += c2
            out.append(seg)
        out.append(np.zeros(int(0.35 * RATE)))
    x = np.concatenate(out[:-1])
    return sox_filter(x, "bandpass", "1800", "0.8q", "reverb", "10")


def phone_ring():
    # Two rings of a bell telephone: two bell partials hammered at 20 Hz.
    out = []
    for _ in range(2):
        t = t_axis(0.9)
        ring = np.sin(2 * np.pi * 1250 * t) + 0.7 * np.sin(2 * np.pi * 1610 * t)
        ring += 0.3 * np.sin(2 * np.pi * 2680 * t)
        ham = (np.sin(2 * np.pi * 20 * t) > 0).astype(float)
        ham = lowpass(ham, 200)
        out.append(ring * (0.35 + 0.65 * ham) * envelope(len(t), 0.01, 0.08))
        out.append(np.zeros(int(0.45 * RATE)))
    x = np.concatenate(out[:-1])
    return sox_filter(x, "reverb", "12")


def ui_sound(freqs, sec, decay):
    t = t_axis(sec)
    x = np.zeros_like(t)
    step = len(t) // len(freqs)
    for i, f in enumerate(freqs):
        seg = t[: len(t) - i * step]
        tone = (np.sin(2 * np.pi * f * seg) + 0.3 * np.sin(4 * np.pi * f * seg))
        tone *= np.exp(-seg / decay)
        x[i * step:] += tone
    return x * envelope(len(t), 0.003, 0.02)


# ---------------------------------------------------------------- contents

DIGITS = ["null", "eins", "zwei", "drei", "vier", "fünf", "sechs", "sieben", "acht", "neun"]

# Praise for a right answer: short, warm, varied. (text, voice variant)
PRAISE = [
    ("Richtig!", "de"), ("Sehr gut!", "de+f2"), ("Prima!", "de"), ("Genau!", "de+f2"),
    ("Ausgezeichnet!", "de"), ("Wunderbar!", "de+f2"), ("Super gemacht!", "de"),
    ("Stimmt genau!", "de+f2"), ("Toll!", "de"), ("Bravo!", "de+f2"),
    ("Das war richtig!", "de"), ("Klasse!", "de+f2"), ("Perfekt!", "de"),
    ("Gut gemerkt!", "de+f2"), ("Hervorragend!", "de"), ("Weiter so!", "de+f2"),
    ("Volltreffer!", "de"),
]

# Gentle words for a wrong answer: encouraging, never mocking.
SOLACE = [
    ("Leider falsch.", "de"), ("Schade, nochmal!", "de+f2"), ("Knapp daneben.", "de"),
    ("Das war es leider nicht.", "de+f2"), ("Nicht ganz.", "de"),
    ("Beim nächsten Mal klappt es.", "de+f2"), ("Leider nicht richtig.", "de"),
    ("Nur Mut, weiter geht's.", "de+f2"), ("Fast!", "de"), ("Das passiert jedem.", "de+f2"),
    ("Leider verwählt.", "de"), ("Kein Problem, nochmal!", "de+f2"),
    ("Schade.", "de"), ("Nicht aufgeben!", "de+f2"), ("Ganz ruhig, weiter geht's.", "de"),
    ("Das war knapp.", "de+f2"), ("Leider nicht getroffen.", "de"),
    ("Versuchen Sie es weiter.", "de+f2"), ("Nicht schlimm.", "de"),
    ("Das war nicht die Nummer.", "de+f2"),
]


def gm(ch, prog, notes):
    """notes: (beat, midi note, velocity, beats)."""
    return [(int(b * 480), ch, prog, n, v, int(l * 480)) for b, n, v, l in notes]


def harp():
    # Rising glissando over a C major ninth, then a soft chord.
    notes = []
    scale = [48, 52, 55, 59, 60, 62, 64, 67, 71, 72, 74, 76, 79, 83, 84]
    for i, n in enumerate(scale):
        notes.append((i * 0.12, n, 85 + i, 3.0))
    return render_midi([gm(0, 46, notes)], tempo=100, max_len=2.9)


def organ():
    # A church-organ cadence: two full chords.
    chord1 = [36, 48, 55, 60, 64, 67]
    chord2 = [41, 53, 57, 60, 65, 69]
    notes = [(0, n, 95, 1.6) for n in chord1] + [(1.6, n, 95, 2.0) for n in chord2]
    x = render_midi([gm(0, 19, notes)], tempo=100, max_len=2.9)
    return x


def drum_roll():
    # Snare roll with a crescendo, closed by a cymbal crash and bass drum.
    notes = []
    for i in range(30):
        notes.append((i * 0.125, 38, 45 + i * 2, 0.1))
    end = 30 * 0.125
    notes += [(end, 49, 120, 2.0), (end, 36, 120, 0.5)]
    return render_midi([gm(9, None, notes)], tempo=120, max_len=3.0, tail_fade=0.5)


def trumpet():
    # A short fanfare: G C E G ... E G.
    seq = [(0, 67, 0.33), (0.33, 72, 0.33), (0.66, 76, 0.33), (1.0, 79, 0.66),
           (1.75, 76, 0.3), (2.05, 79, 1.4)]
    notes = [(b, n, 110, l) for b, n, l in seq]
    return render_midi([gm(0, 56, notes)], tempo=110, max_len=2.9)


def violin():
    # A lyrical violin phrase (A minor).
    seq = [(0, 76, 0.75), (0.75, 74, 0.25), (1.0, 72, 0.5), (1.5, 71, 0.5), (2.0, 69, 1.8)]
    notes = [(b, n, 100, l) for b, n, l in seq]
    return render_midi([gm(0, 40, notes)], tempo=96, max_len=2.9)


def jingle():
    # A light, curious detective motif: vibraphone over walking bass and brushes.
    vib = [(0, 69, 0.5), (0.5, 72, 0.5), (1.0, 76, 0.5), (1.5, 75, 0.5), (2.0, 74, 1.0),
           (3.0, 72, 0.5), (3.5, 69, 0.5), (4.0, 71, 0.75), (4.75, 72, 0.25), (5.0, 76, 2.0)]
    bass = [(0, 45, 1), (1, 48, 1), (2, 50, 1), (3, 51, 1), (4, 52, 1), (5, 45, 2)]
    chords = [(0, [57, 60, 64]), (2, [57, 62, 65]), (4, [56, 59, 64]), (5, [57, 60, 64, 67])]
    drums = [(b * 0.5, 42, 60 if b % 2 else 80, 0.2) for b in range(12)]
    drums += [(5.0, 49, 90, 2.0), (5.0, 36, 100, 0.5)]
    tracks = [
        gm(0, 11, [(b, n, 100, l) for b, n, l in vib]),
        gm(1, 32, [(b, n, 95, l) for b, n, l in bass]),
        gm(2, 4, [(b, n, 55, 1.9 if b < 5 else 2.0) for b, ch in chords for n in ch]),
        gm(9, None, drums),
    ]
    return render_midi(tracks, tempo=132, max_len=4.8, tail_fade=0.8)


def main():
    os.makedirs(OUT, exist_ok=True)
    for d, word in enumerate(DIGITS):
        finish(f"{d}.WAV", speak(word, voice="de", speed=140, pitch=40), SPEECH_DB)
    for i, (text, voice) in enumerate(PRAISE, 1):
        finish(f"J{i}.WAV", speak(text, voice=voice, speed=150, pitch=55), SPEECH_DB)
    for i, (text, voice) in enumerate(SOLACE, 1):
        finish(f"N{i}.WAV", speak(text, voice=voice, speed=140, pitch=38), SPEECH_DB)

    finish("HONK.WAV", car_horn(), EFFECT_DB)
    finish("HAHN.WAV", rooster(), EFFECT_DB)
    finish("HUND.WAV", dog_bark(), EFFECT_DB)
    finish("KUH.WAV", cow_moo(), EFFECT_DB)
    finish("VOGEL.WAV", bird_song(), EFFECT_DB)
    finish("HARFE.WAV", harp(), EFFECT_DB)
    finish("ORGEL.WAV", organ(), EFFECT_DB)
    finish("DRUMROL3.WAV", drum_roll(), EFFECT_DB)
    finish("TROMPETE.WAV", trumpet(), EFFECT_DB)
    finish("GEIGE.WAV", violin(), EFFECT_DB)
    finish("JINGLE.WAV", jingle(), EFFECT_DB)

    finish("WAHLTON.WAV", dial_tone(), EFFECT_DB - 4)
    finish("WAHLPULS.WAV", pulse_dial(), EFFECT_DB - 2)
    finish("CELLULAR.WAV", phone_ring(), EFFECT_DB - 2)
    # Interface sounds: a rising and a falling two-note blip, and their soft
    # "wobble" variants with a slight vibrato.
    finish("S1.WAV", ui_sound([880, 1320], 0.16, 0.05), EFFECT_DB - 3)
    finish("S2.WAV", ui_sound([1320, 880], 0.16, 0.05), EFFECT_DB - 3)
    t = t_axis(0.3)
    wob = np.sin(2 * np.pi * (660 + 40 * np.sin(2 * np.pi * 14 * t)) * t)
    finish("S1WBL.WAV", wob * np.exp(-t / 0.12) * envelope(len(t), 0.003, 0.03), EFFECT_DB - 3)
    wob2 = np.sin(2 * np.pi * (990 - 300 * t / 0.3 + 40 * np.sin(2 * np.pi * 14 * t)) * t)
    finish("S2WBL.WAV", wob2 * np.exp(-t / 0.12) * envelope(len(t), 0.003, 0.03), EFFECT_DB - 3)


if __name__ == "__main__":
    main()
