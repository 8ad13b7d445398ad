#pragma once
// Value list editor: a two-column string grid of keys and values under a title row. Keys
// and values are kept apart in their cells, so either may hold any character ('=' too).
// With no items it shows one empty row. The value column fills the width the key column
// leaves.

#include "platform/ui/Grids.h"

class TValueListEditor : public TStringGrid {
public:
  explicit TValueListEditor(TComponent* AOwner);
  String ClassName() const override { return u"TValueListEditor"; }

  // Number of key-value rows.
  int ItemCount() const { return FItemCount; }
  // Adds a row at the end (Append) or before the current row; returns its grid row.
  int InsertRow(const String& KeyName, const String& Value, bool Append);
  // Removes every row.
  void ClearItems();
  // Key of a grid row (1 .. ItemCount); out of range raises EInvalidGridOperation.
  String Keys(int ARow) const;
  void SetKeys(int ARow, const String& Value);
  // Value of the first row with the key ("" when there is none).
  String Values(const String& KeyName) const;
  // Sets the value of the first row with the key, adding a row when there is none.
  void SetValues(const String& KeyName, const String& Value);
  // Grid row of the first row with the key, -1 when there is none.
  int FindRow(const String& KeyName) const;
  void SetTitleCaptions(const String& KeyTitle, const String& ValueTitle);

protected:
  void Resize() override;
  void ColWidthsChanged() override;
  void SizeChanged(int OldColCount, int OldRowCount) override;

private:
  void CheckRow(int ARow) const;
  void AdjustColWidths();
  int FItemCount = 0;
  bool FAdjusting = false;
};
