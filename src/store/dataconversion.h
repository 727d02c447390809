// The data-file conversions of an administration: one-time upgrades "001"
// to "011" that bring its files from the record layouts of older releases
// to today's, and the release-flag file FLG that records, by code, which of
// them the files have had.
//
// The log-in runs them inside its set (which names the flag file and every
// file a conversion touches) before it loads the administration settings
// (ConvertDataFiles). For each code the flag file lacks, in number order:
// - the file's size decides what it holds (PlanFor): an empty file gets the
//   code with no conversion and no backup (a new administration ends with
//   the eleven codes and no backups); a size that is a multiple of exactly
//   one layout's record size (the code's old layout, the old layout of a
//   later conversion of the same file, today's) holds that layout: an old
//   one is converted by its code, today's is current; any other size is
//   converted by the code's old size, the partial last record left out
//   (the backup keeps it, and the outcome says how many bytes were left
//   out);
// - a size that is a multiple of several record sizes (11 invoices of
//   today's 224 bytes are 14 of the old 176) is read in each of those
//   layouts, and the date fields decide: the one layout whose every date
//   field is a valid "YYYYMMDD" (or empty where the layout allows) is what
//   the file holds. When several layouts or none read so, the run stops
//   before it writes anything, naming the file and the record counts;
// - a conversion keeps the old bytes under a backup name beside the file
//   ("invsum001.vlk": the code before the extension), written to a
//   temporary file, synced, and given its name only when that name is free,
//   so a backup is never overwritten. An existing backup equal to the file
//   is used; one that differs stops, naming both, unless the file already
//   holds the backup converted (a run stopped after the new file was
//   written: only the code is recorded). The new file is then built from
//   the old bytes and replaced through store::RewriteFile (temporary file,
//   synced, renamed over the old one);
// - a conversion brings the file to today's layout, so it records the
//   later codes of the same file too (after "001": "009" and "011"; after
//   "009": "011"; after "002": "010"). The flag file is rewritten, synced,
//   with code n at index n - 1.
// Before anything is written every file with an unrecorded code is looked
// at: a file whose layout the dates cannot tell stops the run there, with
// no file changed and no code recorded. A conversion that cannot be done
// (a backup that differs, a file error) stops the run: its code and the later ones stay unrecorded,
// the file keeps its old bytes, and the log-in does not take the
// administration up; the next log-in tries again. Backups are never
// removed.
//
// The store shows nothing: ConvertDataFiles returns what it converted and
// where the backups are, or why it stopped; the log-in tells the user.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/fileset.h"

namespace store {

// The conversion codes, in number order; code n is written at index n - 1.
inline constexpr std::array<const char*, 11> kConversionCodes = {"001", "002", "003", "004", "005", "006",
                                                                  "007", "008", "009", "010", "011"};

// One conversion of one file: its code, the file, the old and today's
// record size. Code "006" converts two files (CUS, then SUP) and has two
// entries.
struct Conversion {
  const char* code;
  store::FileCode file;
  int oldSize;
  int newSize;
};
// Every conversion, in the order they run.
const std::vector<Conversion>& Conversions();

// The codes of kConversionCodes that `recorded` does not hold (in number
// order). Texts that are no code are ignored.
std::vector<std::string> MissingConversionCodes(const std::vector<std::string>& recorded);

// One way of reading a file: a record size (an old layout's or today's)
// and the number of records the file holds in it.
struct LayoutReading {
  int recordSize = 0;
  std::uint64_t records = 0;
  bool current = false;  // today's layout
  bool operator==(const LayoutReading&) const = default;
};

// What a file holding `bytes`, whose first unrecorded conversion is `code`,
// gets.
struct FilePlan {
  enum Kind {
    Empty,      // no byte: the codes are recorded, nothing converted
    Convert,    // convert by `code` (the given one or a later one of the file)
    Current,    // in today's layout already: the codes are recorded
    Undecided,  // the size fits several layouts and the dates tell none
  };
  FilePlan(Kind k = Empty, std::string c = {}, std::uint64_t partial = 0, std::vector<LayoutReading> r = {})
      : kind(k), code(std::move(c)), partialBytes(partial), readings(std::move(r)) {}
  Kind kind = Empty;
  std::string code;
  // The bytes after the last whole old record, left out of the conversion
  // (a size that fits no layout is converted by the given code).
  std::uint64_t partialBytes = 0;
  // Undecided: every layout the size fits, in the order of the
  // conversions, today's last.
  std::vector<LayoutReading> readings;
  bool operator==(const FilePlan&) const = default;
};
FilePlan PlanFor(store::FileCode file, std::string_view code, std::string_view bytes);

// Whether every whole record of `bytes`, read with `recordSize` bytes a
// record (a layout of `file`), has a valid "YYYYMMDD" (years 1900 to 2200)
// in each of the layout's date fields, or an empty text where the layout
// allows one. A layout without date fields reads so whatever the bytes.
bool ReadsAsDates(store::FileCode file, int recordSize, std::string_view bytes);

// The codes recorded when `code` is done on `file`: it and the later
// conversions of the same file.
std::vector<std::string> CodesDoneWith(store::FileCode file, std::string_view code);

// The backup name of `fileName` for `code`: "invsum.vlk", "001" ->
// "invsum001.vlk".
std::string BackupName(std::string_view fileName, std::string_view code);

// The records of today's layout for the whole old records in `oldBytes`
// (a partial record at the end is left out), converted by `code` on
// `file`: the bytes of the new file.
std::string ConvertedBytes(std::string_view code, store::FileCode file, std::string_view oldBytes);

// One converted file: its name, its backup's name (both in the data
// folder), the code that converted it and the bytes of a partial last
// record that were left out (the backup keeps them).
struct ConvertedFile {
  std::string fileName;
  std::string backupName;
  std::string code;
  std::uint64_t partialBytes = 0;
  bool operator==(const ConvertedFile&) const = default;
};

// What ConvertDataFiles did.
struct ConversionOutcome {
  enum Failure {
    None,
    BackupDiffers,  // `backupName` exists and holds something else than `fileName`
    FileError,      // an operation on `fileName` failed: errorCode, errorText
    LayoutUndecided,  // `fileName` fits the layouts of `readings`; nothing written
  };
  // The files converted in this run, in order (also when it stopped later).
  std::vector<ConvertedFile> converted;
  Failure failure = None;
  std::string fileName;
  std::string backupName;
  int errorCode = 0;
  std::string errorText;  // the error's own text
  std::vector<LayoutReading> readings;  // LayoutUndecided
  bool Ok() const { return failure == None; }
};

// Reads the flag file and runs every missing conversion (see the file
// comment). Needs an open set naming FLG and every file of Conversions()
// (the log-in's set); the set stays open, with the converted files in it.
ConversionOutcome ConvertDataFiles();

}  // namespace store
