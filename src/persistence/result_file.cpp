#include "persistence/result_file.h"

#include <charconv>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "model/numbers.h"
#include "persistence/text_file.h"

namespace pelodyn {
namespace {

// x rounded to 4 decimals, in the shortest general form.
std::string F(double x) {
  return FormatShortest(RoundHalfEven(x, 4));
}

// The file is written a megabyte at a time.
constexpr std::size_t kChunk = 1 << 20;

// Appends the line of one Results row, its fields given as numbers.
class ResultsLine {
 public:
  ResultsLine() {
    const Row probe(Table::Results);
    m_num = probe.fieldIndex("Num");
    const char* names[7] = {"X_Center", "Y_Center", "Radius", "FS_Ord", "FS_Jan", "FS_Bis", "FS_Spe"};
    for (std::size_t k = 0; k < 7; ++k) m_columns[k] = probe.fieldIndex(names[k]);
  }
  // The columns of the table are as wide as they come: a value wider than
  // its column is written whole. The lines are plain ASCII: they go
  // straight into the file's pieces, no conversion.
  void append(std::string& to, const double* r) const {
    // The line is put together in place and appended at once; a value the
    // quick form leaves out makes the line go value by value.
    char line[8 + 7 * (15 + kFixedBeforeSize) + 2];
    char digits[kFixedBeforeSize];
    char* const digitsEnd = digits + sizeof digits;
    std::size_t at = 0;
    auto place = [&](std::size_t size, std::size_t width) {
      if (size < width) {
        std::memset(line + at, ' ', width - size);
        at += width - size;
      }
      std::memcpy(line + at, digitsEnd - size, size);
      at += size;
    };
    const auto num = static_cast<std::int64_t>(r[m_num]);
    const char* numEnd = std::to_chars(digits, digitsEnd, num).ptr;
    const auto numSize = static_cast<std::size_t>(numEnd - digits);
    std::memmove(digitsEnd - numSize, digits, numSize);
    place(numSize, 8);
    for (std::size_t k = 0; k < 7; ++k) {
      const std::size_t size = WriteFixedBefore(digitsEnd, r[m_columns[k]], 3);
      if (size == 0) return appendSlowly(to, r);
      place(size, kWidths[k]);
    }
    line[at++] = '\r';
    line[at++] = '\n';
    to.append(line, at);
  }

 private:
  static constexpr std::size_t kWidths[7] = {13, 13, 13, 15, 13, 13, 13};

  void appendSlowly(std::string& to, const double* r) const {
    const std::string num = std::to_string(static_cast<std::int64_t>(r[m_num]));
    if (num.size() < 8) to.append(8 - num.size(), ' ');
    to += num;
    for (std::size_t k = 0; k < 7; ++k) AppendFixed(to, r[m_columns[k]], 3, kWidths[k]);
    to.append("\r\n");
  }

  std::size_t m_num = 0;
  std::size_t m_columns[7] = {};
};

// The Results rows, row by row from the store: a run of a million circles
// is never held whole. With more than one thread, the calling thread reads
// the rows (the store is its own) and hands them on in blocks to a thread
// that writes their lines, in the same order, so reading and writing
// overlap.
// The lines of Results rows going to the file a megabyte at a time.
class LinesOut {
 public:
  explicit LinesOut(ReplacingFile& out) : m_out(out) { m_chunk.reserve(kChunk + 256); }
  void add(const double* row) {
    m_line.append(m_chunk, row);
    if (m_chunk.size() >= kChunk) {
      m_out.write(m_chunk);
      m_chunk.clear();
    }
  }
  void finish() { m_out.write(m_chunk); }

 private:
  ReplacingFile& m_out;
  const ResultsLine m_line;
  std::string m_chunk;
};

void WriteResultsLines(WorkingStore& store, ReplacingFile& out, int threads) {
  LinesOut lines(out);
  if (threads <= 1) {
    store.visitNumbers(Table::Results, [&](const double* r) { lines.add(r); });
    lines.finish();
    return;
  }
  const std::size_t fields = TableDefinition(Table::Results).fields.size();
  const std::size_t blockSize = 4096 * fields;  // 4,096 rows
  constexpr std::size_t kBlocksAhead = 3;
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<std::vector<double>> full;  // read, not yet written
  bool allRead = false;
  bool writerFailed = false;
  std::exception_ptr writeError;
  auto writeBlocks = [&] {
    try {
      for (;;) {
        std::vector<double> block;
        {
          std::unique_lock<std::mutex> lock(mutex);
          changed.wait(lock, [&] { return !full.empty() || allRead; });
          if (full.empty()) break;
          block = std::move(full.front());
          full.pop_front();
        }
        changed.notify_all();
        for (std::size_t at = 0; at < block.size(); at += fields) lines.add(block.data() + at);
      }
      lines.finish();
    } catch (...) {
      std::lock_guard<std::mutex> lock(mutex);
      writeError = std::current_exception();
      writerFailed = true;
      changed.notify_all();
    }
  };
  // Started once a whole block is read: a small table is written by the
  // calling thread alone.
  std::optional<std::thread> writer;
  struct WriterFailed {};
  std::vector<double> block;
  block.reserve(blockSize);
  auto handOn = [&] {
    if (!writer) writer.emplace(writeBlocks);
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [&] { return full.size() < kBlocksAhead || writerFailed; });
    if (writerFailed) throw WriterFailed{};
    full.push_back(std::move(block));
    lock.unlock();
    changed.notify_all();
    block = {};
    block.reserve(blockSize);
  };
  std::exception_ptr readError;
  try {
    store.visitNumbers(Table::Results, [&](const double* r) {
      block.insert(block.end(), r, r + fields);
      if (block.size() >= blockSize) handOn();
    });
    if (!writer) {
      for (std::size_t at = 0; at < block.size(); at += fields) lines.add(block.data() + at);
      lines.finish();
      return;
    }
    if (!block.empty()) handOn();
  } catch (const WriterFailed&) {
    // The writer's error is the one to tell.
  } catch (...) {
    readError = std::current_exception();
  }
  {
    std::lock_guard<std::mutex> lock(mutex);
    allRead = true;
    // After a failed read, nothing more is written.
    if (readError) full.clear();
  }
  changed.notify_all();
  if (writer) writer->join();
  if (readError) std::rethrow_exception(readError);
  if (writeError) std::rethrow_exception(writeError);
}

}  // namespace

