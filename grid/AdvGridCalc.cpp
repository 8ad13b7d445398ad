// DEreDuzeroVaro: column, row and group calculations over the numbers of the cells.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <set>
#include <vector>

#include "grid/AdvGrid.h"

namespace {

// A plain decimal text ("-12.5", "7") read directly; anything else (signs, separators,
// formats, spaces) goes through the grid's full number reading. Both give the same value for
// a plain text.
bool PlainNumber(const String& Text, double& Value) {
  const size_t n = Text.size();
  if (n == 0 || n > 40) return false;
  char buf[40];
  size_t i = 0, digits = 0;
  bool point = false;
  for (; i < n; ++i) {
    const char16_t ch = Text[i];
    if (ch >= u'0' && ch <= u'9') {
      ++digits;
    } else if (ch == u'-' && i == 0) {
    } else if (ch == u'.' && !point && digits > 0) {
      point = true;
    } else {
      return false;
    }
    buf[i] = static_cast<char>(ch);
  }
  if (digits == 0 || Text[n - 1] == u'.') return false;
  return std::from_chars(buf, buf + n, Value).ec == std::errc();
}

}  // namespace

double DEreDuzeroVaro::CalcNumber(const String& Text) {
  double v = 0;
  return PlainNumber(Text, v) ? v : FloatValueOf(Text);
}

// ===========================================================================
// Rows of a calculation

void DEreDuzeroVaro::CalcRange(int& FromRow, int& ToRow) {
  if (FromRow == -1 || ToRow == -1) {
    FromRow = FixedRows();
    ToRow = RowCount() - FixedFooters() - 1;
  }
}

bool DEreDuzeroVaro::CalcInRealRows(int ToRow) {
  if (FCalcRealRows) return true;
  return FFloatingFooter->Visible() ? ToRow > RowCount() - 1 : ToRow > RowCount();
}

void DEreDuzeroVaro::ForEachCalcRow(int FromRow, int ToRow, bool Real,
                                    const std::function<void(int r, int d, const TGridItem* Item)>& Visit) {
  if (!Real) {
    for (int r = std::max(FromRow, 0); r <= ToRow && r < RowCount(); ++r) Visit(r, r, nullptr);
    return;
  }
  // The hidden rows (in real order) walked alongside, so that each row costs one step.
  const TGridItems& hidden = HiddenRows();
  size_t k = 0;
  int below = 0;
  for (int r = std::max(FromRow, 0); r <= ToRow; ++r) {
    while (k < hidden.size() && hidden[k].Idx() < r) {
      ++k;
      ++below;
    }
    if (k < hidden.size() && hidden[k].Idx() == r) {
      Visit(r, r - below, &hidden[k]);
    } else {
      if (r - below >= RowCount()) break;
      Visit(r, r - below, nullptr);
    }
  }
}

String DEreDuzeroVaro::CalcCellText(int ACol, int r, int d, const TGridItem* Item, bool Real) {
  (void)Real;
  if (!Item) return Cells(ACol, d);
  String s = Item->Text(ACol);
  GetDisplText(ACol, r, s);
  return s;
}

// ===========================================================================
// Column calculations

