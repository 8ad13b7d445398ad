// The image picker: filling from a folder, the selection rules, keys, wheel and Enter in the
// open list, and the chosen picture in the edit.

#include <gtest/gtest.h>

#include <filesystem>

#include "dropdowns/AdvImagePickerDropDown.h"
#include "dropdowns/demo/DropDownsDemo.h"
#include "platform/ui/Forms.h"
#include "testing/PictureFixtures.h"
#include "testing/TempFolder.h"
#include "testing/TestSupport.h"

namespace {

struct PickerFixture {
  TForm form{nullptr};
  TAdvImagePickerDropDown* dd;
  int selects = 0, changes = 0;
  PickerFixture() {
    form.SetBorderStyle(bsNone);
    form.SetBounds(100, 100, 400, 400);
    dd = new TAdvImagePickerDropDown(&form);
    dd->SetParent(&form);
    dd->SetBounds(100, 40, 120, 40);
    dd->SetTabStop(true);
    dd->OnSelect = [this](TObject*) { ++selects; };
    dd->OnChange = [this](TObject*) { ++changes; };
    form.Show();
    ProcessPendingEvents();
    dd->SetFocus();
    ProcessPendingEvents();
  }
  // Items with the given captions, each a small bitmap of its own colour.
  void Fill(int Count) {
    static const char16_t* names[] = {u"Apple", u"Blue", u"Black", u"Cyan", u"Dark", u"Ebony", u"Fern", u"Gold", u"Grey"};
    for (int i = 0; i < Count; ++i) {
      TImageItem* item = dd->Items()->Add();
      item->SetCaption(names[i % 9]);
      item->SetImageIndex(i);
      TBitmap b;
      b.SetSize(8, 8);
      b.Canvas()->Brush()->SetColor(static_cast<TColor>(0x10 * (i + 1)));
      b.Canvas()->FillRect(TRect(0, 0, 8, 8));
      item->Image()->SetGraphic(&b);
    }
  }
  TWinControl* target() { return dd->DroppedDown() ? static_cast<TWinControl*>(dd->ItemSelector()) : dd; }
  void Key(Word K) {
    TWinControl* t = target();
    SimulateKeyDown(t, K);
    SimulateKeyUp(t->Showing() ? t : static_cast<TWinControl*>(dd), K);
    ProcessPendingEvents();
  }
};

}  // namespace

TEST(ImagePickerDropDown, AddImagesFromFolderTakesMatchingEntriesInNameOrder) {
  TempFolder make, dir;
  MakeTwoTone(make, "p.png", 16, 12, 6, "red", "blue");
  const std::string png = make.Read("p.png");
  dir.Write("Blue.PNG", png);
  dir.Write("alpha.png", png);
  dir.Write("corrupt.png", "\x89PNG\r\n\x1a\nnot really a picture");
  dir.Write("readme.txt", "text");
  std::filesystem::create_directory(dir.File("folder.png"));
  String folder = UTF8ToString(dir.Path());
  String backslashed = folder;
  std::replace(backslashed.begin(), backslashed.end(), u'/', u'\\');

  struct Case {
    String spec;
    std::vector<String> captions;
    std::vector<bool> pictures;
  };
  const Case cases[] = {
      {folder + u"/*.png", {u"Blue.PNG", u"alpha.png", u"corrupt.png", u"folder.png"}, {true, true, false, false}},
      {folder + u"/*.*", {u"Blue.PNG", u"alpha.png", u"corrupt.png", u"folder.png", u"readme.txt"},
       {true, true, false, false, false}},
      {backslashed + u"\\A*.PnG", {u"alpha.png"}, {true}},
      {folder + u"/?lue.png", {u"Blue.PNG"}, {true}},
      {folder + u"/*.jpg", {}, {}},
      {folder + u"/missing/*.*", {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(StringToUTF8(c.spec));
    PickerFixture f;
    f.dd->AddImagesFromFolder(c.spec, true);
    ASSERT_EQ(f.dd->Items()->Count(), static_cast<int>(c.captions.size()));
    for (size_t i = 0; i < c.captions.size(); ++i) {
      TImageItem* item = f.dd->Items()->Items(static_cast<int>(i));
      EXPECT_EQ(item->Caption(), c.captions[i]);
      TGraphic* g = item->Image()->Graphic();
      EXPECT_EQ(g != nullptr && !g->Empty(), c.pictures[i]) << i;
      if (c.pictures[i]) {
        EXPECT_EQ(g->Width(), 16);
        EXPECT_EQ(g->Height(), 12);
      }
    }
  }
  // Without captions the items stay uncaptioned.
  PickerFixture f;
  f.dd->AddImagesFromFolder(folder + u"/*.png", false);
  EXPECT_EQ(f.dd->Items()->Items(0)->Caption(), u"");
}

namespace {

// The PNG's header rewritten to declare Width x Height pixels, its checksum made good again.
std::string PngDeclaring(std::string png, uint32_t Width, uint32_t Height) {
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) png[at + i] = static_cast<char>(v >> (24 - 8 * i));
  };
  put32(16, Width);
  put32(20, Height);
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 12; i < 29; ++i) {  // the chunk's type and data
    crc ^= static_cast<uint8_t>(png[i]);
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  put32(29, ~crc);
  return png;
}

}  // namespace

