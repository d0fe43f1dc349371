// The emulated Corvexium: an os::Port that plays the Linux controller driver's
// control nodes and the QMX controller behind them, with a virtual clock, a
// virtual /proc and /sys tree and captured or real standard streams. Test
// support only: the shipped tessvarc is bound to the POSIX port instead.
//
// Typical use in a test:
//   emu::Emulator& card = emu::Install(emu::DefaultHost());
//   card.SetInput("1\n0\n");
//   ... run code that calls os::ActivePort() ...
//   EXPECT_EQ(card.CountFunction(0x04), 2u);
//   EXPECT_EQ(card.OpenDescriptors(), 0);
//   std::string text = card.TakeOutput();
//
// Every ioctl block and QMX frame is decoded from raw bytes with the
// emulator's own offsets (emu/driver/ioctl_blocks.h, emu/controller/qmx_frames.h), never with
// the library's code, so a misread offset on either side fails a test.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "emu/controller/command_handler.h"
#include "emu/host/host_model.h"
#include "emu/modules/module_runtime.h"
#include "emu/pages/page_provider.h"
#include "os/port.h"
#include "os/posix_port.h"

namespace emu {

// One ioctl as the driver saw it, in call order.
struct LoggedCall {
  std::string node;             // the control node the descriptor was opened on ("" for a bad descriptor)
  uint32_t request = 0;         // the request code
  uint32_t ioc = 0;             // the block's IOC number (u32 at 0)
  std::vector<uint8_t> block;   // the fixed part of the block as it came in (72 bytes for COMMAND)
  // COMMAND only:
  bool isCommand = false;
  uint8_t function = 0;         // frame byte 3
  std::vector<uint8_t> frame;   // the request frame (scatter-gather offset × 4 bytes)
  std::vector<uint8_t> dataOut; // the data-out bytes
  uint32_t timeoutSeconds = 0;
  uint32_t maxReplyBytes = 0, dataInSize = 0, dataOutSize = 0, maxSenseBytes = 0;
  uint32_t replyBytesWritten = 0, dataInBytesWritten = 0, senseBytesWritten = 0;
  // The answer: errorNumber 0 when the ioctl succeeded; for COMMAND the
  // reply's IOCStatus (bit 15 included) and IOCLogInfo.
  int errorNumber = 0;
  uint16_t iocStatus = 0;
  uint32_t logInfo = 0;
};

// A registered diagnostic buffer (driver state, not saved in the card file).
struct DiagBuffer {
  uint8_t bufferType = 0;
  uint32_t uniqueId = 0;
  uint32_t size = 0;
  uint32_t diagnosticFlags = 0;
  bool released = false;
};

// A firmware or option-ROM image being downloaded piece by piece.
struct PendingImage {
  std::vector<uint8_t> bytes;
  uint32_t pieces = 0;
};

// One RAID ACTION as the controller decoded it, with its answer.
struct RaidActionRecord {
  uint8_t action = 0;
  uint16_t volumeDevHandle = 0;  // frame u16 at 4
  uint8_t diskNumber = 0;        // frame byte 6
  uint32_t libraryWord = 0;      // frame u32 at 12: 0x57 from the card's own library, or 0
  uint32_t actionDataWord = 0;   // frame u32 at 16
  std::vector<uint8_t> dataOut;
  uint16_t iocStatus = 0;
  std::vector<uint8_t> actionData;  // the 24 bytes answered
};

// One SAS IO unit control request.
struct IoUnitControlRecord {
  uint8_t operation = 0;
  uint16_t devHandle = 0;
  uint8_t phy = 0;
  uint16_t iocStatus = 0;
  uint16_t value = 0;  // what a vendor operation answered at reply byte 12
};

// One task-management request.
struct TaskManagementRecord {
  uint16_t devHandle = 0;
  uint8_t taskType = 0;
  uint8_t messageFlags = 0;
  std::vector<uint8_t> lun;  // 8 bytes
  uint8_t responseCode = 0;
  uint16_t iocStatus = 0;
};

// What a run changes in an adapter beyond its model.
struct AdapterRuntime {
  uint32_t hardResets = 0;
  uint32_t toolboxCleans = 0;
  uint32_t lastCleanFlags = 0;
  std::map<uint8_t, PendingImage> downloads;    // by image type
  std::map<uint8_t, DiagBuffer> diagBuffers;    // by buffer type
  std::vector<RaidActionRecord> raidActions;    // in order, refused ones too
  std::vector<IoUnitControlRecord> ioUnitControls;
  std::vector<TaskManagementRecord> taskManagements;
  std::map<uint8_t, ModuleRuntime> modules;     // by slot
};

// A file write to a virtual path, in order (sysfs and /proc writes are commands).
struct VirtualWrite {
  std::string path;
  std::string bytes;
};

class Emulator : public os::Port {
 public:
  // realStdio: standard streams are the process's own (tessvarc-emu);
  // otherwise input comes from SetInput and output is captured.
  explicit Emulator(HostModel model, bool realStdio = false);
  ~Emulator() override;
  Emulator(const Emulator&) = delete;
  Emulator& operator=(const Emulator&) = delete;

