#pragma once
// Private to platform/: how menus become Qt menus.

#include <QMenu>
#include <QMenuBar>
#include <functional>

#include "platform/ui/Menus.h"

// Adds the visible sub-items of Parent to Menu (sub-menus for items with items); a triggered
// action calls OnTrigger with its item.
void FillQtMenu(QMenu* Menu, TMenuItem* Parent, TCustomImageList* Images,
                const std::function<void(TMenuItem*)>& OnTrigger);
// The menu bar a form shows for its main menu (nullptr for none).
QMenuBar* FormMenuBar(const TCustomForm* Form);
// Builds the menu's bar again and shows it on its form's window (a form whose window was
// made again calls it).
void UpdateFormMenuBar(TMainMenu* Menu);
