#pragma once
// The settings of the string grid's floating footer: a strip under the rows that stays in
// place while they scroll (the strip's panel is not built yet; these settings are kept and
// saved with the grid's look).

#include <functional>

#include "platform/rtl/Classes.h"
#include "platform/ui/Graphics.h"

class DEreDuzeroVaro;

enum TFooterStyle : uint8_t { fsFixedLastRow, fsColumnPreview, fsCustomPreview, fsCustomPaint };
using TCalcFooterEvent = std::function<void(TObject* Sender, int ACol, int ARow, String& Value)>;

class TFloatingFooter : public TPersistent {
public:
  explicit TFloatingFooter(DEreDuzeroVaro* AGrid) : FGrid(AGrid) {}
  String ClassName() const override { return u"TFloatingFooter"; }
  DEreDuzeroVaro* Grid() const { return FGrid; }

  bool Visible() const { return FVisible; }
  void SetVisible(bool Value) { FVisible = Value; }
  TFooterStyle FooterStyle() const { return FFooterStyle; }
  void SetFooterStyle(TFooterStyle Value) { FFooterStyle = Value; }
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor Value) { FBorderColor = Value; }
  int Column() const { return FColumn; }
  void SetColumn(int Value) { FColumn = Value; }
  const String& CustomTemplate() const { return FCustomTemplate; }
  void SetCustomTemplate(const String& Value) { FCustomTemplate = Value; }
  bool CalculateHiddenRows() const { return FCalculateHiddenRows; }
  void SetCalculateHiddenRows(bool Value) { FCalculateHiddenRows = Value; }
  bool EnableCalculation() const { return FEnableCalculation; }
  void SetEnableCalculation(bool Value) { FEnableCalculation = Value; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value) { FShowHint = Value; }

  TCalcFooterEvent OnCalcFooter;

private:
  DEreDuzeroVaro* FGrid;
  bool FVisible = false;
  TFooterStyle FFooterStyle = fsFixedLastRow;
  TColor FColor = clBtnFace;
  TColor FBorderColor = clNone;
  int FColumn = 0;
  String FCustomTemplate;
  bool FCalculateHiddenRows = true;
  bool FEnableCalculation = true;
  bool FShowHint = false;
};
