// The filter drop-down lists and their opening from a header's filter button.
#include "grid/AdvGridDropList.h"

#include <algorithm>

#include "grid/AdvGrid.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "platform/win/WinUser.h"

namespace {

// The filter button takes the header cell's last pixels: R.Right-16 < X < R.Right-3, Y < R.Top+19.
constexpr int ButtonLeft = 16, ButtonRight = 3, ButtonHeight = 19;

// Cancel mode with the mouse outside the list: the list closes without a pick.
void CancelModeOutside(TWinControl* List, DEreDuzeroVaro* Grid, TMessage& Message) {
  if (Message.Msg != CM_CANCELMODE) return;
  POINT p{};
  GetCursorPos(&p);
  const TPoint c = List->ScreenToClient(p);
  if (c.X < 0 || c.Y < 0 || c.X >= List->Width() || c.Y >= List->Height()) {
    Grid->SetFilterCol(-1);
    List->SetVisible(false);
  }
}

// The shown part of a filter list entry: the text before the first "=", or all of it.
String ShownName(const String& Entry) {
  const size_t p = Entry.find(u'=');
  return p == String::npos ? Entry : Entry.substr(0, p);
}

}  // namespace

TDropList::TDropList(DEreDuzeroVaro* Grid) : TListBox(Grid), FGrid(Grid) {}

void TDropList::WndProc(TMessage& Message) {
  CancelModeOutside(this, FGrid, Message);
  TListBox::WndProc(Message);
}

void TDropList::KeyPress(Char& Key) {
  TListBox::KeyPress(Key);
  if (Key != 13 || !Visible()) return;
  SetVisible(false);
  if (OnSelect) OnSelect(this, ItemIndex());
}

void TDropList::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TListBox::MouseUp(Button, Shift, X, Y);
  // Only the release that picks: the list is hidden from then on.
  if (!Visible()) return;
  SetVisible(false);
  if (OnSelect) OnSelect(this, ItemIndex());
}

TDropCheckList::TDropCheckList(DEreDuzeroVaro* Grid) : TCheckListBox(Grid), FGrid(Grid) {}

void TDropCheckList::WndProc(TMessage& Message) {
  CancelModeOutside(this, FGrid, Message);
  TCheckListBox::WndProc(Message);
}

void TDropCheckList::ClickCheck() {
  TCheckListBox::ClickCheck();
  if (OnSelect) OnSelect(this, -1);
}

TDropList* DEreDuzeroVaro::DropList() {
  if (!FDropList) {
    FDropList = new TDropList(this);
    FDropList->SetBounds(0, 0, 0, 0);
    FDropList->SetVisible(false);
    FDropList->SetParent(this);
    FDropList->OnSelect = [this](TObject*, int ItemIndex) { FilterSelect(ItemIndex); };
  }
  return FDropList;
}

TDropCheckList* DEreDuzeroVaro::DropCheckList() {
  if (!FDropCheckList) {
    FDropCheckList = new TDropCheckList(this);
    FDropCheckList->SetBounds(0, 0, 0, 0);
    FDropCheckList->SetVisible(false);
    FDropCheckList->SetParent(this);
    FDropCheckList->OnSelect = [this](TObject*, int) {
      FFilterChecks.assign(static_cast<size_t>(FDropCheckList->Count()), false);
      for (int i = 0; i < FDropCheckList->Count(); ++i) FFilterChecks[static_cast<size_t>(i)] = FDropCheckList->Checked(i);
      FilterCheckSelect();
      FDropCheckList->Invalidate();
    };
  }
  return FDropCheckList;
}

void DEreDuzeroVaro::FilterDropDownRelease(int ACol, int ARow, int X, int Y) {
  const int rc = ACol >= 0 ? DisplToRealCol(ACol) : -1;
  if (ACol >= 0 && ARow >= 0 && ARow == FilterDropDownRow() && rc != FFilterCol) {
    const TRect r = CellRect(ACol, ARow);
    if (X > r.Right - ButtonLeft && X < r.Right - ButtonRight && Y < r.Top + ButtonHeight && BuildFilterList(rc)) {
      FFilterCol = rc;
      TCustomListBox* list = FilterDropDownCheck() ? static_cast<TCustomListBox*>(DropCheckList()) : DropList();
      // The other kind may still be open from before the setting changed.
      TCustomListBox* other = list == FDropList ? static_cast<TCustomListBox*>(FDropCheckList) : FDropList;
      if (other) other->SetVisible(false);
      list->SetColor(FFilterDropDown->Color());
      list->Font()->Assign(FFilterDropDown->Font());
      list->Clear();
      TBitmap measure;
      measure.Canvas()->Font()->Assign(FFilterDropDown->Font());
      int widest = 0;
      for (int i = 0; i < FFilterList->Count(); ++i) list->Items()->Add(ShownName(FFilterList->Strings(i)));
      for (int i = 0; i < FFilterList->Count(); ++i) {
        const String shown = ShownName(FFilterList->Strings(i));
        if (list == FDropCheckList) {
          const String quoted = shown.find(u' ') != String::npos ? u"\"" + shown + u"\"" : shown;
          for (int f = 0; f < FFilter->Count(); ++f) {
            TFilterData* d = FFilter->Items(f);
            if (d->Column() == rc && d->Condition() == quoted) FDropCheckList->SetChecked(i, true);
          }
        }
        widest = std::max(widest, measure.Canvas()->TextWidth(shown) + 8);
      }
      if (list == FDropList) FDropList->SetItemIndex(0);
      int w = FFilterDropDown->Width(), h = FFilterDropDown->Height();
      if (FFilterDropDown->AutoSize()) {
        list->HandleNeeded();
        const int itemHeight = list->Count() > 0 ? list->ItemRect(0).Height() : list->ItemHeight();
        h = itemHeight * list->Count() + 2 * GetSystemMetrics(SM_CYEDGE);
        w = widest + 2 * GetSystemMetrics(SM_CXEDGE);
      }
      int left = r.Right - ButtonLeft;
      if (FFilterDropDown->ColumnWidth()) {
        w = r.Right - r.Left;
        left = r.Left;
      }
      if (left + w > Width()) left = std::max(0, CellRect(ACol, 0).Right - w);
      list->SetParent(this);
      list->SetBounds(left, r.Top + 16, w, h);
      list->SetVisible(true);
      list->BringToFront();
      if (list->CanFocus()) list->SetFocus();
      WatchFilterListClose();
      return;
    }
  }
  // Anywhere else (or the open column's button again) the open list closes.
  CloseFilterLists();
}
