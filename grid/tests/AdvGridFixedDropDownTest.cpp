// The drop-down button of the string grid's fixed cells: real presses at the header, its menu
// popping up under the button and an item picked with the mouse.
#include <gtest/gtest.h>

#include "grid/tests/GridTestSupport.h"
#include "platform/ui/Menus.h"

namespace {

// Six columns and eight rows; the header row reacts to hover and shows drop-down buttons;
// the menu has two items that record their clicks.
struct TDropDownGrid : TGridForm {
  DEreDuzeroVaro* g = grid;
  TPopupMenu* menu = new TPopupMenu(&form);
  std::vector<String> clicked;
  TDropDownGrid() {
    g->SetColCount(6);
    g->SetRowCount(8);
    for (int c = 1; c < 6; ++c) g->SetCells(c, 0, u"h" + IntToStr(c));
    g->SetLook(glXP);
    g->SetHoverFixedCells(hfFixedRows);
    g->ControlLook()->SetFixedDropDownButton(true);
    for (const char16_t* caption : {u"Ascending", u"Hide"}) {
      auto* item = new TMenuItem(menu);
      item->SetCaption(caption);
      item->OnClick = [this, item](TObject*) { clicked.push_back(item->Caption()); };
      menu->Items()->Add(item);
    }
    g->SetFixedDropDownMenu(menu);
    ProcessPendingEvents();
  }
  // Presses at (X, Y) of the grid; when a menu pops up, lets go of the button and clicks the
  // item at Pick. Answers where the menu came up (-1, -1 when none did).
  TPoint PressAndPick(int X, int Y, int Pick) {
    // The watch outlives a press that popped nothing up; it then does nothing.
    auto at = std::make_shared<TPoint>(-1, -1);
    auto live = std::make_shared<bool>(true);
    WhenPopupMenu([at, live, this, X, Y, Pick] {
      if (!*live) return;
      const TPopupMenuView m = ActivePopupMenu();
      *at = m.Bounds.TopLeft();
      SimulateMouseUp(g, mbLeft, X, Y);
      const TRect r = m.Items.at(Pick).second;
      SimulateScreenClick(r.Left + r.Width() / 2, r.Top + r.Height() / 2);
    });
    SimulateMouseDown(g, mbLeft, X, Y);
    *live = false;
    if (at->X == -1) SimulateMouseUp(g, mbLeft, X, Y);
    ProcessPendingEvents();
    return *at;
  }
};

}  // namespace

TEST(AdvGridFixedDropDown, PressInTheButtonZonePopsTheMenuUnderTheButton) {
  // Distance of the press from the cell's right edge; with column sizing the last 2 pixels
  // belong to the border.
  struct TCase {
    bool Sizing;
    int FromRight;
    bool Pops;
  } cases[] = {{false, 10, true}, {false, 1, true},  {false, 16, false}, {false, 30, false},
               {true, 10, true},  {true, 3, true},   {true, 2, false},   {true, 16, false}};
  for (const TCase& k : cases) {
    TDropDownGrid t;
    if (k.Sizing) t.g->SetOptions(t.g->Options() + TGridOptions{goColSizing});
    const TRect r = t.g->CellRect(3, 0);
    const TPoint at = t.PressAndPick(r.Right - k.FromRight, r.Top + 5, 0);
    const std::string what = (k.Sizing ? "sizing, " : "") + std::to_string(k.FromRight) + " px from the right";
    if (!k.Pops) {
      EXPECT_EQ(at, TPoint(-1, -1)) << what;
      EXPECT_TRUE(t.clicked.empty()) << what;
      continue;
    }
    EXPECT_EQ(at, t.g->ClientToScreen(TPoint(r.Right - 16, r.Bottom))) << what;
    EXPECT_EQ(t.clicked, std::vector<String>{u"Ascending"}) << what;
    EXPECT_EQ(t.menu->Tag(), 3) << "the menu's Tag names the column";
  }
}