double DEreDuzeroVaro::ColumnAggregate(int ACol, int FromRow, int ToRow, TColumnCalcKind Kind) {
  CalcRange(FromRow, ToRow);
  const bool real = CalcInRealRows(ToRow);
  const bool grouped = FGroupColumn != -1;
  double result = 0;
  bool started = Kind == TColumnCalcKind::Sum;
  ExportNotification(esExportStart, FromRow);
  ForEachCalcRow(FromRow, ToRow, real, [&](int r, int d, const TGridItem* Item) {
    ExportNotification(esExportNextRow, r);
    if (!Item) {
      // Header and summary rows of a grouped grid and covered merged cells do not count.
      if (grouped && (IsNode(d) || IsSummary(d))) return;
      if (!IsBaseCell(ACol, d)) return;
    }
    if (!started) {
      // The first counted row is the start of a minimum or maximum; its error reaches the caller.
      result = CalcNumber(CalcCellText(ACol, r, d, Item, real));
      started = true;
      return;
    }
    double v = 0;
    try {
      v = CalcNumber(CalcCellText(ACol, r, d, Item, real));
    } catch (const VUreReriVorov&) {
      return;  // a cell without a number is left out
    }
    switch (Kind) {
      case TColumnCalcKind::Sum: result += v; break;
      case TColumnCalcKind::Min: if (v < result) result = v; break;
      case TColumnCalcKind::Max: if (v > result) result = v; break;
    }
  });
  ExportNotification(esExportDone, -1);
  return result;
}

double DEreDuzeroVaro::ColumnSum(int ACol, int FromRow, int ToRow) {
  return ColumnAggregate(ACol, FromRow, ToRow, TColumnCalcKind::Sum);
}

double DEreDuzeroVaro::ColumnMin(int ACol, int FromRow, int ToRow) {
  return ColumnAggregate(ACol, FromRow, ToRow, TColumnCalcKind::Min);
}

double DEreDuzeroVaro::ColumnMax(int ACol, int FromRow, int ToRow) {
  return ColumnAggregate(ACol, FromRow, ToRow, TColumnCalcKind::Max);
}

double DEreDuzeroVaro::ColumnAvg(int ACol, int FromRow, int ToRow) {
  CalcRange(FromRow, ToRow);
  if (ToRow < FromRow) return 0;
  return ColumnSum(ACol, FromRow, ToRow) / (ToRow - FromRow + 1);
}

double DEreDuzeroVaro::ColumnStdDev(int ACol, int FromRow, int ToRow) {
  CalcRange(FromRow, ToRow);
  if (ToRow < FromRow) return 0;
  const double m = ColumnAvg(ACol, FromRow, ToRow);
  const bool real = CalcInRealRows(ToRow);
  double s = 0;
  // Every row counts; a text without a number raises out of the calculation.
  ForEachCalcRow(FromRow, ToRow, real, [&](int r, int d, const TGridItem* Item) {
    const double v = CalcNumber(CalcCellText(ACol, r, d, Item, real));
    s += (v - m) * (v - m);
  });
  return std::sqrt(s / (ToRow - FromRow + 1));
}

double DEreDuzeroVaro::ColumnDistinct(int ACol, int FromRow, int ToRow) {
  CalcRange(FromRow, ToRow);
  const bool real = CalcInRealRows(ToRow);
  std::set<String> values;
  ForEachCalcRow(FromRow, ToRow, real, [&](int r, int d, const TGridItem* Item) {
    values.insert(AnsiUpperCase(CalcCellText(ACol, r, d, Item, real)));
  });
  return static_cast<double>(values.size());
}

double DEreDuzeroVaro::ColumnCustomCalc(int ACol, int FromRow, int ToRow) {
  double res = 0;
  if (OnColumnCalc) OnColumnCalc(this, ACol, FromRow, ToRow, res);
  return res;
}

double DEreDuzeroVaro::GroupCustomCalcValue(int ACol, int FromRow, int ToRow) {
  double res = 0;
  if (OnGroupCalc) OnGroupCalc(this, ACol, FromRow, ToRow, res);
  return res;
}

// ===========================================================================
// Row calculations

double DEreDuzeroVaro::RowSum(int ARow, int fromCol, int toCol) {
  double sum = 0;
  for (int c = fromCol; c <= toCol; ++c) {
    try {
      if (IsBaseCell(c, ARow)) sum += Floats(c, ARow);
    } catch (const Exception&) {
      // a cell without a number is left out
    }
  }
  return sum;
}

double DEreDuzeroVaro::RowAvg(int ARow, int fromCol, int toCol) {
  if (toCol < fromCol) return 0;
  return RowSum(ARow, fromCol, toCol) / (toCol - fromCol + 1);
}

