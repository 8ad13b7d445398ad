#include <gtest/gtest.h>

#include "app/CHPlan.h"

TEST(ModelTable, OnlyJapanFillsTheList) {
  struct Case {
    const char16_t* Region;
    int Count;
  } cases[] = {{u"Japan", 2}, {u"All", 0}, {u"japan", 0}, {u"", 0}};
  for (const Case& c : cases) {
    TStringList items;
    ModelRows = {5, 6, 7};
    FillModelList(c.Region, &items);
    EXPECT_EQ(items.Count(), c.Count);
    EXPECT_EQ(static_cast<int>(ModelRows.size()), c.Count);
  }
  TStringList items;
  FillModelList(u"Japan", &items);
  EXPECT_EQ(items[0], u"RCV910X    426MHz");
  EXPECT_EQ(items[1], u"RCV910    426MHz");
}

TEST(ModelTable, ChannelFrequencyLooksUpAndRejectsOutOfRange) {
  FillModelList(u"Japan", nullptr);
  String t;
  EXPECT_TRUE(ChannelFrequency(0, 1, t));
  EXPECT_EQ(t, u"426.0250");
  EXPECT_TRUE(ChannelFrequency(1, 10, t));
  EXPECT_EQ(t, u"426.1375");
  EXPECT_TRUE(ChannelFrequency(0, 0, t));
  EXPECT_EQ(t, u"000");
  // Rows and channels outside the table never reach it.
  for (auto [row, ch] : {std::pair{-1, 1}, {2, 1}, {0, 11}, {0, -1}, {0, 127}}) {
    t.assign(3, u'x');
    EXPECT_FALSE(ChannelFrequency(row, ch, t));
    EXPECT_EQ(t, u"");
  }
  FillModelList(u"All", nullptr);
  EXPECT_FALSE(ChannelFrequency(0, 1, t));
}

TEST(ModelTable, SelectModelCopiesTheRowAndIgnoresUnknownRows) {
  FillModelList(u"Japan", nullptr);
  CurrentModel = TCurrentModel{};
  EXPECT_FALSE(SelectModel(2));
  EXPECT_EQ(CurrentModel.MaxCh, 127);
  EXPECT_TRUE(SelectModel(1));
  EXPECT_EQ(CurrentModel.MinCh, 1);
  EXPECT_EQ(CurrentModel.MaxCh, 10);
  EXPECT_EQ(CurrentModel.UnitKind, Rx);
  EXPECT_EQ(CurrentModel.GWidth, 100);
  EXPECT_FALSE(CurrentModel.flgSGcommand);
  EXPECT_EQ(CurrentModel.TableRow, 1);
}
