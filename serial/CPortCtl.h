#pragma once
// A drop-down list bound to one setting of a serial port (port name, baud rate, data bits,
// stop bits, parity or flow-control preset), and the selector that holds its logic.

#include "platform/ui/StdCtrls.h"
#include "serial/CPort.h"

enum TComProperty : uint8_t { cpNone, cpPort, cpBaudRate, cpDataBits, cpStopBits, cpParity, cpFlowControl };

class TComSelect : public TObject {
public:
  String ClassName() const override { return u"TComSelect"; }
  TStrings* Items() const { return FItems; }
  void SetItems(TStrings* V) { FItems = V; }
  TComProperty ComProperty() const { return FComProperty; }
  // Stores the property and fills the items with its value texts (cpNone: none).
  void SetComProperty(TComProperty V);
  TCustomComPort* ComPort() const { return FComPort; }
  void SetComPort(TCustomComPort* V) { FComPort = V; }
  bool AutoApply() const { return FAutoApply; }
  void SetAutoApply(bool V) { FAutoApply = V; }

  void SelectPort();
  void SelectBaudRate();
  void SelectDataBits();
  void SelectStopBits();
  void SelectParity();
  void SelectFlowControl();
  // Takes the value Text stands for; applies it at once with AutoApply.
  void Change(const String& Text);
  // Writes the taken value to the port.
  void ApplySettings();
  // Finds the port's current value among the items (ItemIndex -1 when absent).
  void UpdateSettings(int& ItemIndex);

private:
  String FPort;
  TBaudRate FBaudRate = br9600;
  TDataBits FDataBits = dbEight;
  TStopBits FStopBits = sbOneStopBit;
  TParityBits FParity = prNone;
  TFlowControl FFlowControl = fcNone;
  TStrings* FItems = nullptr;
  TComProperty FComProperty = cpNone;
  TCustomComPort* FComPort = nullptr;
  bool FAutoApply = false;
};

class TComComboBox : public TCustomComboBox {
public:
  explicit TComComboBox(TComponent* AOwner);
  ~TComComboBox() override;
  String ClassName() const override { return u"TComComboBox"; }

  TCustomComPort* ComPort() const { return FComSelect->ComPort(); }
  void SetComPort(TCustomComPort* V);
  TComProperty ComProperty() const { return FComSelect->ComProperty(); }
  void SetComProperty(TComProperty V);
  bool AutoApply() const { return FComSelect->AutoApply(); }
  void SetAutoApply(bool V) { FComSelect->SetAutoApply(V); }
  TComSelect* ComSelect() const { return FComSelect.get(); }

  void ApplySettings();
  void UpdateSettings();

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The user picked an item.
  void Change() override;
  // The selected item's text; setting selects an equal item, other texts change nothing.
  String GetText() const override;
  void SetTextBuf(const String& V) override;

private:
  std::unique_ptr<TComSelect> FComSelect;
};
