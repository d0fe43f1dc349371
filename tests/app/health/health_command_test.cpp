// -health as the user runs it: its words and the menu's question, the
// thresholds the card's pages set, the SuperCap lines, and the report's
// failure paths in text and JSON.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/shell/command_operations.h"
#include "app/health/health_run.h"
#include "app/shell/memory_strings.h"
#include "app/shell/program_state.h"
#include "app_test_support.h"
#include "cardlib/libzk.h"
#include "emu/controller/command_handler.h"
#include "emu/controller/handlers.h"
#include "emu/card_file/named_cards.h"

namespace {

using app_test::Banner;
using app_test::ProgramRun;
using app_test::RunProgram;

const std::string kUsage = "Usage :\n    tessvarc <-c controller #> -health [-json | -raw ] [-fua]\n";

struct Parsed {
  int result = -1;
  std::string output;
  HealthOptions options = {9, 9, 9};
  uint32_t suppress = 9;
};

Parsed Parse(const std::vector<std::string>& words, const std::string& input = "") {
  emu::Emulator& card = emu::Install(emu::DefaultHost());
  card.SetInput(input);
  SuppressStatus = 7;
  std::vector<std::string> copy = words;
  std::vector<char*> argv;
  for (std::string& word : copy) argv.push_back(word.data());
  CommandContext context;
  Parsed parsed;
  parsed.result = HealthCommandParse(static_cast<int>(argv.size()), argv.empty() ? nullptr : argv.data(), &context);
  parsed.output = card.TakeOutput();
  if (context.params.get() != nullptr) parsed.options = *context.params.As<HealthOptions>();
  parsed.suppress = SuppressStatus;
  SuppressStatus = 0;
  return parsed;
}

TEST(HealthParse, OptionsAndTheirPairs) {
  struct Case {
    std::vector<std::string> words;
    int result;
    bool banner;
    HealthOptions options;  // raw, json, forceFromVsk
    uint32_t suppress;
  };
  const Case cases[] = {
      {{"-health"}, 0, true, {0, 0, 0}, 0},
      {{"-health", "-json"}, 0, false, {0, 1, 0}, 1},
      {{"-health", "-JSON"}, 0, false, {0, 1, 0}, 1},
      {{"-health", "-raw"}, 0, true, {1, 0, 0}, 0},
      {{"-health", "-fua"}, 0, false, {0, 0, 1}, 0},
      {{"-health", "-json", "-fua"}, 0, false, {0, 1, 1}, 1},
      {{"-health", "-raw", "-fua"}, 0, true, {1, 0, 1}, 0},
      {{"-health", "-Raw", "-FUA"}, 0, true, {1, 0, 1}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words.back() + " " + std::to_string(c.words.size()));
    Parsed p = Parse(c.words);
    EXPECT_EQ(p.result, c.result);
    EXPECT_EQ(p.output, c.banner ? Banner() : "");
    EXPECT_EQ(p.options.raw, c.options.raw);
    EXPECT_EQ(p.options.json, c.options.json);
    EXPECT_EQ(p.options.forceFromVsk, c.options.forceFromVsk);
    EXPECT_EQ(p.suppress, c.suppress);
  }
}

TEST(HealthParse, UsageErrors) {
  const std::vector<std::string> cases[] = {
      {"-health", "-fua", "-json"}, {"-health", "-json", "-raw"}, {"-health", "-raw", "-json"},
      {"-health", "-fua", "-raw"},  {"-health", "-list"},         {"-health", "json"},
      {"-health", "-fua", "-fua"},  {"-health", "-json", "-fua", "-raw"},
  };
  for (const auto& words : cases) {
    SCOPED_TRACE(words[1]);
    Parsed p = Parse(words);
    EXPECT_EQ(p.result, 2);
    EXPECT_EQ(p.output, Banner() + kUsage);
    EXPECT_EQ(p.suppress, 0u);  // no JSON chosen, so the dispatcher reports the error
  }
}

TEST(HealthParse, MenuQuestion) {
  const std::string question = "\nRead SMART attributes forcibly from VSK? (Yes/No): ";
  struct Case {
    const char* input;
    int result;
    uint32_t force;
  };
  const Case cases[] = {
      {"YES\n", 0, 1}, {"yes\n", 0, 1}, {"Yes", 0, 1}, {"no\n", 0, 0}, {"\n", 0, 0}, {"y\n", 0, 0},
      {"YES \n", 0, 0},
      // End of input ends the command; an unreadable answer is a usage error.
      {"", 1, 0}, {"ye\ts\n", 2, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    Parsed p = Parse({}, c.input);
    EXPECT_EQ(p.result, c.result);
    EXPECT_EQ(p.options.forceFromVsk, c.force);
    EXPECT_EQ(p.options.json, 0u);
    EXPECT_EQ(p.output.substr(0, question.size()), question);
  }
}

// A run of the whole program on a card.
class HealthRunTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (card_ != nullptr) {
      EXPECT_EQ(card_->OpenDescriptors(), 0);
    }
  }
  emu::Emulator& Install(emu::HostModel host) {
    card_ = &emu::Install(std::move(host));
    app_test::ResetProgramState();
    return *card_;
  }
  static emu::HostModel Card(const std::string& name) {
    emu::HostModel host;
    EXPECT_TRUE(emu::BuildNamedCard(name, &host));
    return host;
  }
  ProgramRun Run(const std::vector<std::string>& words) {
    std::vector<std::string> arguments = {"-c", "1", "-health"};
    arguments.insert(arguments.end(), words.begin(), words.end());
    ProgramRun run = RunProgram(arguments);
    errors_ = card_->TakeErrorOutput();
    return run;
  }
  static std::string Overall(const std::string& text) {
    const std::string label = "\nOverall Health           : ";
    size_t at = text.find(label);
    if (at == std::string::npos) return "none";
    return text.substr(at + label.size(), text.find('\n', at + label.size()) - at - label.size());
  }
  static std::string Reason(const std::string& text) {
    const std::string label = "\nReason Code              : ";
    size_t at = text.find(label);
    if (at == std::string::npos) return "none";
    return text.substr(at + label.size(), text.find('\n', at + label.size()) - at - label.size());
  }
  // The module object of a slot in a JSON document.
  static std::string ModuleObject(const std::string& json, uint32_t slot) {
    size_t at = json.find("{\"slot\":" + std::to_string(slot) + ",");
    if (at == std::string::npos) return "";
    size_t end = json.find("}}", at);
    return json.substr(at, end + 2 - at);
  }
  // The CONFIG requests that named the page so far.
  int PageRequests(uint8_t type, uint8_t number) const {
    int n = 0;
    for (const emu::LoggedCall& call : card_->log()) {
      n += call.isCommand && call.function == 0x04 && call.frame.size() > 23 && call.frame[22] == number &&
           call.frame[23] == type;
    }
    return n;
  }
  // CONFIG requests naming the page are answered 0x0022 after the first
  // `passes` of them.
  void FailPageAfter(uint8_t type, uint8_t number, int passes) {
    emu::FunctionHandler base = emu::ConfigHandler();
    auto seen = std::make_shared<int>(0);
    card_->RegisterFunction(0x04, emu::FunctionHandler{base.minimumFrameBytes, [base, seen, type, number, passes](
                                                                                  emu::CommandRequest& request,
                                                                                  emu::CommandAnswer& answer) {
                              if (request.frame.size() > 23 && request.frame[22] == number && request.frame[23] == type &&
                                  ++*seen > passes) {
                                answer.reply = emu::NewReply(request, 24);
                                emu::SetReplyStatus(&answer.reply, 0x0022);
                                return;
                              }
                              base.handle(request, answer);
                            }});
  }

