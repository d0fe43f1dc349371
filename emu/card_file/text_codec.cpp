#include "emu/card_file/text_codec.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace emu::text {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string Hex(const uint8_t* bytes, size_t count) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(count * 2);
  for (size_t i = 0; i < count; ++i) {
    out.push_back(kDigits[bytes[i] >> 4]);
    out.push_back(kDigits[bytes[i] & 15]);
  }
  return out;
}

bool AppendHex(const std::string& hex, std::vector<uint8_t>* out) {
  int high = -1;
  for (char c : hex) {
    if (c == ' ' || c == '\t') {
      if (high >= 0) return false;
      continue;
    }
    int v = HexValue(c);
    if (v < 0) return false;
    if (high < 0) {
      high = v;
    } else {
      out->push_back(static_cast<uint8_t>(high * 16 + v));
      high = -1;
    }
  }
  return high < 0;
}

std::string Escape(const std::string& raw) {
  std::string out;
  for (unsigned char c : raw) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      default:
        if (c < 0x20 || c >= 0x7F) {
          char buffer[5];
          std::snprintf(buffer, sizeof buffer, "\\x%02x", c);
          out += buffer;
        } else {
          out.push_back(static_cast<char>(c));
        }
    }
  }
  return out;
}

bool Unescape(const std::string& escaped, std::string* out) {
  out->clear();
  for (size_t i = 0; i < escaped.size(); ++i) {
    char c = escaped[i];
    if (c != '\\') {
      out->push_back(c);
      continue;
    }
    if (++i >= escaped.size()) return false;
    switch (escaped[i]) {
      case '\\': out->push_back('\\'); break;
      case '"': out->push_back('"'); break;
      case 'n': out->push_back('\n'); break;
      case 't': out->push_back('\t'); break;
      case 'r': out->push_back('\r'); break;
      case '0': out->push_back('\0'); break;
      case 'x': {
        if (i + 2 >= escaped.size()) return false;
        int high = HexValue(escaped[i + 1]);
        int low = HexValue(escaped[i + 2]);
        if (high < 0 || low < 0) return false;
        out->push_back(static_cast<char>(high * 16 + low));
        i += 2;
        break;
      }
      default: return false;
    }
  }
  return true;
}

bool ParseUnsigned(const std::string& text, uint64_t max, uint64_t* out) {
  if (text.empty() || text[0] == '-' || text[0] == '+' || text[0] == ' ') return false;
  errno = 0;
  char* end = nullptr;
  unsigned long long v = std::strtoull(text.c_str(), &end, 0);
  if (errno != 0 || end == text.c_str() || *end != '\0' || v > max) return false;
  *out = v;
  return true;
}

bool ParseSigned(const std::string& text, int64_t min, int64_t max, int64_t* out) {
  if (text.empty() || text[0] == ' ') return false;
  errno = 0;
  char* end = nullptr;
  long long v = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || end == text.c_str() || *end != '\0' || v < min || v > max) return false;
  *out = v;
  return true;
}

std::string HexNumber(uint64_t value, int digits) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "0x%0*llX", digits, static_cast<unsigned long long>(value));
  return buffer;
}

}  // namespace emu::text
