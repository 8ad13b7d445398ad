// Pictures, clipboard copies and printouts of the air monitor's graphs through its context
// menu, with the dialogs answered as an operator would; files opened by independent readers.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "MainWindowFixture.h"
#include "app/ImageSelect.h"
#include "app/OptionBox.h"
#include "platform/ui/Clipbrd.h"
#include "testing/MetafileTestSupport.h"

namespace {

class GraphExport : public MainWindowTest {
protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    StartConnected();
    M()->Show();
    ProcessPendingEvents();
    M()->PageControl1->SelectNextPage(true);
    ProcessPendingEvents();
    ASSERT_EQ(M()->Link.MonitorState, msFrequencyDomain);
    M()->Edit5->SetText(u"graph1");
    M()->Levels[3] = -60;
    M()->setColor();
  }
  void Menu(Word Key) {
    SimulateKeyStroke(M()->Memo2, Key, {ssCtrl});
    ProcessPendingEvents();
  }
  // Ctrl+G: the image type window takes Type, then the save dialog is answered with Name (or
  // cancelled when Name is empty); View gets what the dialog showed.
  void Export(int Type, const String& Name, TFileDialogView* View = nullptr) {
    OnNextModal([this, Type, Name, View](const String&) {
      ImageSelectForm1->RadioGroup1->SetItemIndex(Type);
      OnNextModal([Name, View](const String&) {
        if (View) *View = ActiveFileDialog();
        if (Name.empty())
          CloseModal();
        else
          AnswerFileDialog(Name);
      });
      Click(ImageSelectForm1->SpeedButton1);
    });
    Menu('G');
  }
  std::string Run(const std::string& Command, int* Status) { return mftest::Run(Command, Status); }
};

}  // namespace

TEST_F(GraphExport, EachPictureTypeIsWrittenWithItsDialogAndOpensInAnIndependentReader) {
  struct Case {
    int Type;
    const char16_t* Title;
    const char16_t* Filter;
    const char16_t* Proposed;
    const char* File;
  } cases[] = {
      {0, u"Graph save as EMF", u"AirMonitor EMF files (*.emf)", u"graph1.emf", "g.emf"},
      {1, u"Graph save as WMF", u"AirMonitor WMF files (*.wmf)", u"graph1.wmf", "g.wmf"},
      {2, u"Graph save as BMP", u"AirMonitor BMP files (*.bmp)", u"graph1.bmp", "g.bmp"},
      {3, u"Graph save as JPEG", u"AirMonitor JPEG files (*.jpg)", u"graph1.jpg", "g.jpg"},
  };
  const int w = M()->Chart1->Width(), h = M()->Chart1->Height();
  const std::string size = std::to_string(w) + " " + std::to_string(h);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.File);
    Clipboard()->SetAsText(u"keep");
    TFileDialogView view;
    Export(c.Type, Dir.FileS(c.File), &view);
    EXPECT_EQ(view.Title, c.Title);
    EXPECT_EQ(view.Filter, c.Filter);
    EXPECT_EQ(view.FileName, c.Proposed);
    EXPECT_EQ(M()->LastFolder, ExtractFilePath(Dir.FileS(c.File)));
    EXPECT_EQ(Clipboard()->AsText(), u"keep");  // no export goes through the clipboard
    std::string path = Dir.File(c.File);
    int status = 0;
    switch (c.Type) {
      case 0: {
        mftest::EmfSummary s = mftest::CheckEmf(Dir.Read(c.File));
        EXPECT_TRUE(s.Errors.empty()) << (s.Errors.empty() ? "" : s.Errors.front());
        EXPECT_EQ(s.BoundsW, w);
        EXPECT_EQ(s.BoundsH, h);
        break;
      }
      case 1:
        EXPECT_EQ(Run("identify -density 96 -format '%m %w %h' '" + path + "'", &status), "WMF " + size);
        EXPECT_NE(Run("wmf2svg -o /dev/stdout '" + path + "'", &status).find("<svg"), std::string::npos);
        EXPECT_EQ(status, 0);
        break;
      case 2: EXPECT_EQ(Run("identify -format '%m %w %h' '" + path + "'", &status), "BMP3 " + size); break;
      default:
        EXPECT_EQ(Run("identify -format '%m %w %h %Q %[interlace]' '" + path + "'", &status),
                  "JPEG " + size + " 90 None");
        EXPECT_NE(Run("identify -verbose '" + path + "'", &status).find("Quality: 90"), std::string::npos);
        break;
    }
  }
}

