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

// The bits of the two flag words. Each word has its own type of bit, so that
// a bit of one word cannot be tested, set or cleared on the other.
namespace flags {
// Bits of ProductFlags.
enum ProductBit : int {
  kMustUninstallFirst = 0,       // an earlier version below MustUninstallBelow is removed first
  kUninstaller = 2,              // an uninstaller is written; UninstallerIcon is stored
  kAskBeforeFontRemoval = 4,     // the uninstaller asks before removing each font
  kCompressedChunks = 5,         // archive chunks are packed blocks
  kKeepInstallLog = 6,           // Install.LOG is written even when nothing failed
  kAskInstallDir = 7,            // the folder page is shown
  kSingleInstance = 8,           // the named mutex refuses a second copy
  kUninstallAutomatic = 9,       // the uninstaller asks nothing and shows no end message
  kDeleteInstallDir = 10,        // the uninstaller deletes the installation folder with its contents
  kReplaceLockedFiles = 11,      // restart replacement also for files that did not exist
  kPathVariable = 12,            // the installation folder is added to PATH (and removed again)
  kRestartRequired = 14,         // a replacement at restart is pending
  kKeepBackgroundBitmap = 15,    // the uninstaller shows the background bitmap too
  kMasterProduct = 16,           // MasterProduct and MasterDisplayName are stored
  kAskBeforeSharedRemoval = 17,  // the uninstaller asks before deleting an unused shared file
  kVerifyWrittenFiles = 18,      // written files are read back and compared
  kOverwriteReadOnly = 19,       // attributes of a file being replaced are cleared
  kLogFiles = 20,                // one log line per installed file
  kNoProgressCancel = 21,        // the progress page's Cancel button is disabled
  kNoFinishMessage = 22,         // no success message, no summary page
  kHidePreInstallBatch = 23,
  kHidePostInstallBatch = 24,
  kHideExitBatch = 25,
  kUninstallBatch1Hidden = 26,
  kUninstallBatch2Hidden = 27,
  kNoPreviousInstallQuestion = 28,
  kNoBackgroundWindow = 29,
  kConfirmInstallDir = 31,
  kVerifyChecksums = 32,  // the stub and every archive chunk are checked
  kAskStartMenu = 34,
  kErrorsInAutomaticMode = 35,
  kCompareVersions = 36,
  kRefuseNetworkDir = 37,
  kTitleOption = 40,
  kAskRestartInAutomaticMode = 41,
  kNoGreeting = 43,
  kConfirmUpgrade = 44,
  kUninstallRestartRequired = 45,  // the uninstaller's deletions wait for a restart
  kWriteReadmeFiles = 46,          // the readme texts are written into the installation folder
  kWriteLicenseFiles = 47,         // the licence texts are written into the installation folder
  kHideFileNames = 49,
  kGrantInstallDirRights = 50,
  kShowProgress = 51,
  kPageIcons = 52,  // the wizard pages carry the program's icons
  kRestartMarker = 53,
  kKeepInstallLogAtUninstall = 54,
  kRefuseRemovableDir = 55,
  kNoUninstallerOnRemovable = 56,
  kOfferViewLog = 57,
  kBindExecutables = 58,
  kHideUpgradeBatch = 60,
  kHideReinstallBatch = 61,
  kGrantSharedDirRights = 62,
};

// Bits of ProductFlags2.
enum Product2Bit : int {
  kReinstallBatchSameVersionOnly = 0,
  kRestorePoint = 1,
  kLaunchChecked = 2,        // the summary page's choices start ticked: launch the application,
  kRunChecked = 3,           // ... run the program,
  kDocumentChecked = 4,      // ... open the document
  kStrippedUninstaller = 5,  // the uninstaller is the program without its package
  kLogPreInstallBatch = 6,
  kLogPostInstallBatch = 7,
  kLogUpgradeBatch = 8,
  kLogReinstallBatch = 9,
  kButtonPictures = 10,  // pictures on the wizard's buttons, where the system draws them
};
}  // namespace flags

inline bool HasFlag(std::uint64_t word, flags::ProductBit bit) { return ((word >> bit) & 1u) != 0; }
inline bool HasFlag(std::uint32_t word, flags::Product2Bit bit) { return ((word >> bit) & 1u) != 0; }
inline void SetFlag(std::uint64_t& word, flags::ProductBit bit) { word |= std::uint64_t{1} << bit; }
inline void SetFlag(std::uint32_t& word, flags::Product2Bit bit) { word |= std::uint32_t{1} << bit; }
inline void ClearFlag(std::uint64_t& word, flags::ProductBit bit) { word &= ~(std::uint64_t{1} << bit); }
inline void ClearFlag(std::uint32_t& word, flags::Product2Bit bit) { word &= ~(std::uint32_t{1} << bit); }
// A bit of the other word does not compile.
bool HasFlag(std::uint32_t word, flags::ProductBit bit) = delete;
bool HasFlag(std::uint64_t word, flags::Product2Bit bit) = delete;
void SetFlag(std::uint32_t& word, flags::ProductBit bit) = delete;
void SetFlag(std::uint64_t& word, flags::Product2Bit bit) = delete;
void ClearFlag(std::uint32_t& word, flags::ProductBit bit) = delete;
void ClearFlag(std::uint64_t& word, flags::Product2Bit bit) = delete;

}  // namespace brennick
