#pragma once
// Picture files for the picture tests, made by ImageMagick and gifsicle in a temporary folder.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "testing/TempFolder.h"

// Runs a shell command in the folder; fails the test when it fails.
inline std::string RunIn(const TempFolder& dir, const std::string& command) {
  std::string out = dir.File("cmd.out");
  int rc = std::system(("cd '" + dir.Path() + "' && (" + command + ") > '" + out + "' 2>&1").c_str());
  std::string text = dir.Read("cmd.out");
  EXPECT_EQ(rc, 0) << command << "\n" << text;
  return text;
}

// A picture of W x H pixels, the top rows (Split of them) in Top colour, the rest in Bottom
// colour, written by ImageMagick in the format of the file name's extension.
inline std::string MakeTwoTone(const TempFolder& dir, const std::string& name, int w, int h, int split,
                               const std::string& top, const std::string& bottom) {
  RunIn(dir, "convert -size " + std::to_string(w) + "x" + std::to_string(h) + " xc:" + bottom + " -fill " + top +
                 " -draw 'rectangle 0,0 " + std::to_string(w - 1) + "," + std::to_string(split - 1) + "' " + name);
  return dir.Read(name);
}

// An animated GIF of three frames made by gifsicle: 8x6 red (delay 20), 4x3 blue at 2,1
// (delay 30), 8x6 lime (delay 10); its logical screen is 10 x 7. gifsicle --info confirms it.
inline std::string MakeThreeFrameGif(const TempFolder& dir, const std::string& name) {
  RunIn(dir, "convert -size 8x6 xc:red f1.gif && convert -size 4x3 xc:blue f2.gif && convert -size 8x6 xc:lime f3.gif");
  RunIn(dir, "gifsicle --no-warnings --delay 20 f1.gif --delay 30 --position 2,1 f2.gif --delay 10 --position 0,0 f3.gif"
             " --logical-screen 10x7 > " + name);
  std::string info = RunIn(dir, "gifsicle --info " + name);
  EXPECT_NE(info.find("3 images"), std::string::npos) << info;
  EXPECT_NE(info.find("logical screen 10x7"), std::string::npos) << info;
  EXPECT_NE(info.find("4x3 at 2,1"), std::string::npos) << info;
  return dir.Read(name);
}
