// The text-file layer of Pelodyn's files: code page 874 at the file
// boundary (UTF-8 inside), CR LF line ends (LF-only accepted when reading),
// fixed-width fields, and writes that replace a file only once the new one
// is complete.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace pelodyn {

// An error of a file or of its content; the message is the user's.
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// UTF-8 to code page 874. A character the code page cannot hold raises
// FileError naming `what` (the field being written).
std::string Utf8ToCp874(std::string_view utf8, std::string_view what);
// Code page 874 to UTF-8; a byte the code page does not define becomes U+FFFD.
std::string Cp874ToUtf8(std::string_view bytes);

std::string ReadFileBytes(const std::filesystem::path& path);
// Writes `bytes` to a temporary file beside `path` and renames it over
// `path`: a failed write leaves the old file as it was.
void WriteFileReplacing(const std::filesystem::path& path, std::string_view bytes);

// The same written in pieces, for a file too large to build in memory first:
// the pieces go to a temporary file beside `path`, and commit() puts it on
// disk and renames it over `path`. Without a commit (an error on the way) the
// temporary file is removed and the old file stays as it was. Failures raise
// FileError naming `path` and the system's reason.
class ReplacingFile {
 public:
  explicit ReplacingFile(const std::filesystem::path& path);
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  void write(std::string_view bytes);
  void commit();

 private:
  [[noreturn]] void fail(int error);

  std::filesystem::path m_path, m_temp;
  int m_fd = -1;
};

// Builds a file line by line in the fixed-width notation:
//   I   integer, no padding         In   integer right-aligned in n columns
//   R0.d real with d decimals        Rn.d the same right-aligned in n columns
//   T   text to the end of the line Tn   text right-aligned in n columns
// A field of width n > 0 keeps its distance from the field before it only
// while its text is shorter than n; a value that reaches n characters would
// make the file unreadable, so it is refused with a FileError that names the
// field and the value. The first field of a line has nothing before it and
// is written whole. Texts are UTF-8 and are converted to code page 874.
class LayoutWriter {
 public:
  LayoutWriter& integer(long long value, int width, std::string_view field);
  LayoutWriter& real(double value, int width, int decimals, std::string_view field);
  LayoutWriter& text(std::string_view utf8, int width, std::string_view field);
  // Appends raw text without any width rule (magic lines, fixed captions).
  LayoutWriter& literal(std::string_view utf8);
  LayoutWriter& endLine();
  LayoutWriter& blank() { return endLine(); }
  const std::string& bytes() const { return m_bytes; }
  // Hands over what was built so far and starts empty, at the start of a
  // line (call it only after endLine).
  std::string take() { return std::exchange(m_bytes, std::string()); }

 private:
  LayoutWriter& field(const std::string& text, int width, std::string_view field);
  std::string m_bytes;
};

// An error of a file's content found at a line of it (1-based).
class LayoutError : public FileError {
 public:
  LayoutError(const std::string& message, int line, bool endOfFile)
      : FileError(message), m_line(line), m_endOfFile(endOfFile) {}
  int line() const { return m_line; }
  bool endOfFile() const { return m_endOfFile; }

 private:
  int m_line;
  bool m_endOfFile;
};

// Reads a file with the primitives of Pelodyn's readers over its bytes.
//   readText      the rest of the line (at most 255 characters kept), then on
//                 to the next line
//   readRestOfLine the rest of the line, staying before its end
//   readInteger / readReal  skip blanks and line ends, take the next token
//                 (up to a character of code 32 or lower); at the end of the
//                 file the value is 0. A token that does not convert raises
//                 LayoutError("Invalid numeric input at line N: 'abc' is not
//                 a number (what)"), `what` naming the value expected.
//   nextLine      past the end of the current line
// Texts come back in UTF-8: the bytes are code page 874, unless the whole
// file is valid UTF-8 and holds a multi-byte character (a file written by a
// modern editor), when they are taken as they are. endedEarly() tells
// whether a read found the end of the file instead of a value. With an
// `endMessage`, a read that finds the end raises LayoutError(endMessage) at
// once instead, so that no count in the file makes a reader go on past its end.
class LayoutReader {
 public:
  explicit LayoutReader(std::string bytes, std::string endMessage = {});

  std::string readText();
  std::string readRestOfLine();
  std::int32_t readInteger(std::string_view what = {});
  double readReal(std::string_view what = {});
  void nextLine();
  bool endedEarly() const { return m_endedEarly; }
  bool atEnd() const { return m_pos >= m_bytes.size(); }
  bool isUtf8() const { return m_utf8; }
  // The line (1-based) of the current position.
  int line() const;

 private:
  std::string_view token(std::size_t maxLength);
  std::size_t lineEnd() const;
  void endReached();
  std::string text(std::string_view bytes) const;
  [[noreturn]] void notANumber(std::string_view token, std::size_t start, std::string_view kind,
                               std::string_view what) const;
  std::string m_bytes;
  std::string m_endMessage;
  std::size_t m_pos = 0;
  bool m_endedEarly = false;
  bool m_utf8 = false;
};

// True when `bytes` is valid UTF-8 and holds at least one multi-byte character.
bool IsMultiByteUtf8(std::string_view bytes);

}  // namespace pelodyn
