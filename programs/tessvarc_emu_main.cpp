// tessvarc bound to the emulated Corvexium. TESSVARC_EMU_CARD names the card
// file: unset, the default card runs and nothing is saved; a file that does
// not exist is created with the default card; otherwise the file is read.
// When the program ends the card's state is written back, so that a flashed
// image or a written page is there on the next run. TESSVARC_EMU_TRACE names
// a file that receives one line per ioctl. TESSVARC_EMU_CLOCK names a file
// that receives, when the program ends, what the run cost on the virtual
// clock: the program's waits (sleeps and polls) and the time the driver
// spent inside requests (hard resets), for benchmarks.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "app/shell/program_entry.h"
#include "emu/host/emulator.h"

namespace {

std::string g_cardPath;
bool g_saved = false;
std::string g_clockPath;

bool ReadWhole(const std::string& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  *text = buffer.str();
  return true;
}

bool WriteWhole(const std::string& path, const std::string& text) {
  std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << text;
    if (!out.flush()) return false;
  }
  return std::rename(temporary.c_str(), path.c_str()) == 0;
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? "" : path.substr(0, slash == 0 ? 1 : slash);
}

void SaveCard() {
  if (g_cardPath.empty() || g_saved) return;
  g_saved = true;
  if (!WriteWhole(g_cardPath, emu::FormatHostFile(emu::Current().model()))) {
    std::fprintf(stderr, "tessvarc-emu: cannot write the card file %s\n", g_cardPath.c_str());
  }
}

// "waits N", "waited-microseconds N", "busy-microseconds N", one a line.
void SaveClock() {
  if (g_clockPath.empty()) return;
  const emu::Emulator& emulator = emu::Current();
  std::ostringstream text;
  text << "waits " << emulator.waits().size() << "\n"
       << "waited-microseconds " << emulator.WaitedMicroseconds() << "\n"
       << "busy-microseconds " << emulator.BusyMicroseconds() << "\n";
  std::string path = g_clockPath;
  g_clockPath.clear();
  if (!WriteWhole(path, text.str())) {
    std::fprintf(stderr, "tessvarc-emu: cannot write the clock file %s\n", path.c_str());
  }
}

void SaveAtExit() {
  SaveCard();
  SaveClock();
}

}  // namespace

int main(int argc, char** argv) {
  emu::HostModel model = emu::DefaultHost();
  const char* card = std::getenv("TESSVARC_EMU_CARD");
  if (card != nullptr && card[0] != '\0') {
    g_cardPath = card;
    std::string text;
    if (!ReadWhole(g_cardPath, &text)) {
      std::FILE* probe = std::fopen(g_cardPath.c_str(), "rb");
      if (probe != nullptr) {
        std::fclose(probe);
        std::fprintf(stderr, "tessvarc-emu: cannot read the card file %s\n", g_cardPath.c_str());
        return 1;
      }
      if (!WriteWhole(g_cardPath, emu::FormatHostFile(model))) {
        std::fprintf(stderr, "tessvarc-emu: cannot create the card file %s\n", g_cardPath.c_str());
        return 1;
      }
    } else {
      std::string error;
      if (!emu::ParseHostFile(text, FolderOf(g_cardPath), &model, &error)) {
        std::fprintf(stderr, "tessvarc-emu: card file %s: %s\n", g_cardPath.c_str(), error.c_str());
        return 1;
      }
    }
  }

  emu::Emulator& emulator = emu::Install(std::move(model), /*realStdio=*/true);
  const char* trace = std::getenv("TESSVARC_EMU_TRACE");
  if (trace != nullptr && trace[0] != '\0' && !emulator.SetTraceFile(trace)) {
    std::fprintf(stderr, "tessvarc-emu: cannot open the trace file %s\n", trace);
    return 1;
  }
  const char* clock = std::getenv("TESSVARC_EMU_CLOCK");
  if (clock != nullptr) g_clockPath = clock;
  // A program that leaves through exit() still saves the card.
  std::atexit(SaveAtExit);
  int status = TessvarcMain(argc, argv);
  SaveAtExit();
  return status;
}
