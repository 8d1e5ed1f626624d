#include "tools/ArtworkPainter.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace tavo::artwork {

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr float kKnobSweep = 135.0f * kPi / 180.0f; // each side of straight up

// Needle geometry as the editor draws it: a 12-pixel handle on 202 pixels of travel from x 55.
constexpr float kNeedleLeft = 55.0f, kNeedleTravel = 190.0f, kNeedleHalf = 6.0f;
constexpr float kKnee = 0.638f, kAboveKnee = 0.43f;

float Smooth(float edge0, float edge1, float x) {
  const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
  return t * t * (3.0f - 2.0f * t);
}

Rgba Scale(const Rgba& c, float k) {
  return {std::clamp(c.r * k, 0.0f, 1.0f), std::clamp(c.g * k, 0.0f, 1.0f),
          std::clamp(c.b * k, 0.0f, 1.0f), c.a};
}

Rgba Lift(const Rgba& c, float d) {
  return {std::clamp(c.r + d, 0.0f, 1.0f), std::clamp(c.g + d, 0.0f, 1.0f),
          std::clamp(c.b + d, 0.0f, 1.0f), c.a};
}

const Rgba kInk = Rgb(234, 222, 196);          // legends on the panel
const Rgba kScaleInk = Rgb(38, 26, 16, 0.88f); // printed on the glass
const Rgba kScaleRed = Rgb(182, 36, 22, 0.9f);

// A dome-lit disc of the given radius: brighter towards the upper left.
float DomeLight(float dx, float dy, float radius) {
  return std::clamp(-(dx * -0.55f + dy * -0.8f) / radius, -1.0f, 1.0f);
}

void Screw(Canvas& c, float cx, float cy, float angle) {
  c.Shade(static_cast<int>(cx - 7), static_cast<int>(cy - 7), static_cast<int>(cx + 8),
          static_cast<int>(cy + 8), [&](float x, float y) {
            const float dx = x - cx, dy = y - cy, d = std::sqrt(dx * dx + dy * dy);
            if (d > 5.5f) {
              Rgba shadow = Rgb(0, 0, 0, 0.35f * (1.0f - Smooth(5.0f, 7.0f, d)));
              return shadow;
            }
            const float light = DomeLight(dx, dy, 5.0f);
            Rgba metal = Lift(Rgb(150, 146, 138), 0.22f * light);
            // The slot.
            const float along = dx * std::cos(angle) + dy * std::sin(angle);
            const float across = -dx * std::sin(angle) + dy * std::cos(angle);
            if (std::fabs(across) < 0.8f && std::fabs(along) < 4.2f) metal = Rgb(40, 38, 34);
            if (d > 4.6f) metal = Scale(metal, 0.6f);
            return metal;
          });
}

// A polyline crack: a dark fissure with a bright edge beside it.
void Crack(Canvas& c, const std::vector<std::pair<float, float>>& points, float width) {
  for (size_t i = 1; i < points.size(); ++i) {
    const auto [x0, y0] = points[i - 1];
    const auto [x1, y1] = points[i];
    c.Line(x0 + 0.6f, y0 + 0.6f, x1 + 0.6f, y1 + 0.6f, width + 0.7f, Rgb(0, 0, 0, 0.45f));
    c.Line(x0, y0, x1, y1, width, Rgb(255, 255, 255, 0.85f));
  }
}

// The logical pixel a (logical) pixel centre lies in: grain and bevels keep their size in editor
// pixels, so a painting at 2 averages back to the one at 1.
int Cell(float v) {
  return static_cast<int>(std::floor(v + 0.5f));
}

} // namespace

float NeedleForDecibels(float db) {
  const float raw = kKnee * std::pow(10.0f, db / 20.0f);
  return raw <= kKnee ? raw : kKnee + (raw - kKnee) * kAboveKnee;
}

float NeedleCentreX(float position) {
  return kNeedleLeft + std::floor(kNeedleTravel * position) + kNeedleHalf;
}

