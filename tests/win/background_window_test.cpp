#include "ui/win/background_window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "foundation/win/registry.h"
#include "package/settings_record.h"
#include "scratch_folder.h"
#include "uninstall/win/background_values.h"

namespace brennick::win {
namespace {

std::string U16(unsigned value) { return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8 & 0xFF)}; }
std::string U32(std::uint32_t value) { return U16(value & 0xFFFF) + U16(value >> 16); }

// An uncompressed bitmap file; `palette` in RGBQUAD order (blue in the low
// byte), `rows` bottom-up and already padded to 4 bytes.
std::string BitmapBytes(int width, int height, int bits, const std::vector<std::uint32_t>& palette,
                        const std::string& rows) {
  const auto offset = static_cast<std::uint32_t>(14 + 40 + 4 * palette.size());
  std::string file = "BM" + U32(offset + static_cast<std::uint32_t>(rows.size())) + U32(0) + U32(offset);
  file += U32(40) + U32(static_cast<std::uint32_t>(width)) + U32(static_cast<std::uint32_t>(height)) + U16(1) +
          U16(static_cast<unsigned>(bits)) + U32(0) + U32(static_cast<std::uint32_t>(rows.size())) + U32(2835) +
          U32(2835) + U32(static_cast<std::uint32_t>(palette.size())) + U32(0);
  for (const std::uint32_t entry : palette) file += U32(entry);
  return file + rows;
}

constexpr COLORREF kRed = 0x000000FF;
constexpr COLORREF kGreen = 0x0000FF00;
constexpr COLORREF kBlue = 0x00FF0000;
constexpr COLORREF kWhite = 0x00FFFFFF;

// One green pixel, 24 bits.
std::string GreenPixel() { return BitmapBytes(1, 1, 24, {}, std::string("\x00\xFF\x00\x00", 4)); }

// Two pixels of 8 bits: palette index 0 (red) left, index 1 (green) right.
std::string RedGreenPair() {
  return BitmapBytes(2, 1, 8, {0x00FF0000, 0x0000FF00}, std::string("\x00\x01\x00\x00", 4));
}

// A 32-bit picture to render the window into.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bitmap_.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<const std::uint32_t*>(bits);
    dc_.reset(::CreateCompatibleDC(nullptr));
    previous_ = ::SelectObject(dc_.get(), bitmap_.get());
  }
  ~Canvas() { ::SelectObject(dc_.get(), previous_); }

  HDC dc() const { return dc_.get(); }

  // As COLORREF: red in the low byte.
  COLORREF Pixel(int x, int y) const {
    ::GdiFlush();
    const std::uint32_t bgr = bits_[static_cast<std::size_t>(y) * width_ + x];
    return (bgr >> 16 & 0xFF) | (bgr & 0xFF00) | (bgr & 0xFF) << 16;
  }

  // Pixels in a rectangle that differ from `colour`.
  int CountOther(const RECT& area, COLORREF colour) const {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x) count += Pixel(x, y) != colour ? 1 : 0;
    }
    return count;
  }

 private:
  struct DcTraits {
    using Handle = HDC;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { ::DeleteDC(h); }
  };
  int width_;
  int height_;
  ScopedBitmap bitmap_;
  ScopedHandle<DcTraits> dc_;
  HGDIOBJ previous_ = nullptr;
  const std::uint32_t* bits_ = nullptr;
};

bool Near(COLORREF a, COLORREF b, int tolerance) {
  for (const int shift : {0, 8, 16}) {
    if (std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF)) > tolerance) return false;
  }
  return true;
}

BackgroundLook PlainLook(COLORREF colour) {
  BackgroundLook look;
  look.taskbarText = "Example Setup";
  look.topColor = colour;
  look.monoColor = true;
  return look;
}

class BackgroundWindow : public ::testing::Test {
 protected:
  void TearDown() override {
    if (window_ != nullptr) ::DestroyWindow(window_);
  }

  // Creates the window with a look that the test may change later.
  void Create() {
    window_ = CreateBackgroundWindow(program_, [this] { return look_; });
    ASSERT_NE(window_, nullptr);
    RECT client = {};
    ::GetClientRect(window_, &client);
    width_ = client.right;
    height_ = client.bottom;
    ASSERT_GT(width_, 100);
    ASSERT_GT(height_, 100);
  }

