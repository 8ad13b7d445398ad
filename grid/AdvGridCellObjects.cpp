// The string grid's cell objects: putting a graphic into a cell, reading and changing it and
// taking it out again (pictures, images, progress displays, comments, markers, balloons, cell
// scroll bars, buttons and radio groups). Check boxes and radio buttons are in
// AdvGridCellChecks.cpp.
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "grid/AdvGrid.h"
#include "platform/rtl/SysUtils.h"

namespace {

// The graphic object in the cell's own record when it is a cell graphic.
TCellGraphic* OwnGraphic(DEreDuzeroVaro& Grid, int ACol, int ARow) {
  if (ACol < 0 || ARow < 0) return nullptr;
  return dynamic_cast<TCellGraphic*>(Grid.GetGraphicObjectEx(ACol, ARow));
}

// The grid's graphic of a kind, or nullptr.
TCellGraphic* GraphicOfKind(DEreDuzeroVaro& Grid, int ACol, int ARow, TCellType Kind) {
  TCellGraphic* g = Grid.GetCellGraphic(ACol, ARow);
  return g && g->CellType() == Kind ? g : nullptr;
}

// A new object of type T attached by Attach to the graphic, which owns it from then on.
template <class T, class Attach>
T* AttachOwned(TCellGraphic* g, Attach attach) {
  auto object = std::make_unique<T>();
  attach(g, object.get());
  g->SetCellCreated(true);
  return object.release();
}

// The cells of the stored area (ColCount x RowCount) whose graphic passes Test; collected
// first so that the caller may change the cells afterwards.
template <class Test>
std::vector<TPoint> GraphicCells(DEreDuzeroVaro& Grid, Test test) {
  std::vector<TPoint> cells;
  if (Grid.ColCount() < 1 || Grid.RowCount() < 1) return cells;
  Grid.ForEachObject(TGridRect{0, 0, Grid.ColCount() - 1, Grid.RowCount() - 1}, [&](int c, int r, TObject* obj) {
    auto* p = dynamic_cast<TCellProperties*>(obj);
    auto* g = p ? dynamic_cast<TCellGraphic*>(p->GraphicObject()) : nullptr;
    if (g && test(*g)) cells.emplace_back(c, r);
  });
  return cells;
}

}  // namespace

// ===========================================================================
// Shared steps

TCellGraphic* DEreDuzeroVaro::CreateCellGraphic(int ACol, int ARow) {
  TObject* old = GetGraphicObjectEx(ACol, ARow);
  auto made = std::make_unique<TCellGraphic>();
  // The new graphic is attached before the old one goes, so that nothing reached from the
  // text bracket of the attach sees a freed graphic.
  SetGraphicObjectEx(ACol, ARow, made.get());
  if (GetGraphicObjectEx(ACol, ARow) != made.get()) throw EInvalidGridOperation(u"Invalid cell");
  // Only the grid's own graphics are freed; an application's object in the slot stays its.
  if (old && old->ClassName() == u"TCellGraphic") delete old;
  if (NumHiddenColumns() > 0) RepaintCell(DisplColIndex(ACol), ARow);
  return made.release();
}

void DEreDuzeroVaro::RemoveCellGraphicOfType(int ACol, int ARow, TCellType Kind) {
  TCellGraphic* g = OwnGraphic(*this, ACol, ARow);
  if (!g || g->CellType() != Kind) return;
  SetGraphicObjectEx(ACol, ARow, nullptr);
  if (g->ClassName() == u"TCellGraphic") delete g;
  RepaintCell(DisplColIndex(ACol), ARow);
}

bool DEreDuzeroVaro::RemoveCellGraphic(int ACol, int ARow) {
  TCellGraphic* g = OwnGraphic(*this, ACol, ARow);
  if (!g) return false;
  SetGraphicObjectEx(ACol, ARow, nullptr);
  // Virtual and row check boxes are shared by the column; only the grid's own graphics go.
  if (g->CellType() != ctVirtCheckBox && g->CellType() != ctRowCheckBox && g->ClassName() == u"TCellGraphic") delete g;
  if (!IsDestroying()) RepaintCell(DisplColIndex(ACol), ARow);
  return true;
}

