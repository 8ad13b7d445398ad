#pragma once
// The image viewer: shows a saved graph picture (EMF, WMF, BMP or JPEG) centred and scaled
// to the window, copies it to the clipboard in its own format, and forgets it on closing.

#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"

class TImageViewForm1 : public TForm {
public:
  explicit TImageViewForm1(TComponent* AOwner);
  ~TImageViewForm1() override;
  String ClassName() const override { return u"TImageViewForm1"; }

  TPanel* Panel1;
  TToolBar* ToolBar2;
  TToolButton *ToolButton3, *ToolButton4, *ToolButton1, *ToolButton2;
  TImage* Image1;
  TImageList* ImageList1;
  TPopupMenu* PopupMenu1;
  TMenuItem* CopytoclipBoard1;

  // Shows the window with the picture of FileName, captioned with its name. A file that
  // cannot be shown raises, and the picture shown before stays.
  void ShowPicture(const String& FileName);

  void ToolButton1Click(TObject* Sender);
  void CopytoclipBoard1Click(TObject* Sender);
  void ToolButton3Click(TObject* Sender);
  void Close1Click(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
};

extern TImageViewForm1* ImageViewForm1;
