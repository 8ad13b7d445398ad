// Threads and the hand-over of calls to the main thread.

#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <deque>
#include <future>

#include "platform/rtl/Classes.h"

TThreadID GetCurrentThreadID() { return static_cast<TThreadID>(::syscall(SYS_gettid)); }

namespace {

std::atomic<TThreadID>& MainId() {
  static std::atomic<TThreadID> id{GetCurrentThreadID()};
  return id;
}
// Runs during static initialisation, on the thread that loads the program.
[[maybe_unused]] const TThreadID kInitialMainThread = MainId().load();

// One call handed to the main thread.
struct SyncCall {
  TThreadMethod Method;
  bool Wait = false;  // Synchronize: the caller waits and gets the exception back
  bool Done = false;
  std::exception_ptr Error;
};

// Process-wide queue of calls for the main thread. Cond is also signalled when a
// thread ends, so a main thread waiting for a thread wakes for either.
struct SyncQueue {
  std::mutex Mutex;
  std::condition_variable Cond;
  std::deque<std::shared_ptr<SyncCall>> Calls;
  bool SentPending = false;  // a message was sent to the main thread's windows
};

SyncQueue& MainQueue() {
  // Never destroyed: a thread may still wait in Synchronize when the process exits, and
  // destroying the condition variable it waits on would block the exit.
  static SyncQueue& q = *new SyncQueue;
  return q;
}

void Post(const std::shared_ptr<SyncCall>& call) {
  {
    std::lock_guard<std::mutex> lock(MainQueue().Mutex);
    MainQueue().Calls.push_back(call);
  }
  MainQueue().Cond.notify_all();
  if (WakeMainThread) WakeMainThread();
}

// Runs a Synchronize'd call and hands its outcome back to the waiting thread.
void RunWaitingCall(SyncCall& call) {
  try {
    call.Method();
  } catch (...) {
    call.Error = std::current_exception();
  }
  {
    std::lock_guard<std::mutex> lock(MainQueue().Mutex);
    call.Done = true;
  }
  MainQueue().Cond.notify_all();
}

// Runs only the Synchronize'd calls: a thread waited for may be blocked in one, while
// Queue'd calls can wait for the main loop (and their exceptions belong there).
void RunWaitingCalls() {
  SyncQueue& q = MainQueue();
  std::vector<std::shared_ptr<SyncCall>> waiting;
  {
    std::lock_guard<std::mutex> lock(q.Mutex);
    for (auto it = q.Calls.begin(); it != q.Calls.end();) {
      if ((*it)->Wait) {
        waiting.push_back(*it);
        it = q.Calls.erase(it);
      } else {
        ++it;
      }
    }
  }
  for (auto& call : waiting) RunWaitingCall(*call);
}

bool HasWaitingCall() {
  for (auto& call : MainQueue().Calls)
    if (call->Wait) return true;
  return false;
}

}  // namespace

std::function<void()> WakeMainThread;
std::function<void()> DispatchSentMessagesHook;

void NotifySentMessage() {
  {
    std::lock_guard<std::mutex> lock(MainQueue().Mutex);
    MainQueue().SentPending = true;
  }
  MainQueue().Cond.notify_all();
}

TThreadID MainThreadID() { return MainId().load(); }
bool IsMainThread() { return GetCurrentThreadID() == MainId().load(); }
void SetMainThread() { MainId() = GetCurrentThreadID(); }

bool CheckSynchronize(int TimeoutMs) {
  if (!IsMainThread()) return false;
  SyncQueue& q = MainQueue();
  std::deque<std::shared_ptr<SyncCall>> calls;
  {
    std::unique_lock<std::mutex> lock(q.Mutex);
    if (q.Calls.empty() && TimeoutMs > 0)
      q.Cond.wait_for(lock, std::chrono::milliseconds(TimeoutMs), [&] { return !q.Calls.empty(); });
    calls.swap(q.Calls);
  }
  if (calls.empty()) return false;
  while (!calls.empty()) {
    std::shared_ptr<SyncCall> call = calls.front();
    calls.pop_front();
    if (call->Wait) {
      RunWaitingCall(*call);
      continue;
    }
    try {
      call->Method();
    } catch (...) {
      // Put back what was not run yet, ahead of anything queued meanwhile.
      std::lock_guard<std::mutex> lock(q.Mutex);
      q.Calls.insert(q.Calls.begin(), calls.begin(), calls.end());
      throw;
    }
  }
  return true;
}