  // --- the platform port ---
  int OpenNode(const char* path, os::NodeAccess access) override;
  void CloseNode(int descriptor) override;
  int Ioctl(int descriptor, uint32_t request, void* block) override;
  int LastErrorNumber() const override { return lastError_; }
  bool IgnoreNotificationSignal() override;
  bool OwnDescriptor(int descriptor) override;
  bool SetAsyncMode(int descriptor) override;
  bool Stat(const char* path, os::PathStatus* status) override;
  bool Lstat(const char* path, os::PathStatus* status) override;
  bool ListDirectory(const char* path, std::vector<std::string>* names) override;
  std::unique_ptr<os::File> OpenFile(const char* path, const char* mode) override;
  bool RenameFile(const char* from, const char* to) override;  // user files only
  bool RemoveFile(const char* path) override;
  int64_t Time() override;
  bool LocalTime(int64_t seconds, std::tm* out) override;  // in UTC, the same on every machine
  void Sleep(uint32_t seconds) override;                    // advances the virtual clock at once
  void Usleep(uint32_t microseconds) override;
  int ReadChar() override;
  void WriteOut(const char* text, size_t length) override;
  void WriteError(const char* text, size_t length) override;
  // Captured output cannot fail; the process's own can.
  bool OutputFailed() const override { return realStdio_ && posix_.OutputFailed(); }

  // --- the machine ---
  // Live state: tests may change settings, pages, images and files at any time.
  HostModel& model() { return model_; }
  const HostModel& model() const { return model_; }
  // The run state of an adapter (created on first use).
  AdapterRuntime& runtime(const std::string& node, uint32_t ioc);
  // Hard resets answered, all adapters together.
  uint32_t HardResets() const;

  // --- the card's devices (the first adapter of the first node) ---
  // The module in a slot, the volume of a DevHandle (null when none).
  ModuleModel* Module(uint8_t slot);
  VolumeModel* Volume(uint16_t devHandle);
  // The first volume, or null.
  VolumeModel* FirstVolume();
  // Arms a CHECK CONDITION with this sense on the target of a DevHandle (a
  // module or a volume) for `times` commands (-1 until cleared; with an
  // opcode, only commands of that operation code count), or makes a UNIT
  // ATTENTION pending once; false when the DevHandle names no target.
  bool QueueCheckCondition(uint16_t devHandle, SenseCode code, int times = 1, int opcode = -1);
  bool QueueUnitAttention(uint16_t devHandle, SenseCode code = SenseCode{6, 0x29, 0x00});
  // The enclosure slot status of a slot's module (0 when the slot is empty).
  uint32_t SlotStatus(uint8_t slot);
  // The run state of the first adapter, and what it received.
  AdapterRuntime& FirstRuntime();
  const std::vector<RaidActionRecord>& RaidActions() { return FirstRuntime().raidActions; }
  const std::vector<IoUnitControlRecord>& IoUnitControls() { return FirstRuntime().ioUnitControls; }
  const std::vector<TaskManagementRecord>& TaskManagements() { return FirstRuntime().taskManagements; }
  // Adds or replaces the handler of a SAS IO unit control vendor operation
  // (0x80 and above; the SuperCap's 144-149 are there from the start). An
  // operation without a handler is answered with success and value 0.
  void RegisterIoUnitVendorOperation(uint8_t operation, IoUnitVendorHandler handler);
  const IoUnitVendorHandler* FindIoUnitVendorOperation(uint8_t operation) const;