  // The window's erase and paint, into a canvas of its client size.
  std::unique_ptr<Canvas> Render() {
    auto canvas = std::make_unique<Canvas>(width_, height_);
    ::SendMessageW(window_, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas->dc()), 0);
    ::SendMessageW(window_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->dc()), PRF_CLIENT);
    return canvas;
  }

  Program program_;
  BackgroundLook look_ = PlainLook(0x00336699);
  HWND window_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

TEST_F(BackgroundWindow, CoversTheWorkAreaWithItsTitleAndClass) {
  Create();
  RECT work = {};
  ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
  RECT window = {};
  ::GetWindowRect(window_, &window);
  EXPECT_TRUE(::EqualRect(&window, &work));
  EXPECT_TRUE(::IsWindowVisible(window_));
  EXPECT_FALSE(::IsZoomed(window_));
  EXPECT_EQ(::GetWindowLongW(window_, GWL_STYLE) & (WS_CAPTION | WS_BORDER | WS_THICKFRAME), 0);
  EXPECT_TRUE(::IsWindowUnicode(window_));
  wchar_t text[64] = {};
  ::GetWindowTextW(window_, text, 64);
  EXPECT_STREQ(text, L"Example Setup");
  ::GetClassNameW(window_, text, 64);
  EXPECT_STREQ(text, kBackgroundWindowClass);
}

TEST_F(BackgroundWindow, TheMaximiseFlagShowsItMaximised) {
  look_.maximize = true;
  Create();
  EXPECT_TRUE(::IsZoomed(window_));
}

TEST_F(BackgroundWindow, StartMinimisedLeavesItMinimised) {
  program_.state.StartMinimized = true;
  window_ = CreateBackgroundWindow(program_, [this] { return look_; });
  ASSERT_NE(window_, nullptr);
  EXPECT_TRUE(::IsIconic(window_));
  EXPECT_NE(::GetWindowLongW(window_, GWL_STYLE) & WS_MINIMIZE, 0);
}

TEST_F(BackgroundWindow, PlainColourAndAChangedLookAtTheNextErase) {
  Create();
  const auto first = Render();
  for (const POINT p : {POINT{0, 0}, POINT{width_ / 2, height_ / 2}, POINT{width_ - 1, height_ - 1}}) {
    EXPECT_EQ(first->Pixel(p.x, p.y), 0x00336699u) << p.x << "," << p.y;
  }
  look_.topColor = kGreen;
  EXPECT_EQ(Render()->Pixel(width_ / 2, height_ / 2), kGreen);
}

TEST_F(BackgroundWindow, GradientFromTopToBottomColour) {
  look_.monoColor = false;
  look_.topColor = kRed;
  look_.bottomColor = kBlue;
  Create();
  const auto canvas = Render();
  EXPECT_TRUE(Near(canvas->Pixel(width_ / 2, 0), kRed, 8)) << std::hex << canvas->Pixel(width_ / 2, 0);
  EXPECT_TRUE(Near(canvas->Pixel(width_ / 2, height_ - 1), kBlue, 8)) << std::hex << canvas->Pixel(0, height_ - 1);
  EXPECT_TRUE(Near(canvas->Pixel(0, height_ / 2), 0x00800080, 10)) << std::hex << canvas->Pixel(0, height_ / 2);
  // Every row is one colour.
  EXPECT_EQ(canvas->Pixel(0, height_ / 3), canvas->Pixel(width_ - 1, height_ / 3));
}

TEST_F(BackgroundWindow, HalfSizeBitmapCoversTheMiddleHalf) {
  look_.topColor = kWhite;
  look_.bitmap = GreenPixel();
  look_.bitmapSize = 50;
  look_.stretchMode = 0;
  Create();
  const auto canvas = Render();
  const int left = width_ / 4;
  const int top = height_ / 4;
  const int right = left + width_ / 2;
  const int bottom = top + height_ / 2;
  EXPECT_EQ(canvas->Pixel(width_ / 2, height_ / 2), kGreen);
  EXPECT_EQ(canvas->Pixel(left + 1, top + 1), kGreen);
  EXPECT_EQ(canvas->Pixel(right - 2, bottom - 2), kGreen);
  EXPECT_EQ(canvas->Pixel(left - 2, top - 2), kWhite);
  EXPECT_EQ(canvas->Pixel(right + 1, bottom + 1), kWhite);
  EXPECT_EQ(canvas->Pixel(width_ / 2, top - 2), kWhite);
}

