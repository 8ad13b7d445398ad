// DEreDuzeroVaro: checking cells through an attached checker, filling ranges with generated
// texts, and cells read and written as dates and times.

#include "grid/AdvGrid.h"
#include "grid/asgcheck.h"
#include "platform/rtl/SysUtils.h"

namespace {

// Tells the grid that its checker is gone.
class TCheckerWatch : public TComponent {
public:
  explicit TCheckerWatch(DEreDuzeroVaroCheck*& ARef) : TComponent(nullptr), Ref(ARef) {}
  String ClassName() const override { return u"TCheckerWatch"; }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    if (Operation == opRemove && AComponent == Ref) Ref = nullptr;
    TComponent::Notification(AComponent, Operation);
  }

private:
  DEreDuzeroVaroCheck*& Ref;
};

}  // namespace

// ===========================================================================
// Checks

void DEreDuzeroVaro::SetCellChecker(DEreDuzeroVaroCheck* Value) {
  if (Value == FCellChecker) return;
  if (!FCheckerWatch) FCheckerWatch = std::make_unique<TCheckerWatch>(FCellChecker);
  if (FCellChecker != nullptr) FCellChecker->RemoveFreeNotification(FCheckerWatch.get());
  FCellChecker = Value;
  if (Value != nullptr) Value->FreeNotification(FCheckerWatch.get());
}

bool DEreDuzeroVaro::CheckCell(int ACol, int ARow) {
  if (FCellChecker == nullptr) return true;
  const String s = Cells(ACol, ARow);
  if (FCellChecker->GotoCell()) MoveColRow(ACol, ARow, true, true);
  String r = s;
  if (FCellChecker->UseCorrect()) r = FCellChecker->Correct(ACol, ARow, s);
  if (FCellChecker->UseMarkError()) r = FCellChecker->MarkError(ACol, ARow, s);
  if (r != s) SetCells(ACol, ARow, r);
  return r == s;
}

bool DEreDuzeroVaro::CheckCells(int FromCol, int FromRow, int ToCol, int ToRow) {
  if (FCellChecker == nullptr) return true;
  FCellChecker->StartCheck();
  const int row = Row(), col = Col();
  bool unchanged = true;
  for (int r = FromRow; r <= ToRow; ++r)
    for (int c = FromCol; c <= ToCol; ++c)
      if (!CheckCell(c, r)) unchanged = false;
  FCellChecker->StopCheck();
  if (FCellChecker != nullptr && FCellChecker->GotoCell()) {
    SetRow(row);
    SetCol(col);
  }
  return unchanged;
}

bool DEreDuzeroVaro::CheckCol(bool DoFixed, int ACol) {
  return DoFixed ? CheckCells(ACol, 0, ACol, RowCount() - 1)
                 : CheckCells(ACol, TCustomGrid::FixedRows(), ACol, RowCount() - FFixedFooters - 1);
}

bool DEreDuzeroVaro::CheckRow(bool DoFixed, int ARow) {
  return DoFixed ? CheckCells(0, ARow, ColCount() - 1, ARow)
                 : CheckCells(FixedCols(), ARow, ColCount() - FFixedRightCols - 1, ARow);
}

bool DEreDuzeroVaro::CheckGrid(bool DoFixed) {
  TGridRect r = FillRange(DoFixed);
  return CheckCells(r.Left, r.Top, r.Right, r.Bottom);
}

// ===========================================================================
// Fills

TGridRect DEreDuzeroVaro::FillRange(bool DoFixed) {
  if (DoFixed) return TGridRect{0, 0, ColCount() - 1, RowCount() - 1};
  return TGridRect{FixedCols(), TCustomGrid::FixedRows(), ColCount() - FFixedRightCols - 1,
                   RowCount() - FFixedFooters - 1};
}

void DEreDuzeroVaro::FillCells(bool DoFixed, const std::function<String(int ACol, int ARow)>& Text) {
  TGridRect range = FillRange(DoFixed);
  for (int r = range.Top; r <= range.Bottom; ++r)
    for (int c = range.Left; c <= range.Right; ++c) SetCells(c, r, Text(c, r));
}

void DEreDuzeroVaro::TextFill(bool DoFixed, const String& Txt) {
  FillCells(DoFixed, [&](int, int) { return Txt; });
}

void DEreDuzeroVaro::FormatFill(bool DoFixed, const String& Fmt) {
  // The user's format goes through the checked Format: a mismatch raises before any cell changes.
  Format(Fmt, {0, 0});
  FillCells(DoFixed, [&](int c, int r) { return Format(Fmt, {c, r}); });
}

void DEreDuzeroVaro::LinearFill(bool DoFixed) {
  FillCells(DoFixed, [](int c, int r) { return IntToStr(c) + u":" + IntToStr(r); });
}

void DEreDuzeroVaro::RandomFill(bool DoFixed, int Rnd) {
  TGridRect range = FillRange(DoFixed);
  for (int r = range.Top; r <= range.Bottom; ++r)
    for (int c = range.Left; c <= range.Right; ++c) SetInts(c, r, Random(Rnd));
}

// ===========================================================================
// Dates and times

TDateTime DEreDuzeroVaro::Dates(int ACol, int ARow) { return StrToDate(Cells(ACol, ARow)); }

void DEreDuzeroVaro::SetDates(int ACol, int ARow, TDateTime Value) {
  SetCells(ACol, ARow, Value > 0 || FShowNullDates ? DateToStr(Value) : String());
}

TDateTime DEreDuzeroVaro::Times(int ACol, int ARow) { return StrToTime(Cells(ACol, ARow)); }

void DEreDuzeroVaro::SetTimes(int ACol, int ARow, TDateTime Value) { SetCells(ACol, ARow, TimeToStr(Value)); }
