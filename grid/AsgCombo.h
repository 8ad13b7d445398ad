#pragma once
// The combo box a grid lays over a cell for its combo editors and also uses inside cells: the
// styled combo box (flat look, border and focus colours, a custom-coloured drop-down button,
// focus colouring, an attached label) with the cell editor's own painting rules:
// - IsVista leaves the painting to the native box unless a button colour is set, and draws
//   borders only with a border colour;
// - the button area is prepared as a flat face (no raised edge) unless IsWinXP and a visual
//   style apply; Etched is stored and repaints only;
// - the flat look has no underline until FlatLineColor is set.
// It knows nothing of the grid.

#include "controls/AdvCombo.h"

class TAsgCustomCombo : public TAdvCustomCombo {
public:
  explicit TAsgCustomCombo(TComponent* AOwner);
  String ClassName() const override { return u"TAsgCustomCombo"; }

  // Themed painting wanted: with a visual style active the native button area is left alone.
  bool IsWinXP() const { return FIsWinXP; }
  void SetIsWinXP(bool Value);
  // The native box paints alone unless ButtonColor is set.
  bool IsVista() const { return FIsVista; }
  void SetIsVista(bool Value);

protected:
  void WMPaint(TWMPaint& Message) override;
  void WMNCPaint(TMessage& Message) override;
  // The borders and the button area's face on DC (the window's).
  void DrawBorders(HDC DC);
  void PrepareButtonArea(HDC DC);

  bool FIsVista = false;
};

// The combo box as placed by the grid's combo editors: every property of TAsgCustomCombo.
class DOruDozezOde : public TAsgCustomCombo {
public:
  explicit DOruDozezOde(TComponent* AOwner) : TAsgCustomCombo(AOwner) {}
  String ClassName() const override { return u"DOruDozezOde"; }
};
