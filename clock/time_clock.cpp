#include "clock/time_clock.h"

#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QValidator>
#include <QWindow>

#include <algorithm>
#include <system_error>

#include "clock/alarm_time.h"
#include "clock/clock_label.h"
#include "clock/time_clock_host.h"
#include "daydata/day_store.h"
#include "platform/desktop_notification.h"
#include "platform/fonts.h"
#include "platform/message_box.h"
#include "platform/qt_text.h"
#include "platform/system_colours.h"
#include "settings/schema.h"

namespace timeclock {
namespace {

namespace keys = settings::keys;

QString S(const char* utf8) {
  return QString::fromUtf8(utf8);
}

// The time fields' check as the user types; see JudgeAlarmInput.
class AlarmValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override {
    std::string text = input.toStdString();
    switch (JudgeAlarmInput(text, pos)) {
      case AlarmInput::kInvalid:
        return Invalid;
      case AlarmInput::kPartial:
        input = QString::fromStdString(text);
        return Intermediate;
      case AlarmInput::kComplete:
        input = QString::fromStdString(text);
        return Acceptable;
    }
    return Invalid;
  }
};

// Colours as the settings file holds them (0x00BBGGRR). The window's designed colours stand in
// for a missing key: with the keys' zero, time and date would be black on black.
constexpr std::uint32_t kDesignedClockColor = 0x0000FFFF;  // yellow
constexpr std::uint32_t kDesignedBackColor = 0x00602000;   // dark blue
constexpr std::uint32_t kDesignedDateColor = 0x00FFFFFF;   // white

constexpr int kResizeEdge = 4;

Qt::Edges EdgesAt(const QWidget& w, const QPoint& at) {
  Qt::Edges edges;
  if (at.x() < kResizeEdge) edges |= Qt::LeftEdge;
  if (at.x() >= w.width() - kResizeEdge) edges |= Qt::RightEdge;
  if (at.y() < kResizeEdge) edges |= Qt::TopEdge;
  if (at.y() >= w.height() - kResizeEdge) edges |= Qt::BottomEdge;
  return edges;
}

}  // namespace

QString TTimeClock::SoundFilter() {
  // Each name as the user reads it, then the patterns Qt filters by (hidden in the dialog).
  return QStringLiteral("MIDIｼｰｹﾝｽ(*.mid,*.rmi) (*.mid *.rmi);;ｵｰﾃﾞｨｵWAVﾌｧｲﾙ(*.wav) (*.wav)");
}