bool DEreDuzeroVaro::HasCellTypeIn(int ACol, int ARow, const TCellTypes& Kinds) {
  if (ACol < 0 || ARow < 0) return false;
  TPoint b = BaseCell(ACol, ARow);
  TCellGraphic* g = GetCellGraphic(b.X, b.Y);
  return g && Kinds.Contains(g->CellType());
}

bool DEreDuzeroVaro::HasCheckBox(int ACol, int ARow) {
  return HasCellTypeIn(ACol, ARow, {ctCheckBox, ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox, ctTriStateCheckBox});
}

bool DEreDuzeroVaro::HasCellControl(int ACol, int ARow) {
  return HasCellTypeIn(ACol, ARow, {ctCheckBox, ctDataCheckBox, ctRadio, ctButton, ctVirtCheckBox, ctRowCheckBox,
                                    ctRadioButton, ctTriStateCheckBox});
}

bool DEreDuzeroVaro::IsDataCell(int ACol, int ARow) {
  return HasCellTypeIn(ACol, ARow, {ctDataCheckBox, ctDataImage, ctVirtCheckBox, ctRowCheckBox});
}

TCellProperties* DEreDuzeroVaro::GetRealCellObject(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0) return nullptr;
  if (const TGridItem* h = HiddenRowOf(ARow)) return dynamic_cast<TCellProperties*>(h->Object(ACol));
  int displ = NumHiddenRows() > 0 ? DisplRowIndex(ARow) : ARow;
  return HasCellProperties(ACol, displ) ? GetCellProperties(ACol, displ) : nullptr;
}

// ===========================================================================
// Pictures and objects

void DEreDuzeroVaro::AddInterfacedCell(int ACol, int ARow, TPersistent* AObject) {
  CreateCellGraphic(ACol, ARow)->SetInterfacedCell(AObject);
}

TPersistent* DEreDuzeroVaro::GetInterfacedCell(int ACol, int ARow) {
  TCellGraphic* g = GraphicOfKind(*this, ACol, ARow, ctInterface);
  return g ? g->CellInterface() : nullptr;
}

void DEreDuzeroVaro::AddBitmap(int ACol, int ARow, TBitmap* ABmp, bool Transparent, TCellHAlign hal,
                               TCellVAlign val) {
  CreateCellGraphic(ACol, ARow)->SetBitmap(ABmp, Transparent, hal, val);
}

TBitmap* DEreDuzeroVaro::CreateBitmap(int ACol, int ARow, bool Transparent, TCellHAlign hal, TCellVAlign val) {
  return AttachOwned<TBitmap>(CreateCellGraphic(ACol, ARow),
                              [&](TCellGraphic* g, TBitmap* b) { g->SetBitmap(b, Transparent, hal, val); });
}

TBitmap* DEreDuzeroVaro::GetBitmap(int ACol, int ARow) {
  TCellGraphic* g = GraphicOfKind(*this, ACol, ARow, ctBitmap);
  return g ? g->CellBitmap() : nullptr;
}

void DEreDuzeroVaro::AddPicture(int ACol, int ARow, TPicture* APicture, bool Transparent, TStretchMode StretchMode,
                                int Padding, TCellHAlign hal, TCellVAlign val) {
  CreateCellGraphic(ACol, ARow)->SetPicture(APicture, Transparent, StretchMode, Padding, hal, val);
}

TPicture* DEreDuzeroVaro::CreatePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int Padding,
                                        TCellHAlign hal, TCellVAlign val) {
  return AttachOwned<TPicture>(CreateCellGraphic(ACol, ARow), [&](TCellGraphic* g, TPicture* p) {
    g->SetPicture(p, Transparent, StretchMode, Padding, hal, val);
  });
}

