#pragma once
// The strip that shows a string grid's floating footer at the grid's bottom edge: the grid's
// last row cell by cell in line with the grid's columns, a preview of the current row or of a
// template, or the application's own painting; per-column hints, and clicks reported as cell
// clicks of the last row.

#include <vector>

#include "grid/AdvGrid.h"
#include "platform/ui/ExtCtrls.h"

class TFooterPanel : public TCustomPanel {
public:
  // The panel of AOwner, which must be a DEreDuzeroVaro.
  explicit TFooterPanel(TComponent* AOwner);
  String ClassName() const override { return u"TFooterPanel"; }
  DEreDuzeroVaro* Grid() const { return FGrid; }
  // The right edge of the fixed columns plus the columns from the grid's left column on, as
  // the grid shows them.
  int ColumnsWidth();
  // The template with each "<#N>" replaced by the text of column N of the current row; a tag
  // without a valid number is dropped, and "<#" without a closing ">" is kept as it is.
  String ExpandTemplate(const String& Template);
  // The column under client x (fixed columns, then from LeftCol), -1 right of the last one.
  int ColumnAt(int X);
  // The column whose hint shows, -1 for none.
  int LastHintX() const { return FLastHintX; }

protected:
  void CreateWnd() override;
  void Paint() override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void CMHintShow(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;

private:
  // The styles' painters; each answers the width it covered.
  int PaintLastRow();
  int PaintColumnPreview();
  int PaintTemplatePreview();
  int PaintCustom();
  // The fixed columns, then the columns from LeftCol on.
  std::vector<int> ShownColumns();
  // The x where the grid's first column starts.
  int ColumnsLeft();
  // Fills the column area with the footer colour and frames it (the two previews).
  void PaintPreviewFrame(int W);

  DEreDuzeroVaro* FGrid;
  int FLastHintX = -1;
};
