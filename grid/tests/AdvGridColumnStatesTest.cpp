// Column widths kept in an ini file and read back by the next grid.
#include <gtest/gtest.h>

#include "grid/AdvGrid.h"
#include "platform/ui/Forms.h"
#include "testing/TempFolder.h"
#include "testing/TestSupport.h"

namespace {

void UseIniFile(DEreDuzeroVaro* Grid, const String& File) {
  Grid->ColumnSize()->SetLocation(clIniFile);
  Grid->ColumnSize()->SetKey(File);
  Grid->ColumnSize()->SetSection(u"Channels");
  Grid->ColumnSize()->SetSave(true);
}

}  // namespace

TEST(AdvGridColumnStates, WidthsSavedWhenTheGridGoesComeBackWithTheNextWindow) {
  TempFolder dir;
  TForm form(nullptr);
  form.Show();
  auto* first = new DEreDuzeroVaro(&form);
  UseIniFile(first, dir.FileS("cols.ini"));
  first->SetColWidths(1, 80);
  first->SetColWidths(4, 33);
  delete first;
  std::string text = dir.Read("cols.ini");
  EXPECT_NE(text.find("[Channels]"), std::string::npos);
  EXPECT_NE(text.find("Col1=80"), std::string::npos);

  auto* second = new DEreDuzeroVaro(&form);
  UseIniFile(second, dir.FileS("cols.ini"));
  EXPECT_EQ(second->ColWidths(1), second->DefaultColWidth());
  second->SetParent(&form);
  second->HandleNeeded();
  EXPECT_EQ(second->ColWidths(1), 80);
  EXPECT_EQ(second->ColWidths(4), 33);
  second->ColumnSize()->SetSave(false);
  delete second;
}

TEST(AdvGridColumnStates, NoStoredValuesOrNoKeyLeaveTheWidths) {
  TempFolder dir;
  DEreDuzeroVaro g(nullptr);
  g.SetColWidths(2, 50);
  g.ColumnSize()->SetLocation(clIniFile);
  g.ColumnSize()->SetKey(dir.FileS("empty.ini"));
  g.LoadColSizes();
  EXPECT_EQ(g.ColWidths(2), 50);  // no section: nothing read
  g.ColumnSize()->SetSection(u"Grid");
  g.LoadColSizes();
  EXPECT_EQ(g.ColWidths(2), 50);
}

TEST(AdvGridColumnStates, AStoreThatCannotBeWrittenIsReportedWhenTheGridGoes) {
  TempFolder dir;
  String reported;
  TExceptionReport previous = SetExceptionReport([&](const String& Message) { reported = Message; });
  auto* g = new DEreDuzeroVaro(nullptr);
  UseIniFile(g, dir.FileS("no-such-folder/cols.ini"));
  delete g;
  SetExceptionReport(previous);
  EXPECT_FALSE(reported.empty());
}
