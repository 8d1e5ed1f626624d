#include "lv2/Turtle.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "lv2/PortLayout.h"

namespace tavo::lv2 {

namespace {

constexpr const char* kPrefixes = R"(@prefix bufsz: <http://lv2plug.in/ns/ext/buf-size#> .
@prefix doap: <http://usefulinc.com/ns/doap#> .
@prefix foaf: <http://xmlns.com/foaf/0.1/> .
@prefix log: <http://lv2plug.in/ns/ext/log#> .
@prefix lv2: <http://lv2plug.in/ns/lv2core#> .
@prefix opts: <http://lv2plug.in/ns/ext/options#> .
@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .
@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .
@prefix state: <http://lv2plug.in/ns/ext/state#> .
@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .
@prefix units: <http://lv2plug.in/ns/extensions/units#> .
@prefix urid: <http://lv2plug.in/ns/ext/urid#> .
)";

struct Plugin {
  const char* uri;
  const char* layoutName;
  int channels;
};
constexpr Plugin kPlugins[] = {{kMonoURI, "Mono", 1}, {kStereoURI, "Stereo", 2}};

// A Turtle decimal: always with a point (or an exponent), so every bound reads as a number of
// the same kind.
std::string Number(double v) {
  char text[40];
  std::snprintf(text, sizeof text, "%.9g", v);
  std::string s = text;
  if (s.find_first_of(".eEn") == std::string::npos) s += ".0";
  return s;
}

std::string Quoted(const char* text) {
  std::string s = "\"";
  for (const char* p = text; *p; ++p) {
    if (*p == '"' || *p == '\\') s += '\\';
    s += *p;
  }
  return s + "\"";
}

void WriteAudioPorts(std::ostream& out, const PortLayout& layout) {
  static constexpr const char* kSides[2][2] = {{"", ""}, {"_l", "_r"}};
  static constexpr const char* kSideNames[2][2] = {{"", ""}, {" Left", " Right"}};
  const int layoutIdx = layout.channels == 2 ? 1 : 0;
  for (int direction = 0; direction < 2; ++direction) {
    for (int c = 0; c < layout.channels; ++c) {
      const uint32_t index = direction == 0 ? layout.AudioIn(c) : layout.AudioOut(c);
      out << "    [\n        a lv2:AudioPort , "
          << (direction == 0 ? "lv2:InputPort" : "lv2:OutputPort") << " ;\n        lv2:index "
          << index << " ;\n        lv2:symbol \"" << (direction == 0 ? "in" : "out")
          << kSides[layoutIdx][c] << "\" ;\n        lv2:name \""
          << (direction == 0 ? "Input" : "Output") << kSideNames[layoutIdx][c] << "\" ;\n    ] ,\n";
    }
  }
}

void WriteParamPort(std::ostream& out, const IParameter& param, uint32_t index, bool isEnable) {
  out << "    [\n        a lv2:InputPort , lv2:ControlPort ;\n        lv2:index " << index
      << " ;\n";
  if (isEnable) {
    // The host's own enable control: on processes, off bypasses with the effect's crossfade.
    out << "        lv2:symbol \"enable\" ;\n        lv2:name \"Enable\" ;\n"
        << "        lv2:designation lv2:enabled ;\n        lv2:portProperty lv2:toggled ;\n"
        << "        lv2:default " << Number(param.DefaultValue() != 0.0 ? 0.0 : 1.0)
        << " ;\n        lv2:minimum 0.0 ;\n        lv2:maximum 1.0 ;\n    ] ,\n";
    return;
  }
  out << "        lv2:symbol \"" << SymbolFromName(param.GetName()) << "\" ;\n        lv2:name "
      << Quoted(param.GetName()) << " ;\n        lv2:default " << Number(param.DefaultValue())
      << " ;\n        lv2:minimum " << Number(param.Min()) << " ;\n        lv2:maximum "
      << Number(param.Max()) << " ;\n";
  switch (param.Kind()) {
  case ParamKind::Bool:
    out << "        lv2:portProperty lv2:toggled ;\n";
    break;
  case ParamKind::Int:
    out << "        lv2:portProperty lv2:integer ;\n";
    break;
  case ParamKind::Enum:
    out << "        lv2:portProperty lv2:integer , lv2:enumeration ;\n";
    break;
  default:
    break;
  }
  if (param.Kind() != ParamKind::Double) {
    for (int i = 0; i < param.GetDisplayTextCount(); ++i) {
      int value = 0;
      const char* text = param.GetDisplayTextAt(i, &value);
      out << "        lv2:scalePoint [ rdfs:label " << Quoted(text) << " ; rdf:value "
          << Number(value) << " ] ;\n";
    }
  }
  if (std::strcmp(param.GetUnitLabel(), "dB") == 0) out << "        units:unit units:db ;\n";
  out << "    ] ,\n";
}

void WritePlugin(std::ostream& out, const Plugin& plugin, const BundleIdentity& identity) {
  const PlugDescriptor& d = identity.descriptor;
  const PortLayout layout{plugin.channels, identity.plug.NParams()};
  const uint32_t version = static_cast<uint32_t>(d.version);
  out << "\n<" << plugin.uri << ">\n    a lv2:Plugin , lv2:DistortionPlugin , doap:Project ;\n"
      << "    doap:name \"" << d.effectName << " (" << plugin.layoutName << ")\" ;\n"
      << "    doap:maintainer [ foaf:name " << Quoted(d.makerName) << " ] ;\n"
      << "    lv2:minorVersion " << (version / 256) % 256 << " ;\n"
      << "    lv2:microVersion " << version % 256 << " ;\n"
      << "    lv2:optionalFeature lv2:hardRTCapable , urid:map , log:log , opts:options ;\n"
      << "    opts:supportedOption bufsz:maxBlockLength ;\n"
      << "    lv2:extensionData state:interface ;\n"
      << "    ui:ui <" << kUIURI << "> ;\n"
      << "    lv2:port\n";
  WriteAudioPorts(out, layout);
  for (int i = 0; i < identity.plug.NParams(); ++i)
    WriteParamPort(out, *identity.plug.GetParam(i), layout.Param(i), i == identity.enableParam);
  out << "    [\n        a lv2:OutputPort , lv2:ControlPort ;\n        lv2:index "
      << layout.Latency()
      << " ;\n        lv2:symbol \"latency\" ;\n        lv2:name \"Latency\" ;\n"
      << "        lv2:designation lv2:latency ;\n"
      << "        lv2:portProperty lv2:reportsLatency , lv2:integer ;\n"
      << "        lv2:minimum 0.0 ;\n        lv2:maximum " << Number(d.latency) << " ;\n"
      << "        units:unit units:frame ;\n    ] , [\n"
      << "        a lv2:OutputPort , lv2:ControlPort ;\n        lv2:index " << layout.Level()
      << " ;\n        lv2:symbol \"level\" ;\n        lv2:name \"Level\" ;\n"
      << "        rdfs:comment \"The meter needle's position: 0.015 at rest, 0.98 at most.\" ;\n"
      << "        lv2:minimum 0.0 ;\n        lv2:maximum 1.0 ;\n    ] .\n";
}

// The editor in an X11 window: the host embeds it and drives it from its idle loop, and sends it
// the level output for the needle.
void WriteUI(std::ostream& out) {
  out << "\n<" << kUIURI << ">\n    a ui:X11UI ;\n"
      << "    lv2:requiredFeature ui:idleInterface ;\n"
      << "    lv2:optionalFeature ui:parent , ui:resize , ui:touch , opts:options ;\n"
      << "    opts:supportedOption ui:scaleFactor ;\n"
      << "    lv2:extensionData ui:idleInterface , opts:interface ;\n    ui:portNotification";
  for (size_t i = 0; i < std::size(kPlugins); ++i) {
    out << (i ? " ,\n" : "\n") << "        [ ui:plugin <" << kPlugins[i].uri
        << "> ; lv2:symbol \"level\" ; ui:protocol ui:floatProtocol ]";
  }
  out << " .\n";
}

} // namespace

