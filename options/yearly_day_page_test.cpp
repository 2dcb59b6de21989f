// The page "特別日" on a fake main window: adding, deleting and sorting both lists, the refusals
// of half-month display, the suffix setting, and the write buttons with their labels.
#include "options/yearly_day_page.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStringList>

#include <cstdlib>

#include "platform/message_box.h"
#include "test_support/temp_dir.h"

namespace fs = std::filesystem;
using test_support::ReadBytes;
using test_support::Sjis;
using test_support::WriteBytes;

namespace {

class FakeHost : public options::SpecialDayHost {
 public:
  int SpecialShownYear() const override { return year; }
  int SpecialShownMonth() const override { return month; }
  int SpecialCurrentYear() override { return 2026; }
  bool SpecialHalfMonth() const override { return half_month; }
  void SpecialRebuildMonth() override { ++rebuilds; }

  int year = 2026, month = 3, rebuilds = 0;
  bool half_month = false;
};

class SpecialDayPageTest : public ::testing::Test {
 protected:
  SpecialDayPageTest() {
    settings_.SetFileName(QString::fromStdString(Ini().string()));
    fs::create_directory(data_);
    platform::SetMessageHook([this](const platform::MessageRequest& r) {
      messages_ << r.caption + "|" + r.text;
      return answer_;
    });
  }
  ~SpecialDayPageTest() override { platform::SetMessageHook(nullptr); }

  void AddBirthday(options::TSpecialDayPage& page, int year, int month, int day,
                   const QString& name) {
    page.CSpinEdit1->setValue(year);
    page.ComboBox1->setCurrentIndex(month - 1);
    page.ComboBox2->setCurrentIndex(day - 1);
    page.Edit1->setText(name);
    page.Button11->click();
  }
  void AddSpecialDay(options::TSpecialDayPage& page, int month, int day, const QString& subject) {
    page.ComboBox4->setCurrentIndex(month - 1);
    page.ComboBox5->setCurrentIndex(day - 1);
    page.ComboBox6->setEditText(subject);
    page.Button14->click();
  }
  static QStringList Items(QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
  }
  fs::path Ini() const { return dir_.path() / "vuruva.ini"; }
  // The suffix the settings file holds; nullopt while it holds none.
  std::optional<int> StoredSuffix() const {
    const std::optional<std::string> value = settings_.Store().ReadValue(
        settings::SectionBytes(settings::keys::BirthdaySuffix), "Who'sbirthday");
    if (!value) return std::nullopt;
    return std::stoi(*value);
  }
  fs::path Birthdays() const { return dir_.path() / "Birthday.dat"; }
  fs::path Specials() const { return dir_.path() / "Specialday.dat"; }
  fs::path Day(int year, const char* name) const { return data_ / std::to_string(year) / name; }

  test_support::TempDir dir_;
  FakeHost host_;
  settings::TIniGT settings_;
  const fs::path data_ = dir_.path() / "data";
  QStringList messages_;
  QMessageBox::StandardButton answer_ = QMessageBox::Ok;
};

TEST_F(SpecialDayPageTest, AddSortAndDeleteBirthdays) {
  options::TSpecialDayPage page(host_, settings_, dir_.path(), data_, QString());
  // Presets: today's year, the shown month, no day.
  EXPECT_EQ(page.CSpinEdit1->value(), 2026);
  EXPECT_EQ(page.ComboBox1->currentText(), "3");
  EXPECT_EQ(page.ComboBox2->currentIndex(), -1);
  AddBirthday(page, 1970, 3, 5, QStringLiteral("山田"));
  EXPECT_EQ(ReadBytes(Birthdays()), Sjis("1970/03/05/山田\r\n"));
  EXPECT_EQ(host_.rebuilds, 1);
  AddBirthday(page, 1990, 12, 1, QStringLiteral("佐藤"));
  AddBirthday(page, 1965, 7, 20, QStringLiteral("鈴木"));
  // New records go to the end of the file; the box shows them sorted, the first one shown.
  EXPECT_EQ(ReadBytes(Birthdays()),
            Sjis("1970/03/05/山田\r\n1990/12/01/佐藤\r\n1965/07/20/鈴木\r\n"));
  EXPECT_EQ(Items(page.ComboBox3),
            (QStringList{"1965/07/20/鈴木", "1970/03/05/山田", "1990/12/01/佐藤"}));
  EXPECT_EQ(page.ComboBox3->currentIndex(), 0);
  // Refused: a missing field, and a record listed already though another one is shown.
  AddBirthday(page, 1970, 3, 5, QString());
  AddBirthday(page, 1990, 12, 1, QStringLiteral("佐藤"));
  AddBirthday(page, 1990, 12, 1, QStringLiteral("한국"));
  EXPECT_EQ(messages_,
            (QStringList{"注意|入力されていない項目があります！", "注意|すでに登録されています！",
                         "注意|次の文字はシフトJISで保存できません。\n「한」\u00A0(U+D55C) "
                         "「국」\u00A0(U+AD6D)\n\n"
                         "このまま保存すると、これらの文字は「?」に置き換わります。"}));
  // A delete writes the rest in sorted order and rebuilds nothing.
  page.ComboBox3->setCurrentIndex(1);
  page.Button12->click();
  EXPECT_EQ(ReadBytes(Birthdays()), Sjis("1965/07/20/鈴木\r\n1990/12/01/佐藤\r\n"));
  EXPECT_EQ(Items(page.ComboBox3), (QStringList{"1965/07/20/鈴木", "1990/12/01/佐藤"}));
  EXPECT_EQ(host_.rebuilds, 3);
  // A new page reads the file again.
  options::TSpecialDayPage again(host_, settings_, dir_.path(), data_, QString());
  EXPECT_EQ(Items(again.ComboBox3), Items(page.ComboBox3));
}

TEST_F(SpecialDayPageTest, DatesNotInTheCalendarAreRefusedAndNothingStored) {
  struct Case {
    int month, day;
    bool taken;
  };
  const Case cases[] = {{2, 29, true},  {2, 30, false}, {2, 31, false}, {4, 30, true},
                        {4, 31, false}, {6, 31, false}, {9, 31, false}, {11, 31, false},
                        {12, 31, true}, {1, 31, true}};
  options::TSpecialDayPage page(host_, settings_, dir_.path(), data_, QString());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.month * 100 + c.day);
    for (bool birthday : {true, false}) {
      const fs::path file = birthday ? Birthdays() : Specials();
      fs::remove(file);
      messages_.clear();
      if (birthday) {
        AddBirthday(page, 1980, c.month, c.day, QStringLiteral("名"));
      } else {
        AddSpecialDay(page, c.month, c.day, QStringLiteral("行事"));
      }
      EXPECT_EQ(fs::exists(file), c.taken);
      EXPECT_EQ(messages_.isEmpty(), c.taken);
      if (!c.taken) {
        EXPECT_EQ(
            messages_,
            QStringList{
                QStringLiteral("注意|%1月%2日という日付はありません！").arg(c.month).arg(c.day)});
      }
    }
  }
}

