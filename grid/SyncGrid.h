#pragma once
// Settings of a second grid kept in step with the grid that owns them: which of its scroll
// position, current cell and column and row moves the owner mirrors onto it.

#include "platform/rtl/Component.h"

class TStringGrid;

class TSyncGrid : public TPersistent {
public:
  explicit TSyncGrid(TComponent* AOwner) : FOwner(AOwner) {}
  String ClassName() const override { return u"TSyncGrid"; }
  void Assign(TPersistent* Source) override;

  TStringGrid* Grid() const { return FGrid; }
  // The owner itself is not taken: a grid kept in step with itself would follow itself.
  void SetGrid(TStringGrid* Value);
  bool ScrollHorizontal() const { return FScrollHorizontal; }
  void SetScrollHorizontal(bool Value) { FScrollHorizontal = Value; }
  bool ScrollVertical() const { return FScrollVertical; }
  void SetScrollVertical(bool Value) { FScrollVertical = Value; }
  bool SelectionRow() const { return FSelectionRow; }
  void SetSelectionRow(bool Value) { FSelectionRow = Value; }
  bool SelectionColumn() const { return FSelectionColumn; }
  void SetSelectionColumn(bool Value) { FSelectionColumn = Value; }
  bool MoveRow() const { return FMoveRow; }
  void SetMoveRow(bool Value) { FMoveRow = Value; }
  bool MoveColumn() const { return FMoveColumn; }
  void SetMoveColumn(bool Value) { FMoveColumn = Value; }

private:
  TComponent* FOwner;
  bool FScrollHorizontal = false;
  TStringGrid* FGrid = nullptr;
  bool FScrollVertical = false;
  bool FSelectionRow = false;
  bool FSelectionColumn = false;
  bool FMoveRow = false;
  bool FMoveColumn = false;
};
