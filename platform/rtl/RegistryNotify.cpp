#include "platform/rtl/RegistryNotify.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <thread>

#include "platform/rtl/SysUtils.h"

namespace {

// The watched part of the store as comparable text: key paths (for name changes) and
// values with their kinds (for value changes), each in a fixed order and lower case names.
struct Snapshot {
  std::map<String, String> keys;
  std::map<String, String> values;
};

void Walk(TRegistry& reg, const String& path, bool subtree, Snapshot& out) {
  if (!reg.OpenKeyReadOnly(u"\\" + path)) return;
  out.keys[AnsiLowerCase(path)] = String();
  TStringList names;
  reg.GetValueNames(&names);
  for (int i = 0; i < names.Count(); ++i) {
    const String name = names[i];
    const TRegDataType type = reg.GetDataType(name);
    const String value = type == rdInteger ? u"i:" + IntToStr(reg.ReadInteger(name)) : u"s:" + reg.ReadString(name);
    out.values[AnsiLowerCase(path) + u"\\\\" + AnsiLowerCase(name)] = value;
  }
  if (!subtree) return;
  TStringList subkeys;
  reg.GetKeyNames(&subkeys);
  for (int i = 0; i < subkeys.Count(); ++i) Walk(reg, path + u"\\" + subkeys[i], true, out);
}

Snapshot Take(HKEY root, const String& key, bool subtree) {
  Snapshot s;
  TRegistry reg;
  reg.SetRootKey(root);
  Walk(reg, key, subtree, s);
  return s;
}

}  // namespace

struct TRegChangeWatch::Impl {
  HKEY root;
  String key;
  bool subtree;
  uint32_t filter;
  TEvent& event;
  std::string storeName;  // file name of the store inside its folder
  int inotifyFd = -1;
  int cancelFd = -1;
  Snapshot baseline;
  std::thread thread;

  Impl(HKEY r, const String& k, bool s, uint32_t f, TEvent& e) : root(r), key(k), subtree(s), filter(f), event(e) {}

  ~Impl() {
    if (inotifyFd >= 0) ::close(inotifyFd);
    if (cancelFd >= 0) ::close(cancelFd);
  }

  bool Changed(const Snapshot& now) const {
    if ((filter & REG_NOTIFY_CHANGE_NAME) && now.keys != baseline.keys) return true;
    if ((filter & REG_NOTIFY_CHANGE_LAST_SET) && now.values != baseline.values) return true;
    return false;
  }

  // Reads the store each time it is rewritten and signals the first change the filter names.
  void Run() {
    pollfd fds[2] = {{inotifyFd, POLLIN, 0}, {cancelFd, POLLIN, 0}};
    alignas(inotify_event) char buffer[4096];
    for (;;) {
      if (::poll(fds, 2, -1) < 0) {
        if (errno == EINTR) continue;
        return;
      }
      if (fds[1].revents != 0) return;
      const ssize_t n = ::read(inotifyFd, buffer, sizeof buffer);
      if (n <= 0) continue;
      bool storeTouched = false;
      for (ssize_t at = 0; at < n;) {
        const auto* ev = reinterpret_cast<const inotify_event*>(buffer + at);
        if (ev->len > 0 && storeName == ev->name) storeTouched = true;
        at += static_cast<ssize_t>(sizeof(inotify_event) + ev->len);
      }
      if (!storeTouched) continue;
      try {
        if (Changed(Take(root, key, subtree))) {
          event.SetEvent();
          return;
        }
      } catch (const Exception&) {
        // A store caught mid-write by another process: the finished write comes next.
      }
    }
  }
};

TRegChangeWatch::TRegChangeWatch(HKEY Root, const String& Key, bool WatchSubtree, uint32_t Filter, TEvent& Event)
    : d(std::make_unique<Impl>(Root, Key, WatchSubtree, Filter, Event)) {
  const String file = RegistryFileName();
  const String dir = ExtractFileDir(file);
  d->storeName = StringToUTF8(ExtractFileName(file));
  ForceDirectories(dir);
  d->inotifyFd = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
  d->cancelFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  // The store is written beside itself and renamed over, or written in place.
  if (d->inotifyFd < 0 || d->cancelFd < 0 ||
      ::inotify_add_watch(d->inotifyFd, StringToUTF8(dir).c_str(), IN_CLOSE_WRITE | IN_MOVED_TO | IN_DELETE) < 0)
    throw ERegistryException(u"Unable to watch the registry store " + file + u": " + UTF8ToString(std::strerror(errno)));
  // The baseline is taken after the watch exists, so no change after this call is missed.
  d->baseline = Take(Root, Key, WatchSubtree);
  d->thread = std::thread([impl = d.get()] { impl->Run(); });
}

TRegChangeWatch::~TRegChangeWatch() {
  // One write to a fresh eventfd cannot fail.
  const uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = ::write(d->cancelFd, &one, sizeof one);
  if (d->thread.joinable()) d->thread.join();
}

std::unique_ptr<TRegChangeWatch> RegNotifyChangeKeyValue(HKEY Root, const String& Key, bool WatchSubtree,
                                                         uint32_t Filter, TEvent& Event) {
  return std::make_unique<TRegChangeWatch>(Root, Key, WatchSubtree, Filter, Event);
}