TPicture* DEreDuzeroVaro::GetPicture(int ACol, int ARow) {
  TCellGraphic* g = GraphicOfKind(*this, ACol, ARow, ctPicture);
  return g ? g->CellPicture() : nullptr;
}

void DEreDuzeroVaro::AddFilePicture(int ACol, int ARow, TFilePicture* APicture, bool Transparent,
                                    TStretchMode StretchMode, int Padding, TCellHAlign hal, TCellVAlign val) {
  CreateCellGraphic(ACol, ARow)->SetFilePicture(APicture, Transparent, StretchMode, Padding, hal, val);
}

TFilePicture* DEreDuzeroVaro::CreateFilePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode,
                                                int Padding, TCellHAlign hal, TCellVAlign val) {
  return AttachOwned<TFilePicture>(CreateCellGraphic(ACol, ARow), [&](TCellGraphic* g, TFilePicture* p) {
    g->SetFilePicture(p, Transparent, StretchMode, Padding, hal, val);
  });
}

TFilePicture* DEreDuzeroVaro::GetFilePicture(int ACol, int ARow) {
  TCellGraphic* g = GraphicOfKind(*this, ACol, ARow, ctFilePicture);
  return g ? g->CellFilePicture() : nullptr;
}

void DEreDuzeroVaro::AddIcon(int ACol, int ARow, TIcon* AIcon, TCellHAlign hal, TCellVAlign val) {
  CreateCellGraphic(ACol, ARow)->SetIcon(AIcon, hal, val);
}

TIcon* DEreDuzeroVaro::CreateIcon(int ACol, int ARow, TCellHAlign hal, TCellVAlign val) {
  return AttachOwned<TIcon>(CreateCellGraphic(ACol, ARow), [&](TCellGraphic* g, TIcon* i) { g->SetIcon(i, hal, val); });
}

void DEreDuzeroVaro::AddImageIdx(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val) {
  if (!GridImages()) return;
  CreateCellGraphic(ACol, ARow)->SetImageIdx(Aidx, hal, val);
}

bool DEreDuzeroVaro::GetImageIdx(int ACol, int ARow, int& idx) {
  if (!GridImages()) return false;
  TCellGraphic* g = GraphicOfKind(*this, ACol, ARow, ctImageList);
  if (!g) return false;
  idx = g->CellIndex();
  return true;
}

void DEreDuzeroVaro::SetImageIdx(int ACol, int ARow, int Idx) {
  if (!GridImages()) return;
  if (TCellGraphic* g = GraphicOfKind(*this, ACol, ARow, ctImageList)) g->SetCellIndex(Idx);
}

void DEreDuzeroVaro::AddDataImage(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val) {
  if (!GridImages()) return;
  CreateCellGraphic(ACol, ARow)->SetDataImage(Aidx, hal, val);
  // The shown image is the cell's integer value: an empty cell starts at Aidx.
  if (Cells(ACol, ARow).empty()) SetCells(ACol, ARow, IntToStr(Aidx));
}

void DEreDuzeroVaro::AddMultiImage(int ACol, int ARow, int Dir, TCellHAlign hal, TCellVAlign val) {
  if (!GridImages()) return;
  CreateCellGraphic(ACol, ARow)->SetMultiImage(ACol, ARow, Dir, hal, val, [this](TObject*, int c, int r) {
    RepaintCell(DisplColIndex(c), r);
  });
}

TIntList* DEreDuzeroVaro::GetCellImages(int ACol, int ARow) {
  TCellGraphic* g = GraphicOfKind(*this, ACol, ARow, ctImages);
  return g ? g->CellIntList() : nullptr;
}

void DEreDuzeroVaro::AddRotated(int ACol, int ARow, int16_t AAngle, const String& s) {
  CreateCellGraphic(ACol, ARow)->SetAngle(AAngle);
  SetCells(ACol, ARow, s);
}