  emu::Emulator* card_ = nullptr;
  std::string errors_;
};

emu::SmartAttribute Attribute(uint8_t id, uint8_t normalized, uint64_t raw) {
  emu::SmartAttribute a;
  a.id = id;
  a.normalized = normalized;
  a.worst = normalized;
  a.raw = raw;
  return a;
}

TEST_F(HealthRunTest, LifeThresholdsFromManufacturingPage10) {
  struct Case {
    uint8_t life;
    const char* overall;
    const char* reason;
  };
  const Case cases[] = {{5, "ERROR", "10"}, {6, "WARNING", "0"}, {15, "WARNING", "0"}, {16, "GOOD", "none"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.life));
    emu::HostModel host = emu::DefaultHost();
    emu::AdapterModel& a = *host.FirstAdapter();
    a.lifeLeftWarning = 15;
    a.lifeLeftError = 5;
    a.pages = emu::DefaultPages(a);
    Install(std::move(host));
    card_->SetSmartAttribute(5, Attribute(231, c.life, 0));
    ProgramRun run = Run({});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(Overall(run.output), c.overall);
    EXPECT_EQ(Reason(run.output), c.reason);
  }
}

TEST_F(HealthRunTest, TemperatureThresholdsByBoardType) {
  struct Case {
    uint8_t boardType;
    uint8_t temperature;
    const char* overall;
    const char* reason;
  };
  // IO unit page 8 says 60 and 75; board type 4 keeps 70 and 80.
  const Case cases[] = {
      {7, 59, "GOOD", "none"}, {7, 60, "WARNING", "0"}, {7, 74, "WARNING", "0"}, {7, 75, "ERROR", "11"},
      {4, 65, "GOOD", "none"}, {4, 70, "WARNING", "0"}, {4, 76, "WARNING", "0"}, {4, 80, "ERROR", "11"},
      {9, 60, "WARNING", "0"}, {9, 75, "ERROR", "11"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.boardType) + " at " + std::to_string(c.temperature));
    emu::HostModel host = emu::DefaultHost();
    emu::AdapterModel& a = *host.FirstAdapter();
    a.boardType = c.boardType;
    a.temperatureWarning = 60;
    a.temperatureError = 75;
    a.pages = emu::DefaultPages(a);
    Install(std::move(host));
    card_->SetSmartAttribute(7, Attribute(194, c.temperature, c.temperature));
    ProgramRun run = Run({});
    EXPECT_EQ(Overall(run.output), c.overall);
    EXPECT_EQ(Reason(run.output), c.reason);
  }
}

