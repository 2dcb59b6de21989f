#include "platform/desktop_notification.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace platform {

bool ShowDesktopNotification(const QString& summary, const QString& body) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  const QString service = QStringLiteral("org.freedesktop.Notifications");
  QDBusConnectionInterface* daemon = bus.interface();
  if (!daemon || !daemon->isServiceRegistered(service).value()) {
    // A service that starts on demand is not registered yet; it may be activatable.
    if (!daemon || !daemon->activatableServiceNames().value().contains(service)) return false;
  }
  QDBusMessage call = QDBusMessage::createMethodCall(
      service, QStringLiteral("/org/freedesktop/Notifications"), service, QStringLiteral("Notify"));
  call << QApplication::applicationName() << 0u << QStringLiteral("appointment-soon") << summary
       << body << QStringList() << QVariantMap() << -1;
  return bus.send(call);
}

}  // namespace platform
