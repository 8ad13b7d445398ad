// The binary cell stream: exact bytes of the records, value tags, a round trip of cells with
// properties and objects, placement of blocks, an independent reader written in Python from
// the format's description, and damaged streams.
#include <gtest/gtest.h>

#include <random>

#include "grid/tests/GridTestSupport.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Graphics.h"
#include "testing/TempFolder.h"
#include "testing/XSession.h"

namespace {

std::string Bytes(TMemoryStream& ms) { return std::string(static_cast<const char*>(ms.Memory()), static_cast<size_t>(ms.Size())); }

// The stream of one rectangle.
std::string Save(DEreDuzeroVaro* g, TRect R) {
  TMemoryStream ms;
  g->SaveRectToBinStream(R, &ms);
  return Bytes(ms);
}

// Length of the header record at the start of a stream.
size_t HeaderLength(const std::string& S) {
  size_t p = S.find("TPF0", 4);
  return p == std::string::npos ? S.size() : p;
}

void Load(DEreDuzeroVaro* g, const std::string& S, TPoint At = {0, 0}) {
  TMemoryStream ms;
  ms.WriteBuffer(S.data(), static_cast<int32_t>(S.size()));
  ms.SetPosition(0);
  g->LoadAtPointFromBinStream(At, &ms);
}

// A parser of the stream written from the format's description: prints each record's kind
// and its entries as name=tag:value, one record per line.
const char* kPythonReader = R"PY(
import struct, sys
d = open(sys.argv[1], 'rb').read()
p = 0
def take(n):
    global p
    if p + n > len(d): raise SystemExit('short')
    s = d[p:p+n]; p += n; return s
def short(): return take(take(1)[0]).decode('utf-8')
def value():
    t = take(1)[0]
    if t == 2: return 'i:%d' % struct.unpack('<b', take(1))[0]
    if t == 3: return 'i:%d' % struct.unpack('<h', take(2))[0]
    if t == 4: return 'i:%d' % struct.unpack('<i', take(4))[0]
    if t == 5:
        m, se = struct.unpack('<QH', take(10))
        v = 0.0 if m == 0 else m * 2.0 ** ((se & 0x7fff) - 16383 - 63)
        return 'f:%g' % (-v if se & 0x8000 else v)
    if t == 6: return 's:' + take(take(1)[0]).decode('latin-1')
    if t == 7: return 'id:' + short()
    if t == 8: return 'false'
    if t == 9: return 'true'
    if t == 10: return 'bin:%d' % len(take(struct.unpack('<I', take(4))[0]))
    if t == 11:
        m = []
        while True:
            n = short()
            if not n: break
            m.append(n)
        return 'set:' + '+'.join(m)
    if t == 12: return 'ls:' + take(struct.unpack('<I', take(4))[0]).decode('latin-1')
    if t == 18: return 'ws:' + take(2 * struct.unpack('<I', take(4))[0]).decode('utf-16-le')
    if t == 20: return 'u8:' + take(struct.unpack('<I', take(4))[0]).decode('utf-8')
    if t == 1:
        items = []
        while d[p] != 0: items.append(value())
        take(1); return 'list:' + '|'.join(items)
    raise SystemExit('tag %d' % t)
while p < len(d) - 1:
    if take(4) != b'TPF0': raise SystemExit('signature')
    kind = short(); assert take(1) == b'\x00'
    entries = []
    while True:
        n = short()
        if not n: break
        entries.append(n + '=' + value())
    assert take(1) == b'\x00'
    print(kind, ' '.join(entries))
)PY";

}  // namespace

TEST(GridBinStream, AnEmptyCellIsOneFortyByteRecord) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  std::string s = Save(g, TRect{0, 0, 0, 0});
  std::string cell = s.substr(HeaderLength(s));
  const std::string expected =
      std::string("TPF0\x0BTGridCellIO\x00", 17) + std::string("\x03" "Col\x02\x00", 6) + std::string("\x03" "Row\x02\x00", 6) +
      std::string("\x07" "HasProp\x08", 9) + std::string("\x00\x00", 2);
  EXPECT_EQ(cell.size(), 40u);
  EXPECT_EQ(cell, expected);
}

TEST(GridBinStream, ValueTagsFollowTheSmallestFitAndTheStringRule) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  g->SetColCount(40001);
  g->SetRowCount(3);
  struct Case {
    int Col;
    const char16_t* Text;
    std::string ColBytes, CellTag;
  } cases[] = {
      {200, u"", std::string("\x03\xC8\x00", 3), ""},
      {40000, u"", std::string("\x04\x40\x9C\x00\x00", 5), ""},
      {1, u"日本", std::string("\x02\x01", 2), std::string("\x12\x02\x00\x00\x00", 5)},
      {2, u"caf\u00e9", std::string("\x02\x02", 2), std::string("\x14\x05\x00\x00\x00", 5)},
      {3, u"abc", std::string("\x02\x03", 2), std::string("\x06\x03", 2)},
  };
  for (const Case& c : cases) {
    g->SetCells(c.Col, 1, c.Text);
    std::string s = Save(g, TRect{c.Col, 1, c.Col, 1});
    std::string cell = s.substr(HeaderLength(s));
    EXPECT_EQ(cell.substr(21, c.ColBytes.size()), c.ColBytes) << c.Col;
    size_t p = cell.find("\x04" "Cell");
    if (c.CellTag.empty()) EXPECT_EQ(p, std::string::npos);
    else EXPECT_EQ(cell.substr(p + 5, c.CellTag.size()), c.CellTag);
  }
  g->SetCells(4, 2, String(300, u'x'));
  std::string s = Save(g, TRect{4, 2, 4, 2});
  EXPECT_EQ(s.substr(s.find("\x04" "Cell") + 5, 5), std::string("\x0C\x2C\x01\x00\x00", 5));
}

