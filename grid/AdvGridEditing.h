#pragma once
// The string grid's editing companions: the selection listener interface and the custom
// editor link through which an application edits cells with a control of its own.

#include <memory>

#include "platform/rtl/Component.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

class DEreDuzeroVaro;
class TDialogKeysWatch;

// Told of every cell the grid is about to select (the column is still the old one).
class IDEreDuzeroVaroSelect {
public:
  virtual ~IDEreDuzeroVaroSelect() = default;
  virtual void NotifySelection(int ACol, int ARow) = 0;
};

enum TEditStyle : uint8_t { esInplace, esPopup };

// A custom cell editor: the application derives from it, creates its control in CreateEditor
// and moves the value with GetEditorValue/SetEditorValue; the grid drives it for edCustom cells.
// With esPopup the control sits on the grid's own pop-up form, else in the cell. The grid does
// not own the link; the link's editor control key handler should call EditKeyDown.
class TEditLink : public TComponent {
public:
  explicit TEditLink(TComponent* AOwner);
  ~TEditLink() override;
  String ClassName() const override { return u"TEditLink"; }

  // Ends editing for Tab, Enter, Escape, Page Up/Down, End and the arrows unless the link wants
  // that key: the value goes back to the cell (validated), then Enter advances and Tab and the
  // arrows move through the grid; a refused value opens the editor again.
  virtual void EditKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
  virtual TWinControl* GetEditControl() { return nullptr; }
  virtual void CreateEditor(TWinControl* AParent) { (void)AParent; }
  virtual void DestroyEditor() {}
  // True shows, enables and focuses the editor control; False gives the grid the focus. An
  // in-place control then takes Tab, Shift+Tab and the arrows itself while the grid's options
  // hold goTabs (until RestoreWinProc), so that its key handler can end the edit with them.
  virtual void SetFocus(bool Value);
  // Places the control at R less the grid line on the right and bottom.
  virtual void SetRect(TRect R);
  virtual void SetVisible(bool Value);
  virtual void SetProperties() {}
  virtual void SetCellProps(TColor AColor, TFont* AFont) { (void)AColor; (void)AFont; }
  virtual String GetEditorValue() { return String(); }
  virtual void SetEditorValue(const String& Value) { (void)Value; }

  void EditExit(TObject* Sender);
  // The pop-up form lost activation.
  void FormExit(TObject* Sender);
  // The pop-up form for esPopup, else the grid.
  TWinControl* GetParent();
  String GetCellValue();
  void SetCellValue(const String& Value);
  void HideEditor();
  // Hides an in-place editor control; it no longer takes the focus keys.
  void RestoreWinProc();

  DEreDuzeroVaro* Grid() const { return FOwner; }
  TPoint EditCell() const { return FEditCell; }
  bool WantKeyLeftRight = false, WantKeyUpDown = false, WantKeyHomeEnd = false, WantKeyPriorNext = false,
       WantKeyReturn = false, WantKeyEscape = false;
  TEditStyle EditStyle = esInplace;
  int PopupWidth = 0, PopupHeight = 0;
  int Tag = 0;
  bool AutoPopupWidth = false;
  // Screen position of the pop-up; -1 puts it at the cell.
  int PopupLeft = -1, PopupTop = -1;

private:
  friend class DEreDuzeroVaro;
  DEreDuzeroVaro* FOwner = nullptr;
  TForm* FPopupForm = nullptr;  // the grid's pop-up form while editing (owned by the grid)
  bool FForcedExit = false;
  TPoint FEditCell{-1, -1};
  bool FSubClassed = false;
  std::unique_ptr<TDialogKeysWatch> FKeysWatch;  // the focus keys to the in-place control
};

// The editors of fixed (header) cells: an edit and a combo the grid lays over a fixed cell.
// Enter is swallowed; leaving the editor ends the edit (StopEdit): OnCellValidate may refuse
// the text, which keeps the editor open with the focus; an accepted text fires OnEditingDone
// and goes into the cell. Col is a real column.
template <class Base>
class TGridTransEditor : public Base {
public:
  explicit TGridTransEditor(TComponent* AOwner);
  // Ends the edit; false when the value was refused (the editor stays).
  bool StopEdit();
  int Col() const { return FCol; }
  void SetCol(int Value) { FCol = Value; }
  int Row() const { return FRow; }
  void SetRow(int Value) { FRow = Value; }

protected:
  void DoExit() override {
    Base::DoExit();
    StopEdit();
  }
  void KeyPress(Char& Key) override {
    if (Key == 13) Key = 0;
    Base::KeyPress(Key);
  }

private:
  int FCol = 0, FRow = 0;
  DEreDuzeroVaro* FGrid;
};

class TGridTransEdit : public TGridTransEditor<TCustomEdit> {
public:
  using TGridTransEditor::TGridTransEditor;
  String ClassName() const override { return u"TGridTransEdit"; }
};

class TGridTransCombo : public TGridTransEditor<TCustomComboBox> {
public:
  using TGridTransEditor::TGridTransEditor;
  String ClassName() const override { return u"TGridTransCombo"; }
};

// A form that never takes activation or the focus, shown or clicked: for floating pictures
// over a grid.
class TNoActiveForm : public TForm {
public:
  explicit TNoActiveForm(TComponent* AOwner);
  String ClassName() const override { return u"TNoActiveForm"; }

protected:
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;
};
