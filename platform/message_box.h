// Message boxes with the captions, icons and buttons the program uses, and the standard error
// box that a failed write or an uncaught exception shows. Tests replace the modal box with a
// hook that records what would have been shown and answers for the user.
#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

class QWidget;

namespace platform {

enum class MessageIcon { kNone, kInformation, kExclamation, kError, kQuestion };

struct MessageRequest {
  QString text;
  QString caption;
  MessageIcon icon = MessageIcon::kNone;
  QMessageBox::StandardButtons buttons = QMessageBox::Ok;
  // The button Enter presses; none: the toolkit's choice.
  QMessageBox::StandardButton default_button = QMessageBox::NoButton;
  // Japanese labels for buttons whose stock label would not say what they do.
  std::vector<std::pair<QMessageBox::StandardButton, QString>> labels;
};

// Shows a modal message box and returns the button pressed.
QMessageBox::StandardButton ShowMessage(QWidget* parent, const MessageRequest& request);
QMessageBox::StandardButton ShowMessage(QWidget* parent, const QString& text,
                                        const QString& caption,
                                        MessageIcon icon = MessageIcon::kNone,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok);

// The standard error box: the application's title as caption, an error icon, OK.
void ShowErrorBox(QWidget* parent, const QString& reason);

// While a hook is set, no box is shown: the hook gets the request and returns the answer.
using MessageHook = std::function<QMessageBox::StandardButton(const MessageRequest&)>;
void SetMessageHook(MessageHook hook);

}  // namespace platform
