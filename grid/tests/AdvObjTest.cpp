// The grid's data helpers, settings objects and cell graphic record: defaults, change
// notifications, text forms, line-by-line files and pictures on disk, and what a cell
// graphic owns by kind.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "grid/AdvObj.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "testing/TempFolder.h"
#include "testing/TestSupport.h"

namespace {

struct Change {
  TObject* Sender;
  int Col, Row;
};

// Records every OnChange of an integer list.
struct ChangeLog {
  std::vector<Change> Seen;
  TImageChangeEvent Handler() {
    return [this](TObject* s, int c, int r) { Seen.push_back({s, c, r}); };
  }
};

std::string ReadAll(const std::string& Path) {
  std::ifstream in(Path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// ---------------------------------------------------------------------------
// TIntList and TSortIndexList

TEST(IntList, ReportsChangesWithItsCellButNotInsertsOrClear) {
  TIntList list(3, 7);
  ChangeLog log;
  list.OnChange = log.Handler();

  list.Add(10);
  ASSERT_EQ(log.Seen.size(), 1u);
  EXPECT_EQ(log.Seen[0].Sender, &list);
  EXPECT_EQ(log.Seen[0].Col, 3);
  EXPECT_EQ(log.Seen[0].Row, 7);

  list.Insert(0, 5);
  list.Exchange(0, 1);
  list.Move(0, 1);
  EXPECT_EQ(log.Seen.size(), 1u);

  list.SetItems(1, 42);   // fires
  list.DeleteValue(99);   // absent: nothing
  list.DeleteValue(42);   // fires
  list.Delete(0);         // fires
  EXPECT_EQ(log.Seen.size(), 4u);
  EXPECT_EQ(list.Count(), 0);

  list.Add(1);
  list.Clear();
  EXPECT_EQ(log.Seen.size(), 5u);
}

TEST(IntList, IndexOutsideTheListRaisesAndChangesNothing) {
  TIntList list(0, 0);
  list.Add(1);
  EXPECT_THROW(list.Items(1), EListError);
  EXPECT_THROW(list.SetItems(-1, 0), EListError);
  EXPECT_THROW(list.Delete(1), EListError);
  EXPECT_THROW(list.Insert(2, 0), EListError);
  list.Insert(1, 2);  // at the end is allowed
  EXPECT_EQ(list.StrValue(), u"1,2");
}

TEST(IntList, StrValueRoundTripsAndAddsEachItem) {
  struct Case {
    String In;
    String Out;
    size_t Changes;
  };
  const Case cases[] = {
      {u"4,5", u"4,5", 2},
      {u"", u"", 0},
      {u"-1, 2 3", u"-1,2,3", 3},  // blanks separate too
      {u"\"7\",8", u"7,8", 2},
  };
  for (const auto& c : cases) {
    TIntList list(0, 0);
    list.Add(9);
    ChangeLog log;
    list.OnChange = log.Handler();
    list.SetStrValue(c.In);
    EXPECT_EQ(list.StrValue(), c.Out) << StringToUTF8(c.In);
    EXPECT_EQ(log.Seen.size(), c.Changes) << StringToUTF8(c.In);
  }
}

TEST(IntList, StrValueStopsAtAnItemThatIsNoNumber) {
  TIntList list(0, 0);
  EXPECT_THROW(list.SetStrValue(u"1,x,3"), EConvertError);
  EXPECT_EQ(list.StrValue(), u"1");
}

TEST(SortIndexList, KeepsColumnsWithDirections) {
  TSortIndexList list;
  list.AddIndex(2, true);
  list.AddIndex(0, false);
  EXPECT_EQ(list.SaveToString(), u"u2;d0");
  EXPECT_EQ(list.FindIndex(0), 1);
  EXPECT_EQ(list.FindIndex(7), -1);
  EXPECT_EQ(list.SortColumns(1), 0);
  EXPECT_FALSE(list.SortDirections(1));

  list.ToggleIndex(0);
  list.ToggleIndex(7);  // absent: nothing
  EXPECT_EQ(list.SaveToString(), u"u2;u0");

  list.SetSortColumns(0, 4);  // keeps the direction
  list.SetSortDirections(1, false);
  EXPECT_EQ(list.SaveToString(), u"u4;d0");
}

TEST(SortIndexList, TextFormRoundTripsAndSkipsWhatNamesNoColumn) {
  struct Case {
    String In;
    String Saved;
  };
  const Case cases[] = {
      {u"u2;x;D5;d", u"u2;d5"},             // one-letter entries skipped, upper-case D descends
      {u"u3x;d12abc", u"u3;d12"},           // trailing characters after the digits ignored
      {u"uz", u"u0"},                       // no digits: column 0
      {u"u70000;d65536", u"u70000;d65536"},  // whole column numbers, not their low 16 bits
      {u"u-1;d4", u"d4"},                   // a negative column names no column
      {u"u99999999999;u1", u"u1"},          // beyond the column range
      {u"", u""},
  };
  for (const auto& c : cases) {
    TSortIndexList list;
    list.AddIndex(9, true);
    list.LoadFromString(c.In);
    EXPECT_EQ(list.SaveToString(), c.Saved) << StringToUTF8(c.In);
    TSortIndexList again;
    again.LoadFromString(list.SaveToString());
    EXPECT_EQ(again.SaveToString(), c.Saved);
  }
}

// ---------------------------------------------------------------------------
// TControlList, TFilePicture, TFileStringList

TEST(ControlList, FindsItemsByCellAndHandleAndKeepsTheControls) {
  TForm form(nullptr);
  auto* panel = new TPanel(&form);
  panel->SetParent(&form);
  TControlList list;
  list.AddControl(1, 2, panel);
  list.AddControl(3, 4, panel);
  EXPECT_EQ(list.ControlIndex(3, 4), 1);
  EXPECT_EQ(list.ControlIndex(4, 3), -1);
  EXPECT_TRUE(list.HasHandle(panel->Handle()));
  EXPECT_FALSE(list.HasHandle(form.Handle()));

  list.RemoveControl(0);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Control(0)->X(), 3);
  EXPECT_EQ(list.Control(0)->Control(), panel);  // the control lives on
  EXPECT_THROW(list.RemoveControl(1), EListError);
}

TEST(FilePicture, TakesItsSizeFromTheFileAndDrawsItEveryTime) {
  TempFolder dir;
  {
    TBitmap red(200, 100);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(TRect(0, 0, 200, 100));
    red.SaveToFile(dir.FileS("red.bmp"));
  }
  TFilePicture pic;
  pic.SetFilename(dir.FileS("red.bmp"));
  EXPECT_EQ(pic.Width(), 200);
  EXPECT_EQ(pic.Height(), 100);

  TBitmap target(40, 40);
  target.Canvas()->Brush()->SetColor(clWhite);
  target.Canvas()->FillRect(TRect(0, 0, 40, 40));
  pic.DrawPicture(target.Canvas(), TRect(0, 0, 20, 20));
  EXPECT_EQ(PixelColor(target, 10, 10), clRed);
  EXPECT_EQ(PixelColor(target, 30, 30), clWhite);

  TFilePicture copy;
  copy.Assign(&pic);
  EXPECT_EQ(copy.Filename(), pic.Filename());
  EXPECT_EQ(copy.Width(), 200);

  // A file that is gone: the name is stored, the size stays, and drawing raises.
  std::filesystem::remove(dir.File("red.bmp"));
  EXPECT_THROW(pic.SetFilename(dir.FileS("red.bmp")), Exception);
  EXPECT_EQ(pic.Width(), 200);
  EXPECT_THROW(pic.DrawPicture(target.Canvas(), TRect(0, 0, 20, 20)), Exception);

  dir.Write("junk.bmp", "not a picture");
  EXPECT_THROW(pic.SetFilename(dir.FileS("junk.bmp")), Exception);
  EXPECT_EQ(pic.Filename(), dir.FileS("junk.bmp"));
  EXPECT_EQ(pic.Height(), 100);

  pic.SetFilename(u"");  // no name: no picture, nothing to read
  EXPECT_EQ(pic.Width(), 0);
  pic.DrawPicture(target.Canvas(), TRect(0, 0, 20, 20));
}

TEST(FileStringList, WritesLinesToARealFileAndReadsThemBack) {
  TempFolder dir;
  TFileStringList out;
  out.Write(u"a");
  out.Write(u"b");
  out.WriteLn(u"c");
  out.WriteLn(u"second");
  out.Write(u"pending");  // not ended by a line: not in the list
  ASSERT_EQ(out.Count(), 2);
  out.SaveToFile(dir.FileS("out.txt"));
  EXPECT_EQ(ReadAll(dir.File("out.txt")), "abc\r\nsecond\r\n");

  dir.Write("in.txt", "first\nmiddle\r\nlast");
  TFileStringList in;
  in.LoadFromFile(dir.FileS("in.txt"));
  in.Reset();
  std::vector<String> lines;
  while (!in.Eof()) lines.push_back(in.ReadLn());
  EXPECT_EQ(lines, (std::vector<String>{u"first", u"middle", u"last"}));
  EXPECT_THROW(in.ReadLn(), EListError);
  in.Reset();
  EXPECT_EQ(in.ReadLn(), u"first");
}

// ---------------------------------------------------------------------------
// Settings objects

TEST(SearchFooter, DefaultsAndCaptionsOnlyForANewDesign) {
  TSearchFooter design(nullptr, true);
  EXPECT_EQ(design.FindNextCaption(), u"Find &next");
  EXPECT_EQ(design.FindPrevCaption(), u"Find &previous");
  EXPECT_EQ(design.HighLightCaption(), u"Highlight");
  EXPECT_EQ(design.MatchCaseCaption(), u"Match case");
  EXPECT_EQ(design.HintClose(), u"Close");
  EXPECT_EQ(design.HintFindNext(), u"Find next occurrence");
  EXPECT_EQ(design.HintFindPrev(), u"Find previous occurrence");
  EXPECT_EQ(design.HintHighlight(), u"Highlight occurrences");

  TSearchFooter stored(nullptr, false);
  EXPECT_EQ(stored.FindNextCaption(), u"");
  EXPECT_EQ(stored.HintHighlight(), u"");
  for (auto* f : {&design, &stored}) {
    EXPECT_FALSE(f->AlwaysHighLight());
    EXPECT_TRUE(f->AutoSearch());
    EXPECT_EQ(f->Color(), TColor(0x00FFFFFF));
    EXPECT_EQ(f->ColorTo(), clBtnFace);
    EXPECT_EQ(f->SearchColumn(), -1);
    EXPECT_EQ(f->SearchDirection(), sdTopBottom);
    EXPECT_TRUE(f->ShowClose() && f->ShowFindNext() && f->ShowFindPrev() && f->ShowHighLight() &&
                f->ShowMatchCase());
    EXPECT_FALSE(f->Visible() || f->AutoThemeAdapt() || f->SearchFixedCells() || f->SearchHiddenRows());
  }
}

TEST(SearchFooter, NotifiesFromTheLookSettersAndAssignsQuietly) {
  TSearchFooter f(nullptr, true);
  int changes = 0;
  f.OnChange = [&](TObject*) { ++changes; };
  struct Step {
    std::function<void()> Do;
    int Fires;
  };
  const Step steps[] = {
      {[&] { f.SetShowFindNext(true); }, 0},  // unchanged
      {[&] { f.SetShowClose(true); }, 1},     // every assignment
      {[&] { f.SetShowFindNext(false); }, 1},
      {[&] { f.SetVisible(true); }, 1},
      {[&] { f.SetColor(clRed); }, 1},
      {[&] { f.SetFindNextCaption(u"Next"); }, 1},
      {[&] { f.SetSearchColumn(2); }, 0},     // stores only
      {[&] { f.SetAutoSearch(false); }, 0},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    changes = 0;
    steps[i].Do();
    EXPECT_EQ(changes, steps[i].Fires) << "step " << i;
  }

  f.SetSearchFixedCells(true);
  f.Font()->SetColor(clBlue);
  TSearchFooter copy(nullptr, false);
  int copyChanges = 0;
  copy.OnChange = [&](TObject*) { ++copyChanges; };
  copy.Assign(&f);
  EXPECT_EQ(copyChanges, 0);
  EXPECT_EQ(copy.FindNextCaption(), u"Next");
  EXPECT_FALSE(copy.ShowFindNext());
  EXPECT_EQ(copy.SearchColumn(), 2);
  EXPECT_EQ(copy.Color(), clRed);
  EXPECT_EQ(copy.Font()->Color(), clBlue);
  EXPECT_TRUE(copy.AutoSearch());          // not copied
  EXPECT_FALSE(copy.SearchFixedCells());   // not copied
  TBands other;
  copy.Assign(&other);  // another class: nothing
  EXPECT_EQ(copy.SearchColumn(), 2);
}

TEST(Navigation, DefaultsSideEffectsAndAssign) {
  TNavigation n;
  EXPECT_TRUE(n.AdvanceOnEnterLoop() && n.AdvanceAutoEdit() && n.AllowCtrlEnter() && n.AllowClipboardRowGrow() &&
              n.AllowClipboardColGrow() && n.EditSelectAll() && n.ComboGetUpDown() && n.CursorWalkAlwaysEdit() &&
              n.LeftRightRowSelect() && n.CopyHTMLTagsToClipboard() && n.SkipFixedCells() && n.SkipDisabledRows());
  EXPECT_FALSE(n.AllowInsertRow() || n.AdvanceOnEnter() || n.AdvanceAuto() || n.AdvanceInsert() ||
               n.KeepScrollOnSort() || n.TabToNextAtEnd());
  EXPECT_EQ(n.AdvanceDirection(), adLeftRight);
  EXPECT_EQ(n.InsertPosition(), pInsertBefore);
  EXPECT_EQ(n.ClipboardPasteAction(), paReplace);
  EXPECT_EQ(n.CursorAdvance(), caDefault);
  EXPECT_EQ(n.HomeEndKey(), heFirstLastColumn);

  int changes = 0;
  n.OnChange = [&](TObject*) { ++changes; };
  n.SetAdvanceAuto(true);
  EXPECT_TRUE(n.AdvanceOnEnter());
  n.SetAdvanceDirection(adTopBottom);
  n.SetAdvanceDirection(adTopBottom);
  n.SetAdvanceInsert(true);
  n.SetAllowInsertRow(true);
  EXPECT_EQ(changes, 2);

  n.SetTabAdvanceDirection(adTopBottom);
  n.SetKeepScrollOnSort(true);
  TNavigation copy;
  copy.Assign(&n);
  EXPECT_EQ(copy.TabAdvanceDirection(), adTopBottom);
  EXPECT_EQ(copy.AdvanceDirection(), adTopBottom);
  EXPECT_TRUE(copy.AdvanceAuto() && copy.AdvanceInsert() && copy.AllowInsertRow());
  EXPECT_FALSE(copy.KeepScrollOnSort());
}

TEST(MouseActions, DefaultsAndSetterSideEffects) {
  TMouseActions m(nullptr);
  EXPECT_TRUE(m.AutoSizeColOnDblClick() && m.PreciseNodeClick());
  EXPECT_FALSE(m.RowSelect() || m.DirectEdit() || m.DisjunctRowSelect() || m.HotmailRowSelect());
  EXPECT_EQ(m.FixedRowsEdit(), fceNone);
  EXPECT_EQ(m.FixedColsEditor(), fceEdit);
  EXPECT_EQ(m.WheelAction(), waMoveSelection);
  EXPECT_EQ(m.WheelIncrement(), 0);
  EXPECT_EQ(m.FixedComboValues()->Count(), 0);
  EXPECT_FALSE(m.IsDesigning());

  // At run time the disjunct selections combine; at design time one excludes the others.
  m.SetDisjunctRowSelect(true);
  m.SetDisjunctColSelect(true);
  EXPECT_TRUE(m.DisjunctRowSelect() && m.DisjunctColSelect());
  m.OnIsDesigning = [](TObject*, bool& d) { d = true; };
  m.SetDisjunctCellSelect(true);
  EXPECT_TRUE(m.DisjunctCellSelect());
  EXPECT_FALSE(m.DisjunctRowSelect() || m.DisjunctColSelect());
  m.OnIsDesigning = nullptr;

  int invalidates = 0, disables = 0, changes = 0;
  m.OnInvalidate = [&](TObject*) { ++invalidates; };
  m.OnDisableEdit = [&](TObject*) { ++disables; };
  m.OnChange = [&](TObject*) { ++changes; };
  m.SetHotmailRowSelect(false);
  EXPECT_EQ(invalidates, 1);
  EXPECT_FALSE(m.DisjunctRowSelect());
  m.SetHotmailRowSelect(true);
  EXPECT_EQ(invalidates, 2);
  EXPECT_TRUE(m.DisjunctRowSelect() && m.CheckAllCheck());
  m.SetEditOnDblClickOnly(false);
  m.SetEditOnDblClickOnly(true);
  EXPECT_EQ(disables, 1);
  m.SetWheelAction(waScroll);
  m.SetWheelAction(waScroll);
  EXPECT_EQ(changes, 1);

  TStringList values;
  values.AddStrings({u"a", u"b"});
  m.SetFixedComboValues(&values);
  values.Clear();
  EXPECT_EQ(m.FixedComboValues()->Count(), 2);

  m.SetSizeFixedRow(true);
  m.SetRowSelect(true);
  TMouseActions copy(nullptr);
  copy.Assign(&m);
  EXPECT_TRUE(copy.RowSelect() && copy.DisjunctRowSelect() && copy.CheckAllCheck());
  EXPECT_EQ(copy.WheelAction(), waScroll);
  EXPECT_FALSE(copy.HotmailRowSelect() || copy.EditOnDblClickOnly() || copy.SizeFixedRow());
  EXPECT_EQ(copy.FixedComboValues()->Count(), 0);
}

TEST(Bands, NotifyOnlyWhileActiveAndKeepTheTotal) {
  TBands b;
  EXPECT_FALSE(b.Active());
  EXPECT_EQ(b.PrimaryColor(), clInfoBk);
  EXPECT_EQ(b.SecondaryColor(), clWindow);
  EXPECT_EQ(b.TotalLength(), 2);
  int changes = 0;
  b.OnChange = [&](TObject*) { ++changes; };
  b.SetPrimaryColor(clRed);
  b.SetPrimaryLength(2);
  b.SetSecondaryLength(3);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(b.TotalLength(), 5);
  b.SetActive(true);
  b.SetActive(true);
  b.SetSecondaryColor(clRed);
  b.SetSecondaryColor(clRed);
  EXPECT_EQ(changes, 2);

  // The painter divides by the total: it never reaches 0.
  b.SetPrimaryLength(-4);
  b.SetSecondaryLength(0);
  EXPECT_EQ(b.PrimaryLength(), 0);
  EXPECT_EQ(b.TotalLength(), 1);

  TBands copy;
  copy.OnChange = [&](TObject*) { ++changes; };
  changes = 0;
  copy.Assign(&b);
  EXPECT_EQ(changes, 0);
  EXPECT_TRUE(copy.Active());
  EXPECT_EQ(copy.SecondaryColor(), clRed);
  EXPECT_EQ(copy.TotalLength(), 1);
}

// ---------------------------------------------------------------------------
// TCellGraphic

// Objects that report being freed.
template <class Base>
struct Tracked : Base {
  explicit Tracked(int& Freed) : FreedCount(Freed) {}
  ~Tracked() override { ++FreedCount; }
  int& FreedCount;
};

TEST(CellGraphic, KindOperationsFillTheirSlots) {
  TCellGraphic g;
  EXPECT_EQ(g.CellType(), ctNone);
  EXPECT_FALSE(g.CellCreated());

  g.SetButton(80, 20, u"Go", haFull, vaCenter);
  EXPECT_EQ(g.CellType(), ctButton);
  EXPECT_EQ(uint32_t(g.CellIndex()), 0x00140050u);
  EXPECT_EQ(g.CellText(), u"Go");
  EXPECT_EQ(g.CellHAlign(), haFull);

  struct AngleCase {
    int16_t In;
    int Out;
  };
  for (auto c : {AngleCase{-90, 270}, AngleCase{720, 360}, AngleCase{360, 360}, AngleCase{-720, 0}, AngleCase{45, 45}}) {
    g.SetAngle(c.In);
    EXPECT_EQ(g.CellType(), ctRotated);
    EXPECT_EQ(g.CellAngle(), c.Out) << c.In;
  }

  g.SetCheckBox(true, true, true, haCenter, vaTop);
  EXPECT_EQ(g.CellType(), ctDataCheckBox);
  EXPECT_TRUE(g.CellBoolean() && g.CellTransparent());
  g.SetCheckBox(cbGrayed, false, haLeft, vaTop);
  EXPECT_EQ(g.CellType(), ctTriStateCheckBox);
  EXPECT_EQ(g.CellCheckBoxState(), cbGrayed);
  EXPECT_FALSE(g.CellBoolean());

  ChangeLog log;
  g.SetMultiImage(4, 5, 0, haLeft, vaTop, log.Handler());
  ASSERT_NE(g.CellIntList(), nullptr);
  EXPECT_TRUE(g.CellCreated() && g.CellBoolean());
  EXPECT_EQ(g.CellBitmap(), nullptr);  // typed slot: not a bitmap
  g.CellIntList()->Add(3);
  ASSERT_EQ(log.Seen.size(), 1u);
  EXPECT_EQ(log.Seen[0].Col, 4);
  EXPECT_EQ(log.Seen[0].Row, 5);
}

TEST(CellGraphic, FreesWhatItsKindOwnsWhenFreedOrChanged) {
  // (make the graphic, whether the object given is freed when the graphic goes).
  struct Case {
    const char* Name;
    std::function<void(TCellGraphic&, int&)> Make;
    int FreedAtEnd;
  };
  const Case cases[] = {
      {"caller's bitmap", [](TCellGraphic& g, int& f) { g.SetBitmap(new Tracked<TBitmap>(f), false, haLeft, vaTop); }, 0},
      {"created bitmap",
       [](TCellGraphic& g, int& f) {
         g.SetBitmap(new Tracked<TBitmap>(f), false, haLeft, vaTop);
         g.SetCellCreated(true);
       },
       1},
      {"created icon",
       [](TCellGraphic& g, int& f) {
         g.SetIcon(new Tracked<TIcon>(f), haLeft, vaTop);
         g.SetCellCreated(true);
       },
       1},
      {"created picture",
       [](TCellGraphic& g, int& f) {
         g.SetPicture(new Tracked<TPicture>(f), false, Stretch, 0, haLeft, vaTop);
         g.SetCellCreated(true);
       },
       1},
      {"check box balloon",
       [](TCellGraphic& g, int& f) {
         g.SetCheckBox(true, false, false, haLeft, vaTop);
         g.SetCellAngle(1);
         g.SetCellStrings(new Tracked<TStringList>(f));
       },
       1},
      {"created glyph",
       [](TCellGraphic& g, int& f) {
         g.SetBitButton(20, 20, u"b", new Tracked<TBitmap>(f), haLeft, vaTop);
         g.SetCellCreated(true);
       },
       1},
      {"created radio captions",
       [](TCellGraphic& g, int& f) {
         g.SetCellType(ctRadio);
         g.SetCellStrings(new Tracked<TStringList>(f));
         g.SetCellCreated(true);
       },
       1},
      {"caller's radio captions",
       [](TCellGraphic& g, int& f) {
         g.SetCellType(ctRadio);
         g.SetCellStrings(new Tracked<TStringList>(f));
       },
       0},
      {"interfaced object, even marked created",
       [](TCellGraphic& g, int& f) {
         g.SetInterfacedCell(new Tracked<TStringList>(f));
         g.SetCellCreated(true);
       },
       0},
      {"balloon", [](TCellGraphic& g, int& f) {
         g.SetCellType(ctBalloon);
         g.SetCellStrings(new Tracked<TStringList>(f));
       }, 1},
      {"progress colours", [](TCellGraphic& g, int&) {
         g.SetCellType(ctProgress);
         g.SetCellBitmapColor(clRed);
         g.SetCellIconColor(clBlue);
       }, 0},
  };
  for (const auto& c : cases) {
    int freed = 0;
    std::unique_ptr<TObject> callers;
    {
      TCellGraphic g;
      c.Make(g, freed);
      if (!g.OwnsObject() && !g.OwnsIcon()) {
        callers.reset(g.CellObject() ? g.CellObject() : g.CellIcon());
      }
    }
    EXPECT_EQ(freed, c.FreedAtEnd) << c.Name;
    callers.reset();
  }
}

TEST(CellGraphic, AKindChangeOrAReplacementFreesWhatWasOwned) {
  int freed = 0;
  TCellGraphic g;
  g.SetBitmap(new Tracked<TBitmap>(freed), false, haLeft, vaTop);
  g.SetCellCreated(true);
  g.SetButton(10, 10, u"", haLeft, vaTop);  // another kind
  EXPECT_EQ(freed, 1);
  EXPECT_EQ(g.CellObject(), nullptr);

  g.SetBitmap(new Tracked<TBitmap>(freed), false, haLeft, vaTop);
  g.SetCellCreated(true);
  Tracked<TBitmap> callers(freed);
  g.SetBitmap(&callers, true, haLeft, vaTop);  // replaced by the caller's: the old one goes
  EXPECT_EQ(freed, 2);
  EXPECT_FALSE(g.CellCreated());  // the caller's bitmap stays the caller's
  EXPECT_EQ(g.CellBitmap(), &callers);

  g.SetCellType(ctNone);  // not owned: stays the caller's
  EXPECT_EQ(freed, 2);

  g.SetMultiImage(0, 0, 1, haLeft, vaTop, nullptr);
  g.SetCellType(ctNode);  // the image list was always owned
  EXPECT_EQ(g.CellIntList(), nullptr);
}

TEST(CellGraphic, AssignCopiesFieldsNotObjectsAndChecksTheSource) {
  int freed = 0;
  TCellGraphic src;
  src.SetPicture(new Tracked<TPicture>(freed), true, ShrinkWithAspectRatio, 3, haRight, vaBottom);
  src.SetCellCreated(true);
  src.SetCellText(u"t");
  src.SetCellValue(2.5);
  src.SetCellVar(int32_t(-1));

  TCellGraphic dst;
  dst.SetIcon(new Tracked<TIcon>(freed), haLeft, vaTop);
  dst.SetCellCreated(true);
  dst.Assign(&src);
  EXPECT_EQ(freed, 1);  // the icon dst owned
  EXPECT_EQ(dst.CellType(), ctPicture);
  EXPECT_EQ(dst.CellAngle(), ShrinkWithAspectRatio);
  EXPECT_EQ(dst.CellIndex(), 3);
  EXPECT_EQ(dst.CellHAlign(), haRight);
  EXPECT_EQ(dst.CellText(), u"t");
  EXPECT_EQ(dst.CellValue(), 2.5);
  EXPECT_TRUE(dst.CellCreated() && dst.CellTransparent());
  EXPECT_EQ(dst.CellObject(), nullptr);  // not shared: freed once, by src
  EXPECT_TRUE(std::holds_alternative<std::monostate>(dst.CellVar()));

  TBands other;
  EXPECT_THROW(dst.Assign(&other), EConvertError);
  EXPECT_EQ(dst.CellType(), ctPicture);
}

TEST(CellGraphic, PictureSizeByStretchMode) {
  TempFolder dir;
  TBitmap(200, 100).SaveToFile(dir.FileS("p.bmp"));
  struct Case {
    TStretchMode Mode;
    int RoomW, RoomH;
    TPoint Size;
  };
  const Case cases[] = {
      {StretchWithAspectRatio, 110, 60, {110, 55}}, {Stretch, 110, 60, {110, 60}},
      {Shrink, 110, 60, {110, 60}},                 {noStretch, 110, 60, {200, 100}},
      {ShrinkWithAspectRatio, 110, 60, {110, 55}},  {ShrinkWithAspectRatio, 300, 300, {200, 100}},
      {StretchWithAspectRatio, 300, 300, {300, 150}}, {Shrink, 300, 300, {200, 100}},
  };
  TPicture picture;
  picture.LoadFromFile(dir.FileS("p.bmp"));
  TFilePicture file;
  file.SetFilename(dir.FileS("p.bmp"));
  for (const auto& c : cases) {
    TCellGraphic g;
    g.SetPicture(&picture, false, c.Mode, 0, haLeft, vaTop);
    EXPECT_EQ(g.GetPictureSize(c.RoomW, c.RoomH, true), c.Size) << int(c.Mode) << " " << c.RoomW;
    g.SetFilePicture(&file, false, c.Mode, 10, haLeft, vaTop);
    EXPECT_EQ(g.GetPictureSize(c.RoomW + 10, c.RoomH + 10, false), c.Size) << "file " << int(c.Mode);
  }
  TCellGraphic other;
  other.SetCheckBox(true, false, false, haLeft, vaTop);
  EXPECT_EQ(other.GetPictureSize(50, 50, false), TPoint());
}

// ---------------------------------------------------------------------------
// Helper persistents

struct CountingPanel : TPanel {
  using TPanel::TPanel;
  void Invalidate() override {
    ++Repaints;
    TPanel::Invalidate();
  }
  int Repaints = 0;
};

TEST(CellNode, DefaultsRepaintsAndCopies) {
  CountingPanel owner(nullptr);
  TCellNode n(&owner);
  EXPECT_EQ(n.Color(), clSilver);
  EXPECT_EQ(n.NodeType(), cnXP);
  EXPECT_EQ(n.NodeColor(), clBlack);
  EXPECT_EQ(n.NodeIndent(), 12);
  EXPECT_TRUE(n.ShowTree() && n.ShowTreeFull());
  EXPECT_EQ(n.TreeColor(), clGray);
  EXPECT_TRUE(n.ExpandGlyph()->Empty());

  n.SetNodeType(cnXP);
  n.SetColor(clRed);
  EXPECT_EQ(owner.Repaints, 0);
  n.SetNodeType(cnFlat);
  n.SetNodeIndent(20);
  n.SetShowTree(false);
  n.SetTreeColor(clRed);
  EXPECT_EQ(owner.Repaints, 4);

  TBitmap glyph(8, 8);
  n.SetExpandGlyph(&glyph);
  glyph.SetSize(4, 4);
  EXPECT_EQ(n.ExpandGlyph()->Width(), 8);

  TCellNode copy(nullptr);
  copy.Assign(&n);
  EXPECT_EQ(copy.NodeType(), cnFlat);
  EXPECT_EQ(copy.Color(), clRed);
  EXPECT_EQ(copy.ExpandGlyph()->Width(), 8);
  EXPECT_EQ(copy.Owner(), nullptr);
}

TEST(ColumnSize, DefaultsStretchAtOnceOnlyWithAParent) {
  TForm form(nullptr);
  auto* grid = new TPanel(&form);
  TColumnSize cs(grid);
  EXPECT_EQ(cs.Rows(), arAll);
  EXPECT_EQ(cs.StretchColumn(), -1);
  EXPECT_EQ(cs.Location(), clRegistry);
  EXPECT_FALSE(cs.Save() || cs.Stretch() || cs.SynchWithGrid());
  int stretches = 0;
  cs.OnStretch = [&](TObject*) { ++stretches; };
  cs.SetStretch(true);
  EXPECT_EQ(stretches, 0);
  grid->SetParent(&form);
  cs.SetStretch(true);
  EXPECT_EQ(stretches, 1);

  cs.SetKey(u"k");
  cs.SetStretchColumn(2);
  TColumnSize copy(nullptr);
  copy.Assign(&cs);
  EXPECT_EQ(copy.Key(), u"k");
  EXPECT_EQ(copy.StretchColumn(), 2);
  EXPECT_TRUE(copy.Stretch());
  EXPECT_EQ(copy.Owner(), nullptr);
}

TEST(HTMLSettings, DefaultsAndCopyWithoutExportImages) {
  THTMLSettings h;
  EXPECT_EQ(h.BorderSize(), 1);
  EXPECT_EQ(h.Width(), 100);
  EXPECT_TRUE(h.ExportImages() && h.SaveColor() && h.SaveFonts());
  EXPECT_FALSE(h.XHTML() || h.AutoPreview());
  EXPECT_EQ(h.ColWidths()->Count(), 0);
  h.SetExportImages(false);
  h.SetTableStyle(u"x");
  h.ColWidths()->Add(5);
  THTMLSettings copy;
  copy.Assign(&h);
  EXPECT_EQ(copy.TableStyle(), u"x");
  EXPECT_TRUE(copy.ExportImages());
  EXPECT_EQ(copy.ColWidths()->Count(), 0);
}

TEST(PrintSettings, DefaultsAndCopy) {
  TPrintSettings p(nullptr);
  EXPECT_EQ(p.DateFormat(), u"dd/mm/yyyy");
  EXPECT_EQ(p.PageNumSep(), u"/");
  EXPECT_EQ(p.Borders(), pbSingle);
  EXPECT_TRUE(p.Centered() && p.UseDisplayFont());
  EXPECT_EQ(p.Orientation(), poPortrait);
  EXPECT_EQ(p.FitToPage(), fpNever);
  EXPECT_EQ(p.Title(), ppNone);
  EXPECT_EQ(p.BorderStyle(), psSolid);

  p.SetFitToPage(fpShrink);
  p.TitleLines()->Add(u"line");
  TFont big;
  big.SetSize(20);
  p.SetHeaderFont(&big);
  p.SetFixedCellsAlways(true);
  TPrintSettings copy(nullptr);
  copy.Assign(&p);
  EXPECT_EQ(copy.FitToPage(), fpShrink);
  EXPECT_EQ(copy.TitleLines()->Text(), u"line\r\n");
  EXPECT_EQ(copy.HeaderFont()->Size(), 20);
  EXPECT_FALSE(copy.FixedCellsAlways());
  TBands other;
  EXPECT_THROW(copy.Assign(&other), EInvalidCast);
}

}  // namespace
