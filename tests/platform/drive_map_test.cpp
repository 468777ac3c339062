#include "platform/drive_map.h"

#include <gtest/gtest.h>

#include "tests/support/scratch_home.h"
#include "tests/support/utf8.h"

namespace stmtlink {
namespace {

TEST(DriveMapTest, DefaultsAreZAndC) {
  DriveMap map = DriveMap::Defaults("/home/u/h");
  ASSERT_NE(nullptr, map.FindDrive('z'));
  EXPECT_EQ("", map.FindDrive('Z')->linux_root);
  ASSERT_NE(nullptr, map.FindDrive('c'));
  EXPECT_EQ("/home/u/h/drive_c", map.FindDrive('C')->linux_root);
  EXPECT_EQ(DRIVE_FIXED, map.FindDrive('C')->type);
  EXPECT_EQ(nullptr, map.FindDrive('D'));
  EXPECT_EQ(nullptr, map.FindDrive('1'));
}

TEST(DriveMapTest, ReadsTheDrivesSection) {
  ScratchHome home;
  home.WriteHostIni(testing::U8(u8"[Other]\nG=/nowhere\n"
                         u8"[Drives]\n"
                         u8"d = /media/cdrom/ , cdrom\n"
                         u8"E:=,noroot\n"
                         u8"F=/ignored,unknown\n"
                         u8"H=drive_h\n"
                         u8"R=/mnt/r,ramdisk\n"
                         u8"J=/mnt/j,floppy\n"     // unknown type name: ignored
                         u8"K=,fixed\n"            // a fixed drive needs a folder
                         u8"\\\\FileServer\\Share=/srv/share,remote\n"
                         u8"\\\\サーバ\\共有=/srv/kanji\n"
                         u8"\\\\lonely=/srv/x\n"));  // no share name: ignored
  DriveMap map = DriveMap::FromHostHome(home.dir());

  const DriveMount* d = map.FindDrive('D');
  ASSERT_NE(nullptr, d);
  EXPECT_EQ("D:", d->root);
  EXPECT_EQ("/media/cdrom", d->linux_root);
  EXPECT_EQ(DRIVE_CDROM, d->type);
  ASSERT_NE(nullptr, map.FindDrive('e'));
  EXPECT_EQ(DRIVE_NO_ROOT_DIR, map.FindDrive('e')->type);
  ASSERT_NE(nullptr, map.FindDrive('F'));
  EXPECT_EQ(DRIVE_UNKNOWN, map.FindDrive('F')->type);
  EXPECT_FALSE(DriveMap::HasFolder(*map.FindDrive('F')));
  ASSERT_NE(nullptr, map.FindDrive('H'));
  EXPECT_EQ(home.Path("drive_h"), map.FindDrive('H')->linux_root);
  EXPECT_EQ(DRIVE_FIXED, map.FindDrive('H')->type);
  EXPECT_EQ(DRIVE_RAMDISK, map.FindDrive('R')->type);
  EXPECT_EQ(nullptr, map.FindDrive('G'));
  EXPECT_EQ(nullptr, map.FindDrive('J'));
  EXPECT_EQ(nullptr, map.FindDrive('K'));

  const DriveMount* share = map.FindShare("fileserver", "SHARE");
  ASSERT_NE(nullptr, share);
  EXPECT_EQ("\\\\FileServer\\Share", share->root);
  EXPECT_EQ("/srv/share", share->linux_root);
  EXPECT_EQ(DRIVE_REMOTE, share->type);
  const DriveMount* kanji = map.FindShare("サーバ", "共有"); // keys are CP932 in the map
  ASSERT_NE(nullptr, kanji);
  EXPECT_EQ("\\\\サーバ\\共有", kanji->root);
  EXPECT_EQ(DRIVE_FIXED, kanji->type);
  EXPECT_EQ(nullptr, map.FindShare("fileserver", "other"));
  EXPECT_EQ(nullptr, map.FindShare("lonely", ""));
}

TEST(DriveMapTest, MissingHostIniGivesDefaultsAndEntriesMayReplaceThem) {
  ScratchHome home;
  DriveMap plain = DriveMap::FromHostHome(home.dir());
  EXPECT_EQ(home.Path("drive_c"), plain.FindDrive('C')->linux_root);
  EXPECT_EQ(nullptr, plain.FindDrive('D'));

  home.WriteHostIni("[Drives]\nC=/srv/c,removable\n");
  DriveMap map = DriveMap::FromHostHome(home.dir());
  EXPECT_EQ("/srv/c", map.FindDrive('C')->linux_root);
  EXPECT_EQ(DRIVE_REMOVABLE, map.FindDrive('C')->type);
}

TEST(DriveMapTest, LinuxPathFindsTheMostSpecificMount) {
  DriveMap map = DriveMap::Defaults("/h");
  map.Add({"D:", "/h/drive_c/deep", DRIVE_FIXED});
  map.Add({"\\\\s\\share", "/srv/share", DRIVE_REMOTE});
  map.Add({"S:", "/srv/share", DRIVE_FIXED}); // same folder: the letter wins
  map.Add({"N:", "", DRIVE_NO_ROOT_DIR});     // no folder: never found

  EXPECT_EQ("C:", map.FindByLinuxPath("/h/drive_c")->root);
  EXPECT_EQ("C:", map.FindByLinuxPath("/h/drive_c/x")->root);
  EXPECT_EQ("D:", map.FindByLinuxPath("/h/drive_c/deep/x")->root);
  EXPECT_EQ("Z:", map.FindByLinuxPath("/h/drive_cc")->root); // not a component boundary
  EXPECT_EQ("Z:", map.FindByLinuxPath("/")->root);
  EXPECT_EQ("S:", map.FindByLinuxPath("/srv/share/a")->root);
  EXPECT_EQ(nullptr, map.FindByLinuxPath("relative"));

  map.Add({"z:", "/only", DRIVE_FIXED}); // Z: moved away: "/" has no drive
  EXPECT_EQ(nullptr, map.FindByLinuxPath("/tmp"));
  EXPECT_EQ("Z:", map.FindDrive('Z')->root);
}

TEST(DriveMapTest, CurrentMapIsCachedUntilReloaded) {
  ScratchHome home;
  home.WriteHostIni("[Drives]\nD=/d\n");
  ASSERT_NE(nullptr, CurrentDriveMap().FindDrive('D'));
  home.WriteFile("host.ini", "[Drives]\nE=/e\n"); // no reload yet
  EXPECT_NE(nullptr, CurrentDriveMap().FindDrive('D'));
  EXPECT_EQ(nullptr, CurrentDriveMap().FindDrive('E'));
  ReloadDriveMap();
  EXPECT_EQ(nullptr, CurrentDriveMap().FindDrive('D'));
  EXPECT_NE(nullptr, CurrentDriveMap().FindDrive('E'));
  {
    ScratchHome other; // a new home is noticed without a reload
    EXPECT_EQ(nullptr, CurrentDriveMap().FindDrive('E'));
  }
  EXPECT_NE(nullptr, CurrentDriveMap().FindDrive('E'));
}

} // namespace
} // namespace stmtlink
