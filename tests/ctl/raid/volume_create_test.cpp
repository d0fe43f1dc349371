// Volume creation: the checks in check-only and commit mode, the problem
// list, and the creation data that goes to the controller.
#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/raid/volume_checks.h"
#include "ctl/raid/volume_create.h"

#include <functional>
#include "tests/ctl/ctl_test_support.h"

namespace ctltest {
namespace {

// Public throughout: the tables of cases change the card through it.
class VolumeCreate : public CardTest {
 public:
  void SetUp() override {
    CardTest::SetUp();
    adapter_ = StartScannedCard(CardFile("unconfigured"));
    for (DeviceRecord* d = FirstAdapterRecord()->devices; d != nullptr; d = d->next) devices_.push_back(d);
    ASSERT_EQ(devices_.size(), 4u);
  }

  CreateVolumeRequest Request(uint32_t members, uint32_t commit = 1) {
    CreateVolumeRequest request{};
    request.size = 288;
    request.commit = commit;
    request.volumeType = 0;
    request.memberCount = static_cast<uint8_t>(members);
    request.lowLevelInit = 1;
    request.defaultSettings = 1;
    request.problems.size = 72;
    for (uint32_t i = 0; i < members && i < 10; ++i) {
      request.members[i].entrySize = 12;
      request.members[i].deviceHandle = devices_[i % devices_.size()]->header.handle;
      request.members[i].memberIndex = static_cast<uint8_t>(i);
    }
    return request;
  }

  LibStatus Create(CreateVolumeRequest* request, LibHandle* created = nullptr) {
    LibHandle volume = 0;
    LibStatus status = QmxCreateVolume(&adapter_, created != nullptr ? created : &volume, request);
    return status;
  }

  size_t CreateActions() {
    size_t count = 0;
    for (const emu::LoggedCall* call : Commands(0x15)) count += call->frame[0] == 2;
    return count;
  }

  const emu::LoggedCall* LastCreate() {
    const emu::LoggedCall* last = nullptr;
    for (const emu::LoggedCall* call : Commands(0x15)) {
      if (call->frame[0] == 2) last = call;
    }
    return last;
  }

  static uint32_t MemberValue(uint32_t reason, const DeviceRecord* d) { return reason << 24 | d->bus << 8 | d->target; }

  // A page of the card with one u32 changed (stored, it wins over the generated one).
  void ChangePageWord(uint8_t type, uint8_t number, size_t offset, uint32_t set) {
    const emu::ConfigPage* page = card().model().FirstAdapter()->FindPage(type, number);
    ASSERT_NE(page, nullptr);
    std::vector<uint8_t> bytes = page->current;
    PutLe32(&bytes, offset, Le32(bytes, offset) | set);
    SetPage(type, number, 0, 0, bytes);
  }
  void SetModuleBlockLength(uint8_t slot, uint32_t blockLength) {
    card().model().FirstAdapter()->FindModule(slot)->blockLength = blockLength;
  }
  using CardTest::card;
  using CardTest::SasDevicePage;
  using CardTest::SetPage;

