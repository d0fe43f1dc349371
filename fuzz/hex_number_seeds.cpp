// Seeds of hex_number_fuzz: numbers of each digit count around the two
// halves, with and without the prefix, and a few that are not numbers.
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  const std::string dir = argv[1];
  const char* seeds[] = {"",         "0x",        "1F",        "0X89abcdef",         "123456789",
                         "0x0123456789ABCDEF",    "0123456789ABCDEF0", "12G4", "1073741823",
                         "18446744073709551615", "0x 1"};
  int n = 0;
  for (const char* seed : seeds) {
    std::FILE* file = std::fopen((dir + "/seed" + std::to_string(n++)).c_str(), "wb");
    if (file == nullptr) return 1;
    std::fputs(seed, file);
    std::fclose(file);
  }
  return 0;
}
