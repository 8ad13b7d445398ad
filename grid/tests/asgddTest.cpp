// The grid's drag and drop: the data object a grid drag offers, what the drop target takes from
// data objects (sound and damaged), real drags through the program's drag loop, and other
// programs' drops.
#include <gtest/gtest.h>

#include <cstring>

#include "grid/asgdd.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/win/WinUser.h"
#include "testing/TempFolder.h"
#include "testing/TestSupport.h"

// The tests live in the unit's namespace, where its names come before the styled edit's.
namespace asgdd {

namespace {

FORMATETC Fmt(UINT Cf) {
  FORMATETC f;
  f.cfFormat = CLIPFORMAT(Cf);
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

std::vector<UINT> Listed(IDataObject* Data) {
  IEnumFORMATETC* list = nullptr;
  EXPECT_EQ(Data->EnumFormatEtc(DATADIR_GET, &list), S_OK);
  std::vector<UINT> formats;
  FORMATETC f;
  ULONG fetched = 0;
  while (list->Next(1, &f, &fetched) == S_OK) formats.push_back(f.cfFormat);
  list->Release();
  return formats;
}

// A data object offering fixed blocks, as another program's may: any size, any content.
class TBlockData : public TInterfacedObject<IDataObject> {
public:
  TBlockData& Add(UINT Format, const std::string& Bytes) {
    FBlocks.emplace_back(CLIPFORMAT(Format), Bytes);
    return *this;
  }
  HRESULT GetData(const FORMATETC* Fmt, STGMEDIUM* Medium) override {
    *Medium = STGMEDIUM();
    for (auto& [format, bytes] : FBlocks)
      if (format == Fmt->cfFormat) {
        HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        if (!bytes.empty()) std::memcpy(GlobalLock(mem), bytes.data(), bytes.size());
        GlobalUnlock(mem);
        Medium->tymed = TYMED_HGLOBAL;
        Medium->hGlobal = mem;
        return S_OK;
      }
    return DV_E_FORMATETC;
  }
  HRESULT GetDataHere(const FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT QueryGetData(const FORMATETC*) override { return S_OK; }
  HRESULT GetCanonicalFormatEtc(const FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  HRESULT SetData(const FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT EnumFormatEtc(DWORD, IEnumFORMATETC** Enum) override {
    if (FNoEnumerator) return E_FAIL;
    std::vector<UINT> formats;
    for (auto& b : FBlocks) formats.push_back(b.first);
    // Listed through a grid data object's enumerator class would tie the test to it; a plain list.
    *Enum = new TList(formats);
    return S_OK;
  }
  HRESULT DAdvise(const FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT DUnadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
  bool FNoEnumerator = false;

protected:
  bool Supports(REFIID Riid) const override { return Riid == IID_IDataObject; }

private:
  class TList : public TInterfacedObject<IEnumFORMATETC> {
  public:
    explicit TList(std::vector<UINT> Formats) : FFormats(std::move(Formats)) {}
    HRESULT Next(ULONG Count, FORMATETC* Formats, ULONG* Fetched) override {
      ULONG n = 0;
      for (; n < Count && FAt < FFormats.size(); ++n, ++FAt) Formats[n] = Fmt(FFormats[FAt]);
      if (Fetched) *Fetched = n;
      return n == Count ? S_OK : S_FALSE;
    }
    HRESULT Skip(ULONG Count) override {
      FAt += Count;
      return S_OK;
    }
    HRESULT Reset() override {
      FAt = 0;
      return S_OK;
    }
    HRESULT Clone(IEnumFORMATETC**) override { return E_NOTIMPL; }

  protected:
    bool Supports(REFIID Riid) const override { return Riid == IID_IEnumFORMATETC; }

  private:
    std::vector<UINT> FFormats;
    size_t FAt = 0;
  };
  std::vector<std::pair<CLIPFORMAT, std::string>> FBlocks;
};

std::string Wide(const String& s, bool Terminated = true) {
  std::string b(reinterpret_cast<const char*>(s.data()), s.size() * 2);
  if (Terminated) b.append(2, '\0');
  return b;
}

std::string Int32(int32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); }

std::string CellBlock(uint32_t Count, const std::string& Bytes) { return Int32(int32_t(Count)) + Int32(0) + Bytes; }

std::string FileBlock(const std::vector<String>& Names) {
  DROPFILES head;
  head.pFiles = sizeof head;
  head.fWide = 1;
  std::string b(reinterpret_cast<const char*>(&head), sizeof head);
  for (const String& n : Names) b += Wide(n);
  return b + std::string(2, '\0');
}

// A drop target that writes down what it is handed.
class TRecordingTarget : public TASGDropTarget {
public:
  std::vector<std::string> Log;
  void DropText(TPoint, const String& Text) override { Log.push_back("text:" + StringToUTF8(Text)); }
  void DropStream(TPoint, TMemoryStream* Stream) override {
    Log.push_back("cells:" + std::string(static_cast<const char*>(Stream->Memory()), size_t(Stream->Size())));
  }
  void DropCol(TPoint, int Col) override { Log.push_back("col:" + std::to_string(Col)); }
  void DropRTF(TPoint, const String& RTF) override { Log.push_back("rtf:" + StringToUTF8(RTF)); }
  void DropFiles(TPoint, TStrings* Files) override {
    for (int i = 0; i < Files->Count(); ++i) Log.push_back("file:" + StringToUTF8(Files->Strings(i)));
  }
  void DropURL(TPoint, const String& URL) override { Log.push_back("url:" + StringToUTF8(URL)); }
  void DragMouseEnter() override { Log.push_back("enter"); }
  void DragMouseLeave() override { Log.push_back("leave"); }
};

struct TDropResult {
  DWORD Enter, Over, Dropped;
  std::vector<std::string> Log;
};

// Enter, one move and the drop of Data on a fresh target set up by Setup.
TDropResult DropOn(TBlockData* Data, DWORD Keys = MK_LBUTTON, std::function<void(TRecordingTarget&)> Setup = {}) {
  auto* target = new TRecordingTarget;
  if (Setup) Setup(*target);
  TDropResult r;
  const DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  r.Enter = r.Over = r.Dropped = allowed;
  target->DragEnter(Data, Keys, POINTL{5, 5}, &r.Enter);
  target->DragOver(Keys, POINTL{6, 6}, &r.Over);
  target->Log.clear();
  target->Drop(Data, Keys & ~DWORD(MK_LBUTTON), POINTL{6, 6}, &r.Dropped);
  r.Log = target->Log;
  target->Release();
  Data->Release();
  return r;
}

using Log = std::vector<std::string>;

}  // namespace

TEST(Asgdd, GridDragDataOffersTextColumnAndCellsInTheirBlocks) {
  TMemoryStream cells;
  const std::string payload("\x01\x00\xff grid", 8);
  cells.Write(payload.data(), int32_t(payload.size()));
  auto* text = new TSourceDataObject(u"a\tb", u"{\\rtf1 a}", -1, &cells);
  // Registered before any drop was read: the formats have their numbers at once.
  EXPECT_NE(CF_GRIDCELLS(), 0u);
  EXPECT_EQ(Listed(text), (std::vector<UINT>{CF_TEXT, CF_UNICODETEXT, CF_RTF(), CF_GRIDCELLS()}));
  EXPECT_EQ(Bytes(text, CF_TEXT), std::string("a\tb\0", 4));
  EXPECT_EQ(Bytes(text, CF_UNICODETEXT), Wide(u"a\tb"));
  ASSERT_FALSE(RichTextDragDrop());
  EXPECT_EQ(Bytes(text, CF_RTF()), "<none>");
  SetRichTextDragDrop(true);
  EXPECT_EQ(Bytes(text, CF_RTF()), std::string("{\\rtf1 a}\0", 10));
  SetRichTextDragDrop(false);
  const std::string block = Bytes(text, CF_GRIDCELLS());
  EXPECT_EQ(block, CellBlock(8, payload));
  EXPECT_EQ(Bytes(text, CF_GRIDCOL()), "<none>");
  // The block reads back into the same stream.
  TEnumFormats reader(text);
  std::unique_ptr<TMemoryStream> back = reader.Stream();
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(std::string(static_cast<const char*>(back->Memory()), size_t(back->Size())), payload);
  text->Release();

  auto* col = new TSourceDataObject(String(), String(), 7, nullptr);
  EXPECT_EQ(Listed(col), (std::vector<UINT>{CF_TEXT, CF_UNICODETEXT, CF_RTF(), CF_GRIDCOL()}));
  for (UINT cf : {UINT(CF_TEXT), UINT(CF_UNICODETEXT), CF_RTF(), CF_GRIDCELLS()}) {
    FORMATETC f = Fmt(cf);
    EXPECT_EQ(col->QueryGetData(&f), DV_E_FORMATETC) << cf;
  }
  EXPECT_EQ(Bytes(col, CF_GRIDCOL()), Int32(7));

  IEnumFORMATETC* list = nullptr;
  col->EnumFormatEtc(DATADIR_GET, &list);
  EXPECT_EQ(list->Skip(3), S_OK);
  IEnumFORMATETC* copy = nullptr;
  ASSERT_EQ(list->Clone(&copy), S_OK);
  FORMATETC f;
  ULONG n = 0;
  EXPECT_EQ(copy->Next(2, &f, &n), S_FALSE);
  EXPECT_EQ(n, 1u);
  EXPECT_EQ(f.cfFormat, CF_GRIDCOL());
  EXPECT_EQ(list->Skip(5), S_FALSE);
  EXPECT_EQ(list->Next(1, &f, &n), S_FALSE);
  copy->Release();
  list->Release();
  EXPECT_EQ(col->EnumFormatEtc(DATADIR_SET, &list), E_NOTIMPL);
  col->Release();
}

TEST(Asgdd, DropTargetTakesWhatItAcceptsAndDeliversInOrder) {
  TEnumFormats registers(nullptr);
  struct Case {
    const char* Name;
    std::function<void(TBlockData&)> Fill;
    std::function<void(TRecordingTarget&)> Setup;
    DWORD Keys;
    DWORD Effect;  // of enter, move and drop
    Log Delivered;
  } cases[] = {
      {"files refused", [](TBlockData& d) { d.Add(CF_HDROP, FileBlock({u"/tmp/a"})); },
       [](TRecordingTarget& t) { t.SetAcceptFiles(false); }, MK_LBUTTON, DROPEFFECT_NONE, {}},
      {"cells always taken", [](TBlockData& d) { d.Add(CF_GRIDCELLS(), CellBlock(2, "xy")); },
       [](TRecordingTarget& t) {
         t.SetAcceptText(false);
         t.SetAcceptFiles(false);
         t.SetAcceptURLs(false);
       },
       MK_LBUTTON, DROPEFFECT_MOVE, {"cells:xy"}},
      {"column before text", [](TBlockData& d) { d.Add(CF_UNICODETEXT, Wide(u"t")).Add(CF_GRIDCOL(), Int32(3)); },
       [](TRecordingTarget& t) { t.SetAcceptCols(true); }, MK_LBUTTON, DROPEFFECT_MOVE, {"col:3"}},
      {"text then files, Ctrl copies",
       [](TBlockData& d) { d.Add(CF_HDROP, FileBlock({u"/x/a", u"/x/b"})).Add(CF_UNICODETEXT, Wide(u"ｶﾅ")); }, {},
       MK_LBUTTON | MK_CONTROL, DROPEFFECT_COPY, {"text:ｶﾅ", "file:/x/a", "file:/x/b"}},
      {"cells before text", [](TBlockData& d) { d.Add(CF_UNICODETEXT, Wide(u"t")).Add(CF_GRIDCELLS(), CellBlock(0, "")); },
       {}, MK_LBUTTON, DROPEFFECT_MOVE, {"cells:"}},
      {"link as text", [](TBlockData& d) { d.Add(CF_URL(), "http://h/\0").Add(CF_UNICODETEXT, Wide(u"http://h/")); }, {},
       MK_LBUTTON, DROPEFFECT_MOVE, {"text:http://h/", "url:http://h/"}},
      // Damaged blocks from other programs: the format counts as absent.
      {"cell count beyond its bytes", [](TBlockData& d) { d.Add(CF_GRIDCELLS(), CellBlock(0x7fffffff, "abc")); }, {},
       MK_LBUTTON, DROPEFFECT_NONE, {}},
      {"cell block shorter than its head", [](TBlockData& d) { d.Add(CF_GRIDCELLS(), "\x01"); }, {}, MK_LBUTTON,
       DROPEFFECT_NONE, {}},
      {"column of two bytes", [](TBlockData& d) { d.Add(CF_GRIDCOL(), "\x01\x02"); },
       [](TRecordingTarget& t) { t.SetAcceptCols(true); }, MK_LBUTTON, DROPEFFECT_NONE, {}},
      {"negative column and text", [](TBlockData& d) { d.Add(CF_GRIDCOL(), Int32(-5)).Add(CF_UNICODETEXT, Wide(u"t")); },
       [](TRecordingTarget& t) { t.SetAcceptCols(true); }, MK_LBUTTON, DROPEFFECT_MOVE, {"text:t"}},
      {"wide text without its zero and of odd size",
       [](TBlockData& d) { d.Add(CF_UNICODETEXT, Wide(u"abc", false) + "\x41"); }, {}, MK_LBUTTON, DROPEFFECT_MOVE,
       {"text:abc"}},
      {"file list cut short", [](TBlockData& d) { d.Add(CF_HDROP, FileBlock({u"/x/abc"}).substr(0, sizeof(DROPFILES) + 5)); },
       {}, MK_LBUTTON, DROPEFFECT_MOVE, {"file:/x"}},
      {"no enumerator", [](TBlockData& d) {
         d.Add(CF_UNICODETEXT, Wide(u"t"));
         d.FNoEnumerator = true;
       },
       {}, MK_LBUTTON, DROPEFFECT_NONE, {}},
  };
  for (const Case& c : cases) {
    auto* data = new TBlockData;
    c.Fill(*data);
    TDropResult r = DropOn(data, c.Keys, c.Setup);
    EXPECT_EQ(r.Enter, c.Effect) << c.Name;
    EXPECT_EQ(r.Over, c.Effect) << c.Name;
    EXPECT_EQ(r.Dropped, c.Effect) << c.Name;
    EXPECT_EQ(r.Log, c.Delivered) << c.Name;
  }

  // Rich text goes before plain text only while the switch is on.
  for (bool on : {false, true}) {
    SetRichTextDragDrop(on);
    auto* data = new TBlockData;
    data->Add(CF_RTF(), "{\\rtf1 r}\0").Add(CF_UNICODETEXT, Wide(u"p"));
    EXPECT_EQ(DropOn(data).Log, on ? Log{"rtf:{\\rtf1 r}"} : Log{"text:p"});
  }
  SetRichTextDragDrop(false);
}

TEST(Asgdd, DropSourceEndsOnReleaseAndCancelsOnEscape) {
  struct TSource : TASGDropSource {
    int ended = 0, queried = 0;
    DWORD effect = 99;
    void DragEnded() override { ++ended; }
    void QueryDrag() override { ++queried; }
    void CurrentEffect(DWORD Effect) override { effect = Effect; }
  };
  auto* s = new TSource;
  EXPECT_EQ(s->QueryContinueDrag(FALSE, MK_LBUTTON), S_OK);
  EXPECT_EQ(s->ended, 0);
  EXPECT_EQ(s->QueryContinueDrag(FALSE, 0), DRAGDROP_S_DROP);
  EXPECT_EQ(s->QueryContinueDrag(TRUE, MK_LBUTTON), DRAGDROP_S_CANCEL);
  EXPECT_EQ(s->ended, 2);
  EXPECT_EQ(s->queried, 3);
  EXPECT_EQ(s->GiveFeedback(DROPEFFECT_NONE), DRAGDROP_S_USEDEFAULTCURSORS);
  EXPECT_TRUE(s->NoAccept());
  EXPECT_EQ(s->effect, DROPEFFECT_NONE);
  s->GiveFeedback(DROPEFFECT_COPY);
  EXPECT_FALSE(s->NoAccept());
  s->Release();
}

namespace {

// A shown form with a panel that is a registered drop target.
struct TDropForm {
  TForm form{nullptr};
  TPanel* source = new TPanel(&form);
  TPanel* panel = new TPanel(&form);
  TRecordingTarget* target = new TRecordingTarget;
  TDropForm() {
    form.SetBounds(60, 60, 300, 120);
    source->SetParent(&form);
    source->SetBounds(10, 10, 100, 60);
    panel->SetParent(&form);
    panel->SetBounds(150, 10, 100, 60);
    form.Show();
    ProcessPendingEvents();
    EXPECT_EQ(RegisterDragDrop(panel->Handle(), target), S_OK);
  }
  ~TDropForm() {
    RevokeDragDrop(panel->Handle());
    target->Release();
  }
};

struct TCountingSource : TASGDropSource {
  int ended = 0;
  void DragEnded() override { ++ended; }
};

}  // namespace

TEST(Asgdd, RealDragsCarryTextCellsAndColumnsToTheTarget) {
  TDropForm f;
  TMemoryStream cells;
  cells.Write("AB", 2);
  struct Case {
    bool Column, Escape;
    TShiftState Keys;
    HRESULT Result;
    DWORD Effect;
    Log Delivered;
  } cases[] = {
      {false, false, {}, DRAGDROP_S_DROP, DROPEFFECT_MOVE, {"enter", "cells:AB"}},
      {false, false, {ssCtrl}, DRAGDROP_S_DROP, DROPEFFECT_COPY, {"enter", "cells:AB"}},
      {true, false, {}, DRAGDROP_S_DROP, DROPEFFECT_MOVE, {"enter", "col:4"}},
      {false, true, {}, DRAGDROP_S_CANCEL, DROPEFFECT_NONE, {"enter", "leave"}},
  };
  f.target->SetAcceptCols(true);
  for (const Case& c : cases) {
    f.target->Log.clear();
    SimulateMouseDown(f.source, mbLeft, 20, 20, c.Keys);
    WhileDragging([&] {
      TShiftState held = c.Keys;
      held.Include(ssLeft);
      SimulateMouseMove(f.panel, 30, 30, held);
      SimulateMouseMove(f.panel, 32, 30, held);
      if (c.Escape) SimulateKeyDown(&f.form, VK_ESCAPE, held);
      else SimulateMouseUp(f.panel, mbLeft, 32, 30, c.Keys);
    });
    auto* source = new TCountingSource;
    DWORD effect = 99;
    const HRESULT r = c.Column ? BeginColumnDrag(source, 4, DROPEFFECT_COPY | DROPEFFECT_MOVE, effect)
                               : BeginTextDrag(source, u"text", String(), &cells, DROPEFFECT_COPY | DROPEFFECT_MOVE, effect);
    EXPECT_EQ(r, c.Result);
    EXPECT_EQ(effect, c.Effect);
    EXPECT_EQ(source->ended, 1);
    EXPECT_EQ(f.target->Log, c.Delivered);
    source->Release();
    if (c.Escape) SimulateMouseUp(f.panel, mbLeft, 32, 30);
  }
}

TEST(Asgdd, OtherProgramsDropsAreCheckedBeforeTheyAreTaken) {
  TDropForm f;
  TempFolder dir;
  const std::string file = dir.Path() + "/a b.txt";
  struct Case {
    const char* Name;
    std::vector<std::pair<std::string, std::string>> Formats;
    DWORD Effect;
    Log Delivered;
  } cases[] = {
      {"cells", {{"application/x-DEreDuzeroVaro Cells", CellBlock(3, "abc")}}, DROPEFFECT_MOVE, {"enter", "cells:abc"}},
      {"cells claiming more than they bring", {{"application/x-DEreDuzeroVaro Cells", CellBlock(4000, "abc")}},
       DROPEFFECT_NONE, {"enter"}},
      {"a format this program never named", {{"application/x-Some Other Cells", "x"}}, DROPEFFECT_NONE, {"enter"}},
      {"links and files, malformed lines left out",
       {{"text/uri-list", "http://[bad\r\n#comment\r\nhttp://example.invalid/p?q=1\r\nfile://" + file + "\r\n"}},
       DROPEFFECT_MOVE,
       {"enter", "text:http://example.invalid/p?q=1", "file:" + file, "url:http://example.invalid/p?q=1"}},
      {"nothing usable", {{"text/uri-list", std::string(100000, '%')}}, DROPEFFECT_NONE, {"enter"}},
  };
  for (const Case& c : cases) {
    f.target->Log.clear();
    EXPECT_EQ(SimulateOutsideDrop(f.panel, 20, 20, c.Formats), c.Effect) << c.Name;
    EXPECT_EQ(f.target->Log, c.Delivered) << c.Name;
  }
}

}  // namespace asgdd