  LibHandle adapter_ = 0;
  std::vector<DeviceRecord*> devices_;
};


TEST_F(VolumeCreate, CheckOnlyListsEveryProblemCommitStopsAtTheFirst) {
  devices_[2]->lun = 1;
  for (uint32_t commit : {0u, 1u}) {
    SCOPED_TRACE(commit);
    CreateVolumeRequest request = Request(4, commit);
    request.members[1].deviceHandle = 0x02000077;  // names no device
    EXPECT_EQ(Create(&request), kLibCreateProblems);
    std::vector<std::pair<uint32_t, uint32_t>> listed;
    for (uint32_t i = 0; i < request.problems.count; ++i) {
      listed.emplace_back(request.problems.problems[i].code, request.problems.problems[i].value);
    }
    std::vector<std::pair<uint32_t, uint32_t>> expected = {{1, 0x08000000}};
    if (commit == 0) expected.emplace_back(1, MemberValue(0x03, devices_[2]));
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(CreateActions(), 0u);
  }
  EXPECT_TRUE(card().model().FirstAdapter()->raid.volumes.empty());
}

TEST_F(VolumeCreate, ProblemListFillsUpTo20) {
  CreateVolumeRequest request = Request(10, 0);
  for (uint32_t i = 0; i < 10; ++i) request.members[i].deviceHandle = 0x02000100 + i;
  EXPECT_EQ(Create(&request), kLibProblemListFull);
  EXPECT_EQ(request.problems.count, 8u);
  // A list too small or already full is refused before anything is checked.
  CreateVolumeRequest small = Request(4, 0);
  small.problems.size = 71;
  EXPECT_EQ(Create(&small), kLibBufferTooSmall);
  EXPECT_EQ(CreateActions(), 0u);
}

TEST_F(VolumeCreate, MemberDeviceChecks) {
  struct Case {
    const char* name;
    void (*change)(DeviceRecord*);
    uint32_t reason;
  } cases[] = {
      {"not a disk", [](DeviceRecord* d) { d->peripheralType = 5; }, 0x01},
      {"LUN 1", [](DeviceRecord* d) { d->lun = 1; }, 0x03},
      {"removable", [](DeviceRecord* d) { d->info.bytes[device_info::kInquiry + 1] = 0x80; }, 0x04},
      {"4096 on a 512 adapter", [](DeviceRecord* d) { ::PutLe32(d->info.bytes, device_info::kBlockLength, 4096); }, 0x0A},
      {"520-byte blocks", [](DeviceRecord* d) { ::PutLe32(d->info.bytes, device_info::kBlockLength, 520); }, 0x09},
      {"never identified (block length 0)", [](DeviceRecord* d) { ::PutLe32(d->info.bytes, device_info::kBlockLength, 0); }, 0x09},
      {"in use", [](DeviceRecord* d) { d->attachedBuffer = QmxAlloc(nullptr, 1, 8); }, 0x06},
  };
  uint32_t sectorSize = 0;
  ASSERT_EQ(GetAdapterSectorSize(context(), &adapter_, &sectorSize), kLibOk);
  ASSERT_EQ(sectorSize, 512u);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(QmxRefreshAdapter(&adapter_), kLibOk);
    devices_.clear();
    for (DeviceRecord* d = FirstAdapterRecord()->devices; d != nullptr; d = d->next) devices_.push_back(d);
    c.change(devices_[3]);
    CreateVolumeRequest request = Request(4, 1);
    EXPECT_EQ(Create(&request), c.reason == 0x06 ? kLibMemberInUse : kLibCreateProblems);
    ASSERT_EQ(request.problems.count, 1u);
    EXPECT_EQ(request.problems.problems[0].code, 1u);
    EXPECT_EQ(request.problems.problems[0].value, MemberValue(c.reason, devices_[3]));
  }
  EXPECT_EQ(CreateActions(), 0u);
}

TEST_F(VolumeCreate, DriveCountsAndType) {
  CreateVolumeRequest one = Request(1, 0);
  EXPECT_EQ(Create(&one), kLibCreateProblems);
  ASSERT_EQ(one.problems.count, 1u);
  EXPECT_EQ(one.problems.problems[0].code, 8u);   // fewer than the RAID0 minimum ...
  EXPECT_EQ(one.problems.problems[0].value, 2u);  // ... of 2

  // An unknown type passes the checks and is refused only when sent.
  CreateVolumeRequest odd = Request(4, 0);
  odd.volumeType = 3;
  EXPECT_EQ(Create(&odd), kLibOk);
  odd.commit = 1;
  EXPECT_EQ(Create(&odd), kLibVolumeTypeRefused);
  EXPECT_EQ(CreateActions(), 0u);

  // Data migration is for RAID1 only.
  CreateVolumeRequest migrate = Request(4, 0);
  migrate.migrateData = 1;
  EXPECT_EQ(Create(&migrate), kLibCreateProblems);
  EXPECT_EQ(migrate.problems.problems[migrate.problems.count - 1].code, 11u);
  EXPECT_EQ(migrate.problems.problems[migrate.problems.count - 1].value, 2u);
}

TEST_F(VolumeCreate, SizeAboveWhatTheMembersAllow) {
  CreateVolumeRequest request = Request(4, 1);
  uint64_t member = GetLe64(devices_[0]->info.bytes, device_info::kCapacity);
  request.volumeSize = member * 4 + 512;
  EXPECT_EQ(Create(&request), kLibCreateProblems);
  ASSERT_EQ(request.problems.count, 1u);
  EXPECT_EQ(request.problems.problems[0].code, 12u);
  uint64_t rounded = 0;
  RoundVolumeSize(context(), member, &rounded);
  EXPECT_EQ(request.problems.problems[0].value, rounded >> 20);
  EXPECT_EQ(CreateActions(), 0u);
}

TEST_F(VolumeCreate, CreationDataForAllMembers) {
  struct Case {
    uint64_t size;
    uint64_t maxLba;
  } cases[] = {{0, 0}, {1000000000ull * 200, 1000000000ull * 200 / 512}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    ASSERT_EQ(QmxRefreshAdapter(&adapter_), kLibOk);
    devices_.clear();
    for (DeviceRecord* d = FirstAdapterRecord()->devices; d != nullptr; d = d->next) devices_.push_back(d);
    CreateVolumeRequest request = Request(4, 1);
    request.volumeSize = c.size;
    std::memcpy(request.name, "Corvexium", 9);
    LibHandle created = 0;
    ASSERT_EQ(Create(&request, &created), kLibOk);
    const emu::LoggedCall* call = LastCreate();
    ASSERT_NE(call, nullptr);
    const std::vector<uint8_t>& d = call->dataOut;
    ASSERT_EQ(d.size(), 44u + 4 * 4);  // every member after the 44-byte head
    EXPECT_EQ(d[0], 4);
    EXPECT_EQ(d[1], 0);
    EXPECT_EQ(Le32(d, 4), 0x80000002u);  // default settings, low-level initialisation
    EXPECT_EQ(Le32(d, 8), 0u);
    EXPECT_EQ(GetLe64(d.data(), 16), c.maxLba);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(d.data() + 28), 9), "Corvexium");
    for (uint32_t i = 0; i < 4; ++i) {
      EXPECT_EQ(d[44 + 4 * i + 1], i);
      EXPECT_EQ(Le16(d, 44 + 4 * i + 2), DeviceDevHandle(devices_[i]));
    }
    EXPECT_EQ(Le32(call->frame, 12), 0x57u);
    // The new volume's objects.
    VolumeRecord* volume = FirstAdapterRecord()->volumes;
    ASSERT_NE(volume, nullptr);
    EXPECT_EQ(volume->header.handle, created);
    uint32_t members = 0;
    EXPECT_EQ(QmxCountMemberDisks(&created, &members), kLibOk);
    EXPECT_EQ(members, 4u);
    EXPECT_EQ(PhysDiskDevHandle(volume->members), DeviceDevHandle(devices_[0]));
    // Put the card back for the next case.
    ASSERT_EQ(QmxDeleteVolume(&created, 0), kLibOk);
  }
}