TEST_F(HealthRunTest, DefaultThresholdsWhenThePagesCannotBeRead) {
  Install(emu::DefaultHost());
  card_->SetSmartAttribute(4, Attribute(231, 20, 0));   // a warning at the default 20
  card_->SetSmartAttribute(5, Attribute(194, 79, 79));  // a warning below the default 80
  card_->RemovePage(0, 8);
  ProgramRun run = Run({});
  const std::string notProper = app_test::kTitle + ": Corvexium is not in a proper state.\n";
  EXPECT_NE(run.output.find("Backup Rail Monitor          : GOOD\n"), std::string::npos);
  EXPECT_NE(run.output.find(notProper), std::string::npos);
  EXPECT_EQ(Overall(run.output), "WARNING");

  // A page 8 too short for the board type's thresholds is one that could
  // not be read: the defaults hold.
  card_->ClearFaults();
  card_->CutPage(0, 8, 0, 92);
  card_->SetSmartAttribute(5, Attribute(194, 80, 80));
  run = Run({});
  EXPECT_NE(run.output.find(notProper), std::string::npos);
  EXPECT_EQ(Reason(run.output), "11");
  run = Run({"-json"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.output.find("proper state"), std::string::npos);
}

TEST_F(HealthRunTest, SuperCapLines) {
  const std::string good =
      "SuperCap Current Voltage : 5400\nCurrent POH              : 8760\nSuperCap Current Health  : 96\n"
      "SuperCap Expected Health : 94\nSuperCap Status          : GOOD\n";
  Install(emu::DefaultHost());
  ProgramRun run = Run({});
  EXPECT_NE(run.output.find(good), std::string::npos);
  EXPECT_EQ(Overall(run.output), "GOOD");

  // A voltage below the threshold with a healthy SuperCap: the health
  // values and ERROR (the status word is shared).
  emu::AdapterModel& a = *card_->model().FirstAdapter();
  a.superCapVoltage = 4500;
  run = Run({});
  EXPECT_NE(run.output.find("SuperCap Current Voltage : 4500\nCurrent POH              : 8760\n"
                            "SuperCap Current Health  : 96\nSuperCap Expected Health : 94\n"
                            "SuperCap Status          : ERROR\n"),
            std::string::npos);
  EXPECT_EQ(Overall(run.output), "ERROR");
  EXPECT_EQ(Reason(run.output), "0");

  // A query that fails: NOT AVAILABLE, ERROR.
  a.superCapVoltage = 5400;
  card_->SetSuperCapBusy(100);
  run = Run({});
  EXPECT_NE(run.output.find("---\n\nSuperCap Status          : NOT AVAILABLE\nAuxiliary Power"), std::string::npos);
  EXPECT_EQ(Overall(run.output), "ERROR");

  // Board flags bit 3: the board has no SuperCap part.
  card_->SetSuperCapBusy(0);
  a.boardFlags = 0x08;
  a.pages[emu::PageKey{9, 10, 0, 0}] = emu::DefaultPages(a)[emu::PageKey{9, 10, 0, 0}];
  run = Run({});
  EXPECT_EQ(run.output.find("SuperCap"), std::string::npos);
  EXPECT_NE(run.output.find("---\n\nAuxiliary Power          : CONNECTED\n"), std::string::npos);
  EXPECT_EQ(Overall(run.output), "GOOD");
}

TEST_F(HealthRunTest, JsonHoldsNothingButTheDocument) {
  Install(emu::DefaultHost());
  card_->model().FirstAdapter()->superCapVoltage = 4500;
  ProgramRun run = Run({"-json"});
  EXPECT_EQ(run.status, 0);
  ASSERT_FALSE(run.output.empty());
  EXPECT_EQ(run.output.front(), '{');
  EXPECT_EQ(run.output.back(), '}');
  EXPECT_EQ(run.output.find("SuperCap"), std::string::npos);
  EXPECT_EQ(run.output.find('\n'), std::string::npos);
  EXPECT_NE(errors_.find("SuperCap Status          : ERROR\n"), std::string::npos);
  EXPECT_NE(run.output.find(",\"overallHealth\":\"ERROR\",\"reasonCode\":0}"), std::string::npos);
  EXPECT_EQ(SuppressStatus, 0u);
}

TEST_F(HealthRunTest, ControllerNotAccessible) {
  const std::string message = app_test::kTitle + ": Controller is not Accessible !!\n";
  // What the start-up and the dispatcher read of manufacturing page 0 (a
  // command whose words are refused reads nothing itself), then the card
  // state's reading of the card record (3 requests): the command's own
  // reading fails.
  Install(emu::DefaultHost());
  RunProgram({"-c", "1", "-showvpd", "extra"});
  int before = PageRequests(9, 0) + 3;
  card_->ClearLog();
  FailPageAfter(9, 0, before);
  ProgramRun run = Run({});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.output, Banner() + message + app_test::Message("Execution completed successfully."));

  Install(emu::DefaultHost());
  FailPageAfter(9, 0, before);
  run = Run({"-json"});
  EXPECT_EQ(run.status, 1);  // no document: a failure
  EXPECT_EQ(run.output, "");
  EXPECT_EQ(errors_, message);
}

