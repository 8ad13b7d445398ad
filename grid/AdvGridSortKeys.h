#pragma once
// The keys the sort comparison reads from cells (AdvGridSortCompare.cpp), shared by the
// comparison and the row sorts.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "grid/AdvGrid.h"

class DEreDuzeroVaro::TSortKeys {
public:
  // Keep: the keys live for a whole sort; otherwise each comparison makes its own.
  TSortKeys(DEreDuzeroVaro* Grid, bool Keep) : FGrid(Grid), FKeep(Keep) {}

  struct TFormat {
    TSortStyle Style = ssAlphabetic;
    String Prefix, Suffix;
  };

  // What the comparison read from one cell; each part is made on first use (Made bits). The
  // number is kept beside the text, everything else further away.
  struct TKey {
    enum : uint16_t { mNumber = 1, mCheckCell = 2, mNum = 4, mFin = 8, mDateTime = 16, mTime = 32, mDateEU = 64,
                      mDateUS = 128, mCheck = 256, mImage = 512, mText = 1024 };
    String Text;
    double Num = 0;
    uint16_t Made = 0;
    bool Number = false, CheckCell = false, NumRead = false, NumEmpty = false;
    struct TMore {
      double Fin = 0, DateTime = 0, Time = 0, DateEU = 0, DateUS = 0;
      bool FinRead = false, FinEmpty = false;
      int Check = 0;
      intptr_t Image = 0;
      // Upper-cased (a-z), without tags, collation keys.
      std::optional<String> Upper, Stripped;
      std::optional<std::wstring> Coll, CollNoCase;
    };
    std::unique_ptr<TMore> Extra;
    TMore& More() {
      if (!Extra) Extra = std::make_unique<TMore>();
      return *Extra;
    }
  };

  // The column's style, prefix and suffix (asked once per column while the keys are kept).
  const TFormat& Format(int ACol) {
    if (FKeep) {
      auto it = FFormats.find(ACol);
      if (it != FFormats.end()) return it->second;
    }
    TFormat f;
    TSortSettings* s = FGrid->SortSettings();
    f.Style = s->AutoFormat() ? ssAutomatic : (s->IgnoreCase() ? ssAlphaNoCase : ssAlphabetic);
    FGrid->GetFormat(ACol, f.Style, f.Prefix, f.Suffix);
    if (!FKeep) {
      FScratchFormat = f;
      return FScratchFormat;
    }
    return FFormats[ACol] = f;
  }

  // The key of a cell; Slot 0 or 1 names the side of a single comparison.
  TKey& Cell(int ACol, int ARow, int Slot) {
    if (!FKeep) {
      FScratch[Slot] = TKey();
      FScratch[Slot].Text = ReadText(ACol, ARow);
      return FScratch[Slot];
    }
    if (ACol != FLastCol) {
      FLastColumn = &FColumns[ACol];
      FLastCol = ACol;
    }
    const size_t page = static_cast<size_t>(ARow) >> kPageShift;
    if (page >= FLastColumn->size()) FLastColumn->resize(page + 1);
    std::unique_ptr<TKey[]>& keys = (*FLastColumn)[page];
    if (!keys) keys = std::make_unique<TKey[]>(size_t(1) << kPageShift);
    TKey& k = keys[static_cast<size_t>(ARow) & ((size_t(1) << kPageShift) - 1)];
    if (!(k.Made & TKey::mText)) {
      k.Text = ReadText(ACol, ARow);
      k.Made |= TKey::mText;
    }
    return k;
  }

  DEreDuzeroVaro* Grid() const { return FGrid; }

  // The text a comparison reads: the displayed one with SortOnVirtualCells, else the stored.
  String ReadText(int ACol, int ARow) {
    return FGrid->SortSettings()->SortOnVirtualCells() ? FGrid->Cells(ACol, ARow) : FGrid->GridCells(ACol, ARow);
  }

private:

  DEreDuzeroVaro* FGrid;
  bool FKeep;
  std::map<int, TFormat> FFormats;
  // Per column, pages of 1,024 rows' keys, made when a row of them is first compared.
  static constexpr int kPageShift = 10;
  std::map<int, std::vector<std::unique_ptr<TKey[]>>> FColumns;
  int FLastCol = -1;
  std::vector<std::unique_ptr<TKey[]>>* FLastColumn = nullptr;
  TFormat FScratchFormat;
  TKey FScratch[2];
};

