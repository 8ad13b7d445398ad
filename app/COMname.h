#pragma once
// The text the port setup window shows above its settings: a heading and one line per
// usable serial port, naming the device so that the operator can tell which port
// belongs to the receiver's cable.

#include "platform/rtl/System.h"

// The last list built by ListSerialPorts.
extern String PortListText;

// Rebuilds PortListText: "【使用可能COMﾎﾟｰﾄ】" CR LF, then per usable port (one the
// serial library lists whose device node exists) its description and CR LF.
void ListSerialPorts();

// The folder the system's device files are read under ("/" by default); also sets the
// serial library's port list root. For tests.
void SetPortListRoot(const String& Root);
