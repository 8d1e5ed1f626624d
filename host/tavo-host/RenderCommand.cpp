// tavo-host render: sound files through the module, each into a new file of the same rate and,
// unless asked otherwise, the same format and sample type.

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "host/tavo-host/AudioFile.h"
#include "host/tavo-host/CommandError.h"
#include "host/tavo-host/Commands.h"

namespace tavo::host::cli {

std::atomic<bool> gInterrupted{false};

namespace {

namespace fs = std::filesystem;

// Where an input's output goes: -o as given; in --out-dir under the input's name; else beside
// the input with "-tavo" added to its name. The extension follows the output's format unless
// the input's already names it.
std::string OutputPath(const RenderArgs& args, const std::string& input, int major) {
  if (!args.output.empty()) return args.output;
  const fs::path in(input);
  const std::string extension =
      MajorFormatForPath(input) == major ? in.extension().string() : ExtensionFor(major);
  if (!args.outputDir.empty())
    return (fs::path(args.outputDir) / (in.stem().string() + extension)).string();
  return (in.parent_path() / (in.stem().string() + "-tavo" + extension)).string();
}

std::string Decibels(float peak) {
  if (!(peak > 0.0f)) return "-inf dBFS";
  char text[32];
  std::snprintf(text, sizeof text, "%.1f dBFS", 20.0 * std::log10(static_cast<double>(peak)));
  return text;
}

void CheckLayout(HostModule& module, const SoundReader& reader) {
  std::vector<TypeInfo> types;
  if (const int32_t status = module.Types(types); status != 0)
    throw CommandError("cannot list the module's types: " + StatusText(status));
  std::string offered;
  for (const TypeInfo& t : types) {
    if (t.inputs == reader.Channels()) return;
    offered += (offered.empty() ? "" : " or ") + std::to_string(t.inputs) + " (" +
               FourCCText(t.typeID) + ")";
  }
  throw CommandError(reader.Path() + " has " + std::to_string(reader.Channels()) +
                     " channels; the module takes files of " + offered + " channels");
}

void RenderOne(HostModule& module, const RenderArgs& args, const std::string& input) {
  SoundReader reader(input);
  CheckLayout(module, reader);

  int askedMajor = args.format.empty() ? 0 : MajorFormatNamed(args.format);
  if (!askedMajor && !args.output.empty()) askedMajor = MajorFormatForPath(args.output);
  const int askedSubtype = args.sampleType.empty() ? 0 : SubtypeNamed(args.sampleType);
  const FileFormat format =
      OutputFormat(reader.Format(), askedMajor, askedSubtype, reader.Channels(), reader.Rate());
  const std::string output = OutputPath(args, input, format.major);
  if (SameFile(input, output) ||
      fs::path(input).lexically_normal() == fs::path(output).lexically_normal())
    throw CommandError(output + " is the input itself; tavo-host never writes over its input");

  // Everything that can be refused is refused before the output exists.
  auto process = OpenSession(module, reader.Channels(), reader.Rate(), args.session);
  TempOutput temp(output);
  SoundWriter writer(temp, format, reader.Channels(), reader.Rate());
  Progress progress(fs::path(input).filename().string(), reader.Frames(), !args.quiet);
  const StreamResult result = Stream(
      *process, [&](float* frames, int64_t n) { return reader.Read(frames, n); },
      [&](const float* frames, int64_t n) { writer.Write(frames, n); }, args.delayCompensation,
      &progress, &gInterrupted);
  progress.Finish();
  writer.Commit();

  if (!args.saveState.empty()) {
    std::vector<uint8_t> chunk;
    if (const int32_t status = process->SaveChunk(chunk); status != 0)
      throw CommandError("cannot save the state: " + StatusText(status));
    TempOutput state(args.saveState);
    state.WriteAll(chunk.data(), chunk.size());
    state.Commit();
  }
  if (Clips(format.subtype) && result.clipped > 0)
    std::cerr << "tavo-host: warning: " << output << ": " << result.clipped
              << " samples beyond full scale were clipped (peak " << Decibels(result.peak)
              << "); --sample-type float keeps them\n";
  if (!args.quiet)
    std::cout << input << " -> " << output << "  (" << result.frames << " frames, "
              << MajorFormatName(format.major) << " " << SubtypeName(format.subtype) << ", peak "
              << Decibels(result.peak) << ")\n";
}

} // namespace

int RunRender(HostModule& module, const RenderArgs& args) {
  if (args.inputs.empty()) throw CommandError("render needs at least one input file");
  if (!args.output.empty() && !args.outputDir.empty())
    throw CommandError("give either -o or --out-dir, not both");
  if (!args.output.empty() && args.inputs.size() > 1)
    throw CommandError("-o names one output; use --out-dir for " +
                       std::to_string(args.inputs.size()) + " inputs");
  if (!args.outputDir.empty()) {
    std::error_code error;
    fs::create_directories(args.outputDir, error);
    if (error) throw CommandError("cannot make " + args.outputDir + ": " + error.message());
  }
  for (const std::string& input : args.inputs)
    RenderOne(module, args, input);
  return 0;
}

} // namespace tavo::host::cli
