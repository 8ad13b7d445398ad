// The undo history of a grid's cell texts: single changes, runs, the history limit and the
// links to the grid.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "grid/AdvGridUndoRedo.h"
#include "grid/BaseGrid.h"
#include "platform/ui/Forms.h"

namespace {

struct TUndoGrid {
  TForm form{nullptr};
  TBaseGrid* grid = new TBaseGrid(&form);
  TAdvGridUndoRedo* undo = new TAdvGridUndoRedo(&form);
  struct Call {
    int col, row;
    String now, written;
  };
  std::vector<Call> undos, redos;

  TUndoGrid() {
    grid->SetParent(&form);
    grid->SetColCount(6);
    grid->SetRowCount(6);
    undo->SetGrid(grid);
    undo->OnUndo = [this](TObject* Sender, TBaseGrid* Grid, int Col, int Row, const String& Orig, const String& New) {
      EXPECT_EQ(Sender, undo);
      EXPECT_EQ(Grid, grid);
      undos.push_back({Col, Row, Orig, New});
    };
    undo->OnRedo = [this](TObject*, TBaseGrid*, int Col, int Row, const String& Orig, const String& New) {
      redos.push_back({Col, Row, Orig, New});
    };
  }
  // A change the user made: the cell gets its new text and the change is recorded.
  void Change(int Col, int Row, const String& Value) {
    const String old = grid->Cells(Col, Row);
    grid->SetCells(Col, Row, Value);
    undo->RegisterChange(Col, Row, old, Value);
  }
  String Texts() {
    String t;
    for (int c = 1; c <= 4; ++c) t += (grid->Cells(c, 1).empty() ? String(u"-") : grid->Cells(c, 1)) + u" ";
    return t;
  }
};

}  // namespace

TEST(AdvGridUndoRedo, LinkingSetsTheGridAndAFreedGridIsForgotten) {
  TUndoGrid f;
  EXPECT_EQ(f.undo->Grid(), f.grid);
  EXPECT_EQ(f.undo->Level(), 0);
  EXPECT_EQ(f.undo->MaxLevel(), 0);
  f.Change(1, 1, u"a");
  delete f.grid;
  EXPECT_EQ(f.undo->Grid(), nullptr);
  f.undo->Undo();
  f.undo->Redo();
  EXPECT_EQ(f.undo->Level(), 1);
  EXPECT_TRUE(f.undos.empty());
}

TEST(AdvGridUndoRedo, UndoWritesTheEarlierTextAndMakesTheCellCurrent) {
  TUndoGrid f;
  f.grid->SetCells(2, 3, u"old");
  f.Change(2, 3, u"new");
  f.grid->SetCol(4);
  f.grid->SetRow(1);
  EXPECT_TRUE(f.undo->CanUndo());
  EXPECT_FALSE(f.undo->CanRedo());
  f.undo->Undo();
  EXPECT_EQ(f.grid->Cells(2, 3), u"old");
  ASSERT_EQ(f.undos.size(), 1u);
  EXPECT_EQ(f.undos[0].col, 2);
  EXPECT_EQ(f.undos[0].row, 3);
  EXPECT_EQ(f.undos[0].now, u"new");
  EXPECT_EQ(f.undos[0].written, u"old");
  EXPECT_EQ(f.grid->Col(), 2);
  EXPECT_EQ(f.grid->Row(), 3);
  EXPECT_EQ(f.undo->Level(), 0);
  // Nothing more to undo; redo once, then nothing more to redo.
  f.undo->Undo();
  EXPECT_EQ(f.undos.size(), 1u);
  f.undo->Redo();
  EXPECT_EQ(f.grid->Cells(2, 3), u"new");
  f.undo->Redo();
  EXPECT_EQ(f.redos.size(), 1u);
  EXPECT_EQ(f.undo->Level(), 1);
  f.undo->Reset();
  EXPECT_FALSE(f.undo->CanUndo());
  EXPECT_FALSE(f.undo->CanRedo());
  EXPECT_EQ(f.undo->Items()->Count(), 0);
}

TEST(AdvGridUndoRedo, ARunIsUndoneBackwardsAndRedoneForwardsAsOneStep) {
  TUndoGrid f;
  f.Change(4, 1, u"x");
  f.undo->StartSequence();
  f.Change(1, 1, u"a");
  f.Change(2, 1, u"b");
  f.Change(3, 1, u"c");
  f.undo->StopSequence();
  EXPECT_EQ(f.undo->Items()->Count(), 6);
  f.undo->Undo();
  EXPECT_EQ(f.Texts(), u"- - - x ");
  ASSERT_EQ(f.undos.size(), 3u);
  EXPECT_EQ(f.undos[0].col, 3);
  EXPECT_EQ(f.undos[2].col, 1);
  EXPECT_EQ(f.undo->Level(), 1);
  f.undo->Redo();
  EXPECT_EQ(f.Texts(), u"a b c x ");
  ASSERT_EQ(f.redos.size(), 3u);
  EXPECT_EQ(f.redos[0].col, 1);
  EXPECT_EQ(f.redos[2].col, 3);
  EXPECT_EQ(f.undo->Level(), 6);
  f.undo->Undo();
  f.undo->Undo();
  EXPECT_EQ(f.Texts(), u"- - - - ");
  EXPECT_EQ(f.undo->Level(), 0);
}

