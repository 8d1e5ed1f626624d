#include "host/tavo-host/AudioFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "host/tavo-host/CommandError.h"
#include "host/tavo-host/SystemFiles.h"

namespace tavo::host::cli {

namespace {

struct Named {
  const char* name;
  int code;
  const char* extension; // major formats only
};

constexpr Named kMajorFormats[] = {
    {"wav", SF_FORMAT_WAV, ".wav"},    {"flac", SF_FORMAT_FLAC, ".flac"},
    {"aiff", SF_FORMAT_AIFF, ".aiff"}, {"ogg", SF_FORMAT_OGG, ".ogg"},
    {"caf", SF_FORMAT_CAF, ".caf"},    {"w64", SF_FORMAT_W64, ".w64"},
    {"rf64", SF_FORMAT_RF64, ".rf64"}, {"au", SF_FORMAT_AU, ".au"},
};
// Extensions that name a format without being its usual one.
constexpr Named kOtherExtensions[] = {{"", SF_FORMAT_AIFF, ".aif"}, {"", SF_FORMAT_OGG, ".oga"}};

constexpr Named kSubtypes[] = {
    {"pcm16", SF_FORMAT_PCM_16, nullptr},  {"pcm24", SF_FORMAT_PCM_24, nullptr},
    {"pcm32", SF_FORMAT_PCM_32, nullptr},  {"float", SF_FORMAT_FLOAT, nullptr},
    {"double", SF_FORMAT_DOUBLE, nullptr}, {"pcm8", SF_FORMAT_PCM_S8, nullptr},
    {"pcmu8", SF_FORMAT_PCM_U8, nullptr},  {"vorbis", SF_FORMAT_VORBIS, nullptr},
    {"ulaw", SF_FORMAT_ULAW, nullptr},     {"alaw", SF_FORMAT_ALAW, nullptr},
};

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}

template <size_t N> std::string NameList(const Named (&table)[N]) {
  std::string list;
  for (const Named& n : table)
    list += (list.empty() ? "" : ", ") + std::string(n.name);
  return list;
}

template <size_t N> int Lookup(const Named (&table)[N], const std::string& name, const char* what) {
  const std::string wanted = Lower(name);
  for (const Named& n : table)
    if (wanted == n.name) return n.code;
  throw CommandError("unknown " + std::string(what) + " '" + name + "'; known: " + NameList(table));
}

template <size_t N> std::string NameOf(const Named (&table)[N], int code) {
  for (const Named& n : table)
    if (n.code == code) return n.name;
  char text[16];
  std::snprintf(text, sizeof text, "0x%04x", code);
  return text;
}

bool Valid(int major, int subtype, int channels, int rate) {
  SF_INFO info{};
  info.format = major | subtype;
  info.channels = channels;
  info.samplerate = rate;
  return sf_format_check(&info) != 0;
}

std::string SystemError() {
  return std::strerror(errno);
}

} // namespace

int MajorFormatNamed(const std::string& name) {
  return Lookup(kMajorFormats, name, "format");
}
int SubtypeNamed(const std::string& name) {
  return Lookup(kSubtypes, name, "sample type");
}
std::string MajorFormatName(int major) {
  return NameOf(kMajorFormats, major);
}
std::string SubtypeName(int subtype) {
  return NameOf(kSubtypes, subtype);
}

int MajorFormatForPath(const std::string& path) {
  const std::string extension = Lower(std::filesystem::path(path).extension().string());
  for (const Named& n : kMajorFormats)
    if (extension == n.extension) return n.code;
  for (const Named& n : kOtherExtensions)
    if (extension == n.extension) return n.code;
  return 0;
}

std::string ExtensionFor(int major) {
  for (const Named& n : kMajorFormats)
    if (n.code == major) return n.extension;
  return ".snd";
}

bool Clips(int subtype) {
  return subtype != SF_FORMAT_FLOAT && subtype != SF_FORMAT_DOUBLE && subtype != SF_FORMAT_VORBIS &&
         subtype != SF_FORMAT_OPUS;
}

FileFormat OutputFormat(const FileFormat& input, int askedMajor, int askedSubtype, int channels,
                        int rate) {
  FileFormat out{askedMajor ? askedMajor : input.major,
                 askedSubtype ? askedSubtype : input.subtype};
  if (Valid(out.major, out.subtype, channels, rate)) return out;
  if (askedSubtype)
    throw CommandError(MajorFormatName(out.major) + " files cannot hold " +
                       SubtypeName(out.subtype) + " samples");
  // The input's sample type does not fit the chosen format: take the format's usual one.
  for (int subtype : {SF_FORMAT_VORBIS, SF_FORMAT_PCM_24, SF_FORMAT_FLOAT, SF_FORMAT_PCM_16}) {
    if (Valid(out.major, subtype, channels, rate)) {
      out.subtype = subtype;
      return out;
    }
  }
  throw CommandError(MajorFormatName(out.major) + " files cannot hold " + std::to_string(channels) +
                     " channels at " + std::to_string(rate) + " Hz");
}

