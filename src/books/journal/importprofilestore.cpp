// The bank-import profile store (see importprofilestore.h).
#include "books/journal/importprofilestore.h"

#include "books/journal/bankimport.h"
#include "store/fileset.h"

namespace books::journal {

namespace {

using records::ImportProfileRec;

bool NumberInside(int n) { return n >= 1 && n <= kImportProfiles; }

std::vector<ImportProfileRec> DefaultProfiles() {
  std::vector<ImportProfileRec> out;
  for (int n = 1; n <= kImportProfiles; ++n) out.push_back(DefaultImportProfile(n));
  return out;
}

std::vector<ImportProfileRec> ReadProfiles() {
  return store::ReadAll<ImportProfileRec>(store::FileCode::IFS, store::kSmallFileLimit);
}

}  // namespace

ImportProfileRec DefaultImportProfile(int number) {
  ImportProfileRec p;
  p.SetProfileNumber(number);
  p.SetDateColumn(-1);
  p.SetDateFormat(kStatementDateLayouts[0]);
  return p;
}

bool ProfilesWhole(const std::vector<ImportProfileRec>& profiles) {
  if (profiles.size() != static_cast<std::size_t>(kImportProfiles)) return false;
  for (const ImportProfileRec& p : profiles)
    if (!NumberInside(p.ProfileNumber())) return false;
  return true;
}

std::vector<ImportProfileRec> RepairedProfiles(const std::vector<ImportProfileRec>& profiles) {
  std::vector<ImportProfileRec> out = DefaultProfiles();
  std::vector<bool> taken(kImportProfiles, false);
  for (const ImportProfileRec& p : profiles) {
    const int n = p.ProfileNumber();
    if (!NumberInside(n) || taken[static_cast<std::size_t>(n - 1)]) continue;
    taken[static_cast<std::size_t>(n - 1)] = true;
    out[static_cast<std::size_t>(n - 1)] = p;
  }
  return out;
}

ProfileResult ReadImportProfiles() {
  store::ScopedFileSet set("IFS");
  if (!set.Ok()) return ProfileResult::Failed(set.Failure());
  ProfileResult r;
  r.value = ReadProfiles();
  if (r.value->empty()) {
    r.value = DefaultProfiles();
    store::RewriteFile(store::FileCode::IFS, *r.value);
  }
  if (!ProfilesWhole(*r.value)) r.outcome = ProfileOutcome::Damaged;
  set.Close();
  return r;
}

ProfileResult SaveImportProfile(const ImportProfileRec& profile) {
  ProfileResult r;
  if (!NumberInside(profile.ProfileNumber())) {
    r.outcome = ProfileOutcome::NumberOutside;
    return r;
  }
  store::ScopedFileSet set("IFS");
  if (!set.Ok()) return ProfileResult::Failed(set.Failure());
  r.value = ReadProfiles();
  if (r.value->empty()) {
    r.value = DefaultProfiles();
    store::RewriteFile(store::FileCode::IFS, *r.value);
  }
  if (!ProfilesWhole(*r.value)) {
    r.outcome = ProfileOutcome::Damaged;
    return r;
  }
  store::WriteRecord(store::FileCode::IFS, profile.ProfileNumber() - 1, profile);
  r.value = ReadProfiles();
  set.Close();
  return r;
}

ProfileResult RepairImportProfiles(const std::optional<ImportProfileRec>& profile) {
  if (profile && !NumberInside(profile->ProfileNumber())) {
    ProfileResult r;
    r.outcome = ProfileOutcome::NumberOutside;
    return r;
  }
  store::ScopedFileSet set("IFS");
  if (!set.Ok()) return ProfileResult::Failed(set.Failure());
  std::vector<ImportProfileRec> profiles = RepairedProfiles(ReadProfiles());
  if (profile) profiles[static_cast<std::size_t>(profile->ProfileNumber() - 1)] = *profile;
  store::RewriteFile(store::FileCode::IFS, profiles);
  ProfileResult r;
  r.value = ReadProfiles();
  set.Close();
  return r;
}

}  // namespace books::journal
