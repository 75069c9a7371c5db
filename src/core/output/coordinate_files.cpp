#include "output/coordinate_files.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "app/errors.h"
#include "app/handlers.h"
#include "app/numbers.h"
#include "model/tables.h"

namespace veltrano {

std::string list_file_bytes(const TextList& list) {
  std::string text;
  for (const std::string& line : list.lines()) {
    text += line;
    text += "\r\n";
  }
  return utf8_to_latin1(text);
}

std::string dxf_number(double value) { return format_significant(value, 8, 8, '.'); }

int corrected_point_count() {
  return std::min(form1.XYequalcoordinates.count(), corrected_count);
}

std::string dxf_file_bytes(int count) {
  std::string out;
  out.reserve(static_cast<std::size_t>(count) * 200 + 64);
  auto line = [&out](const std::string& text) {
    out += text;
    out += "\r\n";
  };
  // A point of the contour under its three group codes, at z 0.
  auto point = [&line](const char* x_code, const char* y_code, const char* z_code, int k) {
    line(x_code);
    line(dxf_number(corrected_x[k]));
    line(y_code);
    line(dxf_number(corrected_y[k]));
    line(z_code);
    line("0.0");
  };
  line("  0");
  line("SECTION");
  line("  2");
  line("ENTITIES");
  for (int k = 0; k < count; ++k) {
    const int from = k == 0 ? 0 : k - 1;
    line("  0");
    line("LINE");
    line("  5");
    line(format_int(48 + k));
    line("100");
    line("AcDbEntity");
    line("  8");
    line("0");
    line(" 62");
    line("     0");
    line("100");
    line("AcDbLine");
    point("10", "20", "30", from);
    point("11", "21", "31", k);
  }
  line("  0");
  line("ENDSEC");
  line("  0");
  line("EOF");
  return out;
}

std::string file_name_for(const std::string& chosen, const std::string& extension) {
  std::string base = chosen;
  if (base.size() > 4) {
    std::string tail = base.substr(base.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (tail == ".txt") {
      if (extension == ".txt") return chosen;
      base.resize(base.size() - 4);
    }
  }
  return base + extension;
}

namespace {

[[noreturn]] void fail(const std::string& path, const std::string& reason) {
  throw Error("Cannot create file " + path + ": " + reason);
}

std::string reason_of(int error) {
  return error ? std::string(std::strerror(error)) : std::string("write error");
}

void write_stream(const std::string& path, const std::string& target, const std::string& bytes) {
  errno = 0;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) fail(target, reason_of(errno));
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  const int write_error = errno;
  if (!out) fail(target, reason_of(write_error));
  out.close();
  if (out.fail()) fail(target, reason_of(errno));
}

}  // namespace

void FileSet::add(std::string path, std::string bytes) {
  entries_.push_back({std::move(path), std::move(bytes)});
}

void FileSet::write() {
  namespace fs = std::filesystem;
  std::error_code ec;
  std::vector<std::string> temporaries(entries_.size());
  auto remove_temporaries = [&] {
    for (const std::string& t : temporaries)
      if (!t.empty()) fs::remove(t, ec);
  };
  try {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      Entry& e = entries_[i];
      // A link is written through, as opening it would: the file it names is
      // replaced and the link stays.
      if (fs::is_symlink(fs::symlink_status(e.path, ec))) {
        const fs::path target = fs::weakly_canonical(e.path, ec);
        if (ec) fail(e.path, ec.message());
        e.path = target.string();
      }
      const fs::file_status status = fs::status(e.path, ec);
      if (fs::is_directory(status)) fail(e.path, "it is a folder");
      if (fs::exists(status) && !fs::is_regular_file(status)) continue;  // written below
      if (fs::exists(status)) {
        // Renaming over a file needs no right to write it; a file the user
        // may not write stays as it is, as it would when opened for writing.
        errno = 0;
        std::ofstream probe(e.path, std::ios::binary | std::ios::app);
        if (!probe) fail(e.path, reason_of(errno));
      }
      temporaries[i] = e.path + ".veltrano-part";
      write_stream(temporaries[i], e.path, e.bytes);
    }
    for (std::size_t i = 0; i < entries_.size(); ++i)
      if (temporaries[i].empty()) write_stream(entries_[i].path, entries_[i].path, entries_[i].bytes);
  } catch (...) {
    remove_temporaries();
    throw;
  }
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (temporaries[i].empty()) continue;
    fs::rename(temporaries[i], entries_[i].path, ec);
    if (ec) {
      const std::string reason = ec.message();
      remove_temporaries();
      fail(entries_[i].path, reason);
    }
    temporaries[i].clear();
  }
}

void save_file(const std::string& path, const std::string& bytes) {
  FileSet files;
  files.add(path, bytes);
  files.write();
}

void saverawClick(const std::string& chosen) {
  save_file(file_name_for(chosen, ".txt"), list_file_bytes(form1.XYcoordinates));
}

bool savecorClick(const std::string& chosen) {
  save_file(file_name_for(chosen, ".txt"), list_file_bytes(form1.XYequalcoordinates));
  if (!form1.savedxf) return true;
  try {
    save_file(file_name_for(chosen, ".dxf"), dxf_file_bytes(corrected_point_count()));
  } catch (const Error&) {
    return false;
  }
  return true;
}

}  // namespace veltrano
