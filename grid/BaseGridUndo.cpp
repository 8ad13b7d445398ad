// The grid's link to its undo component.

#include "grid/AdvGridUndoRedo.h"
#include "grid/BaseGrid.h"

void TBaseGrid::SetUndoRedo(TAdvGridUndoRedo* Value) {
  if (Value == FUndoRedo) return;
  if (FUndoRedo != nullptr) FUndoRedo->RemoveFreeNotification(this);
  FUndoRedo = Value;
  if (Value != nullptr) {
    Value->SetGrid(this);
    Value->FreeNotification(this);
  }
}
