#pragma once
// Fixtures of the string grid's tests: a grid shown on a form, and objects that tell when
// they are freed.

#include "grid/AdvGrid.h"
#include "platform/ui/Forms.h"
#include "testing/TestSupport.h"

// A grid of 500 x 300 on a shown form of 600 x 400; the form owns the grid.
struct TGridForm {
  TForm form{nullptr};
  DEreDuzeroVaro* grid = new DEreDuzeroVaro(&form);
  TGridForm() {
    form.SetBounds(50, 50, 600, 400);
    grid->SetParent(&form);
    grid->SetBounds(0, 0, 500, 300);
    form.Show();
    ProcessPendingEvents();
  }
};

// Makes a grid of Cols x Rows without fixed rows or columns, so that the save range and the
// selection cover every cell.
inline void PlainGrid(DEreDuzeroVaro* Grid, int Cols, int Rows) {
  Grid->SetFixedRows(0);
  Grid->SetFixedCols(0);
  Grid->SetColCount(Cols);
  Grid->SetRowCount(Rows);
}

// An object of class Base that sets *Freed when it goes.
template <class Base>
struct TFreeWatch : Base {
  bool* Freed;
  explicit TFreeWatch(bool* F) : Freed(F) {}
  ~TFreeWatch() override { *Freed = true; }
};
