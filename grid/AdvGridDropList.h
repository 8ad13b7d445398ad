// The lists a header's filter button opens: a single-choice list and a check list.
#pragma once

#include <functional>

#include "platform/ui/CheckLst.h"
#include "platform/ui/StdCtrls.h"

class DEreDuzeroVaro;

using TDropSelectEvent = std::function<void(TObject* Sender, int ItemIndex)>;

// Enter or a click picks the current entry: the list hides and reports it.
class TDropList : public TListBox {
public:
  explicit TDropList(DEreDuzeroVaro* Grid);
  String ClassName() const override { return u"TDropList"; }
  TDropSelectEvent OnSelect;

protected:
  void WndProc(TMessage& Message) override;
  void KeyPress(Char& Key) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  DEreDuzeroVaro* FGrid;
};

// Stays open while entries are checked; every toggle reports -1 so that the grid rebuilds
// the column's conditions from all checked entries.
class TDropCheckList : public TCheckListBox {
public:
  explicit TDropCheckList(DEreDuzeroVaro* Grid);
  String ClassName() const override { return u"TDropCheckList"; }
  TDropSelectEvent OnSelect;

protected:
  void WndProc(TMessage& Message) override;
  void ClickCheck() override;

private:
  DEreDuzeroVaro* FGrid;
};
