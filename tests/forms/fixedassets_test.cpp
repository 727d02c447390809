// The fixed-asset record, its insert in asset-number order, and the form.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "masterdata/fixedassets.h"
#include "books/administration/fixedassetstore.h"
#include "records/fixedassetrec.h"
#include "records/ledgeraccountrec.h"
#include "store/fileset.h"
#include "text/languagefile.h"
#include "store/scopedfileset.h"
#include "support/adminfolder.h"
#include "support/records.h"
#include "ui/headless.h"

namespace {

using books::administration::FixedAssetSave;
using records::FixedAssetRec;

const std::string kFile = "/d/ACME/fixed.vlk";

FixedAssetRec Asset(const std::string& number, const std::string& account = "", const std::string& text = "") {
  FixedAssetRec rec;
  rec.SetAssetNumber(number);
  rec.SetAccountNumber(account);
  rec.SetDescription(text);
  return rec;
}

TEST(FixedAssetRec, GoldenBytes) {
  std::string want(256, '\0');
  want.replace(0, 5, "\x04" "A-17");
  want.replace(21, 15, "\x0E" "0400{Machines}");
  want.replace(82, 6, "\x05" "Lathe");
  EXPECT_EQ(support::Bytes(Asset("A-17", "0400{Machines}", "Lathe")), want);
  // Texts are cut to their fields.
  const FixedAssetRec cut = Asset(std::string(25, '1'), std::string(70, 'a'), std::string(25, 'd'));
  EXPECT_EQ(cut.AssetNumber(), std::string(20, '1'));
  EXPECT_EQ(cut.AccountNumber(), std::string(60, 'a'));
  EXPECT_EQ(cut.Description(), std::string(20, 'd'));
  EXPECT_EQ(support::Bytes(cut).substr(103), std::string(153, '\0'));
}

TEST(FixedAssetStore, InsertIndex) {
  using V = std::vector<std::string>;
  struct Case {
    V numbers;
    const char* number;
    int index;
  };
  const std::vector<Case> cases = {
      {{}, "A", 0},
      {{"A", "C"}, "B", 1},
      {{"A", "C"}, "D", 2},
      {{"B", "C"}, "A", 0},
      {{"9"}, "10", 0},  // text order
      {{"a"}, "B", 0},   // byte order: capitals first
      {{"A", "\xC9"}, "Z", 1},  // code page 1252 bytes above ASCII come last
  };
  for (const Case& c : cases)
    EXPECT_EQ(books::administration::FixedAssetInsertIndex(c.numbers, c.number), c.index) << c.number;
}

class FixedAssetFile : public ::testing::Test, public support::AdministrationFolder {
 protected:
  FixedAssetSave Insert(const FixedAssetRec& rec) {
    store::ScopedFileSet set("FIX");
    EXPECT_TRUE(set.Ok());
    return books::administration::InsertFixedAsset(rec);
  }
  std::vector<std::string> Numbers() {
    std::vector<std::string> out;
    for (const auto& r : support::Records<FixedAssetRec>(store.fs.File(kFile))) out.push_back(r.AssetNumber());
    return out;
  }
};

TEST_F(FixedAssetFile, AssetsGoInAtTheirPlaceAndKeepTheirReservedBytes) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Insert(Asset("C")), FixedAssetSave::Saved);
  EXPECT_EQ(store.fs.File(kFile), support::Bytes(Asset("C")));  // record 0, reserved bytes zero
  // A record with reserved bytes set (by another release) keeps them when
  // it moves up.
  std::string withReserved = store.fs.File(kFile);
  withReserved[200] = 'R';
  store.fs.SetFile(kFile, withReserved);
  EXPECT_EQ(Insert(Asset("A")), FixedAssetSave::Saved);
  EXPECT_EQ(Insert(Asset("B")), FixedAssetSave::Saved);
  EXPECT_EQ(Insert(Asset("D")), FixedAssetSave::Saved);
  EXPECT_EQ(Numbers(), (V{"A", "B", "C", "D"}));
  EXPECT_EQ(store.fs.File(kFile)[2 * 256 + 200], 'R');

  // Refusals leave the file byte for byte.
  const std::string before = store.fs.File(kFile);
  EXPECT_EQ(Insert(Asset("A", "other")), FixedAssetSave::Duplicate);
  EXPECT_EQ(Insert(Asset("")), FixedAssetSave::EmptyNumber);
  EXPECT_EQ(store.fs.File(kFile), before);
  store.fs.SetFile(kFile, before + "xy");
  EXPECT_EQ(Insert(Asset("E")), FixedAssetSave::Damaged);
  EXPECT_EQ(store.fs.File(kFile), before + "xy");
}

// ---------------------------------------------------------------------------
// The form.

