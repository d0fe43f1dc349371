// The controller's events through the facade: the driver's event ioctls,
// the adapter's event queue (ring order, mask, records handed out one at a
// time) and the event-log queue from log page 0.
#include <cerrno>
#include <cstring>
#include <vector>

#include "ctl/events/events.h"
#include "tests/ctl/ctl_test_support.h"

namespace ctltest {
namespace {

constexpr uint32_t kEventQueryRequest = 0xC0204C15;
constexpr uint32_t kEventEnableRequest = 0xC01C4C16;
constexpr uint32_t kEventReportRequest = 0xC0D44C17;
constexpr int64_t kStartTime = 1717243200;  // the emulated clock's start

// A driver entry: code, sequence number and a recognisable data byte.
std::vector<uint8_t> Entry(uint32_t code, uint32_t sequence) {
  std::vector<uint8_t> entry(200, 0);
  PutLe32(&entry, 0, code);
  PutLe32(&entry, 4, sequence);
  entry[8] = static_cast<uint8_t>(sequence);
  entry[199] = 0xA5;
  return entry;
}

std::vector<uint8_t> EmptyRecord(uint32_t sizeWord) {
  std::vector<uint8_t> record(216, 0xEE);
  PutLe32(&record, 0, sizeWord);
  return record;
}

class Events : public CardTest {
 protected:
  LibHandle StartWithRing(const std::vector<std::vector<uint8_t>>& ring) {
    LibHandle adapter = StartDefaultCard();
    card().model().FirstAdapter()->eventRing = ring;
    return adapter;
  }
  void EnableAll(LibHandle adapter) {
    uint8_t all[16];
    std::memset(all, 0xFF, sizeof all);
    ASSERT_EQ(QmxSetEventMask(&adapter, all), kLibOk);
  }
  // The sequence numbers of every queued record, popped oldest first.
  std::vector<uint32_t> Drain(LibHandle adapter) {
    std::vector<uint32_t> sequences;
    for (;;) {
      std::vector<uint8_t> record = EmptyRecord(216);
      LibStatus status = QmxNextEventRecord(&adapter, record.data());
      if (status == kLibEventQueueEmpty) break;
      EXPECT_EQ(status, kLibOk);
      if (status != kLibOk) break;
      sequences.push_back(Le32(record, 20));
    }
    return sequences;
  }
};

TEST_F(Events, QueryEnableAndTheBlocksTheDriverSees) {
  LibHandle adapter = StartWithRing({Entry(1, 1), Entry(2, 2), Entry(3, 3)});
  uint32_t* driverMask = card().model().FirstAdapter()->eventMask;
  driverMask[0] = 0x1;
  driverMask[3] = 0x80000000;

  uint8_t mask[16] = {};
  uint16_t entries = 0;
  ASSERT_EQ(QmxEventQuery(&adapter, mask, &entries), kLibOk);
  EXPECT_EQ(entries, 3);
  EXPECT_EQ(Le32(std::vector<uint8_t>(mask, mask + 16), 0), 0x1u);
  EXPECT_EQ(Le32(std::vector<uint8_t>(mask, mask + 16), 12), 0x80000000u);
  EXPECT_EQ(QmxEventQuery(&adapter, nullptr, nullptr), kLibOk);  // both outputs may be left out

  // Enabling adds to what the driver has.
  const uint32_t more[4] = {0x4, 0, 0x10, 0};
  uint32_t written[4] = {};
  ASSERT_EQ(QmxEventEnable(&adapter, more, written), kLibOk);
  const uint32_t expected[4] = {0x5, 0, 0x10, 0x80000000};
  for (int word = 0; word < 4; ++word) {
    EXPECT_EQ(written[word], expected[word]) << word;
    EXPECT_EQ(driverMask[word], expected[word]) << word;
  }
  ASSERT_EQ(QmxEventEnableFromAdapter(&adapter), kLibOk);
  for (int word = 0; word < 4; ++word) EXPECT_EQ(driverMask[word], 0u) << word;

  // Each block names the adapter and the size the driver may use.
  for (const emu::LoggedCall& call : card().log()) {
    ASSERT_GE(call.block.size(), 12u);
    EXPECT_EQ(Le32(call.block, 0), 0u);  // IOC number
    EXPECT_EQ(Le32(call.block, 4), 0u);  // port
    if (call.request == kEventQueryRequest) {
      EXPECT_EQ(Le32(call.block, 8), 32u);
    } else if (call.request == kEventEnableRequest) {
      EXPECT_EQ(Le32(call.block, 8), 28u);
    }
  }
  // The library keeps no node open between calls.
  EXPECT_EQ(card().OpenDescriptors(), 0);
}

TEST_F(Events, FailedIoctlsAndUnknownAdapters) {
  LibHandle adapter = StartWithRing({Entry(1, 1)});
  LibHandle missing = 0x01000077;
  uint16_t entries = 0;
  EXPECT_EQ(QmxEventQuery(&missing, nullptr, &entries), kLibAdapterNotFound);
  card().FailIoctl(kEventQueryRequest, EIO, 1);
  EXPECT_EQ(QmxEventQuery(&adapter, nullptr, &entries), kLibIoctlFailed);
  card().FailIoctl(kEventEnableRequest, EIO, 1);
  const uint32_t more[4] = {1, 0, 0, 0};
  uint32_t written[4] = {7, 7, 7, 7};
  EXPECT_EQ(QmxEventEnable(&adapter, more, written), kLibIoctlFailed);
  EXPECT_EQ(written[0], 7u);  // nothing reported as written
  card().FailIoctl(kEventReportRequest, EIO, 1);
  EXPECT_EQ(QmxCollectEvents(&adapter), kLibIoctlFailed);
  EnableAll(adapter);
  EXPECT_EQ(Drain(adapter), std::vector<uint32_t>{});
}

// The driver keeps more entries than the caller made room for: the copy
// stops at the room, and the block the driver is told of holds just that.
TEST_F(Events, ReportCopiesNoMoreThanTheRoom) {
  LibHandle adapter = StartWithRing({Entry(1, 1), Entry(2, 2), Entry(3, 3), Entry(4, 4), Entry(5, 5)});
  std::vector<uint8_t> buffer(3 * 200, 0xCC);
  uint16_t count = 2;
  ASSERT_EQ(QmxEventReport(&adapter, buffer.data(), &count), kLibOk);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(Le32(buffer, 4), 1u);
  EXPECT_EQ(Le32(buffer, 204), 2u);
  for (size_t i = 400; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], 0xCC) << i;
  const emu::LoggedCall& report = card().log().back();
  ASSERT_EQ(report.request, kEventReportRequest);
  EXPECT_EQ(Le32(report.block, 8), 412u);  // (2 - 1) x 200 + 212

