// The tagged-text renderer: any text paints, measures and hit-tests on a canvas; the
// measured size is never negative.
#include "controls/HtmlText.h"
#include "fuzz/FuzzSupport.h"

namespace {

struct TResult {
  String href, plain, focused, title, id, value, type;
  int32_t width = 0, height = 0, anchors = 0, hitAnchor = 0;
  TRect anchorRect, controlRect;
};

bool Run(TCanvas* Canvas, const String& Text, const TRect& R, int X, int Y, bool HitTest, bool Measure, bool Wrap,
         uint8_t BiDi, TResult& Out) {
  return DrawHtmlText(Canvas, Text, R, nullptr, X, Y, 0, -1, 1, HitTest, Measure, false, false, true, false, Wrap,
                      false, 1.0, clBlue, clNone, clNone, clGray, Out.href, Out.plain, Out.focused, Out.title,
                      Out.width, Out.height, Out.anchors, Out.hitAnchor, Out.anchorRect, Out.controlRect, Out.id,
                      Out.value, Out.type, nullptr, nullptr, nullptr, BiDi);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  StartQt();
  if (size > 4096) return 0;
  static TBitmap* target = [] {
    auto* b = new TBitmap;
    b->SetSize(120, 60);
    return b;
  }();
  // The first byte picks the options, the rest is the text.
  const uint8_t options = size ? data[0] : 0;
  const String text = size ? UTF8ToString(std::string(reinterpret_cast<const char*>(data + 1), size - 1)) : String();
  TCanvas* canvas = target->Canvas();
  const TRect r(2, 3, 110, 50);
  const bool wrap = options & 1;
  const uint8_t bidi = (options >> 1) & 3;
  TResult painted, measured, hit;
  Run(canvas, text, r, 0, 0, false, false, wrap, bidi, painted);
  Run(canvas, text, r, 0, 0, false, true, wrap, bidi, measured);
  if (measured.width < 0 || measured.height < 0) __builtin_trap();
  Run(canvas, text, r, 4 + (options >> 3), 8, true, false, wrap, bidi, hit);
  return 0;
}