class FixedAssetsForm : public FixedAssetFile {
 protected:
  ui::HeadlessBackend backend;
  std::unique_ptr<masterdata::TFixedassetsform> form;

  void SetUp() override {
    std::string accounts;
    for (auto [number, caption] : std::vector<std::pair<std::string, std::string>>{
             {"0400", "Machines"}, {"050000000000000", std::string(70, 'V')}}) {
      records::LedgerAccountRec a;
      a.SetAccountNumber(number);
      a.SetCaption(caption);
      accounts += support::Bytes(a);
    }
    store.fs.SetFile("/d/ACME/ledger.vlk", accounts);
    form = std::make_unique<masterdata::TFixedassetsform>();
    form->FormActivate();
  }
  void Save(const std::string& number, int account, const std::string& text) {
    form->Edit2.UserSetText(number);
    if (account >= 0) form->ComboBox2.UserSelect(account);
    form->Edit4.UserSetText(text);
    form->Button5.UserClick();
  }
};

TEST_F(FixedAssetsForm, OffersOnlyWhatIsStoredAndTheAccountsAsNumberAndCaption) {
  ASSERT_EQ(form->ComboBox2.Count(), 2);
  EXPECT_EQ(form->ComboBox2.Items()[0].text, "0400{Machines}");
  EXPECT_EQ(form->TabControl1.Tabs().size(), 1u);
  EXPECT_TRUE(form->Edit2.Visible());
  EXPECT_TRUE(form->ComboBox2.Visible());
  EXPECT_TRUE(form->Edit4.Visible());
  for (const ui::Component* c : std::vector<const ui::Component*>{
           &form->Edit5, &form->Edit6, &form->Edit7, &form->Edit8, &form->Edit10, &form->Edit11, &form->Edit12,
           &form->ComboBox1, &form->DateTimePicker1, &form->CheckBox1, &form->Memo1, &form->Panel2, &form->Panel3})
    EXPECT_FALSE(c->Visible()) << c->Name();
  EXPECT_FALSE(store::FileSetOpen);
}

TEST_F(FixedAssetsForm, SavesOutOfOrderAndRefusesDuplicatesAndEmptyNumbers) {
  Save("B", 0, "Lathe");
  Save("A", 1, "Van");
  Save("10", -1, "");
  Save("9", -1, "");
  EXPECT_EQ(Numbers(), (std::vector<std::string>{"10", "9", "A", "B"}));
  const auto recs = support::Records<FixedAssetRec>(store.fs.File(kFile));
  EXPECT_EQ(recs[3].AccountNumber(), "0400{Machines}");
  EXPECT_EQ(recs[3].Description(), "Lathe");
  // The chosen item's whole text, cut to 60, shown again as stored.
  const std::string item = form->ComboBox2.Items()[1].text;
  ASSERT_GT(item.size(), 60u);
  const std::string cut = item.substr(0, 60);
  EXPECT_EQ(recs[2].AccountNumber(), cut);
  EXPECT_EQ(form->ComboBox2.GetText(), cut);
  EXPECT_EQ(form->StatusBar1.PanelText(0), masterdata::MsgAssetSaved());

  const std::string before = store.fs.File(kFile);
  Save("A", 0, "again");
  EXPECT_EQ(form->StatusBar1.PanelText(0), "Assetnumber already exists");
  Save("", 0, "none");
  EXPECT_EQ(form->StatusBar1.PanelText(0), masterdata::MsgAssetNumberEmpty());
  EXPECT_EQ(store.fs.File(kFile), before);

  // A typed account that is no item is cleared; one in other capitals
  // becomes the item.
  form->ComboBox2.UserSetText("0400{machines}");
  form->ComboBox2Exit();
  EXPECT_EQ(form->ComboBox2.GetText(), "0400{Machines}");
  form->ComboBox2.UserSetText("9999");
  form->ComboBox2Exit();
  EXPECT_EQ(form->ComboBox2.GetText(), "");
}

TEST_F(FixedAssetsForm, TextsFollowTheLanguage) {
  struct Case {
    const char* language;
    const char* duplicate;
    const char* label;
  };
  for (const Case& c : {Case{"English", "Assetnumber already exists", "Asset number"},
                        Case{"Nederlands", "Dit activanummer bestaat al", "Activanummer"},
                        Case{"Deutsch", "Diese Anlagennummer gibt es schon", "Anlagennummer"}}) {
    text::CurrentLanguage.SetL(0, c.language);
    form->FormActivate();
    EXPECT_EQ(form->Label2.Caption(), c.label);
    Save("X", 0, "");
    Save("X", 0, "");
    EXPECT_EQ(form->StatusBar1.PanelText(0), c.duplicate) << c.language;
  }
}

}  // namespace
