#include "app/single_instance.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>

#include <system_error>

#include <unistd.h>

namespace app {

namespace {

constexpr char kActivate[] = "activate\n";
// Long enough for a running instance busy with a dialog to answer its event loop; short
// enough that a hung one does not hold up a start noticeably.
constexpr int kAnswerMs = 1000;

}  // namespace

SingleInstance::SingleInstance(const QString& server_name, QObject* parent)
    : QObject(parent), name_(server_name) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::ServerName(const std::filesystem::path& settings_file) {
  std::error_code ec;
  std::filesystem::path key = std::filesystem::weakly_canonical(settings_file, ec);
  if (ec) key = settings_file.lexically_normal();
  const QByteArray hash =
      QCryptographicHash::hash(QByteArray::fromStdString(key.string()), QCryptographicHash::Sha1)
          .toHex()
          .left(16);
  return QStringLiteral("mirune-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
}

bool SingleInstance::HandOver() {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(kAnswerMs)) return false;
  socket.write(kActivate);
  if (!socket.waitForBytesWritten(kAnswerMs)) return false;
  // The first instance closes the connection once it has read the request; a socket left
  // behind by a crashed instance never gets that far.
  return socket.waitForReadyRead(kAnswerMs) && socket.readAll().startsWith("ok");
}

bool SingleInstance::Listen() {
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(name_)) {
    // A socket file left by an instance that crashed: nobody answered HandOver, so it is stale.
    QLocalServer::removeServer(name_);
    if (!server_->listen(name_)) {
      delete server_;
      server_ = nullptr;
      return false;
    }
  }
  connect(server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        if (!socket->canReadLine()) return;
        if (socket->readLine() == kActivate) {
          socket->write("ok\n");
          socket->flush();
          emit Activated();
        }
        socket->disconnectFromServer();
      });
    }
  });
  return true;
}

}  // namespace app
