#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace brennick {

// The settings record as it is stored in the settings block: every field in
// read order, with the values the setup author chose. The program reads it
// (settings_reader), the builder writes it (settings_writer), and inspect
// prints it; all three walk the fields through VisitSettingsRecord, so the
// order and the widths are written down once.
//
// Texts are 8-bit; blobs (licence and readme texts, pictures, icons) are byte
// strings that may hold UTF-16 text or binary data.

struct FileDeletionEntry {
  std::string Name;
  std::uint8_t ConditionType = 0;
  std::string ConditionValue;
  std::uint8_t Flags = 0;
  bool operator==(const FileDeletionEntry&) const = default;
};

struct AssociationRecord {
  std::uint32_t AssocFlags = 0;
  std::string Extension;
  std::string FileType;
  std::string TypeDescription;
  std::string Verb;
  std::string VerbText;
  std::string Command;
  std::string AssocLanguage;
  std::string DefaultIcon;
  bool operator==(const AssociationRecord&) const = default;
};

struct ShortcutRecord {
  std::string LinkTarget;
  std::string LinkName;
  std::string LinkIcon;
  std::string LinkArguments;
  std::string LinkWorkingDir;
  std::uint8_t OnDesktop = 0;
  std::uint8_t InStartMenu = 0;
  std::uint8_t InStartup = 0;
  std::string LinkExtraFolder;
  std::uint8_t ShowMode = 0;
  std::uint8_t KeepOnUninstall = 0;
  bool ExpandTarget = true;  // not stored: every stored shortcut expands its target
  bool operator==(const ShortcutRecord&) const = default;
};

struct UninstallValue {
  std::string ValuePath;
  std::uint8_t ValueType = 0;
  std::string ValueData;
  bool operator==(const UninstallValue&) const = default;
};

struct ProgramToClose {
  std::string ClassPattern;
  std::string TitlePattern;
  std::string DisplayName;
  std::uint32_t Action = 0;  // stored as one byte
  std::uint8_t PassMask = 0;
  bool operator==(const ProgramToClose&) const = default;
};

// The message table: one row per message number, one text per language.
struct LanguageStrings {
  std::vector<std::string> Names;
  std::vector<std::vector<std::string>> Messages;  // [message][language]
  bool operator==(const LanguageStrings&) const = default;
};

struct SettingsRecord {
  std::uint64_t ProductFlags = 0;
  std::uint32_t ProductFlags2 = 0;
  std::uint8_t RunMode = 0;
  std::string TaskbarText;
  std::string DisplayTitle;
  double TitleSize = 0;
  std::uint32_t ProgressPlacement = 0;
  std::uint16_t MinStageTime = 0;
  std::uint8_t ShortcutMode = 0;
  std::array<std::uint8_t, 24> UninstallerFileTime{};
  std::string Publisher;
  std::string ProductName;
  std::string ProductDescription;
  std::uint8_t Bitness = 0;
  std::uint8_t SharedBase = 0;
  std::string SharedPath;
  std::string ProductStartMenu;
  std::string DisplayVersion;
  std::string DefaultInstallDir;
  std::string ProductRegistry;
  std::string RegistryEntries;
  std::uint32_t BitmapSize = 0;
  std::uint32_t StretchMode = 0;
  std::vector<std::string> LicenseTexts;
  std::vector<std::string> ReadmeTexts;
  std::string UninstallSubdir;
  std::string UninstallerFileName;
  std::string UninstallKeyName;
  std::string InstallDirRegistryValue;
  std::string WindowTitle;
  std::uint8_t SidePictureFrame = 0;
  std::uint32_t TitleColor = 0;
  std::uint8_t TitleShadow = 0;
  std::uint8_t TitlePosition = 0;
  std::string TitleFont;
  std::uint32_t TopColor = 0;
  std::uint32_t BottomColor = 0;
  std::string BackgroundBitmap;  // the bitmap file image; empty: none
  std::int32_t BitmapTPI = 0;     // stored only with a bitmap
  std::uint8_t CopyrightPos = 0;  // 0: the four copyright fields are not stored
  std::uint32_t CopyrightColor = 0;
  double CopyrightSize = 0;
  std::string CopyrightText;
  std::string CopyrightFont;
  std::string MasterProduct;      // stored only with ProductFlags bit 16
  std::string MasterDisplayName;  // stored only with ProductFlags bit 16
  std::string DesktopFolderName;
  std::string DesktopFolderIcon;
  std::string PreInstallBatch;
  std::string PostInstallBatch;
  std::string ExitBatch;
  std::string UninstallBatch1;
  std::string UninstallBatch2;
  std::string UpgradeBatch;
  std::string ReinstallBatch;
  std::array<std::uint8_t, 20> BuildTime{};  // a date-time record the program skips
  std::uint32_t ExcludedSystems = 0;
  std::uint8_t ArchiveFromFile = 0;
  std::uint8_t AdminRequirement = 0;
  std::string RunAfterInstall;
  std::string LaunchAfterInstall;
  std::string DocumentAfterInstall;
  std::string NotifyNewURL;
  std::string NotifyUpgradeURL;
  std::string NotifyDowngradeURL;
  std::string NotifyReinstallURL;
  std::string NotifyURL;
  std::string UpgradeWarnBelow;
  std::string Password;
  std::string MustUninstallBelow;
  std::string FirewallEntries;
  std::uint32_t ExtraDiskSpace = 0;
  // Greeting, language, licence, readme, destination folder, Start-menu
  // folder, progress, summary page.
  std::array<std::uint32_t, 8> PageStyles{};
  std::string UninstallerIcon;  // stored only with ProductFlags bit 2
  std::vector<FileDeletionEntry> FileDeletions;
  std::vector<AssociationRecord> Associations;
  std::vector<ShortcutRecord> Shortcuts;
  std::string RootShortcutTarget;
  std::string RootShortcutName;
  std::vector<UninstallValue> UninstallValues;
  std::vector<ProgramToClose> ProgramsToClose;
  LanguageStrings Languages;
  std::uint32_t EndMarker = 0;

