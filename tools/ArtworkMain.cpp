// Draws the seven images of TAVO's editor into a folder (resources/img in the source tree), once
// for each scale the editor is painted at: "BG1.png" at 1, "BG1@1.5x.png" and "BG1@2x.png".
//   tavo_artwork <folder>

#include <cstdio>
#include <string>

#include <fontconfig/fontconfig.h>

#include "drawing/LICE_Png.h"
#include "tools/ArtworkPainter.h"

namespace {

bool Write(const std::string& folder, const std::string& stem, const char* suffix,
           const tavo::artwork::Canvas& canvas) {
  const std::string path = folder + "/" + stem + suffix + ".png";
  const auto bitmap = canvas.ToBitmap();
  if (!WritePngToFile(path.c_str(), *bitmap)) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return false;
  }
  std::printf("%s  %d x %d\n", path.c_str(), canvas.Width(), canvas.Height());
  return true;
}

int PaintAll(const std::string& folder) {
  using namespace tavo::artwork;
  TextSetter bold("DejaVu Sans:bold");
  TextSetter regular("DejaVu Sans Condensed");
  if (!bold.Ok() || !regular.Ok()) {
    std::fprintf(stderr, "no font found through fontconfig\n");
    return 1;
  }
  struct Set {
    float scale;
    const char* suffix;
  };
  bool ok = true;
  for (const Set& set : {Set{1.0f, ""}, Set{1.5f, "@1.5x"}, Set{2.0f, "@2x"}}) {
    const float k = set.scale;
    const char* sfx = set.suffix;
    ok = Write(folder, "VUBG1", sfx, PaintMeterFace(k)) && ok;
    ok = Write(folder, "BG1", sfx, PaintPanel(bold, regular, k)) && ok;
    ok = Write(folder, "LED", sfx, PaintLedStrip(k)) && ok;
    ok = Write(folder, "KnobS1", sfx, PaintKnobStrip(100, 128, k)) && ok;
    ok = Write(folder, "InGain1", sfx, PaintKnobStrip(40, 51, k)) && ok;
    ok = Write(folder, "Needle1", sfx, PaintNeedle(k)) && ok;
    ok = Write(folder, "Bypass", sfx, PaintBypassStrip(bold, k)) && ok;
  }
  return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  const int status = PaintAll(argv[1]);
  // The faces are gone by now; fontconfig's own configuration goes with them.
  FcFini();
  return status;
}
