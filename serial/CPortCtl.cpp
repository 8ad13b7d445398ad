// The port-setting combo box and its selector.

#include "serial/CPortCtl.h"

void TComSelect::SetComProperty(TComProperty V) {
  FComProperty = V;
  switch (V) {
    case cpNone: if (FItems) FItems->Clear(); break;
    case cpPort: SelectPort(); break;
    case cpBaudRate: SelectBaudRate(); break;
    case cpDataBits: SelectDataBits(); break;
    case cpStopBits: SelectStopBits(); break;
    case cpParity: SelectParity(); break;
    case cpFlowControl: SelectFlowControl(); break;
  }
}

namespace {
template <typename E, typename F>
void Fill(TStrings* Items, E Last, F ToStr) {
  if (!Items) return;
  Items->BeginUpdate();
  Items->Clear();
  for (int i = 0; i <= int(Last); ++i) Items->Add(ToStr(static_cast<E>(i)));
  Items->EndUpdate();
}
}  // namespace

void TComSelect::SelectPort() {
  if (!FItems) return;
  FItems->Clear();
  EnumComPorts(FItems);
}
void TComSelect::SelectBaudRate() { Fill(FItems, br256000, BaudRateToStr); }
void TComSelect::SelectDataBits() { Fill(FItems, dbEight, DataBitsToStr); }
void TComSelect::SelectStopBits() { Fill(FItems, sbTwoStopBits, StopBitsToStr); }
void TComSelect::SelectParity() { Fill(FItems, prSpace, ParityToStr); }
void TComSelect::SelectFlowControl() { Fill(FItems, fcCustom, FlowControlToStr); }

void TComSelect::Change(const String& Text) {
  switch (FComProperty) {
    case cpNone: break;
    case cpPort: FPort = Text; break;
    case cpBaudRate: FBaudRate = StrToBaudRate(Text); break;
    case cpDataBits: FDataBits = StrToDataBits(Text); break;
    case cpStopBits: FStopBits = StrToStopBits(Text); break;
    case cpParity: FParity = StrToParity(Text); break;
    case cpFlowControl: FFlowControl = StrToFlowControl(Text); break;
  }
  if (FAutoApply) ApplySettings();
}

void TComSelect::ApplySettings() {
  if (!FComPort) return;
  switch (FComProperty) {
    case cpNone: break;
    case cpPort: FComPort->SetPort(FPort); break;
    case cpBaudRate: FComPort->SetBaudRate(FBaudRate); break;
    case cpDataBits: FComPort->SetDataBits(FDataBits); break;
    case cpStopBits: FComPort->SetStopBits(FStopBits); break;
    case cpParity: FComPort->Parity()->SetBits(FParity); break;
    case cpFlowControl: FComPort->FlowControl()->SetFlowControl(FFlowControl); break;
  }
}

void TComSelect::UpdateSettings(int& ItemIndex) {
  if (!FComPort || FComProperty == cpNone || !FItems) return;
  String text;
  switch (FComProperty) {
    case cpNone: return;
    case cpPort: text = FComPort->Port(); break;
    case cpBaudRate: text = BaudRateToStr(FComPort->BaudRate()); break;
    case cpDataBits: text = DataBitsToStr(FComPort->DataBits()); break;
    case cpStopBits: text = StopBitsToStr(FComPort->StopBits()); break;
    case cpParity: text = ParityToStr(FComPort->Parity()->Bits()); break;
    case cpFlowControl: text = FlowControlToStr(FComPort->FlowControl()->FlowControl()); break;
  }
  ItemIndex = FItems->IndexOf(text);
  if (ItemIndex < 0) return;
  bool autoApply = FAutoApply;
  FAutoApply = false;  // taking the port's own value writes nothing back
  Change(FItems->Strings(ItemIndex));
  FAutoApply = autoApply;
}

// ---- The combo box ---------------------------------------------------------------------------

TComComboBox::TComComboBox(TComponent* AOwner) : TCustomComboBox(AOwner), FComSelect(std::make_unique<TComSelect>()) {
  FComSelect->SetItems(Items());
  SetStyle(csDropDownList);
}

TComComboBox::~TComComboBox() {
  if (ComPort()) ComPort()->RemoveFreeNotification(this);
}

void TComComboBox::SetComPort(TCustomComPort* V) {
  if (V == ComPort()) return;
  if (ComPort()) ComPort()->RemoveFreeNotification(this);
  FComSelect->SetComPort(V);
  if (V) {
    V->FreeNotification(this);
    UpdateSettings();
  }
}

void TComComboBox::SetComProperty(TComProperty V) {
  FComSelect->SetComProperty(V);
  if (Items()->Count() > 0) {
    if (ComPort()) UpdateSettings();
    else SetItemIndex(0);
  }
}

void TComComboBox::ApplySettings() { FComSelect->ApplySettings(); }

void TComComboBox::UpdateSettings() {
  int index = ItemIndex();
  FComSelect->UpdateSettings(index);
  SetItemIndex(index);
}

void TComComboBox::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomComboBox::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == ComPort()) {
    FComSelect->SetComPort(nullptr);
    if (Items()->Count() > 0) SetItemIndex(0);
  }
}

void TComComboBox::Change() {
  FComSelect->Change(GetText());
  TCustomComboBox::Change();
}

String TComComboBox::GetText() const {
  int i = ItemIndex();
  return i >= 0 && i < Items()->Count() ? Items()->Strings(i) : String();
}

void TComComboBox::SetTextBuf(const String& V) {
  int i = Items()->IndexOf(V);
  if (i >= 0) SetItemIndex(i);
}
