#pragma once
// The text the port setup window shows above its settings: a heading and one line per
// usable serial port, naming the device so that the operator can tell which port
// belongs to the receiver's cable.

#include "platform/rtl/Classes.h"
#include "platform/rtl/System.h"

// The last list built by ListSerialPorts.
extern String PortListText;

// Rebuilds PortListText: "【使用可能COMﾎﾟｰﾄ】" CR LF, then per usable port (one the
// serial library lists whose device node exists) its description and CR LF.
void ListSerialPorts();

// The folder the system's device files are read under ("/" by default); also sets the
// serial library's port list root. For tests.
void SetPortListRoot(const String& Root);

// The name of a port's device as the operator knows it: a bare name as written ("ttyUSB0",
// "COM1"), a device path by its name under /dev ("ttyUSB0", "pts/3"), any other path (a
// symlink, a by-id link) by its file name.
String PortDeviceName(const String& Port);

// Makes sure a list of the machine's ports holds Port under its own spelling: a port the
// machine's list lacks (a pty, a symlink) is added; an entry naming the same device takes
// Port's spelling.
void ListConfiguredPort(TStrings* Ports, const String& Port);