TTimeClock::TTimeClock(TimeClockHost& host, settings::TIniGT& settings,
                       const std::filesystem::path& data_dir, QString help_file, TimeSource& time,
                       QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      host_(host),
      settings_(settings),
      data_dir_(data_dir),
      help_file_(std::move(help_file)) {
  setObjectName("TimeClock");
  setWindowTitle(QStringLiteral("時計"));
  setToolTip(QStringLiteral("右クリックでフォント等を変更できます"));
  setAutoFillBackground(true);
  // The main window alone decides when the program ends.
  setAttribute(Qt::WA_QuitOnClose, false);
  resize(kWidth, kCollapsedHeight);

  Label1 = new QLabel(this);
  Label1->setObjectName("Label1");
  Label1->setAutoFillBackground(true);
  ClockLabel1 = new TClockLabel(this, time);
  ClockLabel1->setObjectName("ClockLabel1");
  ClockLabel1->setAutoFillBackground(true);
  SpeedButton1 = new QToolButton(this);
  SpeedButton1->setObjectName("SpeedButton1");
  SpeedButton1->setCheckable(true);
  SpeedButton1->setText(QStringLiteral("設"));
  SpeedButton1->setToolTip(QStringLiteral("設定"));
  connect(SpeedButton1, &QToolButton::clicked, this, &TTimeClock::SpeedButton1Click);

  auto edit = [this](const char* name) {
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    // Only what can still become a time from 00:00 to 23:59 is taken, and in insert mode: a
    // digit typed into a full field is refused rather than written over one the user did not
    // select.
    field->setValidator(new AlarmValidator(field));
    field->setMaxLength(5);
    field->setToolTip(QStringLiteral("時間を入力"));
    return field;
  };
  MaskEdit1 = edit("MaskEdit1");
  MaskEdit2 = edit("MaskEdit2");
  auto button = [this](const char* name, const char* text, const char* hint, auto handler) {
    auto* b = new QPushButton(S(text), this);
    b->setObjectName(name);
    if (*hint) b->setToolTip(S(hint));
    connect(b, &QPushButton::clicked, this, handler);
    return b;
  };
  Button1 = button("Button1", "Faile", "Wave及びMIDIファイルの選択", &TTimeClock::Button1Click);
  BitBtn1 = button("BitBtn1", "Sound Save", "選択したｻｳﾝﾄﾞを保管する", &TTimeClock::BitBtn1Click);
  Button2 = button("Button2", "OK", "アラーム設定を保管する", &TTimeClock::Button2Click);
  BitBtn2 = button("BitBtn2", "消去", "時間を消去", &TTimeClock::BitBtn2Click);
  Button3 = button("Button3", "ﾍﾙﾌﾟ", "", &TTimeClock::Button3Click);
  MediaPlayer1 = new platform::TSoundPlayer(this);
  MediaPlayer1->setObjectName("MediaPlayer1");
  MediaPlayerButton = new QToolButton(this);
  MediaPlayerButton->setObjectName("MediaPlayerButton");
  MediaPlayerButton->setText(QStringLiteral("▶"));
  connect(MediaPlayerButton, &QToolButton::clicked, this, [this] {
    if (!MediaPlayer1->Play(kSoundLimitMs)) OpenAndPlay(sound_dialog_file_);
  });
  SoundLabel = new QLabel(this);
  SoundLabel->setObjectName("SoundLabel");
  for (QWidget* w : {static_cast<QWidget*>(MaskEdit1), static_cast<QWidget*>(MaskEdit2),
                     static_cast<QWidget*>(Button1), static_cast<QWidget*>(BitBtn1),
                     static_cast<QWidget*>(Button2), static_cast<QWidget*>(BitBtn2),
                     static_cast<QWidget*>(Button3), static_cast<QWidget*>(MediaPlayerButton)}) {
    w->setAutoFillBackground(true);
    w->setPalette(QApplication::palette());
  }

  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  connect(Timer1, &QTimer::timeout, this, &TTimeClock::Timer1Timer);
  Timer1->start(1000);
  Timer2 = new QTimer(this);
  Timer2->setObjectName("Timer2");
  connect(Timer2, &QTimer::timeout, this, &TTimeClock::Timer2Timer);
  system_move_end_ = new QTimer(this);
  system_move_end_->setSingleShot(true);
  system_move_end_->setInterval(400);
  connect(system_move_end_, &QTimer::timeout, this, &TTimeClock::DragEnded);

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName("PopupMenu1");
  PopupMenu1->addAction(QStringLiteral("日付の色"), this, &TTimeClock::N1Click);
  PopupMenu1->addAction(QStringLiteral("日付背景色"), this, &TTimeClock::N2Click);
  PopupMenu1->addAction(QStringLiteral("時計の色"), this, &TTimeClock::N3Click);
  PopupMenu1->addAction(QStringLiteral("時計背景色"), this, &TTimeClock::N4Click);
  PopupMenu1->addAction(QStringLiteral("フォント変更"), this, &TTimeClock::N5Click);

  ChooseSoundFile = [this](QString& file) {
    const QString chosen =
        QFileDialog::getOpenFileName(this, QStringLiteral("アラーム"), file, SoundFilter(), nullptr,
                                     QFileDialog::HideNameFilterDetails);
    if (chosen.isEmpty()) return false;
    file = chosen;
    return true;
  };
  ChooseColour = [this](QColor& colour) {
    const QColor chosen = QColorDialog::getColor(colour, this);
    if (!chosen.isValid()) return false;
    colour = chosen;
    return true;
  };
  ChooseFont = [this](QFont& font) {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font, this);
    if (ok) font = chosen;
    return ok;
  };

  ClockLabel1->SetStyle(TStyle::ts24HoursJ);
  ClockLabel1->SetDateStyle(TDateStyle::dsGengoW);
  ClockLabel1->SetTimeCast(ClockTicker::kAllMarks);
  ClockLabel1->SetDateLabel(Label1);
  ClockLabel1->OnAlarm = [this](TClockLabel*, int index) { ClockLabel1Alarm(index); };
  ClockLabel1->OnTimeCast = [this](TClockLabel*, int index) { ClockLabel1TimeCast(index); };
  // The main window's today follows the date even where the date-change alarm was never
  // stored (a new user's settings): otherwise it would keep yesterday after midnight.
  ClockLabel1->OnDateChange = [this](TClockLabel*) { TellNewDay(); };
  told_day_ = time.Now();
  FormCreate();
  ClockLabel1->SetInterval(1000);
  // The sound timer runs from the start, so its ticks also elapse once now.
  Timer2->start(kSoundTickMs);
}

