#include "calendar/calendar.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QShowEvent>
#include <QToolButton>

#include "calendar/calendar_ex.h"
#include "calendar/calendar_host.h"
#include "calendar/calendar_window_rules.h"
#include "calendar/holiday_rules.h"
#include "calendar/jamp_month.h"
#include "platform/fonts.h"
#include "platform/qt_text.h"
#include "platform/system_colours.h"
#include "settings/schema.h"
#include "widgets/grad_box.h"
#include "widgets/marquee_label.h"

namespace calendar {
namespace {

QString Text(const char* utf8) {
  return QString::fromUtf8(utf8);
}

constexpr int kToolBarHeight = 30;
constexpr int kTitleHeight = 25;
constexpr int kLineHeight = 24;
constexpr const char* kToggleHint = "カレンダーON/OFF";

}  // namespace

TCalendar::TCalendar(CalendarHost& host, settings::TIniGT& settings, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), host_(host), settings_(settings) {
  setObjectName("Calendar");
  setWindowTitle(QStringLiteral("ミルネカレンダー"));
  // Every pixel is covered by the panels: nothing to erase before they paint.
  setAttribute(Qt::WA_OpaquePaintEvent);
  QFont form_font(platform::kGothicFace);
  form_font.setPixelSize(15);
  setFont(form_font);

  GradBox1 = new widgets::TGradBox(this);
  GradBox1->setObjectName("GradBox1");
  SpeedButton4 = AddButton("SpeedButton4", "暦", kToggleHint);
  SpeedButton4->setCheckable(true);
  SpeedButton1 = AddButton("SpeedButton1", "«年", "前年表示");
  SpeedButton6 = AddButton("SpeedButton6", "‹月", "前月表示");
  SpeedButton2 = AddButton("SpeedButton2", "今月", "今月表示");
  SpeedButton7 = AddButton("SpeedButton7", "月›", "次月表示");
  SpeedButton3 = AddButton("SpeedButton3", "年»", "次年表示");
  SpeedButton5 = AddButton("SpeedButton5", "年月", "年月変更");
  connect(SpeedButton4, &QToolButton::clicked, this, &TCalendar::SpeedButton4Click);
  connect(SpeedButton1, &QToolButton::clicked, this, &TCalendar::SpeedButton1Click);
  connect(SpeedButton6, &QToolButton::clicked, this, &TCalendar::SpeedButton6Click);
  connect(SpeedButton2, &QToolButton::clicked, this, &TCalendar::SpeedButton2Click);
  connect(SpeedButton7, &QToolButton::clicked, this, &TCalendar::SpeedButton7Click);
  connect(SpeedButton3, &QToolButton::clicked, this, &TCalendar::SpeedButton3Click);
  connect(SpeedButton5, &QToolButton::clicked, this, &TCalendar::SpeedButton5Click);

  Panel1 = new QLabel(this);
  Panel1->setObjectName("Panel1");
  Panel1->setAlignment(Qt::AlignCenter);
  Panel1->setAutoFillBackground(true);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  GradBox2 = new widgets::TGradBox(this);
  GradBox2->setObjectName("GradBox2");
  CalendarEx1 = new TCalendarEx(GradBox2);
  CalendarEx1->setObjectName("CalendarEx1");
  MarqueeLabel1 = new widgets::TMarqueeLabel(this);
  MarqueeLabel1->setObjectName("MarqueeLabel1");
  MarqueeLabel1->SetFontColor(Qt::red);
  MarqueeLabel1->SetColor(platform::ToQColor(platform::kClBtnFace));

  CalendarExModel& model = CalendarEx1->Model();
  model.SetColour(CalendarExModel::kSundayColour, 0x000000FF);       // red
  model.SetColour(CalendarExModel::kSaturdayColour, 0x00FF0000);     // blue
  model.SetColour(CalendarExModel::kHolidayColour, 8388863);         // rose
  model.SetColour(CalendarExModel::kSpecialDayColour, 0x00FF00FF);   // fuchsia
  model.SetColour(CalendarExModel::kNeighborDayColour, 0x00C0C0C0);  // silver
  model.SetAutoEquinox(false);
  list_has_days_off_ = host_.Rules().CalendarWindowListHasDaysOff();
  model.SetAutoSubstitute(!list_has_days_off_);
  model.SetTypeOfDayList(host_.Rules().InitialCalendarWindowList());
  CalendarEx1->OnChange = [this] { CalendarEx1Change(); };
  CalendarEx1->OnDblClick = [this] { CalendarEx1DblClick(); };
  CalendarEx1->OnKeyDown = [this](int& key, Qt::KeyboardModifiers modifiers) {
    CalendarEx1KeyDown(key, modifiers);
  };
  FormCreate();
}

TCalendar::~TCalendar() {
  FormDestroy();
}

QToolButton* TCalendar::AddButton(const char* name, const char* text, const char* hint) {
  auto* button = new QToolButton(GradBox1);
  button->setObjectName(name);
  button->setText(Text(text));
  button->setToolTip(Text(hint));
  button->setAutoRaise(true);
  buttons_.push_back(button);
  return button;
}

void TCalendar::FormCreate() {
  calendar_font_ = QFont(platform::kMinchoFace);
  calendar_font_.setPixelSize(18);
  calendar_font_.setBold(true);
  title_font_ = QFont(platform::kMinchoFace, 16, QFont::Bold);
  settings_.ReadFont(settings::keys::CalendarFont, calendar_font_);
  settings_.ReadFont(settings::keys::TaitolFont, title_font_);

  // A first start puts the window beside the main window; later starts where it was left.
  resize(560, 341);
  if (!settings_.HasPlacement(settings::keys::CalendarPlacement)) {
    const QRect main = host_.MainWindowFrame();
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect free = screen ? screen->availableGeometry() : QRect(0, 0, 1600, 1000);
    const ScreenRect at =
        BesideMainWindow({main.x(), main.y(), main.width(), main.height()},
                         {free.x(), free.y(), free.width(), free.height()}, width(), height());
    move(at.x, at.y);
  }
  settings_.ReadPlacement(settings::keys::CalendarPlacement, *this);
  // Minimised is the toggles' state, not the placement's.
  setWindowState(windowState() & ~Qt::WindowMinimized);

  const WindowColours colours = host_.Colours();
  QPalette palette = Panel1->palette();
  palette.setColor(QPalette::Window, platform::ToQColor(colours.title_top));
  Panel1->setPalette(palette);
  GradBox1->SetTopColor(colours.toolbar_top);
  GradBox1->SetLastColor(colours.toolbar_last);
  GradBox2->SetTopColor(colours.title_top);
  GradBox2->SetLastColor(colours.title_last);

  CalendarEx1->setFont(calendar_font_);
  CalendarEx1->Model().GoToday();
  CalendarEx1Change();  // the list and the line of today, also when today was already shown
  ShowDate(Year(), Month(), Day());
}

void TCalendar::ShowAtStart() {
  SpeedButton4->setChecked(host_.CalendarToggleDown());
  SpeedButton4->setToolTip(Text(kToggleHint));
  if (!SpeedButton4->isChecked()) show();
}

bool TCalendar::Minimised() const {
  return SpeedButton4->isChecked() && !isVisible();
}

void TCalendar::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TCalendar::FormShow() {
  // Only the two weekly switches are read back; the others stay as the main window has them.
  const settings::IniStore& file = settings_.Store();
  RestDays rest = host_.RestDays();
  rest.two_day_weekend =
      file.ReadInteger(settings::keys::Syu2Color, SwitchValue(rest.two_day_weekend)) == 1;
  rest.sunday_only =
      file.ReadInteger(settings::keys::Syu1Color, SwitchValue(rest.sunday_only)) == 1;
  host_.SetRestDays(rest);
  SpeedButton4->setChecked(host_.CalendarToggleDown());
  SpeedButton4->setToolTip(Text(kToggleHint));
  if (std::optional<std::uint32_t> saturday = SaturdayColourFor(rest))
    CalendarEx1->Model().SetColour(CalendarExModel::kSaturdayColour, *saturday);
}

void TCalendar::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FormResize();
}

