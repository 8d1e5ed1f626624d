#pragma once
// The commands of tavo-host. Each answers the process exit status or throws a CommandError
// with the one line the user sees.

#include <atomic>
#include <ostream>
#include <string>
#include <vector>

#include "host/driver/HostModule.h"
#include "host/tavo-host/Session.h"

namespace tavo::host::cli {

// Set by SIGINT and SIGTERM; long work stops at the next piece and cleans up.
extern std::atomic<bool> gInterrupted;

struct RenderArgs {
  std::vector<std::string> inputs;
  std::string output;    // -o: one input only
  std::string outputDir; // --out-dir
  SessionOptions session;
  std::string saveState;
  std::string format;     // empty: the input's (or the output name's)
  std::string sampleType; // empty: the input's
  bool delayCompensation = true;
  bool quiet = false;
};

struct EditorArgs {
  std::string output; // PNG
  std::vector<std::string> settings;
  std::string input;      // rendered first, so the needle shows its level
  int scalePercent = 100; // the display scale the editor is drawn at
};

int RunInfo(HostModule& module, std::ostream& out);
int RunRender(HostModule& module, const RenderArgs& args);
int RunEditor(HostModule& module, const EditorArgs& args);
int RunDemo(HostModule& module, const std::string& folder);

// Writes the editor's frame, drawn at the display scale in percent, as a PNG, in place only once
// complete.
void WriteEditorPng(HostProcess& process, const std::string& path, int scalePercent = 100);

// "'TAVO'" for a printable four-character code, else its hexadecimal value.
std::string FourCCText(int32_t code);
// The host's name of a category bit ("Harmonic" for 64).
std::string CategoryName(int32_t category);

} // namespace tavo::host::cli