TTimeClock::~TTimeClock() {
  if (!placement_written_) WritePlacement();
}

template <typename Write>
void TTimeClock::Guarded(Write write) {
  try {
    write();
  } catch (const std::system_error& e) {
    platform::ShowErrorBox(this, QString::fromLocal8Bit(e.what()));
  }
}

void TTimeClock::FormCreate() {
  // Without a stored placement the clock stands at the screen's top right, clear of the
  // main window's menu and tool bar.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.right() - kWidth - 8, area.top() + 8);
  }
  settings_.ReadPlacement(keys::ClockPlacement, *this);
  clock_font_ = QApplication::font();
  settings_.ReadFont(keys::ClockFont, clock_font_);
  ApplyFont();
  clock_color_ = platform::ToQColor(kDesignedClockColor);
  clock_back_color_ = date_back_color_ = platform::ToQColor(kDesignedBackColor);
  date_color_ = platform::ToQColor(kDesignedDateColor);
  ReadColours();
  ApplyColours();
  const QString alarm0 = settings_.ReadString(keys::Alarm0);
  const QString alarm1 = settings_.ReadString(keys::Alarm1);
  const QString alarm2 = settings_.ReadString(keys::Alarm2);
  MaskEdit1->setText(alarm1);
  MaskEdit2->setText(alarm2);
  ClockLabel1->EventList() = {alarm0.toStdString(), alarm1.toStdString(), alarm2.toStdString()};
  ClockLabel1->SetCatchUp(settings_.Store().ReadBool(keys::MissedAlarm));
  // "Sound Save" without a new choice keeps the stored file instead of storing an empty one.
  sound_dialog_file_ = settings_.ReadString(keys::AlarmSound, host_.RememberedSoundPath());
  SoundLabel->setText(QFileInfo(sound_dialog_file_).fileName());
  // The alarm panel starts hidden, whatever height the window was closed with.
  resize(width() > 0 ? width() : kWidth, CollapsedHeight());
  LayOut();
}

void TTimeClock::ReadColours() {
  auto read = [this](const settings::Key& key, QColor& colour) {
    colour = platform::ToQColor(settings_.Store().ReadColour(key, platform::ToColourValue(colour)));
  };
  read(keys::ClockColor, clock_color_);
  read(keys::ClockBackColor, clock_back_color_);
  read(keys::DateColor, date_color_);
  read(keys::DateBackColor, date_back_color_);
}

