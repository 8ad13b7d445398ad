#pragma once
// Blocking TCP client over POSIX sockets. Every call runs to completion on the caller's thread
// and fires its events synchronously inside the call: OnConnect inside Connect, OnDisconnect
// inside Disconnect (or when the peer is found closed), OnSend/OnReceive inside SendBuf/ReceiveBuf,
// OnError inside any call whose socket operation fails.

#include <functional>

#include "platform/rtl/Component.h"
#include "platform/rtl/System.h"

// Socket failure raised when a call fails and no OnError handler is assigned.
class ESocketError : public Exception {
public:
  ESocketError(String msg, int code) : Exception(std::move(msg)), ErrorCode(code) {}
  int ErrorCode;  // errno of the failing call (ETIMEDOUT for a connect time-out)
};

using TSocketNotifyEvent = std::function<void(TObject* Sender)>;
using TSocketDataEvent = std::function<void(TObject* Sender, char* Buf, int& DataLen)>;
using TSocketErrorEvent = std::function<void(TObject* Sender, int SocketError)>;

constexpr int SOCKET_ERROR = -1;

class TTcpClient : public TComponent {
public:
  explicit TTcpClient(TComponent* AOwner);
  ~TTcpClient() override;
  String ClassName() const override { return u"TTcpClient"; }

  // Host name or numeric address, and port number or service name, of the server.
  const String& RemoteHost() const { return FRemoteHost; }
  void SetRemoteHost(const String& Value) { FRemoteHost = Value; }
  const String& RemotePort() const { return FRemotePort; }
  void SetRemotePort(const String& Value) { FRemotePort = Value; }

  // Longest wait of Connect for the server to answer, in milliseconds.
  int ConnectTimeout() const { return FConnectTimeout; }
  void SetConnectTimeout(int Ms) { FConnectTimeout = Ms; }

  // Active: the client has a socket. Setting it True makes one (not yet connected);
  // setting it False disconnects and releases it.
  bool Active() const { return FHandle >= 0; }
  void SetActive(bool Value);

  // Connects to RemoteHost:RemotePort, waiting at most ConnectTimeout. True on success
  // (also when already connected, without a second OnConnect).
  bool Connect();
  // Closes the connection; OnDisconnect fires when one was open.
  void Disconnect();
  bool Connected() const { return FConnected; }

  // Sends the whole buffer; returns the bytes sent or SOCKET_ERROR.
  int SendBuf(const void* Buf, int BufSize, int Flags = 0);
  // Receives up to BufSize bytes (blocks until some arrive); returns the count,
  // 0 when the peer closed the connection, or SOCKET_ERROR.
  int ReceiveBuf(void* Buf, int BufSize, int Flags = 0);
  // True when at least one byte can be read within TimeOut milliseconds.
  bool WaitForData(int TimeOut = 0);

  int Handle() const { return FHandle; }
  int LastError() const { return FLastError; }

  TSocketNotifyEvent OnConnect;
  TSocketNotifyEvent OnDisconnect;
  TSocketDataEvent OnReceive;
  TSocketDataEvent OnSend;
  TSocketErrorEvent OnError;

private:
  bool Open();
  void CloseHandle();
  void PeerClosed();
  void Fail(int Code, const char* What);

  String FRemoteHost;
  String FRemotePort;
  int FConnectTimeout = 5000;
  int FHandle = -1;
  bool FConnected = false;
  int FLastError = 0;
};
