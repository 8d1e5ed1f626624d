// Draws the seven images of TAVO's editor into a folder (resources/img in the source tree).
//   tavo_artwork <folder>

#include <cstdio>
#include <string>

#include "drawing/LICE_Png.h"
#include "tools/ArtworkPainter.h"

namespace {

bool Write(const std::string& folder, const char* name, const tavo::artwork::Canvas& canvas) {
  const std::string path = folder + "/" + name;
  const auto bitmap = canvas.ToBitmap();
  if (!WritePngToFile(path.c_str(), *bitmap)) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return false;
  }
  std::printf("%s  %d x %d\n", path.c_str(), canvas.Width(), canvas.Height());
  return true;
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  using namespace tavo::artwork;
  TextSetter bold("DejaVu Sans:bold");
  TextSetter regular("DejaVu Sans Condensed");
  if (!bold.Ok() || !regular.Ok()) {
    std::fprintf(stderr, "no font found through fontconfig\n");
    return 1;
  }
  const std::string folder = argv[1];
  bool ok = Write(folder, "VUBG1.png", PaintMeterFace());
  ok = Write(folder, "BG1.png", PaintPanel(bold, regular)) && ok;
  ok = Write(folder, "LED.png", PaintLedStrip()) && ok;
  ok = Write(folder, "KnobS1.png", PaintKnobStrip(100, 128)) && ok;
  ok = Write(folder, "InGain1.png", PaintKnobStrip(40, 51)) && ok;
  ok = Write(folder, "Needle1.png", PaintNeedle()) && ok;
  ok = Write(folder, "Bypass.png", PaintBypassStrip(bold)) && ok;
  return ok ? 0 : 1;
}