std::string SymbolFromName(const char* name) {
  std::string symbol;
  if (!std::isalpha(static_cast<unsigned char>(name[0]))) symbol += '_';
  for (const char* p = name; *p; ++p) {
    const unsigned char c = static_cast<unsigned char>(*p);
    symbol += std::isalnum(c) ? static_cast<char>(std::tolower(c)) : '_';
  }
  return symbol;
}

void WriteManifest(std::ostream& out) {
  out << "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
      << "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n";
  for (const Plugin& plugin : kPlugins) {
    out << "\n<" << plugin.uri << ">\n    a lv2:Plugin ;\n    lv2:binary <" << kBinaryName
        << "> ;\n    rdfs:seeAlso <" << kTurtleName << "> .\n";
  }
  out << "\n<" << kUIURI << ">\n    a <http://lv2plug.in/ns/extensions/ui#X11UI> ;\n"
      << "    <http://lv2plug.in/ns/extensions/ui#binary> <" << kBinaryName << "> ;\n"
      << "    rdfs:seeAlso <" << kTurtleName << "> .\n";
}

void WritePluginDescriptions(std::ostream& out, const BundleIdentity& identity) {
  out << kPrefixes;
  for (const Plugin& plugin : kPlugins)
    WritePlugin(out, plugin, identity);
  WriteUI(out);
}

} // namespace tavo::lv2
