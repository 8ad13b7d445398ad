#pragma once
// The windows that are created at start-up but whose contents are not built yet: each has
// its class, its global reference, its stored name, caption, border and client size.

#include "app/VerBox.h"
#include "platform/ui/Forms.h"

// Windows that moved to units of their own, for the code that reaches them through here.
#include "app/AssignForm.h"
#include "app/HexKeyForm.h"
#include "app/KeyForm.h"
#include "app/OKBottomDlg.h"
#include "app/Conversion.h"
#include "app/IPSetting1.h"
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

#undef RCV_PLAIN_FORM

// A window that the Esc key closes (it sees the keys before its controls do).
class TEscClosedForm : public TPlainForm {
public:
  TEscClosedForm(TComponent* AOwner, const String& AName, const String& ACaption, TFormBorderStyle ABorder,
                 int AClientWidth, int AClientHeight);
  void FormKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
};

extern TImageViewForm1* ImageViewForm1;
