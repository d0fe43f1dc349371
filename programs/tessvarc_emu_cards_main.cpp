// Writes the named card files (emu/card_file/named_cards.h) into a folder:
//   tessvarc-emu-cards emu/cards
#include <cstdio>
#include <string>

#include "emu/card_file/named_cards.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tessvarc-emu-cards FOLDER\n");
    return 2;
  }
  int status = 0;
  for (const emu::NamedCard& card : emu::NamedCards()) {
    std::string path = std::string(argv[1]) + "/" + card.name + ".txt";
    std::FILE* out = std::fopen(path.c_str(), "wb");
    std::string text = emu::FormatHostFile(card.build());
    if (out == nullptr || std::fwrite(text.data(), 1, text.size(), out) != text.size()) {
      std::fprintf(stderr, "tessvarc-emu-cards: cannot write %s\n", path.c_str());
      status = 1;
    }
    if (out != nullptr) std::fclose(out);
  }
  return status;
}
