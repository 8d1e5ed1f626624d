// tavo-host editor: the editor window as a person would see it after the given settings, and
// after an input has played through it when one is given (the needle then shows its level).

#include <cstring>
#include <filesystem>
#include <iostream>

#include "drawing/LICE_MemBitmap.h"
#include "drawing/LICE_Png.h"
#include "host/tavo-host/AudioFile.h"
#include "host/tavo-host/CommandError.h"
#include "host/tavo-host/Commands.h"

namespace tavo::host::cli {

namespace {
constexpr int kDefaultChannels = 2;
constexpr int kDefaultRate = 44100;
} // namespace

void WriteEditorPng(HostProcess& process, const std::string& path, int scalePercent) {
  int32_t status = process.OpenEditor();
  if (status == 0 && scalePercent != 100) status = process.SetEditorScale(scalePercent);
  if (status == 0) status = process.TickEditor(); // the first tick draws the whole window
  std::vector<uint32_t> pixels;
  int32_t width = 0, height = 0;
  if (status == 0) status = process.ReadEditorFrame(pixels, width, height);
  process.CloseEditor();
  if (status != 0) throw CommandError("cannot show the editor: " + StatusText(status));

  LICE_MemBitmap frame(width, height, 1);
  for (int32_t y = 0; y < height; ++y)
    std::memcpy(frame.PixelData() + static_cast<size_t>(y) * frame.RowSpan(),
                pixels.data() + static_cast<size_t>(y) * width,
                static_cast<size_t>(width) * sizeof(uint32_t));
  const std::vector<unsigned char> png = EncodePng(frame);
  if (png.empty()) throw CommandError("cannot encode the editor's picture");
  TempOutput out(path);
  out.WriteAll(png.data(), png.size());
  out.Commit();
}

int RunEditor(HostModule& module, const EditorArgs& args) {
  std::unique_ptr<SoundReader> reader;
  if (!args.input.empty()) reader = std::make_unique<SoundReader>(args.input);
  SessionOptions options;
  options.settings = args.settings;
  auto process = OpenSession(module, reader ? reader->Channels() : kDefaultChannels,
                             reader ? reader->Rate() : kDefaultRate, options);
  if (reader) {
    Progress progress(std::filesystem::path(args.input).filename().string(), reader->Frames(),
                      true);
    Stream(
        *process, [&](float* frames, int64_t n) { return reader->Read(frames, n); }, nullptr, true,
        &progress, &gInterrupted);
  }
  WriteEditorPng(*process, args.output, args.scalePercent);
  std::cout << "wrote " << args.output << "\n";
  return 0;
}

} // namespace tavo::host::cli
