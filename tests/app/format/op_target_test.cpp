// The over-provisioning target of the format command, measured on the
// emulated card's modules: where the module count comes from, which module
// is measured, its capacity, and whether it can take the target.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "app/format/op_target.h"
#include "app/shell/program_state.h"
#include "app_test_support.h"
#include "card_fixture.h"
#include "emu/controller/command_handler.h"
#include "emu/controller/handlers.h"
#include "emu/card_file/named_cards.h"

namespace {

using app_test::Message;

// What the modules of the default card report: '0' "2519" (capacity 128),
// 250069680 native sectors.
constexpr uint32_t kDefaultNativeMax = 250069679;
constexpr uint32_t kUntouched = 0xDEADBEEF;

FormatOptions AllSlots(uint32_t opValue, uint32_t maxLbaGiven = 0) {
  FormatOptions options{};
  options.allSlots = 1;
  options.opRequested = 1;
  options.opValue = opValue;
  options.maxLbaGiven = maxLbaGiven;
  return options;
}

FormatOptions OneSlot(uint8_t slot, uint32_t opValue, uint32_t maxLbaGiven = 0) {
  FormatOptions options = AllSlots(opValue, maxLbaGiven);
  options.allSlots = 0;
  options.slot = slot;
  return options;
}

class OpTarget : public app_test::CardFixture {
 protected:
  void SetUp() override {
    SelectedController = 1;
    Start(emu::DefaultHost());
  }
  void TearDown() override {
    SelectedController = 0;
    CardFixture::TearDown();
  }
  void StartNamed(const char* name) {
    LibZKClose();
    emu::HostModel host;
    ASSERT_TRUE(emu::BuildNamedCard(name, &host));
    Start(std::move(host));
  }

