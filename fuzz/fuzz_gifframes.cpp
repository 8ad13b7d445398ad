// The mini-HTML picture's animated GIF walker: any bytes load or raise, and every frame the
// walker counts can be timed, selected, stepped through and drawn.
#include "controls/PictureContainer.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  StartQt();
  static TBitmap* target = [] {
    auto* b = new TBitmap;
    b->SetSize(16, 16);
    return b;
  }();
  TMemoryStream stream;
  FillStream(stream, data, size);
  THTMLPicture picture;
  try {
    picture.LoadFromStream(&stream);
  } catch (const Exception&) {
  }
  const int frames = picture.FrameCount();
  if (frames < -1) __builtin_trap();
  picture.MaxWidth();
  picture.MaxHeight();
  for (int i = 0; i <= frames + 1 && i < 64; ++i) picture.GetFrameTime(i);
  picture.GetFrameTime(-1);
  picture.Draw(target->Canvas(), TRect(0, 0, 16, 16));
  for (int i = 0; i < frames && i < 8; ++i) {
    picture.FrameNext();
    picture.Draw(target->Canvas(), TRect(0, 0, 16, 16));
  }
  picture.FramePrev();
  for (int i = 0; i < 4; ++i) picture.Step();
  // Choosing a frame decodes it and raises, as loading does, when its data is damaged.
  try {
    if (frames > 0) picture.SetFrame(frames);
  } catch (const Exception&) {
  }
  picture.Draw(target->Canvas(), TRect(0, 0, 16, 16));
  return 0;
}
