// The filter test of one row.
#include "controls/HtmlText.h"
#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "platform/rtl/SysUtils.h"

bool DEreDuzeroVaro::RowMatchesFilter(int ARow) {
  bool result = true;
  for (int i = 0; i < FFilter->Count(); ++i) {
    TFilterData* cond = FFilter->Items(i);
    int col = cond->Column();
    String value;
    switch (cond->Data()) {
      case fcVirtual: value = Cells(col, ARow); break;
      case fcNormal: value = GridCells(col, ARow); break;
      case fcStripHTML: value = StripHtmlTags(Cells(col, ARow)); break;
      case fcCalculated: value = GetPrintCellText(col, ARow); break;
      case fcRow:
        for (int c = 0; c < ColCount(); ++c) value += Cells(c, ARow) + u"\r\n";
        break;
    }
    value = Trim(value);
    if (value.find(u"|\\") != String::npos) value = UnpackWideText(value);
    bool match;
    if (cond->Data() == fcRow) {
      match = AnsiUpperCase(value).find(AnsiUpperCase(cond->Condition())) != String::npos;
    } else {
      if (!cond->Prefix().empty() && value.rfind(cond->Prefix(), 0) == 0) value.erase(0, cond->Prefix().size());
      if (!cond->Suffix().empty()) {
        size_t p = value.find(cond->Suffix());
        if (p != String::npos && p + cond->Suffix().size() == value.size()) value.erase(p);
      }
      try {
        match = cond->Condition().empty() || MatchFilterCondition(cond->Condition(), value, cond->CaseSensitive());
      } catch (const Exception&) {
        match = false;  // a condition that cannot be read matches nothing
      }
    }
    switch (cond->Operation()) {
      case foSHORT:
      case foNONE: result = match; break;
      case foAND: result = result && match; break;
      case foXOR: result = result != match; break;
      case foOR: result = result || match; break;
    }
    if (cond->Operation() == foSHORT && !match) break;
  }
  if (OnCustomFilter) OnCustomFilter(this, ARow, result);
  return result;
}
