// The archive commands driven through a fake main window with the file dialogs answered by the
// test: the exit compression and its backup, deletion into a temporary trash, extraction that
// puts replaced days into the trash, cancelled dialogs, blanks in paths, the check marks, a
// failing library, and a whole year packed and extracted byte for byte.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QTimer>
#include <QTranslator>
#include <QWidget>

#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <deque>
#include <map>
#include <optional>
#include <thread>

#include "archive/archive_commands.h"
#include "archive/archive_commands_host.h"
#include "archive/archive_file_dialogs.h"
#include "archive/archive_progress_dialog.h"
#include "archive/archive_qt_file_dialogs.h"
#include "archive/archiver_library.h"
#include "platform/cp932.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "test_support/temp_dir.h"

namespace fs = std::filesystem;

namespace archive {
namespace {

using test_support::ReadBytes;
using test_support::WriteBytes;

// Answers each dialog with the next prepared list (an empty one cancels) and keeps the requests.
class FakeDialogs : public ArchiveFileDialogs {
 public:
  QStringList OpenFiles(QWidget*, const FileDialogRequest& request) override {
    return Next(request);
  }
  QString SaveFile(QWidget*, const FileDialogRequest& request) override {
    QStringList answer = Next(request);
    return answer.isEmpty() ? QString() : answer.front();
  }
  std::deque<QStringList> answers;
  std::vector<FileDialogRequest> asked;

 private:
  QStringList Next(const FileDialogRequest& request) {
    asked.push_back(request);
    if (answers.empty()) return {};
    QStringList a = answers.front();
    answers.pop_front();
    return a;
  }
};

class FakeHost : public ArchiveCommandsHost {
 public:
  QWidget* ArchiveParent() override { return &window; }
  fs::path ShownYearFolder() const override { return data / std::to_string(year); }
  void RedrawMonth() override { ++redraws; }
  ArchiveFileDialogs& ArchiveDialogs() override { return dialogs; }

  QWidget window;
  fs::path data;
  int year = 1999;
  int redraws = 0;
  FakeDialogs dialogs;
};

QString Q(const fs::path& p) {
  return QString::fromStdString(p.string());
}

fs::path PathOf(const QString& s) {
  return fs::path(s.toStdString());
}

std::map<std::string, std::string> Tree(const fs::path& dir) {
  std::map<std::string, std::string> files;
  for (auto& e : fs::directory_iterator(dir)) {
    if (e.is_regular_file()) files[e.path().filename().string()] = ReadBytes(e.path());
  }
  return files;
}

class ArchiveCommandsTest : public ::testing::Test {
 protected:
  ArchiveCommandsTest() : old_cwd_(fs::current_path()) {
    // HOME and the trash in the test's folder: one file system, so Qt uses this trash.
    for (const char* name : {"HOME", "XDG_DATA_HOME"}) {
      const char* v = std::getenv(name);
      saved_env_.emplace_back(name, v ? std::optional<std::string>(v) : std::nullopt);
    }
    setenv("HOME", temp_.path().c_str(), 1);
    fs::create_directories(temp_.path() / "share");
    setenv("XDG_DATA_HOME", (temp_.path() / "share").c_str(), 1);
    host_.data = temp_.path() / "My data";
    fs::create_directories(year_dir());
    settings_.SetFileName(Q(temp_.path() / "vuruva.ini"));
    commands_ = std::make_unique<TArchiveCommands>(host_, settings_, host_.data,
                                                   QStringLiteral("mirune.HLP"));
    platform::SetMessageHook([this](const platform::MessageRequest& r) {
      messages_.push_back(r.text.toStdString());
      error_boxes_ += r.icon == platform::MessageIcon::kError ? 1 : 0;
      return QMessageBox::Ok;
    });
  }
  ~ArchiveCommandsTest() override {
    platform::SetMessageHook(nullptr);
    for (const auto& [name, value] : saved_env_) {
      if (value) {
        setenv(name, value->c_str(), 1);
      } else {
        unsetenv(name);
      }
    }
    fs::current_path(old_cwd_);
  }
  fs::path year_dir() const { return host_.data / "1999"; }
  fs::path trash() const { return temp_.path() / "share" / "Trash" / "files"; }
  fs::path Day(int n, const std::string& text) {
    char name[32];
    std::snprintf(name, sizeof name, "KVR1999%04d.dat", n);
    WriteBytes(year_dir() / name, cp932::FromUtf8(text));
    return year_dir() / name;
  }
  // The members of an archive, extracted by the library into a folder of their own.
  std::map<std::string, std::string> Members(const fs::path& archive) {
    fs::path out = temp_.path() / ("members" + std::to_string(++extractions_));
    fs::create_directories(out);
    ArchiverLibrary library;
    EXPECT_EQ(library.Load(), ArchiverLibrary::LoadState::kLoaded);
    fs::path keep = fs::current_path();
    fs::current_path(out);
    std::string output;
    EXPECT_EQ(library.Run("X -c1 \"" + archive.string() + "\"", &output, 4096), 0) << output;
    fs::current_path(keep);
    return Tree(out);
  }
  void Answer(std::initializer_list<QStringList> answers) {
    host_.dialogs.answers.assign(answers.begin(), answers.end());
  }
  bool Shown(const std::string& part) const {
    for (const std::string& m : messages_) {
      if (m.find(part) != std::string::npos) return true;
    }
    return false;
  }

