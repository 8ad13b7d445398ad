#pragma once
// The class library's basic classes: string lists, streams and threads.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/rtl/Component.h"
#include "platform/rtl/System.h"

// ---------------------------------------------------------------------------
// Streams

enum TSeekOrigin : uint16_t { soBeginning, soCurrent, soEnd };
constexpr TSeekOrigin soFromBeginning = soBeginning;
constexpr TSeekOrigin soFromCurrent = soCurrent;
constexpr TSeekOrigin soFromEnd = soEnd;

// File open modes: one access mode, optionally or-ed with one share mode.
// Share modes are accepted and not enforced.
constexpr uint16_t fmCreate = 0xFF00;
constexpr uint16_t fmOpenRead = 0x0000;
constexpr uint16_t fmOpenWrite = 0x0001;
constexpr uint16_t fmOpenReadWrite = 0x0002;
constexpr uint16_t fmShareCompat = 0x0000;
constexpr uint16_t fmShareExclusive = 0x0010;
constexpr uint16_t fmShareDenyWrite = 0x0020;
constexpr uint16_t fmShareDenyRead = 0x0030;
constexpr uint16_t fmShareDenyNone = 0x0040;

class TStream : public TObject {
public:
  String ClassName() const override { return u"TStream"; }

  // Transfer up to Count bytes; return the number moved (0 at the end).
  virtual int32_t Read(void* Buffer, int32_t Count) = 0;
  virtual int32_t Write(const void* Buffer, int32_t Count) = 0;
  // Returns the new position.
  virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;

  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t Pos) { Seek(Pos, soBeginning); }
  virtual int64_t Size();
  virtual void SetSize(int64_t NewSize);

  // Move exactly Count bytes or raise EReadError "Stream read error" / EWriteError "Stream write error".
  void ReadBuffer(void* Buffer, int32_t Count);
  void WriteBuffer(const void* Buffer, int32_t Count);
  // Copies Count bytes from Source's position (Count 0: all of Source from its start).
  // Returns the bytes copied; a short source raises EReadError.
  int64_t CopyFrom(TStream* Source, int64_t Count);
};

// A stream over an operating-system file.
class TFileStream : public TStream {
public:
  // Raises EFCreateError (fmCreate) or EFOpenError naming the file and the reason.
  TFileStream(const String& FileName, uint16_t Mode);
  ~TFileStream() override;
  String ClassName() const override { return u"TFileStream"; }

  int32_t Read(void* Buffer, int32_t Count) override;
  int32_t Write(const void* Buffer, int32_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  void SetSize(int64_t NewSize) override;
  const String& FileName() const { return FFileName; }
  int Handle() const { return FHandle; }

private:
  String FFileName;
  int FHandle = -1;
};

// Writes Size bytes as the whole content of FileName so that it is never left half written:
// they go to a new file in the same folder, which then replaces FileName in one rename. An
// existing file keeps its permission bits, and a link is followed to the file it names. Raises
// EFCreateError naming FileName when the folder cannot take the new file, the disk is full,
// or FileName is no regular file or may not be written; any existing file is then unchanged.
void SaveFileReplacing(const String& FileName, const void* Data, size_t Size);

// A stream held in memory.
class TMemoryStream : public TStream {
public:
  String ClassName() const override { return u"TMemoryStream"; }

  int32_t Read(void* Buffer, int32_t Count) override;
  int32_t Write(const void* Buffer, int32_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t Size() override { return static_cast<int64_t>(FData.size()); }
  // Position moves back to the new end when it lay beyond it.
  void SetSize(int64_t NewSize) override;

  void* Memory() { return FData.data(); }
  const void* Memory() const { return FData.data(); }
  // Makes room for Bytes bytes in all, so that writing up to there moves no data; the size
  // stays as it is.
  void Reserve(int64_t Bytes) {
    if (Bytes > static_cast<int64_t>(FData.capacity())) FData.reserve(static_cast<size_t>(Bytes));
  }
  void Clear();
  // Replace the contents by the whole of Stream / the file; the position goes to 0.
  void LoadFromStream(TStream* Stream);
  void LoadFromFile(const String& FileName);
  void SaveToStream(TStream* Stream);
  void SaveToFile(const String& FileName);

protected:
  std::vector<uint8_t> FData;
  int64_t FPosition = 0;
};

// A memory stream whose bytes are text in UTF-8.
class TStringStream : public TMemoryStream {
public:
  TStringStream() = default;
  explicit TStringStream(const String& AString);
  String ClassName() const override { return u"TStringStream"; }

