// Drag and drop of the styled edit: the data object and its format list, and real drags of a
// selection within an edit, between edits and from other programs.
#include <gtest/gtest.h>

#include "controls/AdvEddd.h"
#include "controls/AdvEdit.h"
#include "platform/rtl/CodePages.h"
#include "platform/ui/Forms.h"
#include "platform/win/WinUser.h"
#include "testing/TempFolder.h"
#include "testing/TestSupport.h"

namespace {

FORMATETC Fmt(UINT Cf, DWORD Tymed = TYMED_HGLOBAL) {
  FORMATETC f;
  f.cfFormat = CLIPFORMAT(Cf);
  f.tymed = Tymed;
  return f;
}

std::string Bytes(IDataObject* Data, UINT Cf) {
  FORMATETC f = Fmt(Cf);
  STGMEDIUM m;
  if (Data->GetData(&f, &m) != S_OK) return "<none>";
  std::string b(static_cast<const char*>(GlobalLock(m.hGlobal)), GlobalSize(m.hGlobal));
  GlobalUnlock(m.hGlobal);
  ReleaseStgMedium(&m);
  return b;
}

TEST(AdvEddd, SourceDataOffersTextInBothFormsAndListsRichTextWithoutServingIt) {
  auto* data = new TSourceDataObject(u"ﾃﾞｰﾀ€", u"{\\rtf1 x}");
  IEnumFORMATETC* list = nullptr;
  ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, &list), S_OK);
  FORMATETC three[3];
  ULONG fetched = 0;
  EXPECT_EQ(list->Next(3, three, &fetched), S_OK);
  EXPECT_EQ(fetched, 3u);
  EXPECT_EQ(three[0].cfFormat, CF_TEXT);
  EXPECT_EQ(three[1].cfFormat, CF_UNICODETEXT);
  EXPECT_EQ(three[2].cfFormat, RichTextFormat);
  EXPECT_NE(RichTextFormat, 0u);
  for (const FORMATETC& f : three) {
    EXPECT_EQ(f.tymed, TYMED_HGLOBAL);
    EXPECT_EQ(f.lindex, -1);
    EXPECT_EQ(f.dwAspect, DVASPECT_CONTENT);
  }
  EXPECT_EQ(list->Next(1, three, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 0u);
  list->Reset();
  EXPECT_EQ(list->Skip(2), S_OK);
  EXPECT_EQ(list->Skip(2), S_FALSE);
  list->Release();

  ASSERT_FALSE(RichTextDragDrop);
  FORMATETC rtf = Fmt(RichTextFormat), text = Fmt(CF_UNICODETEXT);
  EXPECT_EQ(data->QueryGetData(&rtf), DV_E_FORMATETC);
  EXPECT_EQ(data->QueryGetData(&text), S_OK);
  FORMATETC stream = Fmt(CF_TEXT, TYMED_ISTREAM);
  EXPECT_EQ(data->QueryGetData(&stream), DV_E_FORMATETC);
  std::string cp932;
  EncodeCodePage(u"ﾃﾞｰﾀ", "CP932", cp932);
  EXPECT_EQ(Bytes(data, CF_TEXT), cp932 + std::string(1, '\0'));  // the euro sign has no code there
  const std::string wide = Bytes(data, CF_UNICODETEXT);
  EXPECT_EQ(wide.size(), 2 * 5 + 2u);
  EXPECT_EQ(String(reinterpret_cast<const Char*>(wide.data())), u"ﾃﾞｰﾀ€");
  EXPECT_EQ(Bytes(data, RichTextFormat), "<none>");
  data->Release();
}

