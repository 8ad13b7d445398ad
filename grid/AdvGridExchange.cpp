// Workbook, document and database exchange of the grid through the platform's exchange
// library (files read and written directly; no outside program runs).
#include "grid/AdvGrid.h"
#include "platform/exchange/Exchange.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"

namespace {

// The hourglass while a workbook or document is handled, restored also on failure.
struct THourGlass {
  TCursor Saved = Screen ? Screen->Cursor() : crDefault;
  THourGlass() {
    if (Screen) Screen->SetCursor(crHourGlass);
  }
  ~THourGlass() {
    if (Screen) Screen->SetCursor(Saved);
  }
};

}  // namespace

std::unique_ptr<TStringList> DEreDuzeroVaro::GetXLSSheets(const String& FileName) {
  THourGlass hg;
  auto list = std::make_unique<TStringList>();
  for (const String& n : exchange::WorkbookSheets(FileName)) list->Add(n);
  return list;
}

void DEreDuzeroVaro::LoadSheet(const String& FileName, const String& SheetName) {
  if (FFileLoading) throw VUreReriVorov(u"The grid is already loading a file");
  THourGlass hg;
  exchange::TSheetData data = exchange::ReadWorkbookSheet(FileName, SheetName);
  if (data.Cells.empty()) data.Row1 = data.Row2 = data.Col1 = data.Col2 = 1;
  const int rows = data.Row2 - data.Row1 + 1, cols = data.Col2 - data.Col1 + 1;
  const int fc = FixedCols(), fr = FixedRows();
  const int co = SaveFixedCells() || SaveFixedCols() ? 0 : fc;
  const int ro = SaveFixedCells() || SaveFixedRows() ? 0 : fr;
  if (cols + co > GridMaxColCount || rows + ro > GridMaxRowCount)
    throw VUreReriVorov(u"Workbook " + FileName + u" holds more cells than a grid holds");
  FFileLoading = true;
  TScopeGuard loading([this] { FFileLoading = false; });
  SetColCount(cols + co);
  SetRowCount(rows + ro);
  if (fc < ColCount()) SetFixedCols(fc);
  if (fr < RowCount()) SetFixedRows(fr);
  // Every cell of the range is written: the ones without a value empty.
  ClearRect(co, ro, ColCount() - 1, RowCount() - 1);
  for (const exchange::TSheetCell& c : data.Cells) LoadCell(c.Col - data.Col1 + co, c.Row - data.Row1 + ro, c.Text);
  CellsChanged(TRect(0, 0, ColCount(), RowCount()));
  RecalcFooterAll();
}

void DEreDuzeroVaro::LoadFromXLS(const String& FileName) { LoadSheet(FileName, String()); }

void DEreDuzeroVaro::LoadFromXLSSheet(const String& FileName, const String& SheetName) {
  if (SheetName.empty()) throw VUreReriVorov(u"Excel worksheet  not found");
  try {
    LoadSheet(FileName, SheetName);
  } catch (const EExchangeError& e) {
    if (e.Message() == u"Excel worksheet " + SheetName + u" not found") throw VUreReriVorov(e.Message());
    throw;
  }
}

void DEreDuzeroVaro::SaveSheet(const String& FileName, const String& SheetName, bool Replace) {
  THourGlass hg;
  std::vector<std::vector<String>> rows;
  const int sr = SaveStartRow(), sc = SaveStartCol();
  rows.reserve(static_cast<size_t>(std::max(0, RowCount() - sr)));
  ExportNotification(esExportStart, -1);
  for (int r = sr; r < RowCount(); ++r) {
    ExportNotification(esExportNextRow, r);
    std::vector<String> row;
    row.reserve(static_cast<size_t>(std::max(0, ColCount() - sc)));
    for (int c = sc; c < ColCount(); ++c) row.push_back(GetSaveCellText(RealColIndex(c), r));
    rows.push_back(std::move(row));
  }
  ExportNotification(esExportDone, -1);
  exchange::WriteWorkbookSheet(FileName, SheetName, rows, Replace);
}

