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

  // Makes room for the keys of rows up to ARow in the column (kept for compatibility of
  // callers; keys live in pages that never move, so two keys can be held at once).
  void Reserve(int ACol, int ARow) { (void)ACol; (void)ARow; }

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

  // A cell of a column whose style does not depend on the compared pair, reduced to what
  // its comparison reads: a value, or a text; kept in one array, so that the sort walks it
  // in order.
  enum TDenseKind : uint8_t { dkNumber, dkValue, dkText, dkWide };
  struct TDenseItem {
    double Num = 0;
    const void* Ref = nullptr;  // String or std::wstring of the key
    int Row = 0;
    bool Read = true;   // a number was read (dkNumber)
    bool Empty = false;  // the compared text is empty
  };
  // Fills Items with rows Start..End of the column (keys made as the comparison makes them)
  // when every pair of them compares in one style; False when the style depends on the
  // pair, is the application's (custom, raw), or the keys are not kept.
  bool Dense(int ACol, int Start, int End, std::vector<TDenseItem>& Items);
  TDenseKind DenseKind() const { return FDenseKind; }
  // CompareCells of two dense items (counted by the caller).
  int DenseCompare(const TDenseItem& A, const TDenseItem& B, TSortDirection Direction) const {
    int r = 0;
    switch (FDenseKind) {
      case dkNumber:
        r = (!A.Read && !B.Read) ? 0 : (A.Num > B.Num ? 1 : (A.Num < B.Num ? -1 : 0));
        break;
      case dkValue:
        r = A.Num > B.Num ? 1 : (A.Num < B.Num ? -1 : 0);
        break;
      case dkText: {
        const int c = static_cast<const String*>(A.Ref)->compare(*static_cast<const String*>(B.Ref));
        r = c > 0 ? 1 : (c < 0 ? -1 : 0);
        break;
      }
      case dkWide: {
        const int c = static_cast<const std::wstring*>(A.Ref)->compare(*static_cast<const std::wstring*>(B.Ref));
        r = c > 0 ? 1 : (c < 0 ? -1 : 0);
        break;
      }
    }
    if (FIgnoreBlanks && A.Empty != B.Empty) {
      r = A.Empty ? FBlankFirst : -FBlankFirst;
      if (Direction == sdDescending) r = -r;
    }
    return r;
  }

private:
  String ReadText(int ACol, int ARow) {
    return FGrid->SortSettings()->SortOnVirtualCells() ? FGrid->Cells(ACol, ARow) : FGrid->GridCells(ACol, ARow);
  }

  DEreDuzeroVaro* FGrid;
  bool FKeep;
  std::map<int, TFormat> FFormats;
  // Per column, pages of 1,024 rows' keys, made when a row of them is first compared.
  static constexpr int kPageShift = 10;
  std::map<int, std::vector<std::unique_ptr<TKey[]>>> FColumns;
  int FLastCol = -1;
  std::vector<std::unique_ptr<TKey[]>>* FLastColumn = nullptr;
  TFormat FScratchFormat;
  TDenseKind FDenseKind = dkNumber;
  bool FIgnoreBlanks = false;
  int FBlankFirst = -1;
  TKey FScratch[2];
};