  struct Outcome {
    uint32_t result = kUntouched;
    uint32_t supported = kUntouched;
    uint32_t target = kUntouched;
    std::string output;
  };
  Outcome Compute(const FormatOptions& options, uint32_t volumeExists = 1, uint32_t volumeDegraded = 0,
                  uint32_t volumeCount = 1) {
    Outcome o;
    o.result = ComputeOpTarget(&o.supported, &options, &o.target, volumeExists, volumeDegraded, volumeCount);
    o.output = card().TakeOutput();
    return o;
  }
};

TEST_F(OpTarget, TargetsOnTheDefaultCardAgainstTheNativeMaximum) {
  struct Case {
    FormatOptions options;
    uint32_t target;
    uint32_t supported;
  };
  const Case cases[] = {
      {AllSlots(28), 195312500, 1},                      // nominal, capacity 128
      {AllSlots(60), 156250000, 1},                      // performance
      {AllSlots(0), 250000000, 1},                       // no spare area at all
      {OneSlot(6, 16), 215517238, 1},                    // one module, maximum capacity
      {AllSlots(kDefaultNativeMax, 1), kDefaultNativeMax, 1},          // the native maximum itself
      {AllSlots(kDefaultNativeMax + 1, 1), kDefaultNativeMax + 1, 0},  // one sector beyond it
      {AllSlots(0xFFFFFFFF, 1), 0xFFFFFFFF, 0},
  };
  for (const Case& c : cases) {
    Outcome o = Compute(c.options);
    EXPECT_EQ(o.result, 0u) << c.options.opValue;
    EXPECT_EQ(o.target, c.target) << c.options.opValue;
    EXPECT_EQ(o.supported, c.supported) << c.options.opValue;
    EXPECT_EQ(o.output, "") << c.options.opValue;
  }
}

TEST_F(OpTarget, HugePercentagesGiveATinyTargetWithoutOverflow) {
  // The command line sets no upper bound on the percentage.
  for (uint32_t percent : {1000u, 100000u, 0xFFFFFFFFu}) {
    Outcome o = Compute(AllSlots(percent));
    EXPECT_EQ(o.result, 0u) << percent;
    // Single precision leaves the last digit or two of the exact value.
    double exact = 250000000.0 * 100.0 / (100.0 + percent);
    EXPECT_GE(o.target, 1u) << percent;
    EXPECT_NEAR(static_cast<double>(o.target), exact, 3.0) << percent;
    EXPECT_EQ(o.supported, 1u) << percent;
  }
}

TEST_F(OpTarget, UnknownConfigurationIsMeasuredFromItsIdentifyData) {
  LibZKClose();
  emu::HostModel host = emu::DefaultHost();
  emu::ModuleModel* m = host.FirstAdapter()->FindModule(4);
  ASSERT_NE(m, nullptr);
  m->modelType = '7';
  m->configId = "2599";
  m->nativeSectors = 1000215216;
  m->maxSectors = 1000215216;
  Start(std::move(host));
  // Capacity 476: 476 × 2^30 / 512 × 100 / 128 × 0.9313225746, rounded up.
  Outcome o = Compute(AllSlots(28));
  EXPECT_EQ(o.result, 0u);
  EXPECT_EQ(o.target, 726318360u);
  EXPECT_EQ(o.supported, 1u);
  // The module of slot 5 still has a known configuration.
  o = Compute(OneSlot(5, 28));
  EXPECT_EQ(o.target, 195312500u);
}

TEST_F(OpTarget, TheFirstSelectedModulePresentIsMeasured) {
  // Slot 4 is small and slot 5 large: all slots measure slot 4.
  LibZKClose();
  emu::HostModel host = emu::DefaultHost();
  host.FirstAdapter()->FindModule(4)->nativeSectors = 100000000;
  host.FirstAdapter()->FindModule(4)->maxSectors = 100000000;
  Start(std::move(host));
  Outcome all = Compute(AllSlots(0));
  EXPECT_EQ(all.target, 250000000u);
  EXPECT_EQ(all.supported, 0u);
  Outcome five = Compute(OneSlot(5, 0));
  EXPECT_EQ(five.target, 250000000u);
  EXPECT_EQ(five.supported, 1u);
}

TEST_F(OpTarget, ASelectedSlotWithoutAModuleFailsQuietly) {
  Outcome o = Compute(OneSlot(2, 28));
  EXPECT_NE(o.result, 0u);
  EXPECT_EQ(o.supported, 0u);
  EXPECT_EQ(o.target, kUntouched);
  EXPECT_EQ(o.output, "");
}

TEST_F(OpTarget, NoModulesAtAllIsNotAFailure) {
  LibZKClose();
  emu::HostModel host = emu::UnconfiguredHost();
  host.FirstAdapter()->modules.clear();
  Start(std::move(host));
  Outcome o = Compute(AllSlots(28), 0, 0, 0);
  EXPECT_EQ(o.result, 0u);
  EXPECT_EQ(o.supported, 0u);
  EXPECT_EQ(o.target, kUntouched);
  EXPECT_EQ(o.output, "");
}

TEST_F(OpTarget, ADegradedVolumeCountsItsMembers) {
  StartNamed("degraded");
  // The members of the one volume are counted; slot 4 is still optimal.
  Outcome o = Compute(AllSlots(28), 1, 1, 1);
  EXPECT_EQ(o.result, 0u);
  EXPECT_EQ(o.target, 195312500u);
  EXPECT_EQ(o.supported, 1u);
  EXPECT_EQ(o.output, "");
  // No volume to read: no module counted, nothing measured.
  o = Compute(AllSlots(28), 1, 1, 0);
  EXPECT_EQ(o.result, 0u);
  EXPECT_EQ(o.supported, 0u);
  EXPECT_EQ(o.target, kUntouched);
  // A volume that the card does not have.
  o = Compute(AllSlots(28), 1, 1, 2);
  EXPECT_EQ(o.result, 1u);
  EXPECT_EQ(o.supported, 0u);
  EXPECT_EQ(o.target, kUntouched);
  EXPECT_EQ(o.output, "\nFailed to get RAID volume information.");
  // Without the degraded flag the card's device count is used.
  o = Compute(AllSlots(28), 1, 0, 2);
  EXPECT_EQ(o.result, 0u);
  EXPECT_EQ(o.supported, 1u);
}

TEST_F(OpTarget, AModuleThatSpeaksSasHasNoDiagnosticInformation) {
  StartNamed("sas-module");
  // Slot 7 speaks SAS; the module protocol query still answers SATA, so the
  // SATA diagnostic read is tried and fails.
  Outcome o = Compute(OneSlot(7, 28));
  EXPECT_NE(o.result, 0u);
  EXPECT_EQ(o.supported, 0u);
  EXPECT_EQ(o.target, kUntouched);
  EXPECT_EQ(o.output, "Failed to get diagnostic information.\n");
  // Every slot: slot 4, a SATA module, is measured.
  o = Compute(AllSlots(28));
  EXPECT_EQ(o.result, 0u);
  EXPECT_EQ(o.target, 195312500u);
  EXPECT_EQ(o.supported, 1u);
}

// READ NATIVE MAX ADDRESS EXT (command 0x27 in the FIS at frame byte
// 28 + 2 of the SATA passthrough, function 0x1C) answered by the module with
// ERR (status FIS byte 2 of the reply's FIS at 20), or refused by the
// controller with an IOCStatus.
void BreakNativeMaxRead(emu::Emulator& card, bool moduleError) {
  emu::FunctionHandler base = emu::SataPassthroughHandler();
  card.RegisterFunction(0x1C, emu::FunctionHandler{base.minimumFrameBytes, [base, moduleError](
                                                                              emu::CommandRequest& request,
                                                                              emu::CommandAnswer& answer) {
                          bool nativeMax = request.frame.size() > 30 && request.frame[30] == 0x27;
                          if (nativeMax && !moduleError) {
                            answer.reply = emu::NewReply(request, 48);
                            emu::SetReplyStatus(&answer.reply, 0x0004);
                            return;
                          }
                          base.handle(request, answer);
                          if (nativeMax && answer.reply.size() > 22) answer.reply[22] = 0x51;
                        }});
}

TEST_F(OpTarget, ANativeMaximumThatCannotBeReadIsNeverSupported) {
  // Even a target far below the module's size is not supported then. The
  // module's own error is reported and returned; the controller's refusal
  // leaves the maximum at 0.
  BreakNativeMaxRead(card(), true);
  Outcome o = Compute(AllSlots(60));
  EXPECT_EQ(o.result, 1u);
  EXPECT_EQ(o.target, 156250000u);
  EXPECT_EQ(o.supported, 0u);
  EXPECT_EQ(o.output, "Failed to get native max address.\n");

  BreakNativeMaxRead(card(), false);
  o = Compute(AllSlots(60));
  EXPECT_EQ(o.target, 156250000u);
  EXPECT_EQ(o.supported, 0u);
}

TEST_F(OpTarget, AControllerThatIsNotThereFails) {
  SelectedController = 2;
  Outcome o = Compute(AllSlots(28));
  EXPECT_EQ(o.result, 1u);
  EXPECT_EQ(o.supported, 0u);
  EXPECT_EQ(o.target, kUntouched);
  EXPECT_EQ(o.output, "\nERROR: Failed getting controller information.\n");
}

}  // namespace
