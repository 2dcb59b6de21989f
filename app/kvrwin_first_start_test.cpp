// The main window as a new user meets it (no settings file yet) and as the host of the
// options dialog's page "特別日".
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>

#include "app/kvrwin.h"
#include "app/kvrwin_test_fixture.h"
#include "options/yearly_day_page.h"
#include "platform/qt_text.h"
#include "settings/ini_store.h"
#include "test_support/temp_dir.h"

using test_support::ReadBytes;
using test_support::Sjis;
using test_support::WriteBytes;

namespace {

// What the grids were last given to paint.
class ShownKvrwin : public TestKvrwin {
 public:
  using TestKvrwin::TestKvrwin;
  const app::PaintedDate& Date(int grid, int row) const { return painter_.Date(grid, row); }
};

class KvrwinFirstStartTest : public KvrwinTest {
 protected:
  std::unique_ptr<ShownKvrwin> Launch() {
    auto window = std::make_unique<ShownKvrwin>(NewContext());
    window->SetCalendar(&fake_calendar_);
    return window;
  }
  static constexpr char kNotice[] =
      "注意|設定ダイアログでスクロール文字用ファイルを選択して下さい.";
};

TEST_F(KvrwinFirstStartTest, NewUserSeesHolidaysRokuyouAndMaximsWithoutANotice) {
  fs::copy_file(fs::path(MIRUNE_SOURCE_DIR) / "app" / "kakugen.txt", Exe() / "kakugen.txt");
  auto window = Launch();
  EXPECT_TRUE(messages_.isEmpty()) << messages_.join("\n").toStdString();
  EXPECT_GE(window->MaximLines().size(), 24);
  window->SetDate(QDate(2026, 11, 1));
  const app::PaintedDate& culture_day = window->Date(0, 2);  // 3 November
  EXPECT_EQ(culture_day.holiday_name, QStringLiteral("文化の日"));
  EXPECT_EQ(culture_day.date_colour, QColor(Qt::red));
  EXPECT_FALSE(culture_day.rokuyou_text.isEmpty());
  EXPECT_EQ(window->Date(0, 0).date_colour, QColor(Qt::red));   // Sunday 1 November
  EXPECT_EQ(window->Date(0, 6).date_colour, QColor(Qt::blue));  // Saturday 7 November
  EXPECT_EQ(window->Date(0, 3).date_colour, QColor(Qt::black));
  // The maxims file chosen later goes away: the next start says so.
  window.reset();
  fs::remove(Exe() / "kakugen.txt");
  fs::current_path(Start());
  window = Launch();
  EXPECT_EQ(messages_, QStringList{kNotice});
}

TEST_F(KvrwinFirstStartTest, AnExistingSettingsFileIsNotSetUpAgain) {
  WriteBytes(Ini(), "");
  auto window = Launch();
  EXPECT_EQ(messages_, QStringList{kNotice});
  EXPECT_EQ(window->Settings().syukucolor, 0);
  EXPECT_EQ(settings::IniStore(Ini()).ReadValue(Sjis("六曜表示"), "Rokuyou"), std::nullopt);
}

TEST_F(KvrwinFirstStartTest, SpecialDayPageWritesIntoTheShownYearAndTheGridShowsIt) {
  auto window = Launch();
  window->SetDate(QDate(2026, 3, 1));
  WriteBytes(window->StartupDir() / "Birthday.dat", Sjis("1970/03/05/山田\r\n"));
  options::TSpecialDayPage page(window->Hosts().yearly_days, window->SettingsFile(),
                                window->StartupDir(), window->DataDir(), QString());
  EXPECT_EQ(page.ComboBox1->currentText(), "3");
  EXPECT_EQ(page.ComboBox7->currentText(), "の誕生日");  // the starter's choice
  page.Button13->click();
  EXPECT_EQ(platform::ToQString(window->DaySummary(5).GetText()),
            QStringLiteral("山田の誕生日(56歳)\r\n"));
  window->SetDate(QDate(2027, 3, 1));
  page.Button13->click();
  EXPECT_EQ(platform::ToQString(window->DaySummary(5).GetText()),
            QStringLiteral("山田の誕生日(57歳)\r\n"));
  page.ComboBox7->setCurrentIndex(1);
  EXPECT_EQ(settings::IniStore(Ini()).ReadInteger(settings::keys::BirthdaySuffix, 9), 1);
}

}  // namespace
