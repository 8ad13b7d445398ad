// Collation through the C library's locale objects: a locale made from the environment once,
// keys from wcsxfrm_l over the text's code points.
#include "platform/rtl/Collation.h"

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cwchar>
#include <locale.h>

#include "platform/rtl/SysUtils.h"

namespace {

struct TCollationLocale {
  locale_t Locale = static_cast<locale_t>(0);
  std::string Name = "C";
  TCollationLocale() {
    Locale = newlocale(LC_COLLATE_MASK, "", static_cast<locale_t>(0));
    if (Locale == static_cast<locale_t>(0)) {
      Locale = newlocale(LC_COLLATE_MASK, "C", static_cast<locale_t>(0));
      return;
    }
    const char* name = nullptr;
    for (const char* var : {"LC_ALL", "LC_COLLATE", "LANG"}) {
      const char* v = std::getenv(var);
      if (v != nullptr && *v != '\0') {
        name = v;
        break;
      }
    }
    if (name != nullptr) Name = name;
  }
  ~TCollationLocale() {
    if (Locale != static_cast<locale_t>(0)) freelocale(Locale);
  }
};

const TCollationLocale& CollationLocale() {
  static const TCollationLocale locale;
  return locale;
}

// UTF-16 to code points, into W (cleared first); a surrogate without its partner stands for
// its own value.
void CodePoints(const String& S, std::wstring& W) {
  W.clear();
  for (size_t i = 0; i < S.size(); ++i) {
    const char32_t c = S[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < S.size() && S[i + 1] >= 0xDC00 && S[i + 1] <= 0xDFFF) {
      W.push_back(static_cast<wchar_t>(0x10000 + ((c - 0xD800) << 10) + (S[i + 1] - 0xDC00)));
      ++i;
    } else {
      W.push_back(static_cast<wchar_t>(c));
    }
  }
}

}  // namespace

std::wstring LocaleSortKey(const String& S, bool IgnoreCase) {
  // The code points and the key are made in buffers kept by the thread, so that a key costs
  // one allocation (the result) when a long list is sorted; a very long text's buffers are
  // given back.
  thread_local std::wstring w, key;
  CodePoints(IgnoreCase ? AnsiLowerCase(S) : S, w);
  const locale_t loc = CollationLocale().Locale;
  if (key.size() < w.size() * 2 + 8) key.resize(w.size() * 2 + 8);
  // A character the locale cannot weigh: the code points themselves, after a mark that keeps
  // such keys apart from the collated ones.
  std::wstring result;
  bool made = false;
  for (int tries = 0; tries < 4 && !made; ++tries) {
    errno = 0;
    const size_t n = wcsxfrm_l(key.data(), w.c_str(), key.size(), loc);
    if (errno == EINVAL || errno == EILSEQ) break;
    if (n < key.size()) {
      result.assign(key.data(), n);
      made = true;
    } else {
      key.assign(n + 1, L'\0');
    }
  }
  if (!made) result = std::wstring(1, static_cast<wchar_t>(0x7FFFFFFF)) + w;
  if (key.size() > 65536) {
    w = std::wstring();
    key = std::wstring();
  }
  return result;
}

int LocaleCompareStr(const String& A, const String& B) {
  const int c = LocaleSortKey(A).compare(LocaleSortKey(B));
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int LocaleCompareText(const String& A, const String& B) {
  const int c = LocaleSortKey(A, true).compare(LocaleSortKey(B, true));
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

std::string LocaleCollationName() { return CollationLocale().Name; }
