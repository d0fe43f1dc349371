// Volume sizes as users are shown them, and the problem list.
#include "ctl/raid/volume_create.h"
#include "tests/ctl/ctl_test_support.h"

namespace ctltest {
namespace {

constexpr uint64_t kMiB = 1ull << 20;

TEST(RoundVolumeSize, DecimalGigabytesAndMebibytes) {
  struct Case {
    uint64_t size;
    uint64_t rounded;
  } cases[] = {
      {1600321314816ull, 1600000000000ull},
      {1000000000ull, 1000000000ull},
      {1999999999ull, 1000000000ull},
      {800 * kMiB, 758 * kMiB},   // 800 -> 928 -> 896 -> 890 above 800: 768 -> 760, minus 2
      {900 * kMiB, 888 * kMiB},   // 1028 -> 1024 -> 1020 above 900: 896 -> 890, minus 2
      {130 * kMiB, 118 * kMiB},   // 258 -> 256 -> 250 above 130: 128 -> 120, minus 2
      {100 * kMiB, 0},            // nothing left below 128 MiB: no wrap round
      {0, 0},
  };
  for (const Case& c : cases) {
    uint64_t rounded = 1;
    EXPECT_EQ(RoundVolumeSize(nullptr, c.size, &rounded), kLibOk);
    EXPECT_EQ(rounded, c.rounded) << c.size;
  }
  EXPECT_EQ(RoundVolumeSize(nullptr, 1, nullptr), kLibBadParameter);
}

TEST(ConfigProblems, ListFillsToEightThenAnswers20) {
  ConfigProblemList list{72, 0, {}};
  for (uint32_t i = 0; i < 8; ++i) EXPECT_EQ(AddConfigProblem(nullptr, &list, 1, i), kLibCreateProblems);
  EXPECT_EQ(AddConfigProblem(nullptr, &list, 5, 99), kLibProblemListFull);
  EXPECT_EQ(list.count, 8u);
  EXPECT_EQ(list.problems[7].value, 7u);

  ConfigProblemList small{71, 0, {}};
  EXPECT_EQ(AddConfigProblem(nullptr, &small, 1, 0), kLibBufferTooSmall);
  EXPECT_EQ(small.count, 0u);
  EXPECT_EQ(AddConfigProblem(nullptr, nullptr, 1, 0), kLibCreateProblems);
}

}  // namespace
}  // namespace ctltest
