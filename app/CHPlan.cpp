#include "app/CHPlan.h"

namespace {

// Channel n lies at 426.0125 + 0.0125 * n MHz; entry 0 stands for no channel.
constexpr TFrequencyList Freq426 = {u"000",      u"426.0250", u"426.0375", u"426.0500",
                                    u"426.0625", u"426.0750", u"426.0875", u"426.1000",
                                    u"426.1125", u"426.1250", u"426.1375"};
constexpr TFrequencyList Freq426b = Freq426;

constexpr int32_t JapanRows[] = {0, 1};

}  // namespace

const TModel TModelTable[ModelTableCount] = {
    {u"RCV910X    426MHz", 1, 10, Rx, false, &Freq426, 100, 1200},
    {u"RCV910    426MHz", 1, 10, Rx, false, &Freq426b, 100, 1200},
};

std::vector<int32_t> ModelRows;
TCurrentModel CurrentModel;

void FillModelList(const String& Region, TStrings* Items) {
  ModelRows.clear();
  if (Region != u"Japan") return;
  for (int32_t row : JapanRows) {
    ModelRows.push_back(row);
    if (Items) Items->Add(TModelTable[row].Name);
  }
}

namespace {
const TModel* ModelOfListRow(int32_t ListRow) {
  if (ListRow < 0 || ListRow >= static_cast<int32_t>(ModelRows.size())) return nullptr;
  int32_t row = ModelRows[static_cast<size_t>(ListRow)];
  if (row < 0 || row >= ModelTableCount) return nullptr;
  return &TModelTable[row];
}
}  // namespace

bool SelectModel(int32_t ListRow) {
  const TModel* m = ModelOfListRow(ListRow);
  if (!m) return false;
  CurrentModel.MinCh = m->MinCh;
  CurrentModel.MaxCh = m->MaxCh;
  CurrentModel.UnitKind = m->UnitKind;
  CurrentModel.flgSGcommand = m->flgSGcommand;
  CurrentModel.GWidth = m->GWidth;
  CurrentModel.TableRow = static_cast<int32_t>(m - TModelTable);
  return true;
}

bool ChannelFrequency(int32_t ListRow, int32_t Channel, String& Text) {
  Text.clear();
  const TModel* m = ModelOfListRow(ListRow);
  if (!m || Channel < 0 || Channel >= static_cast<int32_t>(m->Hint->size())) return false;
  Text = (*m->Hint)[static_cast<size_t>(Channel)];
  return true;
}