  String DataString() const;
  // Up to Count bytes from the position, decoded as UTF-8.
  String ReadString(int32_t Count);
  void WriteString(const String& AString);
};

// ---------------------------------------------------------------------------
// String lists

class TStrings;
class TStringList;

enum TDuplicates : uint8_t { dupIgnore, dupAccept, dupError };

// An ordered list of strings, each with an associated object. Subclasses supply the
// storage (Get, GetCount, Insert, Delete, Clear and, optionally, objects); every other
// operation is built on those.
class TStrings : public TPersistent {
public:
  String ClassName() const override { return u"TStrings"; }

  // Storage primitives.
  virtual int Count() const = 0;
  virtual String Get(int Index) const = 0;
  virtual void Put(int Index, const String& S);
  virtual TObject* GetObject(int Index) const;
  virtual void PutObject(int Index, TObject* AObject);
  virtual void Insert(int Index, const String& S) = 0;
  virtual void InsertObject(int Index, const String& S, TObject* AObject);
  virtual void Delete(int Index) = 0;
  virtual void Clear() = 0;
  virtual int Add(const String& S);
  virtual int AddObject(const String& S, TObject* AObject);
  virtual void Exchange(int Index1, int Index2);
  virtual void Move(int CurIndex, int NewIndex);
  virtual int IndexOf(const String& S) const;
  int IndexOfName(const String& Name) const;
  int IndexOfObject(TObject* AObject) const;

  String Strings(int Index) const { return Get(Index); }
  String operator[](int Index) const { return Get(Index); }
  TObject* Objects(int Index) const { return GetObject(Index); }
  void SetObjects(int Index, TObject* AObject) { PutObject(Index, AObject); }
  void Append(const String& S) { Add(S); }
  void AddStrings(const TStrings* Source);
  void AddStrings(std::initializer_list<String> Items);
  // Copies the strings and objects of Source (a TStrings) into this list.
  void Assign(TPersistent* Source) override;
  void Assign(const TStrings& Source);
  bool Equals(const TStrings& Other) const;

  // Every line followed by CR LF. Setting accepts CR LF, LF and CR; a final break
  // adds no empty line.
  String Text() const;
  virtual void SetText(const String& Value);
  // Items separated by ',' and quoted with '"' where needed.
  String CommaText() const;
  void SetCommaText(const String& Value);
  // Items separated by Delimiter and quoted with QuoteChar where needed. Without
  // StrictDelimiter, blanks also separate items and are trimmed around them.
  String DelimitedText() const;
  void SetDelimitedText(const String& Value);
  Char Delimiter() const { return FDelimiter; }
  void SetDelimiter(Char C) { FDelimiter = C; }
  Char QuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(Char C) { FQuoteChar = C; }
  bool StrictDelimiter() const { return FStrictDelimiter; }
  void SetStrictDelimiter(bool V) { FStrictDelimiter = V; }

  // Name=Value lines. A line without the separator has an empty name.
  String Names(int Index) const;
  String Values(const String& Name) const;
  // An empty Value deletes the line; otherwise the line is replaced or added.
  void SetValues(const String& Name, const String& Value);
  String ValueFromIndex(int Index) const;
  void SetValueFromIndex(int Index, const String& Value);
  Char NameValueSeparator() const { return FNameValueSeparator; }
  void SetNameValueSeparator(Char C) { FNameValueSeparator = C; }

  // Change notifications are held back until the last EndUpdate.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // UTF-8 with or without a byte-order mark; written as UTF-8 without one.
  // A missing file raises EFOpenError naming it.
  virtual void LoadFromFile(const String& FileName);
  virtual void LoadFromStream(TStream* Stream);
  virtual void SaveToFile(const String& FileName) const;
  virtual void SaveToStream(TStream* Stream) const;