TEST_F(HealthRunTest, InvalidBoardTypeEndsTheRun) {
  emu::HostModel host = emu::DefaultHost();
  emu::AdapterModel& a = *host.FirstAdapter();
  a.boardType = 0;
  a.subsystemDeviceId = 0x0400;  // no board type of its own
  a.pages = emu::DefaultPages(a);
  Install(host);
  ProgramRun run = Run({});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("SuperCap Status          : GOOD\n\n\n Invalid Board Type \n\n"), std::string::npos);
  EXPECT_NE(run.output.find(app_test::Message("Error executing command -health.")), std::string::npos);
  EXPECT_EQ(run.output.find("Overall Health"), std::string::npos);

  Install(host);
  run = Run({"-json"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, "");
  EXPECT_NE(errors_.find("\n\n Invalid Board Type \n\n"), std::string::npos);
}

TEST_F(HealthRunTest, CardStateFailureEndsTheRun) {
  Install(emu::DefaultHost());
  card_->RemovePage(9, 10);
  ProgramRun run = Run({});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, Banner() + app_test::kTitle + ": Corvexium is not in a proper state.\n" +
                            app_test::Message("Error executing command -health."));
  run = Run({"-json"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, "");
  EXPECT_EQ(errors_, app_test::kTitle + ": Corvexium is not in a proper state.\n");
}

