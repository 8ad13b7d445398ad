#pragma once
// A component that hears the application's idle and exception events.

#include "platform/ui/Forms.h"

class TApplicationEvents : public TComponent {
public:
  explicit TApplicationEvents(TComponent* AOwner) : TComponent(AOwner) {
    Application->AddIdleHandler(&OnIdle);
    Application->AddExceptionHandler(&OnException);
  }
  ~TApplicationEvents() override {
    if (Application == nullptr) return;  // the program's end freed it first
    Application->RemoveIdleHandler(&OnIdle);
    Application->RemoveExceptionHandler(&OnException);
  }
  String ClassName() const override { return u"TApplicationEvents"; }

  // Runs whenever the message loop (also a modal one) has nothing to do; leaving
  // Done false keeps the calls coming, Done true lets the loop wait for the next message.
  TIdleEvent OnIdle;
  // Receives every exception that escapes an event handler; the loop goes on.
  TExceptionEvent OnException;
};
