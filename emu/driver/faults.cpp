// Arming and matching the faults of model().faults.
#include "emu/host/emulator.h"

namespace emu {
namespace {

bool PageMatches(const Fault& fault, const PageKey& page) {
  return fault.pageType == page.type &&
         (fault.pageNumber < 0 || fault.pageNumber == page.number) &&
         (fault.extType < 0 || fault.extType == page.extType);
}

bool AdapterMatches(const Fault& fault, uint32_t ioc) {
  return fault.ioc < 0 || static_cast<uint32_t>(fault.ioc) == ioc;
}

}  // namespace

void Emulator::ArmFault(const Fault& fault) {
  if (fault.times == 0) return;
  model_.faults.push_back(fault);
}

void Emulator::FailIoctl(uint32_t request, int errorNumber, int times, int function) {
  if (times == 0) return;
  Fault fault;
  fault.kind = FaultKind::kIoctlError;
  fault.request = request;
  fault.errorNumber = errorNumber;
  fault.function = function < 0 ? -1 : function;
  fault.times = times < 0 ? -1 : times;
  model_.faults.push_back(fault);
}

void Emulator::AnswerFunction(uint8_t function, uint16_t iocStatus, uint32_t logInfo, int times) {
  if (times == 0) return;
  Fault fault;
  fault.kind = FaultKind::kAnswer;
  fault.function = function;
  fault.iocStatus = iocStatus;
  fault.logInfo = logInfo;
  fault.times = times < 0 ? -1 : times;
  model_.faults.push_back(fault);
}

void Emulator::AnswerConfigPage(uint8_t type, uint8_t number, uint8_t extType,
                                uint16_t iocStatus, uint32_t logInfo, int times) {
  if (times == 0) return;
  Fault fault;
  fault.kind = FaultKind::kAnswer;
  fault.function = 0x04;
  fault.iocStatus = iocStatus;
  fault.logInfo = logInfo;
  fault.pageType = type;
  fault.pageNumber = number;
  fault.extType = type == kPageExtended ? extType : -1;
  fault.times = times < 0 ? -1 : times;
  model_.faults.push_back(fault);
}

void Emulator::RemovePage(uint8_t type, uint8_t number, uint8_t extType) {
  Fault fault;
  fault.kind = FaultKind::kPageMissing;
  fault.pageType = type;
  fault.pageNumber = number;
  fault.extType = type == kPageExtended ? extType : -1;
  model_.faults.push_back(fault);
}

void Emulator::CutPage(uint8_t type, uint8_t number, uint8_t extType, uint32_t bytes) {
  Fault fault;
  fault.kind = FaultKind::kPageCut;
  fault.pageType = type;
  fault.pageNumber = number;
  fault.extType = type == kPageExtended ? extType : -1;
  fault.bytes = bytes;
  model_.faults.push_back(fault);
}

void Emulator::CutReply(uint8_t function, uint32_t bytes, int times) {
  if (times == 0) return;
  Fault fault;
  fault.kind = FaultKind::kReplyCut;
  fault.function = function;
  fault.bytes = bytes;
  fault.times = times < 0 ? -1 : times;
  model_.faults.push_back(fault);
}

bool Emulator::LetsPass(size_t index) {
  Fault& armed = model_.faults[index];
  if (armed.skip <= 0) return false;
  --armed.skip;
  return true;
}

Fault Emulator::Spend(size_t index) {
  Fault fault = model_.faults[index];
  Fault& armed = model_.faults[index];
  if (armed.times > 0 && --armed.times == 0) {
    model_.faults.erase(model_.faults.begin() + static_cast<std::ptrdiff_t>(index));
  }
  return fault;
}

std::optional<Fault> Emulator::TakeIoctlFault(uint32_t request, int function, uint32_t ioc) {
  for (size_t i = 0; i < model_.faults.size(); ++i) {
    const Fault& f = model_.faults[i];
    if (f.kind == FaultKind::kIoctlError && f.request == request && f.function == function &&
        AdapterMatches(f, ioc)) {
      if (LetsPass(i)) continue;
      return Spend(i);
    }
  }
  return std::nullopt;
}

std::optional<Fault> Emulator::TakeAnswerFault(uint8_t function, const PageKey* page, uint32_t ioc,
                                               int action) {
  for (size_t i = 0; i < model_.faults.size(); ++i) {
    const Fault& f = model_.faults[i];
    if (f.kind != FaultKind::kAnswer || f.function != function || !AdapterMatches(f, ioc)) continue;
    bool matches = page == nullptr
                       ? f.pageType < 0
                       : f.pageType >= 0 && PageMatches(f, *page) && (f.action < 0 || f.action == action);
    if (!matches || LetsPass(i)) continue;
    return Spend(i);
  }
  return std::nullopt;
}

const Fault* Emulator::FindPageFault(FaultKind kind, const PageKey& page, uint32_t ioc) const {
  for (const Fault& f : model_.faults) {
    if (f.kind == kind && PageMatches(f, page) && AdapterMatches(f, ioc)) return &f;
  }
  return nullptr;
}

std::optional<Fault> Emulator::TakeReplyCut(uint8_t function, uint32_t ioc) {
  for (size_t i = 0; i < model_.faults.size(); ++i) {
    const Fault& f = model_.faults[i];
    if (f.kind != FaultKind::kReplyCut || f.function != function || !AdapterMatches(f, ioc)) continue;
    if (LetsPass(i)) continue;
    return Spend(i);
  }
  return std::nullopt;
}

bool Emulator::TakeReadBackFault(uint32_t ioc) {
  for (size_t i = 0; i < model_.faults.size(); ++i) {
    const Fault& f = model_.faults[i];
    if (f.kind != FaultKind::kReadBackDiffers || !AdapterMatches(f, ioc)) continue;
    if (LetsPass(i)) continue;
    Spend(i);
    return true;
  }
  return false;
}

bool Emulator::TakeModuleAbort(uint32_t ioc) {
  for (size_t i = 0; i < model_.faults.size(); ++i) {
    const Fault& f = model_.faults[i];
    if (f.kind != FaultKind::kModuleAbort || !AdapterMatches(f, ioc)) continue;
    if (LetsPass(i)) continue;
    Spend(i);
    return true;
  }
  return false;
}

}  // namespace emu
