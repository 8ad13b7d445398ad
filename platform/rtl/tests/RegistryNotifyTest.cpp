#include <gtest/gtest.h>

#include <thread>

#include "platform/rtl/RegistryNotify.h"
#include "testing/ConfigFolder.h"

namespace {

const String kKey = u"Software\\Suite\\Common";

// A registry store of its own in a fresh configuration folder, with the watched key and a
// subkey holding one value.
class RegistryNotifyTest : public ::testing::Test {
protected:
  void SetUp() override {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kKey + u"\\Sub", true));
    reg.WriteInteger(u"Theme", 1);
  }
  // Runs the change on another thread, as another writer of the store would.
  static void ChangeFromAnotherThread(const std::function<void(TRegistry&)>& change) {
    std::thread([&] {
      TRegistry reg;
      change(reg);
    }).join();
  }
  TempConfigFolder config_;
};

struct Case {
  const char* what;
  bool subtree;
  uint32_t filter;
  std::function<void(TRegistry&)> change;
  bool signals;
};

}  // namespace

TEST_F(RegistryNotifyTest, SignalsOnlyTheChangesItsFilterAndScopeName) {
  const auto setValue = [](const String& key, const String& name, int32_t v) {
    return [=](TRegistry& r) {
      r.OpenKey(key, true);
      r.WriteInteger(name, v);
    };
  };
  const Case cases[] = {
      {"value below, subtree", true, REG_NOTIFY_CHANGE_LAST_SET, setValue(kKey + u"\\Sub", u"Theme", 2), true},
      {"value below, key only", false, REG_NOTIFY_CHANGE_LAST_SET, setValue(kKey + u"\\Sub", u"Theme", 2), false},
      {"value of the key itself", false, REG_NOTIFY_CHANGE_LAST_SET, setValue(kKey, u"Theme", 3), true},
      {"same value written again", true, REG_NOTIFY_CHANGE_LAST_SET, setValue(kKey + u"\\Sub", u"Theme", 1), false},
      {"value removed", true, REG_NOTIFY_CHANGE_LAST_SET,
       [](TRegistry& r) {
         r.OpenKey(kKey + u"\\Sub", false);
         r.DeleteValue(u"Theme");
       },
       true},
      {"empty subkey added, values only", true, REG_NOTIFY_CHANGE_LAST_SET,
       [](TRegistry& r) { r.CreateKey(kKey + u"\\New"); }, false},
      {"empty subkey added, names", true, REG_NOTIFY_CHANGE_NAME,
       [](TRegistry& r) { r.CreateKey(kKey + u"\\New"); }, true},
      {"another key", true, REG_NOTIFY_CHANGE_LAST_SET | REG_NOTIFY_CHANGE_NAME,
       setValue(u"Software\\Other", u"Theme", 2), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();  // the starting keys again
    TEvent event;
    auto watch = RegNotifyChangeKeyValue(HKEY_CURRENT_USER, kKey, c.subtree, c.filter, event);
    ChangeFromAnotherThread(c.change);
    EXPECT_EQ(event.WaitFor(c.signals ? 5000 : 300), c.signals ? wrSignaled : wrTimeout);
    TRegistry().DeleteKey(u"Software");
  }
}

TEST_F(RegistryNotifyTest, SignalsOnceAndDestroyingTheWatchCancelsIt) {
  TEvent event;
  auto watch = RegNotifyChangeKeyValue(HKEY_CURRENT_USER, kKey, true, REG_NOTIFY_CHANGE_LAST_SET, event);
  ChangeFromAnotherThread([](TRegistry& r) {
    r.OpenKey(kKey, false);
    r.WriteString(u"A", u"1");
  });
  ASSERT_EQ(event.WaitFor(5000), wrSignaled);
  event.ResetEvent();
  ChangeFromAnotherThread([](TRegistry& r) {
    r.OpenKey(kKey, false);
    r.WriteString(u"A", u"2");
  });
  EXPECT_EQ(event.WaitFor(300), wrTimeout);
  watch.reset();  // returns at once although nothing more changes
}
