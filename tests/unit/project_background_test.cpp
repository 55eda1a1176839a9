// The settings that the background window, the wizard pages and the progress
// page read: pictures, colours, texts, password, licence and readme files and
// the end choices.

#include <gtest/gtest.h>

#include <string>

#include "builder/basics/bmp_picture.h"
#include "builder/basics/build_error.h"
#include "builder/project/project.h"
#include "project_bmp_fixture.h"
#include "temp_folder.h"

namespace brennick::build {
namespace {

using testing::BmpFields;
using testing::MakeBmp;
using testing::TempFolder;

struct GoodBmp {
  const char* what;
  BmpFields fields;
  std::uint32_t paletteEntries;
};

void PrintTo(const GoodBmp& c, std::ostream* out) { *out << c.what; }

class BmpAccepted : public ::testing::TestWithParam<GoodBmp> {};

TEST_P(BmpAccepted, GivesTheFactsTheInstallerUses) {
  const BmpFields& fields = GetParam().fields;
  const BmpCheck check = CheckBmp(MakeBmp(fields));
  ASSERT_TRUE(check.facts) << check.problem;
  EXPECT_EQ(check.facts->width, fields.width);
  EXPECT_EQ(check.facts->height, fields.height);
  EXPECT_EQ(check.facts->bitCount, fields.bitCount);
  EXPECT_EQ(check.facts->paletteEntries, GetParam().paletteEntries);
}

INSTANTIATE_TEST_SUITE_P(
    Bmp, BmpAccepted,
    ::testing::Values(GoodBmp{"1 bit", {.bitCount = 1}, 2}, GoodBmp{"4 bits", {.bitCount = 4}, 16},
                      GoodBmp{"8 bits", {}, 256}, GoodBmp{"8 bits, 5 colours", {.coloursUsed = 5}, 5},
                      GoodBmp{"16 bits", {.bitCount = 16}, 0}, GoodBmp{"24 bits", {.bitCount = 24}, 0},
                      GoodBmp{"32 bits", {.bitCount = 32}, 0},
                      GoodBmp{"top-down rows", {.height = -2, .bitCount = 24}, 0},
                      GoodBmp{"16-bit fields", {.bitCount = 16, .compression = 3}, 0},
                      GoodBmp{"32-bit fields in a V5 header", {.bitCount = 32, .compression = 3, .headerSize = 124}, 0},
                      GoodBmp{"gap before the pixels", {.bitCount = 24, .gap = 6}, 0}));

struct BadBmp {
  const char* what;
  BmpFields fields;
  const char* problem;
};

void PrintTo(const BadBmp& c, std::ostream* out) { *out << c.what; }

class BmpRefused : public ::testing::TestWithParam<BadBmp> {};

TEST_P(BmpRefused, SaysWhy) {
  const BmpCheck check = CheckBmp(MakeBmp(GetParam().fields));
  EXPECT_FALSE(check.facts);
  EXPECT_NE(check.problem.find(GetParam().problem), std::string::npos) << check.problem;
}

INSTANTIATE_TEST_SUITE_P(
    Bmp, BmpRefused,
    ::testing::Values(
        BadBmp{"PNG", {.magic = "\x89PNG"}, "it does not begin with \"BM\""},
        BadBmp{"core header", {.headerSize = 12}, "its header has 12 bytes"},
        BadBmp{"header cut", {.bitCount = 24, .cutShort = 48}, "the file ends inside its header"},
        BadBmp{"zero width", {.width = 0}, "its width is 0"},
        BadBmp{"negative width", {.width = -3}, "its width is -3"},
        BadBmp{"zero height", {.height = 0}, "its height is 0"}, BadBmp{"two planes", {.planes = 2}, "it has 2 planes"},
        BadBmp{"2 bits", {.bitCount = 2}, "2 bits per pixel; expected 1, 4, 8, 16, 24 or 32"},
        BadBmp{"JPEG inside", {.bitCount = 24, .compression = 4}, "compression 4"},
        BadBmp{"RLE8", {.compression = 1, .imageSize = 8}, "RLE8 compressed; the installer draws only uncompressed"},
        BadBmp{"RLE4", {.bitCount = 4, .compression = 2, .imageSize = 6}, "RLE4 compressed"},
        BadBmp{"too wide",
               {.width = 65536, .height = 1, .bitCount = 1},
               "65536 x 1 pixels; the installer draws at most 65535"},
        BadBmp{"too high", {.width = 1, .height = -65536, .bitCount = 1}, "1 x -65536 pixels"},
        BadBmp{"bit fields at 24 bits", {.bitCount = 24, .compression = 3}, "bit-field pixels need 16 or 32"},
        BadBmp{"palette too big", {.bitCount = 4, .coloursUsed = 17}, "its palette has 17 colours; 4 bits"},
        BadBmp{"palette cut", {.cutShort = 24}, "the file ends inside its palette"},
        BadBmp{"pixels in the palette", {.pixelOffset = 54}, "its pixel data offset 54"},
        BadBmp{"pixels beyond the end", {.bitCount = 24, .pixelOffset = 5000}, "its pixel data offset 5000"},
        BadBmp{"last row cut",
               {.bitCount = 24, .cutShort = 1},
               "its pixel data needs 24 bytes from offset 54, but the file has 77"},
        BadBmp{
            "bit fields cut", {.bitCount = 16, .compression = 3, .cutShort = 20}, "the file ends inside its palette"},
        // The masks follow a 40-byte header and are part of one of 52 bytes or more: after a header of a
        // size between they would lie over the pixels.
        BadBmp{"bit fields after a 44-byte header",
               {.bitCount = 16, .compression = 3, .headerSize = 44},
               "its pixel data offset 58 lies outside the file or inside the header"}));

TEST(Bmp, EmptyFileIsNotAPicture) { EXPECT_EQ(CheckBmp("").problem, "the file is empty"); }

std::string ErrorOf(const std::filesystem::path& project) {
  try {
    LoadProject(project);
  } catch (const BuildError& e) {
    return e.what();
  }
  return "(no error)";
}

// The files the bad projects below name.
void WriteFixtures(const TempFolder& folder) {
  folder.Write("pal.bmp", MakeBmp({.bitCount = 8, .coloursUsed = 4}));
  folder.Write("rgb.bmp", MakeBmp({.bitCount = 24}));
  folder.Write("text.bmp", "GIF89a, renamed");
  folder.Write("empty.txt", "");
  folder.Write("bad-utf8.txt",
               "\xEF\xBB\xBF"
               "Gr\xFC\xDF"
               "e");  // Windows-1252 bytes after a UTF-8 mark
  folder.Write("odd-utf16.txt", "\xFF\xFEH\0i");
}

struct BadProject {
  const char* toml;
  const char* message;
};

void PrintTo(const BadProject& bad, std::ostream* out) { *out << bad.toml; }

class BackgroundErrors : public ::testing::TestWithParam<BadProject> {};

TEST_P(BackgroundErrors, NameFileLineAndKey) {
  TempFolder folder;
  WriteFixtures(folder);
  const std::string message = ErrorOf(folder.Write("project.toml", GetParam().toml));
  EXPECT_EQ(message.rfind((folder.path() / "project.toml").string() + ":", 0), 0u) << message;
  EXPECT_NE(message.find(GetParam().message), std::string::npos) << message;
}

INSTANTIATE_TEST_SUITE_P(
    Project, BackgroundErrors,
    ::testing::Values(
        // Pictures.
        BadProject{"[background]\nbitmap_size = 50\nbitmap = \"text.bmp\"\n",
                   "project.toml:3: [background] bitmap: not a BMP picture: it does not begin with \"BM\""},
        BadProject{"[background]\nbitmap = \"empty.txt\"\n",
                   "project.toml:2: [background] bitmap: not a BMP picture: the file is empty"},
        BadProject{"[background]\nbitmap = \"rgb.bmp\"\nbitmap_size = 50\nbitmap_transparent_index = 0\n",
                   "project.toml:4: [background] bitmap_transparent_index: needs a palette picture (8 bits per pixel "
                   "or fewer); the bitmap has 24"},
        BadProject{"[background]\nbitmap = \"pal.bmp\"\nbitmap_size = 50\nbitmap_transparent_index = 4\n",
                   "project.toml:4: [background] bitmap_transparent_index: the bitmap's palette has only 4 colours"},
        BadProject{"[background]\nbitmap = \"pal.bmp\"\n",
                   "project.toml:2: [background] bitmap: a bitmap is drawn only with a bitmap_size from 1 to 100"},
        BadProject{"[background]\nbitmap = \"pal.bmp\"\nbitmap_size = 0\n",
                   "project.toml:3: [background] bitmap_size: a bitmap is drawn only"},
        BadProject{"[background]\nbitmap_size = 40\n", "project.toml:2: [background] bitmap_size: needs a bitmap"},
        BadProject{"[background]\nbitmap_stretch = \"tile\"\n",
                   "project.toml:2: [background] bitmap_stretch: needs a bitmap"},
        BadProject{"[background]\nbitmap = \"pal.bmp\"\nbitmap_size = 50\nbitmap_stretch = \"zoom\"\n",
                   "project.toml:4: [background] bitmap_stretch: expected one of \"stretch\", \"fit\""},
        // Title and colours.
        BadProject{"[background]\ntitle = \"Hello\"\n", "project.toml:2: [background] title: needs title_position"},
        BadProject{"[background]\ntitle_position = \"none\"\ntitle_font = \"Arial\"\n",
                   "project.toml:3: [background] title_font: needs title_position"},
        BadProject{"[background]\ntitle_position = \"middle\"\n",
                   "project.toml:2: [background] title_position: expected one of \"none\", \"top_left\""},
        BadProject{"[background]\ntop_color = \"red\"\n", "project.toml:2: [background] top_color: expected a colour"},
        BadProject{"[background]\ntop_color = \"#GG0000\"\n", "[background] top_color: expected a colour"},
        BadProject{"[background]\ntop_color = \"#1234567\"\n", "[background] top_color: expected a colour"},
        BadProject{"[background]\ntop_color = \"123456\"\n", "[background] top_color: expected a colour"},
        BadProject{"[background]\ntop_color = \"#-12345\"\n", "[background] top_color: expected a colour"},
        BadProject{"[background]\nbottom_color = 0x1000000\n",
                   "project.toml:2: [background] bottom_color: expected a colour: \"#RRGGBB\" or an integer"},
        BadProject{"[background]\nbottom_color = -1\n", "[background] bottom_color: expected a colour"},
        BadProject{"[background]\nbottom_color = true\n", "[background] bottom_color: expected a colour"},
        BadProject{"[background]\ncopyright_position = \"top_left\"\ncopyright_color = \"#00000\"\n",
                   "project.toml:3: [background] copyright_color: expected a colour"},
        BadProject{"[background]\ntitle_shadow = 256\n",
                   "[background] title_shadow: expected an integer from 0 to 255"},
        BadProject{"[background]\ntitle_position = \"top_left\"\ntitle_size = 101\n",
                   "[background] title_size: expected a number from 0 to 100"},
        // Wizard pages and progress.
        BadProject{"[wizard]\nstyle = \"fancy\"\n",
                   "project.toml:2: [wizard] style: expected one of \"plain\", \"picture\", \"banner\""},
        BadProject{"[wizard]\nside_picture_frame = \"thick\"\n", "[wizard] side_picture_frame: expected one of"},
        BadProject{"[wizard]\nmin_stage_time = -1\n", "[wizard] min_stage_time: expected an integer from 0 to 9999"},
        BadProject{"[wizard]\nprogress_placement = \"centre\"\n", "[wizard] progress_placement: expected an integer"},
        BadProject{"[wizard]\nwindow_title = 1\n", "project.toml:2: [wizard] window_title: expected a string"},
        // Password: the page's field takes 64 characters.
        BadProject{"[product]\npassword = \"12345678901234567890123456789012345678901234567890123456789012345\"\n",
                   "project.toml:2: [product] password: at most 64 characters"},
        // Licence and readme files.
        BadProject{"[[license]]\nfile = \"empty.txt\"\n", "project.toml:2: [[license]] #1 file: the file is empty"},
        BadProject{"[[readme]]\nfile = \"bad-utf8.txt\"\n",
                   "project.toml:2: [[readme]] #1 file: begins with the UTF-8 byte-order mark but is not valid UTF-8"},
        BadProject{"[[license]]\nfile = \"odd-utf16.txt\"\n",
                   "project.toml:2: [[license]] #1 file: a UTF-16 text has an even number of bytes"},
        // End choices.
        BadProject{"[flags]\noffer_view_log = true\n",
                   "project.toml:2: [flags] offer_view_log: needs keep_install_log"},
        BadProject{"[flags]\nkeep_install_log = true\nrun_checked = true\n",
                   "project.toml:3: [flags] run_checked: needs [finish] run"},
        BadProject{"[finish]\nrun = \"a.txt\"\n[flags]\nlaunch_checked = true\n",
                   "project.toml:4: [flags] launch_checked: needs [finish] launch"},
        BadProject{"[flags]\ndocument_checked = true\n", "[flags] document_checked: needs [finish] document"},
        BadProject{"[flags]\nkeep_background_bitmap = true\n",
                   "project.toml:2: [flags] keep_background_bitmap: needs [background] bitmap"},
        BadProject{"[finish]\nlaunch = [\"a.exe\"]\n", "project.toml:2: [finish] launch: expected a string"},
        BadProject{"[finish]\nopen = \"a.txt\"\n", "project.toml:2: [finish] open: unknown key"}));

TEST(ProjectBackground, EverySettingOfTheWindowsReachesTheRecord) {
  TempFolder folder;
  const std::string picture = MakeBmp({.width = 5, .height = -4, .bitCount = 4});
  folder.Write("art/back.bmp", picture);
  const Project project = LoadProject(folder.Write("project.toml", R"(
[product]
password = "1234567890123456789012345678901234567890123456789012345678901234"
[background]
taskbar_text = "Setup"
title_position = "bottom_center"
title = "Big"
title_size = 0.5
title_color = "#ff8000"
title_shadow = 0
title_font = "Segoe UI"
top_color = 0xFFFFFF
bottom_color = 0
bitmap = "art/back.bmp"
bitmap_transparent_index = 15
bitmap_size = 100
bitmap_stretch = "tile"
[wizard]
style = 5
window_title = "<product>"
side_picture_frame = "border"
progress_placement = 4294967295
min_stage_time = 0
[wizard.styles]
language = "picture"
progress = "plain"
[finish]
run = "readme.txt"
launch = "\"%WinDir%\\notepad.exe\" \"%InstallDir%\\notes.txt\""
document = "docs\\guide.html"
[flags]
keep_install_log = true
offer_view_log = true
run_checked = true
launch_checked = true
document_checked = true
keep_background_bitmap = true
)"));
  const SettingsRecord& s = project.settings;
  EXPECT_EQ(s.Password.size(), 64u);
  EXPECT_EQ(s.TaskbarText, "Setup");
  EXPECT_EQ(s.TitlePosition, 5);
  EXPECT_EQ(s.DisplayTitle, "Big");
  EXPECT_EQ(s.TitleSize, 0.5);
  EXPECT_EQ(s.TitleColor, 0x000080FFu);
  EXPECT_EQ(s.TitleShadow, 0);
  EXPECT_EQ(s.TitleFont, "Segoe UI");
  EXPECT_EQ(s.TopColor, 0x00FFFFFFu);
  EXPECT_EQ(s.BottomColor, 0u);
  EXPECT_EQ(s.BackgroundBitmap, picture);  // the file image as it is
  EXPECT_EQ(s.BitmapTPI, 15);
  EXPECT_EQ(s.BitmapSize, 100u);
  EXPECT_EQ(s.StretchMode, 3u);
  EXPECT_EQ(s.PageStyles, (std::array<std::uint32_t, 8>{5, 1, 5, 5, 5, 5, 0, 5}));
  EXPECT_EQ(s.WindowTitle, "<product>");
  EXPECT_EQ(s.SidePictureFrame, 2);
  EXPECT_EQ(s.ProgressPlacement, 0xFFFFFFFFu);
  EXPECT_EQ(s.MinStageTime, 0);
  EXPECT_EQ(s.RunAfterInstall, "readme.txt");
  EXPECT_EQ(s.LaunchAfterInstall, "\"%WinDir%\\notepad.exe\" \"%InstallDir%\\notes.txt\"");
  EXPECT_EQ(s.DocumentAfterInstall, "docs\\guide.html");
  EXPECT_TRUE(HasFlag(s.ProductFlags, flags::kOfferViewLog));
  EXPECT_TRUE(HasFlag(s.ProductFlags, flags::kKeepBackgroundBitmap));
  EXPECT_EQ(s.ProductFlags2 & 0x1C, 0x1Cu);  // launch, run and document start ticked
}

TEST(ProjectBackground, TransparentIndexMinusOneMeansNone) {
  TempFolder folder;
  folder.Write("back.bmp", MakeBmp({.bitCount = 24}));
  const Project project = LoadProject(folder.Write(
      "project.toml", "[background]\nbitmap = \"back.bmp\"\nbitmap_size = 20\nbitmap_transparent_index = -1\n"));
  EXPECT_EQ(project.settings.BitmapTPI, -1);
}

// The page decides by the byte-order mark how to show a text, so the builder
// keeps every licence and readme file in the encoding it was written in; it
// only makes the line breaks of 8-bit texts "\r\n".
TEST(ProjectBackground, LicenceAndReadmeFilesKeepTheirEncoding) {
  struct Text {
    const char* file;
    std::string bytes;
    std::string stored;
  };
  const Text texts[] = {
      {"utf8.txt",
       "\xEF\xBB\xBF"
       "Gr\xC3\xBC\xC3\x9F"
       "e \xE2\x82\xAC\nzwei\n",
       "\xEF\xBB\xBF"
       "Gr\xC3\xBC\xC3\x9F"
       "e \xE2\x82\xAC\r\nzwei\r\n"},
      {"ansi.txt",
       "Gr\xFC\xDF"
       "e \x80\r\nzwei\r",
       "Gr\xFC\xDF"
       "e \x80\r\nzwei\r\n"},
      {"utf8-no-mark.txt",
       "Gr\xC3\xBC\xC3\x9F"
       "e\n",
       "Gr\xC3\xBC\xC3\x9F"
       "e\r\n"},
      {"utf16le.txt", std::string("\xFF\xFEG\0\xFC\0\n\0", 8), std::string("\xFF\xFEG\0\xFC\0\n\0", 8)},
      {"utf16be.txt", std::string("\xFE\xFF\0G\0\xFC\0\n", 8), std::string("\xFE\xFF\0G\0\xFC\0\n", 8)},
  };
  TempFolder folder;
  std::string toml;
  for (const Text& text : texts) {
    folder.Write(text.file, text.bytes);
    toml += "[[license]]\nfile = \"" + std::string(text.file) + "\"\n[[readme]]\nfile = \"" + text.file + "\"\n";
  }
  const SettingsRecord s = LoadProject(folder.Write("project.toml", toml)).settings;
  ASSERT_EQ(s.LicenseTexts.size(), std::size(texts));
  ASSERT_EQ(s.ReadmeTexts.size(), std::size(texts));
  for (std::size_t i = 0; i < std::size(texts); ++i) {
    SCOPED_TRACE(texts[i].file);
    EXPECT_EQ(s.LicenseTexts[i], texts[i].stored);
    EXPECT_EQ(s.ReadmeTexts[i], texts[i].stored);
  }
}

}  // namespace
}  // namespace brennick::build
