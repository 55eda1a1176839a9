#include "builder/basics/flag_names.h"

#include <array>

namespace brennick::build {

namespace {

constexpr FlagWord P = FlagWord::Product;
constexpr FlagWord P2 = FlagWord::Product2;

constexpr std::array kFlags = {
    FlagName{P, 0, "must_uninstall_older",
             "an earlier installation below the must-uninstall version is removed before installing"},
    FlagName{P, 1, "uninstall_shortcut_start_menu", "put a shortcut to the uninstaller in the Start-menu folder"},
    FlagName{P, 2, "uninstaller", "write and register an uninstaller (shared path, uninstaller name and icon apply)"},
    FlagName{P, 4, "ask_remove_fonts", "the uninstaller asks before removing each font"},
    FlagName{P, 5, "compress_archive", "archive chunks are packed blocks"},
    FlagName{P, 6, "keep_install_log", "always write Install.LOG, not only when something failed"},
    FlagName{P, 7, "ask_install_dir", "show the destination folder page"},
    FlagName{P, 8, "single_instance", "refuse to run while another installer of this kind runs"},
    FlagName{P, 9, "automatic_uninstall", "the uninstaller runs without questions"},
    FlagName{P, 10, "delete_install_dir", "the uninstaller deletes the installation folder with everything in it"},
    FlagName{P, 11, "replace_locked_files", "a locked file is replaced at restart even when it did not exist before"},
    FlagName{P, 12, "add_to_path", "add the installation folder to PATH; the uninstaller takes it out again"},
    FlagName{P, 14, "restart_required", "ask for a restart at the end (also set while installing)"},
    FlagName{P, 15, "keep_background_bitmap",
             "save the background bitmap for the uninstaller, which then shows it too"},
    FlagName{P, 16, "master_product", "the product extends a master product that must be installed"},
    FlagName{P, 17, "ask_remove_shared_files", "the uninstaller asks before deleting a shared file no longer used"},
    FlagName{P, 18, "verify_written_files", "read every written file back and compare it"},
    FlagName{P, 19, "overwrite_read_only", "clear read-only, hidden and system attributes of a file being replaced"},
    FlagName{P, 20, "log_files_and_shortcuts", "write a log line for every installed file and shortcut"},
    FlagName{P, 21, "no_cancel", "the Cancel button of the progress page is disabled"},
    FlagName{P, 22, "no_finish_message", "no success message and no summary page at the end"},
    FlagName{P, 23, "hide_pre_install_batch", "run the pre-installation batch without a window"},
    FlagName{P, 24, "hide_post_install_batch", "run the post-installation batch without a window"},
    FlagName{P, 25, "hide_exit_batch", "run the installation-exit batch without a window"},
    FlagName{P, 26, "hide_uninstall_batch_before", "run the uninstaller's first batch without a window"},
    FlagName{P, 27, "hide_uninstall_batch_after", "run the uninstaller's last batch without a window"},
    FlagName{P, 28, "no_previous_install_question", "do not ask before installing over an earlier installation"},
    FlagName{P, 29, "no_background_window", "show no full-screen background window"},
    FlagName{P, 31, "confirm_install_dir", "ask the user to confirm the chosen folder"},
    FlagName{P, 32, "verify_checksums", "the program checks the stub and every archive chunk against its checksum"},
    FlagName{P, 33, "uninstall_shortcut_desktop", "put a shortcut to the uninstaller on the desktop"},
    FlagName{P, 34, "ask_start_menu", "show the Start-menu folder page"},
    FlagName{P, 35, "errors_in_automatic_mode", "show error messages in automatic mode too"},
    FlagName{P, 36, "compare_versions",
             "compare with the installed version: upgrade, reinstall or downgrade questions and batches"},
    FlagName{P, 37, "refuse_network_dir", "refuse an installation folder on a network drive"},
    FlagName{P, 38, "uninstall_shortcut_in_uninstall_dir", "put a shortcut to the uninstaller in its own folder"},
    FlagName{P, 40, "maximize_background", "maximise the background window instead of covering the work area"},
    FlagName{P, 41, "ask_restart_in_automatic_mode", "ask before restarting even in automatic mode"},
    FlagName{P, 43, "no_greeting", "skip the greeting page"},
    FlagName{P, 44, "confirm_upgrade",
             "ask before installing over an earlier version (only below the upgrade-warning version, when one is set)"},
    FlagName{P, 45, "restart_after_uninstall", "restart after uninstalling (also set while uninstalling)"},
    FlagName{P, 46, "write_readme_files", "write the readme texts into the installation folder"},
    FlagName{P, 47, "write_license_files", "write the licence texts into the installation folder"},
    FlagName{P, 49, "hide_file_names", "show a general status text instead of each file's path"},
    FlagName{P, 50, "grant_install_dir_rights", "give all users full access to the installation folder"},
    FlagName{P, 51, "show_progress", "show the progress page"},
    FlagName{P, 52, "dialog_icons", "give the wizard pages the program's icons"},
    FlagName{P, 53, "restart_marker", "leave reboot.dat in the installation folder until the next restart"},
    FlagName{P, 54, "keep_install_log_on_uninstall", "the uninstaller leaves Install.LOG in place"},
    FlagName{P, 55, "refuse_removable_dir", "refuse an installation folder on a removable disk or CD drive"},
    FlagName{P, 56, "no_uninstaller_on_removable", "no uninstaller when installing onto removable media"},
    FlagName{P, 57, "offer_view_log", "offer to show the install log at the end (needs keep_install_log)"},
    FlagName{P, 58, "bind_executables", "bind the imports of every installed .exe file"},
    FlagName{P, 59, "install_log_shortcut", "put a shortcut to the install log in the Start-menu folder"},
    FlagName{P, 60, "hide_upgrade_batch", "run the upgrade batch without a window"},
    FlagName{P, 61, "hide_reinstall_batch", "run the reinstall batch without a window"},
    FlagName{P, 62, "grant_shared_dir_rights", "give all users full access to the shared folder"},
    FlagName{P2, 0, "reinstall_batch_same_version_only",
             "run the reinstall batch only over the same version, not over any earlier installation"},
    FlagName{P2, 1, "restore_point", "make a System Restore point around the installation"},
    FlagName{P2, 2, "launch_checked", "the summary page's launch choice starts ticked"},
    FlagName{P2, 3, "run_checked", "the summary page's run choice starts ticked"},
    FlagName{P2, 4, "document_checked", "the summary page's document choice starts ticked"},
    FlagName{P2, 5, "strip_uninstaller", "the uninstaller is the program without the setup package"},
    FlagName{P2, 6, "log_pre_install_batch", "copy the pre-installation batch's output into the install log"},
    FlagName{P2, 7, "log_post_install_batch", "copy the post-installation batch's output into the install log"},
    FlagName{P2, 8, "log_upgrade_batch", "copy the upgrade batch's output into the install log"},
    FlagName{P2, 9, "log_reinstall_batch", "copy the reinstall batch's output into the install log"},
    FlagName{P2, 10, "button_pictures", "pictures on the wizard's buttons (newer Windows only)"},
    FlagName{P2, 11, "no_shortcuts_on_removable", "create no shortcuts when installing onto removable media"},
};

}  // namespace

std::span<const FlagName> FlagNames() { return kFlags; }

const FlagName* FindFlag(std::string_view name) {
  for (const FlagName& flag : kFlags) {
    if (flag.name == name) return &flag;
  }
  return nullptr;
}

std::vector<std::string> SetFlagNames(std::uint64_t productFlags, std::uint32_t productFlags2) {
  std::vector<std::string> names;
  auto add = [&](FlagWord word, std::uint64_t bits, int width, const char* wordName) {
    for (int bit = 0; bit < width; ++bit) {
      if (((bits >> bit) & 1u) == 0) continue;
      std::string name = std::string(wordName) + "." + std::to_string(bit);
      for (const FlagName& flag : kFlags) {
        if (flag.word == word && flag.bit == bit) name = flag.name;
      }
      names.push_back(std::move(name));
    }
  };
  add(FlagWord::Product, productFlags, 64, "ProductFlags");
  add(FlagWord::Product2, productFlags2, 32, "ProductFlags2");
  return names;
}

}  // namespace brennick::build
