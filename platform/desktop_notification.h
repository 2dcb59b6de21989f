// A notice on the desktop through the freedesktop notification service on the session bus.
// Where there is no session bus or no service, nothing is shown and nothing waits.
#pragma once

#include <QString>

namespace platform {

// False when no notification service could be reached; the call never waits for the answer.
bool ShowDesktopNotification(const QString& summary, const QString& body);

}  // namespace platform
