// The cell check component's base: no flag set, every text kept, and a checker that overrides
// the operations reached through the base, as a grid calls it.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "grid/asgcheck.h"
#include "platform/rtl/SysUtils.h"

namespace {

// Upper-cases on correction, brackets on marking, and logs the range calls.
class TUpperChecker : public DEreDuzeroVaroCheck {
public:
  using DEreDuzeroVaroCheck::DEreDuzeroVaroCheck;
  std::vector<String> Log;
  String Correct(int ACol, int ARow, const String& s) override {
    Log.push_back(u"correct " + IntToStr(ACol) + u"," + IntToStr(ARow));
    String r = s;
    for (Char& c : r)
      if (c >= u'a' && c <= u'z') c = Char(c - u'a' + u'A');
    return r;
  }
  String MarkError(int, int, const String& s) override { return u"[" + s + u"]"; }
  void StartCheck() override { Log.push_back(u"start"); }
  void StopCheck() override { Log.push_back(u"stop"); }
};

TEST(CellCheck, TheBaseSetsNoFlagAndKeepsEveryText) {
  DEreDuzeroVaroCheck check(nullptr);
  EXPECT_FALSE(check.GotoCell());
  EXPECT_FALSE(check.AutoCorrect());
  EXPECT_FALSE(check.AutoMarkError());
  EXPECT_FALSE(check.UseCorrect());
  EXPECT_FALSE(check.UseMarkError());
  check.SetGotoCell(true);
  check.SetAutoCorrect(true);
  check.SetAutoMarkError(true);
  check.SetUseCorrect(true);
  check.SetUseMarkError(true);
  EXPECT_TRUE(check.GotoCell() && check.AutoCorrect() && check.AutoMarkError() && check.UseCorrect() &&
              check.UseMarkError());
  for (const String& s : {String(), String(u"abc"), String(u"|\\0A"), String(u"ｶﾀｶﾅ 1,234.5")}) {
    EXPECT_EQ(check.Correct(1, 2, s), s);
    EXPECT_EQ(check.MarkError(-1, 100000, s), s);
  }
  check.StartCheck();
  check.StopCheck();
}

TEST(CellCheck, ADerivedCheckerIsReachedThroughTheBaseAndFreedByItsOwner) {
  TComponent owner(nullptr);
  auto* checker = new TUpperChecker(&owner);
  DEreDuzeroVaroCheck* base = checker;
  base->StartCheck();
  EXPECT_EQ(base->Correct(3, 4, u"ab1"), u"AB1");
  EXPECT_EQ(base->MarkError(3, 4, u"ab1"), u"[ab1]");
  base->StopCheck();
  EXPECT_EQ(checker->Log, (std::vector<String>{u"start", u"correct 3,4", u"stop"}));
  EXPECT_EQ(base->ClassName(), u"DEreDuzeroVaroCheck");
  EXPECT_EQ(owner.ComponentCount(), 1);
}

}  // namespace
