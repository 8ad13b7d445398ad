// Print settings in an ini file: written as Y/N, ordinals, decimal colours and style bits (read
// back by Python's configparser), read with defaults, strict Y, range checks and OR-ed styles.
#include <gtest/gtest.h>

#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "grid/AdvGrid.h"
#include "testing/PictureFixtures.h"
#include "testing/TempFolder.h"

namespace {

void FillSettings(TPrintSettings* ps) {
  ps->SetColumnSpacing(11);
  ps->SetRowSpacing(12);
  ps->SetTitleSpacing(13);
  ps->SetFixedHeight(14);
  ps->SetFixedWidth(15);
  ps->SetCentered(false);
  ps->SetNoAutoSize(true);
  ps->SetUseFixedHeight(true);
  ps->SetUseFixedWidth(true);
  ps->SetRepeatFixedRows(true);
  ps->SetRepeatFixedCols(true);
  ps->SetUseDisplayFont(true);
  ps->SetUseDefaultOrientation(true);
  ps->SetBorders(pbAroundVertical);
  ps->SetBorderColor(static_cast<TColor>(0x123456));
  ps->SetBorderStyle(psDot);
  ps->SetDate(ppTopLeft);
  ps->SetPageNr(ppBottomCenter);
  ps->SetTitle(ppTopCenter);
  ps->SetTime(ppBottomRight);
  ps->SetDateFormat(u"yyyy-mm-dd");
  ps->SetTitleText(u"Channels");
  ps->SetFooterSize(101);
  ps->SetHeaderSize(102);
  ps->SetLeftSize(103);
  ps->SetRightSize(104);
  ps->SetFitToPage(fpShrink);
  ps->Font()->SetName(u"Courier New");
  ps->Font()->SetSize(9);
  ps->Font()->SetColor(static_cast<TColor>(0x0000FF));
  ps->HeaderFont()->SetName(u"Tahoma");
  ps->HeaderFont()->SetSize(14);
  ps->FooterFont()->SetSize(7);
  ps->SetPageNumSep(u"of");
  ps->SetPageSuffix(u"end");
  ps->SetPagePrefix(u"Page");
  ps->SetOrientation(poLandscape);
  ps->TitleLines()->SetText(u"Report\r\nQ1\r\n");
  ps->SetPrintGraphics(true);
}

}  // namespace

TEST(AdvGridPrintSettings, SavedKeysReadByConfigparserAndLoadedBack) {
  TempFolder dir;
  DEreDuzeroVaro a(nullptr);
  FillSettings(a.PrintSettings());
  a.PrintSettings()->HeaderFont()->SetStyle({fsBold, fsUnderline});
  a.SavePrintSettings(dir.FileS("print.ini"), u"Print");

  std::string out = RunIn(dir, "python3 -c \"import configparser\n"
                               "c = configparser.ConfigParser(interpolation=None)\n"
                               "c.optionxform = str\n"
                               "c.read('print.ini')\n"
                               "s = c['Print']\n"
                               "print(len(s))\n"
                               "for k in ['Centered','NoAutoSize','Borders','BorderColor','BorderStyle','Date','FitToPage',"
                               "'HeaderFontStyle','FontColor','Orientation','TitleLines','PageNumSep','PrintGraphics']:"
                               " print(k + '=' + s[k])\"");
  EXPECT_EQ(out,
            "45\nCentered=N\nNoAutoSize=Y\nBorders=6\nBorderColor=1193046\nBorderStyle=2\nDate=1\nFitToPage=2\n"
            "HeaderFontStyle=5\nFontColor=255\nOrientation=1\nTitleLines=Report\\nQ1\\n\nPageNumSep=of\nPrintGraphics=Y\n");

  DEreDuzeroVaro b(nullptr);
  b.PrintSettings()->SetJobName(u"kept");
  b.PrintSettings()->FixedFont()->SetName(u"Kept Font");
  b.LoadPrintSettings(dir.FileS("print.ini"), u"Print");
  TPrintSettings* p = b.PrintSettings();
  EXPECT_EQ(p->ColumnSpacing(), 11);
  EXPECT_EQ(p->RowSpacing(), 12);
  EXPECT_EQ(p->TitleSpacing(), 13);
  EXPECT_EQ(p->FixedHeight(), 14);
  EXPECT_EQ(p->FixedWidth(), 15);
  EXPECT_FALSE(p->Centered());
  EXPECT_TRUE(p->NoAutoSize() && p->UseFixedHeight() && p->UseFixedWidth() && p->RepeatFixedRows() &&
              p->RepeatFixedCols() && p->UseDisplayFont() && p->UseDefaultOrientation() && p->PrintGraphics());
  EXPECT_EQ(p->Borders(), pbAroundVertical);
  EXPECT_EQ(p->BorderColor(), static_cast<TColor>(0x123456));
  EXPECT_EQ(p->BorderStyle(), psDot);
  EXPECT_EQ(p->Date(), ppTopLeft);
  EXPECT_EQ(p->PageNr(), ppBottomCenter);
  EXPECT_EQ(p->Title(), ppTopCenter);
  EXPECT_EQ(p->Time(), ppBottomRight);
  EXPECT_EQ(p->DateFormat(), u"yyyy-mm-dd");
  EXPECT_EQ(p->TitleText(), u"Channels");
  EXPECT_EQ(p->FooterSize(), 101);
  EXPECT_EQ(p->HeaderSize(), 102);
  EXPECT_EQ(p->LeftSize(), 103);
  EXPECT_EQ(p->RightSize(), 104);
  EXPECT_EQ(p->FitToPage(), fpShrink);
  EXPECT_EQ(p->Font()->Name(), u"Courier New");
  EXPECT_EQ(p->Font()->Size(), 9);
  EXPECT_EQ(p->Font()->Color(), static_cast<TColor>(0x0000FF));
  EXPECT_EQ(p->HeaderFont()->Name(), u"Tahoma");
  EXPECT_EQ(p->HeaderFont()->Size(), 14);
  EXPECT_EQ(p->HeaderFont()->Style(), TFontStyles({fsBold, fsUnderline}));
  EXPECT_EQ(p->FooterFont()->Size(), 7);
  EXPECT_EQ(p->PageNumSep(), u"of");
  EXPECT_EQ(p->PageSuffix(), u"end");
  EXPECT_EQ(p->PagePrefix(), u"Page");
  EXPECT_EQ(p->Orientation(), poLandscape);
  ASSERT_EQ(p->TitleLines()->Count(), 2);
  EXPECT_EQ(p->TitleLines()->Get(0), u"Report");
  EXPECT_EQ(p->TitleLines()->Get(1), u"Q1");
  EXPECT_EQ(p->JobName(), u"kept");
  EXPECT_EQ(p->FixedFont()->Name(), u"Kept Font");
}

