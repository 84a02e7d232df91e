#include "persistence/text_file.h"

#include <fcntl.h>
#include <iconv.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
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
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    throw FileError("\"" + path.string() + "\" is a directory, not a file");
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    const int error = errno;
    throw FileError("Cannot open file \"" + path.string() + "\"" +
                    (error != 0 ? std::string(": ") + std::strerror(error) : std::string()));
  }
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) throw FileError("Cannot read file \"" + path.string() + "\"");
  return content.str();
}

namespace {

// The reason the system gave for the last failure, for a message.
std::string Reason(int error) {
  return std::string(": ") + std::strerror(error);
}

}  // namespace

ReplacingFile::ReplacingFile(const std::filesystem::path& path) : m_path(path) {
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  std::random_device random;
  std::string name = ".";
  name += path.filename().string();
  name += ".tmp";
  name += std::to_string(random() % 1000000);
  m_temp = folder / name;
  m_fd = ::open(m_temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (m_fd < 0) throw FileError("Cannot create file \"" + path.string() + "\"" + Reason(errno));
}

ReplacingFile::~ReplacingFile() {
  if (m_fd >= 0) ::close(m_fd);
  if (!m_temp.empty()) {
    std::error_code ignored;
    std::filesystem::remove(m_temp, ignored);
  }
}

void ReplacingFile::fail(int error) {
  if (m_fd >= 0) ::close(m_fd);
  m_fd = -1;
  std::error_code ignored;
  std::filesystem::remove(m_temp, ignored);
  m_temp.clear();
  throw FileError("Cannot write file \"" + m_path.string() + "\"" + Reason(error));
}

void ReplacingFile::write(std::string_view bytes) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(m_fd, bytes.data() + written, bytes.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(errno);
    }
    written += static_cast<std::size_t>(n);
  }
}

void ReplacingFile::commit() {
  // On disk before it replaces the old file, so that a crash leaves one or
  // the other whole.
  if (::fsync(m_fd) != 0) fail(errno);
  const int closed = ::close(m_fd);
  m_fd = -1;
  if (closed != 0) fail(errno);
  std::error_code ec;
  std::filesystem::rename(m_temp, m_path, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(m_temp, ignored);
    m_temp.clear();
    throw FileError("Cannot write file \"" + m_path.string() + "\": " + ec.message());
  }
  m_temp.clear();
}

void WriteFileReplacing(const std::filesystem::path& path, std::string_view bytes) {
  ReplacingFile file(path);
  file.write(bytes);
  file.commit();
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

bool IsMultiByteUtf8(std::string_view bytes) {
  bool multiByte = false;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t len;
    std::uint32_t cp;
    if (c >= 0xC2 && c <= 0xDF) {
      len = 2;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      len = 3;
      cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      len = 4;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + len > bytes.size()) return false;
    for (std::size_t k = 1; k < len; ++k) {
      const auto d = static_cast<unsigned char>(bytes[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (d & 0x3F);
    }
    // Overlong forms, surrogates and code points beyond U+10FFFF.
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF)) {
      return false;
    }
    multiByte = true;
    i += len;
  }
  return multiByte;
}

LayoutReader::LayoutReader(std::string bytes, std::string endMessage)
    : m_bytes(std::move(bytes)), m_endMessage(std::move(endMessage)), m_utf8(IsMultiByteUtf8(m_bytes)) {}

std::string LayoutReader::text(std::string_view bytes) const {
  if (!m_utf8) return Cp874ToUtf8(bytes);
  // A piece cut at a byte count may end inside a character.
  std::size_t end = bytes.size();
  std::size_t start = end;
  while (start > 0 && (static_cast<unsigned char>(bytes[start - 1]) & 0xC0) == 0x80 && end - start < 3) --start;
  if (start > 0 && static_cast<unsigned char>(bytes[start - 1]) >= 0xC0) {
    const auto lead = static_cast<unsigned char>(bytes[start - 1]);
    const std::size_t len = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (end - (start - 1) < len) end = start - 1;
  }
  return std::string(bytes.substr(0, end));
}

int LayoutReader::line() const {
  const std::size_t end = std::min(m_pos, m_bytes.size());
  return 1 + static_cast<int>(std::count(m_bytes.begin(), m_bytes.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
}

void LayoutReader::endReached() {
  m_endedEarly = true;
  if (!m_endMessage.empty()) throw LayoutError(m_endMessage, line(), true);
}

void LayoutReader::notANumber(std::string_view token, std::size_t start, std::string_view kind,
                              std::string_view what) const {
  const int at =
      1 + static_cast<int>(std::count(m_bytes.begin(), m_bytes.begin() + static_cast<std::ptrdiff_t>(start), '\n'));
  std::string shown = text(token);
  std::string message =
      "Invalid numeric input at line " + std::to_string(at) + ": '" + shown + "' is not " + std::string(kind);
  if (!what.empty()) message += " (" + std::string(what) + ")";
  throw LayoutError(message, at, false);
}

std::size_t LayoutReader::lineEnd() const {
  std::size_t end = m_bytes.find('\n', m_pos);
  if (end == std::string::npos) end = m_bytes.size();
  if (end > m_pos && m_bytes[end - 1] == '\r') --end;
  return end;
}

std::string LayoutReader::readText() {
  if (atEnd()) endReached();
  const std::size_t end = lineEnd();
  std::string bytes = m_bytes.substr(m_pos, std::min<std::size_t>(end - m_pos, 255));
  nextLine();
  return text(bytes);
}

std::string LayoutReader::readRestOfLine() {
  const std::size_t end = lineEnd();
  std::string bytes = m_bytes.substr(m_pos, end - m_pos);
  m_pos = end;
  return text(bytes);
}

void LayoutReader::nextLine() {
  const std::size_t newline = m_bytes.find('\n', m_pos);
  m_pos = newline == std::string::npos ? m_bytes.size() : newline + 1;
}

std::string_view LayoutReader::token(std::size_t maxLength) {
  while (m_pos < m_bytes.size() && static_cast<unsigned char>(m_bytes[m_pos]) <= 32) ++m_pos;
  if (atEnd()) {
    endReached();
    return {};
  }
  const std::size_t start = m_pos;
  while (m_pos < m_bytes.size() && static_cast<unsigned char>(m_bytes[m_pos]) > 32 && m_pos - start < maxLength) {
    ++m_pos;
  }
  return std::string_view(m_bytes).substr(start, m_pos - start);
}

std::int32_t LayoutReader::readInteger(std::string_view what) {
  const std::string_view t = token(32);
  if (t.empty()) return 0;
  std::int32_t value = 0;
  if (!TryStrToInt(t, value))
    notANumber(t, static_cast<std::size_t>(t.data() - m_bytes.data()), "a whole number", what);
  return value;
}

double LayoutReader::readReal(std::string_view what) {
  const std::string_view t = token(64);
  if (t.empty()) return 0.0;
  double value = 0.0;
  if (!TryStrToFloat(t, value)) notANumber(t, static_cast<std::size_t>(t.data() - m_bytes.data()), "a number", what);
  return value;
}

}  // namespace pelodyn
