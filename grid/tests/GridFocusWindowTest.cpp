// The focus glow and the move arrows: windows of their own above the grid's form.
#include <gtest/gtest.h>

#include "grid/ArrowWindow.h"
#include "grid/FocusHelper.h"
#include "grid/GridFocusWindow.h"
#include "grid/SyncGrid.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Grids.h"
#include "testing/TestSupport.h"

namespace {

struct TGlowForm {
  TForm form{nullptr};
  TPanel* panel = new TPanel(&form);
  TGridFocusWindow* glow = new TGridFocusWindow(&form);
  TGlowForm() {
    form.SetBounds(100, 80, 300, 200);
    panel->SetParent(&form);
    panel->SetBounds(20, 30, 120, 60);
    form.Show();
    ProcessPendingEvents();
  }
  // A cell of the panel in screen coordinates.
  TRect Cell() const {
    const TPoint p = panel->ClientToScreen(TPoint(10, 10));
    return TRect(p.X, p.Y, p.X + 64, p.Y + 20);
  }
};

}  // namespace

TEST(GridFocusWindow, GlowsAroundTheCellAndFollowsTheFormUntilHidden) {
  TGlowForm f;
  EXPECT_EQ(f.glow->Width(), 0);
  f.glow->Follow(f.panel, [&] { return f.Cell(); });
  f.glow->ShowAround(f.Cell());
  ProcessPendingEvents();
  ASSERT_TRUE(f.glow->Visible());
  EXPECT_TRUE(f.glow->Translucent());  // the offscreen platform composites
  const TRect cell = f.Cell();
  EXPECT_EQ(f.glow->BoundsRect(), TRect(cell.Left - 4, cell.Top - 4, cell.Right + 4, cell.Bottom + 4));
  EXPECT_EQ(f.glow->WindowParams().Style, WS_POPUP | WS_DISABLED);
  EXPECT_EQ(f.glow->WindowParams().ExStyle, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);

  // The form moves, and a splitter moves the panel inside it: the glow goes along.
  f.form.SetBounds(160, 120, 300, 200);
  ProcessPendingEvents();
  EXPECT_EQ(f.glow->Left(), f.Cell().Left - 4);
  EXPECT_EQ(f.glow->Top(), f.Cell().Top - 4);
  f.panel->SetBounds(50, 30, 120, 60);
  ProcessPendingEvents();
  EXPECT_EQ(f.glow->Left(), f.Cell().Left - 4);

  f.glow->HideGlow();
  const int left = f.glow->Left();
  f.form.SetBounds(10, 10, 300, 200);
  ProcessPendingEvents();
  EXPECT_FALSE(f.glow->Visible());
  EXPECT_EQ(f.glow->Left(), left);
}

TEST(GridFocusWindow, MoveArrowsAreHiddenPopUpsOfTheirOwnersShapedByDirection) {
  TGlowForm f;
  // Where each arrow's outline reaches farthest: the way it points.
  struct Case {
    TArrowDirection Dir;
    TPoint Tip;
  } cases[] = {{arrUp, TPoint(5, 0)}, {arrDown, TPoint(5, 8)}, {arrLeft, TPoint(8, 5)}, {arrRight, TPoint(0, 5)}};
  for (const Case& c : cases) {
    auto* a = new TArrowWindow(f.panel, c.Dir);
    EXPECT_FALSE(a->Visible());
    EXPECT_EQ(a->Parent(), f.panel);
    EXPECT_EQ(a->Color(), TColor(0x0000FF00));
    int tips = 0;
    for (const TPoint& p : a->Arrow()) tips += p == c.Tip;
    EXPECT_EQ(tips, 1) << int(c.Dir);
    a->SetBounds(f.panel->ClientToScreen(TPoint(0, 0)).X, 300, 11, 11);
    a->SetVisible(true);
    ProcessPendingEvents();
    EXPECT_EQ(a->WindowParams().Style, WS_POPUP);
    auto shown = RenderControl(a);
    // Lime inside the outline; the window's corners lie outside it and do not show.
    int lime = 0;
    for (int y = 0; y < 11; ++y)
      for (int x = 0; x < 11; ++x) lime += PixelColor(*shown, x, y) == TColor(0x0000FF00);
    EXPECT_GT(lime, 10) << int(c.Dir);
    EXPECT_NE(PixelColor(*shown, 10, 10), TColor(0x0000FF00)) << int(c.Dir);
  }
}

TEST(GridFocusWindow, SyncGridRefusesItsOwnerAndSettingsCopy) {
  TForm form(nullptr);
  auto* owner = new TStringGrid(&form);
  auto* other = new TStringGrid(&form);
  TSyncGrid a(owner), b(other);
  a.SetGrid(owner);
  EXPECT_EQ(a.Grid(), nullptr);
  b.SetGrid(owner);
  b.SetScrollVertical(true);
  b.SetMoveColumn(true);
  a.Assign(&b);  // the owner comes through the setter: refused
  EXPECT_EQ(a.Grid(), nullptr);
  EXPECT_TRUE(a.ScrollVertical());
  EXPECT_TRUE(a.MoveColumn());
  EXPECT_FALSE(a.ScrollHorizontal());

  TFocusHelper h(owner), g(other);
  g.SetEnabled(true);
  h.Assign(&g);
  EXPECT_TRUE(h.Enabled());
}