Canvas PaintMeterFace(float scale) {
  Canvas c(304, 416, scale);
  const float cx = 151.5f, cy = 66.0f;
  c.Fill(kWindowL, kWindowT, kWindowR, kWindowB, [&](float x, float y) {
    // Backlit parchment: a warm glow from the lamp behind the middle, darker at the rim.
    const float dx = (x - cx) / 110.0f, dy = (y - cy) / 40.0f;
    const float t = std::min(std::sqrt(dx * dx + dy * dy), 1.2f);
    Rgba face = Mix(Rgb(252, 234, 182), Rgb(206, 160, 92), std::pow(t / 1.2f, 1.6f));
    return Lift(face, 0.012f * Noise(Cell(x), Cell(y), 11));
  });
  return c;
}

Canvas PaintNeedle(float scale) {
  Canvas c(12, 37, scale);
  c.Line(7.4f, 4.0f, 7.4f, 36.0f, 2.4f, Rgb(0, 0, 0, 0.28f)); // shadow on the face
  c.Line(6.0f, 1.5f, 6.0f, 35.5f, 1.6f, Rgb(22, 16, 12));
  c.Line(6.0f, 1.5f, 6.0f, 8.0f, 1.6f, Rgb(160, 28, 20)); // a red tip reads well at a glance
  return c;
}

Canvas PaintLedStrip(float scale) {
  Canvas strip(48, 36, scale);
  for (int lit = 0; lit < 2; ++lit) {
    const float top = lit * 18.0f;
    strip.Shade(0, static_cast<int>(top), 48, static_cast<int>(top) + 18, [&](float x, float y) {
      const float ly = y - top - 9.0f;
      const float sx = std::clamp(x, 11.0f, 37.0f);
      const float d = std::sqrt((x - sx) * (x - sx) + ly * ly) - 5.5f; // <0 inside the lens
      if (d > 1.8f) {
        if (!lit || d > 4.8f) return Rgba{};
        return Rgb(255, 90, 30, 0.38f * (1.0f - (d - 1.8f) / 3.0f)); // glow
      }
      if (d > 0.0f) return Lift(Rgb(128, 124, 118), -0.18f * ly / 7.0f); // chrome bezel
      const float inner = std::clamp(-d / 5.5f, 0.0f, 1.0f);
      Rgba lens = lit ? Mix(Rgb(226, 52, 18), Rgb(255, 204, 110), inner)
                      : Mix(Rgb(44, 12, 8), Rgb(92, 22, 14), inner * 0.7f);
      // A specular streak on the upper half of the dome.
      const float streak =
          Smooth(-1.0f, -3.5f, ly) * Smooth(4.0f, 10.0f, x) * Smooth(44.0f, 38.0f, x);
      return Mix(lens, Rgb(255, 245, 230), streak * (lit ? 0.35f : 0.22f));
    });
  }
  return strip;
}

