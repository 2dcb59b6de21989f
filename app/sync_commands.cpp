#include "app/sync_commands.h"

#include <QDateTime>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>

#include <algorithm>
#include <ctime>

#include "archive/archive_progress_dialog.h"
#include "platform/cp932.h"
#include "platform/message_box.h"
#include "settings/ini_store.h"

namespace app {
namespace {

QString Utf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<int>(text.size()));
}

}  // namespace

SyncCommands::SyncCommands(QWidget* parent, Needs needs)
    : QObject(parent), parent_(parent), needs_(std::move(needs)) {
  // The menu bar sizes its corner once, from the size hint; a box as wide as the longest text
  // keeps every later text whole.
  corner_ = new QWidget(parent);
  status_ = new QLabel(corner_);
  status_->setObjectName("SyncStatus");
  status_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  const QFontMetrics metrics(status_->font());
  status_->setMinimumWidth(
      std::max(metrics.horizontalAdvance(QStringLiteral("最終同期 0000-00-00 00:00")),
               metrics.horizontalAdvance(QStringLiteral("同期できませんでした"))));
  auto* layout = new QHBoxLayout(corner_);
  layout->setContentsMargins(6, 0, 6, 0);
  layout->addWidget(status_);
  ShowLast(Utf8(cp932::ToUtf8(needs_.ini().ReadString(settings::keys::SyncLast))));
  connect(&timer_, &QTimer::timeout, this, [this] { Run(Asked::kOnItsOwn); });
  AccountChanged();
}

void SyncCommands::AccountChanged() {
  calsync::SyncAccount account = calsync::ReadAccount(needs_.ini());
  corner_->setVisible(account.Configured());
  if (account.Configured() && account.interval_minutes > 0) {
    timer_.start(account.interval_minutes * 60 * 1000);
  } else {
    timer_.stop();
  }
}

void SyncCommands::ShowLast(const QString& last) {
  status_->setStyleSheet(QString());
  status_->setText(last.isEmpty() ? QStringLiteral("未同期")
                                  : QStringLiteral("最終同期 %1").arg(last));
  status_->setToolTip(QStringLiteral("ファイル → 同期 で同期します"));
}

void SyncCommands::ShowFailure(const QString& message) {
  status_->setStyleSheet(QStringLiteral("color: #c00000"));
  status_->setText(QStringLiteral("同期できませんでした"));
  status_->setToolTip(message);
}

void SyncCommands::SyncClick() {
  Run(Asked::kByUser);
}

void SyncCommands::SyncAtStart() {
  if (calsync::ReadAccount(needs_.ini()).at_start) Run(Asked::kAtStartOrExit);
}

void SyncCommands::SyncAtExit() {
  if (calsync::ReadAccount(needs_.ini()).at_exit) Run(Asked::kAtStartOrExit);
}

std::string SyncCommands::Password(const calsync::SyncAccount& account, Asked asked) {
  QString reason;
  try {
    std::string stored = read_password(account);
    if (!stored.empty()) return stored;
    reason = QStringLiteral("パスワードがキーリングに保存されていません。");
  } catch (const calsync::SyncError& error) {
    reason = Utf8(error.what());
  }
  // Without a keyring the user still syncs: the password typed here is kept for this run of
  // the program only, so that the syncs every few minutes can use it too.
  if (!session_password_.empty() || asked == Asked::kOnItsOwn) return session_password_;
  QString typed;
  if (ask_password) {
    typed = ask_password(reason);
  } else {
    bool ok = false;
    typed =
        QInputDialog::getText(parent_, QStringLiteral("同期"),
                              reason + QStringLiteral("\n%1 のパスワード:").arg(Utf8(account.user)),
                              QLineEdit::Password, QString(), &ok);
    if (!ok) typed.clear();
  }
  session_password_ = typed.toStdString();
  return session_password_;
}

void SyncCommands::Run(Asked asked) {
  if (running_) return;
  if (asked == Asked::kOnItsOwn && needs_.busy && needs_.busy()) return;
  const QString title = QStringLiteral("同期");
  calsync::SyncRequest request;
  request.account = calsync::ReadAccount(needs_.ini());
  if (!request.account.Configured()) {
    if (asked == Asked::kByUser) {
      platform::ShowMessage(parent_,
                            QStringLiteral("同期するサーバーが設定されていません。\n"
                                           "ツール → 設定 の「同期」ページで設定してください。"),
                            title, platform::MessageIcon::kInformation);
    }
    return;
  }
  running_ = true;
  QString failure;
  bool authentication_failed = false;
  calsync::SyncOutcome outcome;
  try {
    request.password = Password(request.account, asked);
    if (request.password.empty()) {
      running_ = false;
      if (asked != Asked::kByUser)
        ShowFailure(QStringLiteral("パスワードがありません。ファイル → 同期 で入力してください。"));
      return;
    }
    request.data_dir = needs_.data_dir();
    request.state_dir = calsync::StateDir();
    request.now = std::time(nullptr);
    archive::TArchiveProgressDialog progress(parent_, title);
    progress.SetUnit(QStringLiteral("件"));
    // キャンセル also cuts off the request under way, not only the step after it.
    std::atomic<bool> stop{false};
    request.stop = &stop;
    connect(&progress, &QProgressDialog::canceled, this, [&stop] { stop = true; });
    std::string error;
    int result = progress.Run([&](const archive::ProgressCallback& callback) {
      request.progress = [&](const std::string& stage, std::size_t done, std::size_t total) {
        progress.SetStage(Utf8(stage));
        return callback(done, total);
      };
      try {
        outcome = run(request);
        return 0;
      } catch (const calsync::SyncError& e) {
        error = e.what();
        authentication_failed = e.kind() == calsync::SyncError::Kind::kAuthentication;
      } catch (const std::exception& e) {
        error = std::string("同期できませんでした: ") + e.what();
      }
      return 1;
    });
    if (result != 0) failure = Utf8(error);
  } catch (const calsync::SyncError& e) {
    failure = Utf8(e.what());
  }
  running_ = false;
  if (outcome.report.Changed() || !outcome.report.merged.empty()) needs_.days_changed();
  if (!failure.isEmpty()) {
    if (authentication_failed) session_password_.clear();
    if (asked == Asked::kByUser) {
      platform::ShowMessage(parent_, failure, title, platform::MessageIcon::kExclamation);
    } else {
      ShowFailure(failure);
    }
    return;
  }
  settings::IniStore& ini = needs_.ini();
  QString last = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
  try {
    if (request.account.calendar.empty())
      ini.WriteString(settings::keys::SyncCalendar, cp932::FromUtf8(outcome.calendar_href));
    ini.WriteString(settings::keys::SyncLast, last.toStdString());
  } catch (const std::system_error&) {
    // The sync itself is done; only the time shown next start is not kept.
  }
  ShowLast(last);
  const calsync::SyncReport& report = outcome.report;
  QString text = Utf8(calsync::ReportText(report));
  if (!report.merged.empty()) {
    platform::ShowMessage(parent_,
                          QStringLiteral("両方で変更されていた日があります。どちらの内容も消さず"
                                         "に残しました。\n確かめて、必要なら直してください。\n\n") +
                              text,
                          title, platform::MessageIcon::kExclamation);
  } else if (!report.warnings.empty() || asked == Asked::kByUser) {
    platform::ShowMessage(parent_, text, title, platform::MessageIcon::kInformation);
  }
}

}  // namespace app
