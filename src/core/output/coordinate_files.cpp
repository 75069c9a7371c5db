#include "output/coordinate_files.h"

#include <algorithm>
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
    line("10");
    line(dxf_number(corrected_x[from]));
    line("20");
    line(dxf_number(corrected_y[from]));
    line("30");
    line("0.0");
    line("11");
    line(dxf_number(corrected_x[k]));
    line("21");
    line(dxf_number(corrected_y[k]));
    line("31");
    line("0.0");
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

void save_file(const std::string& path, const std::string& bytes) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (fs::exists(status) && !fs::is_regular_file(status)) {
    if (fs::is_directory(status)) fail(path, "it is a folder");
    write_stream(path, path, bytes);  // a device or pipe cannot be replaced
    return;
  }
  const std::string temporary = path + ".veltrano-part";
  try {
    write_stream(temporary, path, bytes);
  } catch (...) {
    fs::remove(temporary, ec);
    throw;
  }
  fs::rename(temporary, path, ec);
  if (ec) {
    fs::remove(temporary, ec);
    fail(path, ec.message());
  }
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
