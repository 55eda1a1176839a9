#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "builder/report/describe.h"
#include "builder/report/json.h"
#include "package/package_layout.h"

namespace brennick::build {
namespace {

// A strict reader of the JSON grammar (RFC 8259), for checking our output.
struct Json {
  enum class Kind { Null, Bool, Number, String, Array, Object } kind = Kind::Null;
  std::string text;  // string value (UTF-8), number or literal text
  std::vector<std::string> keys;
  std::vector<Json> items;

  const Json& operator[](std::string_view key) const {
    for (std::size_t i = 0; i < keys.size(); ++i) {
      if (keys[i] == key) return items[i];
    }
    static const Json missing;
    ADD_FAILURE() << "no member " << key;
    return missing;
  }
};

class JsonParser {
 public:
  explicit JsonParser(std::string_view text) : s_(text) {}

  std::optional<Json> ParseDocument() {
    Json value;
    if (!Value(value)) return std::nullopt;
    Space();
    if (i_ != s_.size()) return std::nullopt;
    return value;
  }

 private:
  void Space() {
    while (i_ < s_.size() && std::strchr(" \t\r\n", s_[i_]) != nullptr) ++i_;
  }
  bool Eat(char c) {
    Space();
    if (i_ < s_.size() && s_[i_] == c) return ++i_, true;
    return false;
  }
  bool Literal(std::string_view word) {
    if (s_.substr(i_, word.size()) != word) return false;
    i_ += word.size();
    return true;
  }
  bool Value(Json& v) {
    Space();
    if (i_ >= s_.size()) return false;
    const char c = s_[i_];
    if (c == '{') return Object(v);
    if (c == '[') return Array(v);
    if (c == '"') return v.kind = Json::Kind::String, String(v.text);
    if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) return Number(v);
    for (std::string_view word : {"true", "false", "null"}) {
      if (Literal(word)) {
        v.kind = word == "null" ? Json::Kind::Null : Json::Kind::Bool;
        v.text = word;
        return true;
      }
    }
    return false;
  }
  bool Object(Json& v) {
    v.kind = Json::Kind::Object;
    ++i_;
    if (Eat('}')) return true;
    do {
      Space();
      std::string key;
      if (i_ >= s_.size() || s_[i_] != '"' || !String(key) || !Eat(':')) return false;
      Json item;
      if (!Value(item)) return false;
      v.keys.push_back(key);
      v.items.push_back(std::move(item));
    } while (Eat(','));
    return Eat('}');
  }
  bool Array(Json& v) {
    v.kind = Json::Kind::Array;
    ++i_;
    if (Eat(']')) return true;
    do {
      Json item;
      if (!Value(item)) return false;
      v.items.push_back(std::move(item));
    } while (Eat(','));
    return Eat(']');
  }
  bool Digits() {
    const std::size_t start = i_;
    while (i_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[i_]))) ++i_;
    return i_ > start;
  }
  bool Number(Json& v) {
    const std::size_t start = i_;
    if (s_[i_] == '-') ++i_;
    if (i_ < s_.size() && s_[i_] == '0') {
      ++i_;
    } else if (!Digits()) {
      return false;
    }
    if (i_ < s_.size() && s_[i_] == '.' && (++i_, !Digits())) return false;
    if (i_ < s_.size() && (s_[i_] == 'e' || s_[i_] == 'E')) {
      ++i_;
      if (i_ < s_.size() && (s_[i_] == '+' || s_[i_] == '-')) ++i_;
      if (!Digits()) return false;
    }
    v.kind = Json::Kind::Number;
    v.text = std::string(s_.substr(start, i_ - start));
    return true;
  }
  void Append(std::string& out, unsigned c) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6)), out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12)), out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  bool String(std::string& out) {
    ++i_;
    while (i_ < s_.size() && s_[i_] != '"') {
      const auto c = static_cast<unsigned char>(s_[i_++]);
      if (c < 0x20) return false;
      if (c != '\\') {
        out += static_cast<char>(c);
        continue;
      }
      if (i_ >= s_.size()) return false;
      const char e = s_[i_++];
      const char* from = "\"\\/bfnrt";
      const char* to = "\"\\/\b\f\n\r\t";
      if (const char* p = std::strchr(from, e); p != nullptr && e != '\0') {
        out += to[p - from];
      } else if (e == 'u' && i_ + 4 <= s_.size()) {
        unsigned code = 0;
        for (int k = 0; k < 4; ++k) {
          const char h = s_[i_++];
          if (!std::isxdigit(static_cast<unsigned char>(h))) return false;
          code = code * 16 +
                 static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(h)) ? h - '0' : (h | 0x20) - 'a' + 10);
        }
        Append(out, code);
      } else {
        return false;
      }
    }
    return i_ < s_.size() && s_[i_++] == '"';
  }

  std::string_view s_;
  std::size_t i_ = 0;
};

