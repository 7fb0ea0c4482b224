// Sound effects and tunes, synthesised: 22050 Hz mono 16-bit PCM.
//
// Looping sounds (the engine, the two tunes) are built so the last sample leads into the first:
// every tone sits inside the loop and fades out before it ends, and the engine's noise is
// filtered circularly.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "Builder.h"
#include "Random.h"
#include "WavWriter.h"

namespace content {

namespace {

constexpr float kPi = 3.14159265359f;
constexpr float kRate = static_cast<float>(kSampleRate);

using Wave = std::vector<float>;

Wave silence(float seconds) {
  return Wave(static_cast<size_t>(seconds * kRate), 0.0f);
}

float noteFrequency(int midi) {
  return 440.0f * std::pow(2.0f, (midi - 69) / 12.0f);
}

enum class Shape { kSine, kTriangle, kSquare, kSoftSquare };

float oscillator(Shape shape, float phase) {
  float p = phase - std::floor(phase);
  switch (shape) {
    case Shape::kSine:
      return std::sin(2 * kPi * p);
    case Shape::kTriangle:
      return 4.0f * std::fabs(p - 0.5f) - 1.0f;
    case Shape::kSquare:
      return p < 0.5f ? 1.0f : -1.0f;
    case Shape::kSoftSquare:
      return std::sin(2 * kPi * p) + std::sin(6 * kPi * p) / 3 + std::sin(10 * kPi * p) / 5;
  }
  return 0.0f;
}

// Adds a tone with a short attack and an exponential tail that reaches silence at its end.
void tone(Wave& w, float start, float duration, float freq, float amp, Shape shape,
          float endFreq = 0.0f) {
  size_t first = static_cast<size_t>(start * kRate);
  size_t count = static_cast<size_t>(duration * kRate);
  float phase = 0.0f;
  for (size_t i = 0; i < count && first + i < w.size(); ++i) {
    float t = static_cast<float>(i) / kRate;
    float f = endFreq > 0 ? freq + (endFreq - freq) * (t / duration) : freq;
    phase += f / kRate;
    float attack = std::min(1.0f, t / 0.006f);
    float release = 1.0f - static_cast<float>(i) / static_cast<float>(count);
    float env = attack * release * release;
    w[first + i] += amp * env * oscillator(shape, phase);
  }
}

// Low-passed noise with an envelope that decays at `decay` per second.
void noise(Wave& w, float start, float duration, float amp, float cutoff, float decay,
           uint32_t seed) {
  Random random(seed);
  size_t first = static_cast<size_t>(start * kRate);
  size_t count = static_cast<size_t>(duration * kRate);
  float a = 1.0f - std::exp(-2 * kPi * cutoff / kRate), y = 0.0f;
  for (size_t i = 0; i < count && first + i < w.size(); ++i) {
    float t = static_cast<float>(i) / kRate;
    y += a * (random.range(-1, 1) - y);
    float fade = 1.0f - static_cast<float>(i) / static_cast<float>(count);
    w[first + i] += amp * y * std::exp(-decay * t) * std::min(1.0f, t / 0.002f) * fade;
  }
}

Wave cannon(bool remote) {
  Wave w = silence(0.45f);
  float level = remote ? 0.45f : 0.9f;
  noise(w, 0, 0.45f, level * 1.6f, remote ? 1200.0f : 5000.0f, 14.0f, 11);
  tone(w, 0, 0.3f, 140, level * 0.8f, Shape::kSine, 45);
  return w;
}

Wave engine() {
  // One second: rotor thumps at 15 per second over a turbine hum, all periodic in the loop.
  const size_t n = static_cast<size_t>(kRate);
  Wave w(n, 0.0f);
  Random random(3);
  Wave raw(n);
  for (float& s : raw) s = random.range(-1, 1);
  float a = 1.0f - std::exp(-2 * kPi * 500.0f / kRate), y = 0.0f;
  for (int pass = 0; pass < 2; ++pass)  // the second pass starts from the wrapped state
    for (size_t i = 0; i < n; ++i) {
      y += a * (raw[i] - y);
      if (pass == 1) w[i] = y;
    }
  for (size_t i = 0; i < n; ++i) {
    float t = static_cast<float>(i) / kRate;
    float beat = 0.5f + 0.5f * std::cos(2 * kPi * 15.0f * t);
    float thump = std::pow(beat, 6.0f);
    w[i] = 0.9f * w[i] * (0.25f + thump) +
           0.18f * std::sin(2 * kPi * 60.0f * t) * (0.6f + 0.4f * thump) +
           0.06f * std::sin(2 * kPi * 120.0f * t) + 0.02f * std::sin(2 * kPi * 1100.0f * t);
  }
  return w;
}

Wave explosion() {
  Wave w = silence(1.8f);
  noise(w, 0, 1.8f, 1.4f, 900.0f, 2.2f, 21);
  noise(w, 0, 0.25f, 0.8f, 6000.0f, 18.0f, 22);
  tone(w, 0, 1.2f, 70, 0.6f, Shape::kSine, 30);
  return w;
}

Wave tip() {
  Wave w = silence(0.6f);
  tone(w, 0.0f, 0.35f, noteFrequency(88), 0.35f, Shape::kSine);
  tone(w, 0.0f, 0.35f, noteFrequency(100), 0.08f, Shape::kSine);
  tone(w, 0.12f, 0.48f, noteFrequency(95), 0.35f, Shape::kSine);
  tone(w, 0.12f, 0.48f, noteFrequency(107), 0.08f, Shape::kSine);
  return w;
}

Wave gameOver() {
  Wave w = silence(1.8f);
  const int notes[4] = {72, 67, 64, 60};
  for (int i = 0; i < 4; ++i) {
    float start = i * 0.3f, length = i == 3 ? 0.9f : 0.32f;
    tone(w, start, length, noteFrequency(notes[i]), 0.3f, Shape::kSoftSquare);
    tone(w, start, length, noteFrequency(notes[i] - 12), 0.2f, Shape::kTriangle);
  }
  return w;
}

Wave collision(int variant) {
  Wave w = silence(0.3f);
  const float pitch[3] = {180.0f, 120.0f, 320.0f};
  noise(w, 0, 0.12f, 0.9f, 3000.0f, 30.0f, 30u + static_cast<uint32_t>(variant));
  tone(w, 0, 0.25f, pitch[variant], 0.6f, Shape::kSine, pitch[variant] * 0.6f);
  if (variant == 2) tone(w, 0, 0.3f, 1250.0f, 0.15f, Shape::kSine);  // a tinny ring
  return w;
}

// A tune from text: one character per step, '.' rests, 'a'..'z' are semitones above `base`.
void melody(Wave& w, const std::string& notes, int base, float step, float amp, Shape shape,
            float hold = 0.9f) {
  for (size_t i = 0; i < notes.size(); ++i) {
    char c = notes[i];
    if (c < 'a' || c > 'z') continue;
    size_t length = 1;
    while (i + length < notes.size() && notes[i + length] == '-') ++length;
    tone(w, i * step, step * length * hold, noteFrequency(base + (c - 'a')), amp, shape);
  }
}

void drums(Wave& w, int steps, float step, uint32_t seed) {
  for (int i = 0; i < steps; ++i) {
    if (i % 4 == 0) tone(w, i * step, step * 1.5f, 110, 0.35f, Shape::kSine, 45);
    if (i % 2 == 1)
      noise(w, i * step, step * 0.5f, 0.12f, 8000.0f, 40.0f, seed + static_cast<uint32_t>(i));
    if (i % 8 == 4)
      noise(w, i * step, step * 1.2f, 0.3f, 3000.0f, 14.0f, seed + 500u + static_cast<uint32_t>(i));
  }
}

Wave titleMusic() {
  // 8 bars of 16 steps at 132 beats a minute; a heroic line in C minor over a driving bass.
  const float step = 60.0f / 132.0f / 4.0f;
  const std::string lead =
      "h---h-k-m---k-h-f---h-f-d---f-h-h---h-k-m---o-m-k---m-k-h-------"
      "m---m-o-p---o-m-k---m-k-h---k-m-o---m-k-h-f-h-k-m---k-h-h-------";
  const std::string bass =
      "a.a.a.a.a.a.a.a.f.f.f.f.f.f.f.f.d.d.d.d.d.d.d.d.h.h.h.h.h.h.h.h."
      "a.a.a.a.a.a.a.a.f.f.f.f.f.f.f.f.h.h.h.h.h.h.h.h.a.a.a.a.a.a.a.a.";
  const std::string pad =
      "h---------------k---------------i---------------j---------------"
      "h---------------k---------------j---------------h---------------";
  Wave w = silence(step * static_cast<float>(lead.size()));
  melody(w, lead, 60, step, 0.22f, Shape::kSoftSquare, 0.85f);
  melody(w, bass, 36, step, 0.3f, Shape::kTriangle, 0.8f);
  melody(w, pad, 48, step, 0.08f, Shape::kSine, 0.95f);
  drums(w, static_cast<int>(lead.size()), step, 900);
  return w;
}

Wave scoreboardTune() {
  // A bright fanfare in C major, 4 bars, loops.
  const float step = 60.0f / 120.0f / 4.0f;
  const std::string lead = "h-h-h-l---h-l-o-------o-q-s-q-o-l-o---l-h-j-l-m-o-q-s-----------";
  const std::string bass = "a...h...a...h...f...m...f...m...h...o...h...o...a...h...a...h...";
  Wave w = silence(step * static_cast<float>(lead.size()));
  melody(w, lead, 60, step, 0.22f, Shape::kTriangle, 0.85f);
  melody(w, lead, 72, step, 0.06f, Shape::kSine, 0.85f);
  melody(w, bass, 36, step, 0.28f, Shape::kSoftSquare, 0.7f);
  drums(w, static_cast<int>(lead.size()), step, 1900);
  return w;
}

// Scales a one-shot sound so its loudest sample reaches `peak`.
Wave normalized(Wave w, float peak) {
  float top = 0.0f;
  for (float s : w) top = std::max(top, std::fabs(s));
  if (top > 0.0f)
    for (float& s : w) s *= peak / top;
  return w;
}

}  // namespace

void buildSounds(Output& out) {
  const std::string gui = std::string(kGuiFolder) + "/";
  out.put(gui + "canon.wav", encodeWav(normalized(cannon(false), 0.9f)));
  out.put(gui + "remotecanon.wav", encodeWav(normalized(cannon(true), 0.5f)));
  out.put(gui + "engine.wav", encodeWav(engine()));
  out.put(gui + "explosion.wav", encodeWav(normalized(explosion(), 0.92f)));
  out.put(gui + "tip.wav", encodeWav(tip()));
  out.put(gui + "gameover.wav", encodeWav(gameOver()));
  for (int i = 0; i < 3; ++i)
    out.put(gui + "collision" + std::to_string(i) + ".wav",
            encodeWav(normalized(collision(i), 0.8f)));
  out.put(gui + "title.wav", encodeWav(titleMusic()));
  out.put(gui + "scoreboard.wav", encodeWav(scoreboardTune()));
}

}  // namespace content