void DEreDuzeroVaro::SetRotated(int ACol, int ARow, int16_t AAngle) {
  TCellGraphic* g = OwnGraphic(*this, ACol, ARow);
  if (!g) g = CreateCellGraphic(ACol, ARow);
  g->SetAngle(AAngle);
  RepaintCell(DisplColIndex(ACol), ARow);
}

bool DEreDuzeroVaro::IsRotated(int ACol, int ARow, int& aAngle) {
  TCellGraphic* g = GraphicOfKind(*this, ACol, ARow, ctRotated);
  if (!g) return false;
  aAngle = g->CellAngle();
  return true;
}

// ===========================================================================
// Progress and value displays

namespace {

void SetProgress(TCellGraphic* g, TColor FGColor, TColor FGTextColor, TColor BKColor, TColor BKTextColor,
                 const String& Fmt, int Min, int Max, bool TextColors) {
  g->SetCellType(ctProgress);
  g->SetCellBitmapColor(FGColor);
  g->SetCellIconColor(BKColor);
  g->SetCellIndex(FGTextColor);
  g->SetCellAngle(BKTextColor);
  g->SetCellErrFrom(Min);
  g->SetCellErrLen(Max);
  g->SetCellText(Fmt);
  g->SetCellBoolean(TextColors);
  g->SetCellHAlign(haLeft);
  g->SetCellVAlign(vaTop);
}

}  // namespace

void DEreDuzeroVaro::AddProgress(int ACol, int ARow, TColor FGColor, TColor BKColor) {
  SetProgress(CreateCellGraphic(ACol, ARow), FGColor, clNone, BKColor, clNone, String(), 0, 100, false);
  if (FAutoNumAlign) CellProperties(ACol, ARow)->SetAlignment(taRightJustify);
}

void DEreDuzeroVaro::AddProgressEx(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor,
                                   TColor BKTextColor) {
  AddProgressFormatted(ACol, ARow, FGColor, FGTextColor, BKColor, BKTextColor, String(), 0, 100);
}

void DEreDuzeroVaro::AddProgressFormatted(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor,
                                          TColor BKTextColor, const String& Fmt, int Min, int Max) {
  SetProgress(CreateCellGraphic(ACol, ARow), FGColor, FGTextColor, BKColor, BKTextColor, Fmt, Min, Max, true);
  if (FAutoNumAlign) CellProperties(ACol, ARow)->SetAlignment(taRightJustify);
}

void DEreDuzeroVaro::AddAdvProgress(int ACol, int ARow, int Min, int Max) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  g->SetCellType(ctXPProgress);
  g->SetCellErrFrom(Min);
  g->SetCellErrLen(Max);
  g->SetCellBoolean(false);
  g->SetCellText(String());
  g->SetCellHAlign(haLeft);
  g->SetCellVAlign(vaTop);
}

void DEreDuzeroVaro::AddProgressPie(int ACol, int ARow, TColor Color, int Value) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  g->SetCellType(ctProgressPie);
  g->SetCellBitmapColor(Color);
  g->SetCellAngle(Value);
  g->SetCellHAlign(haBeforeText);
  g->SetCellVAlign(vaTop);
}

void DEreDuzeroVaro::SetProgressPie(int ACol, int ARow, int Value) {
  TCellGraphic* g = GraphicOfKind(*this, ACol, ARow, ctProgressPie);
  if (!g) return;
  g->SetCellAngle(Value);
  RepaintCell(DisplColIndex(ACol), ARow);
}

void DEreDuzeroVaro::AddRangeIndicator(int ACol, int ARow, int Range, TColor NegColor, TColor PosColor,
                                       bool ShowValue) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  g->SetCellType(ctRangeIndicator);
  g->SetCellIndex(Range);
  g->SetCellBitmapColor(NegColor);
  g->SetCellIconColor(PosColor);
  g->SetCellBoolean(ShowValue);
  g->SetCellHAlign(haLeft);
  g->SetCellVAlign(vaTop);
}