TEST(GridBinStream, PropertiesAndObjectsRoundTrip) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  g->SetColCount(6);
  g->SetRowCount(6);
  g->SetCells(1, 1, u"styled");
  TCellProperties* p = g->CellProperties(1, 1);
  p->SetBrushColor(clWindow);
  p->SetFontColor(0x00123456);
  p->SetFontName(u"Sans");
  p->SetFontStyle(TFontStyles{fsBold, fsUnderline});
  p->SetAlignment(taCenter);
  p->SetEditor(edSpinEdit);
  p->SetReadOnly(true);
  g->AddCheckBox(2, 1, true, false);
  g->CreateRadio(3, 1, 0, -1);  // a created group without captions
  g->AddProgress(4, 1, clRed, clWhite);
  std::string s = Save(g, TRect{0, 0, 5, 2});

  TempFolder tmp;
  tmp.Write("s.bin", s);
  tmp.Write("reader.py", kPythonReader);
  std::string text = e2e::Shell("python3 " + tmp.File("reader.py") + " " + tmp.File("s.bin"));
  EXPECT_NE(text.find("TGridPropIO ColCount=i:6 RowCount=i:3 ColWidths=s:"), std::string::npos) << text;
  EXPECT_NE(text.find("CellProperties.BrushColor=id:clWindow"), std::string::npos);
  EXPECT_NE(text.find("CellProperties.FontColor=i:1193046"), std::string::npos);
  EXPECT_NE(text.find("CellProperties.FontStyle=set:fsBold+fsUnderline"), std::string::npos);
  EXPECT_NE(text.find("CellProperties.CellObject=i:0"), std::string::npos);
  EXPECT_NE(text.find("TGridGraphicIO CellGraphic.CellType=id:ctCheckBox"), std::string::npos);
  // A check box has no payload record; a radio group without captions writes an empty one.
  EXPECT_EQ(text.find("ctCheckBox", text.find("ctCheckBox") + 1), std::string::npos);
  EXPECT_NE(text.find("TGridSLIO \n"), std::string::npos) << text;

  TGridForm f2;
  f2.grid->SetColCount(8);
  f2.grid->SetRowCount(8);
  Load(f2.grid, s, TPoint{2, 3});
  DEreDuzeroVaro* t = f2.grid;
  EXPECT_EQ(t->Cells(3, 4), u"styled");
  TCellProperties* q = t->CellProperties(3, 4);
  EXPECT_EQ(q->BrushColor(), clWindow);
  EXPECT_EQ(q->FontColor(), 0x00123456);
  EXPECT_EQ(q->FontName(), u"Sans");
  EXPECT_TRUE(q->FontStyle().Contains(fsUnderline));
  EXPECT_EQ(q->Alignment(), taCenter);
  EXPECT_EQ(q->Editor(), edSpinEdit);
  EXPECT_TRUE(q->ReadOnly());
  EXPECT_EQ(t->GetCellType(4, 4), ctCheckBox);
  EXPECT_EQ(t->GetCellType(5, 4), ctRadio);
  EXPECT_EQ(t->GetCellType(6, 4), ctProgress);
}

TEST(GridBinStream, BlocksLandAtThePointAndFullGridsAtTheirOwnPlaces) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  g->SetColCount(4);
  g->SetRowCount(8);
  g->SetCells(1, 5, u"first");
  g->SetCells(2, 7, u"last");
  std::string block = Save(g, TRect{1, 5, 3, 7});
  TGridForm f2;
  f2.grid->SetColCount(4);
  f2.grid->SetRowCount(4);
  TMemoryStream ms;
  ms.WriteBuffer(block.data(), static_cast<int32_t>(block.size()));
  ms.SetPosition(0);
  f2.grid->LoadFromBinStream(&ms);
  EXPECT_EQ(f2.grid->Cells(0, 0), u"first");
  EXPECT_EQ(f2.grid->Cells(1, 2), u"last");

  // Without fixed cells the full-grid stream's header is smaller than the cells' places: the
  // grid still grows to hold them all.
  g->SetFixedRows(1);
  g->SetFixedCols(1);
  g->SetSaveFixedCells(false);
  g->SetColWidths(3, 77);
  TMemoryStream full;
  g->SaveToBinStream(&full);
  TGridForm f3;
  full.SetPosition(0);
  f3.grid->LoadFromBinStream(&full);
  EXPECT_EQ(f3.grid->Cells(1, 5), u"first");
  EXPECT_EQ(f3.grid->Cells(2, 7), u"last");
  EXPECT_GE(f3.grid->ColCount(), 4);
  EXPECT_GE(f3.grid->RowCount(), 8);
}

