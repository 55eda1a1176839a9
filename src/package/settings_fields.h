#pragma once

// The order and widths of the settings record, written down once. Readers,
// writers and describers of the record are "field walkers": classes with a
// static `kMode` and one member per stored type, which VisitSettingsRecord
// calls field by field in stored order:
//
//   U8/U16/U32/I32/U64/F64(value, name)   fixed-width numbers
//   Str(text, name)                        zero-terminated 8-bit text
//   Blob(bytes, name)                      u32 length, then the bytes
//   Count(u32, name), CountU8(u8, name)    the stored length of list `name`
//   Bytes(array, name)                     a fixed number of raw bytes
//   Limit(ok, code, name)                  a bound: a reader ends with the
//                                          corrupt-installer code, a writer
//                                          refuses to write
//   AfterField7()                          the point where the program creates
//                                          its background window and checks
//                                          the settings checksum
//   BeginList(name) / Item() / EndList()   list structure, for describers
//
// A walker in Reading mode starts from an empty record and fills it; the other
// modes take the record as it is.

#include <string>
#include <string_view>
#include <vector>

#include "package/corrupt_installer.h"
#include "package/package_layout.h"
#include "package/settings_record.h"

namespace brennick {

enum class WalkMode { Reading, Writing, Describing };

namespace settings_limits {
constexpr std::uint16_t kMinStageTimeBelow = 10000;
constexpr std::uint32_t kMaxBitmapSize = 100;
constexpr std::uint32_t kMaxPageTexts = 20;        // licence and readme pages
constexpr std::uint32_t kMaxRecords = 1000;        // associations, shortcuts, uninstall values
constexpr std::size_t kMaxFileDeletions = 1001;    // checked before an entry is added
constexpr std::size_t kMaxProgramsToClose = 1000;  // checked after an entry is added
constexpr unsigned kMaxLanguages = 200;
constexpr std::uint32_t kMaxMessages = 10000;
}  // namespace settings_limits

namespace detail {

inline bool CountInRange(std::uint32_t count, std::uint32_t max) {
  return static_cast<std::int32_t>(count) >= 0 && count <= max;
}

// u32 count, then that many entries.
template <class Walker, class T, class Entry>
void CountedList(Walker& w, const char* name, std::vector<T>& items, std::uint32_t max, int code, Entry entry) {
  std::uint32_t count = static_cast<std::uint32_t>(items.size());
  w.Count(count, name);
  w.Limit(CountInRange(count, max), code, name);
  if constexpr (Walker::kMode == WalkMode::Reading) items.resize(count);
  w.BeginList(name);
  for (T& item : items) {
    w.Item();
    entry(item);
  }
  w.EndList();
}

// Entries until a first string equal to the terminator. `limitBeforeAdd`
// tells whether the bound is checked against the entries already present
// (so max + 1 entries pass) or after the entry is added.
template <class Walker, class T, class Rest>
void TerminatedList(Walker& w, const char* name, std::vector<T>& items, std::string_view terminator,
                    std::string T::*first, std::size_t max, bool limitBeforeAdd, int code, Rest rest) {
  w.BeginList(name);
  if constexpr (Walker::kMode == WalkMode::Reading) {
    for (;;) {
      std::string head;
      w.Str(head, nullptr);
      if (head == terminator) break;
      if (limitBeforeAdd) w.Limit(items.size() <= max, code, name);
      T& item = items.emplace_back();
      item.*first = std::move(head);
      rest(item);
      if (!limitBeforeAdd) w.Limit(items.size() <= max, code, name);
    }
  } else {
    w.Limit(items.size() <= (limitBeforeAdd ? max + 1 : max), code, name);
    for (T& item : items) {
      w.Limit(item.*first != terminator, code, name);  // would end the list early
      w.Item();
      w.Str(item.*first, "first");
      rest(item);
    }
    std::string end(terminator);
    if constexpr (Walker::kMode == WalkMode::Writing) w.Str(end, nullptr);
  }
  w.EndList();
}

}  // namespace detail

template <class Walker>
void VisitSettingsRecord(Walker& w, SettingsRecord& r) {
  using namespace settings_limits;
  w.U64(r.ProductFlags, "ProductFlags");
  w.U32(r.ProductFlags2, "ProductFlags2");
  w.U8(r.RunMode, "RunMode");
  w.Str(r.TaskbarText, "TaskbarText");
  w.Str(r.DisplayTitle, "DisplayTitle");
  w.F64(r.TitleSize, "TitleSize");
  w.U32(r.ProgressPlacement, "ProgressPlacement");
  w.AfterField7();
  w.U16(r.MinStageTime, "MinStageTime");
  w.Limit(r.MinStageTime < kMinStageTimeBelow, corrupt::kMinStageTime, "MinStageTime");
  w.U8(r.ShortcutMode, "ShortcutMode");
  w.Bytes(r.UninstallerFileTime, "UninstallerFileTime");
  w.Str(r.Publisher, "Publisher");
  w.Str(r.ProductName, "ProductName");
  w.Str(r.ProductDescription, "ProductDescription");
  w.U8(r.Bitness, "Bitness");
  w.U8(r.SharedBase, "SharedBase");
  w.Str(r.SharedPath, "SharedPath");
  w.Str(r.ProductStartMenu, "ProductStartMenu");
  w.Str(r.DisplayVersion, "DisplayVersion");
  w.Str(r.DefaultInstallDir, "DefaultInstallDir");
  w.Str(r.ProductRegistry, "ProductRegistry");
  w.Str(r.RegistryEntries, "RegistryEntries");
  w.U32(r.BitmapSize, "BitmapSize");
  w.Limit(r.BitmapSize <= kMaxBitmapSize, corrupt::kBitmapSize, "BitmapSize");
  w.U32(r.StretchMode, "StretchMode");
  detail::CountedList(w, "LicenseTexts", r.LicenseTexts, kMaxPageTexts, corrupt::kLicenseCount,
                      [&](std::string& text) { w.Blob(text, "text"); });
  detail::CountedList(w, "ReadmeTexts", r.ReadmeTexts, kMaxPageTexts, corrupt::kReadmeCount,
                      [&](std::string& text) { w.Blob(text, "text"); });
  w.Str(r.UninstallSubdir, "UninstallSubdir");
  w.Str(r.UninstallerFileName, "UninstallerFileName");
  w.Str(r.UninstallKeyName, "UninstallKeyName");
  w.Str(r.InstallDirRegistryValue, "InstallDirRegistryValue");
  w.Str(r.WindowTitle, "WindowTitle");
  w.U8(r.SidePictureFrame, "SidePictureFrame");
  w.U32(r.TitleColor, "TitleColor");
  w.U8(r.TitleShadow, "TitleShadow");
  w.U8(r.TitlePosition, "TitlePosition");
  w.Str(r.TitleFont, "TitleFont");
  w.U32(r.TopColor, "TopColor");
  w.U32(r.BottomColor, "BottomColor");
  w.Blob(r.BackgroundBitmap, "BackgroundBitmap");
  if (!r.BackgroundBitmap.empty()) w.I32(r.BitmapTPI, "BitmapTPI");
  w.U8(r.CopyrightPos, "CopyrightPos");
  if (r.CopyrightPos != 0) {
    w.U32(r.CopyrightColor, "CopyrightColor");
    w.F64(r.CopyrightSize, "CopyrightSize");
    w.Str(r.CopyrightText, "CopyrightText");
    w.Str(r.CopyrightFont, "CopyrightFont");
  }
  if (HasFlag(r.ProductFlags, flags::kMasterProduct)) {
    w.Str(r.MasterProduct, "MasterProduct");
    w.Str(r.MasterDisplayName, "MasterDisplayName");
  }
  w.Str(r.DesktopFolderName, "DesktopFolderName");
  w.Blob(r.DesktopFolderIcon, "DesktopFolderIcon");
  w.Str(r.PreInstallBatch, "PreInstallBatch");
  w.Str(r.PostInstallBatch, "PostInstallBatch");
  w.Str(r.ExitBatch, "ExitBatch");
  w.Str(r.UninstallBatch1, "UninstallBatch1");
  w.Str(r.UninstallBatch2, "UninstallBatch2");
  w.Str(r.UpgradeBatch, "UpgradeBatch");
  w.Str(r.ReinstallBatch, "ReinstallBatch");
  w.Bytes(r.BuildTime, "BuildTime");
  w.U32(r.ExcludedSystems, "ExcludedSystems");
  w.U8(r.ArchiveFromFile, "ArchiveFromFile");
  w.U8(r.AdminRequirement, "AdminRequirement");
  w.Str(r.RunAfterInstall, "RunAfterInstall");
  w.Str(r.LaunchAfterInstall, "LaunchAfterInstall");
  w.Str(r.DocumentAfterInstall, "DocumentAfterInstall");
  w.Str(r.NotifyNewURL, "NotifyNewURL");
  w.Str(r.NotifyUpgradeURL, "NotifyUpgradeURL");
  w.Str(r.NotifyDowngradeURL, "NotifyDowngradeURL");
  w.Str(r.NotifyReinstallURL, "NotifyReinstallURL");
  w.Str(r.NotifyURL, "NotifyURL");
  w.Str(r.UpgradeWarnBelow, "UpgradeWarnBelow");
  w.Str(r.Password, "Password");
  w.Str(r.MustUninstallBelow, "MustUninstallBelow");
  w.Str(r.FirewallEntries, "FirewallEntries");
  w.U32(r.ExtraDiskSpace, "ExtraDiskSpace");
  w.BeginList("PageStyles");
  for (std::uint32_t& style : r.PageStyles) {
    w.Item();
    w.U32(style, "style");
  }
  w.EndList();
  if (HasFlag(r.ProductFlags, flags::kUninstaller)) w.Blob(r.UninstallerIcon, "UninstallerIcon");

  detail::TerminatedList(w, "FileDeletions", r.FileDeletions, package::kFileDeletionEnd, &FileDeletionEntry::Name,
                         kMaxFileDeletions - 1, true, corrupt::kFileDeletionCount, [&](FileDeletionEntry& e) {
                           w.U8(e.ConditionType, "ConditionType");
                           w.Str(e.ConditionValue, "ConditionValue");
                           w.U8(e.Flags, "Flags");
                         });
  detail::CountedList(w, "Associations", r.Associations, kMaxRecords, corrupt::kAssociationCount,
                      [&](AssociationRecord& a) {
                        w.U32(a.AssocFlags, "AssocFlags");
                        w.Str(a.Extension, "Extension");
                        w.Str(a.FileType, "FileType");
                        w.Str(a.TypeDescription, "TypeDescription");
                        w.Str(a.Verb, "Verb");
                        w.Str(a.VerbText, "VerbText");
                        w.Str(a.Command, "Command");
                        w.Str(a.AssocLanguage, "AssocLanguage");
                        w.Str(a.DefaultIcon, "DefaultIcon");
                      });
  detail::CountedList(w, "Shortcuts", r.Shortcuts, kMaxRecords, corrupt::kShortcutCount, [&](ShortcutRecord& s) {
    w.Str(s.LinkTarget, "LinkTarget");
    w.Str(s.LinkName, "LinkName");
    w.Str(s.LinkIcon, "LinkIcon");
    w.Str(s.LinkArguments, "LinkArguments");
    w.Str(s.LinkWorkingDir, "LinkWorkingDir");
    w.U8(s.OnDesktop, "OnDesktop");
    w.U8(s.InStartMenu, "InStartMenu");
    w.U8(s.InStartup, "InStartup");
    w.Str(s.LinkExtraFolder, "LinkExtraFolder");
    w.U8(s.ShowMode, "ShowMode");
    w.U8(s.KeepOnUninstall, "KeepOnUninstall");
  });
  w.Str(r.RootShortcutTarget, "RootShortcutTarget");
  w.Str(r.RootShortcutName, "RootShortcutName");
  detail::CountedList(w, "UninstallValues", r.UninstallValues, kMaxRecords, corrupt::kUninstallValueCount,
                      [&](UninstallValue& v) {
                        w.Str(v.ValuePath, "ValuePath");
                        w.U8(v.ValueType, "ValueType");
                        w.Str(v.ValueData, "ValueData");
                      });
  detail::TerminatedList(w, "ProgramsToClose", r.ProgramsToClose, package::kProgramsToCloseEnd,
                         &ProgramToClose::ClassPattern, kMaxProgramsToClose, false, corrupt::kProgramsToCloseCount,
                         [&](ProgramToClose& p) {
                           w.Str(p.TitlePattern, "TitlePattern");
                           w.Str(p.DisplayName, "DisplayName");
                           std::uint8_t action = static_cast<std::uint8_t>(p.Action);
                           w.U8(action, "Action");
                           p.Action = action;
                           w.U8(p.PassMask, "PassMask");
                         });

  // The language strings: names, then every message in every language.
  LanguageStrings& l = r.Languages;
  std::uint8_t languageCount = static_cast<std::uint8_t>(l.Names.size());
  std::uint32_t messageCount = static_cast<std::uint32_t>(l.Messages.size());
  w.CountU8(languageCount, "LanguageNames");
  w.Limit(languageCount >= 1 && languageCount <= kMaxLanguages && l.Names.size() <= kMaxLanguages,
          corrupt::kLanguageCount, "LanguageNames");
  w.Count(messageCount, "Messages");
  w.Limit(messageCount >= 1 && messageCount <= kMaxMessages, corrupt::kMessageCount, "Messages");
  if constexpr (Walker::kMode == WalkMode::Reading) {
    l.Names.resize(languageCount);
    l.Messages.assign(messageCount, std::vector<std::string>(languageCount));
  } else {
    for (const auto& row : l.Messages) w.Limit(row.size() == l.Names.size(), corrupt::kLanguageCount, "Messages");
  }
  w.BeginList("LanguageNames");
  for (std::string& name : l.Names) {
    w.Item();
    w.Str(name, "name");
  }
  w.EndList();
  w.BeginList("Messages");
  for (auto& row : l.Messages) {
    w.Item();
    w.BeginList("texts");
    for (std::string& text : row) {
      w.Item();
      w.Str(text, "text");
    }
    w.EndList();
  }
  w.EndList();

  w.U32(r.EndMarker, "EndMarker");
  w.Limit(r.EndMarker == package::kSettingsEndMarker, corrupt::kEndMarker, "EndMarker");
}

}  // namespace brennick