Canvas PaintKnobStrip(int size, int frames, float scale) {
  Canvas strip(size, size * frames, scale);
  const float k = size / 100.0f;
  const float c0 = size * 0.5f;
  const float skirtR = 44.0f * k, bodyR = 35.0f * k, capR = 23.0f * k;
  for (int f = 0; f < frames; ++f) {
    const float v = frames > 1 ? static_cast<float>(f) / (frames - 1) : 0.0f;
    const float angle = -kKnobSweep + v * 2.0f * kKnobSweep;
    const float s = std::sin(angle), co = std::cos(angle);
    const float top = static_cast<float>(f * size);
    strip.Shade(
        0, f * size, size, (f + 1) * size,
        [&](float x, float y) {
          const float dx = x - c0, dy = y - top - c0;
          const float d = std::sqrt(dx * dx + dy * dy);
          if (d > skirtR) {
            // A soft shadow cast down and to the right.
            const float sx = dx - 1.5f * k, sy = dy - 3.0f * k;
            const float sd = std::sqrt(sx * sx + sy * sy);
            return Rgb(0, 0, 0, 0.5f * (1.0f - Smooth(skirtR - 1.0f, skirtR + 4.5f * k, sd)));
          }
          const float phi = std::atan2(dx, -dy); // 0 up, clockwise
          // The pointer: a cream line turning with the knob, across body and skirt.
          const float along = dx * s - dy * co;
          const float across = dx * co + dy * s;
          const bool onPointer = along > 7.0f * k && along < skirtR - 1.0f * k &&
                                 std::fabs(across) < std::max(1.6f * k, 0.9f);
          if (onPointer && d > capR + 1.0f * k) return Rgb(244, 236, 214);
          if (d > bodyR + 1.0f * k) {
            // Knurled skirt: ridges turn with the knob, lit from the upper left.
            const float ridge = 0.5f + 0.5f * std::cos(40.0f * (phi - angle));
            const float light = DomeLight(dx, dy, d);
            Rgba skirt = Lift(Rgb(34, 31, 28), 0.07f * ridge + 0.06f * light);
            if (d > skirtR - 1.2f * k) skirt = Scale(skirt, 0.55f);
            return skirt;
          }
          if (d > bodyR) return Rgb(8, 7, 6);
          if (d > capR) {
            // Bakelite body, a slight dome.
            const float light = DomeLight(dx, dy, bodyR);
            return Lift(Rgb(30, 27, 24), 0.09f * light + 0.08f * Smooth(0.4f, 1.0f, light));
          }
          if (d > capR - 1.0f * k) return Rgb(70, 68, 64);
          // Spun aluminium cap: rings of brushing, a conical sheen, a dark pointer groove.
          const float sheen =
              0.10f * std::cos(2.0f * (phi - 0.7f)) + 0.05f * DomeLight(dx, dy, capR);
          Rgba cap =
              Lift(Rgb(176, 173, 166), sheen + 0.025f * Noise(static_cast<int>(d * 6.0f), 0, 7));
          if (onPointer) cap = Rgb(40, 36, 32);
          return cap;
        },
        3);
  }
  return strip;
}