TEST(GridBinStream, FileRoundTripAndStreamEnds) {
  TGridForm f;
  TempFolder tmp;
  DEreDuzeroVaro* g = f.grid;
  g->SetColCount(3);
  g->SetRowCount(3);
  g->SetCells(2, 2, u"end");
  g->SaveToBinFile(tmp.FileS("g.bin"));
  std::string s = tmp.Read("g.bin");
  TGridForm f2;
  f2.grid->SetColCount(3);
  f2.grid->SetRowCount(3);
  Load(f2.grid, s + std::string(1, '\x00'));  // one byte more still loads
  EXPECT_EQ(f2.grid->Cells(2, 2), u"end");
  TGridForm f3;
  f3.grid->SetColCount(3);
  f3.grid->SetRowCount(3);
  EXPECT_THROW(Load(f3.grid, s.substr(0, s.size() - 2)), EReadError);  // ends inside the last record
  EXPECT_THROW(f3.grid->LoadFromBinFile(tmp.FileS("none.bin")), EFOpenError);
}

TEST(GridBinStream, PicturesAndListsTravelWithTheirData) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  g->SetColCount(5);
  g->SetRowCount(2);
  TBitmap* bmp = g->CreateBitmap(0, 0, false, haLeft, vaTop);
  bmp->SetSize(3, 2);
  bmp->Canvas()->SetPixels(1, 1, clRed);
  TPicture* pic = g->CreatePicture(1, 0, false, noStretch, 0, haLeft, vaTop);
  TBitmap inner;
  inner.SetSize(4, 4);
  pic->SetGraphic(&inner);
  TempFolder tmp;
  inner.SaveToFile(tmp.FileS("p.bmp"));
  g->CreateFilePicture(2, 0, false, noStretch, 0, haLeft, vaTop)->SetFilename(tmp.FileS("p.bmp"));
  TStrings* radio = g->CreateRadio(3, 0, 0, -1);
  radio->Add(u"one");
  radio->Add(u"two");
  std::string s = Save(g, TRect{0, 0, 3, 0});
  TGridForm f2;
  f2.grid->SetColCount(5);
  f2.grid->SetRowCount(2);
  Load(f2.grid, s);
  TCellGraphic* b = f2.grid->GetCellGraphic(0, 0);
  ASSERT_TRUE(b && b->CellBitmap());
  EXPECT_EQ(b->CellBitmap()->Width(), 3);
  EXPECT_EQ(ColorToRGB(b->CellBitmap()->Canvas()->Pixels(1, 1)), ColorToRGB(clRed));
  TCellGraphic* p = f2.grid->GetCellGraphic(1, 0);
  ASSERT_TRUE(p && p->CellPicture() && p->CellPicture()->Graphic());
  EXPECT_EQ(p->CellPicture()->Width(), 4);
  EXPECT_EQ(f2.grid->GetCellGraphic(2, 0)->CellFilePicture()->Filename(), tmp.FileS("p.bmp"));
  TStrings* r = f2.grid->GetRadioStrings(3, 0);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->Count(), 2);
  EXPECT_EQ(r->Strings(1), u"two");
}

// Damaged streams raise a read error or load; none crashes, hangs or allocates what a
// damaged length claims.
TEST(GridBinStream, DamagedStreamsRaiseOrLoad) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  g->SetColCount(4);
  g->SetRowCount(4);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) g->SetCells(c, r, IntToStr(r * c) + u"日");
  g->AddCheckBox(1, 1, true, false);
  g->CellProperties(2, 2)->SetBrushColor(clRed);
  std::string good = Save(g, TRect{0, 0, 3, 3});
  std::mt19937 rng(777);
  for (int round = 0; round < 200; ++round) {
    std::string bad = good;
    if (round % 4 == 0) bad.resize(rng() % bad.size());
    else
      for (int k = 0; k < 3; ++k) bad[rng() % bad.size()] = static_cast<char>(rng());
    TGridForm t;
    t.grid->SetColCount(4);
    t.grid->SetRowCount(4);
    try {
      Load(t.grid, bad);
    } catch (const Exception&) {
    }
    EXPECT_LE(t.grid->RowCount(), DEreDuzeroVaro::GridMaxRowCount);
  }
}

// Node rows travel as cell graphics: after a load the grid knows its nodes and can fold them.
TEST(GridBinStream, LoadedNodesAreCountedAndFold) {
  TGridForm f;
  f.grid->SetColCount(3);
  f.grid->SetRowCount(6);
  f.grid->AddNode(1, 3);
  f.grid->AddNode(4, 2);
  TMemoryStream ms;
  f.grid->SaveToBinStream(&ms);
  ms.SetPosition(0);
  TGridForm f2;
  f2.grid->LoadFromBinStream(&ms);
  EXPECT_EQ(f2.grid->NumNodes(), 2);
  f2.grid->ContractNode(1);
  EXPECT_EQ(f2.grid->RowCount(), 4);
}