void TCalendar::FormResize() {
  const int w = width(), h = height();
  GradBox1->setGeometry(0, 0, w, kToolBarHeight);
  int x = 2;
  for (QToolButton* button : buttons_) {
    button->setGeometry(x, 2, 40, kToolBarHeight - 4);
    x += button == SpeedButton4 ? 50 : 42;  // the toggle stands apart from the moves
  }
  Panel1->setGeometry(0, kToolBarHeight, w, kTitleHeight);
  const int top = kToolBarHeight + kTitleHeight;
  GradBox2->setGeometry(0, top, w, h - top - kLineHeight);
  MarqueeLabel1->setGeometry(0, h - kLineHeight, w, kLineHeight);
  // 60 below the tool bar's top, 10 from the left; the control then trims itself to whole
  // cells. The margins leave the window's edge and the scrolling line free.
  CalendarEx1->setGeometry(10, GradBox1->y() + 60 - top, w - 20, h - 60 - kLineHeight - 4);
}

void TCalendar::closeEvent(QCloseEvent* event) {
  // Closing only hides the window; it lives as long as the program. Hidden, it counts as
  // toggled off, so that one click on the main window's toggle brings it back.
  hide();
  SpeedButton4->setChecked(true);
  host_.SetCalendarToggle(true);
  event->ignore();
}

void TCalendar::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // Minimised by the window manager: withdrawn and toggled off like the window's own toggle.
  if (event->type() == QEvent::WindowStateChange && isMinimized() && isVisible()) {
    SpeedButton4->setChecked(true);
    host_.SetCalendarToggle(true);
  }
}

void TCalendar::FormDestroy() {
  host_.ReportedWrite(
      [this] { settings_.WritePlacement(settings::keys::CalendarPlacement, *this); });
}