  test_support::TempDir temp_;
  fs::path old_cwd_;
  std::vector<std::pair<const char*, std::optional<std::string>>> saved_env_;
  FakeHost host_;
  settings::TIniGT settings_;
  std::unique_ptr<TArchiveCommands> commands_;
  std::vector<std::string> messages_;
  int error_boxes_ = 0;
  int extractions_ = 0;
};

TEST_F(ArchiveCommandsTest, ExitCompressionNewNameThenSameNameKeepsTheBackup) {
  Day(101, "元日");
  Day(1231, "大晦日");
  const fs::path archive = temp_.path() / "exit.lzh";
  commands_->SetCloseArc(true);
  Answer({{Q(archive)}});
  commands_->FormClose();
  ASSERT_EQ(messages_,
            (std::vector<std::string>{
                "新しいﾌｧｲﾙの圧縮はしましたが\n前回の圧縮ﾌｧｲﾙのﾊﾞｯｸｱｯﾌﾟはしていません."}));
  const FileDialogRequest& asked = host_.dialogs.asked.at(0);
  EXPECT_EQ(asked.title, QStringLiteral("ミルネ-  名前を付けて圧縮ファイルを保存"));
  EXPECT_EQ(asked.filters.front(), QStringLiteral("圧縮ファイル (*.lzh)"));
  EXPECT_EQ(asked.filters.at(1), QStringLiteral("ZIP ファイル (*.zip)"));
  EXPECT_EQ(asked.default_suffix, QStringLiteral("LZH"));
  EXPECT_EQ(asked.help_topic, 13);
  const auto first = Members(archive);
  ASSERT_EQ(first.size(), 2u);

  Day(505, "こどもの日");
  messages_.clear();
  Answer({{Q(archive)}});
  commands_->FormClose();
  const fs::path backup = host_.data / "1999.LZH";
  ASSERT_EQ(messages_,
            (std::vector<std::string>{archive.string() + "に圧縮しました.\n前回の圧縮ﾌｧｲﾙを" +
                                      backup.string() + "でﾊﾞｯｸｱｯﾌﾟを取ってあります."}));
  EXPECT_EQ(Members(backup), first);
  EXPECT_EQ(Members(archive).size(), 3u);
  EXPECT_EQ(host_.redraws, 0);  // closing redraws nothing

  // Unticked, closing asks nothing.
  commands_->SetCloseArc(false);
  host_.dialogs.asked.clear();
  commands_->FormClose();
  EXPECT_TRUE(host_.dialogs.asked.empty());
}

TEST_F(ArchiveCommandsTest, LibraryFailureShowsTheReasonAndKeepsArchiveAndBackup) {
  for (int d = 1; d <= 40; ++d) Day(100 + d, std::string(300, 'a' + d % 26));
  const fs::path archive = temp_.path() / "kept.lzh";
  commands_->SetCloseArc(true);
  Answer({{Q(archive)}, {Q(archive)}});
  commands_->FormClose();
  commands_->FormClose();
  Day(999, "new");
  const std::string archive_before = ReadBytes(archive);
  const std::string backup_before = ReadBytes(host_.data / "1999.LZH");
  messages_.clear();

  struct Case {
    const char* what;
    std::function<void()> run;
  };
  const Case cases[] = {{"exit",
                         [&] {
                           Answer({{Q(archive)}});
                           commands_->FormClose();
                         }},
                        {"compress", [&] {
                           Answer({{Q(year_dir() / "KVR19990101.dat")}, {Q(archive)}});
                           commands_->N1Click();
                         }}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    messages_.clear();
    error_boxes_ = 0;
    {
      // The disk takes no more bytes (a folder that cannot be written, even for root).
      test_support::ScopedFileSizeLimit full(16);
      c.run();
    }
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(error_boxes_, 1);
    EXPECT_NE(messages_[0].find(archive.string()), std::string::npos) << messages_[0];
    EXPECT_NE(messages_[0].find("書庫を書き込めません"), std::string::npos) << messages_[0];
    EXPECT_EQ(messages_[0].find("に圧縮しました"), std::string::npos);
    EXPECT_EQ(ReadBytes(archive), archive_before);
    EXPECT_EQ(ReadBytes(host_.data / "1999.LZH"), backup_before);
  }
}

TEST_F(ArchiveCommandsTest, DeletingElevenAndTwelveFilesIntoTheTrash) {
  for (int n : {11, 12}) {
    SCOPED_TRACE(n);
    fs::remove_all(trash().parent_path());
    QStringList chosen;
    for (int d = 1; d <= n; ++d) chosen << Q(Day(d, "日 " + std::to_string(d)));
    messages_.clear();
    const int redraws = host_.redraws;
    Answer({chosen});
    commands_->D1Click();
    EXPECT_EQ(host_.redraws, redraws + 1);
    ASSERT_EQ(messages_.size(), 1u);
    std::string want;
    if (n == 11) {
      for (const QString& p : chosen) want += p.toStdString() + "\r\n";
    } else {
      for (int i = 0; i < 4; ++i) want += chosen[i].toStdString() + "\n";
      for (int i = 0; i < 3; ++i) want += "         :       \n";
    }
    EXPECT_EQ(messages_[0], want + std::to_string(n) + "個のファイルを削除しました。");
    for (int d = 1; d <= n; ++d) {
      const fs::path file = PathOf(chosen[d - 1]);
      EXPECT_FALSE(fs::exists(file));
      EXPECT_EQ(ReadBytes(trash() / file.filename()), cp932::FromUtf8("日 " + std::to_string(d)));
    }
  }
  EXPECT_EQ(host_.dialogs.asked.back().title, QStringLiteral("データ削除"));
  EXPECT_EQ(host_.dialogs.asked.back().filters,
            QStringList{QStringLiteral("データファイル (*.dat)")});
}

TEST_F(ArchiveCommandsTest, WithoutATrashDeletingAsksAndNothingIsWrittenAmongTheDays) {
  // No trash can be made: the data home lies under a plain file.
  WriteBytes(temp_.path() / "plain", "x");
  setenv("XDG_DATA_HOME", (temp_.path() / "plain" / "share").c_str(), 1);
  for (QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
    SCOPED_TRACE(answer == QMessageBox::Yes ? "yes" : "no");
    const QStringList chosen{Q(Day(1, "a")), Q(Day(2, "b"))};
    std::vector<platform::MessageRequest> asked;
    platform::SetMessageHook([&](const platform::MessageRequest& r) {
      asked.push_back(r);
      return r.buttons & QMessageBox::Yes ? answer : QMessageBox::Ok;
    });
    Answer({chosen});
    commands_->D1Click();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_NE(asked[0].text.indexOf(QStringLiteral(
                  "ごみ箱を使えないため、次の 2 個のファイルは削除すると元に戻せません")),
              -1)
        << asked[0].text.toStdString();
    const bool deleted = answer == QMessageBox::Yes;
    EXPECT_EQ(asked[1].text.contains(QStringLiteral("2個のファイルを削除しました")), deleted);
    EXPECT_EQ(asked[1].text.contains(QStringLiteral("削除できませんでした")), !deleted);
    for (const QString& file : chosen) EXPECT_EQ(fs::exists(PathOf(file)), !deleted);
    // Nothing but day files ever appears in the data folder.
    for (const auto& entry : fs::recursive_directory_iterator(host_.data))
      EXPECT_TRUE(entry.is_directory() || entry.path().extension() == ".dat") << entry.path();
  }
}

TEST_F(ArchiveCommandsTest, CancelledDialogsStillRedrawTheMonth) {
  const fs::path day = Day(101, "x");
  struct Case {
    const char* what;
    std::vector<QStringList> answers;
    void (TArchiveCommands::*command)();
  };
  const Case cases[] = {
      {"compress: files", {}, &TArchiveCommands::N1Click},
      {"compress: archive", {{Q(day)}}, &TArchiveCommands::N1Click},
      {"extract: archive", {}, &TArchiveCommands::N2Click},
      {"extract: destination", {{Q(day)}}, &TArchiveCommands::N2Click},
      {"delete", {}, &TArchiveCommands::D1Click},
      {"delete: first file missing",
       {{Q(year_dir() / "none.dat"), Q(day)}},
       &TArchiveCommands::D1Click},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    host_.dialogs.answers.assign(c.answers.begin(), c.answers.end());
    const int before = host_.redraws;
    const size_t first = host_.dialogs.asked.size();
    (commands_.get()->*c.command)();
    EXPECT_EQ(host_.redraws, before + 1);
    EXPECT_TRUE(host_.dialogs.answers.empty());
    // Every command's first dialog opens in the shown year's folder.
    EXPECT_EQ(host_.dialogs.asked.at(first).folder, Q(year_dir()));
  }
  // A year without a folder: the dialogs open in the data folder.
  host_.year = 2005;
  commands_->D1Click();
  EXPECT_EQ(host_.dialogs.asked.back().folder, Q(host_.data));
  host_.year = 1999;
  EXPECT_TRUE(messages_.empty());
  EXPECT_TRUE(fs::exists(day));
  EXPECT_FALSE(fs::exists(host_.data / "1999.LZH"));
  // The exit dialog cancelled: nothing redrawn, nothing said.
  commands_->SetCloseArc(true);
  const int before = host_.redraws;
  commands_->FormClose();
  EXPECT_EQ(host_.redraws, before);
  EXPECT_TRUE(messages_.empty());

  // Without the library, compress and extract say so and do not redraw.
  commands_->SetLibraryPath(temp_.path() / "missing.so");
  commands_->N1Click();
  commands_->N2Click();
  EXPECT_EQ(host_.redraws, before);
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_EQ(messages_[0].rfind("UNLHA32.DLL が組込まれていません。", 0), 0u);
}

TEST_F(ArchiveCommandsTest, PathsWithBlanksAndExtractionPuttingReplacedDaysInTheTrash) {
  fs::create_directories(temp_.path() / "my days");
  WriteBytes(temp_.path() / "my days" / "KVR19990101.dat", "old text of the day\r\n");
  WriteBytes(temp_.path() / "my days" / "day two.dat", "second\r\n");
  const fs::path archive = temp_.path() / "my archive.lzh";
  Answer({{Q(temp_.path() / "my days" / "KVR19990101.dat"),
           Q(temp_.path() / "my days" / "day two.dat")},
          {Q(archive)}});
  commands_->N1Click();
  ASSERT_EQ(messages_, (std::vector<std::string>{archive.string() + "に圧縮しました。"}));
  EXPECT_EQ(Members(archive).size(), 2u);
  EXPECT_EQ(host_.dialogs.asked.back().folder, Q(temp_.path() / "my days"));  // beside the files
  // A folder whose name holds ".zip" and a blank: the archive goes where it was asked to, not
  // to "old.zip" beside it.
  fs::create_directories(temp_.path() / "old.zip files");
  const fs::path inside = temp_.path() / "old.zip files" / "new.lzh";
  messages_.clear();
  Answer({{Q(temp_.path() / "my days" / "day two.dat")}, {Q(inside)}});
  commands_->N1Click();
  ASSERT_EQ(messages_, (std::vector<std::string>{inside.string() + "に圧縮しました。"}));
  EXPECT_EQ(Members(inside).size(), 1u);
  EXPECT_FALSE(fs::exists(temp_.path() / "old.zip"));
  messages_.clear();

  // The year folder holds a newer text of the same day: extraction replaces it, and the newer
  // text waits in the trash.
  const fs::path newer = Day(101, "newer text");
  messages_.clear();
  Answer({{Q(archive)}, {Q(year_dir() / "anything.LZH")}});
  commands_->N2Click();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0],
            archive.string() +
                "を解凍しました。\n置き換えた 1 個のファイルの元の内容はごみ箱にあります。");
  EXPECT_EQ(ReadBytes(newer), "old text of the day\r\n");
  EXPECT_EQ(ReadBytes(year_dir() / "day two.dat"), "second\r\n");
  EXPECT_EQ(ReadBytes(trash() / "KVR19990101.dat"), cp932::FromUtf8("newer text"));
  EXPECT_EQ(host_.dialogs.asked.back().title, QStringLiteral("データ解凍先"));
  EXPECT_EQ(host_.dialogs.asked.back().preset_file, Q(archive));
  EXPECT_EQ(fs::current_path(), old_cwd_);  // entered for the extraction alone
}

