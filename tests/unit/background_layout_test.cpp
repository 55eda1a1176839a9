#include "ui/background_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "package/bitmap_file.h"
#include "run/background_look.h"
#include "run/uninstall_key_values.h"

namespace brennick {
namespace {

int Red(std::uint32_t colour) { return static_cast<int>(colour & 0xFF); }

TEST(GradientBands, HeightCountAndRemainderBandCoverTheWholeHeight) {
  struct Case {
    int height;
    int bandHeight;
    int count;
    int lastHeight;
  };
  const Case cases[] = {
      {1, 1, 1, 1},     {2, 1, 2, 1},     {223, 1, 223, 1},  {224, 1, 224, 1},  {447, 1, 447, 1},      {448, 2, 224, 2},
      {449, 2, 225, 1}, {700, 3, 234, 1}, {1000, 3, 334, 1}, {1080, 3, 360, 3}, {100000, 3, 33334, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.height);
    const auto bands = GradientBands(c.height, 0x000000, 0xFFFFFF);
    ASSERT_EQ(bands.size(), static_cast<std::size_t>(c.count));
    int next = 0;
    for (std::size_t i = 0; i < bands.size(); ++i) {
      EXPECT_EQ(bands[i].top, next);
      EXPECT_EQ(bands[i].height, i + 1 == bands.size() ? c.lastHeight : c.bandHeight);
      next += bands[i].height;
    }
    EXPECT_EQ(next, c.height);
  }
  EXPECT_TRUE(GradientBands(0, 0, 0xFFFFFF).empty());
  EXPECT_TRUE(GradientBands(-5, 0, 0xFFFFFF).empty());
}

TEST(GradientBands, ChannelsStepEquallyWithTheRemainderSpreadEvenly) {
  // Four bands from 0 to 10: steps of 2, the remainder 2 going to every second band;
  // downwards the same steps mirrored.
  auto reds = [](std::uint32_t top, std::uint32_t bottom) {
    std::vector<int> values;
    for (const GradientBand& band : GradientBands(4, top, bottom)) values.push_back(Red(band.colour));
    return values;
  };
  EXPECT_EQ(reds(0, 10), (std::vector<int>{0, 2, 5, 7}));
  EXPECT_EQ(reds(10, 0), (std::vector<int>{10, 8, 5, 3}));
  EXPECT_EQ(reds(7, 7), (std::vector<int>{7, 7, 7, 7}));

  // Each channel on its own: blue falls while red rises, green stays.
  const auto three = GradientBands(3, 0x00FF4000, 0x000040FF);
  ASSERT_EQ(three.size(), 3u);
  EXPECT_EQ(three[0].colour, 0x00FF4000u);
  EXPECT_EQ(three[1].colour, 0x00AA4055u);
  EXPECT_EQ(three[2].colour, 0x005540AAu);

  // A tall window: every step is the same whole amount or one more.
  const auto bands = GradientBands(224, 0x00000000, 0x00FFFFFF);
  int ones = 0;
  int twos = 0;
  for (std::size_t i = 1; i < bands.size(); ++i) {
    const int step = Red(bands[i].colour) - Red(bands[i - 1].colour);
    ASSERT_TRUE(step == 1 || step == 2) << i;
    (step == 1 ? ones : twos)++;
    EXPECT_EQ(bands[i].colour, static_cast<std::uint32_t>(Red(bands[i].colour)) * 0x010101u);
  }
  EXPECT_EQ(Red(bands.front().colour), 0);
  EXPECT_EQ(Red(bands.back().colour), 255 * 223 / 224);
  EXPECT_EQ(ones + twos, 223);
  EXPECT_EQ(twos, 255 * 223 / 224 - 223);
}

TEST(BitmapTarget, SizePercentAboutTheCentreThenTheMode) {
  const Rect client{0, 0, 1000, 800};
  struct Case {
    const char* what;
    std::uint32_t percent;
    std::uint32_t mode;
    int bitmapWidth;
    int bitmapHeight;
    Rect expected;
  };
  const Case cases[] = {
      {"50 percent stretched covers the middle half", 50, 0, 10, 10, {250, 200, 750, 600}},
      {"100 percent stretched covers the client", 100, 0, 10, 10, {0, 0, 1000, 800}},
      {"an unknown mode stretches", 50, 7, 10, 10, {250, 200, 750, 600}},
      {"fit: a wide bitmap keeps the width", 100, 1, 200, 100, {0, 150, 1000, 650}},
      {"fit: a tall bitmap keeps the height", 100, 1, 100, 200, {300, 0, 700, 800}},
      {"fit inside the middle half", 50, 1, 100, 100, {300, 200, 700, 600}},
      {"integer multiple: the smaller of the two multiples, centred", 100, 2, 300, 200, {50, 100, 950, 700}},
      {"integer multiple of one", 50, 2, 400, 300, {300, 250, 700, 550}},
      {"integer multiple of a larger bitmap fits instead", 100, 2, 2000, 1000, {0, 150, 1000, 650}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BitmapTarget(client, c.percent, c.mode, c.bitmapWidth, c.bitmapHeight), c.expected) << c.what;
  }
  // Odd sizes: the target is truncated and the spare pixel goes to the right and bottom.
  EXPECT_EQ(BitmapTarget({0, 0, 999, 799}, 50, 0, 10, 10), (Rect{250, 200, 749, 599}));
  // Mode 2 with a bitmap larger than its target lands where mode 1 does.
  for (const std::uint32_t percent : {10u, 33u, 50u, 100u}) {
    EXPECT_EQ(BitmapTarget(client, percent, 2, 1200, 900), BitmapTarget(client, percent, 1, 1200, 900)) << percent;
  }
}

TEST(BitmapTarget, AnyStoredPercentStaysInsideTheDrawingSpace) {
  const Rect target = BitmapTarget({0, 0, 1000, 800}, std::numeric_limits<std::uint32_t>::max(), 1, 3, 7);
  EXPECT_LT(target.left, 0);
  EXPECT_GT(target.right, 1000);
  EXPECT_GE(target.left, -(1 << 27));
  EXPECT_LE(target.bottom, 1 << 27);
}

TEST(TileGrid, ColumnsAndRowsCountPartTiles) {
  struct Case {
    int width, height;
    TileGrid expected;
  };
  const Case cases[] = {
      {100, 100, {10, 8}}, {300, 300, {4, 3}}, {1000, 800, {1, 1}}, {2000, 2000, {1, 1}},
      {1, 1, {1000, 800}}, {0, 10, {0, 0}},    {10, -1, {0, 0}},
  };
  for (const Case& c : cases) EXPECT_EQ(TileGridOf({0, 0, 1000, 800}, c.width, c.height), c.expected) << c.width;
  EXPECT_EQ(TileGridOf({0, 0, 0, 0}, 10, 10), (TileGrid{0, 0}));
}

TEST(PlaceText, PositionsAlignmentsAndShadowBoxes) {
  const Rect client{0, 0, 1000, 800};  // margins 5 and 2
  const int shadow = 3;
  const int textHeight = 40;
  const int fontHeight = 42;
  const Rect top{5, 2, 989, 44};
  const Rect bottom{5, 755, 989, 797};  // 800 - 40 - 2 - 3
  struct Case {
    int position;
    TextAlign align;
    Rect box;
  };
  const Case cases[] = {
      {1, TextAlign::Left, top},    {2, TextAlign::Centre, top},    {3, TextAlign::Right, top},
      {4, TextAlign::Left, bottom}, {5, TextAlign::Centre, bottom}, {6, TextAlign::Right, bottom},
      {7, TextAlign::Left, top},    {255, TextAlign::Left, top},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    const auto placement = PlaceText(client, c.position, shadow, textHeight, fontHeight);
    ASSERT_TRUE(placement.has_value());
    EXPECT_EQ(placement->align, c.align);
    EXPECT_EQ(placement->box, c.box);
    EXPECT_EQ(placement->shadowBox, (Rect{c.box.left + 3, c.box.top + 3, c.box.right + 3, c.box.bottom + 3}));
  }
  EXPECT_FALSE(PlaceText(client, 0, shadow, textHeight, fontHeight).has_value());

  // Without a shadow (the copyright text) the box keeps only the margins.
  const auto plain = PlaceText({0, 0, 1920, 1040}, 6, 0, 20, 21);
  ASSERT_TRUE(plain.has_value());
  EXPECT_EQ(plain->box, (Rect{9, 1040 - 20 - 2, 1911, 1040 - 20 - 2 + 21}));
  EXPECT_EQ(plain->shadowBox, plain->box);
}

TEST(FitFont, ShrinksOnePointAtATimeUntilTheTextFits) {
  const Rect client{0, 0, 1000, 800};  // horizontal margin 5
  std::vector<int> measured;
  auto thirtyWide = [&](int height) {
    measured.push_back(height);
    return height * 30;
  };
  // 26 points at 96 dpi are 34 pixels: 1020 + 5 + 2 is too wide; 25 points (33 pixels) give 997.
  FittedFont font = FitFont(26, 96, client, 2, thirtyWide);
  EXPECT_EQ(font.points, 25);
  EXPECT_EQ(font.heightPixels, 33);
  EXPECT_EQ(measured, (std::vector<int>{34, 33}));

  // The width must stay left of the edge: exactly reaching it is too wide.
  measured.clear();
  font = FitFont(25, 96, client, 2, [&](int height) { return height == 33 ? 993 : 0; });
  EXPECT_EQ(font.points, 24);
}

TEST(FitFont, SixPointsOrLessAreTakenWithoutMeasuring) {
  const Rect client{0, 0, 1000, 800};
  std::vector<int> measured;
  auto neverFits = [&](int height) {
    measured.push_back(height);
    return 100000;
  };
  struct Case {
    double start;
    double points;
    int height;
    std::size_t measurements;
  };
  const Case cases[] = {
      {26, 6, 8, 20},                                  // 26 down to 7 measured, 6 taken
      {6.5, 5.5, 7, 1},                                // fractional sizes keep their fraction
      {6, 6, 8, 0},       {5, 5, 6, 0}, {0, 0, 0, 0},  // a size factor of 0
      {-26, -26, -34, 0},                              // a negative factor is taken as it is
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.start);
    measured.clear();
    const FittedFont font = FitFont(c.start, 96, client, 1, neverFits);
    EXPECT_EQ(font.points, c.points);
    EXPECT_EQ(font.heightPixels, c.height);
    EXPECT_EQ(measured.size(), c.measurements);
  }
}

TEST(FitFont, DamagedSizeFactorsEndTheLoopQuickly) {
  const Rect client{0, 0, 1000, 800};
  std::size_t calls = 0;
  auto neverFits = [&](int) {
    ++calls;
    return 100000;
  };
  for (const double start : {std::numeric_limits<double>::infinity(), 1e300, 26e6}) {
    calls = 0;
    EXPECT_EQ(FitFont(start, 96, client, 0, neverFits).points, 6);
    EXPECT_LE(calls, 1000u);
  }
  calls = 0;
  EXPECT_EQ(FitFont(std::nan(""), 96, client, 0, neverFits).heightPixels, 0);
  EXPECT_EQ(calls, 0u);
}

TEST(FaceList, SplitTrimmedAndTheFirstInstalledFace) {
  EXPECT_EQ(SplitFaceList(" Verdana , Tahoma,,\tArial Black "),
            (std::vector<std::string>{"Verdana", "Tahoma", "Arial Black"}));
  EXPECT_EQ(SplitFaceList("Tahoma"), (std::vector<std::string>{"Tahoma"}));
  EXPECT_TRUE(SplitFaceList("").empty());
  EXPECT_TRUE(SplitFaceList(" , ,").empty());

  auto installed = [](const std::string& face) { return face == "Tahoma" || face == "Courier New"; };
  EXPECT_EQ(ChooseFace("Verdana, Courier New, Tahoma", installed), "Courier New");
  EXPECT_EQ(ChooseFace("Missing One,Missing Two", installed), "Arial");
  EXPECT_EQ(ChooseFace("", installed), "Arial");
}

TEST(CopyrightColour, HexDigitsRightAlignedAsRedGreenBlue) {
  struct Case {
    const char* text;
    std::uint32_t colour;
  };
  const Case cases[] = {
      {"", 0},
      {"FF0000", 0x000000FF},   // red
      {"#00ff00", 0x0000FF00},  // green, lower case
      {"0000Ff", 0x00FF0000},   // blue
      {"ff", 0x00FF0000},       // missing leading digits are 0
      {"#123", 0x00230100},     // 000123
      {"123456", 0x00563412},
      {"12345678", 0x00563412},  // six digits at most
      {"12zz", 0x00120000},      // reading stops at a non-digit
      {"#", 0},
      {"zz", 0},
      {"##12", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ColourFromText(c.text), c.colour) << c.text;
}

TEST(CopyrightColour, ReadsBackWhatTheInstallationStored) {
  for (const std::uint32_t colour : {0x00000000u, 0x00123456u, 0x00FFFFFFu, 0x000000A0u, 0x00B00000u}) {
    InstallerState state;
    state.Settings.CopyrightColor = colour;
    const auto values = UninstallKeyValues(state, {});
    const auto stored = std::find_if(values.begin(), values.end(),
                                     [](const UninstallKeyValue& v) { return v.name == "CopyrightColor"; });
    ASSERT_NE(stored, values.end());
    EXPECT_EQ(ColourFromText(stored->text), colour) << stored->text;
  }
}

std::string U16(unsigned value) { return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8 & 0xFF)}; }
std::string U32(std::uint32_t value) { return U16(value & 0xFFFF) + U16(value >> 16); }

