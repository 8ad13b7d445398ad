#include "grid/asgcheck.h"

String DEreDuzeroVaroCheck::MarkError(int, int, const String& s) { return s; }

String DEreDuzeroVaroCheck::Correct(int, int, const String& s) { return s; }

void DEreDuzeroVaroCheck::StartCheck() {}

void DEreDuzeroVaroCheck::StopCheck() {}
