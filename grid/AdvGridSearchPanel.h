#pragma once
// The find bar of a string grid: a strip at the grid's bottom edge with a close button, the
// search edit, buttons for the next and the previous occurrence, a highlight toggle and a
// match-case box. The grid copies its SearchFooter settings into it (UpdateSearchPanel) and
// binds the panel's events to its own find handlers.

#include "grid/AdvCheckBox.h"
#include "grid/AdvGridButton.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"

class DEreDuzeroVaro;

// An edit that reports Enter (OnReturn) and Ctrl+Enter (OnCtrlReturn) instead of taking them:
// Enter neither beeps nor breaks the line.
class TRetEdit : public TEdit {
public:
  explicit TRetEdit(TComponent* AOwner) : TEdit(AOwner) {}
  String ClassName() const override { return u"TRetEdit"; }

  TNotifyEvent OnReturn;
  TNotifyEvent OnCtrlReturn;

protected:
  void CreateParams(TCreateParams& Params) override;
  void WMKeyDown(TWMKey& Message) override;
  void WMChar(TWMKey& Message) override;
};

class TSearchPanel : public TPanel {
public:
  // The panel of AOwner, which is the grid it searches (a DEreDuzeroVaro).
  explicit TSearchPanel(TComponent* AOwner);
  String ClassName() const override { return u"TSearchPanel"; }

  DEreDuzeroVaro* Grid() const { return FGrid; }
  TRetEdit* Edit() const { return FEdit; }
  TAdvGridButton* ExitButton() const { return FExitButton; }
  TAdvGridButton* ForwardButton() const { return FForwardButton; }
  TAdvGridButton* BackwardButton() const { return FBackwardButton; }
  TAdvGridButton* HiliteButton() const { return FHiliteButton; }
  TAdvCheckBox* MatchCase() const { return FMatchCase; }

  // The gradient's end colour; clNone fills the panel with Color alone.
  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor Value);

  const String& FindNextCaption() const { return FFindNextCaption; }
  const String& FindPrevCaption() const { return FFindPrevCaption; }
  const String& MatchCaseCaption() const { return FMatchCaseCaption; }
  const String& HighLightCaption() const { return FHighLightCaption; }
  const String& HintFindNext() const { return FHintFindNext; }
  const String& HintFindPrev() const { return FHintFindPrev; }
  const String& HintClose() const { return FHintClose; }
  const String& HintHighlight() const { return FHintHighlight; }

  // The edit's colour feedback of a search: red for no hit, the window colour for a hit or an
  // empty text.
  enum TFeedback : uint8_t { fbEmpty, fbFound, fbNotFound };
  void Feedback(TFeedback Result);

  TNotifyEvent OnForwardClick;
  TNotifyEvent OnBackwardClick;
  TNotifyEvent OnEditChange;
  TNotifyEvent OnExitClick;
  TNotifyEvent OnHighlightClick;

  // Puts the glyphs "ASGARDOWN", "ASGARDOWND", "ASGARUP", "ASGARUPD", "ASGHI" and "ASGHID"
  // into the program's resources (once).
  static void RegisterGlyphResources();

protected:
  // Lays the parts out, then tells the grid (OnCreatedSearchFooter).
  void CreateWnd() override;
  // The controls are laid out again for the new width or reading order.
  void Resize() override;
  void CMBiDiModeChanged(TMessage& Message) override;
  void Paint() override;
  void WMSetFocus(TWMSetFocus& Message) override;

private:
  friend class DEreDuzeroVaro;
  void Layout();
  // Each button's hint from the panel's copy; a bubble only for a hint that is not empty.
  void ApplyHints();
  void EditChanged();

  DEreDuzeroVaro* FGrid;
  TRetEdit* FEdit;
  TAdvGridButton* FExitButton;
  TAdvGridButton* FForwardButton;
  TAdvGridButton* FBackwardButton;
  TAdvGridButton* FHiliteButton;
  TAdvCheckBox* FMatchCase;
  TColor FColorTo = clNone;
  String FFindNextCaption;
  String FFindPrevCaption;
  String FMatchCaseCaption;
  String FHighLightCaption;
  String FHintFindNext;
  String FHintFindPrev;
  String FHintClose;
  String FHintHighlight;
};