TEST_F(HealthRunTest, AModuleThatCannotBeReadReportsEmptyValuesAndIsNotTakenForHealthy) {
  Install(Card("smart-fails"));
  ProgramRun run = Run({"-json"});
  // The module-read failure is the result; the others' warranty stands.
  EXPECT_EQ(run.status, 7);
  std::string before = ModuleObject(run.output, 5);
  std::string failed = ModuleObject(run.output, 6);
  ASSERT_FALSE(failed.empty()) << run.output;
  EXPECT_NE(before.find("\"bytesRead\":500000000000,"), std::string::npos);
  EXPECT_NE(failed.find("\"serialNum\":\"\","), std::string::npos);
  EXPECT_NE(failed.find("\"bytesRead\":0,"), std::string::npos);
  EXPECT_NE(failed.find("\"powerOnHours\":0.0,"), std::string::npos);
  EXPECT_NE(failed.find("\"lifeLeft\":0,\"peLimited\":false,"), std::string::npos);
  EXPECT_NE(failed.find("\"trimCount\":126000}"), std::string::npos);
  EXPECT_NE(run.output.find("\"warrantyRemaining\":96,"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("\"overallHealth\":\"WARNING\",\"reasonCode\":0}"), std::string::npos);

  // In text: named, the two headings and no rows; the slot is WARNING.
  run = Run({});
  EXPECT_NE(run.output.find("Trim Count                            125000 \n"
                            "ERROR: Failed to get SMART Data at SSD slot number 6\n\n"
                            "-------------- Current (since last Power Cycle)  ----------------------\n\n"
                            "-------------- Cumulative  --------------------------------------------\n"
                            "Trim Count                            126000 \n"),
            std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("Component at \"Cage = 2, Location = Upper\" is in WARNING state."), std::string::npos);
  EXPECT_EQ(Overall(run.output), "WARNING");
}

TEST_F(HealthRunTest, NoModuleReadPromisesNoWarranty) {
  Install(emu::DefaultHost());
  for (uint8_t slot = 4; slot < 8; ++slot) card_->FailSmartRead(slot);
  ProgramRun run = Run({"-json"});
  EXPECT_EQ(run.status, 7);
  EXPECT_NE(run.output.find("\"warrantyRemaining\":0,\"temperature\":0,\"overallHealth\":\"WARNING\""),
            std::string::npos)
      << run.output;
  run = Run({});
  EXPECT_NE(run.output.find("\nWarranty Remaining       : 0 %"), std::string::npos) << run.output;
  EXPECT_EQ(Overall(run.output), "WARNING");
}

TEST_F(HealthRunTest, ModuleWithoutLifeAttribute) {
  Install(emu::DefaultHost());
  std::vector<emu::SmartAttribute>& smart = card_->Module(4)->smart;
  size_t before = smart.size();
  std::erase_if(smart, [](const emu::SmartAttribute& a) { return a.id == 231; });
  ASSERT_EQ(smart.size(), before - 1);
  ProgramRun run = Run({"-json"});
  std::string module = ModuleObject(run.output, 4);
  EXPECT_NE(module.find("\"lifeLeft\":0,\"peLimited\":false,"), std::string::npos) << module;
  EXPECT_NE(ModuleObject(run.output, 5).find("\"lifeLeft\":96,\"peLimited\":true,"), std::string::npos);
}

TEST_F(HealthRunTest, WarrantyOfALifeAboveOneHundred) {
  Install(Card("unconfigured"));
  card_->SetSmartAttribute(7, Attribute(231, 255, 99ull << 16));
  ProgramRun run = Run({});
  size_t last = run.output.rfind("Warranty Remaining                    ");
  ASSERT_NE(last, std::string::npos);
  EXPECT_EQ(run.output.substr(last, 53), "Warranty Remaining                    100        (%)\n");
  run = Run({"-json"});
  EXPECT_NE(ModuleObject(run.output, 7).find(",\"warrantyRemaining\":100}"), std::string::npos);
}

TEST_F(HealthRunTest, NamesAreBoundedToTheirField) {
  emu::HostModel host = emu::DefaultHost();
  emu::AdapterModel& a = *host.FirstAdapter();
  a.chipName = "ABCDEFGHIJKLMNOP";
  a.boardName = "QRSTUVWXYZ123456";
  a.pages = emu::DefaultPages(a);
  Install(std::move(host));
  ProgramRun run = Run({});
  EXPECT_NE(run.output.find("--------------------------------\nABCDEFGHIJKLMNOP QRSTUVWXYZ123456 Health\n"),
            std::string::npos);
}

TEST_F(HealthRunTest, ShortPagesCountAsUnreadable) {
  // Manufacturing page 6 that ends before the auxiliary power entry: the
  // backup rail line (entry 24) still shows.
  Install(emu::DefaultHost());
  card_->CutPage(9, 6, 0, 212);
  ProgramRun run = Run({});
  EXPECT_NE(run.output.find("ERROR: Failed to get AuxPowerStatus.\nBackup Rail Monitor          : GOOD\n"),
            std::string::npos);
  run = Run({"-json"});
  EXPECT_EQ(run.status, 4);
  EXPECT_EQ(run.output.find("auxilaryPower"), std::string::npos);
  EXPECT_NE(run.output.find("\"backupRailMon\":\"GOOD\""), std::string::npos);

  // One that ends before the backup rail entry: both fail, ERROR, reason 1.
  card_->ClearFaults();
  card_->CutPage(9, 6, 0, 208);
  run = Run({"-json"});
  EXPECT_EQ(run.status, 5);
  EXPECT_NE(run.output.find(",\"overallHealth\":\"ERROR\",\"reasonCode\":1}"), std::string::npos);

  // Manufacturing page 10 too short for the life thresholds: no SuperCap
  // lines, the default thresholds.
  card_->ClearFaults();
  card_->CutPage(9, 10, 0, 56);
  run = Run({});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.output.find("---\n\n" + app_test::kTitle + ": Corvexium is not in a proper state.\nAuxiliary Power"),
            std::string::npos);
  run = Run({"-json"});
  EXPECT_EQ(run.status, 2);
  card_->ClearFaults();

  // Page 221 too short for the last slots' trim counts.
  card_->CutPage(15, 221, 26, 16 + 8 * 6);
  run = Run({});
  EXPECT_NE(run.output.find("Trim Count                            125000 \n"), std::string::npos);
  EXPECT_EQ(run.output.find("Trim Count                            126000"), std::string::npos);
  EXPECT_EQ(run.output.find("Trim Count                            127000"), std::string::npos);
  run = Run({"-json"});
  EXPECT_NE(ModuleObject(run.output, 7).find("\"trimCount\":0}"), std::string::npos);
}

