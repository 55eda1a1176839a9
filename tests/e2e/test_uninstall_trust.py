"""What the uninstaller trusts: it runs with administrator rights and reads
its list from the installation folder, which other users may be able to
write. A data file that is not the one the installation wrote is refused."""

import hashlib

from test_uninstall_run import UNINSTALL_KEY, UninstallTestCase, product, product_files


class UninstallDataSeal(UninstallTestCase):
    def test_changed_data_file_is_refused_and_nothing_is_removed(self):
        name = "Sealed Tool"
        setup = self.build("sealed", product(name), product_files())
        before = self.machine_state()
        self.assertEqual(self.run_silently(setup + " /a"), 1)
        folder = self.folder(name)
        key = UNINSTALL_KEY + name
        data_path = self.path(folder + "\\uninstall\\Uninstall.DAT")
        written = data_path.read_bytes()
        self.assertEqual(self.registry_value(key, "UninstallDataSHA256"), hashlib.sha256(written).hexdigest())

        victim = self.prefix.drive_c / "victim" / "keep.txt"
        victim.parent.mkdir(exist_ok=True)
        victim.write_bytes(b"not the product's")
        changes = {
            "a file outside the product": b"C:\\victim\\keep.txt\r\n" + written,
            "a package to install": written + b"\r\n\r\n[MSI]\r\n\"C:\\victim\\evil.msi\",0\r\n",
            "the same bytes but one": written[:-1] + bytes([written[-1] ^ 1]),
        }
        for what, changed in changes.items():
            with self.subTest(what):
                data_path.write_bytes(changed)
                caption, text, code = self.run_to_message_box(self.uninstall_command(name, quiet=False))
                self.assertEqual(code, 0)
                self.assertIn("has been changed since the installation", text)
                self.assertIn(folder + "\\uninstall\\Uninstall.DAT", text)
                self.assertIn("Nothing was removed.", text)
                self.assertEqual(victim.read_bytes(), b"not the product's")
                self.assertTrue(self.path(folder + "\\docs\\en\\guide.txt").exists())
                self.assertEqual(self.registry_value(key, "DisplayName"), name)
                self.assertEqual(data_path.read_bytes(), changed)

        # Without its seal the file the installation wrote is refused too.
        data_path.write_bytes(written)
        self.prefix.wine("reg", "delete", key, "/v", "UninstallDataSHA256", "/f", check=True)
        caption, text, code = self.run_to_message_box(self.uninstall_command(name, quiet=False))
        self.assertIn("has been changed since the installation", text)

        # Sealed again, the untouched file uninstalls as before.
        self.prefix.wine("reg", "add", key, "/v", "UninstallDataSHA256", "/d", hashlib.sha256(written).hexdigest(),
                         "/f", check=True)
        self.assertEqual(self.run_silently(self.uninstall_command(name, quiet=True)), 0)
        self.wait_for_removal(folder)
        victim.unlink()
        victim.parent.rmdir()
        self.assert_same_state(before, self.machine_state())


class PlantedLinks(UninstallTestCase):
    def plant_link(self, folder: str):
        """Another user swaps the product's docs folder for a link to a
        folder that holds files of the recorded names (Wine shows a link of
        the file system the way Windows shows a junction's target)."""
        victim = self.prefix.drive_c / ("victim of " + folder.rsplit("\\", 1)[-1])
        (victim / "en").mkdir(parents=True)
        (victim / "readme.txt").write_bytes(b"someone else's")
        (victim / "en" / "guide.txt").write_bytes(b"someone else's")
        docs = self.path(folder + "\\docs")
        for path in sorted(docs.rglob("*"), reverse=True):
            path.rmdir() if path.is_dir() else path.unlink()
        docs.rmdir()
        docs.symlink_to(victim, target_is_directory=True)
        return victim

    def assert_untouched(self, victim):
        self.assertEqual((victim / "readme.txt").read_bytes(), b"someone else's")
        self.assertEqual((victim / "en" / "guide.txt").read_bytes(), b"someone else's")

    def uninstall_past_a_link(self, name: str, tag: str, flags: str = "") -> str:
        """Installs the product, plants the link, uninstalls quietly; the
        files behind the link stay, the product's own go. Returns its folder."""
        setup = self.build(tag, product(name, flags=flags), product_files())
        self.assertEqual(self.run_silently(setup + " /a"), 1)
        folder = self.folder(name)
        victim = self.plant_link(folder)
        self.assertEqual(self.run_silently(self.uninstall_command(name, quiet=True)), 0)
        self.assert_untouched(victim)
        self.assertFalse(self.path(folder + "\\tool.exe.txt").exists())
        return folder

    def test_recorded_files_behind_a_link_are_not_deleted(self):
        name = "Linked Tool"
        folder = self.uninstall_past_a_link(name, "linked")
        # The files behind the link are named as not deleted, so they stay in
        # the list and the product stays registered.
        self.assertFalse(self.path(folder + "\\data").exists())
        data = self.path(folder + "\\uninstall\\Uninstall.DAT").read_bytes().decode("cp1252")
        self.assertIn(folder + "\\docs\\readme.txt\r\n", data)
        self.assertIn(folder + "\\docs\\en\\guide.txt\r\n", data)
        self.assertEqual(self.registry_value(UNINSTALL_KEY + name, "DisplayName"), name)

    def test_folder_tree_removal_does_not_descend_into_a_link(self):
        self.uninstall_past_a_link("Linked Tree Tool", "linked-tree", flags="delete_install_dir = true")