int TCalendar::Year() const {
  return CalendarEx1->Year();
}
int TCalendar::Month() const {
  return CalendarEx1->Month();
}
int TCalendar::Day() const {
  return CalendarEx1->Day();
}
void TCalendar::SetDay(int day) {
  CalendarEx1->Model().SetDay(day);
}
void TCalendar::GoToDate(int year, int month, int day) {
  CalendarEx1->Model().GoToDate(year, month, day);
}
void TCalendar::GoNextMonth() {
  CalendarEx1->Model().GoNextMonth();
}
void TCalendar::GoPrevMonth() {
  CalendarEx1->Model().GoPrevMonth();
}
void TCalendar::GoNextYear() {
  CalendarEx1->Model().GoNextYear();
}
void TCalendar::GoPrevYear() {
  CalendarEx1->Model().GoPrevYear();
}
void TCalendar::GoToday() {
  CalendarEx1->Model().GoToday();
}

void TCalendar::ShowDate(int year, int month, int day) {
  QPalette palette = Panel1->palette();
  palette.setColor(QPalette::WindowText, platform::ToQColor(host_.Colours().title_font));
  Panel1->setPalette(palette);
  Panel1->setFont(title_font_);
  Panel1->setText(QString::asprintf("%d年%2d月%2d日", year, month, day));
}

void TCalendar::Restore() {
  // A stay-on-top tool window has no task-bar entry to come back from, and a Wayland client
  // cannot undo its own minimising: minimised therefore means withdrawn until a toggle
  // brings it back.
  show();
  setWindowState(windowState() & ~Qt::WindowMinimized);
  raise();
}

void TCalendar::SetMinimised(bool minimised) {
  SpeedButton4->setChecked(minimised);
  if (minimised) {
    hide();
  } else {
    Restore();
  }
}

void TCalendar::SpeedButton4Click(bool down) {
  host_.SetCalendarToggle(down);
  if (down) {
    hide();
  } else {
    Restore();
  }
  SpeedButton4->setToolTip(Text(kToggleHint));
  host_.ReportedWrite(
      [&] { settings_.Store().WriteInteger(settings::keys::CalendarOnOff, down ? 1 : 0); });
}

void TCalendar::SpeedButton1Click() {
  GoPrevYear();
  ShowOwnDate();
}
void TCalendar::SpeedButton6Click() {
  GoPrevMonth();
  ShowOwnDate();
}
void TCalendar::SpeedButton2Click() {
  GoToday();
  ShowOwnDate();
}
void TCalendar::SpeedButton7Click() {
  GoNextMonth();
  ShowOwnDate();
}
void TCalendar::SpeedButton3Click() {
  GoNextYear();
  ShowOwnDate();
}

void TCalendar::SpeedButton5Click() {
  host_.SetFromCalendar(true);
  ExecJampMonth();
}

void TCalendar::ExecJampMonth() {
  TJampMonth dialog(host_, this, this);
  dialog.exec();
}

void TCalendar::CalendarEx1Change() {
  if (changing_) return;  // the list update below raises the change once more
  changing_ = true;
  CalendarExModel& model = CalendarEx1->Model();
  ShowDate(model.Year(), model.Month(), model.Day());
  HolidayRules& rules = host_.Rules();
  std::vector<std::string> list = model.TypeOfDayList();
  if (rules.CalendarWindowListHasDaysOff() != list_has_days_off_) {
    // The settings chose the other rules since the list was made: their update would read a
    // list of the wrong shape, so it starts again from theirs.
    list_has_days_off_ = !list_has_days_off_;
    model.SetAutoSubstitute(!list_has_days_off_);
    list = rules.InitialCalendarWindowList();
  }
  rules.UpdateCalendarWindowList(list, model.Year(), model.Month());
  if (list != model.TypeOfDayList()) model.SetTypeOfDayList(std::move(list));
  MarqueeLabel1->SetCaption(platform::ToQString(ChosenDayText(model)));
  MarqueeLabel1->Start(0);
  changing_ = false;
}

void TCalendar::CalendarEx1DblClick() {
  host_.SetFromCalendar(true);
  host_.OpenEntryDialog(Year(), Month(), Day());
}

void TCalendar::CalendarEx1KeyDown(int& key, Qt::KeyboardModifiers) {
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      key = 0;
      CalendarEx1DblClick();
      break;
    case Qt::Key_Escape:
      key = 0;
      close();
      break;
    case Qt::Key_PageUp:
      key = 0;
      GoPrevMonth();
      break;
    case Qt::Key_PageDown:
      key = 0;
      GoNextMonth();
      break;
    case Qt::Key_Left:
      CrossMonthByArrow(CalendarEx1->Model(), true);
      break;
    case Qt::Key_Right:
      CrossMonthByArrow(CalendarEx1->Model(), false);
      break;
    default:
      break;
  }
}

}  // namespace calendar