void TThread::Synchronize(const TThreadMethod& Method) {
  if (!Method) return;
  if (IsMainThread()) {
    Method();
    return;
  }
  auto call = std::make_shared<SyncCall>();
  call->Method = Method;
  call->Wait = true;
  Post(call);
  {
    std::unique_lock<std::mutex> lock(MainQueue().Mutex);
    MainQueue().Cond.wait(lock, [&] { return call->Done; });
  }
  if (call->Error) std::rethrow_exception(call->Error);
}

void TThread::Queue(const TThreadMethod& Method) {
  if (!Method) return;
  if (IsMainThread()) {
    Method();
    return;
  }
  auto call = std::make_shared<SyncCall>();
  call->Method = Method;
  Post(call);
}

TThread::TThread(bool) {}

TThread::~TThread() {
  if (FThread.joinable() && FThread.get_id() == std::this_thread::get_id()) {
    FThread.detach();  // freeing itself on its own thread
    return;
  }
  TerminateAndWait();
}

void TThread::TerminateAndWait() {
  if (!FStarted) return;
  if (FThread.joinable() && FThread.get_id() == std::this_thread::get_id()) return;
  Terminate();
  WaitFor();
}

void TThread::Start() {
  std::future<void> started;
  {
    std::lock_guard<std::mutex> lock(FMutex);
    if (FStarted) return;
    FStarted = true;
    std::promise<void> ready;
    started = ready.get_future();
    FThread = std::thread([this, ready = std::move(ready)]() mutable {
      { std::lock_guard<std::mutex> gate(FMutex); }  // FThread is assigned
      FThreadID = GetCurrentThreadID();
      ready.set_value();
      Run();
    });
  }
  // Hand back only once the thread knows its id. A thread that frees itself may be
  // gone by now, so nothing of this object is touched after the wait.
  started.wait();
}

void TThread::Terminate() { FTerminated = true; }

int TThread::WaitFor() {
  if (!FStarted) throw EThread(u"Cannot call WaitFor on a thread that was never started");
  if (GetCurrentThreadID() == FThreadID.load()) throw EThread(u"Cannot call WaitFor on the current thread");
  if (IsMainThread()) {
    // Keep serving Synchronize calls and sent messages; the thread's end also signals the queue.
    SyncQueue& q = MainQueue();
    for (bool sent = true;;) {
      if (sent && DispatchSentMessagesHook) DispatchSentMessagesHook();
      {
        std::unique_lock<std::mutex> lock(q.Mutex);
        q.Cond.wait(lock, [&] { return HasWaitingCall() || q.SentPending || FExited; });
        if (FExited) break;
        sent = q.SentPending;
        q.SentPending = false;
      }
      RunWaitingCalls();
    }
  } else {
    std::unique_lock<std::mutex> lock(MainQueue().Mutex);
    MainQueue().Cond.wait(lock, [&] { return FExited; });
  }
  {
    std::lock_guard<std::mutex> lock(FMutex);
    if (FThread.joinable()) FThread.join();
  }
  return FReturnValue.load();
}

void TThread::DoTerminate() {
  if (OnTerminate) Synchronize([this] { OnTerminate(this); });
}

void TThread::Run() {
  try {
    Execute();
  } catch (...) {
    FFatalException = std::current_exception();
  }
  FFinished = true;
  try {
    DoTerminate();
  } catch (...) {
    if (!FFatalException) FFatalException = std::current_exception();
  }
  if (FFreeOnTerminate) {
    delete this;
    return;
  }
  {
    std::lock_guard<std::mutex> lock(MainQueue().Mutex);
    FExited = true;
  }
  MainQueue().Cond.notify_all();
}
