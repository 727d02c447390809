// The product's web site and the pages the forms open on it, chosen by the
// language name ("Nederlands", "Deutsch", any other: English).
#pragma once

#include <string>
#include <string_view>

namespace formkit {

// The product's web site (ends in "/").
extern const char* const ProductWebSite;
// The home page: "indexnl.html", "indexde.html" or "indexgb.html".
std::string HomePageUrl(std::string_view languageName);
// The news page: "newsnl.html", "newsde.html" or "newsgb.html".
std::string NewsPageUrl(std::string_view languageName);

}  // namespace formkit
