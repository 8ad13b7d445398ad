#pragma once
// Undo and redo of a grid's cell texts: a history of changes, each undone and redone alone or,
// when bracketed by StartSequence and StopSequence, as one step.

#include <functional>
#include <memory>

#include "platform/rtl/Collections.h"
#include "platform/rtl/Component.h"

class TBaseGrid;

// One recorded change, or a sequence marker (Col and Row -1, no texts).
class TUndoRedoItem : public TCollectionItem {
public:
  explicit TUndoRedoItem(TCollection* Collection) : TCollectionItem(Collection) {}
  String ClassName() const override { return u"TUndoRedoItem"; }

  int Row() const { return FRow; }
  void SetRow(int Value) { FRow = Value; }
  int Col() const { return FCol; }
  void SetCol(int Value) { FCol = Value; }
  const String& Value() const { return FValue; }
  void SetValue(const String& Value) { FValue = Value; }
  const String& OrigValue() const { return FOrigValue; }
  void SetOrigValue(const String& Value) { FOrigValue = Value; }
  bool SequenceStart() const { return FSequenceStart; }
  void SetSequenceStart(bool Value) { FSequenceStart = Value; }
  bool SequenceStop() const { return FSequenceStop; }
  void SetSequenceStop(bool Value) { FSequenceStop = Value; }

private:
  int FRow = 0;
  int FCol = 0;
  String FValue;
  String FOrigValue;
  bool FSequenceStart = false;
  bool FSequenceStop = false;
};

class TUndoRedoCollection : public TCollection {
public:
  TUndoRedoCollection() : TCollection(ItemClassOf<TUndoRedoItem>()) {}
  String ClassName() const override { return u"TUndoRedoCollection"; }
  TUndoRedoItem* Items(int Index) const { return static_cast<TUndoRedoItem*>(TCollection::Items(Index)); }
  TUndoRedoItem* Add() { return static_cast<TUndoRedoItem*>(TCollection::Add()); }
};

// (Sender, Grid, Col, Row, the cell's text now, the text about to be written)
using TAdvGridUndoRedoEvent =
    std::function<void(TObject* Sender, TBaseGrid* Grid, int Col, int Row, const String& OrigValue, const String& NewValue)>;

class TAdvGridUndoRedo : public TComponent {
public:
  explicit TAdvGridUndoRedo(TComponent* AOwner);
  ~TAdvGridUndoRedo() override;
  String ClassName() const override { return u"TAdvGridUndoRedo"; }

  // Records a change of the cell at real column ACol. Changes undone before it are dropped,
  // as they can no longer be redone on top of it.
  virtual void RegisterChange(int ACol, int ARow, const String& OrigValue, const String& Value);
  // Bracket a run of changes undone and redone as one step. A start inside an open run joins
  // that run; a stop without an open run is ignored, and a run without changes leaves nothing.
  virtual void StartSequence();
  virtual void StopSequence();

  // Writes back the earlier text of the last applied step (a whole run at once) and makes the
  // changed cell the grid's current one. Nothing without a grid or a step to undo.
  void Undo();
  // Writes the later text of the next undone step again; a run still open at the end of the
  // history is redone to its end.
  void Redo();
  // Clears the history.
  void Reset();
  bool CanUndo() const { return FLevel > 0; }
  bool CanRedo() const { return FLevel < FItems->Count(); }

  TUndoRedoCollection* Items() const { return FItems.get(); }
  TBaseGrid* Grid() const { return FGrid; }
  void SetGrid(TBaseGrid* Value);
  // The number of items applied: items at positions Level and on can be redone.
  int Level() const { return FLevel; }
  // The history limit in items, 0 or less for none. The oldest steps go whole: a sequence
  // never loses part of its changes, and the step just recorded always stays.
  int MaxLevel() const { return FMaxLevel; }
  void SetMaxLevel(int Value);

  TAdvGridUndoRedoEvent OnUndo;
  TAdvGridUndoRedoEvent OnRedo;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TUndoRedoItem* Append();
  // Drops the oldest whole steps while more than Room items would exceed MaxLevel, keeping a
  // sequence still open and the step last recorded.
  void Trim(int Room);
  // The number of items of the step that starts at position 0 (0: a sequence still open).
  int OldestStep() const;
  void Apply(TUndoRedoItem* Item, bool Undoing);
  // Drops the items that were undone (positions Level and on).
  void DropUndone();
  void DeleteOldest(int Count);

  std::unique_ptr<TUndoRedoCollection> FItems;
  int FOpenStart = -1;  // position of the start marker of the run still open, or -1
  TBaseGrid* FGrid = nullptr;
  int FLevel = 0;
  int FMaxLevel = 0;
};