TEST(ImagePickerDropDown, PicturesThatCannotBeReadGiveItemsWithoutAPicture) {
  TempFolder make, dir;
  MakeTwoTone(make, "p.png", 16, 12, 6, "red", "blue");
  const std::string png = make.Read("p.png");
  ASSERT_EQ(png.substr(12, 4), "IHDR");
  dir.Write("a-good.png", PngDeclaring(png, 16, 12));  // the rewrite itself keeps a readable picture
  dir.Write("b-huge.png", PngDeclaring(png, 60000, 60000));
  dir.Write("c-truncated.png", png.substr(0, png.size() / 2));
  dir.Write("d-empty.png", "");
  PickerFixture f;
  f.dd->AddImagesFromFolder(UTF8ToString(dir.Path()) + u"/*.png", true);
  ASSERT_EQ(f.dd->Items()->Count(), 4);
  for (int i = 0; i < 4; ++i) {
    TGraphic* g = f.dd->Items()->Items(i)->Image()->Graphic();
    EXPECT_EQ(g != nullptr && !g->Empty(), i == 0) << StringToUTF8(f.dd->Items()->Items(i)->Caption());
  }
}

TEST(ImagePickerDropDown, MaskMatchingIgnoresCaseAndBacktracksLinearly) {
  struct Case {
    const char16_t *name, *mask;
    bool match;
  };
  const Case cases[] = {{u"a.PNG", u"*.png", true},   {u"a.png.txt", u"*.png", false}, {u"noext", u"*.*", true},
                        {u"abcabd", u"*abd", true},   {u"ab", u"a?", true},            {u"a", u"a?", false},
                        {u"xyz", u"x*y*z*", true},    {u"xyz", u"x*q", false}};
  for (const Case& c : cases) EXPECT_EQ(MatchesFileMask(c.name, c.mask), c.match) << String(c.name).size();
  // A long name against a mask of many stars takes no time to refuse.
  EXPECT_FALSE(MatchesFileMask(String(20000, u'a'), u"*a*a*a*a*a*a*a*a*b"));
}

TEST(ImagePickerDropDown, SelectionRulesAndEvents) {
  PickerFixture f;
  f.Fill(4);
  f.dd->SetItemIndex(2);
  EXPECT_EQ(f.dd->ImageIndex(), 2);
  EXPECT_EQ(f.selects, 1);
  EXPECT_EQ(f.changes, 1);
  f.dd->SetItemIndex(4);  // Count: nothing
  f.dd->SetItemIndex(2);  // the current one: nothing
  EXPECT_EQ(f.selects, 1);
  f.dd->SetImageIndex(7);  // no item has it: no selection, both events
  EXPECT_EQ(f.dd->ItemIndex(), -1);
  EXPECT_EQ(f.selects, 2);
  EXPECT_EQ(f.changes, 2);
  f.dd->SetImageIndex(3);
  EXPECT_EQ(f.dd->ItemIndex(), 3);
  f.dd->SetItemIndex(-5);  // any negative value is no selection
  EXPECT_EQ(f.dd->ItemIndex(), -1);
  EXPECT_EQ(f.dd->ImageIndex(), -1);
  EXPECT_EQ(f.selects, 4);
}

TEST(ImagePickerDropDown, UpAndDownMoveByAWholeRowInTheOpenList) {
  for (int count : {9, 7}) {
    SCOPED_TRACE(count);
    PickerFixture f;
    f.Fill(count);
    f.dd->SetColumns(3);
    f.dd->SetItemIndex(4);
    f.Key(VK_F4);
    ASSERT_TRUE(f.dd->DroppedDown());
    f.Key(VK_DOWN);
    EXPECT_EQ(f.dd->ItemIndex(), count == 9 ? 7 : 4);
    EXPECT_TRUE(f.dd->DroppedDown());
    f.Key(VK_UP);
    EXPECT_EQ(f.dd->ItemIndex(), count == 9 ? 4 : 1);
    // Escape goes back to the item of the opening.
    f.Key(VK_ESCAPE);
    EXPECT_FALSE(f.dd->DroppedDown());
    EXPECT_EQ(f.dd->ItemIndex(), 4);
  }
}

TEST(ImagePickerDropDown, EscapeRestoresNoSelectionAndTypeAheadFindsCaptions) {
  PickerFixture f;
  f.Fill(9);
  f.Key(VK_F4);
  f.Key('B');
  f.Key(VK_F5);
  f.Key('L');
  f.Key('A');
  EXPECT_EQ(f.dd->ItemIndex(), 2);
  EXPECT_TRUE(f.dd->DroppedDown());
  f.Key(VK_ESCAPE);
  EXPECT_EQ(f.dd->ItemIndex(), -1);
}