TEST(AdvGridPrintSettings, HandWrittenValuesFollowTheReadingRules) {
  TempFolder dir;
  dir.Write("hand.ini",
            "[P]\nCentered=y\nRepeatFixedRows=Y\nBorders=9\nBorderStyle=-1\nFitToPage=5\nOrientation=2\nDate=7\n"
            "PageNr=6\nTitle=0\nHeaderFontStyle=2\nFontSize=abc\nColumnSpacing=12x\n");
  DEreDuzeroVaro g(nullptr);
  TPrintSettings* p = g.PrintSettings();
  p->SetBorders(pbHorizontal);
  p->SetBorderStyle(psDash);
  p->SetFitToPage(fpGrow);
  p->SetOrientation(poLandscape);
  p->HeaderFont()->SetStyle({fsBold});
  g.LoadPrintSettings(dir.FileS("hand.ini"), u"P");
  EXPECT_FALSE(p->Centered());  // only "Y" is true
  EXPECT_TRUE(p->RepeatFixedRows());
  EXPECT_EQ(p->Borders(), pbHorizontal);  // out-of-range ordinals leave the property
  EXPECT_EQ(p->BorderStyle(), psDash);
  EXPECT_EQ(p->FitToPage(), fpGrow);
  EXPECT_EQ(p->Orientation(), poLandscape);
  EXPECT_EQ(p->Date(), ppNone);
  EXPECT_EQ(p->PageNr(), ppBottomCenter);
  EXPECT_EQ(p->HeaderFont()->Style(), TFontStyles({fsBold, fsItalic}));  // bits are added
  EXPECT_EQ(p->Font()->Size(), 10);  // not a number: the default
  EXPECT_EQ(p->ColumnSpacing(), 20);
  EXPECT_EQ(p->HeaderSize(), 100);  // missing: the default
  EXPECT_EQ(p->Font()->Name(), u"Arial");
  EXPECT_EQ(p->PageNumSep(), u"");
}

TEST(AdvGridPrintSettings, LoadCreatesAMissingFileAndSurvivesOneThatCannotBeWritten) {
  TempFolder dir;
  DEreDuzeroVaro g(nullptr);
  g.LoadPrintSettings(dir.FileS("new.ini"), u"P");
  EXPECT_EQ(g.PrintSettings()->LeftSize(), 100);
  struct stat st{};
  EXPECT_EQ(stat(dir.File("new.ini").c_str(), &st), 0);

  // A path that cannot be written back (its folder is a file): the load keeps its defaults.
  g.PrintSettings()->SetLeftSize(5);
  EXPECT_NO_THROW(g.LoadPrintSettings(dir.FileS("new.ini/p.ini"), u"P"));
  EXPECT_EQ(g.PrintSettings()->LeftSize(), 100);
  if (geteuid() != 0) {
    // A settings file in a read-only folder: read, and the failed write-back does not undo it.
    mkdir(dir.File("ro").c_str(), 0755);
    dir.Write("ro/p.ini", "[P]\nLeftSize=7\n");
    chmod(dir.File("ro/p.ini").c_str(), 0444);
    chmod(dir.File("ro").c_str(), 0555);
    EXPECT_NO_THROW(g.LoadPrintSettings(dir.FileS("ro/p.ini"), u"P"));
    chmod(dir.File("ro").c_str(), 0755);
    EXPECT_EQ(g.PrintSettings()->LeftSize(), 7);
  }
  EXPECT_THROW(g.SavePrintSettings(dir.FileS("no-folder/x/p.ini"), u"P"), Exception);
}

TEST(AdvGridPrintSettings, DamagedFilesNeverCrashTheLoad) {
  TempFolder dir;
  DEreDuzeroVaro g(nullptr);
  FillSettings(g.PrintSettings());
  g.SavePrintSettings(dir.FileS("good.ini"), u"P");
  const std::string good = dir.Read("good.ini");
  std::mt19937 rng(21);
  for (int i = 0; i < 40; ++i) {
    std::string bad = good;
    if (i % 2) {
      bad.resize(rng() % bad.size());
    } else {
      for (int k = 0; k < 8; ++k) bad[rng() % bad.size()] = static_cast<char>(rng() & 0xFF);
    }
    dir.Write("bad.ini", bad);
    try {
      g.LoadPrintSettings(dir.FileS("bad.ini"), u"P");
    } catch (const Exception& e) {
      EXPECT_NE(String(e.Message()).find(u"bad.ini"), String::npos) << i;
    }
  }
}
