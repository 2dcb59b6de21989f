// The options dialog against a host of its own: what each control writes and when, the days-off
// boxes, the close-key choices, OK's order-independent result, Cancel leaving the file as it
// was, the pickers and the help topics of the pages.
#include "options/option1.h"
#include "platform/message_box.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>

#include "test_support/temp_dir.h"

using namespace settings::keys;
using test_support::ReadBytes;

namespace {

class FakeHost : public options::OptionsHost {
 public:
  options::OptionSwitches Switches() const override { return switches; }
  void SetSwitches(const options::OptionSwitches& s) override {
    switches = s;
    ++redraws;
  }
  settings::ColourValue OptionsColour(const settings::Key& key) const override {
    auto it = colours.find(&key);
    return it == colours.end() ? 0 : it->second;
  }
  void PreviewColour(const settings::Key& key, settings::ColourValue colour) override {
    colours[&key] = colour;
  }
  QFont OptionsFont(const settings::Key&) const override { return QFont("Noto Sans CJK JP", 10); }
  int DateColumnWidth() const override { return width; }
  int DefaultColumnWidth() const override { return 64; }
  void PreviewDateColumnWidth(int w) override { width = w; }
  int RowHeightSetting() const override { return 23; }
  QString TitleText() const override { return QStringLiteral("2026年 12月"); }
  QStringList OptionsMaximLines() const override { return maxims; }
  void SetMaximLines(const QStringList& lines) override { maxims = lines; }
  void RestartStatusLine() override { ++restarts; }
  void AppearanceWritten() override { ++written; }
  void ReloadAppearance() override { ++reloads; }

  options::OptionSwitches switches;
  std::map<const settings::Key*, settings::ColourValue> colours;
  int width = 80;
  QStringList maxims;
  int redraws = 0, restarts = 0, written = 0, reloads = 0;
};

class TestDialog : public options::Toption1 {
 public:
  using Toption1::Toption1;
  std::optional<QColor> colour_answer;
  std::optional<QFont> font_answer;
  QString file_answer;
  std::vector<int> help_topics;