TEST_F(BackgroundWindow, TransparentIndexShowsTheBackgroundThrough) {
  look_.topColor = kWhite;
  look_.bitmap = RedGreenPair();
  look_.bitmapSize = 100;
  look_.transparentIndex = 0;
  Create();
  auto canvas = Render();
  EXPECT_EQ(canvas->Pixel(width_ / 4, height_ / 2), kWhite);
  EXPECT_EQ(canvas->Pixel(3 * width_ / 4, height_ / 2), kGreen);

  look_.transparentIndex = -1;
  canvas = Render();
  EXPECT_EQ(canvas->Pixel(width_ / 4, height_ / 2), kRed);
}

TEST_F(BackgroundWindow, TilesCoverTheWholeClientArea) {
  look_.topColor = kWhite;
  look_.bitmap = RedGreenPair();
  look_.bitmapSize = 1;
  look_.stretchMode = 3;
  Create();
  const auto canvas = Render();
  for (const int x : {0, 2, 100, width_ - 2 - width_ % 2}) EXPECT_EQ(canvas->Pixel(x, height_ - 1), kRed) << x;
  for (const int x : {1, 3, 101, width_ - 1 - width_ % 2}) EXPECT_EQ(canvas->Pixel(x, 0), kGreen) << x;
}

TEST_F(BackgroundWindow, TitleWithShadowAndCopyrightAtTheirPositions) {
  look_.topColor = kWhite;
  look_.title = "Example Title";
  look_.titlePosition = 1;
  look_.titleColor = kRed;
  look_.titleShadow = 3;
  look_.copyrightText = "Copyright Example";
  look_.copyrightPosition = 6;
  look_.copyrightSize = 1.0;
  look_.copyrightColor = kBlue;
  Create();
  const auto canvas = Render();
  const RECT topLeft = {0, 0, width_ / 2, height_ / 4};
  const RECT topRight = {width_ / 2, 0, width_, height_ / 4};
  const RECT bottomLeft = {0, 3 * height_ / 4, width_ / 2, height_};
  const RECT bottomRight = {width_ / 2, 3 * height_ / 4, width_, height_};
  EXPECT_GT(canvas->CountOther(topLeft, kWhite), 100);
  EXPECT_EQ(canvas->CountOther(topRight, kWhite), 0);
  EXPECT_EQ(canvas->CountOther(bottomLeft, kWhite), 0);
  EXPECT_GT(canvas->CountOther(bottomRight, kWhite), 50);
  int red = 0;
  int black = 0;
  for (int y = topLeft.top; y < topLeft.bottom; ++y) {
    for (int x = topLeft.left; x < topLeft.right; ++x) {
      red += canvas->Pixel(x, y) == kRed ? 1 : 0;
      black += canvas->Pixel(x, y) == 0 ? 1 : 0;
    }
  }
  EXPECT_GT(red, 20);
  EXPECT_GT(black, 20);  // the shadow

  // Position 0 hides a title that is there.
  look_.titlePosition = 0;
  EXPECT_EQ(Render()->CountOther(topLeft, kWhite), 0);
}

class BackgroundValues : public ::testing::Test {
 protected:
  void SetUp() override {
    key_ = CreateKey(HKEY_CURRENT_USER, kKey, KEY_READ | KEY_WRITE);
    ASSERT_TRUE(key_.ok());
  }
  void TearDown() override {
    key_ = OpenedKey();
    DeleteKeyTree(HKEY_CURRENT_USER, kKey, 0);
  }