  count = 9;  // room for more than the driver keeps
  std::vector<uint8_t> large(9 * 200, 0xCC);
  ASSERT_EQ(QmxEventReport(&adapter, large.data(), &count), kLibOk);
  EXPECT_EQ(count, 5);
  EXPECT_EQ(large[5 * 200], 0xCC);
}

TEST_F(Events, CollectTakesTheRingOldestFirst) {
  struct Case {
    const char* name;
    std::vector<std::vector<uint8_t>> ring;
    std::vector<uint32_t> queued;
  };
  const std::vector<uint8_t> unused(200, 0);
  const Case cases[] = {
      {"in order", {Entry(1, 1), Entry(1, 2), Entry(1, 3)}, {1, 2, 3}},
      {"room left at the end", {Entry(1, 1), Entry(1, 2), unused, unused}, {1, 2}},
      {"wrapped", {Entry(1, 7), Entry(1, 8), Entry(1, 3), Entry(1, 4), Entry(1, 5), Entry(1, 6)}, {3, 4, 5, 6, 7, 8}},
      {"wrapped once", {Entry(1, 9), Entry(1, 5), Entry(1, 6), Entry(1, 7), Entry(1, 8)}, {5, 6, 7, 8, 9}},
      {"empty", {unused, unused}, {}},
      {"no entries kept", {}, {}},
  };
  for (const Case& c : cases) {
    LibHandle adapter = StartWithRing(c.ring);
    EnableAll(adapter);
    ASSERT_EQ(QmxCollectEvents(&adapter), kLibOk) << c.name;
    EXPECT_EQ(Drain(adapter), c.queued) << c.name;
    // What was queued once is not queued again.
    ASSERT_EQ(QmxCollectEvents(&adapter), kLibOk) << c.name;
    EXPECT_EQ(Drain(adapter), std::vector<uint32_t>{}) << c.name;
  }
}

TEST_F(Events, OnlyNewEntriesFollowLater) {
  LibHandle adapter = StartWithRing({Entry(1, 1), Entry(1, 2), Entry(1, 0), Entry(1, 0)});
  EnableAll(adapter);
  ASSERT_EQ(QmxCollectEvents(&adapter), kLibOk);
  EXPECT_EQ(Drain(adapter), (std::vector<uint32_t>{1, 2}));
  // The driver fills the ring and wraps over the oldest entry.
  card().model().FirstAdapter()->eventRing = {Entry(1, 5), Entry(1, 2), Entry(1, 3), Entry(1, 4)};
  ASSERT_EQ(QmxCollectEvents(&adapter), kLibOk);
  EXPECT_EQ(Drain(adapter), (std::vector<uint32_t>{3, 4, 5}));
}

TEST_F(Events, TheAdaptersMaskChoosesTheTypes) {
  struct Case {
    const char* name;
    uint32_t word;
    uint32_t bits;
    std::vector<uint32_t> queued;  // of codes 1, 33, 140 at sequences 1, 2, 3
  };
  const Case cases[] = {
      {"nothing enabled: only codes of 128 and above", 0, 0, {3}},
      {"bit 1 of word 0 is code 1", 0, 0x2, {1, 3}},
      {"bit 1 of word 1 is code 33", 1, 0x2, {2, 3}},
      {"bit 0 of word 1 is code 32, not 33", 1, 0x1, {3}},
  };
  for (const Case& c : cases) {
    LibHandle adapter = StartWithRing({Entry(1, 1), Entry(33, 2), Entry(140, 3)});
    std::vector<uint8_t> mask(16, 0);
    PutLe32(&mask, 4 * c.word, c.bits);
    ASSERT_EQ(QmxSetEventMask(&adapter, mask.data()), kLibOk) << c.name;
    ASSERT_EQ(QmxCollectEvents(&adapter), kLibOk) << c.name;
    EXPECT_EQ(Drain(adapter), c.queued) << c.name;
  }
}

TEST_F(Events, RecordsAreHandedOutWhole) {
  LibHandle adapter = StartWithRing({Entry(0x21, 4)});
  EnableAll(adapter);
  ASSERT_EQ(QmxCollectEvents(&adapter), kLibOk);

  std::vector<uint8_t> wrong = EmptyRecord(200);
  EXPECT_EQ(QmxNextEventRecord(&adapter, wrong.data()), kLibWrongRecordSize);
  EXPECT_EQ(wrong[4], 0xEE);  // nothing written, nothing popped

  std::vector<uint8_t> record = EmptyRecord(216);
  ASSERT_EQ(QmxNextEventRecord(&adapter, record.data()), kLibOk);
  EXPECT_EQ(Le32(record, 0), 216u);
  EXPECT_EQ(Le32(record, 4), 0u);
  EXPECT_EQ(Le32(record, 8), static_cast<uint32_t>(kStartTime));
  EXPECT_EQ(Le32(record, 12), 0u);
  EXPECT_EQ(Le32(record, 16), 0x21u);
  EXPECT_EQ(Le32(record, 20), 4u);
  EXPECT_EQ(record[24], 4);
  EXPECT_EQ(record[215], 0xA5);  // the last byte of the event data

  record = EmptyRecord(216);
  EXPECT_EQ(QmxNextEventRecord(&adapter, record.data()), kLibEventQueueEmpty);

  // A record queued by hand is the last one queued.
  std::vector<uint8_t> own(216, 0);
  PutLe32(&own, 0, 216);
  PutLe32(&own, 20, 50);
  ASSERT_EQ(QueueEventRecord(context(), &adapter, own.data()), kLibOk);
  card().model().FirstAdapter()->eventRing = {Entry(1, 49), Entry(1, 51)};
  ASSERT_EQ(QmxCollectEvents(&adapter), kLibOk);
  EXPECT_EQ(Drain(adapter), (std::vector<uint32_t>{50, 51}));
}

// Log page 0: 48-byte entries from byte 20, their count at 16.
std::vector<uint8_t> LogPage(const std::vector<std::pair<uint16_t, uint16_t>>& entries, uint16_t count) {
  std::vector<uint8_t> page = MakeExtPage(0x14, 0, static_cast<uint32_t>(20 + 48 * entries.size()));
  std::fill(page.begin() + 8, page.end(), 0);
  PutLe16(&page, 16, count);
  for (size_t i = 0; i < entries.size(); ++i) {
    size_t at = 20 + 48 * i;
    PutLe32(&page, at, 0x1000 + static_cast<uint32_t>(i));  // time stamp
    PutLe16(&page, at + 12, entries[i].first);                // log sequence
    PutLe16(&page, at + 14, entries[i].second);               // qualifier
    page[at + 20] = static_cast<uint8_t>(entries[i].first);
  }
  return page;
}

class EventLog : public Events {
 protected:
  std::vector<uint16_t> DrainLog(LibHandle adapter) {
    std::vector<uint16_t> sequences;
    for (;;) {
      std::vector<uint8_t> record(64, 0xEE);
      PutLe32(&record, 0, 64);
      LibStatus status = QmxNextEventLogEntry(&adapter, record.data());
      if (status == kLibEventQueueEmpty) break;
      EXPECT_EQ(status, kLibOk);
      if (status != kLibOk) break;
      EXPECT_EQ(Le32(record, 4), 0u);
      EXPECT_EQ(Le32(record, 8), static_cast<uint32_t>(kStartTime));
      sequences.push_back(Le16(record, 16 + 12));
    }
    return sequences;
  }
  void SetLog(const std::vector<uint8_t>& page) { SetPage(15, 0, 0x14, 0, page); }
};

// The page lists the newest entry first; entries are offered from the
// oldest up, and one already queued is refused.
TEST_F(EventLog, EntriesNewerThanTheLastOneAreQueued) {
  LibHandle adapter = StartDefaultCard();
  SetLog(LogPage({{3, 1}, {2, 1}, {1, 1}}, 3));
  ASSERT_EQ(QmxReadEventLogEntries(&adapter), kLibOk);
  EXPECT_EQ(DrainLog(adapter), (std::vector<uint16_t>{1, 2, 3}));
  ASSERT_EQ(QmxReadEventLogEntries(&adapter), kLibOk);
  EXPECT_EQ(DrainLog(adapter), std::vector<uint16_t>{});

  SetLog(LogPage({{5, 1}, {4, 1}, {3, 1}, {2, 1}}, 4));
  ASSERT_EQ(QmxReadEventLogEntries(&adapter), kLibOk);
  EXPECT_EQ(DrainLog(adapter), (std::vector<uint16_t>{4, 5}));
}

TEST_F(EventLog, SequenceNumbersStartAgainAfter0xFFFF) {
  LibHandle adapter = StartDefaultCard();
  SetLog(LogPage({{0xFFFF, 1}, {0xFFFE, 1}}, 2));
  ASSERT_EQ(QmxReadEventLogEntries(&adapter), kLibOk);
  EXPECT_EQ(DrainLog(adapter), (std::vector<uint16_t>{0xFFFE, 0xFFFF}));
  SetLog(LogPage({{1, 1}, {0, 1}, {0xFFFF, 1}}, 3));
  ASSERT_EQ(QmxReadEventLogEntries(&adapter), kLibOk);
  EXPECT_EQ(DrainLog(adapter), (std::vector<uint16_t>{0, 1}));
}

TEST_F(EventLog, TheCountIsBoundByThePage) {
  LibHandle adapter = StartDefaultCard();
  SetLog(LogPage({{2, 1}, {1, 1}}, 500));  // says 500, holds 2
  ASSERT_EQ(QmxReadEventLogEntries(&adapter), kLibOk);
  EXPECT_EQ(DrainLog(adapter), (std::vector<uint16_t>{1, 2}));
  SetLog(LogPage({}, 0));
  ASSERT_EQ(QmxReadEventLogEntries(&adapter), kLibOk);
  EXPECT_EQ(DrainLog(adapter), std::vector<uint16_t>{});
}

TEST_F(EventLog, RecordSizeEmptyQueueAndOldControllers) {
  LibHandle adapter = StartDefaultCard();
  SetLog(LogPage({{1, 1}}, 1));
  ASSERT_EQ(QmxReadEventLogEntries(&adapter), kLibOk);
  std::vector<uint8_t> wrong(216, 0);
  PutLe32(&wrong, 0, 216);
  EXPECT_EQ(QmxNextEventLogEntry(&adapter, wrong.data()), kLibWrongRecordSize);
  EXPECT_EQ(DrainLog(adapter), std::vector<uint16_t>{1});  // the entry stayed

  emu::HostModel host = emu::DefaultHost();
  host.FirstAdapter()->messageVersion = 0x0105;
  LibHandle old = StartScannedCard(std::move(host));
  EXPECT_EQ(QmxReadEventLogEntries(&old), kLibNotSupported);
  EXPECT_TRUE(Commands(0x04).empty());  // no page was asked for
}

// The default card's machine with the first-generation control node as well.
emu::HostModel HostWithNotificationNode() {
  emu::HostModel host = emu::DefaultHost();
  emu::NodeModel node;
  node.path = "/dev/qmx2ctl";
  host.nodes.push_back(node);
  return host;
}

TEST_F(Events, AsyncNotificationTouchesOnlyItsOwnSignal) {
  Start(HostWithNotificationNode());
  ASSERT_EQ(QmxEnableAsyncEvents(), kLibOk);
  ASSERT_EQ(context()->asyncEventsEnabled, 1u);
  int descriptor = context()->asyncEventDescriptor;
  EXPECT_TRUE(card().NotificationHandlerSet());
  EXPECT_TRUE(card().DescriptorReadOnly(descriptor));
  EXPECT_TRUE(card().DescriptorOwned(descriptor));
  EXPECT_TRUE(card().DescriptorAsync(descriptor));
  EXPECT_EQ(card().OpenDescriptors(), 1);
  EXPECT_EQ(QmxEnableAsyncEvents(), kLibOk);  // one descriptor serves every adapter
  EXPECT_EQ(card().OpenDescriptors(), 1);
  card().CloseNode(descriptor);
}

TEST_F(Events, AFailedAsyncStepClosesTheDescriptor) {
  using Step = emu::Emulator::NotificationStep;
  const Step steps[] = {Step::kHandler, Step::kOwner, Step::kAsyncMode};
  for (Step step : steps) {
    Start(HostWithNotificationNode());
    card().FailNotificationStep(step, EPERM);
    EXPECT_EQ(QmxEnableAsyncEvents(), static_cast<LibStatus>(EPERM));
    EXPECT_EQ(context()->asyncEventsEnabled, 0u);
    EXPECT_EQ(card().OpenDescriptors(), 0);
  }
  // A machine without the node answers the open's error number.
  Start(EmptyHost());
  EXPECT_EQ(QmxEnableAsyncEvents(), static_cast<LibStatus>(ENOENT));
}

}  // namespace
}  // namespace ctltest