// A shown form with two styled edits that drag and take drops.
struct TEditsForm {
  TForm form{nullptr};
  TAdvEdit* a = new TAdvEdit(&form);
  TAdvEdit* b = new TAdvEdit(&form);
  TEditsForm() {
    form.SetBounds(40, 40, 420, 120);
    for (TAdvEdit* e : {a, b}) e->SetParent(&form);
    a->SetBounds(10, 10, 180, 24);
    b->SetBounds(220, 10, 180, 24);
    form.Show();
    ProcessPendingEvents();
    for (TAdvEdit* e : {a, b}) {
      e->SetOleDropSource(true);
      e->SetOleDropTarget(true);
    }
  }
  // The client point at character Index of an edit, halfway down.
  static TPoint At(TAdvEdit* e, int Index) { return TPoint(e->PosFromChar(Index).X, e->Height() / 2); }
  // Selects [Start, Start + Length) of e with the focus on it, presses inside the selection and
  // moves: the drag runs Steps.
  static void DragSelection(TAdvEdit* e, int Start, int Length, std::function<void()> Steps, TShiftState Shift = {}) {
    e->SetFocus();
    ProcessPendingEvents();
    e->Select(Start, Length);
    TPoint p = At(e, Start + 1);
    SimulateMouseDown(e, mbLeft, p.X, p.Y, Shift);
    WhileDragging(std::move(Steps));
    TShiftState held = Shift;
    held.Include(ssLeft);
    SimulateMouseMove(e, p.X + 6, p.Y, held);
  }
};

TEST(AdvEddd, DraggingASelectionMovesItAndWithCtrlCopiesIt) {
  TEditsForm f;
  struct Case {
    int Start, Length;  // the selection dragged
    int DropAt, Beyond;  // the character the mouse is released at, and pixels beyond it
    bool Ctrl;
    const char16_t* Expected;
  } cases[] = {
      {0, 3, 7, 4, false, u" defabc"},     // moved to the end
      {4, 3, 0, 0, true, u"defabc def"},   // copied to the start
      {0, 3, 2, 0, false, u"abc def"},     // onto its own selection: nothing changes
  };
  for (const Case& c : cases) {
    f.a->SetText(u"abc def");
    TShiftState held{ssLeft}, keys;
    if (c.Ctrl) {
      held.Include(ssCtrl);
      keys.Include(ssCtrl);
    }
    TEditsForm::DragSelection(f.a, c.Start, c.Length, [&] {
      TPoint at = TEditsForm::At(f.a, c.DropAt);
      SimulateMouseMove(f.a, at.X + c.Beyond, at.Y, held);
      SimulateMouseUp(f.a, mbLeft, at.X + c.Beyond, at.Y, keys);
    });
    EXPECT_EQ(f.a->Text(), c.Expected) << c.Start << " " << c.DropAt;
  }
}

TEST(AdvEddd, DraggingToAnotherEditMovesTheTextThereAndEscapeCancels) {
  TEditsForm f;
  f.a->SetText(u"hello there");
  f.b->SetText(u"world");
  TEditsForm::DragSelection(f.a, 0, 6, [&] {
    TPoint into = TEditsForm::At(f.b, 0);
    SimulateMouseMove(f.b, into.X, into.Y, {ssLeft});
    SimulateMouseUp(f.b, mbLeft, into.X, into.Y);
  });
  EXPECT_EQ(f.b->Text(), u"hello world");
  EXPECT_EQ(f.a->Text(), u"there");

  TEditsForm::DragSelection(f.a, 0, 5, [&] {
    TPoint into = TEditsForm::At(f.b, 0);
    SimulateMouseMove(f.b, into.X, into.Y, {ssLeft});
    SimulateKeyDown(f.a, VK_ESCAPE, {ssLeft});
  });
  EXPECT_EQ(f.a->Text(), u"there");
  EXPECT_EQ(f.b->Text(), u"hello world");
  EXPECT_EQ(f.a->SelLength(), 5);
}

TEST(AdvEddd, AClickInsideTheSelectionWithoutADragPutsTheCaretThere) {
  TEditsForm f;
  f.a->SetText(u"abc def");
  int clicks = 0;
  f.a->OnClick = [&](TObject*) { ++clicks; };
  f.a->SetFocus();
  ProcessPendingEvents();
  f.a->Select(0, 7);
  TPoint p = TEditsForm::At(f.a, 3);
  SimulateClick(f.a, p.X, p.Y);
  EXPECT_EQ(f.a->SelLength(), 0);
  EXPECT_EQ(f.a->SelStart(), 3);
  EXPECT_EQ(clicks, 1);
}