std::optional<Json> Parse(std::string_view text) { return JsonParser(text).ParseDocument(); }

SettingsRecord SampleRecord() {
  SettingsRecord r;
  r.ProductFlags = (1ull << 2) | (1ull << 16) | (1ull << 3) | (1ull << 63);
  r.ProductFlags2 = (1u << 1) | (1u << 20);
  r.TitleSize = 1.5;
  r.ProductName =
      "Gr\xFC\xDF"
      "e \"quoted\"\ttab\x01";
  r.DefaultInstallDir = "|C:\\\xCE\xA9";
  r.UninstallerFileTime[0] = 0xE8;
  r.LicenseTexts = {"abc", std::string("\xFF\xFEl\0", 4)};
  r.BackgroundBitmap = "BM";
  r.BitmapTPI = -1;
  r.CopyrightPos = 3;
  r.CopyrightText = "(c)";
  r.MasterProduct = "Base";
  r.UninstallerIcon = "icon";
  r.FileDeletions = {{"old.dll", 2, "2020-01-31", 4}};
  r.Shortcuts.emplace_back().LinkTarget = "x.exe";
  r.ProgramsToClose = {{"Window", "*Title", "Program", 2, 4}};
  r.Languages = {{"English", "Deutsch"}, {{"Setup", "Installation"}, {"Line\r\nbreak", "Zeile"}}};
  r.EndMarker = package::kSettingsEndMarker;
  return r;
}

TEST(Describe, FullRecordIsValidJsonWithEveryField) {
  const std::string text = DescribeSettingsJson(SampleRecord());
  const auto json = Parse(text);
  ASSERT_TRUE(json.has_value()) << text;
  const Json& root = *json;
  EXPECT_EQ(root.keys.front(), "ProductFlags");
  EXPECT_EQ(root.keys.back(), "EndMarker");
  EXPECT_EQ(root["ProductFlags"].text, "0x800000000001000C");
  std::vector<std::string> flags;
  for (const Json& flag : root["flags"].items) flags.push_back(flag.text);
  EXPECT_EQ(flags, (std::vector<std::string>{"uninstaller", "ProductFlags.3", "master_product", "ProductFlags.63",
                                             "restore_point", "ProductFlags2.20"}));
  EXPECT_EQ(root["TitleSize"].text, "1.5");
  EXPECT_EQ(root["ProductName"].text,
            "Gr\xC3\xBC\xC3\x9F"
            "e \"quoted\"\ttab\x01");
  EXPECT_EQ(root["DefaultInstallDir"].text, "|C:\\\xCE\xA9");
  EXPECT_EQ(root["UninstallerFileTime"].text, "E8" + std::string(46, '0'));
  ASSERT_EQ(root["LicenseTexts"].items.size(), 2u);
  EXPECT_EQ(root["LicenseTexts"].items[0]["size"].text, "3");
  EXPECT_EQ(root["LicenseTexts"].items[0]["checksum"].text, "0x79E2BDC6");
  EXPECT_EQ(root["BitmapTPI"].text, "-1");
  EXPECT_EQ(root["CopyrightText"].text, "(c)");
  EXPECT_EQ(root["MasterProduct"].text, "Base");
  EXPECT_EQ(root["UninstallerIcon"]["size"].text, "4");
  EXPECT_EQ(root["FileDeletions"].items[0]["Name"].text, "old.dll");
  EXPECT_EQ(root["FileDeletions"].items[0]["ConditionType"].text, "2");
  EXPECT_EQ(root["Shortcuts"].items[0]["LinkTarget"].text, "x.exe");
  EXPECT_EQ(root["ProgramsToClose"].items[0]["ClassPattern"].text, "Window");
  EXPECT_EQ(root["ProgramsToClose"].items[0]["PassMask"].text, "4");
  EXPECT_EQ(root["PageStyles"].items.size(), 8u);
  EXPECT_EQ(root["LanguageNames"].items[1].text, "Deutsch");
  EXPECT_EQ(root["Messages"].items[1].items[0].text, "Line\r\nbreak");
  EXPECT_EQ(root["EndMarker"].text, std::to_string(package::kSettingsEndMarker));
  EXPECT_EQ(std::find(root.keys.begin(), root.keys.end(), "problems"), root.keys.end());
}

