// The image viewer and the image type window: pictures from the chart exporters and from
// ImageMagick opened through the picture dialog, shown centred and scaled, copied in their
// own format, forgotten on closing; files that cannot be shown are reported.
#include <cstdlib>
#include <filesystem>

#include "MainWindowFixture.h"
#include "platform/ui/Clipbrd.h"

namespace {

class ImageViewTest : public MainWindowTest {
protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Start();
    AcknowledgeNotice();
  }
  TImageViewForm1* V() const { return ImageViewForm1; }

  // Runs ImageMagick's convert with Args, writing Name in the test's folder in Format
  // (by default the one its extension names; BMP files in the classic Windows 3 layout).
  std::string Magick(const std::string& Args, const std::string& Name, std::string Format = "") {
    std::string path = Dir.File(Name);
    if (Format.empty() && Name.size() > 4 && Name.substr(Name.size() - 4) == ".bmp") Format = "BMP3";
    std::string cmd = "convert " + Args + " '" + (Format.empty() ? "" : Format + ":") + path + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    return path;
  }
  // A 200 x 100 picture, red on the left half, blue on the right.
  std::string RedBlue(const std::string& Name) { return Magick("-size 100x100 xc:red xc:blue +append", Name); }

  // The viewer, as its menu item shows it.
  void ShowViewer() {
    SimulateKeyStroke(M()->ComboBox5, 'I', {ssCtrl});
    ProcessPendingEvents();
    ASSERT_TRUE(V()->Visible());
  }
  // Opens File with the open button and the picture dialog.
  void Open(const std::string& File, TFileDialogView* Seen = nullptr) {
    OnNextModal([File, Seen](const String&) {
      if (Seen != nullptr) *Seen = ActiveFileDialog();
      // As a user does: go to the folder first, then choose the file there. An Enter that
      // only closes the name field's completion list is followed by the Open button.
      String path = UTF8ToString(File), folder = ExtractFileDir(path);
      AnswerFileDialog(folder + u"/");
      if (ActiveFileDialog().Folder != folder) PressModalButton(u"Open");
      ASSERT_TRUE(WaitUntil([&] { return ActiveFileDialog().Folder == folder; }, 5000));
      AnswerFileDialog(ExtractFileName(path));
      if (StillUp()) PressModalButton(u"Open");
    });
    Click(V()->ToolButton1);
  }
  static bool StillUp() {
    try {
      ActiveFileDialog();
      return true;
    } catch (EInvalidOperation&) {
      return false;
    }
  }
  void CopyWithShortcut() {
    SimulateKeyStroke(V()->ToolBar2, 'C', {ssCtrl});
    ProcessPendingEvents();
  }
};

// A colour within JPEG's rounding of Expected.
::testing::AssertionResult Near(TColor Actual, TColor Expected) {
  for (int shift : {0, 8, 16})
    if (std::abs(((Actual >> shift) & 0xFF) - ((Expected >> shift) & 0xFF)) > 8)
      return ::testing::AssertionFailure() << std::hex << Actual << " is not near " << Expected;
  return ::testing::AssertionSuccess();
}

}  // namespace

TEST_F(ImageViewTest, PicturesOpenThroughTheDialogCentredAndScaledToTheWindow) {
  std::filesystem::create_directory(Dir.File("other"));
  String lastFolder = M()->LastFolder;
  for (const char* name : {"other/graph1.bmp", "other/graph1.jpg"}) {
    SCOPED_TRACE(name);
    std::string file = RedBlue(name);
    ShowViewer();
    TFileDialogView seen;
    Open(file, &seen);
    EXPECT_EQ(seen.Folder, ExcludeTrailingPathDelimiter(lastFolder));
    EXPECT_EQ(seen.Filter, u"Imagefiles (*.emf, *.wmf, *.bmp, *.jpg)");
    EXPECT_EQ(seen.FileName, u"");
    EXPECT_EQ(V()->Caption(), u"graph1." + UTF8ToString(std::string(name).substr(13)));
    EXPECT_EQ(M()->LastFolder, lastFolder);
    ASSERT_EQ(V()->Image1->Picture()->Width(), 200);

    // Scaled to the picture area's width with its proportions, centred from top to bottom.
    TImage* image = V()->Image1;
    int cw = image->Width(), ch = image->Height();
    ASSERT_GT(ch, cw / 2 + 20);  // the window is taller than the picture needs
    int h = cw / 2, top = (ch - h) / 2;
    auto shot = RenderControl(image);
    EXPECT_TRUE(Near(PixelColor(*shot, cw / 4, ch / 2), clRed));
    EXPECT_TRUE(Near(PixelColor(*shot, cw * 3 / 4, ch / 2), clBlue));
    EXPECT_TRUE(Near(PixelColor(*shot, 2, top + 2), clRed));
    EXPECT_TRUE(Near(PixelColor(*shot, cw - 3, top + h - 3), clBlue));
    // The margins above and below are free.
    EXPECT_FALSE(Near(PixelColor(*shot, cw / 4, top - 3), clRed));
    EXPECT_FALSE(Near(PixelColor(*shot, cw * 3 / 4, top + h + 2), clBlue));
    Click(V()->ToolButton3);
  }
  EXPECT_EQ(Modals->Texts.size(), 2u);  // the two dialogs, no error
}

