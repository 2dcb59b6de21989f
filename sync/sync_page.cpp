#include "sync/sync_page.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/message_box.h"
#include "sync/calendar_server.h"

namespace calsync {
namespace {

QString Utf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<int>(text.size()));
}

}  // namespace

TSyncPage::TSyncPage(const SyncAccount& account, Needs needs, QWidget* parent)
    : QWidget(parent), needs_(std::move(needs)) {
  setObjectName("SyncPage");
  BuildControls();
  UrlEdit->setText(Utf8(account.url));
  UserEdit->setText(Utf8(account.user));
  if (!account.calendar.empty()) ShowCalendar(account.calendar, account.calendar);
  AtStartBox->setChecked(account.at_start);
  AtExitBox->setChecked(account.at_exit);
  IntervalBox->setValue(account.interval_minutes);
  if (account.Configured() && needs_.read_password) {
    try {
      if (!needs_.read_password(account).empty()) {
        PasswordEdit->setPlaceholderText(QStringLiteral("（キーリングに保存済み）"));
      }
    } catch (const SyncError& error) {
      PasswordEdit->setPlaceholderText(QStringLiteral("（キーリングを使えません）"));
      PasswordEdit->setToolTip(QString::fromUtf8(error.what()));
    }
  }
  connect(PasswordEdit, &QLineEdit::textEdited, this, [this] { password_typed_ = true; });
}

void TSyncPage::BuildControls() {
  auto* server = new QGroupBox(QStringLiteral("CalDAV サーバー"), this);
  UrlEdit = new QLineEdit(server);
  UrlEdit->setObjectName("UrlEdit");
  UrlEdit->setPlaceholderText(QStringLiteral("https://example.com/remote.php/dav/"));
  UserEdit = new QLineEdit(server);
  UserEdit->setObjectName("UserEdit");
  PasswordEdit = new QLineEdit(server);
  PasswordEdit->setObjectName("PasswordEdit");
  PasswordEdit->setEchoMode(QLineEdit::Password);
  PasswordEdit->setToolTip(QStringLiteral("パスワードはデスクトップのキーリングに保存します"));
  TestButton = new QPushButton(QStringLiteral("接続をテスト"), server);
  TestButton->setObjectName("TestButton");
  TestButton->setToolTip(QStringLiteral("サーバーに接続して、カレンダーの一覧を取得します"));
  CalendarBox = new QComboBox(server);
  CalendarBox->setObjectName("CalendarBox");
  CalendarBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  CalendarBox->setMinimumContentsLength(20);
  TestResult = new QLabel(server);
  TestResult->setObjectName("TestResult");
  TestResult->setWordWrap(true);
  auto* form = new QFormLayout(server);
  form->addRow(QStringLiteral("サーバーの URL"), UrlEdit);
  form->addRow(QStringLiteral("ユーザー名"), UserEdit);
  form->addRow(QStringLiteral("パスワード"), PasswordEdit);
  auto* calendar = new QHBoxLayout;
  calendar->addWidget(CalendarBox, 1);
  calendar->addWidget(TestButton);
  form->addRow(QStringLiteral("カレンダー"), calendar);
  form->addRow(TestResult);

  auto* when = new QGroupBox(QStringLiteral("同期するとき"), this);
  AtStartBox = new QCheckBox(QStringLiteral("起動時に同期する"), when);
  AtStartBox->setObjectName("AtStartBox");
  AtExitBox = new QCheckBox(QStringLiteral("終了時に同期する"), when);
  AtExitBox->setObjectName("AtExitBox");
  IntervalBox = new QSpinBox(when);
  IntervalBox->setObjectName("IntervalBox");
  IntervalBox->setRange(0, 1440);
  IntervalBox->setSpecialValueText(QStringLiteral("しない"));
  IntervalBox->setSuffix(QStringLiteral(" 分ごと"));
  auto* interval = new QHBoxLayout;
  interval->addWidget(new QLabel(QStringLiteral("起動中の自動同期:"), when));
  interval->addWidget(IntervalBox);
  interval->addStretch();
  auto* when_layout = new QVBoxLayout(when);
  when_layout->addWidget(AtStartBox);
  when_layout->addWidget(AtExitBox);
  when_layout->addLayout(interval);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(server);
  layout->addWidget(when);
  layout->addWidget(new QLabel(
      QStringLiteral("同期は ファイル → 同期 でいつでも実行できます。両方で変更された日は、"
                     "両方の内容を残します。"),
      this));
  layout->addStretch();
  qobject_cast<QLabel*>(layout->itemAt(2)->widget())->setWordWrap(true);
  connect(TestButton, &QPushButton::clicked, this, &TSyncPage::TestButtonClick);
}

void TSyncPage::ShowCalendar(const std::string& href, const std::string& name) {
  QString data = Utf8(href);
  int at = CalendarBox->findData(data);
  if (at < 0) {
    CalendarBox->addItem(Utf8(name), data);
    at = CalendarBox->count() - 1;
  }
  CalendarBox->setCurrentIndex(at);
}

SyncAccount TSyncPage::Account() const {
  SyncAccount account;
  account.url = UrlEdit->text().trimmed().toStdString();
  account.user = UserEdit->text().trimmed().toStdString();
  account.calendar = CalendarBox->currentData().toString().toStdString();
  account.at_start = AtStartBox->isChecked();
  account.at_exit = AtExitBox->isChecked();
  account.interval_minutes = IntervalBox->value();
  return account;
}

void TSyncPage::TestButtonClick() {
  SyncAccount account = Account();
  if (!account.Configured()) {
    TestResult->setText(QStringLiteral("サーバーの URL とユーザー名を入れてください。"));
    return;
  }
  std::string password = PasswordEdit->text().toStdString();
  TestResult->setText(QStringLiteral("接続しています..."));
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    if (!password_typed_ && needs_.read_password) password = needs_.read_password(account);
    std::vector<CalendarChoice> found = needs_.calendars(account, password);
    QApplication::restoreOverrideCursor();
    QString keep = CalendarBox->currentData().toString();
    CalendarBox->clear();
    for (const CalendarChoice& choice : found) ShowCalendar(choice.href, choice.name);
    if (int at = CalendarBox->findData(keep); at >= 0) CalendarBox->setCurrentIndex(at);
    TestResult->setText(found.empty()
                            ? QStringLiteral("接続できましたが、カレンダーがありません。サーバー"
                                             "側でカレンダーを作ってください。")
                            : QStringLiteral("接続できました。カレンダー %1 件").arg(found.size()));
  } catch (const SyncError& error) {
    QApplication::restoreOverrideCursor();
    TestResult->setText(QString::fromUtf8(error.what()));
  }
}

std::string TSyncPage::TypedPassword() const {
  return password_typed_ ? PasswordEdit->text().toStdString() : std::string();
}

bool TSyncPage::SavePassword() {
  if (!password_typed_ || !needs_.write_password) return true;
  try {
    needs_.write_password(Account(), PasswordEdit->text().toStdString());
    password_typed_ = false;
    return true;
  } catch (const SyncError& error) {
    platform::ShowMessage(this,
                          QStringLiteral("パスワードを保存できませんでした。\n%1\n"
                                         "パスワードは設定ファイルには保存しません。このパス"
                                         "ワードは、ミルネを終了するまでの同期に使います。")
                              .arg(QString::fromUtf8(error.what())),
                          QStringLiteral("同期"), platform::MessageIcon::kExclamation);
    return false;
  }
}

}  // namespace calsync