void DEreDuzeroVaro::AddShape(int ACol, int ARow, TCellShape Shape, TColor FillColor, TColor LineColor,
                              TCellHAlign hal, TCellVAlign val) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  g->SetCellType(ctShape);
  g->SetCellAngle(Shape);
  g->SetCellIndex(FillColor);
  g->SetCellBitmapColor(LineColor);
  g->SetCellHAlign(hal);
  g->SetCellVAlign(val);
}

void DEreDuzeroVaro::SetShapeColor(int ACol, int ARow, TColor FillColor) {
  if (TCellGraphic* g = GraphicOfKind(*this, ACol, ARow, ctShape)) g->SetCellIndex(FillColor);
}

TColor DEreDuzeroVaro::GetShapeColor(int ACol, int ARow) {
  TCellGraphic* g = GraphicOfKind(*this, ACol, ARow, ctShape);
  return g ? g->CellIndex() : clNone;
}

void DEreDuzeroVaro::AddRating(int ACol, int ARow, int Scale, TColor FillColor, TColor EmptyColor) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  g->SetCellType(ctRating);
  g->SetCellAngle(Scale);
  g->SetCellIndex(FillColor);
  g->SetCellBitmapColor(EmptyColor);
  g->SetCellHAlign(haFull);
}

// ===========================================================================
// Comments, markers, balloons

void DEreDuzeroVaro::AddComment(int ACol, int ARow, const String& Comment) {
  AddColorComment(ACol, ARow, Comment, FControlLook->CommentColor());
}

void DEreDuzeroVaro::AddColorComment(int ACol, int ARow, const String& Comment, TColor Color) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  g->SetCellType(ctComment);
  g->SetCellText(Comment);
  g->SetCellIndex(Color);
  g->SetCellHAlign(haLeft);
  g->SetCellVAlign(vaTop);
}

bool DEreDuzeroVaro::IsComment(int ACol, int ARow, String& comment) {
  TCellGraphic* g = GraphicOfKind(*this, ACol, ARow, ctComment);
  if (!g) return false;
  comment = g->CellText();
  return true;
}

String DEreDuzeroVaro::GetComment(int ACol, int ARow) {
  String comment;
  IsComment(ACol, ARow, comment);
  return comment;
}

void DEreDuzeroVaro::SetComment(int ACol, int ARow, const String& Value) {
  TCellGraphic* g = OwnGraphic(*this, ACol, ARow);
  if (!g) {
    AddComment(ACol, ARow, Value);
  } else if (g->CellType() == ctComment) {
    g->SetCellText(Value);
    RepaintCell(DisplColIndex(ACol), ARow);
  }
}

void DEreDuzeroVaro::RemoveAllComments() {
  for (TPoint c : GraphicCells(*this, [](const TCellGraphic& g) { return g.CellType() == ctComment; }))
    RemoveComment(c.X, c.Y);
}

void DEreDuzeroVaro::AddMarker(int ACol, int ARow, int ErrPos, int ErrLen) {
  TCellGraphic* g = OwnGraphic(*this, ACol, ARow);
  if (!g) {
    g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(ctEmpty);
  }
  g->SetCellErrFrom(ErrPos);
  g->SetCellErrLen(ErrLen);
  RepaintCell(DisplColIndex(ACol), ARow);
}

void DEreDuzeroVaro::GetMarker(int ACol, int ARow, int& ErrPos, int& ErrLen) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  ErrPos = g ? g->CellErrFrom() : 0;
  ErrLen = g ? g->CellErrLen() : 0;
}

void DEreDuzeroVaro::RemoveMarker(int ACol, int ARow) {
  TCellGraphic* g = OwnGraphic(*this, ACol, ARow);
  if (!g) return;
  if (g->CellType() == ctEmpty) {
    RemoveCellGraphicOfType(ACol, ARow, ctEmpty);
    return;
  }
  g->SetCellErrFrom(0);
  g->SetCellErrLen(0);
  RepaintCell(DisplColIndex(ACol), ARow);
}

