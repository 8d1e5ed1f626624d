// tavo-host info: the module's identity, its types and a table of the controls of a process.

#include <algorithm>
#include <array>
#include <cstdio>
#include <iomanip>
#include <string>
#include <vector>

#include "host/tavo-host/CommandError.h"
#include "host/tavo-host/Commands.h"
#include "host/tavo-host/ControlSettings.h"

namespace tavo::host::cli {

namespace {

// The host's category bits and their names.
constexpr std::pair<int32_t, const char*> kCategories[] = {
    {1, "EQ"},       {2, "Dynamics"},     {4, "PitchShift"}, {8, "Reverb"},
    {16, "Delay"},   {32, "Modulation"},  {64, "Harmonic"},  {128, "NoiseReduction"},
    {256, "Dither"}, {512, "SoundField"}, {8192, "Effect"},
};

constexpr int kInfoRate = 44100;

std::string RangeText(const ControlInfo& c) {
  if (c.continuous) return c.lowestText + " .. " + c.highestText;
  std::string items;
  for (const std::string& item : c.items)
    items += (items.empty() ? "" : " | ") + item;
  return items.empty() ? c.lowestText + " .. " + c.highestText : items;
}

} // namespace

std::string FourCCText(int32_t code) {
  std::string text = "'";
  for (int shift = 24; shift >= 0; shift -= 8) {
    const auto c = static_cast<unsigned char>((static_cast<uint32_t>(code) >> shift) & 0xFF);
    if (c < 0x20 || c > 0x7E) {
      char hex[16];
      std::snprintf(hex, sizeof hex, "0x%08X", static_cast<uint32_t>(code));
      return hex;
    }
    text += static_cast<char>(c);
  }
  return text + "'";
}

std::string CategoryName(int32_t category) {
  if (category == 0) return "None";
  std::string names;
  for (auto [bit, name] : kCategories)
    if (category & bit) names += (names.empty() ? "" : "+") + std::string(name);
  return names.empty() ? std::to_string(category) : names;
}

int RunInfo(HostModule& module, std::ostream& out) {
  ModuleInfo info;
  if (const int32_t status = module.Describe(info); status != 0)
    throw CommandError("cannot describe the module: " + StatusText(status));
  out << info.product << " by " << info.manufacturer << " (maker "
      << FourCCText(info.manufacturerID) << ")\n"
      << "  module    " << module.File() << "\n"
      << "  settings  " << info.settingsPath << "\n\n"
      << "Types\n";
  int channels = 0;
  for (const TypeInfo& t : info.types) {
    out << "  " << FourCCText(t.typeID) << "  " << t.inputs << " in, " << t.outputs
        << " out  category " << CategoryName(t.category) << " (" << t.category << ")  product "
        << FourCCText(t.productID) << "  \"" << t.name << "\"\n";
    channels = std::max(channels, t.inputs);
  }

  ProcessOptions options;
  options.channels = channels;
  options.sampleRate = kInfoRate;
  std::unique_ptr<HostProcess> process;
  if (const int32_t status = module.CreateProcess(options, process); status != 0)
    throw CommandError("cannot create a process: " + StatusText(status));
  std::vector<ControlInfo> controls;
  int32_t delay = 0;
  if (const int32_t status = process->DescribeControls(controls); status != 0)
    throw CommandError("cannot list the controls: " + StatusText(status));
  process->Delay(delay);

  out << "\nControls (of a " << channels << "-channel process at " << kInfoRate << " Hz; delay "
      << delay << " frames)\n";
  // Each column is as wide as its widest cell and two spaces, so that no long range (VU Mode's
  // three choices) runs into the column after it.
  std::vector<std::array<std::string, 7>> rows{
      {"index", "identifier", "name", "range", "default", "steps", "shows"}};
  for (const ControlInfo& c : controls)
    rows.push_back({std::to_string(c.index), FourCCText(c.id), c.name, RangeText(c),
                    std::to_string(c.defaultValue), std::to_string(c.steps), c.defaultText});
  std::array<size_t, 7> widths{};
  for (const auto& row : rows)
    for (size_t i = 0; i < row.size(); ++i)
      widths[i] = std::max(widths[i], row[i].size() + 2);
  for (const auto& row : rows) {
    out << "  " << std::left;
    for (size_t i = 0; i + 1 < row.size(); ++i)
      out << std::setw(static_cast<int>(widths[i])) << row[i];
    out << row.back() << "\n";
  }
  out << "\nDefaults are control values: the 32-bit range spans each control's range.\n";
  return 0;
}

} // namespace tavo::host::cli
