// Copy, cut and paste through the system clipboard: tab-separated text, the top-left cell's
// RTF and the grid's binary cell stream; the smart fill of a selection from a smaller block.
#include <algorithm>
#include <cmath>

#include "controls/HtmlText.h"
#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "grid/AdvGridUndoRedo.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Clipbrd.h"

namespace {

constexpr Char kCR = 13, kLF = 10, kTab = 9;

UINT CellsFormat() { return RegisterClipboardFormat(u"DEreDuzeroVaro Cells"); }
UINT RtfFormat() { return RegisterClipboardFormat(u"Rich Text Format"); }

}  // namespace

bool DEreDuzeroVaro::UseFmtClipboard() { return FNavigation->AllowFmtClipboard(); }

void DEreDuzeroVaro::CellsPasted(TPoint TopLeft, const TRect& R, TClipOperation Op) {
  (void)TopLeft;
  (void)Op;
  if (FShowModified->Enabled())
    for (int r = std::max(0, R.Top); r <= R.Bottom && r < RowCount(); ++r) SetRowModified(r, true);
}

void DEreDuzeroVaro::PasteInCell(int ACol, int ARow, const String& Value) {
  const int k = RealColIndex(ACol);
  if (UndoRedo()) UndoRedo()->RegisterChange(k, ARow, Cells(k, ARow), Value);
  if (HasCheckBox(k, ARow)) SetCheckBoxState(k, ARow, Value == FCheckTrue);
  else SetCells(k, ARow, Value);
  if (k != ACol) RepaintCell(ACol, ARow);
}

void DEreDuzeroVaro::ClipboardTextSize(const String& Text, int& Cols, int& Rows) {
  Cols = 0;
  Rows = 0;
  int fields = 1, lineLength = 0;
  for (size_t i = 0; i < Text.size(); ++i) {
    Char c = Text[i];
    if (c == kCR) {
      Cols = std::max(Cols, fields);
      if (lineLength > 0) ++Rows;
      fields = 1;
      lineLength = 0;
      if (i + 1 < Text.size() && Text[i + 1] == kLF) ++i;
      continue;
    }
    ++lineLength;
    if (c == kTab) ++fields;
  }
  Cols = std::max(Cols, fields);
}

// ---- Copy

String DEreDuzeroVaro::ClipboardCellText(int ACol, int ARow) {
  String t = GetSaveCellText(RealColIndex(ACol), ARow);
  if (t.compare(0, 2, u"|\\") == 0) t = UnpackWideText(t);
  if (t.find(kCR) != String::npos) {
    // The lines joined by LF: CR LF pairs first, then lone CRs.
    RemoveCRFromCRLF(t);
    t = u'"' + ReplaceCRWithLF(t) + u'"';
  }
  if (!FNavigation->CopyHTMLTagsToClipboard() && t.find(u"</") != String::npos) {
    t = StripHtmlTags(Cells(ACol, ARow));
  } else if (t.find(u"{\\") != String::npos) {
    t = RichTextToPlain(t);
  }
  if (FExcelClipboardFormat && LineCount(t, FMultilinecells) > 1) EncodeCellLineBreaks(t);
  return t;
}

void DEreDuzeroVaro::CopyRectToClipboard(const TRect& R, bool SelectedOnly) {
  FClipTopLeft = TPoint{R.Left, R.Top};
  ExportNotification(esExportStart, -1);
  TMouseActions* ma = FMouseActions.get();
  String text;
  for (int r = R.Top; r <= R.Bottom; ++r) {
    ExportNotification(esExportNewRow, r);
    if (SelectedOnly && ma->DisjunctRowSelect() && !ma->DisjunctColSelect()) {
      const int sr = ma->RowSelectPersistent() ? RealRowIndex(r) : r;
      if (!RowSelect(sr)) continue;
    }
    bool firstField = true;
    for (int c = R.Left; c <= R.Right; ++c) {
      if (SelectedOnly && ma->DisjunctColSelect() && !ColSelect(c)) continue;
      if (!firstField) text.push_back(kTab);
      firstField = false;
      text += ClipboardCellText(c, r);
    }
    if (R.Top < R.Bottom) text += u"\r\n";
  }
  TClipboard* cb = Clipboard();
  cb->Open();
  try {
    cb->SetAsText(text);
    if (FNavigation->AllowRTFClipboard()) {
      String top = Cells(R.Left, R.Top);
      if (top.find(u"{\\") != String::npos) {
        RawBytes bytes;
        for (Char ch : top) bytes.push_back(static_cast<uint8_t>(ch));
        bytes.push_back(0);
        cb->SetAsBytes(RtfFormat(), bytes);
      }
    }
    if (FNavigation->AllowFmtClipboard()) {
      TMemoryStream ms;
      SaveRectToBinStream(R, &ms);
      const uint8_t* p = static_cast<const uint8_t*>(ms.Memory());
      cb->SetAsBytes(CellsFormat(), RawBytes(p, p + ms.Size()));
    }
  } catch (...) {
    cb->Close();
    throw;
  }
  cb->Close();
  ExportNotification(esExportDone, -1);
}

