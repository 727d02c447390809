#include "formkit/website.h"

namespace formkit {

const char* const ProductWebSite = "https://www.ombrelo.example/";

namespace {

std::string LanguagePageSuffix(std::string_view languageName) {
  if (languageName == "Nederlands") return "nl";
  if (languageName == "Deutsch") return "de";
  return "gb";
}

}  // namespace

std::string HomePageUrl(std::string_view languageName) {
  return std::string(ProductWebSite) + "index" + LanguagePageSuffix(languageName) + ".html";
}

std::string NewsPageUrl(std::string_view languageName) {
  return std::string(ProductWebSite) + "news" + LanguagePageSuffix(languageName) + ".html";
}

}  // namespace formkit