  bool operator==(const SettingsRecord&) const = default;
};

// Product flag bits that decide the record's own layout.
namespace flags {
// ProductFlags bits.
constexpr int kMustUninstallFirst = 0;    // an earlier version below MustUninstallBelow is removed first
constexpr int kUninstaller = 2;           // an uninstaller is written; UninstallerIcon is stored
constexpr int kAskBeforeFontRemoval = 4;  // the uninstaller asks before removing each font
constexpr int kCompressedChunks = 5;      // archive chunks are packed blocks
constexpr int kKeepInstallLog = 6;        // Install.LOG is written even when nothing failed
constexpr int kAskInstallDir = 7;         // the folder page is shown
constexpr int kSingleInstance = 8;        // the named mutex refuses a second copy
constexpr int kUninstallAutomatic = 9;    // the uninstaller asks nothing and shows no end message
constexpr int kDeleteInstallDir = 10;     // the uninstaller deletes the installation folder with its contents
constexpr int kReplaceLockedFiles = 11;   // restart replacement also for files that did not exist
constexpr int kPathVariable = 12;         // the installation folder is added to PATH (and removed again)
constexpr int kRestartRequired = 14;      // a replacement at restart is pending
constexpr int kKeepBackgroundBitmap = 15;  // the uninstaller shows the background bitmap too
constexpr int kMasterProduct = 16;        // MasterProduct and MasterDisplayName are stored
constexpr int kAskBeforeSharedRemoval = 17;  // the uninstaller asks before deleting an unused shared file
constexpr int kVerifyWrittenFiles = 18;   // written files are read back and compared
constexpr int kOverwriteReadOnly = 19;    // attributes of a file being replaced are cleared
constexpr int kLogFiles = 20;             // one log line per installed file
constexpr int kNoFinishMessage = 22;      // no success message, no summary page
constexpr int kNoPreviousInstallQuestion = 28;
constexpr int kUninstallBatch1Hidden = 26;
constexpr int kUninstallBatch2Hidden = 27;
constexpr int kNoBackgroundWindow = 29;
constexpr int kConfirmInstallDir = 31;
constexpr int kVerifyChecksums = 32;      // the stub and every archive chunk are checked
constexpr int kAskStartMenu = 34;
constexpr int kErrorsInAutomaticMode = 35;
constexpr int kCompareVersions = 36;
constexpr int kRefuseNetworkDir = 37;
constexpr int kTitleOption = 40;
constexpr int kAskRestartInAutomaticMode = 41;
constexpr int kNoGreeting = 43;
constexpr int kConfirmUpgrade = 44;
constexpr int kUninstallRestartRequired = 45;  // the uninstaller's deletions wait for a restart
constexpr int kWriteReadmeFiles = 46;     // the readme texts are written into the installation folder
constexpr int kWriteLicenseFiles = 47;    // the licence texts are written into the installation folder
constexpr int kHideFileNames = 49;
constexpr int kGrantInstallDirRights = 50;
constexpr int kShowProgress = 51;
constexpr int kRestartMarker = 53;
constexpr int kKeepInstallLogAtUninstall = 54;
constexpr int kRefuseRemovableDir = 55;
constexpr int kNoUninstallerOnRemovable = 56;
constexpr int kOfferViewLog = 57;
constexpr int kBindExecutables = 58;
constexpr int kGrantSharedDirRights = 62;
// ProductFlags2 bits.
constexpr int kReinstallBatchSameVersionOnly = 0;
constexpr int kRestorePoint = 1;
constexpr int kButtonPictures = 10;
}  // namespace flags

inline bool HasFlag(std::uint64_t flags, int bit) { return ((flags >> bit) & 1u) != 0; }
inline void SetFlag(std::uint64_t& flags, int bit) { flags |= std::uint64_t{1} << bit; }
inline void ClearFlag(std::uint64_t& flags, int bit) { flags &= ~(std::uint64_t{1} << bit); }
inline void ClearFlag(std::uint32_t& flags, int bit) { flags &= ~(std::uint32_t{1} << bit); }

}  // namespace brennick