void DEreDuzeroVaro::RemoveAllMarkers() {
  for (TPoint c : GraphicCells(*this, [](const TCellGraphic& g) {
         return g.CellType() == ctEmpty || g.CellErrFrom() != 0 || g.CellErrLen() != 0;
       }))
    RemoveMarker(c.X, c.Y);
}

namespace {

// The kinds a balloon can be attached to (the graphic keeps it with CellAngle 1).
bool CarriesBalloon(TCellType Kind) { return Kind == ctCheckBox || Kind == ctDataCheckBox || Kind == ctRadioButton; }

}  // namespace

void DEreDuzeroVaro::AddBalloon(int ACol, int ARow, const String& Title, const String& Text, TBalloonIcon Icon) {
  TCellGraphic* g = OwnGraphic(*this, ACol, ARow);
  if (g && !CarriesBalloon(g->CellType())) return;
  auto lines = std::make_unique<TStringList>();
  lines->Add(Title);
  lines->Add(Text);
  if (!g) {
    g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(ctBalloon);
    g->SetCellAngle(0);
  } else {
    g->SetCellAngle(1);  // the graphic owns the list from here on; a former balloon goes
  }
  g->SetCellStrings(lines.release());
  g->SetCellIndex(Icon);
}

void DEreDuzeroVaro::RemoveBalloon(int ACol, int ARow) {
  TCellGraphic* g = OwnGraphic(*this, ACol, ARow);
  if (!g) return;
  if (CarriesBalloon(g->CellType()) && g->CellAngle() == 1) {
    g->SetCellStrings(nullptr);
    g->SetCellAngle(0);
    g->SetCellIndex(0);
    return;
  }
  RemoveCellGraphicOfType(ACol, ARow, ctBalloon);
}

bool DEreDuzeroVaro::IsBalloon(int ACol, int ARow, String& Title, String& Text, TBalloonIcon& Icon) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) return false;
  bool balloon = g->CellType() == ctBalloon || (CarriesBalloon(g->CellType()) && g->CellAngle() == 1);
  TStrings* lines = g->CellStrings();
  if (!balloon || !lines) return false;
  Title = lines->Count() > 0 ? lines->Strings(0) : String();
  Text = lines->Count() > 1 ? lines->Strings(1) : String();
  Icon = static_cast<TBalloonIcon>(g->CellIndex());
  return true;
}

// ===========================================================================
// Cell scroll bars (base cells)

namespace {

TCellGraphic* BaseScrollBar(DEreDuzeroVaro& Grid, int ACol, int ARow) {
  if (ACol < 0 || ARow < 0) return nullptr;
  TPoint b = Grid.BaseCell(ACol, ARow);
  return GraphicOfKind(Grid, b.X, b.Y, ctScrollbar);
}

}  // namespace

void DEreDuzeroVaro::AddScrollBar(int ACol, int ARow, bool AutoRange) {
  TPoint b = BaseCell(ACol, ARow);
  TCellGraphic* g = CreateCellGraphic(b.X, b.Y);
  g->SetCellType(ctScrollbar);
  g->SetCellIndex(0);
  g->SetCellAngle(0);
  g->SetCellErrFrom(100);
  g->SetCellBoolean(AutoRange);
}

bool DEreDuzeroVaro::HasAutoRangeScrollBar(int ACol, int ARow) {
  TCellGraphic* g = BaseScrollBar(*this, ACol, ARow);
  return g && g->CellBoolean();
}

void DEreDuzeroVaro::SetScrollPosition(int ACol, int ARow, int Pos) {
  TCellGraphic* g = BaseScrollBar(*this, ACol, ARow);
  if (!g) return;
  g->SetCellIndex(Pos);
  RepaintCell(DisplColIndex(ACol), ARow);
}

int DEreDuzeroVaro::GetScrollPosition(int ACol, int ARow) {
  TCellGraphic* g = BaseScrollBar(*this, ACol, ARow);
  return g ? g->CellIndex() : -1;
}