// A bitmap file with a 40-byte header; `palette` in RGBQUAD order, `rows`
// already padded. `extra` lies between the palette and the rows.
std::string BitmapBytes(std::int32_t width, std::int32_t height, unsigned bits,
                        const std::vector<std::uint32_t>& palette, const std::string& rows,
                        std::uint32_t compression = 0, const std::string& extra = "") {
  const auto offset = static_cast<std::uint32_t>(14 + 40 + extra.size() + 4 * palette.size());
  std::string file = "BM" + U32(offset + static_cast<std::uint32_t>(rows.size())) + U32(0) + U32(offset);
  file += U32(40) + U32(static_cast<std::uint32_t>(width)) + U32(static_cast<std::uint32_t>(height)) + U16(1) +
          U16(bits) + U32(compression) + U32(0) + U32(0) + U32(0) + U32(static_cast<std::uint32_t>(palette.size())) +
          U32(0);
  file += extra;
  for (const std::uint32_t entry : palette) file += U32(entry);
  return file + rows;
}

// 3 x 2 pixels of 8 bits: rows of 3 bytes padded to 4.
std::string EightBitFile() {
  return BitmapBytes(3, 2, 8, {0x00FF0000, 0x0000FF00, 0x000000FF}, std::string("\x00\x01\x02\x00\x02\x01\x00\x00", 8));
}