TEST(AdvGridFixedDropDown, HandlerChoosesTheMenuAndTheButtonNeverSorts) {
  TDropDownGrid t;
  t.g->SortSettings()->SetShow(true);
  for (int r = 1; r < 8; ++r) t.g->SetCells(2, r, IntToStr(8 - r));
  const TRect r = t.g->CellRect(2, 0);
  // The handler sees the cell and may hand over another menu.
  auto* other = new TPopupMenu(&t.form);
  auto* item = new TMenuItem(other);
  item->SetCaption(u"Other");
  item->OnClick = [&](TObject*) { t.clicked.push_back(u"Other"); };
  other->Items()->Add(item);
  std::vector<TPoint> cells;
  t.g->OnFixedDropDownClick = [&](TObject*, int ACol, int ARow, TPopupMenu*& AMenu, bool& Keep) {
    cells.emplace_back(ACol, ARow);
    EXPECT_EQ(AMenu, t.menu);
    AMenu = other;
    Keep = true;
  };
  t.PressAndPick(r.Right - 8, r.Top + 5, 0);
  EXPECT_EQ(cells, std::vector<TPoint>{TPoint(2, 0)});
  EXPECT_EQ(t.clicked, std::vector<String>{u"Other"});
  EXPECT_EQ(t.g->Cells(2, 1), u"7") << "a press on the button does not sort";
  // A handler that takes the menu away: nothing pops up and nothing sorts.
  t.g->OnFixedDropDownClick = [&](TObject*, int, int, TPopupMenu*& AMenu, bool&) { AMenu = nullptr; };
  EXPECT_EQ(t.PressAndPick(r.Right - 8, r.Top + 5, 0), TPoint(-1, -1));
  EXPECT_EQ(t.g->Cells(2, 1), u"7");
  // A column OnCanShowFixedDropDown refuses has no button: the same press sorts.
  t.g->OnCanShowFixedDropDown = [](TObject*, int ACol, bool& CanShow) { CanShow = ACol != 2; };
  EXPECT_EQ(t.PressAndPick(r.Right - 8, r.Top + 5, 0), TPoint(-1, -1));
  EXPECT_EQ(t.g->Cells(2, 1), u"1");
  // A menu that goes is forgotten.
  delete t.menu;
  EXPECT_EQ(t.g->FixedDropDownMenu(), nullptr);
}

TEST(AdvGridFixedDropDown, HoveredHeaderShowsTheButtonPressedWhereTheMouseIsDown) {
  TDropDownGrid t;
  t.g->SetFixedDropDownMenu(nullptr);  // presses then go on as presses on the cell
  // Plain colours: hover green framed in grey, pressed blue framed in black.
  TControlLook* cl = t.g->ControlLook();
  for (auto set : {&TControlLook::SetFixedGradientHoverFrom, &TControlLook::SetFixedGradientHoverTo,
                   &TControlLook::SetFixedGradientHoverMirrorFrom, &TControlLook::SetFixedGradientHoverMirrorTo})
    (cl->*set)(TColor(0x00C000));
  for (auto set : {&TControlLook::SetFixedGradientDownFrom, &TControlLook::SetFixedGradientDownTo,
                   &TControlLook::SetFixedGradientDownMirrorFrom, &TControlLook::SetFixedGradientDownMirrorTo})
    (cl->*set)(TColor(0xC00000));
  cl->SetFixedGradientHoverBorder(TColor(0x808080));
  cl->SetFixedGradientDownBorder(clBlack);
  const TRect r = t.g->CellRect(3, 0);
  const int y = r.Top + 3;
  auto look = [&] {
    std::unique_ptr<TBitmap> b = RenderControl(t.g);
    // The left part, the button, the separator and the triangle's middle (the painted cell
    // ends a pixel before the grid line).
    return std::vector<TColor>{PixelColor(*b, r.Left + 5, y), PixelColor(*b, r.Right - 5, y),
                               PixelColor(*b, r.Right - 17, r.Top + 12), PixelColor(*b, r.Right - 9, r.Top + 9)};
  };
  SimulateMouseMove(t.g, r.Left + 5, r.Top + 5);
  const std::vector<TColor> hover = look();
  EXPECT_EQ(hover, (std::vector<TColor>{TColor(0x00C000), TColor(0x00C000), TColor(0x808080), clBlack}))
      << "hover look, the separator and the down triangle";
  // Held on the text part: the text part looks pressed, the button not.
  SimulateMouseDown(t.g, mbLeft, r.Left + 5, r.Top + 5);
  const std::vector<TColor> textDown = look();
  SimulateMouseUp(t.g, mbLeft, r.Left + 5, r.Top + 5);
  EXPECT_EQ(textDown[0], TColor(0xC00000));
  EXPECT_EQ(textDown[1], TColor(0x00C000));
  // Held on the button: the other way round.
  SimulateMouseMove(t.g, r.Right - 6, r.Top + 5);
  SimulateMouseDown(t.g, mbLeft, r.Right - 6, r.Top + 5);
  const std::vector<TColor> buttonDown = look();
  SimulateMouseUp(t.g, mbLeft, r.Right - 6, r.Top + 5);
  EXPECT_EQ(buttonDown[0], TColor(0x00C000));
  EXPECT_EQ(buttonDown[1], TColor(0xC00000));
  // A column without the button: no separator or triangle.
  t.g->OnCanShowFixedDropDown = [](TObject*, int, bool& CanShow) { CanShow = false; };
  SimulateMouseMove(t.g, r.Left + 6, r.Top + 5);
  const std::vector<TColor> none = look();
  EXPECT_EQ(none, std::vector<TColor>(4, TColor(0x00C000)));
}