void TTimeClock::ApplyColours() {
  QPalette window = palette();
  window.setColor(QPalette::Window, date_back_color_);
  setPalette(window);
  QPalette date = Label1->palette();
  date.setColor(QPalette::Window, date_back_color_);
  date.setColor(QPalette::WindowText, date_color_);
  Label1->setPalette(date);
  QPalette time = ClockLabel1->palette();
  time.setColor(QPalette::Window, clock_back_color_);
  time.setColor(QPalette::WindowText, clock_color_);
  ClockLabel1->setPalette(time);
  QPalette sound = SoundLabel->palette();
  sound.setColor(QPalette::WindowText, date_color_);
  SoundLabel->setPalette(sound);
}

void TTimeClock::ApplyFont() {
  Label1->setFont(clock_font_);
  ClockLabel1->setFont(clock_font_);
  LayOut();
}

int TTimeClock::CollapsedHeight() const {
  return std::max(kCollapsedHeight, 2 * (QFontMetrics(clock_font_).height() + 2) + 6);
}

void TTimeClock::LayOut() {
  // Both labels share the top; a larger font makes the closed window taller rather than
  // cutting the text.
  const int line = QFontMetrics(clock_font_).height() + 2;
  const int w = width();
  const int button = 20;
  Label1->setGeometry(2, 2, w - 4, line);
  ClockLabel1->setGeometry(2, 2 + line, w - button - 6, line);
  SpeedButton1->setGeometry(w - button - 2, 2 + line + (line - button) / 2, button, button);
  const int top = CollapsedHeight();
  MaskEdit1->setGeometry(8, top + 4, 70, 24);
  MaskEdit2->setGeometry(w - 78, top + 4, 70, 24);
  Button1->setGeometry(8, top + 36, 70, 26);
  MediaPlayerButton->setGeometry(82, top + 36, 22, 26);
  BitBtn1->setGeometry(w - 78, top + 36, 70, 26);
  SoundLabel->setGeometry(8, top + 66, w - 16, 18);
  Button2->setGeometry(8, top + 90, 70, 26);
  BitBtn2->setGeometry(w - 78, top + 90, 70, 26);
  Button3->setGeometry((w - 70) / 2, top + 124, 70, 26);
}

void TTimeClock::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayOut();
}

QString TTimeClock::FieldText(const QLineEdit* field) const {
  // The field's text; no digit at all is no time.
  QString shown = field->text().trimmed();
  bool any_digit = false;
  for (QChar c : shown) any_digit = any_digit || c.isDigit();
  return any_digit ? QString::fromStdString(AlarmFieldText(shown.toStdString())) : QString();
}

void TTimeClock::ClockLabel1Alarm(int index) {
  if (index == 0) {
    TellNewDay();
    platform::ShowMessage(this, QStringLiteral("日付が変更されました"), QStringLiteral("Time"));
    return;
  }
  const QString sound = settings_.ReadString(keys::AlarmSound, host_.RememberedSoundPath());
  host_.RememberSoundPath(sound);
  OpenAndPlay(sound);
  Timer2->start(kSoundTickMs);
  tick_count_ = 0;
  NotifyAlarm(index);
  platform::ShowMessage(this, QStringLiteral("時間になりました"), QStringLiteral("Time"));
  MediaPlayer1->Close();
  host_.ClockRebuildMonth();
}

bool TTimeClock::OpenAndPlay(const QString& file) {
  if (MediaPlayer1->Open(file) && MediaPlayer1->Play(kSoundLimitMs)) return true;
  platform::ShowMessage(this, QStringLiteral("ﾌｧｲﾙを開けません"), QApplication::applicationName(),
                        platform::MessageIcon::kExclamation);
  return false;
}