void DEreDuzeroVaro::AdjustSelectionToMerges() {
  TGridRect s = Selection();
  TGridRect n = s;
  TPoint b = BaseCell(s.Left, s.Top);
  n.Left = std::min(n.Left, b.X);
  n.Top = std::min(n.Top, b.Y);
  TPoint e = BaseCell(s.Right, s.Bottom);
  TPoint span = CellSpan(e.X, e.Y);
  n.Right = std::max(n.Right, e.X + std::max(0, span.X));
  n.Bottom = std::max(n.Bottom, e.Y + std::max(0, span.Y));
  if (!(n == s)) SetSelection(n);
}

void DEreDuzeroVaro::CopyToClipBoard() {
  CopyRectToClipboard(TRect{SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow()}, false);
  FClipLastOp = coCopy;
}

void DEreDuzeroVaro::CopySelectionToClipboard() {
  AdjustSelectionToMerges();
  TGridRect s = Selection();
  TMouseActions* ma = FMouseActions.get();
  const bool fmt = FNavigation->AllowFmtClipboard();
  if (ma->DisjunctRowSelect()) {
    if (fmt) CopyRectToClipboard(TRect{s.Left, s.Top, s.Right, s.Bottom}, false);
    else CopyRectToClipboard(TRect{FixedCols(), SaveStartRow(), ColCount() - FFixedRightCols - 1, SaveEndRow()}, true);
  } else if (!ma->DisjunctColSelect() || fmt) {
    CopyRectToClipboard(TRect{s.Left, s.Top, s.Right, s.Bottom}, false);
  } else {
    CopyRectToClipboard(TRect{SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow()}, true);
  }
  FClipLastOp = coCopy;
}

void DEreDuzeroVaro::CutToClipboard() {
  CopyRectToClipboard(TRect{SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow()}, false);
  const bool always = FNavigation->AllowClipboardAlways();
  for (int r = SaveStartRow(); r <= SaveEndRow(); ++r)
    for (int c = SaveStartCol(); c <= SaveEndCol(); ++c) {
      const int k = RealColIndex(c);
      if (always || IsEditable(k, r)) SetCells(k, r, String());
    }
  if (FShowModified->Enabled())
    for (int r = SaveStartRow(); r <= SaveEndRow(); ++r) SetRowModified(r, true);
  FClipLastOp = coCut;
}

void DEreDuzeroVaro::CutSelectionToClipboard() {
  TGridRect s = Selection();
  CopySelectionToClipboard();
  TMouseActions* ma = FMouseActions.get();
  const bool always = FNavigation->AllowClipboardAlways();
  if (ma->DisjunctRowSelect()) {
    for (int r = FixedRows(); r < RowCount(); ++r)
      if (RowSelect(r)) {
        ClearRows(r, 1);
        if (FShowModified->Enabled()) SetRowModified(r, true);
      }
  } else if (ma->DisjunctColSelect()) {
    for (int c = FixedCols(); c < ColCount(); ++c)
      if (ColSelect(c)) ClearCols(c, 1);
  } else {
    if (UndoRedo()) UndoRedo()->StartSequence();
    for (int c = s.Left; c <= s.Right; ++c) {
      const int k = RealColIndex(c);
      for (int r = s.Top; r <= s.Bottom; ++r) {
        if (!always && !IsEditable(k, r)) continue;
        if (UndoRedo()) UndoRedo()->RegisterChange(k, r, Cells(k, r), String());
        SetCells(k, r, String());
        if (FShowModified->Enabled()) SetRowModified(r, true);
      }
    }
    if (UndoRedo()) UndoRedo()->StopSequence();
    if (FNavigation->AllowFmtClipboard())
      for (int c = s.Left; c <= s.Right; ++c)
        for (int r = s.Top; r <= s.Bottom; ++r) FreeCellProperties(RealColIndex(c), r);
  }
  FClipLastOp = coCut;
  CellsChanged(TRect{s.Left, s.Top, s.Right, s.Bottom});
  if (NumHiddenColumns() > 0) Invalidate();
}

