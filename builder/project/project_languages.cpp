#include <algorithm>
#include <cctype>

#include "builder/basics/windows_1252.h"
#include "builder/catalogue/catalogue.h"
#include "builder/project/project_parts.h"
#include "package/settings_fields.h"

namespace brennick::build {

namespace {

using Texts = std::map<int, std::string>;

// A table whose keys are message numbers and whose values are their texts.
void ReadMessages(TableReader& t, Texts& texts) {
  const auto uses = MessageUses();
  for (const std::string& key : t.Keys()) {
    const bool digits = !key.empty() && key.size() <= 4 && std::all_of(key.begin(), key.end(), [](char c) {
      return std::isdigit(static_cast<unsigned char>(c));
    });
    const int number = digits ? std::stoi(key) : -1;
    if (number < 0 || number >= kMessageCount) {
      t.Fail(key, "not a message number (0 to " + std::to_string(kMessageCount - 1) + ")");
    }
    std::string text = *t.Utf8(key);
    t.Text(key);  // refuses what Windows-1252 cannot hold
    const MessageUse& use = uses[static_cast<std::size_t>(number)];
    if (!use.conversions.empty() && PrintfConversions(text) != std::string(use.conversions)) {
      t.Fail(key,
             "needs exactly the conversions " + std::string(use.conversions) + " (" + std::string(use.purpose) + ")");
    }
    texts[number] = std::move(text);
  }
}

struct AddedLanguage {
  std::string name;
  Texts texts;
};

// A language file: name = "...", then [messages] with texts by number.
AddedLanguage ReadLanguageFile(const TableReader& project, const std::string& relative) {
  const std::filesystem::path path = project.file().folder() / relative;
  const std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
  const SourceFile source(relative, folder);
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error))
    project.file().Fail(project.line(), "[languages] add: no such file: \"" + relative + "\"");
  const toml::table table = source.Parse(path);
  TableReader root(source, table, "");
  AddedLanguage language;
  language.name = root.Utf8("name").value_or("");
  if (language.name.empty()) root.FailTable("name: required");
  root.Text("name");
  if (auto messages = root.Table("messages")) {
    ReadMessages(*messages, language.texts);
    messages->Finish();
  }
  root.Finish();
  return language;
}

std::string BuiltInNames() {
  std::string list;
  for (const Catalogue& c : BuiltInCatalogues()) list += (list.empty() ? "" : ", ") + std::string(c.name);
  return list;
}

std::vector<std::string> Strings(TableReader& t, const char* key) {
  std::vector<std::string> strings;
  const toml::node* node = t.Node(key);
  if (node == nullptr) return strings;
  if (!node->is_array()) t.Fail(key, "expected an array of strings");
  for (const toml::node& entry : *node->as_array()) {
    if (!entry.is_string()) t.Fail(key, "expected an array of strings");
    strings.push_back(entry.as_string()->get());
  }
  return strings;
}

}  // namespace

LanguageStrings ReadLanguages(TableReader& root) {
  auto table = root.Table("languages");
  if (!table) return MakeLanguageStrings({LanguageTexts{"English", {}}});
  TableReader& l = *table;

  std::vector<AddedLanguage> added;
  for (const std::string& file : Strings(l, "add")) {
    AddedLanguage language = ReadLanguageFile(l, file);
    const bool taken =
        FindCatalogue(language.name) != nullptr ||
        std::any_of(added.begin(), added.end(), [&](const AddedLanguage& a) { return a.name == language.name; });
    if (taken) l.Fail("add", "\"" + file + "\" adds the language \"" + language.name + "\", which exists already");
    added.push_back(std::move(language));
  }

  std::vector<std::string> use = Strings(l, "use");
  if (!l.Has("use")) {
    use.push_back("English");
    for (const AddedLanguage& a : added) use.push_back(a.name);
  }
  if (use.empty() || use.size() > settings_limits::kMaxLanguages) l.Fail("use", "expected 1 to 200 languages");
  std::vector<LanguageTexts> languages;
  for (const std::string& name : use) {
    if (std::any_of(languages.begin(), languages.end(), [&](const LanguageTexts& x) { return x.name == name; })) {
      l.Fail("use", "\"" + name + "\" is listed twice");
    }
    if (!Utf8ToWindows1252(name)) l.Fail("use", "\"" + name + "\" has a character that Windows-1252 cannot hold");
    LanguageTexts& language = languages.emplace_back(LanguageTexts{name, {}});
    if (const Catalogue* catalogue = FindCatalogue(name)) {
      for (const CatalogueEntry& entry : catalogue->entries) language.texts[entry.number] = std::string(entry.text);
      continue;
    }
    const auto found = std::find_if(added.begin(), added.end(), [&](const AddedLanguage& a) { return a.name == name; });
    if (found == added.end()) {
      l.Fail("use", "no language \"" + name + "\" (built in: " + BuiltInNames() + "; others come with add = [...])");
    }
    language.texts = found->texts;
  }

  for (const std::string& key : l.Keys()) {
    if (key == "use" || key == "add") continue;
    const auto target =
        std::find_if(languages.begin(), languages.end(), [&](const LanguageTexts& x) { return x.name == key; });
    if (target == languages.end()) l.Fail(key, "not a language in use");
    auto overrides = l.Table(key);
    ReadMessages(*overrides, target->texts);
    overrides->Finish();
  }
  l.Finish();
  return MakeLanguageStrings(languages);
}

}  // namespace brennick::build