void TTimeClock::NotifyAlarm(int index) {
  if (!settings_.Store().ReadBool(keys::AlarmNotify)) return;
  const auto& entries = ClockLabel1->EventList();
  QString body = index < static_cast<int>(entries.size())
                     ? QString::fromStdString(entries[static_cast<size_t>(index)].substr(0, 5))
                     : QString();
  const LocalTime now = ClockLabel1->Time().Now();
  const std::filesystem::path day_file =
      daydata::DayStore(data_dir_, {})
          .ReadPath(std::to_string(now.year), daydata::DayFileName(now.year, now.month, now.day));
  const std::string text = daydata::DayStore::LoadDay(day_file).text;
  const std::string first = text.substr(0, text.find_first_of("\r\n"));
  if (!first.empty()) body += QStringLiteral("  ") + platform::ToQString(first);
  platform::ShowDesktopNotification(QStringLiteral("時間になりました"), body);
}

void TTimeClock::TellNewDay() {
  const LocalTime now = ClockLabel1->Time().Now();
  if (now.SameDay(told_day_)) return;
  told_day_ = now;
  host_.ClockSetToday(now.year, now.month, now.day);
  host_.ClockRebuildMonth();
  host_.ClockCalendarToday();
}

void TTimeClock::ClockLabel1TimeCast(int) {
  host_.ClockStartStatusLine();
}

void TTimeClock::Timer1Timer() {
  if (host_.MainWindowActive()) return;
  host_.FocusMainWindow();
  Timer1->deleteLater();
  Timer1 = nullptr;
}

void TTimeClock::Timer2Timer() {
  if (tick_count_ >= kSoundTicks) {
    tick_count_ = 0;
    MediaPlayer1->Close();
    Timer2->stop();
    return;
  }
  ++tick_count_;
  host_.ClockKeepStatusLineColour();
}

bool TTimeClock::StoreAlarms() {
  const QString alarm1 = FieldText(MaskEdit1), alarm2 = FieldText(MaskEdit2);
  // A field left half typed would stand for no alarm without a word: it is refused instead.
  for (const QString* alarm : {&alarm1, &alarm2}) {
    if (!alarm->isEmpty() && (alarm->size() != 5 || !IsTimeText(alarm->toStdString()))) {
      platform::ShowMessage(this,
                            QStringLiteral("アラームの時刻「%1」は入力の途中です。\n"
                                           "00:00 から 23:59 までの時刻を入力してください。")
                                .arg(*alarm),
                            QStringLiteral("注意"), platform::MessageIcon::kExclamation);
      (alarm == &alarm1 ? MaskEdit1 : MaskEdit2)->setFocus();
      return false;
    }
  }
  MaskEdit1->setText(alarm1);
  MaskEdit2->setText(alarm2);
  ClockLabel1->EventList() = {"00:00", alarm1.toStdString(), alarm2.toStdString()};
  Guarded([&] {
    settings_.WriteString(keys::Alarm0, QStringLiteral("00:00"));
    settings_.WriteString(keys::Alarm1, alarm1);
    settings_.WriteString(keys::Alarm2, alarm2);
  });
  SpeedButton1->setChecked(false);
  resize(width(), CollapsedHeight());
  return true;
}

void TTimeClock::Button2Click() {
  if (!StoreAlarms()) return;
  WritePlacement();
}

void TTimeClock::SpeedButton1Click(bool down) {
  if (down) {
    resize(width(), CollapsedHeight() + kExpandedHeight - kCollapsedHeight);
    WritePlacement();
    return;
  }
  if (!StoreAlarms()) {
    SpeedButton1->setChecked(true);  // the panel stays open on the time to put right
    return;
  }
  host_.FocusMainWindow();
  WritePlacement();
}

void TTimeClock::BitBtn2Click() {
  MaskEdit1->clear();
  MaskEdit2->clear();
  // The running alarms stay as they are until the times are stored again.
  Guarded([&] {
    settings_.WriteString(keys::Alarm0, QStringLiteral("00:00"));
    settings_.WriteString(keys::Alarm1, FieldText(MaskEdit1));
    settings_.WriteString(keys::Alarm2, FieldText(MaskEdit2));
  });
}