TEST(AdvGridUndoRedo, AChangeAfterAnUndoDropsTheUndoneChanges) {
  TUndoGrid f;
  f.Change(1, 1, u"a");
  f.Change(2, 1, u"b");
  f.undo->Undo();
  f.Change(3, 1, u"c");
  EXPECT_EQ(f.undo->Items()->Count(), 2);
  EXPECT_FALSE(f.undo->CanRedo());
  f.undo->Redo();
  EXPECT_EQ(f.Texts(), u"a - c - ");
  f.undo->Undo();
  f.undo->Undo();
  EXPECT_EQ(f.Texts(), u"- - - - ");
  // The abandoned change never comes back.
  f.undo->Redo();
  f.undo->Redo();
  EXPECT_EQ(f.Texts(), u"a - c - ");
}

TEST(AdvGridUndoRedo, TheHistoryLimitDropsWholeOldestSteps) {
  TUndoGrid f;
  f.undo->SetMaxLevel(3);
  for (const char16_t* v : {u"1", u"2", u"3", u"4"}) f.Change(1, 1, v);
  EXPECT_EQ(f.undo->Items()->Count(), 3);
  for (int i = 0; i < 5; ++i) f.undo->Undo();
  EXPECT_EQ(f.grid->Cells(1, 1), u"1");

  // A run is dropped as a whole, never in part.
  f.undo->Reset();
  f.undo->SetMaxLevel(4);
  f.undo->StartSequence();
  f.Change(1, 1, u"a");
  f.Change(2, 1, u"b");
  f.undo->StopSequence();
  f.Change(3, 1, u"c");
  EXPECT_EQ(f.undo->Items()->Count(), 1);
  EXPECT_EQ(f.undo->Level(), 1);
  f.undo->Undo();
  f.undo->Undo();
  EXPECT_EQ(f.Texts(), u"a b - - ");

  // A run longer than the limit stays whole while it is the last step; an open run stays too.
  f.undo->Reset();
  f.undo->SetMaxLevel(2);
  f.undo->StartSequence();
  f.Change(1, 1, u"p");
  f.Change(2, 1, u"q");
  f.Change(3, 1, u"r");
  EXPECT_EQ(f.undo->Items()->Count(), 4);
  f.undo->StopSequence();
  EXPECT_EQ(f.undo->Items()->Count(), 5);
  f.undo->Undo();
  EXPECT_EQ(f.Texts(), u"a b - - ");
  EXPECT_EQ(f.undo->Level(), 0);
  // A lower limit never drops what can still be redone.
  f.undo->SetMaxLevel(1);
  EXPECT_EQ(f.undo->Items()->Count(), 5);
  f.undo->Redo();
  EXPECT_EQ(f.Texts(), u"p q r - ");
}

TEST(AdvGridUndoRedo, UnpairedMarkersKeepTheLevelInRange) {
  TUndoGrid f;
  // A stop without a start and a run without changes leave nothing.
  f.undo->StopSequence();
  f.undo->StartSequence();
  f.undo->StopSequence();
  EXPECT_EQ(f.undo->Items()->Count(), 0);
  // A start inside an open run joins it.
  f.undo->StartSequence();
  f.Change(1, 1, u"a");
  f.undo->StartSequence();
  f.Change(2, 1, u"b");
  f.undo->StopSequence();
  EXPECT_EQ(f.undo->Items()->Count(), 4);
  f.undo->Undo();
  EXPECT_EQ(f.Texts(), u"- - - - ");
  EXPECT_EQ(f.undo->Level(), 0);
  f.undo->Undo();
  EXPECT_EQ(f.undo->Level(), 0);

  // A run left open at the end of the history is undone change by change and redone to its end.
  f.undo->Reset();
  f.undo->StartSequence();
  f.Change(1, 1, u"a");
  f.Change(2, 1, u"b");
  f.undo->Undo();
  f.undo->Undo();
  EXPECT_EQ(f.Texts(), u"- - - - ");
  EXPECT_EQ(f.undo->Level(), 1);
  f.undo->Undo();
  EXPECT_EQ(f.undo->Level(), 0);
  f.undo->Redo();
  EXPECT_EQ(f.Texts(), u"a b - - ");
  EXPECT_EQ(f.undo->Level(), 3);
  EXPECT_FALSE(f.undo->CanRedo());
}

TEST(AdvGridUndoRedo, ChangesOutsideTheScrollableCellsAreWrittenWithoutMovingTheCurrentCell) {
  TUndoGrid f;
  f.Change(0, 0, u"title");
  f.Change(9, 2, u"far");
  f.grid->SetCol(3);
  f.grid->SetRow(3);
  f.undo->Undo();
  f.undo->Undo();
  EXPECT_EQ(f.grid->Cells(9, 2), u"");
  EXPECT_EQ(f.grid->Cells(0, 0), u"");
  EXPECT_EQ(f.grid->Col(), 3);
  EXPECT_EQ(f.grid->Row(), 3);
}