TEST_F(SpecialDayPageTest, UnrepresentableCharactersAreStoredAsReplacementsOnlyWhenChosen) {
  options::TSpecialDayPage page(host_, settings_, dir_.path(), data_, QString());
  answer_ = QMessageBox::Cancel;  // back to the text
  AddSpecialDay(page, 5, 5, QStringLiteral("こどもの日😀"));
  EXPECT_FALSE(fs::exists(Specials()));
  ASSERT_EQ(messages_.size(), 1);
  EXPECT_TRUE(messages_[0].contains(QStringLiteral("「😀」\u00A0(U+1F600)")));
  answer_ = QMessageBox::Save;
  AddSpecialDay(page, 5, 5, QStringLiteral("こどもの日😀"));
  EXPECT_EQ(ReadBytes(Specials()), Sjis("05/05/こどもの日?\r\n"));
}

TEST_F(SpecialDayPageTest, HalfMonthRefusesAddingOnly) {
  WriteBytes(Birthdays(), Sjis("1970/03/05/山田\r\n"));
  WriteBytes(Specials(), Sjis("05/03/憲法記念日\r\n"));
  host_.half_month = true;
  options::TSpecialDayPage page(host_, settings_, dir_.path(), data_, QString());
  AddBirthday(page, 1980, 1, 1, QStringLiteral("a"));
  AddSpecialDay(page, 1, 1, QStringLiteral("b"));
  EXPECT_EQ(messages_, (QStringList{"注意|半月表示時は、誕生日入力はできません！",
                                    "注意|半月表示時は、特別日入力はできません！"}));
  EXPECT_EQ(ReadBytes(Birthdays()), Sjis("1970/03/05/山田\r\n"));
  // Writing and deleting go ahead.
  page.Button13->click();
  page.Button16->click();
  EXPECT_EQ(ReadBytes(Day(2026, "KVR20260305.dat")), Sjis("山田の誕生日(56歳)\r\n"));
  EXPECT_EQ(ReadBytes(Day(2026, "KVR20260503.dat")), Sjis("憲法記念日\r\n"));
  page.Button12->click();
  EXPECT_EQ(ReadBytes(Birthdays()), "");
}

