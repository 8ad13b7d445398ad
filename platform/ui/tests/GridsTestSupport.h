#pragma once
// The fixture of the base grid tests.

#include <gtest/gtest.h>

#include "platform/ui/Forms.h"
#include "platform/ui/Grids.h"
#include "StdCtrlsTestSupport.h"

// A string grid whose protected members the tests call.
struct TTestGrid : TStringGrid {
  using TStringGrid::TStringGrid;
  using TStringGrid::CalcSizingState;
  using TStringGrid::DeleteRow;
  using TStringGrid::DeleteColumn;
  using TStringGrid::InvalidateEditor;
};

// A shown form holding a 5 x 5 string grid of 40 x 20 cells (one fixed row and column),
// with room for every cell unless a test shrinks it.
struct GridFixture : ::testing::Test {
  TForm form{nullptr};
  TTestGrid* grid = nullptr;
  void SetUp() override {
    form.SetBounds(0, 0, 420, 300);
    grid = new TTestGrid(&form);
    grid->SetParent(&form);
    grid->SetDefaultColWidth(40);
    grid->SetDefaultRowHeight(20);
    grid->SetBounds(10, 10, 300, 200);
    form.Show();
    ProcessPendingEvents();
  }
  // The middle of a cell, in the grid's client coordinates.
  TPoint Centre(int c, int r) const {
    TRect rc = grid->CellRect(c, r);
    return TPoint((rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2);
  }
  void ClickCell(int c, int r, TShiftState shift = {}) {
    TPoint p = Centre(c, r);
    SimulateClick(grid, p.X, p.Y, mbLeft, shift);
  }
};
