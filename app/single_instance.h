// SingleInstance: one running Mirune per settings file. Two programs sharing one settings file
// would each write their own window placements and switches back at exit, and the last one
// would silently undo the other's, so a second start hands over to the first (which comes to
// the front) and ends. The channel is a local socket named after the user and the settings
// file; where no such channel can be made, both starts simply run.
#pragma once

#include <QObject>
#include <QString>

#include <filesystem>

class QLocalServer;

namespace app {

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  explicit SingleInstance(const QString& server_name, QObject* parent = nullptr);
  ~SingleInstance() override;

  // The channel's name for one settings file: the same file gives the same name for the same
  // user, whatever path leads to it.
  static QString ServerName(const std::filesystem::path& settings_file);

  // True when another instance answered and was asked to come to the front: this start ends.
  bool HandOver();
  // Listens for later starts; false when no channel could be made (this start runs anyway).
  bool Listen();

 signals:
  // A later start asked this one to show itself.
  void Activated();

 private:
  QString name_;
  QLocalServer* server_ = nullptr;
};

}  // namespace app
