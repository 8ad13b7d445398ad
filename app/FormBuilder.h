#pragma once
// How the tool's windows build their stored descriptions: each component is made with its
// owner and name, placed on its parent and given its bounds, in the order it is read.

#include "platform/rtl/Component.h"
#include "platform/ui/Controls.h"

// A component of the window (menu item, dialog, port, timer...), made with its name.
template <typename T>
T* MakeComponent(TComponent* Owner, const String& Name) {
  T* c = new T(Owner);
  c->SetName(Name);
  return c;
}

// A control of the window, made with its name and placed on its parent at the given bounds.
template <typename T>
T* Make(TComponent* Owner, TWinControl* Parent, const String& Name, int Left, int Top, int Width, int Height) {
  T* c = MakeComponent<T>(Owner, Name);
  c->SetParent(Parent);
  c->SetBounds(Left, Top, Width, Height);
  return c;
}

// A hint the control shows under the mouse.
inline void WithHint(TControl* Control, const String& Text) {
  Control->SetHint(Text);
  Control->SetShowHint(true);
}