TEST(ImagePickerDropDown, EnterOnTheHotItemSelectsItOnce) {
  PickerFixture f;
  f.Fill(5);
  f.Key(VK_F4);
  SimulateMouseWheel(f.dd->ItemSelector(), -120, 10, 10);
  SimulateMouseWheel(f.dd->ItemSelector(), -120, 10, 10);
  EXPECT_EQ(f.dd->ItemSelector()->ItemHot(), 1);
  f.Key(VK_RETURN);
  EXPECT_FALSE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->ItemIndex(), 1);
  EXPECT_EQ(f.selects, 1);
  // Closed, the wheel steps the choice without opening.
  SimulateMouseWheel(f.dd, -120, 10, 10);
  EXPECT_FALSE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->ItemIndex(), 2);
}

TEST(ImagePickerDropDown, TheChosenPictureShowsCentredInTheEdit) {
  PickerFixture f;
  f.Fill(3);
  f.dd->SetItemIndex(1);
  ProcessPendingEvents();
  auto bmp = RenderControl(f.dd);
  const int cx = (2 + f.dd->Width() - f.dd->DropDownButtonWidth() - 3) / 2, cy = f.dd->Height() / 2;
  EXPECT_EQ(PixelColor(*bmp, cx, cy), 0x20);
  EXPECT_NE(PixelColor(*bmp, cx - 8, cy), 0x20);
}

TEST(ImagePickerDropDown, DemoPickersChooseByKeysAndReportInTheStatusLine) {
  TDropDownsDemoForm form(nullptr);
  form.Show();
  ProcessPendingEvents();
  // The detail drop-down: open, down twice, Enter.
  TAdvDetailDropDown* detail = form.DetailDropDown();
  detail->SetFocus();
  ProcessPendingEvents();
  SimulateKeyStroke(detail, VK_F4);
  ProcessPendingEvents();
  ASSERT_TRUE(detail->DroppedDown());
  SimulateKeyStroke(detail->ItemSelector(), VK_DOWN);
  SimulateKeyStroke(detail->ItemSelector(), VK_DOWN);
  SimulateKeyDown(detail->ItemSelector(), VK_RETURN);
  SimulateKeyUp(detail, VK_RETURN);
  ProcessPendingEvents();
  EXPECT_FALSE(detail->DroppedDown());
  EXPECT_EQ(detail->Text(), u"Channel 2");
  EXPECT_EQ(form.Status()->Caption(), u"Detail: Channel 2");
  // The image picker: Down steps the closed choice.
  TAdvImagePickerDropDown* picker = form.ImagePicker();
  picker->SetFocus();
  ProcessPendingEvents();
  SimulateKeyStroke(picker, VK_DOWN);
  ProcessPendingEvents();
  EXPECT_EQ(picker->ItemIndex(), 1);
  EXPECT_EQ(form.Status()->Caption(), u"Image: Lime");
  auto bmp = RenderControl(&form);
  EXPECT_EQ(bmp->Height(), 520);
}

TEST(ImagePickerDropDown, AltDownAndAltUpToggleOncePerKey) {
  PickerFixture f;
  f.Fill(4);
  for (bool open : {true, false, true, false}) {
    TWinControl* t = f.target();
    SimulateKeyDown(t, VK_DOWN, {ssAlt});
    SimulateKeyUp(t->Showing() ? t : static_cast<TWinControl*>(f.dd), VK_DOWN, {ssAlt});
    ProcessPendingEvents();
    EXPECT_EQ(f.dd->DroppedDown(), open);
  }
  EXPECT_EQ(f.dd->ItemIndex(), -1);
}

TEST(ImagePickerDropDown, HomeEndLeftRightAndPageKeys) {
  PickerFixture f;
  f.Fill(9);
  f.dd->SetColumns(3);
  // Closed: Home and End choose the first and the last item.
  f.Key(VK_END);
  EXPECT_EQ(f.dd->ItemIndex(), 8);
  f.Key(VK_HOME);
  EXPECT_EQ(f.dd->ItemIndex(), 0);
  EXPECT_FALSE(f.dd->DroppedDown());
  // Open: the keys move the choice and keep the list open.
  f.Key(VK_F4);
  ASSERT_TRUE(f.dd->DroppedDown());
  f.Key(VK_RIGHT);
  f.Key(VK_RIGHT);
  EXPECT_EQ(f.dd->ItemIndex(), 2);
  f.Key(VK_LEFT);
  EXPECT_EQ(f.dd->ItemIndex(), 1);
  f.Key(VK_END);
  EXPECT_EQ(f.dd->ItemIndex(), 8);
  f.Key(VK_HOME);
  EXPECT_EQ(f.dd->ItemIndex(), 0);
  const int n = f.dd->ItemSelector()->GetVisibleItemCount();
  ASSERT_GT(n, 0);
  f.Key(VK_NEXT);
  EXPECT_EQ(f.dd->ItemIndex(), std::min(n, 8));
  f.Key(VK_PRIOR);
  EXPECT_EQ(f.dd->ItemIndex(), 0);
  EXPECT_TRUE(f.dd->DroppedDown());
  f.Key(VK_RETURN);
  EXPECT_FALSE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->ItemIndex(), 0);
}