void DEreDuzeroVaro::SetScrollProp(int ACol, int ARow, TScrollProp Prop) {
  TCellGraphic* g = BaseScrollBar(*this, ACol, ARow);
  if (!g) return;
  g->SetCellAngle(Prop.PageSize);
  g->SetCellErrFrom(Prop.Range);
}

TScrollProp DEreDuzeroVaro::GetScrollProp(int ACol, int ARow) {
  TCellGraphic* g = BaseScrollBar(*this, ACol, ARow);
  if (!g) return TScrollProp{-1, -1};
  return TScrollProp{g->CellAngle(), g->CellErrFrom()};
}

void DEreDuzeroVaro::RemoveScrollBar(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0) return;
  TPoint b = BaseCell(ACol, ARow);
  RemoveCellGraphicOfType(b.X, b.Y, ctScrollbar);
}

// ===========================================================================
// Buttons

void DEreDuzeroVaro::AddButton(int ACol, int ARow, int bw, int bh, const String& Caption, TCellHAlign hal,
                               TCellVAlign val) {
  CreateCellGraphic(ACol, ARow)->SetButton(bw, bh, Caption, hal, val);
}

void DEreDuzeroVaro::AddBitButton(int ACol, int ARow, int bw, int bh, const String& Caption, TBitmap* Glyph,
                                  TCellHAlign hal, TCellVAlign val) {
  CreateCellGraphic(ACol, ARow)->SetBitButton(bw, bh, Caption, Glyph, hal, val);
}

TBitmap* DEreDuzeroVaro::CreateBitButton(int ACol, int ARow, int bw, int bh, const String& Caption, TCellHAlign hal,
                                         TCellVAlign val) {
  return AttachOwned<TBitmap>(CreateCellGraphic(ACol, ARow), [&](TCellGraphic* g, TBitmap* b) {
    g->SetBitButton(bw, bh, Caption, b, hal, val);
  });
}

void DEreDuzeroVaro::SetButtonText(int ACol, int ARow, const String& Caption) {
  TCellGraphic* g = GetCellGraphic(RealColIndex(ACol), ARow);
  if (!g) return;
  g->SetCellText(Caption);
  RepaintCell(ACol, ARow);
}

String DEreDuzeroVaro::GetButtonText(int ACol, int ARow) {
  TCellGraphic* g = GetCellGraphic(RealColIndex(ACol), ARow);
  return g ? g->CellText() : String();
}

void DEreDuzeroVaro::PushButton(int ACol, int ARow, bool push) {
  TCellGraphic* g = GetCellGraphic(RealColIndex(ACol), ARow);
  if (!g || g->CellType() == ctNode) return;
  g->SetCellBoolean(push);
  RepaintCell(ACol, ARow);
}

void DEreDuzeroVaro::RemoveButton(int ACol, int ARow) {
  RemoveCellGraphicOfType(ACol, ARow, ctButton);
  RemoveCellGraphicOfType(ACol, ARow, ctBitButton);
}

void DEreDuzeroVaro::RemoveAllButtons() {
  for (TPoint c : GraphicCells(*this, [](const TCellGraphic& g) {
         return g.CellType() == ctButton || g.CellType() == ctBitButton;
       }))
    RemoveButton(c.X, c.Y);
}

TRect DEreDuzeroVaro::GetExpandButtonRect(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0 || !IsBaseCell(ACol, ARow) || !GraphicOfKind(*this, ACol, ARow, ctExpand)) return TRect();
  TRect r = CellRect(ACol, ARow);
  return TRect(r.Right - 13, r.Top + 2, r.Right - 2, r.Top + 13);
}

