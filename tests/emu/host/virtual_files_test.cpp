// /proc and /sys from the model, the control nodes under /dev, and real
// files passed through.
#include <gtest/gtest.h>

#include <cstdio>

#include "emu/host/emulator.h"

namespace {

std::string ReadAll(os::File& file) {
  std::string text;
  char buffer[7];
  size_t n;
  while ((n = file.Read(buffer, sizeof buffer)) > 0) text.append(buffer, n);
  return text;
}

TEST(VirtualFiles, ProcScsiOfACardWithoutModulesListsNoDevices) {
  emu::Emulator& card = emu::Install(emu::DefaultHost());
  card.model().FirstAdapter()->modules.clear();
  card.model().FirstAdapter()->raid = emu::RaidModel{};
  os::PathStatus status;
  ASSERT_TRUE(card.Lstat("/proc/scsi/scsi", &status));
  EXPECT_TRUE(status.isRegular);
  EXPECT_FALSE(status.isSymlink);
  ASSERT_TRUE(card.Lstat("/proc", &status));
  EXPECT_TRUE(status.isDirectory);
  EXPECT_FALSE(card.Stat("/proc/partitions", &status));  // only what the model holds
  std::unique_ptr<os::File> file = card.OpenFile("/proc/scsi/scsi", "r");
  ASSERT_NE(file, nullptr);
  char line[8];
  ASSERT_NE(file->ReadLine(line, sizeof line), nullptr);
  EXPECT_STREQ(line, "Attache");  // at most size - 1 characters
  ASSERT_NE(file->ReadLine(line, sizeof line), nullptr);
  EXPECT_STREQ(line, "d devic");
  ASSERT_NE(file->ReadLine(line, sizeof line), nullptr);
  EXPECT_STREQ(line, "es:\n");
  EXPECT_EQ(file->ReadLine(line, sizeof line), nullptr);
  ASSERT_TRUE(file->Rewind());
  EXPECT_EQ(ReadAll(*file), "Attached devices:\n");
  EXPECT_EQ(file->Write("x", 1), 0u);  // opened for reading
}

TEST(VirtualFiles, TheSysTreeIsServedFromTheModel) {
  emu::HostModel host = emu::DefaultHost();
  host.files.AddFile("/sys/bus/pci/slots/7/address", "0000:03:00\n");
  host.files.AddDirectory("/sys/devices/pci0000:00/0000:00:02.0/0000:03:00.0/host2");
  host.files.AddSymlink("/sys/bus/pci/devices/0000:03:00.0",
                        "../../../devices/pci0000:00/0000:00:02.0/0000:03:00.0");
  emu::Emulator& card = emu::Install(std::move(host));

  // What a test adds stands beside the generated tree (the card in slot 5,
  // the empty slots 1 and 9, the volume's disk) and wins where both name a path.
  std::vector<std::string> names;
  ASSERT_TRUE(card.ListDirectory("/sys/bus/pci/slots", &names));
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", "1", "5", "7", "9"}));
  ASSERT_TRUE(card.ListDirectory("/sys/block", &names));
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", "sda"}));
  EXPECT_FALSE(card.ListDirectory("/sys/bus/pci/slots/8", &names));
  EXPECT_FALSE(card.ListDirectory("/sys/bus/pci/slots/7/address", &names));

  std::unique_ptr<os::File> file = card.OpenFile("/sys/bus/pci/slots/7/address", "r");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(ReadAll(*file), "0000:03:00\n");

  // A link: Stat follows it, Lstat does not, and paths go through it.
  os::PathStatus status;
  ASSERT_TRUE(card.Stat("/sys/bus/pci/devices/0000:03:00.0", &status));
  EXPECT_TRUE(status.isDirectory);
  ASSERT_TRUE(card.Lstat("/sys/bus/pci/devices/0000:03:00.0", &status));
  EXPECT_TRUE(status.isSymlink);
  ASSERT_TRUE(card.ListDirectory("/sys/bus/pci/devices/0000:03:00.0", &names));
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", "host2"}));
  ASSERT_TRUE(card.Lstat("/sys/bus/pci/devices/0000:03:00.0/host2", &status));
  EXPECT_TRUE(status.isDirectory);
  EXPECT_FALSE(card.Stat("/sys/bus/pci/devices/0000:03:00.0/host3", &status));
}

TEST(VirtualFiles, WritesChangeExistingFilesOnly) {
  emu::HostModel host = emu::DefaultHost();
  host.files.AddFile("/sys/class/scsi_host/host2/scan", "");
  emu::Emulator& card = emu::Install(std::move(host));
  EXPECT_EQ(card.OpenFile("/sys/class/scsi_host/host2/new", "w"), nullptr);
  EXPECT_EQ(card.OpenFile("/sys/class/scsi_host/host2", "r"), nullptr);
  std::unique_ptr<os::File> file = card.OpenFile("/sys/class/scsi_host/host2/scan", "w");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->Write("- - -", 5), 5u);
  ASSERT_EQ(card.virtualWrites().size(), 1u);
  EXPECT_EQ(card.virtualWrites()[0].path, "/sys/class/scsi_host/host2/scan");
  EXPECT_EQ(card.virtualWrites()[0].bytes, "- - -");
  EXPECT_EQ(card.model().files.Find("/sys/class/scsi_host/host2/scan")->data, "- - -");
}

TEST(VirtualFiles, ControlNodesExistExactlyWhenTheMachineHasThem) {
  emu::Emulator& card = emu::Install(emu::DefaultHost());
  os::PathStatus status;
  EXPECT_TRUE(card.Stat("/dev/qmx2ctl_cx", &status));
  EXPECT_FALSE(status.isRegular);
  EXPECT_FALSE(card.Stat("/dev/qmx2ctl", &status));
  EXPECT_FALSE(card.Lstat("/dev/qmx3ctl", &status));
}

TEST(VirtualFiles, OtherPathsAreTheRealFileSystem) {
  emu::Emulator& card = emu::Install(emu::DefaultHost());
  std::string path = ::testing::TempDir() + "emu_real_file_test.txt";
  {
    std::unique_ptr<os::File> out = card.OpenFile(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->Write("real\n", 5), 5u);
  }
  os::PathStatus status;
  ASSERT_TRUE(card.Stat(path.c_str(), &status));
  EXPECT_TRUE(status.isRegular);
  EXPECT_EQ(status.size, 5u);
  std::unique_ptr<os::File> in = card.OpenFile(path.c_str(), "rb");
  ASSERT_NE(in, nullptr);
  EXPECT_EQ(ReadAll(*in), "real\n");
  std::remove(path.c_str());
  EXPECT_FALSE(card.Stat(path.c_str(), &status));
}

}  // namespace