// 2 x 1 pixels of 1 bit behind a 12-byte core header: a palette of two
// three-byte entries, then one row padded to 4 bytes.
std::string CoreFile(unsigned bits = 1) {
  std::string core = "BM" + U32(0) + U32(0) + U32(14 + 12 + 6) + U32(12) + U16(2) + U16(1) + U16(1) + U16(bits);
  return core + std::string("\x10\x20\x30\x40\x50\x60", 6) + std::string("\x80\x00\x00\x00", 4);
}

TEST(BitmapFile, ReadsTheDrawableForms) {
  const std::string eight = EightBitFile();
  auto file = ReadBitmapFile(eight);
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(file->width, 3);
  EXPECT_EQ(file->height, 2);
  EXPECT_FALSE(file->topDown);
  EXPECT_EQ(file->bitsPerPixel, 8);
  ASSERT_EQ(file->palette.size(), 256u);  // entries the file does not give are black
  EXPECT_EQ(file->palette[0], 0x00FF0000u);
  EXPECT_EQ(file->palette[2], 0x000000FFu);
  EXPECT_EQ(file->palette[3], 0u);
  EXPECT_EQ(file->coloursGiven, 3u);
  EXPECT_EQ(file->pixels, eight.substr(eight.size() - 8));

  // Top-down 24 bits: no palette.
  const std::string topDown = BitmapBytes(1, -2, 24, {}, std::string("\x01\x02\x03\x00\x04\x05\x06\x00", 8));
  file = ReadBitmapFile(topDown);
  ASSERT_TRUE(file.has_value());
  EXPECT_TRUE(file->topDown);
  EXPECT_EQ(file->height, 2);
  EXPECT_TRUE(file->palette.empty());
  EXPECT_EQ(file->coloursGiven, 0u);

  // Bit fields: the masks follow the 40-byte header, before any palette.
  const std::string masks = U32(0xF800) + U32(0x07E0) + U32(0x001F);
  file = ReadBitmapFile(BitmapBytes(2, 1, 16, {}, std::string(4, '\x7F'), 3, masks));
  ASSERT_TRUE(file.has_value());
  EXPECT_TRUE(file->bitFields);
  EXPECT_EQ(file->masks[0], 0xF800u);
  EXPECT_EQ(file->masks[2], 0x001Fu);

  // A core header: 16-bit sizes and three-byte palette entries.
  file = ReadBitmapFile(CoreFile());
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(file->width, 2);
  EXPECT_EQ(file->bitsPerPixel, 1);
  EXPECT_EQ(file->palette, (std::vector<std::uint32_t>{0x00302010, 0x00605040}));
  EXPECT_EQ(file->coloursGiven, 2u);
}

