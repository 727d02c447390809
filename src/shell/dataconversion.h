// The data-file layouts of an administration: the release-flag file FLG
// records, by conversion code ("001" to "011"), which one-time conversions
// have brought the administration's files to today's record layouts.
//
// The log-in checks them inside its set (which names the flag file and
// every file a conversion touches) before it loads the administration
// settings:
// - every code recorded: the files are in today's layouts;
// - codes missing, but every converted data file empty (a new
//   administration; a conversion of an empty file gives an empty file): the
//   missing codes are recorded at once, as the conversions would leave them;
// - codes missing and some file holding data: the files may be in an older
//   layout that this version cannot convert yet. Nothing is written, and the
//   log-in does not take the administration up (reading an old layout as
//   today's would show, and later save, nonsense).
// The store shows nothing: it returns what it found, and the log-in tells
// the user.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "shell/fileset.h"

namespace masterdata {

// The conversion codes, in number order; code n is written at index n - 1.
inline constexpr std::array<const char*, 11> kConversionCodes = {"001", "002", "003", "004", "005", "006",
                                                                  "007", "008", "009", "010", "011"};
// The files the conversions bring to today's layouts.
inline constexpr std::array<shell::FileCode, 9> kConvertedFiles = {
    shell::FileCode::ADS, shell::FileCode::GLC, shell::FileCode::GLA, shell::FileCode::CUS, shell::FileCode::SUP,
    shell::FileCode::INV, shell::FileCode::PAY, shell::FileCode::FRZ, shell::FileCode::JVO};

enum class DataFileLayouts {
  Current,            // every code recorded
  NewAdministration,  // codes missing, every converted file empty: record them
  Outdated,           // codes missing while files hold data: refuse
};

// The codes of kConversionCodes that `recorded` does not hold (in number
// order). Texts that are no code are ignored.
std::vector<std::string> MissingConversionCodes(const std::vector<std::string>& recorded);

// What the log-in does for an administration whose flag file lacks
// `missing` codes, its converted files all empty or not.
DataFileLayouts LayoutsFor(const std::vector<std::string>& missing, bool convertedFilesEmpty);

// Reads the flag file and decides (LayoutsFor); for a new administration it
// writes every code into the flag file, at its index. Needs an open set
// naming FLG and every file of kConvertedFiles (the log-in's set). File
// errors raise platform::IoError.
DataFileLayouts ConvertDataFiles();

}  // namespace masterdata
