#pragma once
// The link between the grid and its rich edit. The rich edit's header and the grid's header
// cannot meet in one file (their progress-bar and print-border names overlap), so each side
// reaches the other through these calls.

#include <string>

#include "platform/rtl/Classes.h"

class DEreDuzeroVaro;
class TAdvRichEdit;
class TCustomRichEdit;

// ---- Rich edit side (AdvGridValuesRichEdit.cpp)
// A new rich edit owned by the grid (Owner is the grid).
TAdvRichEdit* CreateAdvRichEdit(TComponent* Owner);
TCustomRichEdit* AsRichEdit(TAdvRichEdit* Edit);
// Registers TAdvRichEdit under Name in the class registry.
void RegisterAdvRichEditClass(const String& Name);
// Loads RTF bytes (empty clears); damaged markup keeps the text read so far.
void RichLoadBytes(TCustomRichEdit* Edit, const std::string& Bytes);
// The content as RTF bytes.
std::string RichSaveBytes(TCustomRichEdit* Edit);
String RichPlainText(TCustomRichEdit* Edit);
// The size the content last asked for (pixels) after the word-wrap toggle that makes it ask.
TPoint RichRequestedSize(TAdvRichEdit* Edit, int Width, int Height, bool WordWrap);

// ---- Grid side (AdvGridValuesControls.cpp)
// The grid that owns a component, nullptr when the owner is no grid.
DEreDuzeroVaro* GridOfOwner(TComponent* Owner);
// The rich edit is the grid's hidden renderer.
bool IsGridRenderer(DEreDuzeroVaro* Grid, TAdvRichEdit* Edit);
// Up and Down leave the editor: the grid has neither word wrap nor multi-line cells.
bool GridTakesVerticalKeys(DEreDuzeroVaro* Grid);
// The grid takes the focus and handles the key.
void GridHandleKey(DEreDuzeroVaro* Grid, Word& Key, TShiftState Shift);
// The in-place rich editor's content asks for Height pixels (grid/AdvGridEditingKinds.cpp):
// with SizeWhileTyping.Height the editor and its row grow.
void GridRichEditorRequestsHeight(DEreDuzeroVaro* Grid, TAdvRichEdit* Edit, int Height);
// The in-place rich editor loses the focus to Focused: to the grid's own window, the grid
// ends the edit.
void GridRichEditorLosesFocus(DEreDuzeroVaro* Grid, HWND Focused);