void TTimeClock::Button1Click() {
  QString file = sound_dialog_file_;
  if (!ChooseSoundFile(file)) return;
  sound_dialog_file_ = file;
  SoundLabel->setText(QFileInfo(file).fileName());
  Guarded([&] { settings_.WriteString(keys::AlarmSound, file); });
  OpenAndPlay(file);
}

void TTimeClock::BitBtn1Click() {
  Guarded([&] { settings_.WriteString(keys::AlarmSound, sound_dialog_file_); });
  host_.RememberSoundPath(sound_dialog_file_);
  MediaPlayer1->Close();
  host_.ClockRebuildMonth();
}

void TTimeClock::Button3Click() {
  const QString& help = help_file_;
  QUrl url = QUrl::fromLocalFile(QFileInfo(help).absoluteFilePath());
  url.setFragment(QStringLiteral("38"));
  if (!QFileInfo::exists(help) || !QDesktopServices::openUrl(url)) {
    platform::ShowMessage(
        this, QStringLiteral("ヘルプファイル ") + help + QStringLiteral(" を開けません"),
        QStringLiteral("注意"), platform::MessageIcon::kExclamation);
  }
}

bool TTimeClock::PickColour(const settings::Key& key, QColor& current) {
  QColor colour =
      platform::ToQColor(settings_.Store().ReadColour(key, platform::ToColourValue(current)));
  if (!ChooseColour(colour)) return false;
  current = colour;
  Guarded([&] { settings_.Store().WriteColour(key, platform::ToColourValue(colour)); });
  ApplyColours();
  return true;
}

void TTimeClock::N1Click() {
  PickColour(keys::DateColor, date_color_);
}
void TTimeClock::N2Click() {
  PickColour(keys::DateBackColor, date_back_color_);
}
void TTimeClock::N3Click() {
  PickColour(keys::ClockColor, clock_color_);
}
void TTimeClock::N4Click() {
  PickColour(keys::ClockBackColor, clock_back_color_);
}

void TTimeClock::N5Click() {
  settings_.ReadFont(keys::ClockFont, clock_font_);
  QFont font = clock_font_;
  if (ChooseFont(font) && platform::CheckFontSize(this, font)) {
    clock_font_ = font;
    ApplyFont();
    resize(width(), SpeedButton1->isChecked()
                        ? CollapsedHeight() + kExpandedHeight - kCollapsedHeight
                        : CollapsedHeight());
    Guarded([&] { settings_.WriteFont(keys::ClockFont, clock_font_); });
  }
  ReadColours();
  ApplyColours();
}

void TTimeClock::WritePlacement() {
  Guarded([&] { settings_.WritePlacement(keys::ClockPlacement, *this); });
}

void TTimeClock::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
}

void TTimeClock::FormClose() {
  WritePlacement();
  placement_written_ = true;
  // Closing destroys the window; nothing opens it again.
  setAttribute(Qt::WA_DeleteOnClose);
}

void TTimeClock::contextMenuEvent(QContextMenuEvent* event) {
  PopupMenu1->popup(event->globalPos());
}

void TTimeClock::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  const QPoint at = event->position().toPoint();
  QWindow* window = windowHandle();
  const Qt::Edges edges = EdgesAt(*this, at);
  if (window && edges && window->startSystemResize(edges)) return;
  if (window && window->startSystemMove()) {
    system_moving_ = true;
    return;
  }
  // No window manager to move it: follow the mouse.
  dragging_ = true;
  drag_offset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void TTimeClock::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_) move(event->globalPosition().toPoint() - drag_offset_);
}

void TTimeClock::mouseReleaseEvent(QMouseEvent* event) {
  if (dragging_ && event->button() == Qt::LeftButton) {
    dragging_ = false;
    DragEnded();
  }
}

void TTimeClock::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (system_moving_) system_move_end_->start();
}

void TTimeClock::DragEnded() {
  system_moving_ = false;
  WritePlacement();
  host_.FocusMainWindow();
}

}  // namespace timeclock