TEST_F(SpecialDayPageTest, WriteTwiceIsOnceAndTheNextYearIsOneOlder) {
  WriteBytes(Birthdays(), Sjis("1970/03/05/山田\r\n2000/02/29/閏\r\n2030/01/01/未来\r\n"));
  options::TSpecialDayPage page(host_, settings_, dir_.path(), data_, QString());
  EXPECT_EQ(page.ComboBox7->currentText(), "の誕生日");
  page.Button13->click();
  const std::string once = ReadBytes(Day(2026, "KVR20260305.dat"));
  page.Button13->click();
  EXPECT_EQ(once, Sjis("山田の誕生日(56歳)\r\n"));
  EXPECT_EQ(ReadBytes(Day(2026, "KVR20260305.dat")), once);
  // 29 February on the 28th of a common year; nobody born in 2030 yet.
  EXPECT_EQ(ReadBytes(Day(2026, "KVR20260228.dat")), Sjis("閏の誕生日(26歳)\r\n"));
  EXPECT_FALSE(fs::exists(Day(2026, "KVR20260229.dat")));
  EXPECT_FALSE(fs::exists(Day(2026, "KVR20260101.dat")));
  EXPECT_EQ(host_.rebuilds, 2);
  // The main window moved on a year.
  host_.year = 2027;
  page.Button13->click();
  EXPECT_EQ(ReadBytes(Day(2027, "KVR20270305.dat")), Sjis("山田の誕生日(57歳)\r\n"));
  EXPECT_EQ(ReadBytes(Day(2026, "KVR20260305.dat")), once);
  host_.year = 2028;
  page.Button13->click();
  EXPECT_EQ(ReadBytes(Day(2028, "KVR20280229.dat")), Sjis("閏の誕生日(28歳)\r\n"));
  // A data folder that is gone: the standard error box, and the month is still rebuilt.
  fs::remove_all(data_);
  page.Button13->click();
  ASSERT_EQ(messages_.size(), 1);
  EXPECT_TRUE(messages_[0].startsWith("ミルネ|")) << messages_[0].toStdString();
  EXPECT_EQ(host_.rebuilds, 5);
}

TEST_F(SpecialDayPageTest, SuffixChoiceIsRememberedAndTypedTextUsed) {
  WriteBytes(Birthdays(), Sjis("1970/03/05/山田\r\n"));
  options::TSpecialDayPage first(host_, settings_, dir_.path(), data_, QString());
  EXPECT_FALSE(StoredSuffix());  // showing writes nothing
  settings_.Store().WriteInteger(settings::keys::BirthdaySuffix, 1);
  const std::string before = ReadBytes(Ini());
  options::TSpecialDayPage page(host_, settings_, dir_.path(), data_, QString());
  EXPECT_EQ(page.ComboBox7->currentText(), "のBirthday");
  EXPECT_EQ(ReadBytes(Ini()), before);  // nor when the file holds a choice
  page.ComboBox7->setCurrentIndex(0);
  EXPECT_EQ(StoredSuffix(), 0);
  page.ComboBox7->setEditText(QStringLiteral("さん誕生日"));
  EXPECT_EQ(StoredSuffix(), -1);
  page.Button13->click();
  EXPECT_EQ(ReadBytes(Day(2026, "KVR20260305.dat")), Sjis("山田さん誕生日(56歳)\r\n"));
  options::TSpecialDayPage none(host_, settings_, dir_.path(), data_, QString());
  EXPECT_EQ(none.ComboBox7->currentText(), "");
}

TEST_F(SpecialDayPageTest, SpecialDaysAddAndDeleteOnlyTheShownEntry) {
  options::TSpecialDayPage page(host_, settings_, dir_.path(), data_, QString());
  AddSpecialDay(page, 12, 24, QStringLiteral("クリスマス・イブ"));
  AddSpecialDay(page, 5, 3, QStringLiteral("憲法記念日"));
  EXPECT_EQ(ReadBytes(Specials()), Sjis("12/24/クリスマス・イブ\r\n05/03/憲法記念日\r\n"));
  EXPECT_EQ(Items(page.ComboBox6), (QStringList{"05/03/憲法記念日", "12/24/クリスマス・イブ"}));
  EXPECT_EQ(page.ComboBox6->currentText(), "05/03/憲法記念日");
  // While a subject is being typed, 削除 deletes nothing.
  page.ComboBox6->setEditText(QStringLiteral("新しい件名"));
  page.Button15->click();
  EXPECT_EQ(page.ComboBox6->count(), 2);
  page.ComboBox6->setCurrentIndex(1);
  page.Button15->click();
  EXPECT_EQ(ReadBytes(Specials()), Sjis("05/03/憲法記念日\r\n"));
  page.Button16->click();
  page.Button16->click();
  EXPECT_EQ(ReadBytes(Day(2026, "KVR20260503.dat")), Sjis("憲法記念日\r\n"));
}

TEST_F(SpecialDayPageTest, EveryTextFitsItsControl) {
  options::TSpecialDayPage page(host_, settings_, dir_.path(), data_, QString());
  page.show();
  page.resize(page.sizeHint());
  for (QWidget* w : page.findChildren<QWidget*>()) {
    // The page's own controls; the parts inside a spin box or combo box are sized by it.
    if (!w->isVisible() || (w->parentWidget() != &page && w->parentWidget() != page.GroupBox1 &&
                            w->parentWidget() != page.GroupBox2))
      continue;
    EXPECT_GE(w->width(), w->minimumSizeHint().width()) << w->objectName().toStdString();
    EXPECT_GE(w->height(), w->minimumSizeHint().height()) << w->objectName().toStdString();
  }
  // Looked at by a person: MIRUNE_SHOT=path saves the page as it is drawn.
  if (const char* shot = std::getenv("MIRUNE_SHOT")) page.grab().save(QString::fromUtf8(shot));
}

}  // namespace
