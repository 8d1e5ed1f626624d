#pragma once
// Sound files as tavo-host reads and writes them (libsndfile): formats and sample types by
// name, a reader of interleaved float frames, and a writer that puts its file in place only
// when it is complete (it writes a hidden temporary file in the target folder and renames it).

#include <sndfile.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tavo::host::cli {

// A file format: libsndfile's major format and sample type (its subtype).
struct FileFormat {
  int major = SF_FORMAT_WAV;
  int subtype = SF_FORMAT_FLOAT;
  int Code() const { return major | subtype; }
};

// Names as the command line takes them ("wav", "flac", …; "pcm16", "float", …). Unknown names
// throw a CommandError that lists the known ones.
int MajorFormatNamed(const std::string& name);
int SubtypeNamed(const std::string& name);
std::string MajorFormatName(int major);
std::string SubtypeName(int subtype);
// The format a file name's extension asks for; 0 when the extension names none.
int MajorFormatForPath(const std::string& path);
// The usual extension of a major format, with its dot.
std::string ExtensionFor(int major);
// True when samples beyond ±1 cannot be stored (integer sample types).
bool Clips(int subtype);
// The format for an output: the asked or the input's major format and sample type; a sample
// type the major format cannot hold falls back to the format's usual one unless it was asked
// for, which is an error.
FileFormat OutputFormat(const FileFormat& input, int askedMajor, int askedSubtype, int channels,
                        int rate);

class SoundReader {
public:
  // Throws a CommandError naming the file when it is missing or not a sound file.
  explicit SoundReader(const std::string& path);
  ~SoundReader();
  SoundReader(const SoundReader&) = delete;
  SoundReader& operator=(const SoundReader&) = delete;

  int Channels() const { return info_.channels; }
  int Rate() const { return info_.samplerate; }
  int64_t Frames() const { return info_.frames; }
  FileFormat Format() const {
    return {info_.format & SF_FORMAT_TYPEMASK, info_.format & SF_FORMAT_SUBMASK};
  }
  const std::string& Path() const { return path_; }
  // Up to frames interleaved frames; 0 at the end. Throws on a read error.
  int64_t Read(float* interleaved, int64_t frames);

private:
  std::string path_;
  SF_INFO info_{};
  SNDFILE* file_ = nullptr;
};

// A file that appears under its name only once it is complete: the bytes go to a hidden file in
// the same folder, renamed over the target by Commit. Without Commit the temporary file is
// removed.
class TempOutput {
public:
  // Throws when the folder cannot take a new file.
  explicit TempOutput(const std::string& target);
  ~TempOutput();
  TempOutput(const TempOutput&) = delete;
  TempOutput& operator=(const TempOutput&) = delete;

  int TakeDescriptor(); // the open descriptor; the caller closes it from then on
  const std::string& Target() const { return target_; }
  void WriteAll(const void* bytes, size_t length); // throws on a short write (full disk)
  void Commit();

private:
  std::string target_;
  std::string temp_;
  int fd_ = -1;
  bool committed_ = false;
};

class SoundWriter {
public:
  // Opens the output's temporary file for the format; throws when libsndfile refuses.
  SoundWriter(TempOutput& output, const FileFormat& format, int channels, int rate);
  ~SoundWriter();
  SoundWriter(const SoundWriter&) = delete;
  SoundWriter& operator=(const SoundWriter&) = delete;

  // Throws on a short write (full disk) naming the target.
  void Write(const float* interleaved, int64_t frames);
  // Finishes the file (headers) and puts it in place.
  void Commit();

private:
  TempOutput& output_;
  SNDFILE* file_ = nullptr;
  int channels_;
};

// The whole content of a small file (a state chunk); throws naming the file.
std::vector<uint8_t> ReadWholeFile(const std::string& path, size_t largest);
// True when both paths name one existing file.
bool SameFile(const std::string& a, const std::string& b);

} // namespace tavo::host::cli
