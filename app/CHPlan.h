#pragma once
// The receiver models the tool knows: channel range, kind, bar width and the
// frequency text of each channel, and the list of models offered for a region.

#include <array>
#include <cstdint>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/System.h"

enum ModelType : uint8_t { TxRx, Tx, Rx };

using TFrequencyList = std::array<const char16_t*, 11>;

struct TModel {
  const char16_t* Name;
  int32_t MinCh;
  int32_t MaxCh;
  ModelType UnitKind;
  bool flgSGcommand;         // True: no "ID ALL /R" when a port connection opens
  const TFrequencyList* Hint;  // frequency text of channels 0 to 10
  int32_t GWidth;            // bar width of the frequency-domain graph, percent
  int32_t Rate;
};

constexpr int ModelTableCount = 2;
extern const TModel TModelTable[ModelTableCount];

// The chosen model as the main window keeps it; the values before any choice.
struct TCurrentModel {
  int32_t MinCh = 0;
  int32_t MaxCh = 127;
  ModelType UnitKind = TxRx;
  bool flgSGcommand = false;
  int32_t GWidth = 100;
  int32_t TableRow = -1;  // row of TModelTable, -1 before a choice
};

// Rows of the model list (the main window's ComboBox5) mapped to rows of TModelTable.
extern std::vector<int32_t> ModelRows;
extern TCurrentModel CurrentModel;

// Region "Japan" (exact) offers both models; any other region none. ModelRows is
// replaced and the names are added to Items in list order.
void FillModelList(const String& Region, TStrings* Items);
// Copies the table row behind list row ListRow into CurrentModel. A row the list does
// not have leaves CurrentModel unchanged and gives False.
bool SelectModel(int32_t ListRow);
// The frequency text of Channel (0 to 10) for list row ListRow; False and an empty
// text for a row or channel outside the table.
bool ChannelFrequency(int32_t ListRow, int32_t Channel, String& Text);