TEST_F(ImageViewTest, CopyPutsThePictureInItsOwnFormat) {
  String emf = Dir.FileS("chart.emf"), wmf = Dir.FileS("chart.wmf"), bmp = Dir.FileS("chart.bmp");
  M()->Chart1->SaveToMetafileEnh(emf);
  M()->Chart1->SaveToMetafile(wmf);
  M()->Chart1->SaveToBitmapFile(bmp);
  std::string jpg = RedBlue("photo.jpg");
  struct Case {
    std::string File;
    bool Enhanced, Placeable;
  };
  const Case cases[] = {{StringToUTF8(emf), true, false},
                        {StringToUTF8(wmf), false, true},
                        {StringToUTF8(bmp), false, false},
                        {jpg, false, false}};
  ShowViewer();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.File);
    Open(c.File);
    ASSERT_GT(V()->Image1->Picture()->Width(), 0);
    Clipboard()->SetAsText(u"before");
    CopyWithShortcut();
    EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
    EXPECT_EQ(Clipboard()->HasFormat(CF_ENHMETAFILE), c.Enhanced);
    EXPECT_EQ(Clipboard()->HasFormat(CF_METAFILEPICT), c.Placeable);
    if (c.Enhanced || c.Placeable) {
      RawBytes bytes = Clipboard()->GetAsBytes(c.Enhanced ? CF_ENHMETAFILE : CF_METAFILEPICT);
      ASSERT_GE(bytes.size(), 44u);
      // EMF: record 1 with " EMF" at offset 40; placeable WMF: its key 9AC6CDD7.
      if (c.Enhanced) EXPECT_EQ(std::string(bytes.begin() + 40, bytes.begin() + 44), " EMF");
      else EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "\xD7\xCD\xC6\x9A");
    }
    // The picture pasted back is the one shown.
    TPicture back;
    back.Assign(Clipboard());
    EXPECT_EQ(back.Width(), V()->Image1->Picture()->Width());
    EXPECT_EQ(back.Height(), V()->Image1->Picture()->Height());
  }
  // The tool bar's copy button does the same.
  Clipboard()->SetAsText(u"before");
  Click(V()->ToolButton2);
  EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
}

TEST_F(ImageViewTest, ClosingForgetsThePictureAndReopeningShowsNone) {
  std::string file = RedBlue("graph.bmp");
  ShowViewer();
  Open(file);
  ASSERT_EQ(V()->Image1->Picture()->Width(), 200);
  Click(V()->ToolButton3);  // "Exit"
  EXPECT_FALSE(V()->Visible());
  EXPECT_EQ(V()->Image1->Picture()->Graphic(), nullptr);
  ShowViewer();
  auto shot = RenderControl(V()->Image1);
  EXPECT_NE(PixelColor(*shot, V()->Image1->Width() / 4, V()->Image1->Height() / 2), clRed);
  // With nothing shown, a copy leaves the clipboard alone.
  Clipboard()->SetAsText(u"kept");
  CopyWithShortcut();
  EXPECT_EQ(Clipboard()->AsText(), u"kept");
  EXPECT_TRUE(Modals->Texts.size() == 1u);
}

