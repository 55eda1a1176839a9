#include "foundation/win/system_programs.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <optional>

#include "foundation/win/hidden_batch.h"
#include "foundation/win/win.h"

namespace brennick::win {
namespace {

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

// Sets %ComSpec% for one test and puts the old value back.
class ComSpecScope {
 public:
  explicit ComSpecScope(const wchar_t* value) {
    wchar_t old[MAX_PATH + 1] = {};
    if (::GetEnvironmentVariableW(L"ComSpec", old, MAX_PATH + 1) > 0) old_ = old;
    ::SetEnvironmentVariableW(L"ComSpec", value);
  }
  ~ComSpecScope() { ::SetEnvironmentVariableW(L"ComSpec", old_ ? old_->c_str() : nullptr); }

 private:
  std::optional<std::wstring> old_;
};

TEST(SystemPrograms, AreNamedByTheirFullPaths) {
  EXPECT_TRUE(Lower(SystemProgram(L"regsvr32.exe")).ends_with(L":\\windows\\system32\\regsvr32.exe"));
  EXPECT_TRUE(Lower(WindowsProgram(L"notepad.exe")).ends_with(L":\\windows\\notepad.exe"));
}

TEST(SystemPrograms, CommandInterpreterIsNeverABareName) {
  const std::wstring system = SystemProgram(L"cmd.exe");
  struct Case {
    const wchar_t* comSpec;  // nullptr: not set
    std::wstring expected;
  };
  const Case cases[] = {
      {nullptr, system},
      {L"cmd.exe", system},                            // searched for: never
      {L"tools\\cmd.exe", system},                     // relative: never
      {L"D:\\Shell\\cmd.exe", L"D:\\Shell\\cmd.exe"},  // the system's own choice
      {L"\\\\server\\share\\cmd.exe", L"\\\\server\\share\\cmd.exe"},
  };
  for (const Case& c : cases) {
    const ComSpecScope scope(c.comSpec);
    EXPECT_EQ(CommandInterpreter(), c.expected) << (c.comSpec ? c.comSpec : L"(unset)");
  }
}

}  // namespace
}  // namespace brennick::win
