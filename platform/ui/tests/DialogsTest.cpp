#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLineEdit>
#include <filesystem>
#include <fstream>

#include "testing/ModalDriver.h"
#include "platform/ui/Dialogs.h"

namespace fs = std::filesystem;

namespace {

TEST(FileFilter, ConvertsDescriptionPatternPairsToNameFilters) {
  struct Case {
    const char16_t* filter;
    std::vector<String> expected;
  };
  const Case cases[] = {
      {u"AirMonitor files (*.AMF)|*.AMF", {u"AirMonitor files (*.AMF) (*.AMF)"}},
      {u"Imagefiles (*.emf, *.wmf, *.bmp, *.jpg)|*.emf;*.wmf;*.bmp;*.jpg",
       {u"Imagefiles (*.emf, *.wmf, *.bmp, *.jpg) (*.emf *.wmf *.bmp *.jpg)"}},
      {u"Text|*.txt|All files|*.*", {u"Text (*.txt)", u"All files (*)"}},
      {u"Text|*.txt|", {u"Text (*.txt)"}},
      {u"Lonely", {u"Lonely (*)"}},
      {u"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(FileFilterToNameFilters(c.filter), c.expected) << StringToUTF8(c.filter);
}

class FileDialogTest : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("dialogs-test-" + std::to_string(getpid()));
    fs::create_directories(dir_ / "sub");
    std::ofstream(dir_ / "a.AMF") << "x";
    std::ofstream(dir_ / "b.AMF") << "y";
  }
  void TearDown() override { fs::remove_all(dir_); }
  String Dir() const { return UTF8ToString(dir_.string()); }
  fs::path dir_;
};

TEST_F(FileDialogTest, SaveDialogStartsWhereToldAndReturnsTheFullPath) {
  TSaveDialog dlg(nullptr);
  dlg.SetTitle(u"Graph save as BMP");
  dlg.SetFilter(u"AirMonitor files (*.AMT)|*.AMT|AirMonitor files (*.AMF)|*.AMF");
  dlg.SetFilterIndex(2);
  dlg.SetInitialDir(Dir());
  dlg.SetFileName(u"graph.AMF");
  dlg.SetOptions({ofOverwritePrompt, ofHideReadOnly, ofEnableSizing, ofDontAddToRecent});
  int shown = 0, closed = 0;
  dlg.OnShow = [&](TObject*) { ++shown; };
  dlg.OnClose = [&](TObject*) { ++closed; };

  QString seenDir, seenFilter, seenTitle;
  bool confirmsOverwrite = false;
  auto ran = WhenModal([&](QWidget* w) {
    auto* fd = qobject_cast<QFileDialog*>(w);
    ASSERT_NE(fd, nullptr);
    seenDir = fd->directory().absolutePath();
    seenFilter = fd->selectedNameFilter();
    seenTitle = fd->windowTitle();
    confirmsOverwrite = !fd->testOption(QFileDialog::DontConfirmOverwrite);
    fd->selectNameFilter(QStringLiteral("AirMonitor files (*.AMT) (*.AMT)"));
    fd->selectFile(QStringLiteral("graph.AMF"));
    static_cast<QDialog*>(fd)->accept();
  });
  ASSERT_TRUE(dlg.Execute());
  EXPECT_TRUE(*ran);
  EXPECT_EQ(seenDir.toStdString(), dir_.string());
  EXPECT_EQ(seenFilter, QStringLiteral("AirMonitor files (*.AMF)"));  // shown as the user wrote it
  EXPECT_EQ(seenTitle, QStringLiteral("Graph save as BMP"));
  EXPECT_TRUE(confirmsOverwrite);
  EXPECT_EQ(StringToUTF8(dlg.FileName()), (dir_ / "graph.AMF").string());
  EXPECT_EQ(dlg.FilterIndex(), 1);  // the filter the user ended on
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(closed, 1);
}

TEST_F(FileDialogTest, SaveDialogAddsTheDefaultExtensionToABareName) {
  TSaveDialog dlg(nullptr);
  dlg.SetInitialDir(Dir());
  dlg.SetDefaultExt(u"AMF");
  WhenModal([](QWidget* w) {
    auto* fd = qobject_cast<QFileDialog*>(w);
    fd->selectFile(QStringLiteral("data"));
    static_cast<QDialog*>(fd)->accept();
  });
  ASSERT_TRUE(dlg.Execute());
  EXPECT_EQ(StringToUTF8(dlg.FileName()), (dir_ / "data.AMF").string());
}

TEST_F(FileDialogTest, CancelKeepsTheProposedNameAndReportsFalse) {
  TOpenDialog dlg(nullptr);
  dlg.SetFileName(u"proposed.AMF");
  dlg.SetInitialDir(Dir());
  WhenModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
  EXPECT_FALSE(dlg.Execute());
  EXPECT_EQ(dlg.FileName(), u"proposed.AMF");
}

TEST_F(FileDialogTest, OpenDialogWithMultiSelectListsEveryChosenFile) {
  TOpenDialog dlg(nullptr);
  dlg.SetInitialDir(Dir());
  dlg.SetFilter(u"AirMonitor files (*.AMF)|*.AMF");
  dlg.SetOptions({ofAllowMultiSelect, ofFileMustExist});
  WhenModal([](QWidget* w) {
    auto* fd = qobject_cast<QFileDialog*>(w);
    EXPECT_EQ(fd->fileMode(), QFileDialog::ExistingFiles);
    fd->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("\"a.AMF\" \"b.AMF\""));
    static_cast<QDialog*>(fd)->accept();
  });
  ASSERT_TRUE(dlg.Execute());
  ASSERT_EQ(dlg.Files()->Count(), 2);
  EXPECT_EQ(StringToUTF8(dlg.Files()->Get(0)), (dir_ / "a.AMF").string());
  EXPECT_EQ(StringToUTF8(dlg.Files()->Get(1)), (dir_ / "b.AMF").string());
  EXPECT_EQ(dlg.FileName(), dlg.Files()->Get(0));
}

}  // namespace