  // 0 when equal; the default ignores case.
  virtual int CompareStrings(const String& S1, const String& S2) const;

protected:
  // Called with True by the first BeginUpdate, False by the last EndUpdate.
  virtual void SetUpdateState(bool Updating);
  [[noreturn]] void Error(const String& Msg, int Data) const;

private:
  Char FDelimiter = u',';
  Char FQuoteChar = u'"';
  Char FNameValueSeparator = u'=';
  bool FStrictDelimiter = false;
  int FUpdateCount = 0;
};

using TStringListSortCompare = std::function<int(TStringList* List, int Index1, int Index2)>;

// The class library's string list: storage in memory, optional sorting, duplicates
// rule, case sensitivity and change events. Objects are not owned unless OwnsObjects.
class TStringList : public TStrings {
public:
  TStringList() = default;
  explicit TStringList(bool OwnsObjects) : FOwnsObjects(OwnsObjects) {}
  ~TStringList() override;
  String ClassName() const override { return u"TStringList"; }

  int Count() const override { return static_cast<int>(FList.size()); }
  // Room for that many strings before the list grows; a value below Count is ignored.
  int Capacity() const { return static_cast<int>(FList.capacity()); }
  void SetCapacity(int Value) {
    if (Value > Count()) FList.reserve(static_cast<size_t>(Value));
  }
  String Get(int Index) const override;
  // Raises EStringListError on a sorted list.
  void Put(int Index, const String& S) override;
  TObject* GetObject(int Index) const override;
  void PutObject(int Index, TObject* AObject) override;
  // Raises EStringListError on a sorted list.
  void Insert(int Index, const String& S) override;
  void InsertObject(int Index, const String& S, TObject* AObject) override;
  void Delete(int Index) override;
  void Clear() override;
  // On a sorted list the item goes to its sorted place; a duplicate is handled by Duplicates.
  int Add(const String& S) override;
  int AddObject(const String& S, TObject* AObject) override;
  void Exchange(int Index1, int Index2) override;
  int IndexOf(const String& S) const override;

  // Binary search of a sorted list: True when found; Index is the match (the first of
  // equal items) or the place where S would be inserted.
  bool Find(const String& S, int& Index) const;
  virtual void Sort();
  void CustomSort(const TStringListSortCompare& Compare);

  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);
  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

  int CompareStrings(const String& S1, const String& S2) const override;

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

protected:
  void SetUpdateState(bool Updating) override;
  virtual void Changed();
  virtual void Changing();

private:
  struct Item {
    String S;
    TObject* Obj = nullptr;
  };
  void CheckIndex(int Index) const;
  void InsertItem(int Index, const String& S, TObject* AObject);

  std::vector<Item> FList;
  bool FSorted = false;
  TDuplicates FDuplicates = dupIgnore;
  bool FCaseSensitive = false;
  bool FOwnsObjects = false;
};

// ---------------------------------------------------------------------------
// Threads

enum TThreadPriority : uint8_t { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };
using TThreadID = uint64_t;
using TThreadMethod = std::function<void()>;

// The operating-system id of the calling thread.
TThreadID GetCurrentThreadID();
// The main thread: the one that ran the library's static initialisation, unless changed.
TThreadID MainThreadID();
bool IsMainThread();
// Makes the calling thread the main thread.
void SetMainThread();

// Called (from any thread) when a call is queued for the main thread; the GUI layer
// sets it to wake its event loop, which then calls CheckSynchronize.
extern std::function<void()> WakeMainThread;

// Handles the messages other threads sent to the main thread's windows and wait on; the
// window layer sets it. TThread::WaitFor calls it on the main thread while it waits, so a
// thread blocked sending to a window cannot deadlock the main thread waiting for it.
extern std::function<void()> DispatchSentMessagesHook;
// Called (from any thread) after a message was queued for the main thread's windows:
// wakes a main thread waiting in TThread::WaitFor to run DispatchSentMessagesHook.
void NotifySentMessage();

// Runs the calls queued for the main thread. Must be called on the main thread
// (elsewhere it does nothing and returns False). Waits up to TimeoutMs for a first call
// when none is queued. Returns True when at least one call ran. An exception from a
// Queue'd call leaves here (the remaining calls stay queued); one from a Synchronize'd
// call goes back to the waiting thread.
bool CheckSynchronize(int TimeoutMs = 0);

// A thread of execution. Execute runs on the new thread.
//
// C++ cannot run the overridden Execute before the most-derived constructor has finished,
// so no thread starts from this base constructor: a class that is created "not suspended"
// calls Start() as the last step of its own constructor.
//
// Destroying a running thread terminates it and waits for it. A derived class whose
// Execute uses the derived class's own members must do `Terminate(); WaitFor();` in its
// own destructor, since those members are gone by the time this destructor runs.
class TThread : public TObject {
public:
  explicit TThread(bool CreateSuspended = true);
  ~TThread() override;
  String ClassName() const override { return u"TThread"; }