TEST(BitmapFile, RefusesWhatDoesNotFitOrCannotBeDrawn) {
  const std::string good = EightBitFile();
  auto with = [&](std::size_t at, const std::string& bytes) {
    return std::string(good).replace(at, bytes.size(), bytes);
  };
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {
      {"empty", ""},
      {"not a bitmap", with(0, "MB")},
      {"a header longer than the file", with(14, U32(0x7FFFFFF0))},
      {"a header of an unknown size", with(14, U32(20))},
      {"the pixels start after the end", with(10, U32(0xFFFFFFF0))},
      {"the pixels run past the end", with(10, U32(static_cast<std::uint32_t>(good.size() - 7)))},
      {"no width", with(18, U32(0))},
      {"a negative width", with(18, U32(0xFFFFFFFD))},
      {"no height", with(22, U32(0))},
      {"the most negative height", with(22, U32(0x80000000))},
      {"a width beyond any screen", with(18, U32(0x00100000))},
      {"rows wider than the file", with(18, U32(60000))},
      {"two bits per pixel", with(28, U16(2))},
      {"run-length compression", with(30, U32(1))},
      {"bit fields on a palette bitmap", with(30, U32(3))},
      {"palette entries beyond the end", BitmapBytes(2, 1, 8, {}, std::string(4, '\0')).substr(0, 60)},
      {"sixteen bits in a core header", CoreFile(16)},
      {"bit-field masks beyond the end", BitmapBytes(1, 1, 16, {}, "", 3, std::string(12, '\xFF')).substr(0, 64)},
  };
  // What the program refuses, the builder's stricter rules refuse too, so
  // that it never stores a picture the program would not draw.
  for (const Case& c : cases) {
    std::string problem;
    EXPECT_FALSE(ReadBitmapFile(c.bytes, BitmapRules::kDrawable, &problem).has_value()) << c.what;
    EXPECT_FALSE(problem.empty()) << c.what;
    EXPECT_FALSE(ReadBitmapFile(c.bytes, BitmapRules::kStrict).has_value()) << c.what;
  }

  // Every shortened copy of a good file is refused.
  for (const std::string& whole : {good, CoreFile()}) {
    for (std::size_t size = 0; size < whole.size(); ++size) {
      EXPECT_FALSE(ReadBitmapFile(std::string_view(whole).substr(0, size)).has_value()) << size;
    }
  }
  // More colours claimed than the depth has: the palette is as long as the depth allows.
  std::string sixteen = BitmapBytes(2, 1, 4, std::vector<std::uint32_t>(16, 0x00FFFFFF), std::string(4, '\x01'));
  sixteen.replace(46, 4, U32(100000));
  const auto many = ReadBitmapFile(sixteen);
  ASSERT_TRUE(many.has_value());
  EXPECT_EQ(many->palette, std::vector<std::uint32_t>(16, 0x00FFFFFF));
  EXPECT_EQ(many->coloursGiven, 16u);
}