// ---- Reading ----

SoundReader::SoundReader(const std::string& path) : path_(path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0)
    throw CommandError("cannot read " + path + ": " + SystemError());
  if (S_ISDIR(st.st_mode)) throw CommandError("cannot read " + path + ": it is a folder");
  file_ = sf_open(path.c_str(), SFM_READ, &info_);
  if (!file_)
    throw CommandError(path + " is not a sound file tavo-host can read (" + sf_strerror(nullptr) +
                       ")");
}

SoundReader::~SoundReader() {
  if (file_) sf_close(file_);
}

int64_t SoundReader::Read(float* interleaved, int64_t frames) {
  const sf_count_t got = sf_readf_float(file_, interleaved, frames);
  if (got < 0 || (got < frames && sf_error(file_) != SF_ERR_NO_ERROR))
    throw CommandError("cannot read " + path_ + ": " + sf_strerror(file_));
  return got;
}

// ---- Writing ----

TempOutput::TempOutput(const std::string& target) : target_(target) {
  const std::filesystem::path t(target);
  const std::filesystem::path folder = t.has_parent_path() ? t.parent_path() : ".";
  std::string hidden = ".";
  hidden += t.filename().string();
  hidden += ".XXXXXX";
  temp_ = (folder / hidden).string();
  std::vector<char> name(temp_.begin(), temp_.end());
  name.push_back('\0');
  fd_ = mkstemp(name.data());
  if (fd_ < 0) throw CommandError("cannot write " + target + ": " + SystemError());
  temp_ = name.data();
  MakeOrdinaryFile(fd_);
}

TempOutput::~TempOutput() {
  if (fd_ >= 0) close(fd_);
  if (!committed_) unlink(temp_.c_str());
}

int TempOutput::TakeDescriptor() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

void TempOutput::WriteAll(const void* bytes, size_t length) {
  const auto* p = static_cast<const uint8_t*>(bytes);
  while (length > 0) {
    const ssize_t n = write(fd_, p, length);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw CommandError("cannot write " + target_ + ": " + SystemError());
    p += n;
    length -= static_cast<size_t>(n);
  }
}

void TempOutput::Commit() {
  if (fd_ >= 0) {
    const int failed = close(fd_);
    fd_ = -1;
    if (failed != 0) throw CommandError("cannot write " + target_ + ": " + SystemError());
  }
  if (!MoveOver(temp_, target_))
    throw CommandError("cannot write " + target_ + ": " + SystemError());
  committed_ = true;
}

SoundWriter::SoundWriter(TempOutput& output, const FileFormat& format, int channels, int rate)
    : output_(output), channels_(channels) {
  SF_INFO info{};
  info.format = format.Code();
  info.channels = channels;
  info.samplerate = rate;
  file_ = sf_open_fd(output.TakeDescriptor(), SFM_WRITE, &info, SF_TRUE);
  if (!file_) throw CommandError("cannot write " + output.Target() + ": " + sf_strerror(nullptr));
  // Samples past full scale are held at full scale rather than wrapping around.
  sf_command(file_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
}

SoundWriter::~SoundWriter() {
  if (file_) sf_close(file_);
}

void SoundWriter::Write(const float* interleaved, int64_t frames) {
  if (sf_writef_float(file_, interleaved, frames) != frames)
    throw CommandError("cannot write " + output_.Target() + ": " + sf_strerror(file_));
}

void SoundWriter::Commit() {
  sf_write_sync(file_);
  const int error = sf_error(file_);
  const int closed = sf_close(file_);
  file_ = nullptr;
  if (error != SF_ERR_NO_ERROR || closed != 0)
    throw CommandError("cannot write " + output_.Target() + ": " + sf_error_number(error));
  output_.Commit();
}

std::vector<uint8_t> ReadWholeFile(const std::string& path, size_t largest) {
  std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!f) throw CommandError("cannot read " + path + ": " + SystemError());
  std::vector<uint8_t> bytes(largest + 1);
  const size_t n = std::fread(bytes.data(), 1, bytes.size(), f.get());
  if (std::ferror(f.get())) throw CommandError("cannot read " + path + ": " + SystemError());
  if (n > largest) throw CommandError(path + " is too large to be a state");
  bytes.resize(n);
  return bytes;
}

// The file system's own identity of a file (device and inode, or volume and file index on
// Windows, whose stat() has no inode and would call every two files on a drive the same).
bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error) && !error;
}

} // namespace tavo::host::cli