// ---- Paste

int DEreDuzeroVaro::PasteText(int ACol, int ARow, int& Rows, int& Cols, const String& Text) {
  Rows = Cols = 0;
  const bool always = FNavigation->AllowClipboardAlways();
  if (ACol < 0 || ARow < 0 || !(Options().Contains(goEditing) || always || FMouseActions->RangeSelectAndEdit())) return 0;
  if (UndoRedo()) UndoRedo()->StartSequence();
  int i = ARow, j = ACol, k = 0, maxCol = ACol, maxRow = ARow;
  const bool insert = FNavigation->ClipboardPasteAction() == paInsert;
  auto usable = [&](int col, int row) {
    if (col >= ColCount() && FNavigation->AllowClipboardColGrow() && col < GridMaxColCount) SetColCount(col + 1);
    return col < ColCount() && row < RowCount() && (always || IsEditable(RealColIndex(col), row));
  };
  auto take = [&](int col, int row, String value, bool lastField) {
    const bool wide = value.compare(0, 2, u"|\\") == 0;
    bool allow = true;
    if (wide) {
      String w = UnpackWideText(value);
      if (OnClipboardBeforePasteWideCell) OnClipboardBeforePasteWideCell(this, col, row, w, allow);
      value = PackWideText(w);
    } else if (OnClipboardBeforePasteCell) {
      OnClipboardBeforePasteCell(this, col, row, value, allow);
    }
    if (!allow) return;
    PasteInCell(col, row, value);
    maxCol = std::max(maxCol, col);
    maxRow = std::max(maxRow, row);
    // The last field of a line reports through the plain event.
    if (wide && !lastField) {
      if (OnClipboardAfterPasteWideCell) OnClipboardAfterPasteWideCell(this, col, row, UnpackWideText(value));
    } else if (OnClipboardAfterPasteCell) {
      OnClipboardAfterPasteCell(this, col, row, value);
    }
  };
  size_t pos = 0;
  const size_t n = Text.size();
  while (pos < n) {
    size_t end = Text.find(kCR, pos);
    if (end == String::npos) end = n;
    String line = Text.substr(pos, end - pos);
    pos = end;
    if (pos < n) {
      ++pos;  // the CR
      if (pos < n && Text[pos] == kLF) ++pos;
    }
    const bool textFollows = pos < n;
    ++Rows;
    ImportNotification(FWholeGridPaste ? isImportNewRow : isImportSelRow, i);
    if (insert && !line.empty()) InsertRows(i, 1);
    Cols = 1;
    size_t fs = 0;
    for (size_t tab = line.find(kTab); tab != String::npos; tab = line.find(kTab, fs)) {
      ++Cols;
      String field = line.substr(fs, tab - fs);
      fs = tab + 1;
      if (field.find(kLF) != String::npos) {
        if (!field.empty() && field.front() == u'"') field.erase(0, 1);
        if (!field.empty() && field.back() == u'"') field.pop_back();
      }
      if (usable(j, i)) take(j, i, field, false);
      ++k;
      ++j;
    }
    String last = line.substr(fs);
    if (last.find(kLF) != String::npos) {
      if (!last.empty() && last.front() == u'"') last.erase(0, 1);
      if (!last.empty() && last.back() == u'"') last.pop_back();
    }
    const bool emptyEnd = line.empty() && !textFollows;
    if (!emptyEnd && usable(j, i)) take(j, i, last, true);
    ++k;
    j = ACol;
    if (textFollows) {
      ++i;
      if (i >= RowCount() && FNavigation->AllowClipboardRowGrow() && i < GridMaxRowCount) SetRowCount(RowCount() + 1);
    }
    if (i >= RowCount()) break;
  }
  // A text ending with a line break counts its empty last line.
  if (!Text.empty() && (Text.back() == kCR || Text.back() == kLF)) ++k;
  if (UndoRedo()) UndoRedo()->StopSequence();
  CellsPasted(FClipTopLeft, TRect{ACol, ARow, maxCol, maxRow}, FClipLastOp);
  CellsChanged(TRect{RealColIndex(ACol), ARow, RealColIndex(maxCol), maxRow});
  return k;
}