// The program draws these; the builder, which stores only what any reader
// of the format takes, refuses them and says why.
TEST(BitmapFile, TheStrictRulesRefuseWhatIsOddButDrawable) {
  const std::string good = EightBitFile();
  auto with = [&](std::size_t at, const std::string& bytes) {
    return std::string(good).replace(at, bytes.size(), bytes);
  };
  std::string sixteen = BitmapBytes(2, 1, 4, std::vector<std::uint32_t>(16, 0), std::string(4, '\x01'));
  sixteen.replace(46, 4, U32(17));
  struct Case {
    const char* what;
    std::string bytes;
    const char* problem;
  };
  const Case cases[] = {
      {"a core header", CoreFile(), "its header has 12 bytes; the installer needs a BITMAPINFOHEADER"},
      {"two planes", with(26, U16(2)), "it has 2 planes; it must have 1"},
      {"more colours than the depth has", sixteen, "its palette has 17 colours; 4 bits per pixel allow 16"},
      {"pixels inside the palette", with(10, U32(14 + 40 + 4)), "its pixel data offset 58 lies outside the file"},
      {"a deeper picture's colour table beyond the end",
       BitmapBytes(1, 1, 24, {}, std::string(4, '\0')).replace(46, 4, U32(2)),
       "the file ends inside its palette or colour masks"},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(ReadBitmapFile(c.bytes).has_value()) << c.what;
    std::string problem;
    EXPECT_FALSE(ReadBitmapFile(c.bytes, BitmapRules::kStrict, &problem).has_value()) << c.what;
    EXPECT_NE(problem.find(c.problem), std::string::npos) << c.what << ": " << problem;
  }
  std::string problem = "left from before";
  EXPECT_TRUE(ReadBitmapFile(good, BitmapRules::kStrict, &problem).has_value());
  EXPECT_EQ(problem, "");
}