TEST_F(ImageViewTest, FilesThatCannotBeShownAreReportedAndThePictureStays) {
  std::string good = RedBlue("good.bmp");
  std::string jpeg = RedBlue("source.jpg");
  std::string jpegBytes = Dir.Read("source.jpg");
  std::string bmpBytes = Dir.Read("good.bmp");
  Dir.Write("empty.bmp", "");
  Dir.Write("truncated.jpg", jpegBytes.substr(0, jpegBytes.size() / 2));
  Dir.Write("truncated.bmp", bmpBytes.substr(0, 200));
  Dir.Write("damaged.bmp", "BM" + std::string(100, '\x7F'));
  Dir.Write("damaged.emf", std::string(200, '\x01'));
  Dir.Write("jpeg.emf", jpegBytes);
  Dir.Write("jpeg.wmf", jpegBytes);
  Magick("-size 20x20 xc:green", "png.bmp", "PNG");
  // Pictures that declare 108 megapixels (12000 x 9000) in otherwise sound headers.
  std::string huge = bmpBytes;
  huge[18] = '\xE0'; huge[19] = '\x2E'; huge[20] = 0; huge[21] = 0;  // width 12000
  huge[22] = '\x28'; huge[23] = '\x23'; huge[24] = 0; huge[25] = 0;  // height 9000
  Dir.Write("huge.bmp", huge);
  std::string hugeJpeg = jpegBytes;
  size_t sof = hugeJpeg.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  hugeJpeg[sof + 5] = '\x23'; hugeJpeg[sof + 6] = '\x28';  // height 9000
  hugeJpeg[sof + 7] = '\x2E'; hugeJpeg[sof + 8] = '\xE0';  // width 12000
  Dir.Write("huge.jpg", hugeJpeg);

  ShowViewer();
  Open(good);
  ASSERT_EQ(V()->Image1->Picture()->Width(), 200);
  TGraphic* shown = V()->Image1->Picture()->Graphic();
  size_t reports = 0;
  for (const char* name : {"empty.bmp", "truncated.jpg", "truncated.bmp", "damaged.bmp", "damaged.emf", "jpeg.emf",
                           "jpeg.wmf", "png.bmp", "huge.bmp", "huge.jpg"}) {
    SCOPED_TRACE(name);
    size_t before = Modals->Texts.size();
    Open(Dir.File(name));
    ASSERT_EQ(Modals->Texts.size(), before + 2);  // the dialog, then the report
    EXPECT_NE(Modals->Texts.back().find(u"ｱﾌﾟﾘｹｰｼｮﾝｴﾗｰ"), String::npos);
    EXPECT_EQ(V()->Caption(), UTF8ToString(name));
    EXPECT_EQ(V()->Image1->Picture()->Graphic(), shown);
    EXPECT_EQ(V()->Image1->Picture()->Width(), 200);
    EXPECT_TRUE(V()->Visible());
    ++reports;
  }
  EXPECT_EQ(reports, 10u);
  // Cancelling the dialog changes nothing.
  OnNextModal([](const String&) { CloseModal(); });
  Click(V()->ToolButton1);
  EXPECT_EQ(V()->Caption(), u"huge.jpg");
  EXPECT_EQ(V()->Image1->Picture()->Graphic(), shown);
}

TEST_F(ImageViewTest, TheImageTypeWindowReturnsOkAlsoFromItsCloseBox) {
  TImageSelectForm1* t = ImageSelectForm1;
  EXPECT_EQ(t->RadioGroup1->ItemIndex(), 0);
  ASSERT_EQ(t->RadioGroup1->Items()->Count(), 4);
  EXPECT_EQ(t->RadioGroup1->Items()->Strings(3), u"JPG");
  OnNextModal([t](const String&) {
    TRadioButton* jpg = t->RadioGroup1->Buttons(3);
    SimulateClick(jpg, 6, jpg->Height() / 2);
    ProcessPendingEvents();
    CloseModal();  // the close box
  });
  EXPECT_EQ(t->ShowModal(), mrOk);
  EXPECT_EQ(t->RadioGroup1->ItemIndex(), 3);
  OnNextModal([&](const String&) { Click(t->SpeedButton1); });
  EXPECT_EQ(t->ShowModal(), mrOk);
  EXPECT_EQ(Modals->Texts.at(0), u"  Image type");
}