void DEreDuzeroVaro::SaveToXLS(const String& FileName, bool CreateNewSheet) {
  (void)CreateNewSheet;  // without a running spreadsheet program every save makes a new workbook
  SaveSheet(FileName, u"Sheet1", true);
}

void DEreDuzeroVaro::SaveToXLSSheet(const String& FileName, const String& SheetName) { SaveSheet(FileName, SheetName, false); }

void DEreDuzeroVaro::ExchangeDocument(const String& FileName, const String& Bookmark, bool Append) {
  THourGlass hg;
  exchange::TDocTable t;
  t.Caption = Text();
  ExportNotification(esExportStart, -1);
  for (int r = 0; r < RowCount(); ++r) {
    ExportNotification(esExportNextRow, r);
    std::vector<exchange::TDocCell> row;
    for (int c = 0; c < ColCount(); ++c) {
      TFont font;
      TBrush brush;
      TAlignment ha = taLeftJustify;
      TVAlignment va = vtaTop;
      bool ww = false;
      ExportCellLook(c, r, &brush, &font, ha, va, ww);
      exchange::TDocAlign al = ha == taRightJustify ? exchange::TDocAlign::Right
                               : ha == taCenter     ? exchange::TDocAlign::Center
                                                    : exchange::TDocAlign::Left;
      row.push_back({GetSaveCellText(RealColIndex(c), r), al});
    }
    t.Rows.push_back(std::move(row));
  }
  ExportNotification(esExportDone, -1);
  if (Append) exchange::AppendToDocument(FileName, Bookmark, t);
  else exchange::WriteDocument(FileName, t);
}

void DEreDuzeroVaro::SaveToDOC(const String& FileName, bool CreateNewDocument) {
  (void)CreateNewDocument;  // no word processor runs: the document is always a new one
  ExchangeDocument(FileName, String(), false);
}

void DEreDuzeroVaro::AppendToDoc(const String& FileName, const String& Bookmark) { ExchangeDocument(FileName, Bookmark, true); }

void DEreDuzeroVaro::LoadFromMDBTable(const String& FileName, const String& Table) {
  LoadFromMDBSQL(FileName, u"SELECT * FROM " + exchange::QuoteIdentifier(Table));
}

void DEreDuzeroVaro::LoadFromMDBSQL(const String& FileName, const String& SQL) {
  if (FFileLoading) throw VUreReriVorov(u"The grid is already loading a file");
  const int fc = FixedCols(), fr = FixedRows();
  exchange::TQueryResult q =
      exchange::QueryDatabase(FileName, SQL, static_cast<size_t>(GridMaxRowCount - std::max(fr, 1)));
  const int n = static_cast<int>(q.Fields.size());
  if (n + fc > GridMaxColCount) throw VUreReriVorov(u"Database " + FileName + u": the query gives more fields than a grid holds");
  FFileLoading = true;
  TScopeGuard loading([this] { FFileLoading = false; });
  SetColCount(n + fc);
  if (fr > 0)
    for (int i = 0; i < n; ++i) SetCells(fc + i, fr - 1, q.Fields[static_cast<size_t>(i)]);
  if (!q.Rows.empty()) SetRowCount(fr + static_cast<int>(q.Rows.size()));
  int row = fr;
  for (const auto& rec : q.Rows) {
    if (row >= RowCount()) SetRowCount(row + 1);
    for (int i = 0; i < n; ++i) {
      const auto& v = rec[static_cast<size_t>(i)];
      LoadCell(fc + i, row, v && !v->empty() ? *v : String());
    }
    ++row;
  }
  CellsChanged(TRect(0, 0, ColCount(), RowCount()));
  RecalcFooterAll();
}

void DEreDuzeroVaro::ChangeScale(int M, int D) {
  if (M == D || D == 0) return;
  FFixedFont->SetSize(MulDiv(FFixedFont->Size(), M, D));
  FActiveCellFont->SetSize(MulDiv(FActiveCellFont->Size(), M, D));
}