TEST(Describe, OptionalFieldsFollowTheirSwitches) {
  SettingsRecord r = SampleRecord();
  r.ProductFlags = 0;
  r.CopyrightPos = 0;
  r.BackgroundBitmap.clear();
  const auto json = Parse(DescribeSettingsJson(r));
  ASSERT_TRUE(json.has_value());
  for (const char* absent : {"MasterProduct", "UninstallerIcon", "CopyrightText", "BitmapTPI"}) {
    EXPECT_EQ(std::find(json->keys.begin(), json->keys.end(), absent), json->keys.end()) << absent;
  }
}

TEST(Describe, BoundsTheProgramRefusesAreListed) {
  SettingsRecord r = SampleRecord();
  r.BitmapSize = 101;
  r.EndMarker = 0;
  const auto json = Parse(DescribeSettingsJson(r));
  ASSERT_TRUE(json.has_value());
  const Json& problems = (*json)["problems"];
  ASSERT_EQ(problems.items.size(), 2u);
  EXPECT_EQ(problems.items[0]["field"].text, "BitmapSize");
  EXPECT_EQ(problems.items[0]["code"].text, "39");
  EXPECT_EQ(problems.items[1]["field"].text, "EndMarker");
  EXPECT_EQ(problems.items[1]["code"].text, "32");
}

TEST(Describe, JsonQuoteEscapes) {
  struct Case {
    std::string_view text;
    std::string_view quoted;
  };
  const Case cases[] = {
      {"plain", "\"plain\""},
      {"a\"b\\c", "\"a\\\"b\\\\c\""},
      {"\r\n\t\b\f", "\"\\r\\n\\t\\b\\f\""},
      {std::string_view("\x01\x1f\0", 3), "\"\\u0001\\u001f\\u0000\""},
      {"\xC3\xBC", "\"\xC3\xBC\""},  // UTF-8 stays
      {"\xFC", "\"\xC3\xBC\""},      // not UTF-8: taken as Windows-1252
  };
  for (const Case& c : cases) EXPECT_EQ(JsonQuote(c.text), c.quoted);
}

TEST(Describe, JsonNumbersRoundTrip) {
  EXPECT_EQ(JsonValue::Number(0.1).text(), "0.1");
  EXPECT_EQ(JsonValue::Number(1.0 / 3).text(), "0.33333333333333331");
  EXPECT_EQ(JsonValue::Number(std::uint64_t{18446744073709551615u}).text(), "18446744073709551615");
  EXPECT_EQ(JsonValue::Number(std::numeric_limits<double>::infinity()).kind(), JsonValue::Kind::Null);
}

}  // namespace
}  // namespace brennick::build
