// The tagged text renderer on a 400 x 300 bitmap canvas with a 10-point font:
// - a word-wrapped paragraph of 400 visible characters with B, I, U, FONT COLOR and A tags,
//   painted, against the reference DrawText (DT_WORDBREAK) of its plain text on the same
//   canvas; target at most 3 times the reference;
// - the same paragraph hit-tested only (nothing painted); target at most 2 times the reference;
// - 1,000 short tagged cells, each painted in its own rectangle, as a grid's paint does;
//   target under 16 ms for all of them (one frame), shown beside 1,000 DrawText calls of the
//   cells' plain texts, and beside the floor those calls stand on: the same 1,000 texts put
//   out with a bare QPainter on an image (font set, text measured, clipped and restored per call).
#include <benchmark/benchmark.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include "controls/HtmlText.h"
#include "platform/ui/Graphics.h"

namespace {

String Paragraph() {
  const String Piece = u"The <b>receiver</b> answers <i>every</i> command with a <u>reply</u> line; "
                       u"<font color=\"clred\">errors</font> show in red and <a href=\"help.html\">help</a> opens. ";
  String T;
  while (StripHtmlTags(T).size() < 400) T += Piece;
  return T;
}

struct Surface {
  TBitmap Bitmap{400, 300};
  Surface() {
    TCanvas* C = Bitmap.Canvas();
    C->Font()->SetName(u"Arial");
    C->Font()->SetSize(10);
    C->Brush()->SetColor(clWhite);
  }
  TCanvas* C() { return Bitmap.Canvas(); }
};

struct Outputs {
  String HitHref, PlainText, FocusedHref, HitTitle, ControlID, ControlValue, ControlType;
  int32_t W = 0, H = 0, Anchors = 0, HitIndex = 0;
  TRect AnchorRect, ControlRect;
};

bool Draw(TCanvas* C, const String& Text, const TRect& R, bool HitTestOnly, bool WordWrap, Outputs& O) {
  return DrawHtmlText(C, Text, R, nullptr, 100, 40, -1, 0, 1, HitTestOnly, false, false, false, true, false, WordWrap,
                      false, 1.0, clBlue, clNone, clNone, clGray, O.HitHref, O.PlainText, O.FocusedHref, O.HitTitle,
                      O.W, O.H, O.Anchors, O.HitIndex, O.AnchorRect, O.ControlRect, O.ControlID, O.ControlValue,
                      O.ControlType, nullptr, nullptr, nullptr, 0);
}

void BM_DrawTextPlainParagraph(benchmark::State& state) {
  Surface S;
  String Plain = StripHtmlTags(Paragraph());
  for (auto _ : state) {
    TRect R(0, 0, 400, 300);
    benchmark::DoNotOptimize(DrawText(S.C()->Handle(), Plain.data(), static_cast<int>(Plain.size()), &R, DT_WORDBREAK));
  }
  state.counters["chars"] = static_cast<double>(Plain.size());
}
BENCHMARK(BM_DrawTextPlainParagraph)->Unit(benchmark::kMicrosecond);

void BM_DrawHtmlTextParagraph(benchmark::State& state) {
  Surface S;
  const String Text = Paragraph();
  Outputs O;
  for (auto _ : state) benchmark::DoNotOptimize(Draw(S.C(), Text, TRect(0, 0, 400, 300), false, true, O));
  state.counters["lines"] = O.H / S.C()->TextHeight(u"gh");
}
BENCHMARK(BM_DrawHtmlTextParagraph)->Unit(benchmark::kMicrosecond);

void BM_DrawHtmlTextParagraphHitTest(benchmark::State& state) {
  Surface S;
  const String Text = Paragraph();
  Outputs O;
  for (auto _ : state) benchmark::DoNotOptimize(Draw(S.C(), Text, TRect(0, 0, 400, 300), true, true, O));
}
BENCHMARK(BM_DrawHtmlTextParagraphHitTest)->Unit(benchmark::kMicrosecond);

const String Cells[] = {u"<b>Channel 12</b>", u"<font color=\"clred\">-95 dBm</font>", u"<i>ID</i> 0x3F21",
                        u"<a href=\"c\">Scan</a> ok", u"<u>Mode</u> 1"};

// The reference for the cells: their plain texts, one DrawText each.
void BM_DrawText1000PlainCells(benchmark::State& state) {
  Surface S;
  String Plain[5];
  for (int I = 0; I < 5; ++I) Plain[I] = StripHtmlTags(Cells[I]);
  for (auto _ : state) {
    for (int I = 0; I < 1000; ++I) {
      TRect R = Bounds((I % 5) * 80, (I / 5 % 15) * 20, 80, 20);
      String& T = Plain[I % 5];
      DrawText(S.C()->Handle(), T.data(), static_cast<int>(T.size()), &R, DT_SINGLELINE | DT_BOTTOM | DT_END_ELLIPSIS);
    }
  }
}
BENCHMARK(BM_DrawText1000PlainCells)->Unit(benchmark::kMillisecond);

// The floor under DrawText: Qt's own text output of the same cells.
void BM_QPainterDrawText1000PlainCells(benchmark::State& state) {
  QImage Image(400, 300, QImage::Format_RGB32);
  Image.fill(Qt::white);
  QPainter P(&Image);
  QFont Font;
  Font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Noto Sans CJK JP")});
  Font.setPixelSize(13);
  Font.setKerning(false);
  QString Plain[5];
  for (int I = 0; I < 5; ++I) {
    const String T = StripHtmlTags(Cells[I]);
    Plain[I] = QString(reinterpret_cast<const QChar*>(T.data()), static_cast<qsizetype>(T.size()));
  }
  for (auto _ : state) {
    for (int I = 0; I < 1000; ++I) {
      const QRect R((I % 5) * 80, (I / 5 % 15) * 20, 80, 20);
      P.save();
      P.setClipRect(R);
      P.setFont(Font);
      const QFontMetrics Fm(P.font());
      benchmark::DoNotOptimize(Fm.horizontalAdvance(Plain[I % 5]));
      P.drawText(QPoint(R.left(), R.bottom() + 1 - Fm.descent()), Plain[I % 5]);
      P.restore();
    }
  }
}
BENCHMARK(BM_QPainterDrawText1000PlainCells)->Unit(benchmark::kMillisecond);

void BM_DrawHtmlText1000Cells(benchmark::State& state) {
  Surface S;
  Outputs O;
  for (auto _ : state) {
    for (int I = 0; I < 1000; ++I) {
      const TRect R = Bounds((I % 5) * 80, (I / 5 % 15) * 20, 80, 20);
      benchmark::DoNotOptimize(Draw(S.C(), Cells[I % 5], R, false, false, O));
    }
  }
}
BENCHMARK(BM_DrawHtmlText1000Cells)->Unit(benchmark::kMillisecond);

}  // namespace