std::string MakeResultFilePath(const std::string& projectFilePath) {
  // The file name starts after the last separator; its ending is a dot and
  // three characters at its end, the dot not being its first character.
  const std::size_t separator = projectFilePath.find_last_of("/\\");
  const std::size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
  const std::size_t size = projectFilePath.size();
  if (size >= nameStart + 5 && projectFilePath[size - 4] == '.') {
    const std::string_view ending = std::string_view(projectFilePath).substr(size - 3);
    if (ending.find_first_of("./\\") == std::string_view::npos) return projectFilePath.substr(0, size - 4) + ".pdr";
  }
  return projectFilePath + ".pdr";
}

void WriteResultFile(Project& project, const std::filesystem::path& path, int threads,
                     const std::vector<std::string>& notes) {
  const RunState& run = project.run;
  WorkingStore& store = *project.store;
  const int theory = project.model.AnalysisTheory;
  // The Results rows of a big search make a file of a hundred megabytes: it
  // is written as it is built, a megabyte at a time, never held whole.
  ReplacingFile out(path);
  LayoutWriter w;
  w.literal("=====Pelodyn_2.0_Result=====").endLine();
  w.integer(theory, 0, "Theory").endLine();
  w.blank();
  if (theory == 1) {
    w.literal("Circular Analysis").endLine();
    w.literal("=================").endLine();
    w.blank();
    const char* labels[] = {"Min. FS. by Ordinary    : ", "Min. FS. by Simp.Janbu  : ", "Min. FS. by Simp.Bishop : ",
                            "Min. FS. by Spencer     : "};
    for (int method = Ordinary; method <= Spencer; ++method) {
      const MethodMinimum& min = run.Minimum[static_cast<std::size_t>(method)];
      w.literal(labels[method] + F(min.Fs) + " , X : " + F(min.CenterX) + " , Y : " + F(min.CenterY) +
                " , R : " + F(min.Radius))
          .endLine();
      w.blank();
    }
    w.literal(std::string(102, '-')).endLine();
    w.literal("|    No.    |     X     |     Y     |   Radius   |   FS-Ord.  |   FS-Jan.  |   FS-Bis.  |   FS-Spe.  |")
        .endLine();
    w.literal(std::string(102, '-')).endLine();
    out.write(w.take());
    WriteResultsLines(store, out, threads);
    w.literal(std::string(102, '=')).endLine();
    w.blank();
  } else if (theory == 2) {
    w.literal("Non-Circular Analysis").endLine();
    w.literal("=====================").endLine();
    w.blank();
    w.literal("Min. FS. by Simp.Janbu  : " + F(run.Minimum[Janbu].Fs)).endLine();
    w.literal("Min. FS. by Simp.Bishop : " + F(run.Minimum[Bishop].Fs)).endLine();
    w.literal("Min. FS. by Spencer     : " + F(run.Minimum[Spencer].Fs)).endLine();
    w.blank();
    const std::pair<const char*, Table> blocks[] = {
        {"Failure Surface Coordinate for Simp.Janbu", Table::NonCirSlip_Janbu},
        {"Failure Surface Coordinate for Simp.Bishop", Table::NonCirSlip_Bishop},
        {"Failure Surface Coordinate for Spencer", Table::NonCirSlip_Spencer},
    };
    for (std::size_t b = 0; b < 3; ++b) {
      if (b > 0) w.blank();
      w.literal(blocks[b].first).endLine();
      w.literal(std::string(37, '-')).endLine();
      w.literal("|    No.    |     X     |     Y     |").endLine();
      w.literal(std::string(37, '-')).endLine();
      for (const Row& r : store.rows(blocks[b].second)) {
        std::string line = std::to_string(r.integer(PointField::PointNo));
        if (line.size() < 8) line.insert(0, 8 - line.size(), ' ');
        for (auto [value, width] : {std::pair{r.real(PointField::X), 14}, {r.real(PointField::Y), 12}}) {
          std::string text = FormatFixed(value, 3);
          if (text.size() < static_cast<std::size_t>(width)) {
            text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
          }
          line += text;
        }
        w.literal(line).endLine();
      }
      w.literal(std::string(37, '=')).endLine();
    }
  }
  for (const std::string& note : notes) {
    std::string line = note;
    for (char& c : line) {
      if (c == '\r' || c == '\n') c = ' ';
    }
    w.literal("Note: ").text(line, 0, "a note of the result file").endLine();
  }
  out.write(w.bytes());
  out.commit();
}

}  // namespace pelodyn