  // --- the modules' command sets (the first adapter) ---
  // What the module in a slot received and did in this run (created on first use).
  ModuleRuntime& ModuleActivity(uint8_t slot);
  // Knobs, each false when the slot has no module: the next `times` SCT
  // status reads answer "busy" (device state 5; -1 all of them); the module
  // ATA-security locked (with its user password, "" for none) or unlocked
  // again; every ATA command refused or answered again; SMART READ DATA and
  // THRESHOLDS aborted; one attribute set (replaced by id, else appended).
  bool SetSctBusy(uint8_t slot, int times);
  bool LockModule(uint8_t slot, bool locked, const std::string& userPassword = "");
  bool SetModuleRefusing(uint8_t slot, bool refusing);
  bool FailSmartRead(uint8_t slot, bool fails = true);
  bool SetSmartAttribute(uint8_t slot, const SmartAttribute& attribute);
  // The SuperCap's health and voltage queries (145, 146) answer busy
  // (IOCStatus 2) the next `times` times, both together.
  void SetSuperCapBusy(uint32_t times);

  // --- request log ---
  const std::vector<LoggedCall>& log() const { return log_; }
  void ClearLog() { log_.clear(); }
  size_t CountCalls(uint32_t request) const;
  size_t CountFunction(uint8_t function) const;  // COMMAND ioctls carrying this function
  // Appends one line per ioctl to this file (tessvarc-emu's TESSVARC_EMU_TRACE);
  // false when it cannot be opened. An empty path stops tracing.
  bool SetTraceFile(const std::string& path);

  // --- descriptors ---
  int OpenDescriptors() const { return static_cast<int>(descriptors_.size()); }
  size_t NodeOpens() const { return nodeOpens_; }
  size_t BadCloses() const { return badCloses_; }  // CloseNode of a descriptor that was not open
  // What the program asked for asynchronous notification: the handler of the
  // notification signal, and per open descriptor its access, owner and mode.
  bool NotificationHandlerSet() const { return notificationHandler_; }
  bool DescriptorReadOnly(int descriptor) const;
  bool DescriptorOwned(int descriptor) const;
  bool DescriptorAsync(int descriptor) const;
  // The next asynchronous-notification step of this kind fails with the error number.
  enum class NotificationStep { kHandler, kOwner, kAsyncMode };
  void FailNotificationStep(NotificationStep step, int errorNumber) { notificationFailures_[step] = errorNumber; }

  // --- clock ---
  uint64_t WaitedMicroseconds() const { return waitedMicroseconds_; }
  // Virtual time the driver spent inside requests (hard resets); the clock
  // counts it as well as the program's waits.
  uint64_t BusyMicroseconds() const { return busyMicroseconds_; }
  const std::vector<uint64_t>& waits() const { return waits_; }  // each Sleep/Usleep in µs

  // --- faults (kept in model().faults; each for `times` answers, -1 until cleared) ---
  // The ioctl fails with errorNumber; function >= 0 limits it to COMMAND with that function.
  void FailIoctl(uint32_t request, int errorNumber, int times = -1, int function = -1);
  // The function answers iocStatus/logInfo without doing anything.
  void AnswerFunction(uint8_t function, uint16_t iocStatus, uint32_t logInfo, int times = -1);
  // The same for CONFIG requests of one page only.
  void AnswerConfigPage(uint8_t type, uint8_t number, uint8_t extType, uint16_t iocStatus,
                        uint32_t logInfo, int times = -1);
  // The page answers 0x0022 (invalid page), whatever its address.
  void RemovePage(uint8_t type, uint8_t number, uint8_t extType = 0);
  // The page announces bytes / 4 words and a read returns at most `bytes` bytes.
  void CutPage(uint8_t type, uint8_t number, uint8_t extType, uint32_t bytes);
  // The controller writes only `bytes` bytes of the function's reply.
  void CutReply(uint8_t function, uint32_t bytes, int times = -1);
  void ClearFaults() { model_.faults.clear(); }
  // Any fault as the card file describes it (its filters included: one
  // adapter by IOC number, one CONFIG action); a `times` of 0 arms nothing.
  void ArmFault(const Fault& fault);

  // --- standard streams (captured mode) ---
  void SetInput(std::string text);
  std::string TakeOutput();
  std::string TakeErrorOutput();

