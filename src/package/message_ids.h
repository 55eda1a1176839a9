#pragma once

namespace brennick {

// The language strings by meaning: each is the number of a message in every
// language of the package's message table. The numbers are stored (in the
// package and in the uninstall data file) and never change.
enum class MessageId : int {
  kInstallerTitle = 0,                 // installer title: background window and page headings
  kGreetingText = 1,                   // greeting page text
  kEarlierInstallTitle = 2,            // title of the question about an earlier installation
  kEarlierInstallFound = 3,            // earlier installation found (versions not compared)
  kSameVersionInstalled = 4,           // the same version is installed
  kOlderVersionInstalled = 5,          // an older version is installed
  kNewerVersionInstalled = 6,          // a newer version is installed
  kInstallOverEarlier = 7,             // after the earlier installation's folder: install over it?
  kStatusPreparing = 8,                // status: preparing, before the archive is read
  kMustUninstallFirst = 9,             // an earlier version must be uninstalled first
  kUninstallFailed = 10,               // uninstall finished with failures; %s: the failure text
  kFolderPrompt = 11,                  // destination folder page prompt and folder browser prompt
  kMasterProductMissing = 12,          // master product missing; %s: its display name
  kDamagedInstaller = 13,              // damaged installer; %d: the corrupt-installer code
  kFolderNotValid = 14,                // the chosen folder is not a valid path
  kUninstallSucceeded = 15,            // uninstall finished successfully
  kDriveMissing = 16,                  // the chosen drive does not exist; %c: the drive letter
  kDriveRootRefused = 17,              // a drive root cannot be the installation folder
  kProgramFilesRefused = 18,           // the Program Files folder itself was chosen; %s: that folder
  kNotEnoughSpace = 19,                // not enough disk space; %s required size, %c drive letter, %s free space
  kQuestionTitle = 20,                 // title of yes/no questions
  kErrorTitle = 21,                    // title of error messages
  kConfirmExistingFolder = 22,         // confirm installing into an existing folder; %s: the folder
  kConfirmCreateFolder = 23,           // confirm creating the folder; %s: the folder
  kFolderPageTitle = 24,               // destination folder page title and title of the folder confirmation
  kFolderNotCreated = 25,              // a folder could not be created; the folder and the reason follow
  kUnused26 = 26,                      // unused
  kUnused27 = 27,                      // unused
  kCancelQuestion = 28,                // question when Cancel is clicked on the progress page
  kStatusReadingArchive = 29,          // status: reading the archive
  kReserved30 = 30,                    // reserved; carried to the uninstaller
  kCouldNotWrite = 31,                 // a file, shortcut or uninstall data file could not be written; the path follows
  kStatusShortcuts = 32,               // status: creating shortcuts
  kUninstallerShortcutName = 33,       // name of the uninstaller shortcut
  kUninstallSuccessTitle = 34,         // title of the uninstall success message
  kSharedFileTitle = 35,               // title of the shared-file question
  kStatusFinishing = 36,               // status: finishing the installation
  kRestartAfterInstall = 37,           // restart question after installing
  kDefaultShortcutName = 38,           // default shortcut name; %s: the target's file name
  kProgressHeading = 39,               // progress page heading
  kFailuresViewLog = 40,               // installation finished with failures, view the log?; %s: the failure text
  kFailureTitle = 41,                  // title of the failure question
  kInstallSucceeded = 42,              // installation finished: success message and summary page text
  kSuccessTitle = 43,                  // title of the success message, summary page title, last line of the log
  kLicenseTitle = 44,                  // licence page title
  kLicenseAccept = 45,                 // licence accept button
  kLicenseDecline = 46,                // licence decline button
  kLicensePrompt = 47,                 // licence page prompt
  kNextButton = 48,                    // Next / OK button
  kCancelButton = 49,                  // Cancel button
  kReadmeTitle = 50,                   // readme page title
  kReadmePrompt = 51,                  // readme page prompt
  kBrowseButton = 52,                  // Browse button
  kConfirmUninstall = 53,              // uninstall confirmation question
  kInstalling = 54,                    // installing: progress caption, status and hidden file names
  kUninstallerCaption = 55,            // uninstaller caption
  kRemoveFontQuestion = 56,            // question before removing a font; %s: the font name
  kFontQuestionTitle = 57,             // title of the font question
  kCouldNotDelete = 58,                // a file could not be deleted; the path follows
  kRemoveSharedFileQuestion = 59,      // question before deleting an unused shared file; %s: the path
  kUnused60 = 60,                      // unused
  kWindowsVersionRefused = 61,         // refused on this Windows version; %s: the version's name
  kStatusCheckingArchive = 62,         // status: checking the archive
  kLicensePreface = 63,                // licence text shown before the project's licence pages (empty: none)
  kReadmePreface = 64,                 // readme text shown before the project's readme pages (empty: none)
  kInstallerCaption = 65,              // installer caption: pages in banner style, message boxes, cancel message
  kNetworkFolderRefused = 66,          // a network folder was chosen but is not allowed
  kStatusRemovingFonts = 67,           // uninstall status: removing fonts
  kStatusRemovingFiles = 68,           // uninstall status: removing files
  kStatusRemovingRegistry = 69,        // uninstall status: removing registry entries
  kStatusRemovingAssociations = 70,    // uninstall status: removing file associations
  kUninstallProgressHeading = 71,      // uninstall progress heading
  kConfirmUpgrade = 72,                // confirm an upgrade over an earlier version
  kFolderNotWritable = 73,             // the folder cannot be written to; %s: the folder
  kRestartAfterUninstall = 74,         // restart question after uninstalling
  kPasswordCaption = 75,               // password page caption
  kPasswordPrompt = 76,                // password page prompt
  kAdministratorRequired = 77,         // administrator rights are required
  kContinueWithoutAdministrator = 78,  // continue without administrator rights?
  kYesButton = 79,                     // Yes button
  kNoButton = 80,                      // No button
  kWrongBitness = 81,                  // wrong Windows bitness; %d: 32 or 64
  kLanguagePrompt = 82,                // language page prompt
  kSummaryRun = 83,                    // summary choice: run the program
  kSummaryLaunch = 84,                 // summary choice: launch the application
  kSummaryViewLog = 85,                // summary choice: view the install log
  kInstallLogShortcutName = 86,        // name of the install log shortcut
  kSummaryDocument = 87,               // summary choice: open the document
  kStartMenuPrompt = 88,               // Start-menu page prompt and folder browser prompt
  kStartMenuTitle = 89,                // Start-menu page title
  kInstallButton = 90,                 // Install button: the last page before installing
  kAnotherInstallerRunning = 91,       // another installer is running
  kRequiredSpaceLabel = 92,            // label of the required disk space
  kAvailableSpaceLabel = 93,           // label of the available disk space
  kLanguageCaption = 94,               // language page caption and heading
  kSummaryButton = 95,                 // summary page button
  kDriveNotWritable = 96,              // the drive is read-only or removable; %c: the drive letter
  kStatusRestorePoint = 97,            // status: creating a restore point
  kInstallCancelled = 98,              // the installation was cancelled
  kCloseProgramFirst = 99,             // a program must be closed first; %s: its name
  kRetryButton = 100,                  // Retry button
  kUninstallCancelled = 101,           // the uninstallation was cancelled
  kWrongPassword = 102,                // wrong password
  kGreetingBannerTitle = 103,          // greeting page title in banner style
  kMustUninstallButton = 104,          // Uninstall button of the must-uninstall page
};

}  // namespace brennick
