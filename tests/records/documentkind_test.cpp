// The document kinds and their stored codes.
#include "records/documentkind.h"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>

namespace {

using records::DocumentKind;

TEST(DocumentKind, EachKindHasItsCodeAndBack) {
  const struct {
    DocumentKind kind;
    std::string_view code;
  } cases[] = {{DocumentKind::Customer, "CUS"},
               {DocumentKind::Vendor, "VEN"},
               {DocumentKind::Receipt, "REC"},
               {DocumentKind::Payment, "PAY"}};
  for (const auto& c : cases) {
    EXPECT_EQ(records::CodeOf(c.kind), c.code);
    EXPECT_EQ(records::DocumentKindOf(c.code), c.kind) << c.code;
  }
}

TEST(DocumentKind, StoredCodesAreReadWithoutTheirBlanks) {
  const struct {
    std::string_view stored;
    std::optional<DocumentKind> kind;
  } cases[] = {
      {"CUS ", DocumentKind::Customer}, {" VEN", DocumentKind::Vendor}, {"  REC  ", DocumentKind::Receipt},
      {"PAY", DocumentKind::Payment},   {"", std::nullopt},             {"   ", std::nullopt},
      {"cus", std::nullopt},            {"CU", std::nullopt},           {"CUSS", std::nullopt},
      {"XYZ", std::nullopt},            {"C US", std::nullopt},         {"SUP", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(records::DocumentKindOf(c.stored), c.kind) << "'" << c.stored << "'";
}

TEST(DocumentKind, OnlyCustomerAndVendorHaveAPartnerAndCustomerAndReceiptBringMoneyIn) {
  EXPECT_TRUE(records::HasPartner(DocumentKind::Customer));
  EXPECT_TRUE(records::HasPartner(DocumentKind::Vendor));
  EXPECT_FALSE(records::HasPartner(DocumentKind::Receipt));
  EXPECT_FALSE(records::HasPartner(DocumentKind::Payment));
  EXPECT_TRUE(records::Inward(DocumentKind::Customer));
  EXPECT_TRUE(records::Inward(DocumentKind::Receipt));
  EXPECT_FALSE(records::Inward(DocumentKind::Vendor));
  EXPECT_FALSE(records::Inward(DocumentKind::Payment));
}

}  // namespace
