#include "platform/message_box.h"

#include <QAbstractButton>
#include <QApplication>

namespace platform {
namespace {

MessageHook& Hook() {
  static MessageHook hook;
  return hook;
}

QMessageBox::Icon QtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kInformation:
      return QMessageBox::Information;
    case MessageIcon::kExclamation:
      return QMessageBox::Warning;
    case MessageIcon::kError:
      return QMessageBox::Critical;
    case MessageIcon::kQuestion:
      return QMessageBox::Question;
    case MessageIcon::kNone:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

void SetMessageHook(MessageHook hook) {
  Hook() = std::move(hook);
}

QMessageBox::StandardButton ShowMessage(QWidget* parent, const MessageRequest& request) {
  if (Hook()) return Hook()(request);
  QMessageBox box(QtIcon(request.icon), request.caption, request.text, request.buttons, parent);
  for (const auto& [button, label] : request.labels) {
    if (QAbstractButton* b = box.button(button)) b->setText(label);
  }
  if (request.default_button != QMessageBox::NoButton) {
    box.setDefaultButton(request.default_button);
    // Escape and the close box go back too, never on to the riskier answer.
    if (request.buttons & QMessageBox::Cancel) box.setEscapeButton(QMessageBox::Cancel);
  }
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

QMessageBox::StandardButton ShowMessage(QWidget* parent, const QString& text,
                                        const QString& caption, MessageIcon icon,
                                        QMessageBox::StandardButtons buttons) {
  MessageRequest request;
  request.text = text;
  request.caption = caption;
  request.icon = icon;
  request.buttons = buttons;
  return ShowMessage(parent, request);
}

void ShowErrorBox(QWidget* parent, const QString& reason) {
  QString title = QApplication::applicationDisplayName();
  if (title.isEmpty()) title = QApplication::applicationName();
  ShowMessage(parent, reason, title, MessageIcon::kError);
}

}  // namespace platform