TEST_F(HealthRunTest, ForcedReadsFromFlash) {
  for (const auto& [words, forced] : {std::pair<std::vector<std::string>, uint32_t>{{}, 0u},
                                      {{"-fua"}, 1u}, {{"-raw", "-fua"}, 1u}, {{"-json", "-fua"}, 1u}}) {
    Install(emu::DefaultHost());
    ProgramRun run = Run(words);
    EXPECT_EQ(run.status, 0);
    for (uint8_t slot = 4; slot < 8; ++slot) {
      EXPECT_EQ(card_->ModuleActivity(slot).smartReads, 1u);
      EXPECT_EQ(card_->ModuleActivity(slot).forcedSmartReads, forced) << words.size();
    }
  }
  // The menu's question, then the report for the controller chosen.
  Install(emu::DefaultHost());
  ASSERT_EQ(LibZKOpen(), 1u);
  uint32_t count = 0;
  ASSERT_EQ(LibZKDiscoverAdapters(&count), 0u);
  SelectedController = 1;
  CommandContext context;
  card_->SetInput("yes\n");
  ASSERT_EQ(HealthCommandParse(0, nullptr, &context), 0);
  EXPECT_EQ(HealthCommandExec(&context), 0);
  EXPECT_EQ(context.params.get(), nullptr);  // the execute operation freed its record
  EXPECT_EQ(card_->ModuleActivity(6).forcedSmartReads, 1u);
  std::string output = card_->TakeOutput();
  EXPECT_EQ(output.find("*****"), std::string::npos);
  EXPECT_NE(output.find("\nOverall Health           : GOOD\n"), std::string::npos);
  LibZKClose();
}

TEST_F(HealthRunTest, OnlyABusySuperCapIsWaitedFor) {
  Install(emu::DefaultHost());
  Run({});
  EXPECT_EQ(card_->WaitedMicroseconds(), 0u);
  // Busy five times: a second between the asks.
  Install(Card("supercap-busy"));
  ProgramRun run = Run({});
  EXPECT_EQ(card_->WaitedMicroseconds(), 5000000u);
  EXPECT_EQ(Overall(run.output), "GOOD");
}

TEST_F(HealthRunTest, ExaminedSlotsByBoardType) {
  Install(Card("board-type-9"));
  ProgramRun run = Run({"-json"});
  for (uint32_t slot = 0; slot < 8; ++slot) EXPECT_FALSE(ModuleObject(run.output, slot).empty()) << slot;

  // Any other board: slots 4 to 7, also when a module sits in slot 3.
  Install(Card("unconfigured-five"));
  run = Run({"-json"});
  EXPECT_TRUE(ModuleObject(run.output, 3).empty());
  EXPECT_FALSE(ModuleObject(run.output, 4).empty());
  EXPECT_EQ(run.status, 6);
}

}  // namespace

