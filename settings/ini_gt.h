// TIniGT: the settings component of the windows. It resolves where the settings file lies and
// adds to the core settings store what only a window has: fonts (three keys) and window
// placements (eight keys, mapped onto Qt geometry and window state).
#pragma once

#include <QFont>
#include <QObject>
#include <QString>

#include "settings/ini_store.h"

class QWidget;

namespace settings {

enum class TIniGTDefaultDir { ddApplication = 0, ddWindows = 1, ddNone = 2 };

class TIniGT : public QObject {
  Q_OBJECT

 public:
  explicit TIniGT(QObject* parent = nullptr);

  // Setting either property makes a new store for the resolved path. An empty FileName
  // becomes the executable's name with ".ini".
  QString FileName() const { return file_name_; }
  void SetFileName(const QString& name);
  TIniGTDefaultDir DefaultDir() const { return default_dir_; }
  void SetDefaultDir(TIniGTDefaultDir dir);
  std::filesystem::path Path() const { return store_.Path(); }
  settings::IniStore& Store() { return store_; }
  const settings::IniStore& Store() const { return store_; }

  // A key of the schema. Integers, switches and colours are read and written through Store();
  // here are what needs Qt: text as QString, fonts and window placements. A missing key gives
  // `current` (text) or leaves the font's and window's own values; writes throw
  // std::system_error when the file cannot be replaced.
  QString ReadString(const Key& key, const QString& current = {}) const;
  void WriteString(const Key& key, const QString& value);
  void ReadFont(const Key& key, QFont& font) const;
  void WriteFont(const Key& key, const QFont& font);
  void ReadPlacement(const Key& key, QWidget& window) const;
  void WritePlacement(const Key& key, const QWidget& window);
  // Whether the file holds a placement for the key (its right edge, at least): a window
  // without one is on its first start and takes its own default place.
  bool HasPlacement(const Key& key) const;

 private:
  // Section and key names are given as text and stored as code page 932.
  QString ReadString(const QString& section, const QString& key,
                     const QString& default_value) const;
  void WriteString(const QString& section, const QString& key, const QString& value);

  // prefix + ".Name", ".Size" (points), ".Style" (1 bold, 2 italic, 4 underline, 8 strike-out);
  // each part defaults to the font's current one.
  void ReadFont(const QString& section, const QString& prefix, QFont& font) const;
  void WriteFont(const QString& section, const QString& prefix, const QFont& font);

  // prefix + ".Flags", ".Show" (1 normal, 2 minimised, 3 maximised), ".MaxX", ".MaxY", ".X",
  // ".Y", ".XSize", ".YSize" (right and bottom edges of the restored window).
  void ReadPlacement(const QString& section, const QString& prefix, QWidget& window) const;
  void WritePlacement(const QString& section, const QString& prefix, const QWidget& window);

  void Resolve();

  QString file_name_;
  TIniGTDefaultDir default_dir_ = TIniGTDefaultDir::ddApplication;
  settings::IniStore store_;
};

}  // namespace settings
