// The grid's rich edit (kept apart from the grid's header; see AdvGridValuesRich.h).
#include "grid/AdvGridValuesRichEdit.h"

#include "grid/AdvGridValuesRich.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/ClassRegistry.h"

TAdvRichEdit::TAdvRichEdit(TComponent* AOwner) : TCustomRichEdit(AOwner), FGrid(GridOfOwner(AOwner)) {
  if (FGrid == nullptr) throw EInvalidCast(u"Invalid class typecast");
}

void TAdvRichEdit::ReCreate() { RecreateWnd(); }

void TAdvRichEdit::SetSelOffset(LONG Twips) {
  CHARFORMATW f;
  f.dwMask = CFM_OFFSET;
  f.yOffset = Twips;
  Perform(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&f));
}

LONG TAdvRichEdit::SelOffset() {
  CHARFORMATW f;
  f.dwMask = CFM_OFFSET;
  Perform(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&f));
  return f.yOffset;
}

void TAdvRichEdit::RequestSize(const TRect& Rect) {
  if (!ComponentState().Contains(csDesigning) && IsGridRenderer(FGrid, this)) {
    FReqWidth = Rect.Width();
    FReqHeight = Rect.Height();
  } else if (!ComponentState().Contains(csDesigning)) {
    GridRichEditorRequestsHeight(FGrid, this, Rect.Height());
  }
  TCustomRichEdit::RequestSize(Rect);
}

void TAdvRichEdit::KeyDown(Word& Key, TShiftState Shift) {
  TCustomRichEdit::KeyDown(Key, Shift);
  if ((Key == VK_UP || Key == VK_DOWN) && GridTakesVerticalKeys(FGrid)) GridHandleKey(FGrid, Key, Shift);
}

void TAdvRichEdit::WMKillFocus(TWMKillFocus& Message) {
  if (!IsGridRenderer(FGrid, this)) GridRichEditorLosesFocus(FGrid, Message.FocusedWnd());
  TCustomRichEdit::WMKillFocus(Message);
}

TAdvRichEdit* CreateAdvRichEdit(TComponent* Owner) { return new TAdvRichEdit(Owner); }

TCustomRichEdit* AsRichEdit(TAdvRichEdit* Edit) { return Edit; }

void RegisterAdvRichEditClass(const String& Name) { RegisterClass<TAdvRichEdit>(Name); }

void RichLoadBytes(TCustomRichEdit* Edit, const std::string& Bytes) {
  if (Bytes.empty()) {
    Edit->Clear();
    return;
  }
  TMemoryStream ms;
  ms.Write(Bytes.data(), static_cast<int32_t>(Bytes.size()));
  ms.SetPosition(0);
  Edit->Lines()->LoadFromStream(&ms);
}

std::string RichSaveBytes(TCustomRichEdit* Edit) {
  TMemoryStream ms;
  Edit->Lines()->SaveToStream(&ms);
  return std::string(static_cast<const char*>(ms.Memory()), static_cast<size_t>(ms.Size()));
}

String RichPlainText(TCustomRichEdit* Edit) { return Edit->Text(); }

TPoint RichRequestedSize(TAdvRichEdit* Edit, int Width, int Height, bool WordWrap) {
  Edit->SetBounds(0, 0, Width, Height);
  Edit->SetWordWrap(true);
  Edit->SetWordWrap(false);
  Edit->SetWordWrap(WordWrap);
  return TPoint(Edit->ReqWidth(), Edit->ReqHeight());
}
