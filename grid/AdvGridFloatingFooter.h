#pragma once
// The settings of the string grid's floating footer: a strip under the rows that stays in
// place while they scroll. In the fsFixedLastRow style it shows the grid's last row with
// per-column totals; the other styles preview the current row (TFooterPanel draws the strip).

#include <functional>

#include "grid/BaseGrid.h"
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
  // From another floating footer: CalculateHiddenRows, Color, Column, CustomTemplate,
  // FooterStyle, Visible and ShowHint; other sources are ignored.
  void Assign(TPersistent* Source) override;

  // Showing the footer in the fsFixedLastRow style makes the grid's last row a fixed footer
  // row painted by the panel (FixedFooters 1, HideLastRow); hiding it undoes both.
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  TFooterStyle FooterStyle() const { return FFooterStyle; }
  void SetFooterStyle(TFooterStyle Value);
  // The strip's height (the panel is one pixel lower); the grid's default row height until set.
  int Height() const;
  void SetHeight(int Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor Value);
  int Column() const { return FColumn; }
  void SetColumn(int Value);
  const String& CustomTemplate() const { return FCustomTemplate; }
  void SetCustomTemplate(const String& Value);
  bool CalculateHiddenRows() const { return FCalculateHiddenRows; }
  void SetCalculateHiddenRows(bool Value) { FCalculateHiddenRows = Value; }
  bool EnableCalculation() const { return FEnableCalculation; }
  void SetEnableCalculation(bool Value) { FEnableCalculation = Value; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);

  // The calculation kept in the footer cell of column c (RowCount - 1); acNONE without a record.
  TColumnCalcType GetColumnCalc(int c);
  // Stores it there and recalculates the column.
  void SetColumnCalc(int c, TColumnCalcType Value);
  // Repaints the footer panel.
  void Invalidate();

  TCalcFooterEvent OnCalcFooter;

private:
  DEreDuzeroVaro* FGrid;
  bool FVisible = false;
  TFooterStyle FFooterStyle = fsFixedLastRow;
  int FHeight = -1;
  TColor FColor = clBtnFace;
  TColor FBorderColor = clNone;
  int FColumn = 0;
  String FCustomTemplate;
  bool FCalculateHiddenRows = true;
  bool FEnableCalculation = true;
  bool FShowHint = false;
};
