// The bank-import profiles in the profile file IFS ("ifs.vlk", in the
// working folder, shared by every administration and every copy of the
// program): ten records, profiles 1..10 in order.
//
// Rules:
// - An empty file gets the ten empty profiles (date column -1, the first
//   date layout) the first time it is read.
// - A file of other than ten records, or holding a number outside 1..10,
//   is damaged: it is reported, never written by a save. Only a repair the
//   user agreed to rewrites it as ten records (the readable profiles kept by
//   number, the others empty), through a temporary file.
// - A save writes only the saved profile's record (number - 1) and reads the
//   file again, so the list shows what every copy wrote.
// - Every call opens its own set (nested into one the caller holds) and
//   returns a value; nothing is shown here.
#pragma once

#include <optional>
#include <vector>

#include "records/importprofilerec.h"
#include "store/result.h"
#include "store/scopedfileset.h"

namespace books::journal {

inline constexpr int kImportProfiles = 10;

// Profile `number` as the empty file gets it: date column -1, the first
// date layout, every other field zero or empty.
records::ImportProfileRec DefaultImportProfile(int number);
// Whether the file's records are ten profiles numbered 1..10.
bool ProfilesWhole(const std::vector<records::ImportProfileRec>& profiles);
// Ten profiles: the readable ones of `profiles` at their numbers (the
// first of each number), defaults for the others.
std::vector<records::ImportProfileRec> RepairedProfiles(const std::vector<records::ImportProfileRec>& profiles);

enum class ProfileOutcome { Done, FileSetFailed, Damaged, NumberOutside };
// The value: the file as read (after a write: read again), also with Damaged.
using ProfileResult = store::Result<ProfileOutcome, std::vector<records::ImportProfileRec>>;

// The profiles; an empty file first gets the ten defaults. Damaged (with
// the records as read) for a file that is not whole.
ProfileResult ReadImportProfiles();
// Writes `profile` as record number - 1. NumberOutside (before any file
// opens) for a number outside 1..10; Damaged, writing nothing, when the
// file is not whole.
ProfileResult SaveImportProfile(const records::ImportProfileRec& profile);
// Rewrites the file as RepairedProfiles of what it holds, with `profile`
// (when given) at its number.
ProfileResult RepairImportProfiles(const std::optional<records::ImportProfileRec>& profile);

}  // namespace books::journal