double DEreDuzeroVaro::RowMin(int ARow, int fromCol, int toCol) {
  if (toCol < fromCol) return 0;
  double result = Floats(fromCol, ARow);
  for (int c = fromCol + 1; c <= toCol; ++c) {
    try {
      if (IsBaseCell(c, ARow)) result = std::min(result, Floats(c, ARow));
    } catch (const Exception&) {
    }
  }
  return result;
}

double DEreDuzeroVaro::RowMax(int ARow, int fromCol, int toCol) {
  if (toCol < fromCol) return 0;
  double result = Floats(fromCol, ARow);
  for (int c = fromCol + 1; c <= toCol; ++c) {
    try {
      if (IsBaseCell(c, ARow)) result = std::max(result, Floats(c, ARow));
    } catch (const Exception&) {
    }
  }
  return result;
}

// ===========================================================================
// Group calculations

void DEreDuzeroVaro::GroupCalc(int Colindex, int Method) {
  int a = FixedRows();
  while (a < RowCount()) {
    TCellGraphic* g = NodeGraphic(a);
    if (!g || g->CellBoolean()) {
      ++a;
      continue;
    }
    const int s = std::max(ResolvedSpan(a), 1);
    const int from = a + 1, to = a + s - 1;
    const int target = FGrouping->Summary() ? a + s : a;
    if (target < RowCount()) {
      switch (Method) {
        case 1: SetFloats(Colindex, target, ColumnSum(Colindex, from, to)); break;
        case 2: SetFloats(Colindex, target, ColumnAvg(Colindex, from, to)); break;
        case 3: SetFloats(Colindex, target, ColumnMin(Colindex, from, to)); break;
        case 4: SetFloats(Colindex, target, ColumnMax(Colindex, from, to)); break;
        case 5: SetInts(Colindex, target, s - 1); break;
        case 6: SetFloats(Colindex, target, GroupCustomCalcValue(Colindex, from, to)); break;
        case 7: SetFloats(Colindex, target, ColumnDistinct(Colindex, from, to)); break;
        case 8: SetFloats(Colindex, target, ColumnStdDev(Colindex, from, to)); break;
        default: break;
      }
    }
    // Nodes nested in the group get no result of their own.
    a += s;
  }
}

namespace {
// The footer calculation that goes with a group calculation.
TColumnCalcType FooterCalcOf(int Method) {
  switch (Method) {
    case 1: return acSUM;
    case 2: return acAVG;
    case 3: return acMIN;
    case 4: return acMAX;
    default: return acCOUNT;
  }
}
}  // namespace

void DEreDuzeroVaro::GroupSum(int Colindex) {
  GroupCalc(Colindex, 1);
  if (FFloatingFooter->Visible()) FFloatingFooter->SetColumnCalc(Colindex, FooterCalcOf(1));
}

void DEreDuzeroVaro::GroupAvg(int Colindex) {
  GroupCalc(Colindex, 2);
  if (FFloatingFooter->Visible()) FFloatingFooter->SetColumnCalc(Colindex, FooterCalcOf(2));
}

void DEreDuzeroVaro::GroupMin(int Colindex) {
  GroupCalc(Colindex, 3);
  if (FFloatingFooter->Visible()) FFloatingFooter->SetColumnCalc(Colindex, FooterCalcOf(3));
}

void DEreDuzeroVaro::GroupMax(int Colindex) {
  GroupCalc(Colindex, 4);
  if (FFloatingFooter->Visible()) FFloatingFooter->SetColumnCalc(Colindex, FooterCalcOf(4));
}

void DEreDuzeroVaro::GroupCount(int Colindex) {
  GroupCalc(Colindex, 5);
  if (FFloatingFooter->Visible()) FFloatingFooter->SetColumnCalc(Colindex, FooterCalcOf(5));
}
