// The demo's "Exchange" menu: the channel table saved as HTML, XML, a workbook or a document,
// loaded from XML, a workbook or an SQLite database, added to a document, and copied as HTML.
// The file name's extension chooses the format.
#include "grid/demo/GridDemo.h"
#include "platform/exchange/Exchange.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Dialogs.h"

namespace {

String Ext(const String& FileName) { return LowerCase(ExtractFileExt(FileName)); }

// Runs an exchange step; a failure is shown to the operator, never lost.
void Attempt(const std::function<void()>& Step) {
  try {
    Step();
  } catch (const Exception& e) {
    ShowMessage(e.Message());
  }
}

void SaveAs(DEreDuzeroVaro* G, const String& FileName) {
  const String e = Ext(FileName);
  if (e == u".html" || e == u".htm") G->SaveToHTML(FileName);
  else if (e == u".xml") G->SaveToXML(FileName, u"channels", u"channel", nullptr, true);
  else if (e == u".xlsx" || e == u".ods") G->SaveToXLSSheet(FileName, u"Channels");
  else if (e == u".docx" || e == u".odt") G->SaveToDOC(FileName);
  else ShowMessage(u"Unknown file type: " + FileName);
}

void Open(DEreDuzeroVaro* G, const String& FileName) {
  const String e = Ext(FileName);
  if (e == u".xml") {
    G->LoadFromXML(FileName);
  } else if (e == u".xlsx" || e == u".ods" || e == u".xls") {
    G->LoadFromXLS(FileName);
  } else if (e == u".db" || e == u".sqlite" || e == u".sqlite3") {
    // The database's first table.
    exchange::TQueryResult t = exchange::QueryDatabase(
        FileName, u"SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid LIMIT 1", 1);
    if (t.Rows.empty() || !t.Rows[0][0]) throw Exception(u"No table in " + FileName);
    G->LoadFromMDBTable(FileName, *t.Rows[0][0]);
  } else {
    ShowMessage(u"Unknown file type: " + FileName);
  }
}

}  // namespace

void AddGridDemoExchange(TGridDemoForm& Form) {
  TMenuItem* menu = Form.DemoMenu(u"E&xchange");
  Form.AddDemoItem(menu, u"&Save as...", [&Form] {
    TSaveDialog dialog(&Form);
    dialog.SetTitle(u"Save the grid as");
    dialog.SetFilter(
        u"Workbooks (*.xlsx;*.ods)|*.xlsx;*.ods|Documents (*.docx;*.odt)|*.docx;*.odt|HTML (*.html)|*.html|XML (*.xml)|*.xml");
    dialog.SetDefaultExt(u"xlsx");
    if (dialog.Execute()) Attempt([&] { SaveAs(Form.Grid(), dialog.FileName()); });
  });
  Form.AddDemoItem(menu, u"&Open...", [&Form] {
    TOpenDialog dialog(&Form);
    dialog.SetTitle(u"Open into the grid");
    dialog.SetFilter(u"Workbooks (*.xlsx;*.ods;*.xls)|*.xlsx;*.ods;*.xls|XML (*.xml)|*.xml|SQLite databases (*.db;*.sqlite)|*.db;*.sqlite");
    if (dialog.Execute()) Attempt([&] { Open(Form.Grid(), dialog.FileName()); });
  });
  Form.AddDemoItem(menu, u"&Add to document...", [&Form] {
    TOpenDialog dialog(&Form);
    dialog.SetTitle(u"Add the grid to a document");
    dialog.SetFilter(u"Documents (*.docx;*.odt)|*.docx;*.odt");
    if (dialog.Execute()) Attempt([&] { Form.Grid()->AppendToDoc(dialog.FileName(), String()); });
  });
  Form.AddDemoItem(menu, u"&Copy as HTML", [&Form] { Attempt([&] { Form.Grid()->CopyToClipBoardAsHTML(); }); });
}