int DEreDuzeroVaro::PasteFromClipboardAt(int ACol, int ARow, int& Rows, int& Cols) {
  Rows = Cols = 0;
  TClipboard* cb = Clipboard();
  if (UseFmtClipboard() && cb->HasFormat(CellsFormat())) {
    RawBytes bytes = cb->GetAsBytes(CellsFormat());
    BeforePaste();
    TMemoryStream ms;
    if (!bytes.empty()) ms.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    ms.SetPosition(0);
    TBinHeader h = ReadBinHeader(&ms);
    if (FNavigation->AllowClipboardRowGrow() || FNavigation->AllowClipboardColGrow() ||
        FNavigation->ClipboardPasteAction() == paInsert) {
      if (FNavigation->AllowClipboardColGrow() && ACol + h.Cols > ColCount())
        SetColCount(std::min(ACol + h.Cols, GridMaxColCount));
      if (FNavigation->AllowClipboardRowGrow() && ARow + h.Rows > RowCount())
        SetRowCount(std::min(ARow + h.Rows, GridMaxRowCount));
      Cols = ColCount();
      Rows = RowCount();
      if (FNavigation->ClipboardPasteAction() == paInsert) InsertRows(ARow, h.Rows);
    }
    ms.SetPosition(0);
    LoadAtPointFromBinStream(TPoint{ACol, ARow}, &ms);
    CellsPasted(h.ID == FStreamID ? FClipTopLeft : TPoint{-1, -1},
                TRect{ACol, ARow, ACol + h.Cols - 1, ARow + h.Rows - 1}, FClipLastOp);
    AfterPaste();
    return h.Cols * h.Rows;
  }
  if (FNavigation->AllowRTFClipboard() && cb->HasFormat(RtfFormat())) {
    RawBytes bytes = cb->GetAsBytes(RtfFormat());
    String text;
    for (uint8_t b : bytes) {
      if (b == 0) break;
      text.push_back(b);
    }
    if (IsEditable(RealColIndex(ACol), ARow)) PasteInCell(ACol, ARow, text);
    Rows = Cols = 1;
    return 0;
  }
  if (cb->HasFormat(CF_UNICODETEXT)) {
    String text = cb->AsText();
    if (!text.empty()) return PasteText(ACol, ARow, Rows, Cols, text);
  }
  return 0;
}

void DEreDuzeroVaro::PasteFromClipboard() {
  ImportNotification(isImportStart, -1);
  FWholeGridPaste = true;
  int rows = 0, cols = 0;
  PasteFromClipboardAt(SaveStartCol(), SaveStartRow(), rows, cols);
  FWholeGridPaste = false;
  ImportNotification(isImportDone, -1);
}

