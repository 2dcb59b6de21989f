#include "app/ical_commands.h"

#include <QDir>
#include <QFileDialog>

#include <ctime>

#include "archive/archive_progress_dialog.h"
#include "ical/day_export.h"
#include "ical/day_import.h"
#include "platform/cp932_question.h"
#include "platform/documents_folder.h"
#include "platform/file_system.h"
#include "platform/message_box.h"

namespace app {
namespace {

const QString kCaption = QStringLiteral("iCalendar");

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

IcalCommands::IcalCommands(QWidget* parent, Needs needs)
    : QObject(parent), parent_(parent), needs_(std::move(needs)) {
  if (!needs_.file_name) needs_.file_name = &IcalCommands::AskFileName;
}

QString IcalCommands::AskFileName(QWidget* parent, bool save, const QString& suggested) {
  const QString filter = QStringLiteral("iCalendar ファイル (*.ics);;すべてのファイル (*)");
  if (save) {
    return QFileDialog::getSaveFileName(parent, QStringLiteral("iCalendar に書き出し"), suggested,
                                        filter);
  }
  return QFileDialog::getOpenFileName(parent, QStringLiteral("iCalendar を読み込み"), suggested,
                                      filter);
}

void IcalCommands::ExportClick() {
  QString name = needs_.file_name(
      parent_, true, QDir(platform::DocumentsFolder()).filePath(QStringLiteral("ミルネ.ics")));
  if (name.isEmpty()) return;
  std::filesystem::path data_dir = needs_.data_dir();
  ical::ExportedDays exported;
  QString failure;
  archive::TArchiveProgressDialog progress(parent_, QStringLiteral("iCalendar に書き出し"));
  progress.Run([&](const archive::ProgressCallback& report) {
    try {
      exported = ical::ExportDays(data_dir, 1, 9999, std::time(nullptr), report);
      std::error_code error;
      if (!platform::ReplaceFile(name.toStdString(), exported.text, error)) {
        failure = QStringLiteral("書き込めません: %1 (%2)").arg(name, FromUtf8(error.message()));
      }
    } catch (const ical::IcsError& e) {
      failure = FromUtf8(e.what());
    }
    return 0;
  });
  if (!failure.isEmpty()) {
    platform::ShowMessage(parent_, failure, kCaption, platform::MessageIcon::kError);
    return;
  }
  platform::ShowMessage(parent_,
                        QStringLiteral("%1 日を書き出しました。\n%2").arg(exported.days).arg(name),
                        kCaption, platform::MessageIcon::kInformation);
}

void IcalCommands::ImportClick() {
  QString name = needs_.file_name(parent_, false, platform::DocumentsFolder());
  if (name.isEmpty()) return;
  std::string text;
  if (!platform::ReadFile(name.toStdString(), text)) {
    platform::ShowMessage(parent_, QStringLiteral("ファイルが読めません: %1").arg(name), kCaption,
                          platform::MessageIcon::kError);
    return;
  }
  std::filesystem::path data_dir = needs_.data_dir(), startup_dir = needs_.startup_dir();
  ical::ImportPlan plan;
  QString failure;
  archive::TArchiveProgressDialog reading(parent_, QStringLiteral("iCalendar を読み込み"));
  reading.Run([&](const archive::ProgressCallback& report) {
    try {
      ical::ReadOptions options;
      options.progress = report;
      plan = ical::PlanImport(ical::ReadIcs(text, options), data_dir, startup_dir);
    } catch (const ical::IcsError& e) {
      failure = FromUtf8(e.what());
    }
    return 0;
  });
  if (!failure.isEmpty()) {
    platform::ShowMessage(parent_, QStringLiteral("%1\n%2").arg(name, failure), kCaption,
                          platform::MessageIcon::kError);
    return;
  }
  QString summary = FromUtf8(ical::ImportSummary(plan));
  if (plan.days.empty() && plan.todos.empty()) {
    platform::ShowMessage(parent_, summary, kCaption, platform::MessageIcon::kInformation);
    return;
  }
  platform::MessageRequest question;
  question.text = summary + QStringLiteral("\n\n読み込みますか？");
  question.caption = kCaption;
  question.icon = platform::MessageIcon::kQuestion;
  question.buttons = QMessageBox::Yes | QMessageBox::No;
  question.default_button = QMessageBox::Yes;
  question.labels = {{QMessageBox::Yes, QStringLiteral("読み込む")},
                     {QMessageBox::No, QStringLiteral("やめる")}};
  if (platform::ShowMessage(parent_, question) != QMessageBox::Yes) return;
  if (!plan.unrepresentable.empty() &&
      !platform::ConfirmCp932Save(
          parent_, QString::fromUcs4(plan.unrepresentable.data(),
                                     static_cast<qsizetype>(plan.unrepresentable.size())))) {
    return;
  }
  ical::ImportResult result;
  archive::TArchiveProgressDialog writing(parent_, QStringLiteral("iCalendar を読み込み"));
  writing.Run([&](const archive::ProgressCallback& report) {
    result = ical::ApplyImport(plan, startup_dir, report);
    return 0;
  });
  if (result.days_written > 0 || result.todos_added > 0) needs_.days_changed();
  QString done = QStringLiteral("%1 日に書き込みました。").arg(result.days_written);
  if (result.stopped)
    done = QStringLiteral("中断しました（%1 日は書き込み済みです）。").arg(result.days_written);
  if (!result.failures.empty()) {
    done += QStringLiteral("\n書き込めなかったもの %1 件:").arg(result.failures.size());
    for (size_t i = 0; i < result.failures.size() && i < 5; ++i)
      done += "\n  " + FromUtf8(result.failures[i]);
  }
  platform::ShowMessage(parent_, done, kCaption,
                        result.failures.empty() ? platform::MessageIcon::kInformation
                                                : platform::MessageIcon::kExclamation);
}

}  // namespace app