TEST(AdvEddd, OtherProgramsDropsInsertTheirFirstLineAsUnicodeAndFilesAloneChangeNothing) {
  TEditsForm f;
  f.b->SetText(u"ab");
  TPoint end = TEditsForm::At(f.b, 2);
  EXPECT_EQ(SimulateOutsideDrop(f.b, end.X + 4, end.Y, u"€1\r\nsecond"), DROPEFFECT_MOVE);
  EXPECT_EQ(f.b->Text(), u"ab€1");
  end = TEditsForm::At(f.b, 4);
  EXPECT_EQ(SimulateOutsideDrop(f.b, end.X + 4, end.Y, u"x", {}, {ssCtrl}), DROPEFFECT_COPY);

  TempFolder dir;
  EXPECT_NE(SimulateOutsideDrop(f.b, end.X, end.Y, String(), {UTF8ToString(dir.Path()) + u"/a.txt"}), DROPEFFECT_NONE);
  EXPECT_EQ(f.b->Text(), u"ab€1x");

  // A window made again still takes drops.
  f.b->RecreateWnd();
  f.b->HandleNeeded();
  ProcessPendingEvents();
  SimulateOutsideDrop(f.b, 5, 10, u"!");
  EXPECT_EQ(f.b->Text(), u"!ab€1x");

  // Control characters go (a zero ends the text); a numeric edit takes only numbers, within its MaxLength.
  f.b->SetText(String());
  SimulateOutsideDrop(f.b, 5, 10, String(u"a\tb\x7f\x1b" u"c\0d", 7));
  EXPECT_EQ(f.b->Text(), u"abc");
  f.b->SetEditType(etNumeric);
  f.b->SetText(u"12");
  f.b->SetMaxLength(4);
  TPoint numEnd = TEditsForm::At(f.b, Length(f.b->Text()));
  SimulateOutsideDrop(f.b, numEnd.X + 4, numEnd.Y, u"x9");
  EXPECT_EQ(f.b->Text(), u"12");
  SimulateOutsideDrop(f.b, numEnd.X + 4, numEnd.Y, u"3456");
  EXPECT_EQ(f.b->Text(), u"1234");
}

// Other programs' drops onto an edit at the end of its value: what each edit type takes.
TEST(AdvEddd, DropsAreCleanedAndBoundedByTheEditsTypeAndLengths) {
  struct Case {
    const char* Name;
    TAdvEditType Type;
    int MaxLength, LengthLimit;
    const char16_t* Start;
    std::vector<std::pair<std::string, std::string>> Data;
    const char16_t* Expected;
  };
  const std::string big(10 << 20, '7');
  const Case cases[] = {
      {"second line left out", etString, 0, 0, u"x", {{"text/plain", "one\ntwo"}}, u"xone"},
      {"control characters left out", etString, 0, 0, u"", {{"text/plain", std::string("a\tb\0c", 5)}}, u"ab"},
      {"rich text alone changes nothing", etString, 0, 0, u"x", {{"text/rtf", "{\\rtf1 y}"}}, u"x"},
      {"letters refused by a number", etNumeric, 0, 0, u"1", {{"text/plain", "2a"}}, u"1"},
      {"integer part within LengthLimit", etNumeric, 0, 3, u"12", {{"text/plain", "34"}}, u"12"},
      {"integer part at LengthLimit", etNumeric, 0, 3, u"12", {{"text/plain", "3"}}, u"123"},
      {"ten megabytes within MaxLength", etNumeric, 8, 0, u"1", {{"text/plain", big}}, u"17777777"},
      {"ten megabytes of a string", etString, 0, 0, u"", {{"text/plain", "ab\r\n" + big}}, u"ab"},
  };
  TEditsForm f;
  for (const Case& c : cases) {
    f.b->SetEditType(c.Type);
    f.b->SetMaxLength(c.MaxLength);
    f.b->SetLengthLimit(static_cast<int16_t>(c.LengthLimit));
    f.b->SetText(c.Start);
    const TPoint end = TEditsForm::At(f.b, Length(f.b->WindowText()));
    SimulateOutsideDrop(f.b, end.X + 4, end.Y, c.Data);
    EXPECT_EQ(f.b->Text(), String(c.Expected)) << c.Name;
  }
}

}  // namespace