 protected:
  std::optional<QColor> ChooseColour(const QColor&) override { return colour_answer; }
  std::optional<QFont> ChooseFont(const QFont&) override { return font_answer; }
  QString ChooseMaximsFile() override { return file_answer; }
  void OpenHelp(const QString&, int topic) override { help_topics.push_back(topic); }
};

class OptionsTest : public ::testing::Test {
 protected:
  OptionsTest() { file_.SetFileName(QString::fromStdString(Ini().string())); }
  std::filesystem::path Ini() const { return dir_.path() / "vuruva.ini"; }
  settings::IniStore& File() { return file_.Store(); }
  int Read(const settings::Key& key) { return File().ReadInteger(key, -1); }
  TestDialog& Open() {
    dialog_ = std::make_unique<TestDialog>(host_, file_, QStringLiteral("mirune.HLP"));
    dialog_->show();
    return *dialog_;
  }
  test_support::TempDir dir_;
  FakeHost host_;
  settings::TIniGT file_;
  std::unique_ptr<TestDialog> dialog_;
};

struct HolidayChoice {
  const char* button;
  int syu1, syu2, sitei;
  bool boxes_enabled;
};

TEST_F(OptionsTest, EachHolidayChoiceWritesItsWholeGroup) {
  const HolidayChoice kChoices[] = {{"RadioButton1", 1, 0, 0, false},
                                    {"RadioButton2", 0, 1, 0, false},
                                    {"RadioButton3", 0, 0, 1, true}};
  File().WriteInteger(RestDay[1], 1);
  File().WriteInteger(SyukuColor, 1);
  File().WriteInteger(Rokuyou, 1);
  TestDialog& d = Open();
  EXPECT_EQ(host_.switches.rokuyou, 1);  // the file's values reach the window on opening
  const int opened = host_.redraws;
  for (const HolidayChoice& c : kChoices) {
    d.findChild<QRadioButton*>(c.button)->click();
    EXPECT_EQ(Read(Syu1Color), c.syu1) << c.button;
    EXPECT_EQ(Read(Syu2Color), c.syu2) << c.button;
    EXPECT_EQ(Read(SiteiColor), c.sitei) << c.button;
    for (int day = 0; day < 7; ++day) EXPECT_EQ(Read(RestDay[day]), day == 1 ? 1 : 0) << c.button;
    EXPECT_EQ(Read(SyukuColor), 1) << c.button;
    EXPECT_EQ(Read(SyukukyuColor), 0) << c.button;
    EXPECT_EQ(d.GroupBox2->isEnabled(), c.boxes_enabled) << c.button;
    const calendar::RestDays& r = host_.switches.rest_days;
    EXPECT_EQ(r.sunday_only * 100 + r.two_day_weekend * 10 + r.fixed_rest_days,
              c.syu1 * 100 + c.syu2 * 10 + c.sitei);
  }
  EXPECT_EQ(host_.redraws, opened + 3);
  // The rokuyou box writes its key alone.
  File().WriteInteger(Syu1Color, 7);
  d.CheckBox10->click();
  EXPECT_EQ(Read(Rokuyou), 0);
  EXPECT_EQ(Read(Syu1Color), 7);
}

TEST_F(OptionsTest, OtherWeekdaysEnablesTheBoxesAndASwitchAwayKeepsTheirTicks) {
  File().WriteInteger(Syu1Color, 1);
  File().WriteInteger(RestDay[3], 1);
  TestDialog& d = Open();
  EXPECT_TRUE(d.RadioButton1->isChecked());
  EXPECT_FALSE(d.GroupBox2->isEnabled());
  QFocusEvent focus(QEvent::FocusIn);
  QApplication::sendEvent(d.RadioButton3, &focus);
  EXPECT_TRUE(d.GroupBox2->isEnabled());
  d.RadioButton3->click();
  d.WeekdayBox[1]->click();
  EXPECT_EQ(Read(RestDay[1]), 1);
  EXPECT_EQ(Read(SiteiColor), 1);
  d.RadioButton2->click();
  EXPECT_FALSE(d.GroupBox2->isEnabled());
  EXPECT_EQ(Read(RestDay[1]), 1);
  EXPECT_EQ(Read(RestDay[3]), 1);
  d.RadioButton3->click();
  EXPECT_TRUE(d.WeekdayBox[1]->isChecked() && d.WeekdayBox[3]->isChecked());
  EXPECT_FALSE(d.WeekdayBox[0]->isChecked());
}

// The group is written back from the switches the window holds: a click and its undoing leave
// the file as it was, whichever of the days-off keys were set.
TEST_F(OptionsTest, ClickingAHolidayBoxTwiceLeavesTheFileByteIdentical) {
  const int kGroups[][12] = {{0, 0, 1, 0, 1, 0, 1, 0, 0, 1, 1, 0},
                             {1, 0, 0, 1, 1, 1, 1, 1, 1, 1, 0, 1},
                             {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1}};
  for (const int(&group)[12] : kGroups) {
    File().WriteInteger(Syu1Color, group[0]);
    File().WriteInteger(Syu2Color, group[1]);
    File().WriteInteger(SiteiColor, group[2]);
    for (int d = 0; d < 7; ++d) File().WriteInteger(RestDay[d], group[3 + d]);
    File().WriteInteger(SyukuColor, group[10]);
    File().WriteInteger(SyukukyuColor, group[11]);
    const std::string before = ReadBytes(Ini());
    TestDialog& d = Open();
    d.CheckBox9->click();
    EXPECT_EQ(Read(SyukukyuColor), 1 - group[11]);
    d.CheckBox9->click();
    EXPECT_EQ(ReadBytes(Ini()), before) << group[0] << group[1] << group[2];
    EXPECT_EQ(host_.switches.rest_days.weekdays[4], group[7] == 1);
  }
}

TEST_F(OptionsTest, CloseKeyChoicesWriteTheirKeysAndAnUnknownKeyShowsNone) {
  File().WriteInteger(InputKeyClose, 9);
  host_.switches.input_key_close = 9;
  TestDialog& d = Open();
  for (QRadioButton* b : d.CloseKeyButton) EXPECT_FALSE(b->isChecked());
  for (int i = 0; i < 4; ++i) {
    d.CloseKeyButton[i]->click();
    EXPECT_EQ(Read(InputKeyClose), options::Toption1::kCloseKeys[i]);
    EXPECT_EQ(host_.switches.input_key_close, options::Toption1::kCloseKeys[i]);
  }
  d.CheckBox13->click();
  EXPECT_TRUE(File().ReadBool(SingleDouble, false));
}

TEST_F(OptionsTest, CancelKeepsEverySettingAsItWasAndTicksStayWritten) {
  File().WriteInteger(FixedColWidth1, 90);
  File().WriteColour(CursorColor, 0x112233);
  const std::string before = ReadBytes(Ini());
  TestDialog& d = Open();
  d.colour_answer = QColor(1, 2, 3);
  d.font_answer = QFont("Noto Serif CJK JP", 20);
  for (int row = 0; row < d.ListBox1->count(); ++row) {
    d.ListBox1->setCurrentRow(row);
    if (d.Button1->isEnabled()) d.Button1->click();
    if (d.Button2->isEnabled()) d.Button2->click();
    if (d.Button3->isEnabled()) d.Button3->click();
  }
  EXPECT_EQ(host_.colours.size(), 11u);  // every main-window colour was shown at once
  d.TrackBar1->setValue(40);
  EXPECT_EQ(host_.width, 104);
  EXPECT_EQ(ReadBytes(Ini()), before);  // nothing written before OK
  d.CancelButton->click();
  EXPECT_EQ(ReadBytes(Ini()), before);
  EXPECT_EQ(host_.reloads, 1);
  EXPECT_FALSE(d.isVisible());

  // A switch clicked before Cancel stays written.
  TestDialog& again = Open();
  again.CheckBox9->click();
  QTest::keyClick(&again, Qt::Key_Escape);
  EXPECT_EQ(Read(SyukukyuColor), 1);
  EXPECT_EQ(host_.reloads, 2);
}

TEST_F(OptionsTest, OkWritesColoursFontsAndBothWidthsAlike) {
  TestDialog& d = Open();
  d.colour_answer = QColor(0x10, 0x20, 0x30);
  d.ListBox1->setCurrentRow(7);  // the entry dialog's date colours stay in the dialog
  d.Button2->click();
  d.ListBox1->setCurrentRow(1);
  d.Button1->click();
  d.font_answer = QFont("Noto Serif CJK JP", 20);
  d.Button3->click();
  d.TrackBar1->setValue(30);
  d.OKButton->click();
  EXPECT_EQ(host_.written, 1);
  EXPECT_EQ(host_.reloads, 0);
  EXPECT_EQ(File().ReadColour(InputTitleOther, 0), 0x302010u);
  EXPECT_EQ(File().ReadColour(FixedGridColor, 0), 0x302010u);
  EXPECT_EQ(File().ReadColour(InputTitleToday, 0), 0x0000FFu);  // its designed red
  EXPECT_EQ(Read(FixedColWidth1), 94);
  EXPECT_EQ(Read(FixedColWidth2), 94);
  EXPECT_EQ(Read(RowHeight2), 23);
  QFont font;
  file_.ReadFont(DaysFont, font);
  EXPECT_EQ(font.pointSize(), 20);
}

TEST_F(OptionsTest, FontSizesOutsideTheRangeAreRefusedAndNotWritten) {
  QStringList shown;
  platform::SetMessageHook([&shown](const platform::MessageRequest& r) {
    shown << r.text;
    return QMessageBox::Ok;
  });
  TestDialog& d = Open();
  d.ListBox1->setCurrentRow(1);
  for (int points : {5, 97, 6, 96}) {
    shown.clear();
    QFont chosen("Noto Serif CJK JP");
    chosen.setPointSize(points);
    d.font_answer = chosen;
    d.Button3->click();
    EXPECT_EQ(shown.size(), points < 6 || points > 96 ? 1 : 0) << points;
  }
  d.OKButton->click();
  platform::SetMessageHook(nullptr);
  QFont font;
  file_.ReadFont(DaysFont, font);
  EXPECT_EQ(font.pointSize(), 96);  // the last size in range, not the refused ones
}

TEST_F(OptionsTest, PagesInTheirOrderWithTheirHelpTopics) {
  TestDialog& d = Open();
  d.InsertSpecialDayPage(new QWidget);
  const char* const kPages[] = {"休日及び六曜", "特別日", "画面色・フォント等", "ｽｸﾛｰﾙ文字表示",
                                "その他"};
  ASSERT_EQ(d.PageControl1->count(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(d.PageControl1->tabText(i), QString::fromUtf8(kPages[i]));
  for (QPushButton* help : d.findChildren<QPushButton*>("HelpButton")) help->click();
  std::sort(d.help_topics.begin(), d.help_topics.end());
  EXPECT_EQ(d.help_topics, (std::vector<int>{19, 21, 55, 56}));
}

TEST_F(OptionsTest, MaximsFileLoadsWritesItsPathAndAnUnreadableOneChangesNothing) {
  TestDialog& d = Open();
  d.file_answer = QString::fromStdString((dir_.path() / "missing.txt").string());
  d.Button4->click();
  EXPECT_TRUE(File().ReadString(KakuGenFile).empty());
  EXPECT_EQ(host_.restarts, 0);
  const auto maxims = dir_.path() / "格言.txt";
  test_support::WriteBytes(maxims, test_support::Sjis("急がば回れ\r\n石の上にも三年\r\n"));
  d.file_answer = QString::fromStdString(maxims.string());
  d.Button4->click();
  EXPECT_EQ(host_.maxims, QStringList({"急がば回れ", "石の上にも三年"}));
  EXPECT_EQ(File().ReadString(KakuGenFile), test_support::Sjis(maxims.string()));
  EXPECT_EQ(Read(Speed), 400);
  EXPECT_EQ(host_.restarts, 1);
  d.TrackBar3->setValue(2000);
  EXPECT_EQ(Read(Speed), 2000);
  EXPECT_EQ(d.TrackBar3->toolTip(), QStringLiteral("2000"));
}

}  // namespace
