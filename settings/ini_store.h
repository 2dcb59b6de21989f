// The settings file with Windows private-profile semantics, free of Qt. Every read and every
// write goes straight to the file, nothing is cached. Section and key names are compared
// without regard to ASCII letter case, blanks around names and values are ignored, and a write
// changes only the line it concerns: comments and lines it does not understand stay as they
// were. Text is code page 932 bytes, as in the file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "settings/schema.h"

namespace settings {

class IniStore {
 public:
  IniStore() = default;
  explicit IniStore(std::filesystem::path path) : path_(std::move(path)) {}

  const std::filesystem::path& Path() const { return path_; }
  void SetPath(std::filesystem::path path) { path_ = std::move(path); }

  // The raw value of a key, with one pair of matching quotes taken off; nullopt when the
  // section or the key is missing.
  std::optional<std::string> ReadValue(std::string_view section, std::string_view key) const;
  // Replaces the key's value, adding the key at the end of its section or a new section at the
  // end of the file. Throws std::system_error when the file cannot be replaced.
  void WriteValue(std::string_view section, std::string_view key, std::string_view value);
  void EraseSection(std::string_view section);

  // Strings are stored between the half-width corner brackets 0xA2 and 0xA3; values written
  // by hand without them are read as they stand.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view default_value) const;
  void WriteString(std::string_view section, std::string_view key, std::string_view value);

  std::int32_t ReadInteger(std::string_view section, std::string_view key,
                           std::int32_t default_value) const;
  void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
  bool ReadBool(std::string_view section, std::string_view key, bool default_value) const;
  void WriteBool(std::string_view section, std::string_view key, bool value);

  // The same for a key of the schema, with the given current value as the default (the
  // schema's designed default when none is given). Booleans are written as 1 or 0.
  std::int32_t ReadInteger(const Key& key) const { return ReadInteger(key, key.default_value); }
  std::int32_t ReadInteger(const Key& key, std::int32_t current) const;
  bool ReadBool(const Key& key) const { return ReadBool(key, key.default_value != 0); }
  bool ReadBool(const Key& key, bool current) const;
  ColourValue ReadColour(const Key& key) const {
    return ReadColour(key, static_cast<ColourValue>(key.default_value));
  }
  ColourValue ReadColour(const Key& key, ColourValue current) const;
  std::string ReadString(const Key& key) const { return ReadString(key, key.default_text); }
  std::string ReadString(const Key& key, std::string_view current) const;
  void WriteInteger(const Key& key, std::int32_t value);
  void WriteBool(const Key& key, bool value);
  void WriteColour(const Key& key, ColourValue value);
  void WriteString(const Key& key, std::string_view value);

  // While a snapshot is held, reads come from the file as it was when the snapshot was taken,
  // so that a burst of reads (the fonts of a month build) reads the file once. A write drops
  // the snapshot.
  void HoldSnapshot();
  void ReleaseSnapshot() { snapshot_.reset(); }

  static constexpr char kOpenBracket = '\xA2';
  static constexpr char kCloseBracket = '\xA3';
  // The bracket rule applied to a value as the file returned it.
  static std::string Unbracket(std::string value);

 private:
  std::filesystem::path path_;
  std::shared_ptr<const std::string> snapshot_;
};

// Holds a snapshot for the lifetime of a scope.
class IniSnapshot {
 public:
  explicit IniSnapshot(IniStore& store) : store_(store) { store_.HoldSnapshot(); }
  ~IniSnapshot() { store_.ReleaseSnapshot(); }
  IniSnapshot(const IniSnapshot&) = delete;
  IniSnapshot& operator=(const IniSnapshot&) = delete;

 private:
  IniStore& store_;
};

}  // namespace settings