  // --- virtual files ---
  const std::vector<VirtualWrite>& virtualWrites() const { return virtualWrites_; }
  // The generated files (/proc/scsi/scsi and the sysfs tree) brought to the
  // device and RAID state; done before every access to /proc and /sys and
  // when the emulator is made. What a test or a card file put there is kept
  // (emu/host/host_model.h, VirtualFiles).
  void SyncVirtualFiles();
  void SyncProcScsi() { SyncVirtualFiles(); }
  void NoteVirtualWrite(const std::string& path, const std::string& bytes);

  // --- extension points for later functions and pages ---
  // Adds or replaces the handler of a QMX function (SCSI IO, RAID ACTION, SATA
  // passthrough, SEP, SMP, IO unit control, task management, ...).
  void RegisterFunction(uint8_t function, FunctionHandler handler);
  // Adds or replaces the page provider of a page type (extType for type 15).
  void RegisterPageProvider(uint8_t type, uint8_t extType, std::unique_ptr<PageProvider> provider);
  // The provider of a type, or null when the controller does not know the type.
  PageProvider* FindPageProvider(uint8_t type, uint8_t extType);

  // --- used by the dispatcher and the handlers (faults armed in model().faults) ---
  // Each matches only faults without an adapter filter or filtered on this
  // IOC number.
  // An ioctl fault for this request: with function -1 only faults without a
  // function filter, else only faults filtered on that COMMAND function.
  // Spends one use; empty when none is armed.
  std::optional<Fault> TakeIoctlFault(uint32_t request, int function, uint32_t ioc);
  // An answer fault for the function: with page null only faults without a
  // page filter, else only CONFIG faults naming that page (and, when they
  // name an action, this action). Spends one use.
  std::optional<Fault> TakeAnswerFault(uint8_t function, const PageKey* page, uint32_t ioc, int action = -1);
  // A page fault (kPageMissing or kPageCut) naming the page; lasts until cleared.
  const Fault* FindPageFault(FaultKind kind, const PageKey& page, uint32_t ioc) const;
  // A reply cut for the function. Spends one use.
  std::optional<Fault> TakeReplyCut(uint8_t function, uint32_t ioc);
  // A module abort for the next ATA command a module gets through the SATA
  // passthrough. Spends one use; false when none is armed.
  bool TakeModuleAbort(uint32_t ioc);
  // Counts an upload piece of the firmware read-back against the
  // readback-differs faults: true when one acts on it.
  bool TakeReadBackFault(uint32_t ioc);

 private:
  struct OpenNodeEntry {
    std::string path;
    bool readOnly = false;
    bool owned = false;
    bool async = false;
  };
  // A failure armed for the step: spends it and sets the error number.
  bool NotificationStepFails(NotificationStep step);
  int Command(const std::string& node, AdapterModel& adapter, uint8_t* block, LoggedCall* call);
  // A matching fault that still lets this request pass: spends one skip.
  bool LetsPass(size_t index);
  Fault Spend(size_t index);
  void Trace(const LoggedCall& call);

  HostModel model_;
  bool realStdio_;
  os::PosixPort posix_;
  int lastError_ = 0;
  std::map<int, OpenNodeEntry> descriptors_;
  size_t nodeOpens_ = 0;
  size_t badCloses_ = 0;
  bool notificationHandler_ = false;
  std::map<NotificationStep, int> notificationFailures_;
  std::vector<LoggedCall> log_;
  std::FILE* trace_ = nullptr;
  uint64_t waitedMicroseconds_ = 0;
  uint64_t busyMicroseconds_ = 0;
  std::vector<uint64_t> waits_;
  std::string input_;
  size_t inputPos_ = 0;
  std::string output_;
  std::string errorOutput_;
  std::vector<VirtualWrite> virtualWrites_;
  std::map<std::pair<std::string, uint32_t>, AdapterRuntime> runtimes_;
  std::map<uint8_t, FunctionHandler> functions_;
  std::map<std::pair<uint8_t, uint8_t>, std::unique_ptr<PageProvider>> providers_;
  std::map<uint8_t, IoUnitVendorHandler> vendorOperations_;
};

// The trace line of one logged ioctl (without the line break).
std::string FormatTraceLine(const LoggedCall& call);

// Makes a fresh emulator of this model the active port (os::ActivePort())
// and returns it; the one installed before is destroyed, so references to it
// must not be kept. realStdio: see Emulator.
Emulator& Install(HostModel model, bool realStdio = false);
// The installed emulator; installs the default host (captured streams) when
// none is installed yet.
Emulator& Current();

}  // namespace emu