// The keys of one column over rows Start..End for a sort, one per row, made once: a number
// (numbers, dates, times, check states, image values), a text (ordinal, upper-cased or
// stripped of tags) or a collation key, whenever every pair of the rows compares in one
// style. Otherwise (custom and raw comparisons, an automatic style that differs from row to
// row) each pair goes through the general comparison with the sort's kept cell keys.
class DEreDuzeroVaro::TSortColumn {
public:
  // Sparse: only some rows' keys are expected to be asked for (a column that breaks ties).
  TSortColumn(TSortKeys& Keys, int ACol, int Start, int End, TSortDirection Direction, bool Sparse = false);
  // Makes every row's key now (the sort column needs them all); otherwise each is made on
  // first use.
  void MakeAll();
  // CompareCells(ACol, Start + A, Start + B, Direction), counted alike.
  int Compare(int A, int B) {
    if (FKind == ckGeneral) return FGrid->CompareCellKeys(*FKeys, FCol, FStart + A, FStart + B, FDirection);
    ++FGrid->FCompares;
    const size_t a = static_cast<size_t>(A), b = static_cast<size_t>(B);
    if (!FAllMade) {
      Make(a);
      Make(b);
    }
    int r = 0;
    switch (FKind) {
      case ckNumber:
        r = (Num(a) > Num(b)) - (Num(a) < Num(b));
        break;
      case ckText: {
        const int c = Text(a).compare(Text(b));
        r = (c > 0) - (c < 0);
        break;
      }
      case ckWide: {
        const int c = Wide(a).compare(Wide(b));
        r = (c > 0) - (c < 0);
        break;
      }
      case ckGeneral:
        break;
    }
    if (FIgnoreBlanks) {
      const bool ea = Empty(a), eb = Empty(b);
      if (ea != eb) r = ea ? FBlankFirst : -FBlankFirst;
    }
    return r;
  }

  // What a sort of the whole column reads directly. Dense: every pair compares in one style
  // through the keys below (not the general comparison).
  bool Dense() const { return FKind != ckGeneral; }
  bool Numeric() const { return FKind == ckNumber; }
  int Count() const { return FCount; }
  // IgnoreBlanks: empty cells stand before (BlanksFirst) or after the others, whatever the
  // direction.
  bool PlacesBlanks() const { return FIgnoreBlanks; }
  bool BlanksFirst() const { return FBlanksFirst; }
  bool Empty(size_t I) const { return (Page(I).State[I & FPageMask] & sEmpty) != 0; }
  double Number(size_t I) const { return Num(I); }
  // The first eight units of a text or collation key packed in two words that order as the
  // keys do (equal packs decide nothing); Complete when they hold the whole key.
  void Pack(size_t I, uint64_t& K0, uint64_t& K1, bool& Complete) const;
  // The order of two texts or collation keys (-1, 0, 1), without the placing of blanks.
  int CompareKeys(size_t A, size_t B) const {
    const int c = FKind == ckText ? Text(A).compare(Text(B)) : Wide(A).compare(Wide(B));
    return (c > 0) - (c < 0);
  }

private:
  enum TKind : uint8_t { ckNumber, ckText, ckWide, ckGeneral };
  enum : uint8_t { sMade = 1, sEmpty = 2 };
  // The keys live in pages made on first use (1,024 rows, or 64 for a sparse column), so that
  // a column asked only on a few ties costs little.
  struct TPage {
    std::vector<uint8_t> State;
    std::vector<double> Num;
    std::vector<String> Text;
    std::vector<std::wstring> Wide;
  };
  const TPage& Page(size_t I) const { return *FPages[I >> FPageShift]; }
  TPage& MakePage(size_t I);
  double Num(size_t I) const { return Page(I).Num[I & FPageMask]; }
  const String& Text(size_t I) const { return Page(I).Text[I & FPageMask]; }
  const std::wstring& Wide(size_t I) const { return Page(I).Wide[I & FPageMask]; }
  void Make(size_t I) {
    const TPage* page = FPages[I >> FPageShift].get();
    if (page == nullptr || !(page->State[I & FPageMask] & sMade))
      MakeKey(I, FKeys->ReadText(FCol, FStart + static_cast<int>(I)));
  }
  void MakeKey(size_t I, String Text);
  // An automatic or alpha-numeric style settled by all the rows' texts; False when it
  // differs from pair to pair.
  bool Settle(std::vector<String>& Texts);

  DEreDuzeroVaro* FGrid;
  TSortKeys* FKeys;
  int FCol, FStart, FCount;
  TSortDirection FDirection;
  TSortKeys::TFormat FFormat;
  TKind FKind = ckGeneral;
  bool FAllMade = false, FIgnoreBlanks = false, FBlanksFirst = true;
  // Where an empty cell goes relative to a filled one, in the sort's own direction.
  int FBlankFirst = -1;
  size_t FPageShift, FPageMask;
  std::vector<std::unique_ptr<TPage>> FPages;
};