TEST_F(VolumeCreate, CustomSettingsAndTheRaid1MemberMap) {
  CreateVolumeRequest request = Request(2, 1);
  request.volumeType = 2;
  request.defaultSettings = 0;
  request.hotSparePool = 3;
  request.writeCaching = 1;
  request.productIdSuffix = 1;
  request.resyncRate = 7;
  request.scrubDuration = 300;
  request.backgroundInit = 1;
  request.lowLevelInit = 0;
  request.featureRequest = 0;
  Create(&request);
  const emu::LoggedCall* call = LastCreate();
  ASSERT_NE(call, nullptr);
  const std::vector<uint8_t>& d = call->dataOut;
  ASSERT_EQ(d.size(), 52u);
  EXPECT_EQ(d[1], 2);
  EXPECT_EQ(Le32(d, 4), 0x4u);
  EXPECT_EQ(Le32(d, 8), (3u << 16) | 0x8 | 0x4 | 0x2);
  EXPECT_EQ(d[13], 7);
  EXPECT_EQ(Le16(d, 14), 300);
  EXPECT_EQ(d[44 + 1], 1);
  EXPECT_EQ(d[48 + 1], 2);
}

TEST_F(VolumeCreate, MemberWithoutABlockLengthIsNotDividedBy) {
  CreateVolumeRequest request = Request(4, 1);
  request.volumeSize = 1 << 30;
  ::PutLe32(devices_[0]->info.bytes, device_info::kBlockLength, 0);
  LibHandle created = 0;
  EXPECT_EQ(SendCreateVolume(context(), &adapter_, &created, &request, request.volumeSize), kLibBadParameter);
  // "As large as possible" needs no division.
  EXPECT_EQ(SendCreateVolume(context(), &adapter_, &created, &request, 0), kLibOk);
  EXPECT_EQ(CreateActions(), 1u);
}