namespace {

class BoardPowerLines : public HealthRunTest {
 protected:
  void EditPage(uint8_t type, uint8_t number, size_t offset, uint8_t value) {
    emu::ConfigPage* page = card_->model().FirstAdapter()->FindPage(type, number);
    ASSERT_NE(page, nullptr);
    for (std::vector<uint8_t>* copy : {&page->current, &page->defaults, &page->nvram}) copy->at(offset) = value;
  }
};

TEST_F(BoardPowerLines, WhatTheBoardHasFitted) {
  const std::string aux = "Auxiliary Power          : CONNECTED\n";
  const std::string rail = "Backup Rail Monitor          : GOOD\n";
  Install(emu::DefaultHost());
  // 24 entries: the backup rail monitor (entry 24) is there, the auxiliary
  // power input (entry 25) is not.
  EditPage(9, 6, 4, 24);
  ProgramRun run = Run({});
  EXPECT_EQ(run.output.find("Auxiliary Power"), std::string::npos);
  EXPECT_NE(run.output.find("SuperCap Status          : GOOD\n" + rail), std::string::npos);
  EditPage(9, 6, 4, 23);
  run = Run({"-json"});
  EXPECT_NE(run.output.find("\"corvexiumID\":1,\"device\":["), std::string::npos);
  EditPage(9, 6, 4, 26);
  EditPage(9, 6, 211, 0xCB);
  run = Run({});
  EXPECT_NE(run.output.find(aux + "\n\n"), std::string::npos);
  EXPECT_EQ(run.output.find("Backup Rail"), std::string::npos);
}

TEST_F(BoardPowerLines, UnreadableAuxiliaryPowerLeavesTheVerdict) {
  Install(emu::DefaultHost());
  EditPage(0, 3, 4, 25);  // the page counts GPIOs 0 to 24 only
  ProgramRun run = Run({});
  EXPECT_NE(run.output.find("Auxiliary Power          : UNKNOWN\nBackup Rail Monitor          : GOOD\n"),
            std::string::npos);
  EXPECT_EQ(Overall(run.output), "GOOD");
  run = Run({"-json"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.output.find("\"auxilaryPower\":\"UNKNOWN\",\"backupRailMon\":\"GOOD\","), std::string::npos);
}

TEST_F(BoardPowerLines, BackupRailFailure) {
  emu::HostModel host = emu::DefaultHost();
  emu::AdapterModel& a = *host.FirstAdapter();
  a.gpioBackupRail = 1;
  a.pages = emu::DefaultPages(a);
  Install(host);
  card_->SetSmartAttribute(5, Attribute(194, 75, 75));  // a warning records no reason
  ProgramRun run = Run({});
  EXPECT_NE(run.output.find("Backup Rail Monitor          : ERROR\n" + app_test::kTitle +
                            ": Failure detected with Backup Rail Monitor. Please contact support.\n"),
            std::string::npos);
  EXPECT_EQ(Overall(run.output), "ERROR");
  EXPECT_EQ(Reason(run.output), "0");
  run = Run({"-json"});
  EXPECT_EQ(run.status, 3);
  EXPECT_NE(run.output.find("\"backupRailMon\":\"ERROR\","), std::string::npos);
  EXPECT_NE(run.output.find(",\"overallHealth\":\"ERROR\",\"reasonCode\":0}"), std::string::npos);

  // A rail that cannot be read: UNKNOWN, ERROR; in JSON reason 1 and code 5.
  Install(emu::DefaultHost());
  card_->CutPage(0, 3, 0, 56);
  run = Run({});
  EXPECT_NE(run.output.find("Backup Rail Monitor          : UNKNOWN\nERROR: Failed to get BRMStatus.\n"),
            std::string::npos);
  EXPECT_EQ(Overall(run.output), "ERROR");
  run = Run({"-json"});
  EXPECT_EQ(run.status, 5);
  EXPECT_NE(run.output.find(",\"overallHealth\":\"ERROR\",\"reasonCode\":1}"), std::string::npos);
}

}  // namespace