TRect DEreDuzeroVaro::GetCellButtonRect(int ACol, int ARow) {
  TCellGraphic* g = ACol < 0 || ARow < 0 ? nullptr : GetCellGraphic(RealColIndex(ACol), ARow);
  if (!g) return TRect();
  TRect cell = CellRect(ACol, ARow);
  // The offset is packed into the rounded value (X low, Y high 16 bits), the size into the
  // index (width low, height high 16 bits).
  const auto offset = static_cast<uint32_t>(std::lrint(g->CellValue()));
  const auto size = static_cast<uint32_t>(g->CellIndex());
  TRect r;
  r.Left = cell.Left + static_cast<int>(offset & 0xFFFF);
  r.Top = cell.Top + static_cast<int>(offset >> 16);
  r.Right = r.Left + static_cast<int>(size & 0xFFFF);
  r.Bottom = r.Top + static_cast<int>(size >> 16);
  if (g->CellVAlign() == vaFull) {
    r.Top = cell.Top;
    r.Bottom = cell.Bottom;
  }
  if (g->CellHAlign() == haFull) {
    r.Left = cell.Left;
    r.Right = cell.Right;
  }
  return r;
}

// ===========================================================================
// Radio groups

void DEreDuzeroVaro::AddRadio(int ACol, int ARow, int DirRadio, int IdxRadio, TStrings* sl) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  g->SetCellType(ctRadio);
  g->SetCellStrings(sl);
  g->SetCellCreated(false);
  g->SetCellIndex(IdxRadio);
  g->SetCellBoolean(DirRadio != 0);
  g->SetCellAngle(sl ? sl->Count() : 0);
}

TStrings* DEreDuzeroVaro::CreateRadio(int ACol, int ARow, int DirRadio, int IdxRadio) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  auto* list = new TStringList;
  g->SetCellType(ctRadio);
  g->SetCellStrings(list);
  g->SetCellCreated(true);
  g->SetCellIndex(IdxRadio);
  g->SetCellBoolean(DirRadio != 0);
  g->SetCellAngle(0);
  return list;
}

namespace {

TCellGraphic* BaseGraphic(DEreDuzeroVaro& Grid, int ACol, int ARow) {
  if (ACol < 0 || ARow < 0) return nullptr;
  TPoint b = Grid.BaseCell(ACol, ARow);
  return Grid.GetCellGraphic(b.X, b.Y);
}

}  // namespace

bool DEreDuzeroVaro::GetRadioIdx(int ACol, int ARow, int& IdxRadio) {
  TCellGraphic* g = BaseGraphic(*this, ACol, ARow);
  if (!g) return false;
  IdxRadio = g->CellIndex();
  return g->CellType() == ctRadio;
}

bool DEreDuzeroVaro::SetRadioIdx(int ACol, int ARow, int IdxRadio) {
  TCellGraphic* g = BaseGraphic(*this, ACol, ARow);
  // Only a radio group's index is written: the same slot is another kind's size or image.
  if (!g || g->CellType() != ctRadio) return false;
  g->SetCellIndex(IdxRadio);
  if (IdxRadio == -1) SetCells(ACol, ARow, String());
  RepaintCell(DisplColIndex(ACol), ARow);
  return true;
}

TStrings* DEreDuzeroVaro::GetRadioStrings(int ACol, int ARow) {
  TCellGraphic* g = BaseGraphic(*this, ACol, ARow);
  return g && g->CellType() == ctRadio ? g->CellStrings() : nullptr;
}

bool DEreDuzeroVaro::SelectNextRadio(int ACol, int ARow, bool CheckEdit) {
  TCellGraphic* g = GraphicOfKind(*this, ACol, ARow, ctRadio);
  TStrings* items = g ? g->CellStrings() : nullptr;
  if (!items) return false;
  if (CheckEdit && !FControlLook->RadioAlwaysActive()) {
    bool allow = true;
    CellEditAllowed(ACol, ARow, allow);
    if (!allow) return false;
  }
  if (items->Count() == 0) return false;
  int selected = g->CellIndex();
  int next = selected >= 0 ? selected + 1 : items->IndexOf(Cells(ACol, ARow)) + 1;
  if (next >= items->Count()) next = 0;
  if (selected >= -1) g->SetCellIndex(next);
  g->SetCellVar(TCellVariant(int32_t(next)));
  SetCells(ACol, ARow, items->Strings(next));
  return false;
}
