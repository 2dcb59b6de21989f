#include "platform/cp932_question.h"

#include "platform/cp932.h"
#include "platform/message_box.h"

namespace platform {
namespace {

// Enough to find every character in a short text; a long paste is summed up after these.
constexpr std::size_t kListed = 12;

std::u32string Missing(const QString& text) {
  return cp932::Unrepresentable(
      std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), text.size()));
}

}  // namespace

QString Cp932MissingList(const std::u32string& missing) {
  QStringList shown;
  for (std::size_t i = 0; i < missing.size() && i < kListed; ++i) {
    const char32_t code = missing[i];
    // A lone surrogate or a control has no face of its own: its code point alone.
    const bool drawable = (code < 0xD800 || code > 0xDFFF) && QChar::isPrint(code);
    const QString number =
        QStringLiteral("U+%1").arg(static_cast<uint>(code), 4, 16, QChar('0')).toUpper();
    // A no-break space keeps a character and its code point on one line.
    shown << (drawable ? QStringLiteral("「%1」\u00A0(%2)").arg(QString::fromUcs4(&code, 1), number)
                       : number);
  }
  QString list = shown.join(QStringLiteral(" "));
  if (missing.size() > kListed) list += QStringLiteral(" ほか%1文字").arg(missing.size() - kListed);
  return list;
}

bool ConfirmCp932Save(QWidget* parent, const QString& text) {
  const std::u32string missing = Missing(text);
  if (missing.empty()) return true;
  MessageRequest request;
  request.caption = QStringLiteral("注意");
  request.icon = MessageIcon::kExclamation;
  request.text = QStringLiteral(
                     "次の文字はシフトJISで保存できません。\n%1\n\n"
                     "このまま保存すると、これらの文字は「?」に置き換わります。")
                     .arg(Cp932MissingList(missing));
  request.buttons = QMessageBox::Cancel | QMessageBox::Save;
  request.default_button = QMessageBox::Cancel;
  request.labels = {{QMessageBox::Cancel, QStringLiteral("入力に戻る")},
                    {QMessageBox::Save, QStringLiteral("置き換えて保存")}};
  return ShowMessage(parent, request) == QMessageBox::Save;
}

bool CheckCp932Name(QWidget* parent, const QString& name, const QString& what) {
  const std::u32string missing = Missing(name);
  if (missing.empty()) return true;
  ShowMessage(
      parent,
      QStringLiteral("%1には、シフトJISで表せない次の文字があるため登録できません。\n%2\n\n%3")
          .arg(what, Cp932MissingList(missing), name),
      QStringLiteral("注意"), MessageIcon::kExclamation);
  return false;
}

}  // namespace platform
