#pragma once
// Shared by the picture and metafile fuzz targets: Qt started once on the offscreen
// platform, and the input as a stream.

#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "platform/rtl/Classes.h"

inline void StartQt() {
  static std::unique_ptr<QGuiApplication> app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The decoders' warnings about damaged input would bury the fuzzer's own output.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
  }();
}

inline void FillStream(TMemoryStream& Stream, const uint8_t* Data, size_t Size) {
  if (Size) Stream.WriteBuffer(Data, static_cast<int32_t>(Size));
  Stream.SetPosition(0);
}
