// tavo-host: the TAVO module run from the command line the way a host runs it.

#include <CLI/CLI.hpp>
#include <csignal>
#include <filesystem>
#include <iostream>

#include "host/driver/HostDriver.h"
#include "host/tavo-host/CommandError.h"
#include "host/tavo-host/Commands.h"
#include "host/tavo-host/SystemFiles.h"

namespace cli = tavo::host::cli;

namespace {

// The module sits next to the program: both are built into one folder.
std::string ModuleBesideProgram() {
  const std::string folder = cli::ProgramFolder();
  return folder.empty() ? std::string(cli::ModuleFileName())
                        : (std::filesystem::path(folder) / cli::ModuleFileName()).string();
}

void Interrupted(int) {
  cli::gInterrupted.store(true);
}

void Fail(const std::string& message) {
  std::cerr << "tavo-host: error: " << message << "\n";
}

} // namespace

int main(int argc, char** argv) {
  CLI::App app{"tavo-host runs the TAVO module as a host does: it renders sound files through "
               "it, lists its controls, shows its editor and plays its demo."};
  app.require_subcommand(1);
  // Parse errors are one line, like every other error.
  app.failure_message([](const CLI::App*, const CLI::Error& e) {
    return std::string("tavo-host: error: ") + e.what() +
           " (tavo-host --help lists the commands)\n";
  });
  std::string modulePath = ModuleBesideProgram();
  app.add_option("--module", modulePath, "the module file to load")
      ->envname("TAVO_MODULE")
      ->capture_default_str();

  auto* info = app.add_subcommand("info", "the module's identity, types and controls");

  cli::RenderArgs render;
  bool noCompensation = false;
  auto* renderCmd = app.add_subcommand("render", "render sound files through the effect");
  renderCmd->add_option("IN", render.inputs, "input files (mono or stereo)")->required();
  renderCmd->add_option("-o,--out", render.output, "output file (one input only)");
  renderCmd->add_option("--out-dir", render.outputDir, "folder for the outputs");
  renderCmd
      ->add_option("--set", render.session.settings,
                   "NAME=VALUE: a control, by name (any case) or index; a discrete "
                   "control also by its text or step number")
      ->allow_extra_args(false); // one value each time, so input files may follow
  renderCmd->add_flag("--bypass", render.session.bypass, "engage the master bypass");
  renderCmd
      ->add_option("--quantum", render.session.quantum,
                   "frames per block: 32 is the fixed quantum of a real-time host, any other N "
                   "variable blocks of up to N frames (the sound is the same)")
      ->check(CLI::Range(1, 8192))
      ->capture_default_str();
  renderCmd->add_option("--state", render.session.stateFile, "restore a saved state first");
  renderCmd->add_option("--save-state", render.saveState, "save the state after rendering");
  renderCmd->add_option("--format", render.format,
                        "wav, flac, aiff, ogg, caf, w64, rf64 or au (default: the input's)");
  renderCmd->add_option("--sample-type", render.sampleType,
                        "pcm16, pcm24, pcm32, float or double (default: the input's)");
  renderCmd->add_flag("--no-delay-compensation", noCompensation,
                      "keep the process's delay in the output");
  renderCmd->add_flag("-q,--quiet", render.quiet, "no progress bar and no summary");

  cli::EditorArgs editor;
  auto* editorCmd = app.add_subcommand("editor", "save a picture of the editor");
  editorCmd->add_option("OUT", editor.output, "PNG file to write")->required();
  editorCmd->add_option("--set", editor.settings, "NAME=VALUE, as for render")
      ->allow_extra_args(false);
  editorCmd->add_option("--input", editor.input, "render this file first (the needle moves)");
  std::string editorScale = "1";
  editorCmd
      ->add_option("--scale", editorScale,
                   "display scale: 1, 1.5 or 2 (artwork painted for each; default 1)")
      ->check(CLI::IsMember({"1", "1.5", "2"}));

  std::string demoFolder = "tavo-demo";
  auto* demoCmd = app.add_subcommand("demo", "render the built-in demo and draw its pictures");
  demoCmd->add_option("DIR", demoFolder, "folder for the results")->capture_default_str();

  CLI11_PARSE(app, argc, argv);
  render.delayCompensation = !noCompensation;
  editor.scalePercent = editorScale == "2" ? 200 : editorScale == "1.5" ? 150 : 100;

  std::signal(SIGINT, Interrupted);
  std::signal(SIGTERM, Interrupted);
  try {
    std::unique_ptr<tavo::host::HostModule> module;
    std::string detail;
    if (const int32_t status = tavo::host::HostModule::Load(modulePath, module, &detail);
        status != 0) {
      Fail("cannot load the module " + modulePath + ": " +
           (detail.empty() ? tavo::host::StatusText(status) : detail));
      return cli::CommandError::kFailed;
    }
    if (*info) return cli::RunInfo(*module, std::cout);
    if (*renderCmd) return cli::RunRender(*module, render);
    if (*editorCmd) return cli::RunEditor(*module, editor);
    if (*demoCmd) return cli::RunDemo(*module, demoFolder);
  } catch (const cli::CommandError& e) {
    Fail(e.what());
    return e.ExitStatus();
  } catch (const std::exception& e) {
    Fail(e.what());
    return cli::CommandError::kFailed;
  }
  return 0;
}
