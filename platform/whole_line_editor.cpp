#include "platform/whole_line_editor.h"

#include <QEvent>
#include <QPlainTextEdit>

#include <cmath>

#include "platform/line_height.h"

namespace platform {
namespace {

// Follows the editor's font changes.
class FontWatch : public QObject {
 public:
  explicit FontWatch(QPlainTextEdit* editor) : QObject(editor), editor_(editor) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == editor_ && event->type() == QEvent::FontChange)
      editor_->setMinimumHeight(OneWholeLineHeight(*editor_));
    return false;
  }

 private:
  QPlainTextEdit* editor_;
};

}  // namespace

int OneWholeLineHeight(const QPlainTextEdit& editor) {
  const QMargins margins = editor.contentsMargins();
  const int document_margin = static_cast<int>(std::ceil(editor.document()->documentMargin()));
  return LineHeight(editor.font()) + 2 * document_margin + margins.top() + margins.bottom();
}

void KeepOneWholeLine(QPlainTextEdit* editor) {
  editor->installEventFilter(new FontWatch(editor));
  editor->setMinimumHeight(OneWholeLineHeight(*editor));
}

}  // namespace platform