TEST_F(ArchiveCommandsTest, BothCheckMarksAndCloseArcTogether) {
  settings_.Store().WriteInteger(settings::keys::CloseArc, 1);
  QAction main_entry(QStringLiteral("終了時にデータ圧縮処理(&A)")),
      popup_entry(QStringLiteral("終了時にデータ圧縮処理(&A)"));
  commands_->AttachCloseArcActions(&main_entry, &popup_entry);
  EXPECT_TRUE(main_entry.isChecked() && popup_entry.isChecked() && main_entry.isEnabled());
  struct Step {
    QAction* entry;
    bool after;
  };
  const Step steps[] = {
      {&main_entry, false}, {&popup_entry, true}, {&popup_entry, false}, {&main_entry, true}};
  for (const Step& s : steps) {
    s.entry->trigger();
    EXPECT_EQ(main_entry.isChecked(), s.after);
    EXPECT_EQ(popup_entry.isChecked(), s.after);
    EXPECT_EQ(commands_->CloseArc(), s.after);
    EXPECT_EQ(settings_.Store().ReadInteger(settings::keys::CloseArc, -1), s.after ? 1 : 0);
  }
}

TEST_F(ArchiveCommandsTest, AYearCompressedAndExtractedByteForByte) {
  QStringList chosen;
  std::map<std::string, std::string> days;
  QDate date(1999, 1, 1);
  for (int i = 0; i < 365; ++i, date = date.addDays(1)) {
    const fs::path file = Day(date.month() * 100 + date.day(),
                              std::to_string(i % 5) + "\r\n" + std::to_string(date.day()) +
                                  "日の予定 会議\r\n" + std::string(i % 40, 'x'));
    chosen << Q(file);
    days[file.filename().string()] = ReadBytes(file);
  }
  size_t last_done = 0, last_total = 0;
  commands_->on_progress = [&](size_t done, size_t total) {
    last_done = done;
    last_total = total;
  };
  const fs::path archive = temp_.path() / "1999 year.lzh";
  Answer({chosen, {Q(archive)}});
  commands_->N1Click();
  ASSERT_EQ(messages_, (std::vector<std::string>{archive.string() + "に圧縮しました。"}));
  EXPECT_EQ(last_done, 365u);
  EXPECT_EQ(last_total, 365u);

  const fs::path empty = temp_.path() / "empty folder";
  fs::create_directories(empty);
  messages_.clear();
  Answer({{Q(archive)}, {Q(empty / "x.LZH")}});
  commands_->N2Click();
  ASSERT_EQ(messages_, (std::vector<std::string>{archive.string() + "を解凍しました。"}));
  EXPECT_EQ(Tree(empty), days);
  EXPECT_EQ(last_total, 365u);

  if (std::system("command -v lhasa >/dev/null 2>&1") != 0) GTEST_SKIP() << "lhasa missing";
  const fs::path listing = temp_.path() / "lhasa.txt";
  ASSERT_EQ(
      std::system(("lhasa -l '" + archive.string() + "' > '" + listing.string() + "'").c_str()), 0);
  const std::string text = ReadBytes(listing);
  for (const auto& [name, bytes] : days) {
    // lhasa lower-cases names of MS-DOS-like archives; ours are written as they stand.
    std::string lower = name;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_TRUE(text.find(name) != std::string::npos || text.find(lower) != std::string::npos)
        << name;
  }
  EXPECT_NE(text.find(" 365 files"), std::string::npos) << text.substr(text.size() - 200);
}

