#include "persistence/text_file.h"

#include <iconv.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

#include "model/numbers.h"
#include "model/working_store.h"

namespace pelodyn {
namespace {

class Iconv {
 public:
  Iconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {
    if (m_cd == reinterpret_cast<iconv_t>(-1)) {
      throw FileError(std::string("The character conversion ") + from + " to " + to + " is not available");
    }
  }
  ~Iconv() { iconv_close(m_cd); }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  iconv_t get() const { return m_cd; }

 private:
  iconv_t m_cd;
};

bool IsAscii(std::string_view s) {
  for (char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

std::string Utf8ToCp874(std::string_view utf8, std::string_view what) {
  if (IsAscii(utf8)) return std::string(utf8);
  Iconv cd("CP874", "UTF-8");
  std::string out(utf8.size() * 2 + 8, '\0');
  char* in = const_cast<char*>(utf8.data());
  std::size_t inLeft = utf8.size();
  char* dst = out.data();
  std::size_t outLeft = out.size();
  if (iconv(cd.get(), &in, &inLeft, &dst, &outLeft) == static_cast<std::size_t>(-1)) {
    throw FileError("The text '" + std::string(utf8) + "' of " + std::string(what) +
                    " holds a character that cannot be saved in the Thai code page (874)");
  }
  out.resize(out.size() - outLeft);
  return out;
}

std::string Cp874ToUtf8(std::string_view bytes) {
  if (IsAscii(bytes)) return std::string(bytes);
  Iconv cd("UTF-8", "CP874");
  std::string out;
  out.reserve(bytes.size() * 3);
  char buffer[8];
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) < 0x80) {
      out += c;
      continue;
    }
    char* in = &c;
    std::size_t inLeft = 1;
    char* dst = buffer;
    std::size_t outLeft = sizeof buffer;
    if (iconv(cd.get(), &in, &inLeft, &dst, &outLeft) == static_cast<std::size_t>(-1)) {
      out += "\xEF\xBF\xBD";  // a byte the code page leaves undefined
      iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
    } else {
      out.append(buffer, sizeof buffer - outLeft);
    }
  }
  return out;
}

std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw FileError("Cannot open file \"" + path.string() + "\"");
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) throw FileError("Cannot read file \"" + path.string() + "\"");
  return content.str();
}

void WriteFileReplacing(const std::filesystem::path& path, std::string_view bytes) {
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  std::random_device random;
  std::string name = ".";
  name += path.filename().string();
  name += ".tmp";
  name += std::to_string(random() % 1000000);
  const std::filesystem::path temp = folder / name;
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) throw FileError("Cannot create file \"" + path.string() + "\"");
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;
      std::filesystem::remove(temp, ignored);
      throw FileError("Cannot write file \"" + path.string() + "\"");
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    throw FileError("Cannot write file \"" + path.string() + "\": " + ec.message());
  }
}

LayoutWriter& LayoutWriter::field(const std::string& text, int width, std::string_view name) {
  const std::size_t characters = CharacterCount(text);
  const bool first = m_bytes.empty() || m_bytes.back() == '\n';
  if (!first && width > 0 && characters >= static_cast<std::size_t>(width)) {
    throw FileError("The value " + text + " of " + std::string(name) + " does not fit its field of " +
                    std::to_string(width) + " characters; the file was not saved.");
  }
  if (width > 0 && characters < static_cast<std::size_t>(width)) {
    m_bytes.append(static_cast<std::size_t>(width) - characters, ' ');
  }
  m_bytes += Utf8ToCp874(text, name);
  return *this;
}

LayoutWriter& LayoutWriter::integer(long long value, int width, std::string_view name) {
  return field(std::to_string(value), width, name);
}

LayoutWriter& LayoutWriter::real(double value, int width, int decimals, std::string_view name) {
  return field(FormatFixed(value, decimals), width, name);
}

LayoutWriter& LayoutWriter::text(std::string_view utf8, int width, std::string_view name) {
  if (utf8.find_first_of("\r\n") != std::string_view::npos) {
    throw FileError("The text of " + std::string(name) + " holds a line break; the file was not saved.");
  }
  return field(std::string(utf8), width, name);
}

LayoutWriter& LayoutWriter::literal(std::string_view utf8) {
  m_bytes += Utf8ToCp874(utf8, "the file");
  return *this;
}

LayoutWriter& LayoutWriter::endLine() {
  m_bytes += "\r\n";
  return *this;
}

std::size_t LayoutReader::lineEnd() const {
  std::size_t end = m_bytes.find('\n', m_pos);
  if (end == std::string::npos) end = m_bytes.size();
  if (end > m_pos && m_bytes[end - 1] == '\r') --end;
  return end;
}

std::string LayoutReader::readText() {
  if (atEnd()) m_endedEarly = true;
  const std::size_t end = lineEnd();
  std::string text = m_bytes.substr(m_pos, std::min<std::size_t>(end - m_pos, 255));
  nextLine();
  return Cp874ToUtf8(text);
}

std::string LayoutReader::readRestOfLine() {
  const std::size_t end = lineEnd();
  std::string text = m_bytes.substr(m_pos, end - m_pos);
  m_pos = end;
  return Cp874ToUtf8(text);
}

void LayoutReader::nextLine() {
  const std::size_t newline = m_bytes.find('\n', m_pos);
  m_pos = newline == std::string::npos ? m_bytes.size() : newline + 1;
}

std::string_view LayoutReader::token(std::size_t maxLength) {
  while (m_pos < m_bytes.size() && static_cast<unsigned char>(m_bytes[m_pos]) <= 32) ++m_pos;
  if (atEnd()) {
    m_endedEarly = true;
    return {};
  }
  const std::size_t start = m_pos;
  while (m_pos < m_bytes.size() && static_cast<unsigned char>(m_bytes[m_pos]) > 32 && m_pos - start < maxLength) {
    ++m_pos;
  }
  return std::string_view(m_bytes).substr(start, m_pos - start);
}

std::int32_t LayoutReader::readInteger() {
  const std::string_view t = token(32);
  if (t.empty()) return 0;
  std::int32_t value = 0;
  if (!TryStrToInt(t, value)) throw FileError("Invalid numeric input");
  return value;
}

double LayoutReader::readReal() {
  const std::string_view t = token(64);
  if (t.empty()) return 0.0;
  double value = 0.0;
  if (!TryStrToFloat(t, value)) throw FileError("Invalid numeric input");
  return value;
}

}  // namespace pelodyn
