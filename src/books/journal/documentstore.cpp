// What the invoice and payment stores share (see documentstore.h).
#include "books/journal/documentstore.h"

#include <algorithm>

#include "platform/datetime.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"

namespace books::journal {

int LanguageOffsetOf(DocumentOutcome outcome, bool list) {
  switch (outcome) {
    case DocumentOutcome::Duplicate: return 9648;
    case DocumentOutcome::NotFound: return list ? 9892 : 0;
    case DocumentOutcome::FileEmpty: return list ? 9892 : 0;
    default: return 0;
  }
}

std::string DocumentStampTime() { return text::Cut(platform::DateTimeToText(platform::Now()), 20); }

std::string DocumentStampUser() { return text::Cut(text::SystemSettings.CurrentUser, 10); }

InsertPlaces::InsertPlaces(std::vector<std::string> texts, int first) : texts_(std::move(texts)), first_(first) {
  leastFrom_.resize(texts_.size());
  for (std::size_t i = texts_.size(); i-- > 0;) {
    const bool last = i + 1 == texts_.size();
    leastFrom_[i] = last || texts_[i] <= texts_[static_cast<std::size_t>(leastFrom_[i + 1])] ? static_cast<int>(i)
                                                                                          : leastFrom_[i + 1];
  }
}

int InsertPlaces::After(const std::string& text) const {
  // The least texts from i on rise with i: the records from which on some
  // text is not greater form the front of the file, and the last of them
  // holds such a text itself, the last one in the file.
  const auto stop = std::partition_point(leastFrom_.begin(), leastFrom_.end(), [&](int least) {
    return texts_[static_cast<std::size_t>(least)] <= text;
  });
  const int local = static_cast<int>(stop - leastFrom_.begin());
  return local == 0 ? first_ : first_ + local;
}

std::vector<int> InsertPlaces::SameTextRun(const std::string& text) const {
  std::vector<int> run;
  for (int i = After(text) - 1 - first_; i >= 0; --i) {
    const int cmp = texts_[static_cast<std::size_t>(i)].compare(text);
    if (cmp > 0) continue;
    if (cmp < 0) break;
    run.push_back(first_ + i);
  }
  return run;
}

}  // namespace books::journal
