#pragma once
// Text comparison by the collation of the process locale: the locale the environment names for
// collating (LC_ALL, LC_COLLATE, then LANG), read once; "C" when it names none that is
// installed. Lone surrogates count as the code points of their own value, so every text has
// one place in the order.

#include <string>

#include "platform/rtl/System.h"

// A key whose ordinal order (std::wstring's <) is the collation order of the texts it was
// made from; with IgnoreCase the texts are compared with every letter in lower case. Making
// the keys once and comparing them is how a long list is sorted.
std::wstring LocaleSortKey(const String& S, bool IgnoreCase = false);
// < 0, 0 or > 0: the order of two texts by the collation (case-sensitive, or case ignored).
int LocaleCompareStr(const String& A, const String& B);
int LocaleCompareText(const String& A, const String& B);
// The name of the collation locale in use ("C" when none).
std::string LocaleCollationName();
