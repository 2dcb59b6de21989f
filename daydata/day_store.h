// The day store: one code page 932 text file per day, "KVR" + year + MM + DD + ".dat", in one
// folder per year below the data folder, with an optional colour line on top. Every write
// replaces the file atomically, so a crash leaves either the old day or the new one.
#pragma once

#include <array>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

#include "daydata/light_strings.h"

namespace daydata {

// Colour codes of a day's text, as written on its colour line.
enum DayColour : int { kBlack = 0, kRed = 1, kBlue = 2, kGreen = 3, kWhite = 4 };
// The colour value (0x00BBGGRR) of a colour code 0-4.
unsigned ColourValueOf(int code);

std::string DayFileName(int year, int month, int day);
std::string DayFileName(std::string_view year_text, int month, int day);

// The grid's colour-line rule: exactly one of the one-character lines "0" to "4".
bool IsGridColourLine(std::string_view line);

// Where the entry dialog's colour came from.
enum class ColourSource {
  kColourLine,  // a first line holding 0-4, taken out of the text
  kOutOfRange,  // the first line was an integer outside 0-4: shown black, kept as text
  kFont,        // no integer first line: the text keeps the font's own colour
};

struct LoadedDay {
  std::string text;  // the lines without the colour line, each followed by CR LF
  int colour = 0;
  ColourSource source = ColourSource::kFont;
};

// A day file could not be written; the old file is unchanged. what() names the file and the
// reason in Japanese, for the user.
class EDayWriteError : public std::system_error {
 public:
  EDayWriteError(std::error_code code, const std::string& what);
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  std::string what_;
};

// "PATH (reason)" for a write of `path` that failed with `error`; a read-only file is named
// as such.
std::string WriteFailureText(const std::filesystem::path& path, std::error_code error);

// What the store tells the program while it makes folders: a notice to show, and a data folder
// that had to be made anew (to be saved as the new data folder and shown in the caption).
class DayStoreHost {
 public:
  virtual ~DayStoreHost() = default;
  virtual void Notice(const std::string& text_utf8, const std::string& caption_utf8) = 0;
  virtual void DataDirRecreated(const std::filesystem::path& data_dir) = 0;
};

class DayStore {
 public:
  DayStore(std::filesystem::path data_dir, std::filesystem::path startup_dir,
           DayStoreHost* host = nullptr)
      : data_dir_(std::move(data_dir)), startup_dir_(std::move(startup_dir)), host_(host) {}

  const std::filesystem::path& DataDir() const { return data_dir_; }
  void SetDataDir(std::filesystem::path dir) { data_dir_ = std::move(dir); }
  const std::filesystem::path& StartupDir() const { return startup_dir_; }

  // Where a day is saved: always in the year folder, which a save makes when it is missing.
  std::filesystem::path DayFilePath(std::string_view year_text, std::string_view file_name) const;
  std::filesystem::path DayFilePath(int year, int month, int day) const;

  // Where a day is read from: DayFilePath while the year folder exists, else the file of that
  // name in the data folder itself, where days were kept before year folders. The first save
  // of the year makes the folder, and from then on reads and saves meet there. This is the
  // only place that knows the fallback.
  std::filesystem::path ReadPath(std::string_view year_text, std::string_view file_name) const;
  // The folder ReadPath reads a year's days from.
  std::filesystem::path ReadFolder(std::string_view year_text) const;

  // One month's stretch of the shown view: days first_day..last_day of year/month, each read
  // into the list of its day number.
  struct ViewPart {
    int year = 0, month = 0;
    int first_day = 1, last_day = 32;
  };
  // The day texts of a view, for the month grids: clears all 33 lists and reads every part's
  // days, by absolute path (ReadPath), in the given order. A missing or unreadable file leaves
  // its list empty; a day past the month's end (30 February) is read like any other. Returns
  // the year text of the last part read, empty when there is none.
  std::string LoadView(std::span<const ViewPart> parts, std::array<TLightStrings, 33>& lists) const;

  // Makes sure the data folder and the year folder exist, announcing what it makes.
  void EnsureYearFolder(std::string_view year_text);

  static LoadedDay LoadDay(const std::filesystem::path& path);
  // The same for a day file's bytes already read.
  static LoadedDay ParseDay(std::string_view bytes);

  // Writes the editor text with colour code `code` ("0" to "4"), or deletes the day file when
  // the text is empty. Throws EDayWriteError when the file cannot be written.
  void SaveDay(const std::filesystem::path& path, std::string_view text, std::string_view code);

  // Puts `label` on top of the day unless some line already equals it. An existing colour line
  // stays first, so stamping never takes a day's colour away. Returns true when it wrote. A day
  // file that exists but cannot be read is never replaced: EDayWriteError.
  static bool StampDay(const std::filesystem::path& path, std::string_view label);

  // The entry dialog's line splitting: CR LF, LF or CR end a line; every other byte, NUL
  // included, is text.
  static TLightStrings SplitEditorText(std::string_view text);

 private:
  std::filesystem::path data_dir_;
  std::filesystem::path startup_dir_;
  DayStoreHost* host_;
};

}  // namespace daydata