Canvas PaintPanel(TextSetter& bold, TextSetter& regular, float scale) {
  Canvas c(304, 416, scale);
  // Anodised, horizontally brushed front with a bevelled edge.
  c.Fill(0, 0, 304, 416, [&](float fx, float fy) {
    const int x = Cell(fx), y = Cell(fy);
    const float rowStreak = 0.02f * Noise(0, y, 1);
    const float grain = 0.012f * Noise(x, y, 2) + 0.015f * Noise(x / 37, y, 3) + rowStreak;
    Rgba p = Lift(Rgb(58, 52, 46), grain + 0.035f * (1.0f - y / 416.0f));
    const int edge = std::min(std::min(x, y), std::min(303 - x, 415 - y));
    const bool litEdge = (x < 3 || y < 3) && x < 301 && y < 413;
    if (edge < 3) p = Lift(p, litEdge ? 0.1f : -0.1f);
    return p;
  });
  for (auto [x, y, a] : {std::tuple{11.0f, 11.0f, 0.4f},
                         {293.0f, 11.0f, 1.2f},
                         {11.0f, 405.0f, 2.1f},
                         {293.0f, 405.0f, 0.9f}}) {
    Screw(c, x, y, a);
  }

  // The meter window's recess, then the glass itself.
  c.Fill(kWindowL - 4, kWindowT - 4, kWindowR + 4, kWindowB + 4, [&](float fx, float fy) {
    const int x = Cell(fx), y = Cell(fy);
    const bool outerTop = y < kWindowT - 2 || x < kWindowL - 2;
    return outerTop ? Rgb(20, 18, 16) : Rgb(92, 86, 78);
  });
  c.Fill(kWindowL, kWindowT, kWindowR, kWindowB, [&](float fx, float fy) {
    const int y = Cell(fy);
    // Smoked glass, a little denser at the top where the bezel shades it.
    float alpha = 0.30f - 0.10f * (y - kWindowT) / float(kWindowB - kWindowT);
    if (y < kWindowT + 3) alpha = 0.32f;
    Rgba glass = Rgb(56, 38, 20, alpha);
    // A diagonal reflection, its edges drawn at the picture's own resolution.
    const float band = (fx - kWindowL) + (fy - kWindowT) * 1.6f;
    if (band > 60.0f && band < 104.0f) glass = Rgb(214, 204, 186, 0.20f);
    return glass;
  });

  // The printed scale: levels in dB against the meter's reference, red from 0 up.
  const float baseline = 58.0f;
  const float x20 = NeedleCentreX(NeedleForDecibels(-20.0f));
  const float x0 = NeedleCentreX(NeedleForDecibels(0.0f));
  const float x6 = NeedleCentreX(NeedleForDecibels(6.0f));
  c.Line(x20, baseline, x0, baseline, 1.0f, kScaleInk);
  c.Line(x0, baseline + 0.5f, x6, baseline + 0.5f, 2.2f, kScaleRed);
  struct Mark {
    float db;
    const char* label;
  };
  for (const Mark& m : {Mark{-20, "20"}, Mark{-10, "10"}, Mark{-7, "7"}, Mark{-5, "5"},
                        Mark{-3, "3"}, Mark{-2, nullptr}, Mark{-1, "1"}, Mark{0, "0"},
                        Mark{1, nullptr}, Mark{2, nullptr}, Mark{3, "+3"}, Mark{6, "+6"}}) {
    const float x = NeedleCentreX(NeedleForDecibels(m.db));
    const Rgba& ink = m.db >= 0 ? kScaleRed : kScaleInk;
    c.Line(x, baseline - (m.label ? 6.0f : 3.5f), x, baseline, 1.0f, ink);
    if (m.label) bold.Draw(c, m.label, x, baseline - 8.0f, 7, ink);
  }
  for (float db : {-15.0f, -6.0f, -4.0f, 4.0f, 5.0f}) {
    const float x = NeedleCentreX(NeedleForDecibels(db));
    c.Line(x, baseline - 2.5f, x, baseline, 0.8f, db >= 0 ? kScaleRed : kScaleInk);
  }
  bold.Draw(c, "-", x20 - 9.0f, baseline - 8.0f, 8, kScaleInk);
  bold.Draw(c, "VU", 151.5f, 80.0f, 11, kScaleInk, 1, 1.0f);

  // Knob scales: eleven ticks from minimum to maximum, the range printed at the ends.
  struct KnobLegend {
    float cx, cy;
    const char* name;
    const char* lo;
    const char* hi;
    bool centred;
  };
  for (const KnobLegend& kl : {KnobLegend{84, 168, "DRIVE", "0", "10", false},
                               KnobLegend{219, 168, "OUTPUT COMP.", "-20", "+20", true},
                               KnobLegend{84, 296, "ASYMMETRY", "0", "10", false},
                               KnobLegend{219, 296, "FREQ RESPONSE", "-10", "+10", true}}) {
    for (int i = 0; i <= 10; ++i) {
      const float a = -kKnobSweep + i * (2.0f * kKnobSweep / 10.0f);
      const bool major = i == 0 || i == 10 || (kl.centred && i == 5);
      const float r0 = 47.0f, r1 = major ? 53.0f : 51.0f;
      c.Line(kl.cx + std::sin(a) * r0, kl.cy - std::cos(a) * r0, kl.cx + std::sin(a) * r1,
             kl.cy - std::cos(a) * r1, major ? 1.6f : 1.1f, Scale(kInk, 0.9f));
    }
    const float ex = std::sin(kKnobSweep) * 57.0f, ey = std::cos(kKnobSweep) * 57.0f;
    regular.Engrave(c, kl.lo, kl.cx - ex, kl.cy - ey + 8.0f, 8, kInk);
    regular.Engrave(c, kl.hi, kl.cx + ex, kl.cy - ey + 8.0f, 8, kInk);
    bold.Engrave(c, kl.name, kl.cx, kl.cy + 66.0f, 9, kInk, 1, 1.0f);
  }

  // The small knobs beside the meter, the bypass hint under it, the VU mode lamps above it.
  bold.Engrave(c, "INPUT", 33.0f, 100.0f, 7, kInk, 1, 0.8f);
  bold.Engrave(c, "TRIM", 33.0f, 109.0f, 7, kInk, 1, 0.8f);
  bold.Engrave(c, "CROSS", 272.0f, 100.0f, 7, kInk, 1, 0.8f);
  bold.Engrave(c, "TALK", 272.0f, 109.0f, 7, kInk, 1, 0.8f);
  regular.Engrave(c, "CLICK THE METER TO BYPASS", 151.5f, 103.0f, 7, Scale(kInk, 0.85f), 1, 0.6f);
  bold.Engrave(c, "INPUT", 129.0f, 12.0f, 7, kInk, 1, 0.6f);
  bold.Engrave(c, "OUT-IN", 183.0f, 12.0f, 7, kInk, 1, 0.6f);
  bold.Engrave(c, "OUTPUT", 237.0f, 12.0f, 7, kInk, 1, 0.6f);
  bold.Engrave(c, "VU MODE", 100.0f, 28.0f, 7, kInk, 2, 0.8f);

  // The maker's plate along the bottom.
  c.Line(22.0f, 372.0f, 282.0f, 372.0f, 1.0f, Rgb(0, 0, 0, 0.5f));
  c.Line(22.0f, 373.0f, 282.0f, 373.0f, 1.0f, Rgb(255, 255, 255, 0.1f));
  bold.Engrave(c, "TAVO", 152.0f, 395.0f, 20, kInk, 1, 7.0f);
  regular.Engrave(c, "HARMONIC SATURATOR", 152.0f, 407.0f, 7, Scale(kInk, 0.8f), 1, 2.0f);
  return c;
}