TEST_F(VolumeCreate, RequestRecordIsChecked) {
  CreateVolumeRequest request = Request(4, 1);
  request.size = 287;
  EXPECT_EQ(Create(&request), kLibWrongRecordSize);
  request = Request(4, 1);
  request.memberCount = 11;
  EXPECT_EQ(Create(&request), kLibBadParameter);
  request.memberCount = 0;
  EXPECT_EQ(Create(&request), kLibBadParameter);
  EXPECT_EQ(QmxCreateVolume(&adapter_, nullptr, nullptr), kLibBadParameter);
  LibHandle other = 0x01000077;
  request = Request(4, 1);
  EXPECT_EQ(QmxCreateVolume(&other, nullptr, &request), kLibAdapterNotFound);
  EXPECT_EQ(card().CountFunction(0x15), 0u);
}


TEST_F(VolumeCreate, MembersComparedWithEachOther) {
  struct Case {
    const char* name;
    std::function<void(VolumeCreate*)> change;
    uint32_t code;
    uint32_t value;
  } cases[] = {
      {"a 4K member on a 4K adapter differs in its sectors",
       [](VolumeCreate* t) {
         t->ChangePageWord(1, 6, 4, 0x20);
         t->SetModuleBlockLength(7, 4096);
       },
       26, 4},
      {"an OEM attribute differs where manufacturing page 10 asks for it",
       [](VolumeCreate* t) {
         t->ChangePageWord(9, 10, 12, 0x100);
         t->card().model().FirstAdapter()->FindModule(7)->oemAttributes = 0;
         t->SetModuleBlockLength(7, 520);  // what makes the controller call it incompatible
       },
       26, 8},
      {"a SAS member among SATA members",
       [](VolumeCreate* t) { t->SetPage(15, 0, 0x12, 0x000A, t->SasDevicePage(0x000A, 5, 1, 0xC00)); }, 2, 0},
      {"two members in one slot",
       [](VolumeCreate*) {},  // the slot is changed in the tree below
       25, (1u << 16) | 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start(CardFile("unconfigured"));
    c.change(this);
    ASSERT_EQ(Discover(), kLibOk);
    adapter_ = FirstAdapterRecord()->header.handle;
    devices_.clear();
    for (DeviceRecord* d = FirstAdapterRecord()->devices; d != nullptr; d = d->next) devices_.push_back(d);
    ASSERT_EQ(devices_.size(), 4u);
    if (c.code == 25) ::PutLe16(devices_[2]->info.bytes, device_info::kSlot, 4);
    CreateVolumeRequest request = Request(4, 0);
    Create(&request);
    bool found = false;
    for (uint32_t i = 0; i < request.problems.count; ++i) {
      found |= request.problems.problems[i].code == c.code && request.problems.problems[i].value == c.value;
    }
    EXPECT_TRUE(found) << request.problems.count << " problems, first " << request.problems.problems[0].code << "/"
                       << request.problems.problems[0].value;
  }
}

TEST_F(VolumeCreate, ChecksThatNoRunCalls) {
  CreateVolumeRequest request = Request(4, 0);
  CreateCheckRun run{context(), FirstAdapterRecord(), &request, RaidLimits{}};
  ASSERT_EQ(ReadRaidLimits(context(), &adapter_, &run.limits), kLibOk);
  EXPECT_EQ(CheckMediaMix(run), kLibOk);
  EXPECT_EQ(CheckDuplicateDevHandleSlots(run), kLibOk);
  ::PutLe32(devices_[1]->info.bytes, device_info::kNonRotating, 0);  // a rotating disk among solid state ones
  EXPECT_EQ(CheckMediaMix(run), kLibCreateProblems);
  SetPage(15, 0, 0x12, 0x000B, SasDevicePage(0x000B, 4));  // slot 4 twice
  EXPECT_EQ(CheckDuplicateDevHandleSlots(run), kLibCreateProblems);
  ASSERT_EQ(request.problems.count, 2u);
  EXPECT_EQ(request.problems.problems[0].code, 3u);
  EXPECT_EQ(request.problems.problems[1].code, 4u);
  EXPECT_EQ(request.problems.problems[1].value, (1u << 16) | 4);
}

}  // namespace
}  // namespace ctltest
