// The emulator's port basics: control-node descriptors, the request log and
// its counters, the virtual clock, the standard streams, the fault list and
// the installed instance.
#include "emu/host/emulator.h"

#include <cerrno>
#include <ctime>

#include "emu/controller/handlers.h"

namespace emu {

Emulator::Emulator(HostModel model, bool realStdio)
    : model_(std::move(model)), realStdio_(realStdio) {
  RegisterStandardFunctions(*this);
  SyncVirtualFiles();
}

Emulator::~Emulator() {
  if (trace_ != nullptr) std::fclose(trace_);
}

// --- control nodes ---

int Emulator::OpenNode(const char* path, os::NodeAccess access) {
  if (path == nullptr || model_.FindNode(path) == nullptr) {
    lastError_ = ENOENT;
    return -1;
  }
  int descriptor = 3;
  while (descriptors_.count(descriptor) != 0) ++descriptor;
  OpenNodeEntry entry;
  entry.path = path;
  entry.readOnly = access == os::NodeAccess::kReadOnly;
  descriptors_[descriptor] = entry;
  ++nodeOpens_;
  return descriptor;
}

void Emulator::CloseNode(int descriptor) {
  if (descriptors_.erase(descriptor) == 0) ++badCloses_;
}

AdapterRuntime& Emulator::runtime(const std::string& node, uint32_t ioc) {
  return runtimes_[{node, ioc}];
}

uint32_t Emulator::HardResets() const {
  uint32_t total = 0;
  for (const auto& [key, state] : runtimes_) total += state.hardResets;
  return total;
}

// --- request log ---

size_t Emulator::CountCalls(uint32_t request) const {
  size_t count = 0;
  for (const LoggedCall& call : log_) count += call.request == request ? 1 : 0;
  return count;
}

size_t Emulator::CountFunction(uint8_t function) const {
  size_t count = 0;
  for (const LoggedCall& call : log_) count += call.isCommand && call.function == function ? 1 : 0;
  return count;
}

bool Emulator::SetTraceFile(const std::string& path) {
  if (trace_ != nullptr) std::fclose(trace_);
  trace_ = nullptr;
  if (path.empty()) return true;
  trace_ = std::fopen(path.c_str(), "a");
  return trace_ != nullptr;
}

// --- clock ---

int64_t Emulator::Time() {
  return model_.startTime + static_cast<int64_t>((waitedMicroseconds_ + busyMicroseconds_) / 1000000);
}

bool Emulator::LocalTime(int64_t seconds, std::tm* out) {
  std::time_t t = static_cast<std::time_t>(seconds);
  if (static_cast<int64_t>(t) != seconds) return false;
  return gmtime_r(&t, out) != nullptr;
}

void Emulator::Sleep(uint32_t seconds) {
  waitedMicroseconds_ += static_cast<uint64_t>(seconds) * 1000000;
  waits_.push_back(static_cast<uint64_t>(seconds) * 1000000);
}

void Emulator::Usleep(uint32_t microseconds) {
  waitedMicroseconds_ += microseconds;
  waits_.push_back(microseconds);
}

// --- standard streams ---

int Emulator::ReadChar() {
  if (realStdio_) return posix_.ReadChar();
  if (inputPos_ >= input_.size()) return -1;
  return static_cast<unsigned char>(input_[inputPos_++]);
}

void Emulator::WriteOut(const char* text, size_t length) {
  if (realStdio_) {
    posix_.WriteOut(text, length);
  } else {
    output_.append(text, length);
  }
}

void Emulator::WriteError(const char* text, size_t length) {
  if (realStdio_) {
    posix_.WriteError(text, length);
  } else {
    errorOutput_.append(text, length);
  }
}

void Emulator::SetInput(std::string text) {
  input_ = std::move(text);
  inputPos_ = 0;
}

std::string Emulator::TakeOutput() {
  std::string out;
  out.swap(output_);
  return out;
}

std::string Emulator::TakeErrorOutput() {
  std::string out;
  out.swap(errorOutput_);
  return out;
}

void Emulator::SyncVirtualFiles() { model_.files.Regenerate(DefaultVirtualFiles(model_)); }

void Emulator::NoteVirtualWrite(const std::string& path, const std::string& bytes) {
  virtualWrites_.push_back(VirtualWrite{path, bytes});
}

// --- extension points ---

void Emulator::RegisterFunction(uint8_t function, FunctionHandler handler) {
  functions_[function] = std::move(handler);
}

void Emulator::RegisterPageProvider(uint8_t type, uint8_t extType,
                                    std::unique_ptr<PageProvider> provider) {
  providers_[{type, type == kPageExtended ? extType : uint8_t{0}}] = std::move(provider);
}

PageProvider* Emulator::FindPageProvider(uint8_t type, uint8_t extType) {
  std::pair<uint8_t, uint8_t> key{type, type == kPageExtended ? extType : uint8_t{0}};
  auto it = providers_.find(key);
  if (it == providers_.end()) {
    std::unique_ptr<PageProvider> standard = StandardPageProvider(key.first, key.second);
    if (standard == nullptr) return nullptr;
    it = providers_.emplace(key, std::move(standard)).first;
  }
  return it->second.get();
}

// --- the installed emulator ---

namespace {
std::unique_ptr<Emulator>& Installed() {
  static std::unique_ptr<Emulator> installed;
  return installed;
}
}  // namespace

Emulator& Install(HostModel model, bool realStdio) {
  Installed().reset();
  Installed() = std::make_unique<Emulator>(std::move(model), realStdio);
  return *Installed();
}

Emulator& Current() {
  if (Installed() == nullptr) Install(DefaultHost());
  return *Installed();
}

}  // namespace emu

namespace os {
Port& ActivePort() { return emu::Current(); }
}  // namespace os