Canvas PaintBypassStrip(TextSetter& bold, float scale) {
  Canvas strip(192, 76, scale); // frame 1 (the top half) stays fully transparent
  const float top = 38.0f;
  const float ix = 70.0f, iy = top + 17.0f; // where the glass was struck
  strip.Shade(
      0, 38, 192, 76,
      [&](float x, float y) {
        const float d = std::sqrt((x - ix) * (x - ix) + (y - iy) * (y - iy));
        return Rgb(236, 240, 244, 0.10f + 0.32f * (1.0f - Smooth(2.0f, 16.0f, d)));
      },
      2);

  // Radial cracks, each wandering a little as it runs out to the edge.
  constexpr int kRays = 12;
  std::vector<std::vector<std::pair<float, float>>> rays;
  for (int r = 0; r < kRays; ++r) {
    float a = (r + 0.5f * Noise(r, 0, 21)) * 2.0f * kPi / kRays;
    std::vector<std::pair<float, float>> ray{{ix, iy}};
    float x = ix, y = iy;
    for (int step = 0; step < 12; ++step) {
      const float len = 7.0f + 5.0f * (0.5f + 0.5f * Noise(r, step, 22));
      a += 0.35f * Noise(r, step, 23);
      x += std::sin(a) * len;
      y -= std::cos(a) * len * 0.8f;
      ray.emplace_back(x, y);
      if (x < -2 || x > 194 || y < top - 2 || y > top + 40) break;
    }
    rays.push_back(ray);
  }
  for (const auto& ray : rays)
    Crack(strip, ray, 0.9f);
  // Two broken rings joining neighbouring rays.
  for (size_t ring : {1u, 3u}) {
    for (int r = 0; r < kRays; ++r) {
      const auto& a = rays[static_cast<size_t>(r)];
      const auto& b = rays[static_cast<size_t>((r + 1) % kRays)];
      if (a.size() <= ring || b.size() <= ring || Noise(r, static_cast<int>(ring), 24) < -0.3f)
        continue;
      Crack(strip, {a[ring], b[ring]}, 0.7f);
    }
  }
  bold.Draw(strip, "BYPASSED", 186.0f, top + 34.0f, 8, Rgb(196, 40, 28, 0.9f), 2, 1.0f);
  // Whatever strayed above the frame's top must not show in the clear frame.
  strip.Fill(0, 0, 192, 38, [](float, float) { return Rgba{}; });
  return strip;
}

} // namespace tavo::artwork