  void Text(const char* name, const std::string& text) {
    ::RegSetValueExA(key_.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>(text.size() + 1));
  }
  void Number(const char* name, DWORD number) {
    ::RegSetValueExA(key_.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  }

  static constexpr const char* kKey = "Software\\Brennick Tests\\Background Values";
  OpenedKey key_;
  InstallerState state_;
};

TEST_F(BackgroundValues, MissingValuesTakeTheirDefaults) {
  const BackgroundLook look = ReadBackgroundLook(key_.get(), state_);
  EXPECT_EQ(look.title, "");
  EXPECT_EQ(look.titleSize, 1.0);
  EXPECT_EQ(look.titleColor, ::GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(look.titleShadow, 1);
  EXPECT_EQ(look.titlePosition, 0);
  EXPECT_EQ(look.topColor, ::GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(look.bottomColor, 0u);
  EXPECT_TRUE(look.monoColor);
  EXPECT_EQ(look.copyrightSize, 0.0);
  EXPECT_EQ(look.copyrightColor, 0u);
  EXPECT_EQ(look.copyrightPosition, 0);
  EXPECT_TRUE(look.bitmap.empty());
  EXPECT_EQ(look.transparentIndex, -1);
  EXPECT_EQ(look.bitmapSize, 0u);
  EXPECT_FALSE(look.maximize);
}

TEST_F(BackgroundValues, StoredValuesAndTheKeptBitmap) {
  testing::ScratchFolder folder("background values");
  folder.Write("Installer Background.BMP", RedGreenPair());
  state_.UninstallDataDir = folder.path();
  Text("TaskbarText", "Example Setup");
  Text("DisplayTitle", "Example 2.0");
  Text("TitleSize", "1.5");
  Number("TitleColor", 0x00112233);
  Number("TitleShadow", 0);
  Number("TitlePosition", 5);
  Text("TitleFont", "Verdana, Tahoma");
  Number("TopColor", 0x00FF0000);
  Number("BottomColor", 0x000000FF);
  Number("MonoColor", 0);
  Text("CopyrightText", "(c) Example");
  Text("CopyrightSize", "0.75");
  Text("CopyrightColor", "102030");
  Number("CopyrightPos", 6);
  Number("BitmapTPI", 1);
  Number("BitmapSize", 40);
  Number("StretchMode", 2);

  BackgroundLook look = ReadBackgroundLook(key_.get(), state_);
  EXPECT_EQ(look.taskbarText, "Example Setup");
  EXPECT_EQ(look.title, "Example 2.0");
  EXPECT_EQ(look.titleSize, 1.5);
  EXPECT_EQ(look.titleColor, 0x00112233u);
  EXPECT_EQ(look.titleShadow, 0);
  EXPECT_EQ(look.titlePosition, 5);
  EXPECT_EQ(look.titleFont, "Verdana, Tahoma");
  EXPECT_EQ(look.topColor, 0x00FF0000u);
  EXPECT_EQ(look.bottomColor, 0x000000FFu);
  EXPECT_FALSE(look.monoColor);
  EXPECT_EQ(look.copyrightText, "(c) Example");
  EXPECT_EQ(look.copyrightSize, 0.75);
  EXPECT_EQ(look.copyrightColor, 0x00302010u);
  EXPECT_EQ(look.copyrightPosition, 6);
  // Without bit 15 the bitmap and its values stay out.
  EXPECT_TRUE(look.bitmap.empty());
  EXPECT_EQ(look.bitmapSize, 0u);

  SetFlag(state_.Settings.ProductFlags, flags::kKeepBackgroundBitmap);
  SetFlag(state_.Settings.ProductFlags, flags::kTitleOption);
  look = ReadBackgroundLook(key_.get(), state_);
  EXPECT_EQ(look.bitmap, RedGreenPair());
  EXPECT_EQ(look.transparentIndex, 1);
  EXPECT_EQ(look.bitmapSize, 40u);
  EXPECT_EQ(look.stretchMode, 2u);
  EXPECT_TRUE(look.maximize);

  // A bitmap file larger than the uninstaller reads is left out.
  folder.Write("Installer Background.BMP", std::string(kLargestBackgroundBitmap + 1, 'B'));
  EXPECT_TRUE(ReadBackgroundLook(key_.get(), state_).bitmap.empty());
}

}  // namespace
}  // namespace brennick::win