  // Starts Execute on a new thread; a second call does nothing.
  void Start();
  void Resume() { Start(); }
  // Asks Execute to end: sets Terminated, which Execute should check.
  void Terminate();
  // Waits until Execute has returned and returns ReturnValue. On the main thread the
  // wait keeps running Synchronize calls (not Queue'd ones) and messages sent to its
  // windows, so a worker waiting in Synchronize or SendMessage cannot deadlock it. Raises EThread when called from the thread itself
  // or on a thread never started.
  int WaitFor();

  bool Terminated() const { return FTerminated.load(); }
  bool Finished() const { return FFinished.load(); }
  bool Started() const { return FStarted; }
  bool Suspended() const { return !FStarted; }
  TThreadID ThreadID() const { return FThreadID.load(); }
  int ReturnValue() const { return FReturnValue.load(); }
  void SetReturnValue(int V) { FReturnValue = V; }
  // Stored only: threads run at the normal priority.
  TThreadPriority Priority() const { return FPriority; }
  void SetPriority(TThreadPriority P) { FPriority = P; }
  // The thread object deletes itself once Execute and OnTerminate have run. Such an
  // object must have been created with new and must not be deleted by anyone else.
  bool FreeOnTerminate() const { return FFreeOnTerminate.load(); }
  void SetFreeOnTerminate(bool V) { FFreeOnTerminate = V; }
  // The exception that ended Execute, if any.
  std::exception_ptr FatalException() const { return FFatalException; }

  // Runs Method on the main thread and waits for it; an exception it raises is raised
  // again here. On the main thread it runs Method at once.
  static void Synchronize(const TThreadMethod& Method);
  // Runs Method on the main thread later, without waiting (at once on the main thread).
  static void Queue(const TThreadMethod& Method);

  // Runs on the main thread after Execute has ended, before the thread is finished.
  TNotifyEvent OnTerminate;

protected:
  virtual void Execute() = 0;
  // Called on the thread after Execute; the default runs OnTerminate through Synchronize.
  virtual void DoTerminate();
  // Terminate() and WaitFor() unless the thread never started or this is the thread
  // itself (a thread that frees itself). Derived destructors call this first.
  void TerminateAndWait();

private:
  void Run();

  std::thread FThread;
  std::mutex FMutex;
  bool FStarted = false;
  bool FExited = false;  // guarded by the main-thread queue's mutex
  std::atomic<bool> FTerminated{false};
  std::atomic<bool> FFinished{false};
  std::atomic<bool> FFreeOnTerminate{false};
  std::atomic<int> FReturnValue{0};
  std::atomic<TThreadID> FThreadID{0};
  TThreadPriority FPriority = tpNormal;
  std::exception_ptr FFatalException;
};

// A thread running a function; for simple workers and tests.
class TAnonymousThread : public TThread {
public:
  explicit TAnonymousThread(std::function<void(TThread*)> Proc) : TThread(true), FProc(std::move(Proc)) {}
  ~TAnonymousThread() override { TerminateAndWait(); }
  String ClassName() const override { return u"TAnonymousThread"; }

protected:
  void Execute() override { FProc(this); }

private:
  std::function<void(TThread*)> FProc;
};

#include "platform/rtl/Collections.h"