TEST_F(GraphExport, CancellingTheSaveDialogKeepsTheFolderOfTheProposedName) {
  Export(2, String());
  EXPECT_EQ(M()->LastFolder, u"");
}

TEST_F(GraphExport, AFailedExportIsReportedAndLeavesTheOldPictureWhole) {
  Dir.Write("old.bmp", std::string(100, 'B'));
  OnNextModal([&](const String&) {
    ImageSelectForm1->RadioGroup1->SetItemIndex(2);
    OnNextModal([&](const String&) {
      OnNextModal([](const String&) { PressModalButton(u"Yes"); });  // replace it?
      AnswerFileDialog(Dir.FileS("old.bmp"));
    });
    Click(ImageSelectForm1->SpeedButton1);
  });
  {
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit full = old;
    full.rlim_cur = 4096;  // a full disk
    ::setrlimit(RLIMIT_FSIZE, &full);
    Menu('G');
    ::setrlimit(RLIMIT_FSIZE, &old);
  }
  ASSERT_FALSE(Modals->Texts.empty());
  EXPECT_NE(Modals->Texts.back().find(u"ｱﾌﾟﾘｹｰｼｮﾝｴﾗｰ"), String::npos);
  EXPECT_EQ(Dir.Read("old.bmp"), std::string(100, 'B'));
  EXPECT_EQ(M()->LastFolder, ExtractFilePath(Dir.FileS("old.bmp")));
}

TEST_F(GraphExport, CopyPutsTheGraphInTheOptionsClipboardType) {
  struct Case {
    int Type;
    bool Emf, Wmf;
  } cases[] = {{0, true, false}, {1, false, true}, {2, false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Type);
    Clipboard()->SetAsText(u"before");
    OptionBoxForm->RadioGroup2->SetItemIndex(c.Type);
    Menu('C');
    EXPECT_EQ(Clipboard()->HasFormat(CF_ENHMETAFILE), c.Emf);
    EXPECT_EQ(Clipboard()->HasFormat(CF_METAFILEPICT), c.Wmf);
    EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
    EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
    if (c.Emf) {
      RawBytes b = Clipboard()->GetAsBytes(CF_ENHMETAFILE);
      mftest::EmfSummary s = mftest::CheckEmf(std::string(b.begin(), b.end()));
      EXPECT_TRUE(s.Errors.empty());
      EXPECT_EQ(s.BoundsW, M()->Chart1->Width());
    }
  }
}

TEST_F(GraphExport, PrintingIntoAPdfFileRendersTheGraph) {
  std::string pdf = Dir.File("graph.pdf");
  OnNextModal([&](const String&) { AnswerPrintDialogToPdf(Dir.FileS("graph.pdf")); });
  Menu('P');
  int status = 0;
  ASSERT_EQ(Dir.Read("graph.pdf").substr(0, 5), "%PDF-");
  std::string png = Dir.File("page.png");
  Run("gs -q -dNOPAUSE -dBATCH -sDEVICE=png16m -r30 -sOutputFile='" + png + "' '" + pdf + "'", &status);
  ASSERT_EQ(status, 0) << "Ghostscript could not render the printout";
  // The page is not blank: the graph's background and bars darken it.
  double mean = std::atof(Run("identify -format '%[fx:mean]' '" + png + "'", &status).c_str());
  EXPECT_LT(mean, 0.97);
  EXPECT_GT(mean, 0.2);
}

TEST_F(GraphExport, TheHelpMenuHandsTheFolderBesideTheExecutableToTheShell) {
  // A stand-in opener first on the PATH records what the shell was asked to open.
  std::string bin = Dir.File("bin"), log = Dir.File("opened.txt");
  ::mkdir(bin.c_str(), 0755);
  Dir.Write("bin/xdg-open", "#!/bin/sh\necho \"$1\" >> '" + log + "'\n");
  ::chmod((bin + "/xdg-open").c_str(), 0755);
  std::string oldPath = getenv("PATH") ? getenv("PATH") : "";
  setenv("PATH", (bin + ":" + oldPath).c_str(), 1);
  M()->HelpFolder1->Click();
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (Dir.Read("opened.txt").empty() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  setenv("PATH", oldPath.c_str(), 1);
  EXPECT_EQ(Dir.Read("opened.txt"), StringToUTF8(ExtractFilePath(ExeName())) + "Help\n");

  // Ctrl+I opens the image viewer at its size.
  Menu('I');
  EXPECT_TRUE(ImageViewForm1->Visible());
  EXPECT_EQ(ImageViewForm1->Width(), 892);
  EXPECT_EQ(ImageViewForm1->Height(), 525);
}