void DEreDuzeroVaro::PasteSelectionFromClipboard() {
  ImportNotification(isImportStart, -1);
  FWholeGridPaste = false;
  AdjustSelectionToMerges();
  const TGridRect s = Selection();
  int rows = 0, cols = 0;
  const int n = PasteFromClipboardAt(Options().Contains(goRowSelect) ? FixedCols() : s.Left, s.Top, rows, cols);
  if (!FNavigation->AllowSmartClipboard()) return;
  const int selected = (s.Right - s.Left + 1) * (s.Bottom - s.Top + 1);
  if (n - 1 == selected) return;
  const bool always = FNavigation->AllowClipboardAlways();
  auto editable = [&](int c, int r) { return always || IsEditable(RealColIndex(c), r); };
  // Writes V into a selected cell with the paste events, except at the top-left cell.
  auto put = [&](int c, int r, String v) {
    const bool topLeft = c == s.Left && r == s.Top;
    bool allow = true;
    if (!topLeft && OnClipboardBeforePasteCell) OnClipboardBeforePasteCell(this, c, r, v, allow);
    if (allow) PasteInCell(c, r, v);
    CellsPasted(FClipTopLeft, TRect{c, r, c, r}, coCopy);
    if (!topLeft && OnClipboardAfterPasteCell) OnClipboardAfterPasteCell(this, c, r, v);
  };
  auto textOf = [&](int c, int r) {
    const int k = RealColIndex(c);
    if (HasCheckBox(k, r)) {
      bool state = false;
      GetCheckBoxState(k, r, state);
      return state ? FCheckTrue : FCheckFalse;
    }
    return Cells(k, r);
  };
  BeforePaste();
  if (n == 1 && selected > 1) {
    String v = textOf(s.Left, s.Top);
    for (int c = s.Left; c <= s.Right; ++c)
      for (int r = s.Top; r <= s.Bottom; ++r)
        if (editable(c, r)) put(c, r, v);
  }
  AfterPaste();
  const bool oneCol = s.Left == s.Right, oneRow = s.Top == s.Bottom;
  if (n > 1 && (oneCol || oneRow)) {
    const String t1 = textOf(s.Left, s.Top);
    const String t2 = oneCol ? textOf(s.Left, s.Top + 1) : textOf(s.Left + 1, s.Top);
    auto cells = [&](const std::function<bool(int, int)>& Each) {
      for (int c = s.Left; c <= s.Right; ++c)
        for (int r = s.Top; r <= s.Bottom; ++r)
          if (editable(c, r) && !Each(c, r)) return;
    };
    const Char timeSep = FormatSettings.TimeSeparator, dateSep = FormatSettings.DateSeparator,
               decSep = FormatSettings.DecimalSeparator;
    auto isDateLike = [&](const String& t) { return LooksLikeDate(t) || t.find(timeSep) != String::npos; };
    int32_t i1 = 0, i2 = 0;
    if (isDateLike(t1) && isDateLike(t2)) {
      try {
        TDateTime d1 = StrToDateTime(t1), d2 = StrToDateTime(t2);
        const double step = d2 - d1;
        uint16_t y1, m1, dd1, y2, m2, dd2;
        DecodeDate(d1, y1, m1, dd1);
        DecodeDate(d2, y2, m2, dd2);
        const int dy = y2 - y1, dm = m2 - m1, ddd = dd2 - dd1;
        const bool asDate = t1.find(dateSep) != String::npos;
        TDateTime d = d1;
        cells([&](int c, int r) {
          put(c, r, asDate ? DateToStr(d) : TimeToStr(d));
          d = AdvanceDate(static_cast<uint16_t>(dy), static_cast<uint16_t>(dm), static_cast<uint16_t>(ddd), d, step);
          return true;
        });
      } catch (const EConvertError&) {
      }
      CellsChanged(TRect{s.Left, s.Top, s.Right, s.Bottom});
      return;
    }
    if (t1.find(decSep) != String::npos || t2.find(decSep) != String::npos) {
      try {
        double f = StrToFloat(t1);
        const double step = StrToFloat(t2) - f;
        cells([&](int c, int r) {
          put(c, r, FFloatFormat.empty() ? FloatToStr(f) : Format(FFloatFormat, {f}));
          f += step;
          return true;
        });
      } catch (const EConvertError&) {
      }
      CellsChanged(TRect{s.Left, s.Top, s.Right, s.Bottom});
      return;
    }
    if (TryStrToInt(t1, i1) && TryStrToInt(t2, i2)) {
      const int64_t step = int64_t(i2) - i1;
      int64_t v = i1;
      cells([&](int c, int r) {
        put(c, r, IntToStr(v));
        v += step;
        return true;
      });
      CellsChanged(TRect{s.Left, s.Top, s.Right, s.Bottom});
      return;
    }
    if (oneCol) {
      for (int r = s.Top + n - 1; r <= s.Bottom; ++r) SetCells(RealColIndex(s.Left), r, Cells(RealColIndex(s.Left), r - (n - 1)));
      CellsPasted(FClipTopLeft, TRect{s.Left, s.Top + n - 1, s.Left, s.Bottom}, FClipLastOp);
    } else {
      for (int c = s.Left + n - 1; c <= s.Right; ++c) SetCells(RealColIndex(c), s.Top, Cells(RealColIndex(c - (n - 1)), s.Top));
      CellsPasted(FClipTopLeft, TRect{s.Left + n - 1, s.Top, s.Right, s.Top}, FClipLastOp);
    }
  } else if (n > 1 && !oneCol && !oneRow) {
    // A one-row block pastes again in every further selected row, a one-column block in every
    // further selected column; the selection comes back afterwards.
    int r2 = 0, c2 = 0;
    if (rows == 1)
      for (int r = s.Top + 1; r <= s.Bottom; ++r) PasteFromClipboardAt(s.Left, r, r2, c2);
    else if (cols == 1)
      for (int c = s.Left + 1; c <= s.Right; ++c) PasteFromClipboardAt(c, s.Top, r2, c2);
    SetSelection(s);
  }
  ImportNotification(isImportDone, -1);
  CellsChanged(TRect{s.Left, s.Top, s.Right, s.Bottom});
}
