// The coordinate files: the raw and the corrected list as 8-bit text, and the
// corrected contour as a DXF drawing of LINE entities. The writers produce
// bytes; saving them is a separate step that writes a file whole or not at
// all.
#pragma once

#include <string>
#include <vector>

#include "model/controls.h"

namespace veltrano {

// The lines of a list, each followed by CR LF, as 8-bit text.
std::string list_file_bytes(const TextList& list);

// A DXF coordinate: 8 significant digits, plain or scientific, always a dot.
std::string dxf_number(double value);

// The DXF file of the first `count` corrected points: an ENTITIES section of
// LINE entities joining consecutive points, the first of zero length.
std::string dxf_file_bytes(int count);

// How many corrected points the DXF file and the corrected drawing use: one
// per line of the corrected list, but no more than the last equal-step pass
// left (a list extended by hand has no points behind its extra lines).
int corrected_point_count();

// The file names for a name chosen in the save dialog: `extension` appended,
// except that a typed ".txt" is taken as the text file's extension and not
// doubled ("cam.txt" gives "cam.txt" and "cam.dxf").
std::string file_name_for(const std::string& chosen, const std::string& extension);

// Files written together, each whole or not at all: every regular file goes
// to a temporary file beside its target first, and only when all of them are
// complete are they renamed over their targets, so an earlier file survives
// any failure and a failed save leaves nothing half-written. A device or pipe
// cannot be replaced and is written in place. Every write and every close are
// checked; a failure throws Error("Cannot create file <path>: <reason>").
class FileSet {
 public:
  void add(std::string path, std::string bytes);
  void write();

 private:
  struct Entry {
    std::string path, bytes;
  };
  std::vector<Entry> entries_;
};

// One file written through a FileSet.
void save_file(const std::string& path, const std::string& bytes);

// "Save raw coordinates": the raw list to file_name_for(chosen, ".txt").
void saverawClick(const std::string& chosen);

// "Save cor. coordinates": the corrected list to file_name_for(chosen, ".txt")
// and, with "Also save in .DXF " ticked, the DXF file. A text file that cannot
// be written throws and no DXF is attempted; a DXF that cannot be written
// returns false (the window shows "Cannot save file" titled "File error").
bool savecorClick(const std::string& chosen);

}  // namespace veltrano
