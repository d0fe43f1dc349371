// The controller table and the health of every card, against emulated
// machines of one, two and three cards.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/list/controller_table.h"
#include "app/shell/program_state.h"
#include "app_test_support.h"
#include "cardlib/libzk.h"
#include "emu/host/emulator.h"
#include "emu/card_file/named_cards.h"

namespace {

using app_test::Message;

const std::string kHeading =
    "\nID    Corvexium     Package Version    PCI Address    \n"
    "--    ---------     ---------------    -----------    \n";
const std::string kRowOne = "1     Corvexium          14.02.05.00        00:03:00:00\n";
const std::string kFailedInformation = Message("Failed getting controller information.");
const std::string kRule(50, '-');

constexpr uint8_t kFwUpload = 0x12;

// The machine's cards, each a default card of its own IOC number and bus.
emu::HostModel CardsHost(uint32_t cards) {
  emu::HostModel host = emu::DefaultHost();
  for (uint32_t ioc = 1; ioc < cards; ++ioc) {
    emu::AdapterModel next = emu::DefaultCorvexium(ioc);
    next.pciBus = 3 + ioc;
    host.nodes.front().adapters.push_back(next);
  }
  host.files = emu::DefaultVirtualFiles(host);
  return host;
}

// The card's health command fails: manufacturing page 10 cannot be read.
emu::Fault HealthFailsOn(int ioc) {
  emu::Fault fault;
  fault.kind = emu::FaultKind::kPageMissing;
  fault.pageType = 9;
  fault.pageNumber = 10;
  fault.ioc = ioc;
  return fault;
}

class ControllerTableTest : public ::testing::Test {
 protected:
  void Start(emu::HostModel host) {
    card_ = &emu::Install(std::move(host));
    app_test::ResetProgramState();
    ASSERT_EQ(LibZKOpen(), 1u);
    ASSERT_EQ(LibZKDiscoverAdapters(&ControllerCount), 0u);
    card_->ClearLog();
    card_->TakeOutput();
  }
  void TearDown() override {
    EXPECT_EQ(card_->OpenDescriptors(), 0);
    LibZKClose();
  }
  std::vector<const emu::LoggedCall*> Uploads() const {
    std::vector<const emu::LoggedCall*> calls;
    for (const emu::LoggedCall& call : card_->log()) {
      if (call.isCommand && call.function == kFwUpload) calls.push_back(&call);
    }
    return calls;
  }
  emu::Emulator* card_ = nullptr;
};

TEST_F(ControllerTableTest, OneCardReadsOnlyTheHeadOfItsFirmware) {
  Start(emu::DefaultHost());
  EXPECT_EQ(ListAll(), 0);
  EXPECT_EQ(card_->TakeOutput(), kHeading + kRowOne);
  // One upload of 256 bytes: the whole image is not read for its version.
  std::vector<const emu::LoggedCall*> uploads = Uploads();
  ASSERT_EQ(uploads.size(), 1u);
  EXPECT_EQ(uploads[0]->dataInSize, 256u);
  EXPECT_EQ(SelectedController, 0u);  // the table selects nothing
}

TEST_F(ControllerTableTest, RowsShowEachCardsNameVersionAndAddress) {
  struct Case {
    const char* name;
    const char* boardName;
    uint32_t packageVersion;
    uint32_t segment, bus;
    uint8_t device, function;
    std::string row;
  };
  const Case cases[] = {
      {"a name of exactly 16 characters", "CorvexiumXL-8000", 0x0E020500, 0, 3, 0, 0,
       "1     CorvexiumXL-8000    14.02.05.00        00:03:00:00\n"},
      {"a short name", "Cvx", 0x01020304, 0, 3, 0, 0, "1     Cvx                01.02.03.04        00:03:00:00\n"},
      {"segment first, all parts in hexadecimal", "Corvexium", 0x0E020500, 0x1A, 0x82, 0x1F, 7,
       "1     Corvexium          14.02.05.00        1a:82:1f:07\n"},
      {"version bytes above 99", "Corvexium", 0xFF640A00, 0, 3, 0, 0,
       "1     Corvexium          255.100.10.00      00:03:00:00\n"},
  };
  for (const Case& c : cases) {
    emu::HostModel host = emu::DefaultHost();
    emu::AdapterModel& a = *host.FirstAdapter();
    a.boardName = c.boardName;
    a.packageVersion = c.packageVersion;
    a.pciSegment = c.segment;
    a.pciBus = c.bus;
    a.pciDevice = c.device;
    a.pciFunction = c.function;
    a.pages = emu::DefaultPages(a);
    a.images = emu::DefaultImages(a);
    host.files = emu::DefaultVirtualFiles(host);
    Start(std::move(host));
    EXPECT_EQ(ListAll(), 0) << c.name;
    EXPECT_EQ(card_->TakeOutput(), kHeading + c.row) << c.name;
    LibZKClose();
  }
}

TEST_F(ControllerTableTest, TheTableEndsAtTheFirstCardThatCannotBeRead) {
  struct Case {
    const char* name;
    emu::HostModel (*host)();
    std::vector<emu::Fault> faults;
    std::string output;
  };
  emu::Fault uploadFails;
  uploadFails.kind = emu::FaultKind::kAnswer;
  uploadFails.function = kFwUpload;
  uploadFails.iocStatus = 0x0004;
  uploadFails.ioc = 1;
  const Case cases[] = {
      {"the second card's information fails", emu::TwoCardsHost, {}, kHeading + kRowOne + kFailedInformation},
      {"the second card's firmware head fails", [] { return CardsHost(3); }, {uploadFails},
       kHeading + kRowOne + kFailedInformation},
  };
  for (const Case& c : cases) {
    emu::HostModel host = c.host();
    for (const emu::Fault& fault : c.faults) host.faults.push_back(fault);
    Start(std::move(host));
    EXPECT_EQ(ListAll(), 1) << c.name;
    EXPECT_EQ(card_->TakeOutput(), c.output) << c.name;
    LibZKClose();
  }
}

TEST_F(ControllerTableTest, WithoutCardsOnlyTheHeading) {
  Start(app_test::NoCardHost());
  EXPECT_EQ(ListAll(), 0);
  EXPECT_EQ(card_->TakeOutput(), kHeading);
  EXPECT_EQ(HealthAll(), 0);
  EXPECT_EQ(card_->TakeOutput(), "");
  EXPECT_EQ(SelectedController, 0u);
}

TEST_F(ControllerTableTest, HealthOfEveryCardUnderItsHeader) {
  Start(CardsHost(2));
  EXPECT_EQ(HealthAll(), 0);
  std::string output = card_->TakeOutput();
  const std::string header = "\n" + kRule + "\nCorvexium  ID = 1  SAS Address = 500605B 00C8A4D10\n" + kRule + "\n\n";
  ASSERT_EQ(output.rfind(header, 0), 0u) << output;
  size_t second = output.find("\n" + kRule + "\nCorvexium  ID = 2  SAS Address = ");
  ASSERT_NE(second, std::string::npos);
  // Each header is followed by that card's own report.
  EXPECT_NE(output.find("TRIXEL4400 Corvexium Health", header.size()), std::string::npos);
  EXPECT_NE(output.find("TRIXEL4400 Corvexium Health", second), std::string::npos);
  EXPECT_EQ(SelectedController, 2u);
}

TEST_F(ControllerTableTest, HealthAllAnswersTheLastCardsResult) {
  struct Case {
    const char* name;
    std::vector<int> failingCards;  // IOC numbers whose health command fails
    int result;
  };
  const Case cases[] = {
      {"only the last one counts: 1, 1, 0", {0, 1}, 0},
      {"the last one fails: 0, 0, 1", {2}, 1},
      {"all good", {}, 0},
  };
  for (const Case& c : cases) {
    emu::HostModel host = CardsHost(3);
    for (int ioc : c.failingCards) host.faults.push_back(HealthFailsOn(ioc));
    Start(std::move(host));
    EXPECT_EQ(HealthAll(), c.result) << c.name;
    std::string output = card_->TakeOutput();
    // A failing card does not stop the walk: every card has its header.
    for (const char* id : {"ID = 1 ", "ID = 2 ", "ID = 3 "}) {
      EXPECT_NE(output.find(id), std::string::npos) << c.name << " " << id;
    }
    EXPECT_EQ(SelectedController, 3u) << c.name;
    LibZKClose();
  }
}

TEST_F(ControllerTableTest, HealthAllStopsAtACardThatCannotBeRead) {
  Start(emu::TwoCardsHost());
  EXPECT_EQ(HealthAll(), 1);
  std::string output = card_->TakeOutput();
  EXPECT_NE(output.find("ID = 1 "), std::string::npos);
  EXPECT_EQ(output.find("ID = 2 "), std::string::npos);
  EXPECT_EQ(output.substr(output.size() - kFailedInformation.size()), kFailedInformation);
  EXPECT_EQ(SelectedController, 1u);
}

TEST_F(ControllerTableTest, AFullBoardNameEndsAtItsSixteenCharacters) {
  emu::HostModel host = emu::DefaultHost();
  emu::AdapterModel& a = *host.FirstAdapter();
  a.boardName = "CorvexiumXL-8000";
  a.pages = emu::DefaultPages(a);
  Start(std::move(host));
  EXPECT_EQ(HealthAll(), 0);
  std::string output = card_->TakeOutput();
  EXPECT_NE(output.find("\nCorvexiumXL-8000 ID = 1  SAS Address = 500605B 00C8A4D10\n"), std::string::npos)
      << output.substr(0, 200);
}

}  // namespace
