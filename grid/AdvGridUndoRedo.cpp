// The undo history of a grid's cell texts.
#include "grid/AdvGridUndoRedo.h"

#include <algorithm>

#include "grid/BaseGrid.h"

TAdvGridUndoRedo::TAdvGridUndoRedo(TComponent* AOwner)
    : TComponent(AOwner), FItems(std::make_unique<TUndoRedoCollection>()) {}

TAdvGridUndoRedo::~TAdvGridUndoRedo() { Destroying(); }

void TAdvGridUndoRedo::SetGrid(TBaseGrid* Value) {
  if (Value == FGrid) return;
  if (FGrid != nullptr) FGrid->RemoveFreeNotification(this);
  FGrid = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TAdvGridUndoRedo::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && FGrid != nullptr && AComponent == FGrid) FGrid = nullptr;
  TComponent::Notification(AComponent, Operation);
}

void TAdvGridUndoRedo::SetMaxLevel(int Value) {
  FMaxLevel = Value;
  Trim(0);
}

// ---- recording

TUndoRedoItem* TAdvGridUndoRedo::Append() {
  TUndoRedoItem* item = FItems->Add();
  FLevel = FItems->Count();
  return item;
}

void TAdvGridUndoRedo::DropUndone() {
  while (FItems->Count() > FLevel) FItems->Delete(FItems->Count() - 1);
  if (FOpenStart >= FLevel) FOpenStart = -1;
}

void TAdvGridUndoRedo::DeleteOldest(int Count) {
  FItems->BeginUpdate();
  for (int i = 0; i < Count; ++i) FItems->Delete(0);
  FItems->EndUpdate();
  FLevel = std::max(0, FLevel - Count);
  if (FOpenStart >= 0) FOpenStart -= Count;
}

int TAdvGridUndoRedo::OldestStep() const {
  const int n = FItems->Count();
  if (n == 0) return 0;
  if (!FItems->Items(0)->SequenceStart()) return 1;
  for (int i = 1; i < n; ++i)
    if (FItems->Items(i)->SequenceStop()) return i + 1;
  return 0;
}

void TAdvGridUndoRedo::Trim(int Room) {
  if (FMaxLevel <= 0) return;
  while (FItems->Count() + Room > FMaxLevel) {
    const int step = OldestStep();
    // An open run, a step not applied (it can still be redone) and the step just recorded stay.
    if (step == 0 || step > FLevel || (Room == 0 && step == FItems->Count())) return;
    DeleteOldest(step);
  }
}

void TAdvGridUndoRedo::RegisterChange(int ACol, int ARow, const String& OrigValue, const String& Value) {
  DropUndone();
  Trim(1);
  TUndoRedoItem* item = Append();
  item->SetCol(ACol);
  item->SetRow(ARow);
  item->SetValue(Value);
  item->SetOrigValue(OrigValue);
}

void TAdvGridUndoRedo::StartSequence() {
  DropUndone();
  if (FOpenStart >= 0) return;
  Trim(1);
  TUndoRedoItem* item = Append();
  item->SetCol(-1);
  item->SetRow(-1);
  item->SetSequenceStart(true);
  FOpenStart = FItems->Count() - 1;
}

void TAdvGridUndoRedo::StopSequence() {
  DropUndone();
  if (FOpenStart < 0) return;
  const int start = FOpenStart;
  FOpenStart = -1;
  // A run without changes leaves no step behind.
  if (start == FItems->Count() - 1) {
    FItems->Delete(start);
    FLevel = FItems->Count();
    return;
  }
  TUndoRedoItem* item = Append();
  item->SetCol(-1);
  item->SetRow(-1);
  item->SetSequenceStop(true);
}

void TAdvGridUndoRedo::Reset() {
  FItems->Clear();
  FLevel = 0;
  FOpenStart = -1;
}

// ---- undoing and redoing

void TAdvGridUndoRedo::Apply(TUndoRedoItem* Item, bool Undoing) {
  const String& text = Undoing ? Item->OrigValue() : Item->Value();
  const TAdvGridUndoRedoEvent& event = Undoing ? OnUndo : OnRedo;
  if (event) event(this, FGrid, Item->Col(), Item->Row(), FGrid->Cells(Item->Col(), Item->Row()), text);
  // The event may have unlinked the grid.
  if (FGrid == nullptr) return;
  FGrid->SetCells(Item->Col(), Item->Row(), text);
  // The changed cell becomes the current one when it can be (not a fixed or removed cell).
  const int col = FGrid->DisplColIndex(Item->Col()), row = Item->Row();
  if (col >= FGrid->FixedCols() && col < FGrid->ColCount() && row >= FGrid->FixedRows() && row < FGrid->RowCount()) {
    FGrid->SetCol(col);
    FGrid->SetRow(row);
  }
}

void TAdvGridUndoRedo::Undo() {
  // Start markers at the top (a run opened without changes after it) are stepped over.
  while (FGrid != nullptr && FLevel > 0 && FLevel <= FItems->Count()) {
    int i = FLevel - 1;
    TUndoRedoItem* item = FItems->Items(i);
    if (item->SequenceStart()) {
      FLevel = i;
      continue;
    }
    if (item->SequenceStop()) {
      --i;
      while (i >= 0 && !FItems->Items(i)->SequenceStart() && FGrid != nullptr) {
        FLevel = i + 1;
        Apply(FItems->Items(i), true);
        --i;
      }
      // The run's start marker (or the history's beginning) is where the step began.
      FLevel = std::max(i, 0);
      if (FGrid != nullptr) FGrid->Invalidate();
      return;
    }
    Apply(item, true);
    if (FGrid != nullptr) FGrid->RepaintCell(FGrid->Col(), item->Row());
    FLevel = i;
    return;
  }
}

void TAdvGridUndoRedo::Redo() {
  if (FGrid == nullptr || FLevel < 0 || FLevel >= FItems->Count()) return;
  int i = FLevel;
  TUndoRedoItem* item = FItems->Items(i);
  if (item->SequenceStart()) {
    ++i;
    // To the run's stop marker, or to the history's end for a run still open.
    while (i < FItems->Count() && !FItems->Items(i)->SequenceStop() && FGrid != nullptr) {
      Apply(FItems->Items(i), false);
      ++i;
      FLevel = i;
    }
    FLevel = std::min(i + 1, FItems->Count());
    if (FGrid != nullptr) FGrid->Invalidate();
    return;
  }
  if (!item->SequenceStop()) Apply(item, false);
  FLevel = i + 1;
}