TEST(LookFromSettings, TheInstallRunsSettingsWithTheDefaultTitle) {
  InstallerState state;
  SettingsRecord& s = state.Settings;
  s.TaskbarText = "Example Setup";
  s.TitleSize = 1.5;
  s.TitleColor = 0x00112233;
  s.TitleShadow = 2;
  s.TitlePosition = 3;
  s.TitleFont = "Verdana,Tahoma";
  s.TopColor = 0x00FF0000;
  s.BottomColor = 0x00000000;
  s.CopyrightText = "(c) Example";
  s.CopyrightPos = 6;
  s.CopyrightSize = 1.25;
  s.CopyrightColor = 0x00445566;
  s.CopyrightFont = "Courier New";
  s.BitmapTPI = 7;  // left from a record without a bitmap
  s.BitmapSize = 50;
  s.StretchMode = 2;
  state.MonoColor = false;
  state.TitleOption = true;

  BackgroundLook look = LookFromSettings(state, "Example 2.0 Setup");
  EXPECT_EQ(look.taskbarText, "Example Setup");
  EXPECT_EQ(look.title, "Example 2.0 Setup");
  EXPECT_EQ(look.titleSize, 1.5);
  EXPECT_EQ(look.titleColor, 0x00112233u);
  EXPECT_EQ(look.titleShadow, 2);
  EXPECT_EQ(look.titlePosition, 3);
  EXPECT_EQ(look.titleFont, "Verdana,Tahoma");
  EXPECT_EQ(look.topColor, 0x00FF0000u);
  EXPECT_FALSE(look.monoColor);
  EXPECT_EQ(look.copyrightText, "(c) Example");
  EXPECT_EQ(look.copyrightPosition, 6);
  EXPECT_EQ(look.copyrightSize, 1.25);
  EXPECT_EQ(look.copyrightColor, 0x00445566u);
  EXPECT_EQ(look.copyrightFont, "Courier New");
  EXPECT_TRUE(look.bitmap.empty());
  EXPECT_EQ(look.transparentIndex, -1);
  EXPECT_TRUE(look.maximize);
  EXPECT_EQ(look.codePage, 1252u);

  s.DisplayTitle = "Own Title";
  s.BackgroundBitmap = "BM...";
  look = LookFromSettings(state, "Example 2.0 Setup");
  EXPECT_EQ(look.title, "Own Title");
  EXPECT_EQ(look.bitmap, "BM...");
  EXPECT_EQ(look.transparentIndex, 7);
  EXPECT_EQ(look.bitmapSize, 50u);
  EXPECT_EQ(look.stretchMode, 2u);
}

}  // namespace
}  // namespace brennick
