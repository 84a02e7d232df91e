#include "persistence/result_file.h"

#include <charconv>
#include <variant>

#include "model/numbers.h"
#include "persistence/text_file.h"

namespace pelodyn {
namespace {

// x rounded to 4 decimals, in the shortest general form.
std::string F(double x) {
  return FormatShortest(RoundHalfEven(x, 4));
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

void WriteResultFile(Project& project, const std::filesystem::path& path) {
  const RunState& run = project.run;
  WorkingStore& store = *project.store;
  const int theory = project.model.AnalysisTheory;
  // The Results rows of a big search make a file of a hundred megabytes: it
  // is written as it is built, a megabyte at a time, never held whole.
  ReplacingFile out(path);
  constexpr std::size_t kChunk = 1 << 20;
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
    // The columns of the table are as wide as they come: a value wider than
    // its column is written whole. The lines are plain ASCII: they go
    // straight into the file's pieces, one reused buffer, no conversion.
    out.write(w.take());
    const Row probe(Table::Results);
    const std::size_t num = probe.fieldIndex("Num");
    const std::size_t columns[7] = {probe.fieldIndex("X_Center"), probe.fieldIndex("Y_Center"),
                                    probe.fieldIndex("Radius"),   probe.fieldIndex("FS_Ord"),
                                    probe.fieldIndex("FS_Jan"),   probe.fieldIndex("FS_Bis"),
                                    probe.fieldIndex("FS_Spe")};
    constexpr std::size_t kWidths[7] = {13, 13, 13, 15, 13, 13, 13};
    std::string chunk;
    chunk.reserve(kChunk + 256);
    // Row by row: a run of a million circles is never held whole.
    store.visitNumbers(Table::Results, [&](const double* r) {
      char digits[24];
      const auto end = std::to_chars(digits, digits + sizeof digits, static_cast<std::int64_t>(r[num])).ptr;
      const auto size = static_cast<std::size_t>(end - digits);
      if (size < 8) chunk.append(8 - size, ' ');
      chunk.append(digits, size);
      for (std::size_t k = 0; k < 7; ++k) AppendFixed(chunk, r[columns[k]], 3, kWidths[k]);
      chunk.append("\r\n");
      if (chunk.size() >= kChunk) {
        out.write(chunk);
        chunk.clear();
      }
    });
    out.write(chunk);
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
        std::string line = std::to_string(r.integer("Point No."));
        if (line.size() < 8) line.insert(0, 8 - line.size(), ' ');
        for (auto [value, width] : {std::pair{r.real("Coordi X"), 14}, {r.real("Coordi Y"), 12}}) {
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
  out.write(w.bytes());
  out.commit();
}

}  // namespace pelodyn