// Pictures of the progress dialog and of the exit dialog, for a person to look at; written only
// when MIRUNE_SCREENSHOT_DIR names a folder.
TEST(ArchiveScreenshots, ProgressAndExitDialogs) {
  const char* dir = std::getenv("MIRUNE_SCREENSHOT_DIR");
  if (!dir) GTEST_SKIP() << "MIRUNE_SCREENSHOT_DIR not set";
  QTranslator translator;
  if (translator.load(QStringLiteral("qtbase_ja"), QStringLiteral("/usr/share/qt6/translations")))
    QApplication::installTranslator(&translator);
  QWidget window;
  window.resize(800, 600);
  window.show();
  TArchiveProgressDialog progress(&window, QStringLiteral("データ圧縮"));
  bool grabbed = false;
  progress.on_update = [&](TArchiveProgressDialog& d) {
    if (!grabbed && d.value() >= 12345) {
      grabbed = d.grab().save(QString::fromUtf8(dir) + "/archive_progress.png");
    }
  };
  progress.Run([&](const ProgressCallback& report) {
    for (size_t i = 0; i <= 31000 && report(std::min<size_t>(i, 12345), 31000) && !grabbed;
         i += 1) {
      std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    return 0;
  });
  EXPECT_TRUE(grabbed);

  FileDialogRequest exit_request{
      QStringLiteral("ミルネ-  名前を付けて圧縮ファイルを保存"),
      {QStringLiteral("圧縮ファイル (*.lzh)"), QStringLiteral("ZIP ファイル (*.zip)"),
       QStringLiteral("すべてのファイル(*.*)")},
      QStringLiteral("LZH"),
      {},
      false,
      {},
      13};
  auto dialog = TArchiveFileDialogs::Make(&window, exit_request, true);
  dialog->setDirectory(QDir::tempPath());
  dialog->show();
  QApplication::processEvents();
  QTimer::singleShot(300, [&] {
    EXPECT_TRUE(dialog->grab().save(QString::fromUtf8(dir) + "/archive_exit_dialog.png"));
    dialog->reject();
  });
  dialog->exec();
  QApplication::removeTranslator(&translator);
}

}  // namespace
}  // namespace archive
