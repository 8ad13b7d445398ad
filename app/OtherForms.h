#pragma once
// The windows that are created at start-up but whose contents are not built yet: each has
// its class, its global reference, its stored name, caption, border and client size.

#include "platform/ui/Forms.h"

// Windows that moved to units of their own, for the code that reaches them through here.
#include "app/AssignForm.h"
#include "app/HexKeyForm.h"
#include "app/KeyForm.h"
#include "app/OKBottomDlg.h"
#include "app/ImageSelect.h"
#include "app/OptionBox.h"

// Base of the windows below.
class TPlainForm : public TForm {
public:
  TPlainForm(TComponent* AOwner, const String& AName, const String& ACaption, TFormBorderStyle ABorder,
             int AClientWidth, int AClientHeight);
  ~TPlainForm() override;
  String ClassName() const override { return u"TPlainForm"; }
};

#define RCV_PLAIN_FORM(Class)                                      \
  class Class : public TPlainForm {                                \
  public:                                                          \
    explicit Class(TComponent* AOwner);                            \
    String ClassName() const override { return u## #Class; }       \
  }

RCV_PLAIN_FORM(TImageViewForm1);
RCV_PLAIN_FORM(TConversionForm1);

#undef RCV_PLAIN_FORM

// A window that the Esc key closes (it sees the keys before its controls do).
class TEscClosedForm : public TPlainForm {
public:
  TEscClosedForm(TComponent* AOwner, const String& AName, const String& ACaption, TFormBorderStyle ABorder,
                 int AClientWidth, int AClientHeight);
  void FormKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
};

// The version box.
class TVerBoxForm : public TEscClosedForm {
public:
  explicit TVerBoxForm(TComponent* AOwner);
  String ClassName() const override { return u"TVerBoxForm"; }
};

// The IP-setting window holds the adapter's address and port that a network model's port
// connection connects to.
class TIPSettingForm1 : public TPlainForm {
public:
  explicit TIPSettingForm1(TComponent* AOwner);
  String ClassName() const override { return u"TIPSettingForm1"; }
  String RemoteAddress;
  String RemotePort = u"30704";
};

extern TVerBoxForm* VerBoxForm;
extern TImageViewForm1* ImageViewForm1;
extern TIPSettingForm1* IPSettingForm1;
extern TConversionForm1* ConversionForm1;
