// A list box with a check box before every item.
#pragma once

#include <vector>

#include "platform/ui/StdCtrls.h"

class TCheckListBox : public TCustomListBox {
public:
  explicit TCheckListBox(TComponent* AOwner);
  ~TCheckListBox() override;
  String ClassName() const override { return u"TCheckListBox"; }

  // The check state of an item; new items come unchecked.
  bool Checked(int Index) const;
  void SetChecked(int Index, bool Value);

  // Fired after the user toggled an item's box (a click on it, or Space on the current item).
  TNotifyEvent OnClickCheck;

protected:
  void CreateWnd() override;
  virtual void ClickCheck();

private:
  // The states, kept in step with the items (inserted, removed, cleared) and the window.
  std::vector<bool> FChecked;
  // The states before the window's list was last reset, for the rows refilled after it.
  std::vector<bool> FBeforeReset;
  bool FApplying = false;
};
