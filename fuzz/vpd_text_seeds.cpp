// Seeds of vpd_text_fuzz: a whole VPD data file, its smallest form, and files
// that each break one rule of the format.
#include <cstdio>
#include <string>

namespace {

const char kWhole[] =
    "; VPD\n"
    "LR_ID_STRING_TAG = 0x82\nLR_ID_STRING_LENGTH = 0x0D\nLR_ID_STRING = \"Ulvane Cx 80\t\"\n"
    "LR_VPD_TAG = 0x90 ; read-only\nLR_VPD_LENGTH = 0x0F\n"
    "VPD_KEYWORD = PN VPD_LENGTH = 0x03 VPD_DATA = A1B\n"
    "VPD_KEYWORD = SN VPD_LENGTH = 0x02 VPD_DATA = \"7 \"\n"
    "VPD_KEYWORD = RV VPD_LENGTH = 0x01 VPD_DATA = CHECKSUM\n"
    "LR_VPD_TAG = 0x91\nLR_VPD_LENGTH = 0x06\n"
    "VPD_KEYWORD = RW VPD_LENGTH = 0x03 VPD_DATA = RESERVED\n"
    "SR_END_TAG = 0x78\n";

const char* const kSeeds[] = {
    kWhole,
    "LR_ID_STRING_TAG 0x82 LR_ID_STRING_LENGTH 0x0 LR_ID_STRING \"\" SR_END_TAG",
    "LR_ID_STRING_TAG 0x82 LR_ID_STRING_LENGTH 0x2 LR_ID_STRING Cx LR_VPD_TAG 0x90 LR_VPD_LENGTH 0x6 "
    "VPD_KEYWORD PN VPD_LENGTH 0x5 VPD_DATA ABC SR_END_TAG",
    "LR_ID_STRING_TAG 0x82 LR_ID_STRING_LENGTH 0x2 LR_ID_STRING Cx LR_VPD_TAG 0x90 LR_VPD_LENGTH 0x102 "
    "VPD_KEYWORD RW VPD_LENGTH 0xFF VPD_DATA RESERVED SR_END_TAG",
    "LR_ID_STRING_TAG 0x82 LR_ID_STRING_LENGTH 0x2 LR_ID_STRING \"Cx",
    "LR_ID_STRING_TAG 9",
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  int n = 0;
  for (const char* seed : kSeeds) {
    std::string path = std::string(argv[1]) + "/seed-" + std::to_string(n++);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return 1;
    std::fputs(seed, file);
    std::fclose(file);
  }
  return 0;
}
